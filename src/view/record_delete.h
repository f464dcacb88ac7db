// The Delete command's questions: the guard against deleting from empty
// tables, the refusal without a selected channel, and the question of each
// page. Answers become the record to delete; the view deletes it with its
// dependants and refreshes the lists.
#pragma once

#include <optional>

#include "database/channel_database.h"
#include "ui/dialogs.h"
#include "view/editor_state.h"

namespace zoedit {

// What the pages show when Delete is pressed: the page on show, the selected
// channel, and that channel's transponder and satellite (nothing for a link
// outside its table).
struct DeleteSubject {
    Page page = Page::Channel;
    std::optional<ChannelRef> channel;
    std::optional<std::size_t> transponder;
    std::optional<std::size_t> satellite;
};

struct DeleteTarget {
    Page page = Page::Channel;
    ChannelKind kind = ChannelKind::Tv;  // the channel page's list
    std::size_t index = 0;               // channel, transponder or satellite index
    bool operator==(const DeleteTarget&) const = default;
};

// Shows the guard's message, the refusal or the page's question; the record
// to delete when the user answered Yes, else nullopt.
std::optional<DeleteTarget> askDelete(ui::Dialogs& dialogs, const ChannelDatabase& db,
                                      const DeleteSubject& subject);

}  // namespace zoedit
