// What the user does to the channel lists themselves: the context menus,
// cut and paste, the menu's delete, the column sort with "Keep This Order",
// and dragging a row to another place. The window system reports the clicks
// and the drag; the moves go through the view's edit steps, so each is one
// undo step and the favourite entries follow their channel.
#pragma once

#include <optional>
#include <vector>

#include "database/channel_database.h"
#include "ui/platform.h"
#include "view/editor_state.h"
#include "view/list_operations_host.h"
#include "view/row_map.h"

namespace zoedit {

// The context menu of a list as the state asks for it.
// `sorted`: a list shows a column-sort order.
std::vector<ui::PopupMenuItem> listContextMenu(ChannelKind kind, const EditorState& state,
                                               bool sorted, bool new_available);

class CListOperations {
public:
    explicit CListOperations(ListOperationsHost& view) : m_view(view) {}

    // Right click on a list (screen point x, y): the menu and its choice.
    void OnContextMenu(ChannelKind kind, int x, int y);
    // Cut and paste (menu, context menu, Ctrl+X and Ctrl+V) on the active list.
    void OnCut();
    void OnPaste();
    // The context menu's delete of the list's selected channel.
    void OnContextDelete(ChannelKind kind);
    // Header click on column `column` of a list.
    void OnColumnClick(ChannelKind kind, int column);
    // Moves every channel of the active sorted list to the row it shows, as
    // one step.
    void OnKeepOrder();
    // Sorted mode ends (Save, Cancel): both lists show the file's order again
    // with the same channels selected; the pages are left as they are.
    void LeaveSortedOrder();

    // A drag of `row` starts; false when dragging is not possible now.
    bool OnBeginDrag(ChannelKind kind, int row);
    // The dragged row was dropped on row `target` of a list (-1 below the
    // last row).
    void OnDrop(ChannelKind kind, int target);
    // The drag ended without a drop (Escape, released outside a list, or on
    // the dragged row itself).
    void OnDragEnd();

private:
    // Moves channel `from` to index `to` as one step and selects it there.
    void MoveAndSelect(ChannelKind kind, ChannelIndex from, ChannelIndex to);
    // The active list's selected channel, or a message when there is none.
    std::optional<ChannelRef> selectedChannel();
    void tell(const char* text);

    ListOperationsHost& m_view;
};

}  // namespace zoedit
