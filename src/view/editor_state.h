// The run-time state the main view keeps beside the tables: current page,
// rows, records, the editor's mode flags, and what the form shows (the form
// variables exchanged with the controls).
#pragma once

#include <array>
#include <string>

namespace zoedit {

inline constexpr int kFavouriteBoxCount = 10;  // the channel page shows groups 0..9

enum class Page { Channel = 0, Transponder = 1, Satellite = 2 };
enum class ActiveList { None, Tv, Radio };

// Flags and counters are plain ints, 0 or 1 for flags, as the other parts of
// the view read and set them.
struct EditorState {
    int m_nCurrentPage = 0;  // Page as an int: the tab control's selection
    ActiveList m_activeList = ActiveList::None;
    int m_nSelectedTvRow = -1;
    int m_nSelectedRadioRow = -1;
    int m_nCurrentTransponder = 0;
    int m_nCurrentSatellite = 0;

    int m_bEditing = 0;     // Edit pressed since the file was loaded
    int m_bSaved = 0;       // a save has been made since the view was created
    int m_bNewRecord = 0;   // a New is pending in the working copy
    int m_bSorted = 0;      // a list shows the working copy in column-sort order
    int m_bCutPending = 0;  // a channel was cut and waits for its paste
    int m_nCutRow = -1;     // the cut channel's row
    int m_bDragging = 0;    // rows are moving: the selection handler leaves the pages alone
    int m_bRowDeleted = 0;  // the last command was a delete
    int m_bLoaded = 0;      // a channel file has been loaded
    int m_bModified = 0;    // the user changed data since the last load or save

    // Which of the two lists is on show (the TV and radio switches).
    ActiveList m_shownList = ActiveList::Tv;

    // Column sort: last sorted column (-1 none) and direction (1 ascending).
    int m_nSortColumn = -1;
    int m_nSortAscending = 0;

    // Transfer flags of the two directions of the receiver link.
    int m_bDownloadActive = 0;
    int m_bUploadActive = 0;

    int selectedRow(ActiveList list) const {
        return list == ActiveList::Tv      ? m_nSelectedTvRow
               : list == ActiveList::Radio ? m_nSelectedRadioRow
                                           : -1;
    }
};

// Favourite state of one of the ten groups on the channel page.
struct FavouriteBox {
    int checked = 0;
    std::string position = "000";  // "%.3d" of the channel's place in the group
    int indicator = 0;             // the last lookup checked this box
    int entry_index = 0;           // index in the member list of the channel's entry
    int working_count = 0;
    int pending_position = 0;
    int remembered_position = 0;
    int remembered = 0;
    std::string caption = "-----";  // the group's name
};

// The values exchanged with the form's controls (UTF-8 for display).
struct FormValues {
    std::string path;                // 1054
    std::string date;                // 1085
    std::string satellite_banner;    // 1020
    std::string channel_name;        // 1026
    std::string service_id;          // 1028
    std::string video_pid;           // 1030
    std::string code_pid;            // 1000
    std::string audio_pid;           // 1033
    std::string fourth_pid;          // 1035
    std::string satellite_name;      // 1056
    std::string position;            // 1062
    std::string frequency_order;     // 1089
    std::string frequency;           // 1080
    std::string symbol_rate;         // 1051
    std::string network_id;          // 1091
    std::string polarisation;        // 1082
    std::string transponder_number;  // 1058
    std::string channel_number;      // 1105
    int locked = 0;                  // 1004
    int scrambled = 0;               // 1007
    int pid_mode = 0;                // 1106
};

}  // namespace zoedit
