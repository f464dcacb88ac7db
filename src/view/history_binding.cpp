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

void CHistoryBinding::connect(ViewHooks& hooks, CHistoryBinding*& binding) {
    hooks.file_opened = [&binding] {
        if (binding) binding->fileOpened();
    };
    hooks.file_saved = [&binding] {
        if (binding) binding->fileSaved();
    };
    hooks.records_changed = [&binding] { return binding && binding->recordsChanged(); };
    hooks.apply_step = [&binding](std::span<const edit::EditOperation> operations,
                                  const std::string& name) {
        return binding ? binding->apply(operations, name)
                       : edit::EditResult::refused(edit::EditOutcome::InvalidValue,
                                                   "There is no edit history.");
    };
    hooks.undo_step = [&binding] {
        if (!binding || !binding->canUndo()) return false;
        binding->undo();
        return true;
    };
}

bool CHistoryBinding::idle() const {
    const EditorState& s = m_view.state();
    return s.m_bLoaded && !s.hasPendingChange();
}

bool CHistoryBinding::canUndo() const { return idle() && m_history.canUndo(); }
bool CHistoryBinding::canRedo() const { return idle() && m_history.canRedo(); }

std::string CHistoryBinding::undoText() const { return menuText(kUndo, m_history.undoName()); }
std::string CHistoryBinding::redoText() const { return menuText(kRedo, m_history.redoName()); }

edit::RowSelection CHistoryBinding::selection() const {
    const EditorState& s = m_view.state();
    edit::RowSelection selection{{}, s.m_nSelectedTvRow, s.m_nSelectedRadioRow};
    if (s.m_activeList != ActiveList::None)
        selection.active = s.m_activeList == ActiveList::Tv ? ChannelKind::Tv : ChannelKind::Radio;
    return selection;
}

edit::EditResult CHistoryBinding::apply(const edit::EditOperation& operation,
                                        std::optional<edit::RowSelection> after) {
    const edit::RowSelection before = selection();
    edit::EditResult result =
        m_history.apply(m_view.database(), operation, before, after.value_or(before));
    if (result.ok()) restore(after.value_or(before));
    return result;
}

edit::EditResult CHistoryBinding::apply(std::span<const edit::EditOperation> operations,
                                        const std::string& name) {
    const edit::RowSelection before = selection();
    edit::EditResult result = m_history.apply(m_view.database(), operations, name, before, before);
    if (result.ok()) restore(before);
    return result;
}

void CHistoryBinding::undo() {
    if (!canUndo()) return;
    edit::RowSelection selection;
    if (m_history.undo(m_view.database(), selection).ok()) restore(selection);
}

void CHistoryBinding::redo() {
    if (!canRedo()) return;
    edit::RowSelection selection;
    if (m_history.redo(m_view.database(), selection).ok()) restore(selection);
}

// Refills both lists from the records, selects each list's row again (moved
// up when the list got shorter) and runs the selection handler for the
// active one, which refills the pages and the favourite boxes.
void CHistoryBinding::restore(const edit::RowSelection& selection) {
    EditorState& state = m_view.state();
    ui::Form& form = m_view.platform().form;
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const bool tv = kind == ChannelKind::Tv;
        int row = tv ? selection.tv_row : selection.radio_row;
        const int count = static_cast<int>(m_view.database().channels(kind).count);
        if (row >= count) row = count - 1;
        (tv ? state.m_nSelectedTvRow : state.m_nSelectedRadioRow) = row;
        m_view.FillList(kind);
        ui::ListControl* list = form.list(tv ? IDC_TV_LIST : IDC_RADIO_LIST);
        if (list && row >= 0) {
            list->setRowSelected(row, true);
            list->setFocusedRow(row);
            list->ensureVisible(row);
        }
    }
    if (!selection.active) return;
    const int row = state.selectedRow(listOfKind(*selection.active));
    if (row >= 0) m_view.OnItemChanged(*selection.active, row);
}

}  // namespace zoedit
