// The rows of a report-style list control as a table model. Rows live in a
// deque because the lists are filled by inserting each row at the top.
#pragma once

#include <QAbstractTableModel>
#include <QPixmap>
#include <deque>
#include <vector>

#include "ui/list_control.h"

namespace zoedit::qt {

class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Structural changes are batched: the first change of a batch starts a
    // model reset and flush() (or the event loop) ends it, so that 10,000
    // single-row inserts cost one reset instead of 10,000 view updates.
    void flush();
    bool pending() const { return m_resetPending; }

    void insertColumn(int index, const ui::ListColumn& column);
    const std::vector<ui::ListColumn>& columns() const { return m_columns; }
    void setColumnWidth(int index, int width);

    void setRows(std::vector<ui::ListRow> rows);
    void insertRow(int index, ui::ListRow row);
    void setRow(int index, ui::ListRow row);
    void deleteRow(int index);
    void deleteAllRows();
    int size() const { return static_cast<int>(m_rows.size()); }
    const ui::ListRow& row(int index) const { return m_rows[static_cast<std::size_t>(index)]; }

    void setImage(const QPixmap& image) { m_image = image; }
    void setDropHighlight(int row);
    int dropHighlight() const { return m_dropRow; }

    // Rows the user may drag to another place of the same list. The model
    // only carries the drag: a drop reports the move (rowDropped), and the
    // owner changes its data and fills the list again.
    void setRowsMovable(bool movable) { m_movable = movable; }
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    // Emitted after a batch of structural changes has reached the views.
    void flushed();
    // Row `from` of this model was dropped on row `onto` (-1: below the rows).
    void rowDropped(int from, int onto);

private:
    void beginBatch();
    bool valid(int row) const { return row >= 0 && row < size(); }

    std::vector<ui::ListColumn> m_columns;
    std::deque<ui::ListRow> m_rows;
    QPixmap m_image;
    int m_dropRow = -1;
    bool m_resetPending = false;
    bool m_movable = false;
};

}  // namespace zoedit::qt
