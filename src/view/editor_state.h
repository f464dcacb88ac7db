// The run-time state the main view keeps beside the tables: current page,
// rows, records, the editor's mode flags, and what the form shows (the form
// variables exchanged with the controls).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <variant>

namespace zoedit {

inline constexpr int kFavouriteBoxCount = 10;  // the channel page shows groups 0..9

enum class Page { Channel = 0, Transponder = 1, Satellite = 2 };
enum class ActiveList { None, Tv, Radio };

// A change that waits for Save or Cancel, or a list operation under way. Only
// one at a time: each disables the commands that would start another, so the
// invalid mixtures (a New pending in a sorted list, a drag during a New) have
// no representation.
struct NoPendingChange {
    bool operator==(const NoPendingChange&) const = default;
};
// New made placeholder records in the working copy; Save folds the whole
// working copy back, Cancel drops it.
struct NewRecordPending {
    Page page = Page::Channel;  // the page New ran on
    bool operator==(const NewRecordPending&) const = default;
};
// A list shows the working copy in a column-sort order.
struct SortedOrder {
    bool operator==(const SortedOrder&) const = default;
};
// A channel was cut and waits for its paste.
struct CutPending {
    int row = -1;  // the cut channel's row
    bool operator==(const CutPending&) const = default;
};
// Rows are moving: the selection handler leaves the pages alone.
struct DragInProgress {
    int row = -1;  // the dragged row
    bool operator==(const DragInProgress&) const = default;
};
using PendingChange =
    std::variant<NoPendingChange, NewRecordPending, SortedOrder, CutPending, DragInProgress>;

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
    PendingChange m_pending;  // New, sort, cut or drag under way, or nothing
    int m_bLoaded = 0;        // a channel file has been loaded
    int m_bModified = 0;    // the user changed data since the last load or save

    // Which of the two lists is on show (the TV and radio switches).
    ActiveList m_shownList = ActiveList::Tv;

    // Column sort: last sorted column (-1 none) and direction (1 ascending).
    int m_nSortColumn = -1;
    int m_nSortAscending = 0;

    // Transfer flags of the two directions of the receiver link.
    int m_bDownloadActive = 0;
    int m_bUploadActive = 0;

    bool isNewRecord() const { return std::holds_alternative<NewRecordPending>(m_pending); }
    bool isSorted() const { return std::holds_alternative<SortedOrder>(m_pending); }
    bool isDragging() const { return std::holds_alternative<DragInProgress>(m_pending); }
    bool hasPendingChange() const { return !std::holds_alternative<NoPendingChange>(m_pending); }
    std::optional<int> cutRow() const {
        if (const auto* cut = std::get_if<CutPending>(&m_pending)) return cut->row;
        return std::nullopt;
    }
    void clearPendingChange() { m_pending = NoPendingChange{}; }

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
