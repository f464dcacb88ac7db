#include "view/list_operations.h"

#include "edit/edit_operation.h"
#include "view/channel_columns.h"
#include "view/edit_buttons.h"
#include "view/list_sort.h"
#include "view/view_messages.h"
#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;
namespace item = ui::context;

namespace {

constexpr char kTvTitle[] = "<TV channel>";
constexpr char kRadioTitle[] = "<Radio channel>";
constexpr char kNewItem[] = "New  (&N)";
constexpr char kCutItem[] = "Cut  (&X)";
constexpr char kCutItemGreyedTv[] = "Cut (&X)";  // the TV menu's greyed cut has one blank
constexpr char kPasteItem[] = "Paste(&P)";
constexpr char kDeleteItem[] = "Del  (&D)";

}  // namespace

std::vector<ui::PopupMenuItem> listContextMenu(ChannelKind kind, const EditorState& state,
                                               bool new_available) {
    if (!state.m_bEditing)
        return {{item::ID_NEW, kNewItem, false},
                {item::ID_CUT, kCutItem, false},
                {item::ID_PASTE, kPasteItem, false},
                {item::ID_DELETE, kDeleteItem, false}};
    const bool tv = kind == ChannelKind::Tv;
    const bool sorted = state.isSorted();
    const bool cut = state.cutRow().has_value();
    // Cut needs nothing else waiting; a delete while a cut waits would move
    // the marked channel under the mark.
    const bool cut_possible = !state.hasPendingChange();
    return {{item::ID_TITLE, tv ? kTvTitle : kRadioTitle, true},
            {item::ID_NEW, kNewItem, new_available && !sorted},
            {item::ID_CUT, tv && !cut_possible ? kCutItemGreyedTv : kCutItem, cut_possible},
            {item::ID_PASTE, kPasteItem, cut},
            {item::ID_DELETE, kDeleteItem, !sorted && !cut}};
}

void CListOperations::tell(const char* text) {
    m_view.platform().dialogs.messageBox(
        {text, ui::kAppTitle, ui::MessageButtons::Ok, ui::MessageIcon::None});
}

void CListOperations::OnContextMenu(ChannelKind kind, int x, int y) {
    const EditorState& state = m_view.state();
    ui::Form& form = m_view.platform().form;
    const auto items = listContextMenu(kind, state, form.isEnabled(IDC_NEW));
    const int chosen = m_view.platform().menus.trackPopupMenu(items, x, y);
    bool enabled = false;
    for (const ui::PopupMenuItem& menu_item : items)
        if (menu_item.id == chosen) enabled = menu_item.enabled;
    if (!enabled) return;
    switch (chosen) {
        case item::ID_NEW:
            m_view.onCommand(IDC_NEW);
            return;
        case item::ID_CUT:
            OnCut();
            return;
        case item::ID_PASTE:
            OnPaste();
            return;
        case item::ID_DELETE:
            OnContextDelete(kind);
            return;
        default:
            return;  // the title does nothing
    }
}

bool CListOperations::selectedRowOf(ChannelKind& kind, int& row) {
    const EditorState& state = m_view.state();
    const ActiveList active = state.m_activeList;
    kind = active == ActiveList::Radio ? ChannelKind::Radio : ChannelKind::Tv;
    row = state.selectedRow(active);
    if (active == ActiveList::None || row < 0 ||
        static_cast<std::size_t>(row) >= m_view.database().channels(kind).count) {
        tell(messages::kNoChannelSelected);
        return false;
    }
    return true;
}

void CListOperations::OnCut() {
    EditorState& state = m_view.state();
    if (!state.m_bEditing || state.hasPendingChange()) return;
    ChannelKind kind;
    int row;
    if (!selectedRowOf(kind, row)) return;
    state.m_pending = CutPending{row, kind};
    applyButtonTable(m_view.platform().form, ButtonEvent::Cut);
}

void CListOperations::OnPaste() {
    EditorState& state = m_view.state();
    const auto* cut = std::get_if<CutPending>(&state.m_pending);
    if (!state.m_bEditing || !cut) return;
    ChannelKind kind;
    int row;
    if (!selectedRowOf(kind, row)) return;
    if (kind != cut->kind) {
        tell(messages::kPasteIntoOtherList);
        return;
    }
    const int from = cut->row;
    state.clearPendingChange();
    m_view.ListChangeDone();
    // Down lands after the selected row, up on its place: the row the
    // channel takes is the selected row either way.
    MoveAndSelect(kind, from, row);
}

void CListOperations::MoveAndSelect(ChannelKind kind, int from, int to) {
    EditorState& state = m_view.state();
    edit::RowSelection after = m_view.rowSelection();
    (kind == ChannelKind::Tv ? after.tv_row : after.radio_row) = to;
    after.active = kind;
    if (from != to) {
        const edit::EditResult result = m_view.ApplyEdit(
            edit::MoveChannel{kind, static_cast<std::size_t>(from), static_cast<std::size_t>(to)},
            after);
        if (!result.ok()) return;
    }
    state.m_activeList = listOfKind(kind);
    (kind == ChannelKind::Tv ? state.m_nSelectedTvRow : state.m_nSelectedRadioRow) = to;
    m_view.RefreshAndReselect();
}

void CListOperations::OnContextDelete(ChannelKind kind) {
    EditorState& state = m_view.state();
    if (!state.m_bEditing || state.hasPendingChange()) return;
    const int row = state.selectedRow(listOfKind(kind));
    if (row < 0 || static_cast<std::size_t>(row) >= m_view.database().channels(kind).count) {
        tell(messages::kNoChannelSelected);
        return;
    }
    const ui::MessageAnswer answer = m_view.platform().dialogs.messageBox(
        {messages::kDeleteMarkedQuestion, ui::kQuestionCaption, ui::MessageButtons::YesNo,
         ui::MessageIcon::Exclamation});
    if (answer != ui::MessageAnswer::Yes) return;
    const edit::EditResult result = m_view.ApplyEdit(
        edit::DeleteChannel{kind, static_cast<std::size_t>(row)}, m_view.rowSelection());
    if (!result.ok()) return;
    state.m_activeList = listOfKind(kind);
    m_view.RefreshAndReselect();
}

void CListOperations::OnColumnClick(ChannelKind kind, int column) {
    EditorState& state = m_view.state();
    if (!state.m_bEditing || column < 0 || column >= kChannelColumnCount) return;
    // A pending New keeps its place in the file's order; the click waits.
    if (state.isNewRecord() || state.isDragging()) return;
    const ChannelDatabase& db = m_view.database();
    const std::size_t count = db.channels(kind).count;
    const ListRowOrder current = currentOrder(kind);

    if (column != state.m_nSortColumn)
        state.m_nSortAscending = 1;
    else
        state.m_nSortAscending = state.m_nSortAscending ? 0 : 1;
    state.m_nSortColumn = column;

    const int selected = state.selectedRow(listOfKind(kind));
    const int selected_channel = state.channelOfRow(kind, selected);
    const auto text = [&](std::size_t channel) {
        return channelColumnText(static_cast<ChannelColumn>(column), db,
                                 db.channels(kind).primary[channel], channel + 1,
                                 m_view.codePage());
    };
    SortedOrder sorted{kind, sortedRows(current, static_cast<ChannelColumn>(column),
                                        state.m_nSortAscending != 0, text)};
    // A cut waiting in this list is given up: its row means nothing in the new order.
    int new_row = -1;
    for (std::size_t r = 0; r < count; ++r)
        if (static_cast<int>(sorted.channels[r]) == selected_channel) new_row = static_cast<int>(r);
    state.m_pending = std::move(sorted);
    applyButtonTable(m_view.platform().form, ButtonEvent::ColumnSort);

    // The rows move under the selection: the pages keep the channel they show.
    (kind == ChannelKind::Tv ? state.m_nSelectedTvRow : state.m_nSelectedRadioRow) = new_row;
    m_view.FillList(kind);
    ui::ListControl* list =
        m_view.platform().form.list(kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST);
    m_view.platform().form.setFocus(kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST);
    if (list && new_row >= 0) {
        list->setRowSelected(new_row, true);
        list->ensureVisible(new_row);
    }
}

ListRowOrder CListOperations::currentOrder(ChannelKind kind) const {
    const EditorState& state = m_view.state();
    const SortedOrder* sorted = state.sortedOrder();
    if (sorted && sorted->kind == kind) return sorted->channels;
    ListRowOrder order(m_view.database().channels(kind).count);
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    return order;
}

void CListOperations::LeaveSortedOrder() {
    EditorState& state = m_view.state();
    const SortedOrder* sorted = state.sortedOrder();
    if (!sorted) return;
    const ChannelKind kind = sorted->kind;
    const int row = state.channelOfRow(kind, state.selectedRow(listOfKind(kind)));
    state.clearPendingChange();
    m_view.ListChangeDone();
    (kind == ChannelKind::Tv ? state.m_nSelectedTvRow : state.m_nSelectedRadioRow) = row;
    m_view.FillList(kind);
    ui::ListControl* list =
        m_view.platform().form.list(kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST);
    if (list && row >= 0) {
        list->setRowSelected(row, true);
        list->ensureVisible(row);
    }
}

void CListOperations::OnKeepOrder() {
    EditorState& state = m_view.state();
    const SortedOrder* sorted = state.sortedOrder();
    if (!sorted) return;
    const ChannelKind kind = sorted->kind;
    const edit::ReorderChannels reorder{kind, sorted->channels};
    // The rows keep what they show; only the table learns their order.
    const int row = state.selectedRow(listOfKind(kind));
    state.clearPendingChange();
    if (!m_view.ApplyEdit(reorder, m_view.rowSelection()).ok()) {
        state.m_pending = SortedOrder{kind, reorder.order};
        return;
    }
    m_view.ListChangeDone();
    state.m_activeList = listOfKind(kind);
    (kind == ChannelKind::Tv ? state.m_nSelectedTvRow : state.m_nSelectedRadioRow) = row;
    m_view.RefreshAndReselect();
}

bool CListOperations::OnBeginDrag(ChannelKind kind, int row) {
    EditorState& state = m_view.state();
    if (!state.m_bEditing || state.isSorted() || state.isNewRecord() || state.isDragging())
        return false;
    if (row < 0 || static_cast<std::size_t>(row) >= m_view.database().channels(kind).count)
        return false;
    // A cut still waiting is given up: the drag is the move the user wants now.
    if (state.cutRow()) m_view.ListChangeDone();
    state.m_pending = DragInProgress{row, kind};
    return true;
}

void CListOperations::OnDrop(ChannelKind kind, int target) {
    EditorState& state = m_view.state();
    const auto* drag = std::get_if<DragInProgress>(&state.m_pending);
    if (!drag) return;
    const int from = drag->row;
    const ChannelKind source = drag->kind;
    state.clearPendingChange();
    const int count = static_cast<int>(m_view.database().channels(kind).count);
    if (source != kind || target >= count) {
        m_view.RefreshAndReselect();
        return;
    }
    // Below the last row: to the end. Down lands after the row under the
    // pointer, up on its place; both are that row's index.
    MoveAndSelect(kind, from, target < 0 ? count - 1 : target);
}

void CListOperations::OnDragEnd() {
    EditorState& state = m_view.state();
    if (!state.isDragging()) return;
    state.clearPendingChange();
    m_view.RefreshAndReselect();
}

}  // namespace zoedit
