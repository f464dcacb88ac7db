// A table view whose rows the user drags to another place in the same view,
// with Qt's drag: the drop highlight on the row under the pointer, scrolling
// at the edges, the no-drop cursor elsewhere. Escape or Enter cancel the
// drag. The view reports the drag's start and its cancelling; the model
// reports the drop (through the list model's drag handlers).
#pragma once

#include <QTableView>

class MovableRowsView : public QTableView {
    Q_OBJECT
public:
    explicit MovableRowsView(QWidget* parent = nullptr);

signals:
    void dragStarted(int row);
    // The drag ended without a drop on this view.
    void dragCancelled();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool m_dropped = false;
};
