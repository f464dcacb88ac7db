#include "view/parental_lock.h"

namespace zoedit {

using namespace ui::form;

void ParentalLock::showPicture(bool locked, bool channel_page) {
    m_form.setVisible(IDC_LOCKED_PICTURE, channel_page && locked);
    m_form.setVisible(IDC_UNLOCKED_PICTURE, channel_page && !locked);
}

std::optional<LockChange> ParentalLock::onClick(std::optional<ChannelRef> channel,
                                                bool channel_page) {
    const bool locked = m_form.isChecked(IDC_LOCKED);
    if (!channel) {
        m_form.setChecked(IDC_LOCKED, !locked);
        return std::nullopt;
    }
    showPicture(locked, channel_page);
    return LockChange{*channel, locked};
}

}  // namespace zoedit
