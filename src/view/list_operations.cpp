#include "view/list_operations.h"

#include "database/channel_columns.h"
#include "edit/edit_operation.h"
#include "view/edit_buttons.h"
#include "view/list_sort.h"
#include "view/view_messages.h"

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
                                               bool sorted, bool new_available) {
    if (!state.m_bEditing)
        return {{item::ID_NEW, kNewItem, false},
                {item::ID_CUT, kCutItem, false},
                {item::ID_PASTE, kPasteItem, false},
                {item::ID_DELETE, kDeleteItem, false}};
    const bool tv = kind == ChannelKind::Tv;
    const bool cut = state.isCutPending();
    // Cut and delete need nothing else waiting: a delete while a cut waits
    // would move the marked channel under the mark, and one while a New
    // waits would leave the New's place behind.
    const bool idle = !state.hasPendingChange() && !sorted;
    return {{item::ID_TITLE, tv ? kTvTitle : kRadioTitle, true},
            {item::ID_NEW, kNewItem, new_available && !sorted},
            {item::ID_CUT, tv && !idle ? kCutItemGreyedTv : kCutItem, idle},
            {item::ID_PASTE, kPasteItem, cut},
            {item::ID_DELETE, kDeleteItem, idle}};
}

void CListOperations::tell(const char* text) {
    m_view.platform().dialogs.messageBox(
        {text, ui::kAppTitle, ui::MessageButtons::Ok, ui::MessageIcon::None});
}

void CListOperations::OnContextMenu(ChannelKind kind, int x, int y) {
    const EditorState& state = m_view.state();
    ui::Form& form = m_view.platform().form;
    const auto items = listContextMenu(kind, state, m_view.isSorted(), form.isEnabled(IDC_NEW));
    const int chosen = m_view.platform().menus.trackPopupMenu(items, x, y);
    bool enabled = false;
    for (const ui::PopupMenuItem& menu_item : items)
        if (menu_item.id == chosen) enabled = menu_item.enabled;
    if (!enabled) return;
    switch (chosen) {
        case item::ID_NEW:
            if (form.isEnabled(IDC_NEW)) m_view.OnNew();
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

std::optional<ChannelRef> CListOperations::selectedChannel() {
    const auto channel = m_view.selectedChannel();
    if (!channel) tell(messages::kNoChannelSelected);
    return channel;
}

void CListOperations::OnCut() {
    EditorState& state = m_view.state();
    if (!state.m_bEditing || state.hasPendingChange() || m_view.isSorted()) return;
    const auto channel = selectedChannel();
    if (!channel) return;
    state.m_pending = CutPending{channel->index, channel->kind};
    applyButtonTable(m_view.platform().form, ButtonEvent::Cut);
}

void CListOperations::OnPaste() {
    EditorState& state = m_view.state();
    if (!state.m_bEditing || !state.isCutPending()) return;
    // The paste shows the lists and pages anew.
    if (!m_view.ResolveTyping()) return;
    const auto* cut = std::get_if<CutPending>(&state.m_pending);
    if (!cut) return;
    const auto target = selectedChannel();
    if (!target) return;
    if (target->kind != cut->kind) {
        tell(messages::kPasteIntoOtherList);
        return;
    }
    const ChannelIndex from = cut->channel;
    state.clearPendingChange();
    m_view.ListChangeDone();
    // Down lands after the selected row, up on its place: the place the
    // channel takes is the selected channel's either way.
    MoveAndSelect(target->kind, from, target->index);
}

// Moves happen only while the list shows the file's order: the channel's new
// index is its new row.
void CListOperations::MoveAndSelect(ChannelKind kind, ChannelIndex from, ChannelIndex to) {
    EditorState& state = m_view.state();
    edit::RowSelection after = m_view.rowSelection();
    (kind == ChannelKind::Tv ? after.tv_row : after.radio_row) = static_cast<int>(to.value);
    after.active = kind;
    if (from != to) {
        const edit::EditResult result =
            m_view.ApplyEdit(edit::MoveChannel{kind, from.value, to.value}, after);
        if (!result.ok()) {
            m_view.RefreshAndReselect();
            return;
        }
    }
    state.m_activeList = listOfKind(kind);
    state.selectedRowOf(kind) = m_view.rows(kind).rowOf(to).value_or(Row());
    m_view.RefreshAndReselect();
}

void CListOperations::OnContextDelete(ChannelKind kind) {
    EditorState& state = m_view.state();
    if (!state.m_bEditing || state.hasPendingChange() || m_view.isSorted()) return;
    const auto channel = m_view.selectedChannel(kind);
    if (!channel) {
        tell(messages::kNoChannelSelected);
        return;
    }
    const ui::MessageAnswer answer = m_view.platform().dialogs.messageBox(
        {messages::kDeleteMarkedQuestion, ui::kQuestionCaption, ui::MessageButtons::YesNo,
         ui::MessageIcon::Exclamation});
    if (answer != ui::MessageAnswer::Yes) return;
    const edit::EditResult result =
        m_view.ApplyEdit(edit::DeleteChannel{kind, channel->value}, m_view.rowSelection());
    if (!result.ok()) return;
    state.m_activeList = listOfKind(kind);
    m_view.RefreshAndReselect();
}

void CListOperations::OnColumnClick(ChannelKind kind, int column) {
    EditorState& state = m_view.state();
    if (!state.m_bEditing || column < 0 || column >= kChannelColumnCount) return;
    // A pending New keeps its place in the file's order; a cut or a drag
    // would lose its place in the new one. The click waits.
    if (state.hasPendingChange()) return;
    const ChannelDatabase& db = m_view.database();
    RowMap& map = m_view.rows(kind);

    SortKey key = map.sortKey();
    key.ascending = column != key.column ? true : !key.ascending;
    key.column = column;
    map.setSortKey(key);

    const auto selected = m_view.selectedChannel(kind);
    const auto text = [&](std::size_t channel) {
        return channelColumnText(static_cast<ChannelColumn>(column), db,
                                 db.channels(kind).primary[channel], channel + 1,
                                 m_view.codePage());
    };
    map.setSortedOrder(
        sortedRows(map.order(), static_cast<ChannelColumn>(column), key.ascending, text));
    applyButtonTable(m_view.platform().form, ButtonEvent::ColumnSort);

    // The rows move under the selection: the pages keep the channel they show.
    state.selectedRowOf(kind) = selected ? map.rowOf(*selected).value_or(Row()) : Row();
    m_view.FillList(kind);
    const ui::ControlId list_id = kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST;
    ui::ListControl* list = m_view.platform().form.list(list_id);
    m_view.platform().form.setFocus(list_id);
    const Row row = state.selectedRowOf(kind);
    if (list && row.valid()) {
        list->setRowSelected(row.value, true);
        list->ensureVisible(row.value);
    }
}

void CListOperations::LeaveSortedOrder() {
    EditorState& state = m_view.state();
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        RowMap& map = m_view.rows(kind);
        if (!map.isSorted()) continue;
        const auto selected = m_view.selectedChannel(kind);
        map.showFileOrder();
        state.selectedRowOf(kind) = selected ? map.rowOf(*selected).value_or(Row()) : Row();
    }
    m_view.ListChangeDone();
    m_view.ShowRecords(PageRefresh::Keep);
}

void CListOperations::OnKeepOrder() {
    EditorState& state = m_view.state();
    const auto active = m_view.selectedChannel();
    const ChannelKind kind = active                                   ? active->kind
                             : state.m_shownList == ActiveList::Radio ? ChannelKind::Radio
                                                                      : ChannelKind::Tv;
    RowMap& map = m_view.rows(kind);
    if (!map.isSorted() || state.hasPendingChange()) return;
    // The new order renumbers the channels and shows the pages anew. A Yes
    // saves, which ends the sort as every save does.
    if (!m_view.ResolveTyping() || !map.isSorted()) return;
    // The rows keep what they show; only the table learns their order, so
    // the selected row now shows the channel at its own index.
    const Row row = state.selectedRowOf(kind);
    edit::RowSelection after = m_view.rowSelection();
    (kind == ChannelKind::Tv ? after.tv_row : after.radio_row) = row.value;
    const edit::ReorderChannels reorder{kind, map.order()};
    if (!m_view.ApplyEdit(reorder, after).ok()) return;
    map.showFileOrder();
    m_view.ListChangeDone();
    state.m_activeList = listOfKind(kind);
    state.selectedRowOf(kind) = row;
    m_view.RefreshAndReselect();
}

bool CListOperations::OnBeginDrag(ChannelKind kind, int row) {
    EditorState& state = m_view.state();
    if (!state.m_bEditing || m_view.isSorted() || state.isNewRecord() || state.isDragging())
        return false;
    const auto channel = m_view.rows(kind).channelAt(Row(row));
    if (!channel) return false;
    // A cut still waiting is given up: the drag is the move the user wants now.
    state.m_pending = DragInProgress{*channel, kind};
    return true;
}

void CListOperations::OnDrop(ChannelKind kind, int target) {
    EditorState& state = m_view.state();
    const auto* drag = std::get_if<DragInProgress>(&state.m_pending);
    if (!drag) return;
    const ChannelIndex from = drag->channel;
    const ChannelKind source = drag->kind;
    state.clearPendingChange();
    m_view.ListChangeDone();
    const RowMap& map = m_view.rows(kind);
    // Below the last row: to the end. Down lands after the row under the
    // pointer, up on its place; both are that row's channel.
    const auto to = map.channelAt(Row(target < 0 ? map.rowCount() - 1 : target));
    if (source != kind || !to) {
        m_view.RefreshAndReselect();
        return;
    }
    MoveAndSelect(kind, from, *to);
}

void CListOperations::OnDragEnd() {
    EditorState& state = m_view.state();
    if (!state.isDragging()) return;
    state.clearPendingChange();
    m_view.ListChangeDone();
    m_view.RefreshAndReselect();
}

}  // namespace zoedit
