// The whole editor window put together: the main frame, the main form bound
// to CZoEditView, the platform services the view uses, and the code page
// through which names are shown.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "database/codepage.h"
#include "ui/messages.h"

namespace zoedit {
class CBackupCommands;
class CHistoryBinding;
class CZoEditView;
}  // namespace zoedit

namespace zoedit::qt {

class CMainFrame;
class HistoryCommands;
class MainFormWidget;
class QtDialogs;
class QtForm;
class QtMessagePoster;
class QtPopupMenus;
class QtStatusBar;
class ListPrinting;

class ZoEditWindow : public QObject {
    Q_OBJECT
public:
    ZoEditWindow();
    ~ZoEditWindow() override;

    CMainFrame& frame() { return *m_frame; }
    MainFormWidget& formWidget() { return *m_formWidget; }
    QtForm& form() { return *m_form; }
    QtDialogs& dialogs() { return *m_dialogs; }
    CZoEditView& view() { return *m_view; }
    CHistoryBinding& history() { return *m_history; }
    ListPrinting& printing() { return *m_printing; }

    // A menu, toolbar or accelerator command for the editor (printing or the view).
    bool onCommand(int id);

    // Opens a channel file without the file dialog (command line).
    void openPath(const QString& path);
    // Shows every name again through another code page and keeps the choice.
    void setCodePage(CodePage page);

    // Program messages that no dialog takes (the receiver link's notifications).
    void setMessageHandler(std::function<void(const ui::Message&)> handler) {
        m_messageHandler = std::move(handler);
    }

private:
    void onMessage(const ui::Message& message);

    CMainFrame* m_frame = nullptr;  // owns the widgets below
    MainFormWidget* m_formWidget = nullptr;
    QtForm* m_form = nullptr;
    std::unique_ptr<QtDialogs> m_dialogs;
    std::unique_ptr<QtStatusBar> m_status;
    QtMessagePoster* m_poster = nullptr;
    std::unique_ptr<QtPopupMenus> m_menus;
    ListPrinting* m_printing = nullptr;
    std::unique_ptr<CZoEditView> m_view;
    std::unique_ptr<CHistoryBinding> m_history;
    std::unique_ptr<HistoryCommands> m_historyCommands;
    std::unique_ptr<CBackupCommands> m_backupCommands;
    std::function<void(const ui::Message&)> m_messageHandler;
};

}  // namespace zoedit::qt
