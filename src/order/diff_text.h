// The comparison of two channel files as rows and lines of text: the rows
// of the Compare dialog's tabs, and the lines zoedit-cli diff prints.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "database/channel_database.h"
#include "database/codepage.h"
#include "order/channel_diff.h"

namespace zoedit::order {

enum class DiffKind { Added, Removed, Moved, Renamed, Changed };
inline constexpr std::array kDiffKinds = {DiffKind::Added, DiffKind::Removed, DiffKind::Moved,
                                          DiffKind::Renamed, DiffKind::Changed};
const char* diffKindWord(DiffKind kind);  // "added", "removed", ...

// One channel of one kind of difference. Names and details are UTF-8.
struct DiffRow {
    ChannelKind list = ChannelKind::Tv;
    std::optional<std::size_t> before;  // channel index in before, if it is there
    std::optional<std::size_t> after;   // channel index in after
    std::string name;                   // after's name, before's when removed
    std::string details;                // "Old -> New", "locked 0 -> 1; video_pid ..."
};

std::vector<DiffRow> diffRows(const DatabaseDiff& diff, DiffKind kind,
                              const ChannelDatabase& before, const ChannelDatabase& after,
                              CodePage page);
std::size_t diffCount(const DatabaseDiff& diff, DiffKind kind);

// "TV 0012", "radio 0003 -> 0009": the list and the numbers of a row.
std::string rowNumbersText(const DiffRow& row);

// The satellites, transponders and favourite groups that changed, one line
// each ("added satellite 019.2E \"Name\"", "group 2 \"News\": TV +0012 ...").
std::vector<std::string> recordLines(const DatabaseDiff& diff, const ChannelDatabase& before,
                                     const ChannelDatabase& after, CodePage page);

// "019.2E \"Name\"" of a satellite; "019.2E 11494 H 22000 3/4" of a transponder.
std::string satelliteText(const ChannelDatabase& db, std::size_t satellite, CodePage page);
std::string transponderText(const ChannelDatabase& db, std::size_t transponder);

// "3 added, 1 removed, 0 changed" of satellites or transponders.
std::string recordCountsText(const RecordDiff& diff);

}  // namespace zoedit::order
