#include "view/favourite_boxes.h"

#include <algorithm>

#include "database/field_format.h"

namespace zoedit {

using namespace ui::form;

std::size_t FavouriteBoxes::shownGroups() const {
    return std::min<std::size_t>(m_db.favouriteGroupCount(), kFavouriteBoxCount);
}

void FavouriteBoxes::show(int k) {
    m_form.setChecked(IDC_FAVOURITE_CHECK[k], m_boxes[k].checked);
    m_form.setText(IDC_FAVOURITE_POSITION[k], m_boxes[k].position);
}

void FavouriteBoxes::setCaptions(CodePage page) {
    for (int k = 0; k < kFavouriteBoxCount; ++k) {
        const std::size_t g = static_cast<std::size_t>(k);
        m_boxes[k].caption =
            g < shownGroups() ? toUtf8(nameBytes(m_db.favourites.groups[g].name), page) : "";
        m_form.setText(IDC_FAVOURITE_CHECK[k], m_boxes[k].caption);
    }
}

void FavouriteBoxes::setEnabled(bool enabled) {
    for (int k = 0; k < kFavouriteBoxCount; ++k)
        m_form.setEnabled(IDC_FAVOURITE_CHECK[k],
                          enabled && static_cast<std::size_t>(k) < shownGroups());
}

void FavouriteBoxes::clear() {
    for (int k = 0; k < kFavouriteBoxCount; ++k) {
        m_boxes[k].checked = false;
        m_boxes[k].indicator = false;
        m_boxes[k].position = favouritePositionText(0);
        show(k);
    }
}

void FavouriteBoxes::onSelection(ChannelKind kind, int channel, const EditorState& state) {
    if (!state.isDragging()) {
        for (int k = 0; k < kFavouriteBoxCount; ++k) {
            FavouriteBox& box = m_boxes[k];
            box.position = favouritePositionText(0);
            if (box.indicator) {
                box.checked = false;
                box.indicator = false;
            }
            show(k);
        }
        if (channel >= 0) {
            const auto& members = kind == ChannelKind::Tv ? m_db.favourites.tv_members
                                                          : m_db.favourites.radio_members;
            for (std::size_t k = 0; k < shownGroups(); ++k) {
                const std::size_t start = m_db.groupMemberStart(k, kind);
                const std::size_t count = m_db.groupMembers(k, kind).size();
                FavouriteBox& box = m_boxes[k];
                // A channel standing twice in a group shows its later place.
                for (std::size_t e = start; e < start + count; ++e) {
                    if (members.primary[e] != channel) continue;
                    box.entry_index = static_cast<int>(e);
                    box.checked = true;
                    box.position = favouritePositionText(static_cast<int>(e - start + 1));
                    box.indicator = true;
                }
                show(static_cast<int>(k));
            }
        }
    }
    for (int k = 0; k < kFavouriteBoxCount; ++k) {
        const FavouriteGroup& group = m_db.favourites.groups[static_cast<std::size_t>(k)];
        m_boxes[k].working_count = kind == ChannelKind::Tv ? group.tv_count : group.radio_count;
    }
}

std::optional<FavouriteChange> FavouriteBoxes::onClick(int k, ChannelKind kind,
                                                       std::optional<int> channel) {
    if (k < 0 || k >= kFavouriteBoxCount) return std::nullopt;
    FavouriteBox& box = m_boxes[k];
    const bool now_checked = m_form.isChecked(IDC_FAVOURITE_CHECK[k]);
    const int shown = readDecimalText(m_form.text(IDC_FAVOURITE_POSITION[k]));
    const std::size_t group = static_cast<std::size_t>(k);
    if (!channel || *channel < 0 || group >= shownGroups()) {
        show(k);  // nothing to add or remove: the box goes back
        return std::nullopt;
    }
    const std::size_t size = m_db.groupMembers(group, kind).size();
    FavouriteChange change;
    change.group = group;
    change.kind = kind;
    change.channel = static_cast<std::size_t>(*channel);
    if (now_checked) {
        if (shown != 0) return std::nullopt;
        // A remembered place beyond the group's end (entries left it by
        // other means since) appends.
        std::size_t position = size + 1;
        if (box.remembered && box.remembered_position >= 1)
            position =
                std::min<std::size_t>(static_cast<std::size_t>(box.remembered_position), size + 1);
        change.action = FavouriteChange::Action::Add;
        change.position = position;
        ++box.working_count;
    } else {
        if (shown <= 0) {
            show(k);
            return std::nullopt;
        }
        box.remembered_position = shown;
        box.remembered = true;
        box.pending_position = shown - 1;
        --box.working_count;
        change.action = FavouriteChange::Action::Remove;
        change.position = static_cast<std::size_t>(shown);
    }
    return change;
}

void FavouriteBoxes::changeApplied(const FavouriteChange& change) {
    if (change.action == FavouriteChange::Action::Add && change.group < m_boxes.size())
        m_boxes[change.group].remembered = false;
}

}  // namespace zoedit
