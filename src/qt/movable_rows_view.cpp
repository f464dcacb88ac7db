#include "qt/movable_rows_view.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>

namespace {

// Enter ends a drag as Escape does. Installed once the drag runs, so that it
// sees the keys before the drag's own filter, which swallows every key.
class EnterCancelsDrag : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                QDrag::cancel();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

MovableRowsView::MovableRowsView(QWidget* parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    // The indicator frames the row the entry is dropped on.
    setDragDropOverwriteMode(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setAutoScroll(true);
}

void MovableRowsView::startDrag(Qt::DropActions) {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    const QModelIndex index = rows.front();
    QMimeData* data = model()->mimeData({index});
    if (!data) return;

    emit dragStarted(index.row());
    m_dropped = false;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    QRect rect = visualRect(index);
    rect.setLeft(0);
    rect.setRight(viewport()->width() - 1);
    drag->setPixmap(viewport()->grab(rect));
    drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - rect.topLeft());

    EnterCancelsDrag enter;
    QTimer::singleShot(0, &enter, [&enter] { qApp->installEventFilter(&enter); });
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    if (!m_dropped) emit dragCancelled();
}

void MovableRowsView::dropEvent(QDropEvent* event) {
    QTableView::dropEvent(event);
    if (event->isAccepted()) m_dropped = true;
}
