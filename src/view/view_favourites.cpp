// Command 32788: the favourites dialog over the primary groups, and the main
// view brought up to date with what the dialog changed in them.
#include "edit/edit_operation.h"
#include "view/zoedit_view.h"

namespace zoedit {

void CZoEditView::OnFavourites() {
    if (!isCommandEnabled(ui::cmd::ID_VIEW_FAVOURITES)) return;
    FavouriteEdits edits;
    if (m_hooks.apply_step) {
        edits.apply = [this](std::span<const edit::EditOperation> step) {
            return m_hooks.apply_step(step, edit::operationName(step.back()));
        };
        edits.undo = m_hooks.undo_step;
    } else {
        // No edit history: the operations go to the tables as they are.
        edits.apply = [this](std::span<const edit::EditOperation> step) {
            for (const edit::EditOperation& operation : step) {
                edit::EditResult result =
                    edit::applyOperation(m_db, edit::TableCopy::Primary, operation);
                if (!result.ok()) return result;
            }
            return edit::EditResult::done();
        };
    }
    CFavoriteDlg dialog(m_db, m_codePage, m_platform.dialogs, m_favouriteDialog, std::move(edits));
    const int result = m_platform.dialogs.runModal(dialog);
    // The history knows by itself whether the records still differ from the file.
    if (!m_hooks.apply_step && dialog.stepsMade() > 0) m_state.m_bModified = 1;

    // The dialog changed the tables as it went, however it was closed: the
    // captions and the selected channel's boxes follow them.
    m_favouriteBoxes.setCaptions(m_codePage);
    if (result == ui::IDOK && dialog.modified()) {
        const ChannelKind kind = dialog.mode();
        FillList(kind);
        ShowList(kind);
        // The channel that was dragged is the one to look at in the main list.
        const int row = static_cast<int>(dialog.draggedChannel().value_or(0));
        if (row > 0) SelectRow(kind, row);
        Save();
        return;
    }
    if (const auto kind = activeKind())
        m_favouriteBoxes.onSelection(*kind, m_state.selectedRow(listOfKind(*kind)), m_state);
}

}  // namespace zoedit
