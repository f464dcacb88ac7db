// A report-style list control as the behaviour code sees it: rows of column
// texts with an image index. The big channel lists hold 10,000 rows, so a
// whole table can be handed over at once (setRows) as well as row by row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/resource_ids.h"

namespace zoedit::ui {

struct ListRow {
    std::vector<std::string> texts;  // one text per column, UTF-8
    int image = kNoImage;            // index into the list's image list

    bool operator==(const ListRow&) const = default;
};

struct ListColumn {
    std::string caption;
    int width = 0;  // pixels
};

// Changing the selection from code never notifies: the caller runs whatever
// handler should follow. Only the user's own actions reach the handlers, as
// ControlEvents (see form.h).
class ListControl {
public:
    virtual ~ListControl() = default;

    // Columns, left-aligned, in insertion order.
    virtual void insertColumn(int index, const ListColumn& column) = 0;
    virtual int columnCount() const = 0;
    virtual ListColumn column(int index) const = 0;
    virtual void setColumnWidth(int index, int width) = 0;
    // Display order of the columns (a permutation of 0..columnCount()-1).
    virtual void setColumnOrder(const std::vector<int>& order) = 0;
    virtual std::vector<int> columnOrder() const = 0;

    // Rows. setRows replaces every row at once; selection, focus and drop
    // highlight are cleared by it and by deleteAllRows.
    virtual void setRows(std::vector<ListRow> rows) = 0;
    virtual void insertRow(int index, ListRow row) = 0;
    virtual void setRow(int index, ListRow row) = 0;
    virtual void deleteRow(int index) = 0;
    virtual void deleteAllRows() = 0;
    virtual int rowCount() const = 0;
    virtual ListRow row(int index) const = 0;
    virtual std::string cellText(int row, int column) const = 0;

    // Selection. Single-selection lists have at most one selected row;
    // selectedRow() is the first selected row or -1.
    virtual void setRowSelected(int row, bool selected) = 0;
    virtual bool isRowSelected(int row) const = 0;
    virtual int selectedRow() const = 0;
    virtual std::vector<int> selectedRows() const = 0;
    virtual void setSingleSelection(bool single) = 0;

    virtual void setFocusedRow(int row) = 0;  // -1 for none
    virtual int focusedRow() const = 0;
    virtual void ensureVisible(int row) = 0;
    virtual void setDropHighlight(int row) = 0;  // -1 removes it
    virtual int dropHighlight() const = 0;
    // Row under a point in the list's own coordinates, -1 outside the rows.
    virtual int rowAt(int x, int y) const = 0;

    // Report view with columns, or the compact one-text list style.
    virtual void setListStyle(bool list_style) = 0;
    // The image list: a bitmap resource cut into images of this width.
    virtual void setImageList(int bitmap_id, int image_width) = 0;
};

}  // namespace zoedit::ui
