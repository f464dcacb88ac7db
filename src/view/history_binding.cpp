#include "view/history_binding.h"

#include "ui/resource_ids.h"

namespace zoedit {

using namespace ui::form;

namespace {

constexpr char kUndo[] = "Undo";
constexpr char kRedo[] = "Redo";

std::string menuText(const char* verb, const std::string& step) {
    return step.empty() ? std::string(verb) : std::string(verb) + " " + step;
}

}  // namespace

bool CHistoryBinding::idle() const {
    const EditorState& s = m_view.state();
    return s.m_bLoaded && !s.hasPendingChange() && !m_view.isSorted();
}

bool CHistoryBinding::canUndo() const {
    return idle() && m_history.canUndo();
}
bool CHistoryBinding::canRedo() const {
    return idle() && m_history.canRedo();
}

std::string CHistoryBinding::undoText() const {
    return menuText(kUndo, m_history.undoName());
}
std::string CHistoryBinding::redoText() const {
    return menuText(kRedo, m_history.redoName());
}

edit::EditResult CHistoryBinding::apply(const edit::EditOperation& operation,
                                        std::optional<edit::RowSelection> after) {
    const edit::RowSelection before = m_view.rowSelection();
    edit::EditResult result = m_view.document().apply(operation, before, after.value_or(before));
    if (result.ok()) restore(after.value_or(before));
    return result;
}

// Typing on the pages is settled before a step is undone or redone. A Yes
// saves it as the newest step, and the undo stops there: taking back at once
// what the user just chose to keep would make the answer meaningless.
bool CHistoryBinding::settleTyping() {
    const auto settled = m_view.SettleTyping();
    return settled == CZoEditView::TypingSettled::NoTyping ||
           settled == CZoEditView::TypingSettled::Dropped;
}

void CHistoryBinding::undo() {
    if (!canUndo() || !settleTyping()) return;
    edit::RowSelection selection;
    if (m_view.document().undo(selection).ok()) restore(selection);
}

void CHistoryBinding::redo() {
    if (!canRedo() || !settleTyping()) return;
    edit::RowSelection selection;
    if (m_view.document().redo(selection).ok()) restore(selection);
}

// Puts each list's selection back (steps run only while the lists show the
// file's order, where a channel's index is its row), then brings both lists,
// the pages and the favourite boxes up to date with the records.
void CHistoryBinding::restore(const edit::RowSelection& selection) {
    EditorState& state = m_view.state();
    state.m_nSelectedTvRow = Row(selection.tv_row);
    state.m_nSelectedRadioRow = Row(selection.radio_row);
    if (selection.active) state.m_activeList = listOfKind(*selection.active);
    m_view.ShowRecords();
}

}  // namespace zoedit
