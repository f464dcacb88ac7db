// The parental lock on the channel page: the "locked" box and the two
// pictures that lie on one spot (the locked one shows while the box is
// ticked, the unlocked one otherwise).
#pragma once

#include <optional>

#include "database/channel_database.h"
#include "ui/form.h"
#include "view/row_map.h"

namespace zoedit {

// The lock a click asks for: `channel` gets `locked`.
struct LockChange {
    ChannelRef channel;
    bool locked = false;
    bool operator==(const LockChange&) const = default;
};

class ParentalLock {
public:
    explicit ParentalLock(ui::Form& form) : m_form(form) {}

    // Shows the picture of `locked` (the statics carry their bitmaps from the
    // initial update on); both stay hidden off the channel page.
    void showPicture(bool locked, bool channel_page);
    // The box was clicked. `channel` is the selected channel of the active
    // list, nullopt when none is selected: the box then goes back and
    // nothing changes.
    std::optional<LockChange> onClick(std::optional<ChannelRef> channel, bool channel_page);

private:
    ui::Form& m_form;
};

}  // namespace zoedit
