// Command 32788: the favourites dialog over the primary groups, every change
// one step of the edit history, and the main view brought up to date with
// what the dialog changed.
#include "edit/edit_operation.h"
#include "view/zoedit_view.h"

namespace zoedit {

void CZoEditView::OnFavourites() {
    if (!isCommandEnabled(ui::cmd::ID_VIEW_FAVOURITES)) return;
    FavouriteEdits edits;
    edits.apply = [this](std::span<const edit::EditOperation> step) {
        return m_doc.apply(step, edit::operationName(step.back()), rowSelection(), rowSelection());
    };
    edits.undo = [this] {
        edit::RowSelection selection;
        return m_doc.undo(selection).ok();
    };
    CFavoriteDlg dialog(m_doc.database(), m_codePage, m_platform.dialogs, m_favouriteDialog,
                        std::move(edits));
    const int result = m_platform.dialogs.runModal(dialog);

    // The dialog changed the tables as it went, however it was closed: the
    // lists, the captions and the selected channel's boxes follow them.
    ShowRecords(PageRefresh::Keep);
    if (result == ui::IDOK && dialog.modified()) {
        const ChannelKind kind = dialog.mode();
        ShowList(kind);
        // The channel that was dragged is the one to look at in the main list
        // (the dialog opens only while the lists show the file's order).
        const int row = static_cast<int>(dialog.draggedChannel().value_or(0));
        if (row > 0) SelectRow(kind, Row(row));
        Save();
    }
}

}  // namespace zoedit
