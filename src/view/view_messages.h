// The texts the main view shows in its message boxes, in one place.
#pragma once

namespace zoedit::messages {

inline constexpr char kNotDelete[] = "Not Delete!!";
inline constexpr char kEndOfData[] = "End of Data";
inline constexpr char kDeleteChannelQuestion[] = "Marked channel will be deleted, proceed saving?";
inline constexpr char kDeleteTransponderQuestion[] =
    "All channels related to this transponder will be deleted, proceed SAVING?";
inline constexpr char kDeleteSatelliteQuestion[] =
    "All channels and transponders related to this satellite will be deleted, proceed SAVING?";
inline constexpr char kNoChannelSelected[] =
    "No channel is selected. Select a channel in the list first.";
inline constexpr char kDeleteMarkedQuestion[] = "Marked channels will be deleted, proceed SAVING?";
inline constexpr char kPasteIntoOtherList[] =
    "The cut channel can only be pasted into the list it was cut from.";
inline constexpr char kNoTransponder[] = "The selected channel's transponder is not in the file.";
inline constexpr char kSaveRecordQuestion[] = "Save the changes to this record?";
inline constexpr char kNothingToSave[] = "There is no channel file to save.";

}  // namespace zoedit::messages
