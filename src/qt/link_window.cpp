#include "qt/link_window.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QSerialPortInfo>
#include <QTimer>

#include "link/config_ini.h"
#include "link/receiver_link.h"
#include "link/serial/comm_port.h"
#include "qt/link_dialogs.h"
#include "qt/main_frame.h"
#include "qt/qt_platform.h"
#include "qt/zoedit_window.h"
#include "view/zoedit_view.h"

namespace zoedit::qt {

namespace {

std::vector<std::string> serialDevices() {
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    return devices;
}

}  // namespace

LinkWindow::LinkWindow(ZoEditWindow& window) : QObject(&window), m_window(window) {
    ui::Platform& platform = window.view().platform();
    m_port = std::make_unique<link::CCommPort>(platform.poster, m_flags);
    CMainFrame& frame = window.frame();
    // The watcher's complaints (a full queue, a lost line) come on its own
    // thread; the user reads them in the status bar.
    m_port->setDiagnosticHandler([frame = &frame](const std::string& text) {
        QMetaObject::invokeMethod(
            frame, [frame, line = QString::fromStdString(text)] { frame->setStatusText(line); },
            Qt::QueuedConnection);
    });
    QLabel* pane = frame.findChild<QLabel*>(QStringLiteral("pane%1").arg(ui::IDS_STATUS_SETTING));

    link::ReceiverLinkHooks hooks;
    hooks.serial_devices = &serialDevices;
    hooks.setting_pane = [pane](const std::string& text) {
        if (pane) pane->setText(QString::fromStdString(text));
    };
    m_link = std::make_unique<link::ReceiverLink>(
        link::ReceiverLinkServices{platform.dialogs, platform.status, platform.poster, *m_port,
                                   m_flags,
                                   [this](std::uint8_t* out, std::size_t max) {
                                       return m_port->QueueRead.getSome(out, max);
                                   }},
        link::kConfigFileName, std::move(hooks));

    registerLinkDialogs(window.dialogs());
    if (QAction* action = frame.commandAction(ui::cmd::ID_PORT_OPEN_CLOSE))
        action->setCheckable(true);

    window.setMessageHandler([this](const ui::Message& message) { m_link->onMessage(message); });
    frame.setCommandHandler([this](int id) {
        // A received file keeps a backup of the file it replaces, as a save does.
        m_link->upload().keepBackups(m_window.view().backups());
        if (m_link->onCommand(id)) {
            updateCheckMark();
            return true;
        }
        return m_window.onCommand(id);
    });
    frame.updateCommandStates();
    frame.installEventFilter(this);

    // Lets a progress dialog notice a receiver that stays silent; runs in the
    // dialogs' modal loops too.
    auto* tick = new QTimer(this);
    connect(tick, &QTimer::timeout, this, [this] { m_link->onTick(); });
    tick->start(1000);

    m_link->ReadSettings();
}

LinkWindow::~LinkWindow() {
    // The watcher posts to the window's queue: it ends first.
    m_window.setMessageHandler({});
    m_port->ClosePort();
}

bool LinkWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && !m_shown) {
        m_shown = true;
        // After the window is up, so that a failure's box has a window to sit on.
        QTimer::singleShot(0, this, [this] {
            runCommand(ui::cmd::ID_PORT_OPEN_CLOSE);
            emit startUpFinished();
        });
    }
    return QObject::eventFilter(watched, event);
}

void LinkWindow::runCommand(int id) {
    m_link->onCommand(id);
    updateCheckMark();
}

void LinkWindow::updateCheckMark() {
    if (QAction* action = m_window.frame().commandAction(ui::cmd::ID_PORT_OPEN_CLOSE))
        action->setChecked(m_link->isCommandChecked(ui::cmd::ID_PORT_OPEN_CLOSE));
}

}  // namespace zoedit::qt
