// The Qt side of the platform layer: message boxes, file dialogs, modal
// dialogs, the status bar, posted messages and context menus.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

#include "qt/main_frame.h"
#include "ui/dialogs.h"
#include "ui/platform.h"

class QDialog;
class QWidget;

namespace zoedit::qt {

class QtDialogs final : public ui::Dialogs {
public:
    // Builds the Qt dialog of a template; the dialog's widgets carry controlIds.
    using DialogFactory = std::function<QDialog*(QWidget* parent)>;

    explicit QtDialogs(QWidget* parent) : m_parent(parent) {}

    ui::MessageAnswer messageBox(const ui::MessageBoxRequest& request) override;
    std::optional<std::string> fileDialog(const ui::FileDialogRequest& request) override;
    int runModal(ui::ModalDialog& dialog) override;
    std::optional<int> chooseItem(const ui::ChoiceRequest& request) override;

    void registerDialog(int dialog_id, DialogFactory factory);
    // The dialog behaviour running now (innermost), or nullptr.
    ui::ModalDialog* activeDialog() const;
    // Hands a program message to the running dialog; false when none runs.
    bool deliverToDialog(const ui::Message& message);

private:
    struct Running;
    QWidget* m_parent;
    QHash<int, DialogFactory> m_factories;
    std::vector<Running*> m_running;
};

class QtStatusBar final : public ui::StatusBar {
public:
    explicit QtStatusBar(CMainFrame* frame) : m_frame(frame) {}
    void setStatusText(std::string_view text) override;

private:
    QPointer<CMainFrame> m_frame;
};

// Posting wraps the message in an event for `receiver`'s thread; delivery
// calls the handler on the user-interface thread. Safe from any thread.
class QtMessagePoster final : public QObject, public ui::MessagePoster {
    Q_OBJECT
public:
    using Handler = std::function<void(const ui::Message&)>;

    explicit QtMessagePoster(QObject* parent = nullptr);
    void setHandler(Handler handler) { m_handler = std::move(handler); }
    void postMessage(const ui::Message& message) override;

protected:
    void customEvent(QEvent* event) override;

private:
    Handler m_handler;
};

class QtPopupMenus final : public ui::PopupMenus {
public:
    explicit QtPopupMenus(QWidget* parent) : m_parent(parent) {}
    int trackPopupMenu(const std::vector<ui::PopupMenuItem>& items, int x, int y) override;

private:
    QWidget* m_parent;
};

}  // namespace zoedit::qt
