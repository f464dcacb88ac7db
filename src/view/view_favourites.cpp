// Command 32788: the favourites dialog over the primary groups, and the main
// view brought up to date with what the dialog changed in them.
#include "edit/edit_operation.h"
#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;

void CZoEditView::OnFavourites() {
    if (!isCommandEnabled(ui::cmd::ID_VIEW_FAVOURITES)) return;
    FavouriteEdits edits;
    edits.apply = [this](std::span<const edit::EditOperation> step) {
        for (const edit::EditOperation& operation : step) {
            edit::EditResult result =
                edit::applyOperation(m_db, edit::TableCopy::Primary, operation);
            if (!result.ok()) return result;
        }
        return edit::EditResult::done();
    };
    CFavoriteDlg dialog(m_db, m_codePage, m_platform.dialogs, m_favouriteDialog, std::move(edits));
    const int result = m_platform.dialogs.runModal(dialog);
    if (dialog.stepsMade() > 0) m_state.m_bModified = 1;

    // The dialog changed the tables as it went, however it was closed: the
    // captions and the selected channel's boxes follow them.
    SetFavouriteCaptions();
    if (result == ui::IDOK && dialog.modified()) {
        const ChannelKind kind = dialog.mode();
        FillList(kind);
        ShowList(kind);
        // The channel that was dragged is the one to look at in the main list.
        const int row = static_cast<int>(dialog.draggedChannel().value_or(0));
        ui::ListControl* list = listOf(kind);
        if (list && row > 0 && row < list->rowCount()) {
            list->setRowSelected(row, true);
            list->setFocusedRow(row);
            list->ensureVisible(row);
            OnItemChanged(kind, row);
        }
        Save();
        return;
    }
    const ActiveList active = m_state.m_activeList;
    if (active == ActiveList::None) return;
    const ChannelKind kind = active == ActiveList::Tv ? ChannelKind::Tv : ChannelKind::Radio;
    MarkFavourites(kind, m_state.selectedRow(active));
    ResetFavouriteCounts(kind);
}

// The favourite boxes count against the members of the kind last selected.
void CZoEditView::ResetFavouriteCounts(ChannelKind kind) {
    for (int k = 0; k < kFavouriteBoxCount; ++k) {
        const auto& group = m_db.favourites.groups[static_cast<std::size_t>(k)];
        m_favourites[k].working_count =
            kind == ChannelKind::Tv ? group.tv_count : group.radio_count;
    }
}

}  // namespace zoedit
