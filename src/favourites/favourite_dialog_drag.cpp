// Reordering a group by dragging one entry of the list on show. The window
// system draws the drag (drop highlight, scrolling at the edges, cursor); a
// drop on the same list moves the entry in the group and the list is filled
// again from the table, so the two always agree. A drop anywhere else, or a
// cancelled drag, changes nothing.
#include "favourites/favourite_dialog.h"

namespace zoedit {

void CFavoriteDlg::beginDrag(const ui::ControlEvent& event) {
    if (event.id != visibleList()) return;
    m_dragging = true;
    // The main list and the file are brought up to date on saving, whatever the drop does.
    m_modified = true;
}

// The list takes out the dragged row and puts it back at the highlighted
// row: an entry dragged down lands after the highlighted one, an entry
// dragged up before it, and a release below the rows sends it to the end.
void CFavoriteDlg::drop(ui::DialogHost& host, const ui::ControlEvent& event) {
    m_dragging = false;
    m_modified = true;
    const std::size_t size = groupSize(m_group, m_mode);
    const bool own_list = event.id == visibleList();
    if (!own_list || event.from < 0 || static_cast<std::size_t>(event.from) >= size) {
        fillList(host, m_group, m_mode);
        return;
    }
    const auto from = static_cast<std::size_t>(event.from);
    const std::size_t to = event.item < 0 || static_cast<std::size_t>(event.item) >= size
                               ? size - 1
                               : static_cast<std::size_t>(event.item);
    const auto group = static_cast<std::size_t>(m_group);
    m_draggedChannel = m_db.groupMembers(group, m_mode)[from];
    std::size_t place = to;
    if (from != to) {
        const edit::EditOperation move = edit::MoveFavourite{group, m_mode, from + 1, to + 1};
        if (!applyStep({&move, 1})) place = from;
    }
    fillList(host, m_group, m_mode);
    if (ui::ListControl* list = host.form().list(visibleList())) {
        const auto landed = static_cast<int>(place);
        list->setRowSelected(landed, true);
        list->setFocusedRow(landed);
        list->ensureVisible(landed);
    }
}

void CFavoriteDlg::cancelDrag(ui::DialogHost& host) {
    m_dragging = false;
    fillList(host, m_group, m_mode);
}

}  // namespace zoedit
