// The Delete command's questions: the guard against deleting from empty
// tables, the refusal without a selected channel, and the question of each
// page. Answers become the record to delete; the view deletes it with its
// dependants and refreshes the list.
#pragma once

#include <optional>

#include "database/channel_database.h"
#include "ui/dialogs.h"
#include "view/editor_state.h"

namespace zoedit {

struct DeleteTarget {
    Page page = Page::Channel;
    ChannelKind kind = ChannelKind::Tv;  // the channel page's list
    std::size_t index = 0;               // channel row, transponder or satellite
    bool operator==(const DeleteTarget&) const = default;
};

// Shows the guard's message, the refusal or the page's question; the record
// to delete when the user answered Yes, else nullopt.
std::optional<DeleteTarget> askDelete(ui::Dialogs& dialogs, const ChannelDatabase& db,
                                      const EditorState& state);

}  // namespace zoedit
