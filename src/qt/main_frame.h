// The main window: menu, toolbar, accelerators, status bar and the close
// prompt around the main form. Commands go to one handler by identifier; the
// frame itself handles only exit, the two bar toggles and the about box.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QShortcut;
class QToolBar;

namespace zoedit::qt {

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Returns true when the command was handled.
    using CommandHandler = std::function<bool(int command)>;
    // Enabled state of a command; nullopt when nothing handles it (disabled).
    using CommandEnabledQuery = std::function<std::optional<bool>(int command)>;

    explicit CMainFrame(QWidget* parent = nullptr);

    void setCommandHandler(CommandHandler handler) { m_handler = std::move(handler); }
    void setCommandEnabledQuery(CommandEnabledQuery query);
    // Runs before the window closes; false keeps it open (a save asked for failed).
    void setClosePrompt(std::function<bool()> prompt) { m_closePrompt = std::move(prompt); }

    // The one place a command enters: menu, toolbar and accelerators.
    void dispatchCommand(int command);
    // Re-asks the enabled state of every menu and toolbar command.
    void updateCommandStates();

    QAction* commandAction(int command) const { return m_actions.value(command); }
    QToolBar* mainToolBar() const { return m_toolBar; }
    const QList<QShortcut*>& acceleratorShortcuts() const { return m_shortcuts; }

    // The message pane of the status bar.
    void setStatusText(const QString& text);
    QString statusText() const;

    // Code page of channel and satellite names: 0 Windows-1256, 1 Windows-1252, 2 ISO-8859-1.
    void setCodePageIndex(int index);
    int codePageIndex() const;

    void showAboutBox();

signals:
    void codePageChosen(int index);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildAccelerators();
    void buildMenuKey();
    QAction* makeAction(int command, const QString& caption, const QString& shortcut);
    void addCodePageMenu(QMenu* viewMenu);
    bool handleOwnCommand(int command);

    QHash<int, QAction*> m_actions;
    QList<QShortcut*> m_shortcuts;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QString m_statusText;  // the program's own text in the message pane
    QActionGroup* m_codePages = nullptr;
    CommandHandler m_handler;
    CommandEnabledQuery m_enabledQuery;
    std::function<bool()> m_closePrompt;
};

}  // namespace zoedit::qt
