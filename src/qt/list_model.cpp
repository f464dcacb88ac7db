#include "qt/list_model.h"

#include <QApplication>
#include <QMimeData>
#include <QPalette>
#include <QPointer>
#include <QTimer>

namespace zoedit::qt {

namespace {

const QString kRowMimeType = QStringLiteral("application/x-zoedit-channel-row");

// The dragged row. Qt deletes the drag's data when the drag is over, dropped
// or cancelled, so its end tells the list that the drag has finished.
class RowMimeData final : public QMimeData {
public:
    RowMimeData(const ListModel* source, int row) : m_source(source), m_row(row) {
        setData(kRowMimeType, QByteArray::number(row));
    }
    ~RowMimeData() override {
        if (m_source) m_source->dragEnded();
    }
    const ListModel* source() const { return m_source.data(); }

private:
    QPointer<const ListModel> m_source;
    int m_row;
};

}  // namespace

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ListModel::rowCount(const QModelIndex& parent) const {
    // While a reset is pending the views still believe in zero rows.
    return parent.isValid() || m_resetPending ? 0 : size();
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (m_resetPending || !index.isValid() || !valid(index.row())) return {};
    const ui::ListRow& r = row(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole:
            return column < r.texts.size() ? QString::fromUtf8(r.texts[column]) : QString();
        case Qt::DecorationRole:
            if (column == 0 && r.image == ui::kScrambledImage && !m_image.isNull()) return m_image;
            return {};
        case Qt::BackgroundRole:
            if (index.row() == m_dropRow) return QApplication::palette().highlight();
            return {};
        case Qt::ForegroundRole:
            if (index.row() == m_dropRow) return QApplication::palette().highlightedText();
            return {};
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(m_columns.size()))
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(m_columns[static_cast<std::size_t>(section)].caption);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    // Below the last row is a place to drop too: the end of the list.
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

QStringList ListModel::mimeTypes() const {
    return {kRowMimeType};
}

QMimeData* ListModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty() || m_resetPending) return nullptr;
    const int row = indexes.front().row();
    if (!valid(row) || !m_drag.begin || !m_drag.begin(row)) return nullptr;
    return new RowMimeData(this, row);
}

bool ListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                const QModelIndex&) const {
    // Rows land only in the list they come from.
    const auto* rowData = qobject_cast<const QMimeData*>(data);
    const auto* own = dynamic_cast<const RowMimeData*>(rowData);
    return own && own->source() == this && action == Qt::MoveAction;
}

bool ListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                             const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent) || !m_drag.drop) return false;
    // On a row (the view drops onto rows), or below the last one.
    const int target = parent.isValid() ? parent.row() : (row >= 0 && row < size() ? row : -1);
    m_drag.drop(target);
    return true;
}

void ListModel::beginBatch() {
    if (m_resetPending) return;
    beginResetModel();
    m_resetPending = true;
    // Whoever returns to the event loop first ends the batch.
    QTimer::singleShot(0, this, &ListModel::flush);
}

void ListModel::flush() {
    if (!m_resetPending) return;
    m_resetPending = false;
    endResetModel();
    emit flushed();
}

void ListModel::insertColumn(int index, const ui::ListColumn& column) {
    const int at = std::clamp(index, 0, static_cast<int>(m_columns.size()));
    beginBatch();
    m_columns.insert(m_columns.begin() + at, column);
}

void ListModel::setColumnWidth(int index, int width) {
    if (index >= 0 && index < static_cast<int>(m_columns.size()))
        m_columns[static_cast<std::size_t>(index)].width = width;
}

void ListModel::setRows(std::vector<ui::ListRow> rows) {
    // The same number of rows again (the lists are refilled after every
    // change): the texts change in place, so the selection and the scroll
    // position stay where the user left them.
    if (!m_resetPending && !m_rows.empty() && rows.size() == m_rows.size()) {
        m_rows.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        m_dropRow = -1;
        emit dataChanged(index(0, 0), index(size() - 1, columnCount() - 1));
        return;
    }
    beginBatch();
    m_rows.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    m_dropRow = -1;
}

void ListModel::insertRow(int index, ui::ListRow row) {
    // As a list control does, an index past the end appends.
    const int at = std::clamp(index, 0, size());
    beginBatch();
    m_rows.insert(m_rows.begin() + at, std::move(row));
}

void ListModel::setRow(int index, ui::ListRow row) {
    if (!valid(index)) return;
    m_rows[static_cast<std::size_t>(index)] = std::move(row);
    if (!m_resetPending)
        emit dataChanged(this->index(index, 0), this->index(index, columnCount() - 1));
}

void ListModel::deleteRow(int index) {
    if (!valid(index)) return;
    beginBatch();
    m_rows.erase(m_rows.begin() + index);
    if (m_dropRow == index) m_dropRow = -1;
}

void ListModel::deleteAllRows() {
    beginBatch();
    m_rows.clear();
    m_dropRow = -1;
}

void ListModel::setDropHighlight(int row) {
    const int old = m_dropRow;
    m_dropRow = valid(row) ? row : -1;
    if (m_resetPending) return;
    for (int r : {old, m_dropRow})
        if (valid(r)) emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

}  // namespace zoedit::qt
