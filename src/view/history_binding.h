// The edit history as the main view uses it: every change of the records
// goes through apply() as one step; Undo and Redo give back the records and
// the selected row, then refill the lists and show the selected channel
// again, so that the form holds the restored values before the next Save.
#pragma once

#include <span>
#include <string>

#include "edit/edit_history.h"
#include "view/zoedit_view.h"

namespace zoedit {

class CHistoryBinding {
public:
    // The history is the view's own: opening clears it, saving marks it.
    explicit CHistoryBinding(CZoEditView& view) : m_view(view), m_history(view.history()) {}

    // Applies the operation to the primary tables as one step; the list
    // lands on `after` (by default where the selection was).
    edit::EditResult apply(const edit::EditOperation& operation,
                           std::optional<edit::RowSelection> after = {});

    // Whether Undo and Redo can run now: a step exists, a file is loaded and
    // no New, cut, column sort or drag is pending (those work on the working
    // copy, which the steps do not cover).
    bool canUndo() const;
    bool canRedo() const;
    // Menu texts: "Undo Delete Channel", or "Undo" when there is no step.
    std::string undoText() const;
    std::string redoText() const;
    void undo();
    void redo();

    const edit::EditHistory& history() const { return m_history; }

private:
    bool idle() const;
    void restore(const edit::RowSelection& selection);
    bool settleTyping();

    CZoEditView& m_view;
    const edit::EditHistory& m_history;
};

}  // namespace zoedit
