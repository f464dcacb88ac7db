// The receiver link put into the main window: the serial port, the link's
// commands and their check mark, the notifications of the port's watcher,
// the setting pane of the status bar, and the port command run once when
// the main window is first shown.
#pragma once

#include <QObject>
#include <memory>

#include "link/transfer_events.h"

namespace zoedit::link {
class CCommPort;
class ReceiverLink;
}  // namespace zoedit::link

namespace zoedit::qt {

class ZoEditWindow;

class LinkWindow : public QObject {
    Q_OBJECT
public:
    // Reads config.ini from the current directory (creating it when missing).
    explicit LinkWindow(ZoEditWindow& window);
    ~LinkWindow() override;

    link::ReceiverLink& link() { return *m_link; }
    link::CCommPort& port() { return *m_port; }

signals:
    // The port command of the first showing has run (and its message, if
    // any, has been answered): the next start-up step may speak.
    void startUpFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runCommand(int id);
    void updateCheckMark();

    ZoEditWindow& m_window;
    link::TransferFlags m_flags;
    std::unique_ptr<link::CCommPort> m_port;
    std::unique_ptr<link::ReceiverLink> m_link;
    bool m_shown = false;
};

}  // namespace zoedit::qt
