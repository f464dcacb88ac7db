// The run-time state the main view keeps beside the tables: current page,
// rows, records, the editor's mode flags, and what the form shows (the form
// variables exchanged with the controls).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "database/channel_database.h"
#include "view/row_map.h"

namespace zoedit {

inline constexpr int kFavouriteBoxCount = 10;  // the channel page shows groups 0..9

enum class Page { Channel = 0, Transponder = 1, Satellite = 2 };
enum class ActiveList { None, Tv, Radio };

// The list that shows channels of a kind.
inline ActiveList listOfKind(ChannelKind kind) {
    return kind == ChannelKind::Tv ? ActiveList::Tv : ActiveList::Radio;
}

// A change that waits for Save or Cancel, or a list operation under way. Only
// one at a time: each disables the commands that would start another, so the
// invalid mixtures (a drag during a New) have no representation. A sorted
// list is not among them: its order lives in the list's row map.
struct NoPendingChange {
    bool operator==(const NoPendingChange&) const = default;
};
// New put placeholder values on the page. The tables do not change until
// Save, which inserts the new records with the page's values as one step;
// Cancel leaves nothing behind.
struct NewRecordPending {
    Page page = Page::Channel;           // the page New ran on
    ChannelKind kind = ChannelKind::Tv;  // the list that gets the new channel
    ChannelIndex channel;                // where the new channel goes
    std::size_t transponder = 0;         // the transponder page's new transponder
    bool operator==(const NewRecordPending&) const = default;
};
// A channel was cut and waits for its paste. The cut only marks it: the
// paste moves the channel as it is then, so nothing else has to wait.
struct CutPending {
    ChannelIndex channel;  // the cut channel
    ChannelKind kind = ChannelKind::Tv;
    bool operator==(const CutPending&) const = default;
};
// Rows are moving: the selection handler leaves the pages alone.
struct DragInProgress {
    ChannelIndex channel;  // the dragged channel
    ChannelKind kind = ChannelKind::Tv;
    bool operator==(const DragInProgress&) const = default;
};
using PendingChange = std::variant<NoPendingChange, NewRecordPending, CutPending, DragInProgress>;

struct EditorState {
    Page m_nCurrentPage = Page::Channel;  // the tab control's selection
    ActiveList m_activeList = ActiveList::None;
    // The selected row of each list. The channel it shows, and from it the
    // current transponder and satellite, come from the list's row map.
    Row m_nSelectedTvRow;
    Row m_nSelectedRadioRow;

    bool m_bEditing = false;  // Edit pressed since the file was loaded
    bool m_bSaved = false;    // a save has been made since the view was created
    PendingChange m_pending;  // New, sort, cut or drag under way, or nothing
    bool m_bLoaded = false;   // a channel file has been loaded
    // A favourite box changed the groups since the last load or save (typing
    // on the pages is measured apart).
    bool m_bModified = false;

    // Which of the two lists is on show (the TV and radio switches).
    ActiveList m_shownList = ActiveList::Tv;

    // Transfer flags of the two directions of the receiver link.
    int m_bDownloadActive = 0;
    int m_bUploadActive = 0;

    bool isNewRecord() const { return std::holds_alternative<NewRecordPending>(m_pending); }
    bool isDragging() const { return std::holds_alternative<DragInProgress>(m_pending); }
    bool hasPendingChange() const { return !std::holds_alternative<NoPendingChange>(m_pending); }
    bool isCutPending() const { return std::holds_alternative<CutPending>(m_pending); }
    void clearPendingChange() { m_pending = NoPendingChange{}; }

    Row selectedRow(ActiveList list) const {
        return list == ActiveList::Tv      ? m_nSelectedTvRow
               : list == ActiveList::Radio ? m_nSelectedRadioRow
                                           : Row();
    }
    Row& selectedRowOf(ChannelKind kind) {
        return kind == ChannelKind::Tv ? m_nSelectedTvRow : m_nSelectedRadioRow;
    }
    Row selectedRowOf(ChannelKind kind) const {
        return kind == ChannelKind::Tv ? m_nSelectedTvRow : m_nSelectedRadioRow;
    }
};

// Favourite state of one of the ten groups on the channel page.
struct FavouriteBox {
    bool checked = false;
    std::string position = "000";  // "%.3d" of the channel's place in the group
    bool indicator = false;        // the last lookup checked this box
    int entry_index = 0;           // index in the member list of the channel's entry
    int working_count = 0;
    int pending_position = 0;
    int remembered_position = 0;
    bool remembered = false;
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
    int polarisation_index = -1;     // 1082's selection
    int fec_index = -1;              // 1052's selection
    int locked = 0;                  // 1004
    int scrambled = 0;               // 1007
    int pid_mode = 0;                // 1106
};

}  // namespace zoedit
