#include "qt/list_model.h"

#include <QApplication>
#include <QMimeData>
#include <QPalette>
#include <QTimer>

namespace zoedit::qt {

namespace {

// A dragged row: which model it comes from and its index, so that a drop
// only ever moves a row within the list it was taken from.
const QString kRowMimeType = QStringLiteral("application/x-zoedit-list-row");

QByteArray rowPayload(const ListModel* model, int row) {
    return QByteArray::number(reinterpret_cast<quintptr>(model)) + ' ' + QByteArray::number(row);
}

// The row a payload names, or -1 when it comes from another model.
int rowFromPayload(const ListModel* model, const QMimeData* data) {
    if (!data || !data->hasFormat(kRowMimeType)) return -1;
    const QList<QByteArray> parts = data->data(kRowMimeType).split(' ');
    bool owner_ok = false;
    bool row_ok = false;
    if (parts.size() != 2 ||
        parts[0].toULongLong(&owner_ok) != reinterpret_cast<quintptr>(model) || !owner_ok)
        return -1;
    const int row = parts[1].toInt(&row_ok);
    return row_ok && row >= 0 && row < model->size() ? row : -1;
}

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

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_movable) {
        // A drop lands on a row (highlighted) or below the rows.
        flags |= Qt::ItemIsDropEnabled;
        if (index.isValid()) flags |= Qt::ItemIsDragEnabled;
    }
    return flags;
}

QStringList ListModel::mimeTypes() const {
    return {kRowMimeType};
}

QMimeData* ListModel::mimeData(const QModelIndexList& indexes) const {
    if (!m_movable || indexes.isEmpty() || !valid(indexes.front().row())) return nullptr;
    auto* data = new QMimeData;
    data->setData(kRowMimeType, rowPayload(this, indexes.front().row()));
    return data;
}

Qt::DropActions ListModel::supportedDragActions() const {
    return m_movable ? Qt::MoveAction : Qt::IgnoreAction;
}

Qt::DropActions ListModel::supportedDropActions() const {
    return m_movable ? Qt::MoveAction : Qt::IgnoreAction;
}

bool ListModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                const QModelIndex&) const {
    return m_movable && action == Qt::MoveAction && rowFromPayload(this, data) >= 0;
}

bool ListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                             const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) return false;
    const int onto = parent.isValid() ? parent.row() : (row >= 0 && row < size() ? row : -1);
    emit rowDropped(rowFromPayload(this, data), onto);
    return true;
}

}  // namespace zoedit::qt
