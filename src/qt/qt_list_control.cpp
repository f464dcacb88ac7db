#include "qt/qt_list_control.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

#include "qt/movable_rows_view.h"
#include "qt/pictures.h"

namespace zoedit::qt {

QtListControl::QtListControl(ui::ControlId id, QTableView* view, EventSink sink)
    : QObject(view), m_id(id), m_view(view), m_model(new ListModel(this)), m_sink(std::move(sink)) {
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setShowGrid(true);
    m_view->setWordWrap(false);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One stop in the window's Tab order: the arrow keys move inside the list.
    m_view->setTabKeyNavigation(false);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->verticalHeader()->hide();
    // Uniform rows keep 10,000 of them cheap to lay out.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setSectionsMovable(true);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The last column takes what the four widths leave, instead of a blank strip.
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setIconSize(QSize(32, 16));
    m_view->viewport()->installEventFilter(this);

    // Rows are dragged to another place with the view's own drag: it draws
    // the drop indicator, scrolls at the edges, shows the no-entry cursor
    // where nothing accepts the row, and Escape cancels. The owner moves the
    // channel on the drop and refills the list.
    m_view->setDragEnabled(true);
    m_view->setAcceptDrops(true);
    m_view->viewport()->setAcceptDrops(true);
    m_view->setDropIndicatorShown(true);
    m_view->setDragDropMode(QAbstractItemView::DragDrop);
    m_view->setDragDropOverwriteMode(true);
    m_view->setDefaultDropAction(Qt::MoveAction);
    m_view->setAutoScroll(true);
    m_model->setDragHandlers({[this](int row) {
                                  emitEvent(ui::EventKind::BeginDrag, row);
                                  return m_dragAccepted && m_dragAccepted();
                              },
                              [this](int target) { emitEvent(ui::EventKind::ButtonUp, target); },
                              [this] { emitEvent(ui::EventKind::DragEnd, -1); }});

    connect(m_model, &ListModel::flushed, this, &QtListControl::applyColumnWidths);
    // selectionModel() is replaced by setModel only, which happens once above.
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (m_fromCode || m_model->pending()) return;
                for (const QModelIndex& index : selected.indexes())
                    if (index.column() == 0) emitEvent(ui::EventKind::ItemChanged, index.row());
            });
    // The favourites dialog's lists report the drop with the row it came
    // from, and a drag that ended elsewhere as cancelled.
    if (auto* movable = qobject_cast<MovableRowsView*>(m_view)) {
        m_model->setDragHandlers(
            {[this](int row) {
                 m_dragFrom = row;
                 return true;
             },
             [this](int onto) {
                 if (m_sink)
                     m_sink(ui::ControlEvent{m_id, ui::EventKind::Drop, onto, 0, 0, m_dragFrom});
             },
             {}});
        connect(movable, &MovableRowsView::dragStarted, this,
                [this](int row) { emitEvent(ui::EventKind::BeginDrag, row); });
        connect(movable, &MovableRowsView::dragCancelled, this,
                [this] { emitEvent(ui::EventKind::DragCancel, -1); });
    }
    connect(m_view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        emitEvent(ui::EventKind::DoubleClick, index.row());
    });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { emitEvent(ui::EventKind::ColumnClick, column); });
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QPoint global = m_view->viewport()->mapToGlobal(pos);
        emitEvent(ui::EventKind::RightClick, m_view->rowAt(pos.y()), global.x(), global.y());
    });
}

void QtListControl::emitEvent(ui::EventKind kind, int item, int x, int y) {
    if (m_sink) m_sink(ui::ControlEvent{m_id, kind, item, x, y});
}

bool QtListControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            emitEvent(ui::EventKind::ItemClick, m_view->rowAt(mouse->position().toPoint().y()));
    }
    return QObject::eventFilter(watched, event);
}

void QtListControl::insertColumn(int index, const ui::ListColumn& column) {
    ui::ListColumn fitted = column;
    // The first column carries the scrambled picture beside the number: it
    // starts wide enough for both, up to five digits.
    if (index == 0) fitted.width = std::max(column.width, imageAndNumberWidth());
    m_model->insertColumn(index, fitted);
    sync();
}

int QtListControl::imageAndNumberWidth() const {
    const int margin =
        m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 1;
    const int digits = m_view->fontMetrics().horizontalAdvance(QStringLiteral("00000"));
    // Picture and text each keep a margin on both sides; one more pixel for the grid.
    return m_view->iconSize().width() + digits + 4 * margin + 1;
}

int QtListControl::columnCount() const {
    return static_cast<int>(m_model->columns().size());
}

ui::ListColumn QtListControl::column(int index) const {
    if (index < 0 || index >= columnCount()) return {};
    ui::ListColumn c = m_model->columns()[static_cast<std::size_t>(index)];
    c.width = m_view->columnWidth(index);
    return c;
}

void QtListControl::setColumnWidth(int index, int width) {
    m_model->setColumnWidth(index, width);
    m_view->setColumnWidth(index, width);
}

void QtListControl::applyColumnWidths() {
    // A reset forgets nothing about sections, but new columns need their widths.
    const auto& columns = m_model->columns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].width > 0) m_view->setColumnWidth(static_cast<int>(i), columns[i].width);
    if (m_listStyle) setListStyle(true);
}

void QtListControl::setColumnOrder(const std::vector<int>& order) {
    QHeaderView* header = m_view->horizontalHeader();
    for (int visual = 0; visual < static_cast<int>(order.size()); ++visual) {
        const int logical = order[static_cast<std::size_t>(visual)];
        if (logical < 0 || logical >= columnCount()) continue;
        header->moveSection(header->visualIndex(logical), visual);
    }
}

std::vector<int> QtListControl::columnOrder() const {
    std::vector<int> order;
    for (int visual = 0; visual < columnCount(); ++visual)
        order.push_back(m_view->horizontalHeader()->logicalIndex(visual));
    return order;
}

void QtListControl::setRows(std::vector<ui::ListRow> rows) {
    m_model->setRows(std::move(rows));
}
void QtListControl::insertRow(int index, ui::ListRow row) {
    m_model->insertRow(index, std::move(row));
}
void QtListControl::setRow(int index, ui::ListRow row) {
    m_model->setRow(index, std::move(row));
}
void QtListControl::deleteRow(int index) {
    m_model->deleteRow(index);
}
void QtListControl::deleteAllRows() {
    m_model->deleteAllRows();
}

ui::ListRow QtListControl::row(int index) const {
    return valid(index) ? m_model->row(index) : ui::ListRow{};
}

std::string QtListControl::cellText(int row, int column) const {
    if (!valid(row) || column < 0) return {};
    const auto& texts = m_model->row(row).texts;
    return static_cast<std::size_t>(column) < texts.size() ? texts[static_cast<std::size_t>(column)]
                                                           : std::string();
}

void QtListControl::setRowSelected(int row, bool selected) {
    sync();
    if (!valid(row)) return;
    m_fromCode = true;
    QItemSelectionModel* sel = m_view->selectionModel();
    const QModelIndex index = m_model->index(row, 0);
    if (selected) {
        sel->setCurrentIndex(index,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        sel->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    m_fromCode = false;
}

bool QtListControl::isRowSelected(int row) const {
    sync();
    return valid(row) && m_view->selectionModel()->isRowSelected(row, {});
}

int QtListControl::selectedRow() const {
    const auto rows = selectedRows();
    return rows.empty() ? -1 : rows.front();
}

std::vector<int> QtListControl::selectedRows() const {
    sync();
    std::vector<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void QtListControl::setSingleSelection(bool single) {
    m_view->setSelectionMode(single ? QAbstractItemView::SingleSelection
                                    : QAbstractItemView::ExtendedSelection);
}

void QtListControl::setFocusedRow(int row) {
    sync();
    m_fromCode = true;
    m_view->selectionModel()->setCurrentIndex(valid(row) ? m_model->index(row, 0) : QModelIndex(),
                                              QItemSelectionModel::NoUpdate);
    m_fromCode = false;
}

int QtListControl::focusedRow() const {
    sync();
    const QModelIndex current = m_view->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void QtListControl::ensureVisible(int row) {
    sync();
    if (valid(row)) m_view->scrollTo(m_model->index(row, 0), QAbstractItemView::EnsureVisible);
}

int QtListControl::rowAt(int /*x*/, int y) const {
    sync();
    // The list's own coordinates include the header above the rows.
    const int header =
        m_view->horizontalHeader()->isVisible() ? m_view->horizontalHeader()->height() : 0;
    return m_view->rowAt(y - header - m_view->frameWidth());
}

void QtListControl::setListStyle(bool list_style) {
    m_listStyle = list_style;
    m_view->horizontalHeader()->setVisible(!list_style);
    for (int c = 1; c < columnCount(); ++c) m_view->setColumnHidden(c, list_style);
    m_view->setShowGrid(!list_style);
    if (list_style) m_view->horizontalHeader()->setStretchLastSection(true);
}

void QtListControl::setImageList(int bitmap_id, int image_width) {
    const QPixmap picture = bitmap(bitmap_id, QSize(image_width, 16));
    m_model->setImage(picture);
    m_view->setIconSize(QSize(image_width, 16));
}

}  // namespace zoedit::qt
