// A list control on a QTableView and a ListModel. The user's own actions
// become ControlEvents; changes made from code never notify.
#pragma once

#include <QObject>
#include <functional>

#include "qt/list_model.h"
#include "ui/form.h"
#include "ui/list_control.h"

class QTableView;

namespace zoedit::qt {

class QtListControl final : public QObject, public ui::ListControl {
    Q_OBJECT
public:
    using EventSink = std::function<void(const ui::ControlEvent&)>;

    QtListControl(ui::ControlId id, QTableView* view, EventSink sink);

    void insertColumn(int index, const ui::ListColumn& column) override;
    int columnCount() const override;
    ui::ListColumn column(int index) const override;
    void setColumnWidth(int index, int width) override;
    void setColumnOrder(const std::vector<int>& order) override;
    std::vector<int> columnOrder() const override;

    void setRows(std::vector<ui::ListRow> rows) override;
    void insertRow(int index, ui::ListRow row) override;
    void setRow(int index, ui::ListRow row) override;
    void deleteRow(int index) override;
    void deleteAllRows() override;
    int rowCount() const override { return m_model->size(); }
    ui::ListRow row(int index) const override;
    std::string cellText(int row, int column) const override;

    void setRowSelected(int row, bool selected) override;
    bool isRowSelected(int row) const override;
    int selectedRow() const override;
    std::vector<int> selectedRows() const override;
    void setSingleSelection(bool single) override;

    void setFocusedRow(int row) override;
    int focusedRow() const override;
    void ensureVisible(int row) override;
    void setDropHighlight(int row) override { m_model->setDropHighlight(row); }
    int dropHighlight() const override { return m_model->dropHighlight(); }
    int rowAt(int x, int y) const override;

    void setListStyle(bool list_style) override;
    void setImageList(int bitmap_id, int image_width) override;

    // Whether the owner took up the drag that the last BeginDrag reported.
    void setDragAccepted(std::function<bool()> accepted) { m_dragAccepted = std::move(accepted); }

    QTableView* view() const { return m_view; }
    ListModel* model() const { return m_model; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sync() const { m_model->flush(); }
    void applyColumnWidths();
    int imageAndNumberWidth() const;
    void emitEvent(ui::EventKind kind, int item, int x = 0, int y = 0);
    bool valid(int row) const { return row >= 0 && row < rowCount(); }

    ui::ControlId m_id;
    QTableView* m_view;
    ListModel* m_model;
    EventSink m_sink;
    bool m_fromCode = false;  // selection changes made by the program
    bool m_listStyle = false;
    std::function<bool()> m_dragAccepted;
    int m_dragFrom = -1;  // the row a favourites-dialog drag started on
};

}  // namespace zoedit::qt
