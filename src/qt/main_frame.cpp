#include "qt/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include "app/command_table.h"
#include "qt/about_box.h"
#include "qt/pictures.h"
#include "ui/resource_ids.h"

namespace zoedit::qt {

namespace {

using namespace zoedit::ui::cmd;

// Prompts of the standard commands, which the program does not word itself.
struct StandardText {
    int command;
    const char* prompt;
    const char* tool_tip;
};
constexpr StandardText kStandardTexts[] = {
    {ID_FILE_OPEN, "Open an existing document", "Open"},
    {ID_FILE_PRINT, "Print the active document", "Print"},
    {ID_FILE_PRINT_PREVIEW, "Display full pages", "Print Preview"},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options", "Print Setup"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents", "Exit"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar", "Toggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar", "Toggle StatusBar"},
    {ID_APP_ABOUT, "Display program information, version number and copyright", "About"},
};

const char* toolbarPicture(int command) {
    switch (command) {
        case ID_FILE_OPEN:
            return "open";
        case ID_FILE_SAVE:
            return "save";
        case ID_VIEW_TV:
            return "tv";
        case ID_VIEW_RADIO:
            return "radio";
        case ID_VIEW_FAVOURITES:
            return "favourites";
        case ID_DOWNLOAD:
            return "download";
        case ID_UPLOAD:
            return "upload";
        case ID_PORT_SETTINGS:
            return "port";
        case ID_FILE_PRINT:
            return "print";
        case ID_APP_ABOUT:
            return "about";
        default:
            return "";
    }
}

QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool isFrameCommand(int command) {
    return command == ID_APP_EXIT || command == ID_VIEW_TOOLBAR || command == ID_VIEW_STATUS_BAR ||
           command == ID_APP_ABOUT;
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(toQt(app::windowTitle()));
    setWindowIcon(icon(QStringLiteral("app")));
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildAccelerators();
    buildMenuKey();
    updateCommandStates();
}

QAction* CMainFrame::makeAction(int command, const QString& caption, const QString& shortcut) {
    // The shortcut is shown after a tab only: the keys that act are the accelerators.
    const QString text = shortcut.isEmpty() ? caption : caption + QLatin1Char('\t') + shortcut;
    auto* action = new QAction(text, this);
    action->setData(command);
    const app::CommandTexts own = app::commandTexts(command);
    if (!own.prompt.empty()) {
        action->setStatusTip(toQt(own.prompt));
        action->setToolTip(toQt(own.tooltip));
    }
    for (const StandardText& t : kStandardTexts) {
        if (t.command != command || !own.prompt.empty()) continue;
        action->setStatusTip(QString::fromLatin1(t.prompt));
        action->setToolTip(QString::fromLatin1(t.tool_tip));
    }
    if (const char* picture = toolbarPicture(command); *picture)
        action->setIcon(icon(QString::fromLatin1(picture)));
    action->setIconVisibleInMenu(false);
    connect(action, &QAction::triggered, this, [this, command] { dispatchCommand(command); });
    m_actions.insert(command, action);
    return action;
}

void CMainFrame::buildMenus() {
    for (const app::Menu& def : app::mainMenu()) {
        QMenu* menu = menuBar()->addMenu(toQt(def.caption));
        for (const app::MenuItem& item : def.items) {
            if (item.isSeparator()) {
                menu->addSeparator();
                continue;
            }
            menu->addAction(makeAction(item.id, toQt(item.caption), toQt(item.shortcut)));
        }
        if (def.items.front().id == ID_VIEW_TV) addCodePageMenu(menu);
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
        // A menu closed over one of its items leaves that item's prompt behind.
        connect(menu, &QMenu::aboutToHide, this, [this] { m_messagePane->setText(m_statusText); });
    }
    m_actions.value(ID_VIEW_TOOLBAR)->setCheckable(true);
    m_actions.value(ID_VIEW_STATUS_BAR)->setCheckable(true);
}

void CMainFrame::addCodePageMenu(QMenu* viewMenu) {
    viewMenu->addSeparator();
    QMenu* sub = viewMenu->addMenu(tr("Names &Code Page"));
    sub->setObjectName(QStringLiteral("codePageMenu"));
    m_codePages = new QActionGroup(this);
    const char* names[] = {"Arabic (Windows-1256)", "Western (Windows-1252)",
                           "Latin-1 (ISO-8859-1)"};
    for (int i = 0; i < 3; ++i) {
        QAction* a = sub->addAction(QString::fromLatin1(names[i]));
        a->setCheckable(true);
        a->setData(i);
        a->setStatusTip(tr("Show channel and satellite names in this code page"));
        m_codePages->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { emit codePageChosen(i); });
    }
    m_codePages->actions().front()->setChecked(true);
}

void CMainFrame::setCodePageIndex(int index) {
    const auto list = m_codePages->actions();
    if (index >= 0 && index < list.size()) list[index]->setChecked(true);
}

int CMainFrame::codePageIndex() const {
    QAction* checked = m_codePages->checkedAction();
    return checked ? checked->data().toInt() : 0;
}

void CMainFrame::buildToolBar() {
    m_toolBar = new QToolBar(tr("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setMovable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int command : app::toolbarButtons()) {
        if (command == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(m_actions.value(command));
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    connect(m_toolBar, &QToolBar::visibilityChanged, this,
            [this](bool visible) { m_actions.value(ID_VIEW_TOOLBAR)->setChecked(visible); });
}

void CMainFrame::buildStatusBar() {
    QStatusBar* bar = statusBar();
    m_statusText = tr("Ready");
    m_messagePane = new QLabel(m_statusText, bar);
    m_messagePane->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(m_messagePane, 1);

    auto addPane = [bar](const QString& name, const QString& widest, bool enabled) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(name);
        pane->setFrameShape(QFrame::StyledPanel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(widest) + 12);
        pane->setEnabled(enabled);
        bar->addPermanentWidget(pane);
        return pane;
    };
    // The setting pane has no update handler: it keeps its width and stays empty.
    addPane(QStringLiteral("pane%1").arg(ui::IDS_STATUS_SETTING),
            QString::fromLatin1(ui::kStatusSettingText), true);
    // Lock-key states cannot be read portably: the indicators keep their places, greyed.
    for (std::string_view key : app::kIndicators)
        addPane(QStringLiteral("pane") + toQt(key), toQt(key), false)->setText(toQt(key));
    m_actions.value(ID_VIEW_STATUS_BAR)->setChecked(true);
}

void CMainFrame::buildAccelerators() {
    for (const app::Accelerator& acc : app::accelerators()) {
        auto* shortcut = new QShortcut(QKeySequence(toQt(acc.keys)), this);
        shortcut->setContext(Qt::WindowShortcut);
        const int command = acc.command;
        shortcut->setProperty("command", command);
        connect(shortcut, &QShortcut::activated, this,
                [this, command] { dispatchCommand(command); });
        m_shortcuts.append(shortcut);
    }
}

void CMainFrame::buildMenuKey() {
    // The menu captions' mnemonics need an Arabic keyboard: F10 opens the
    // first menu on any keyboard, and the arrow keys go on from there.
    auto* key = new QShortcut(QKeySequence(Qt::Key_F10), this);
    key->setObjectName(QStringLiteral("menuKey"));
    key->setContext(Qt::WindowShortcut);
    connect(key, &QShortcut::activated, this, [this] {
        const QList<QAction*> menus = menuBar()->actions();
        if (!menus.isEmpty() && menuBar()->isVisible()) menuBar()->setActiveAction(menus.front());
    });
}

void CMainFrame::setCommandEnabledQuery(CommandEnabledQuery query) {
    m_enabledQuery = std::move(query);
    updateCommandStates();
}

void CMainFrame::updateCommandStates() {
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        if (isFrameCommand(it.key())) continue;
        std::optional<bool> enabled = m_enabledQuery ? m_enabledQuery(it.key()) : std::nullopt;
        it.value()->setEnabled(enabled.value_or(false));
    }
    m_actions.value(ID_VIEW_TOOLBAR)->setChecked(m_toolBar && m_toolBar->isVisibleTo(this));
    m_actions.value(ID_VIEW_STATUS_BAR)->setChecked(statusBar()->isVisibleTo(this));
}

void CMainFrame::dispatchCommand(int command) {
    if (!handleOwnCommand(command) && m_handler) m_handler(command);
    updateCommandStates();
}

bool CMainFrame::handleOwnCommand(int command) {
    switch (command) {
        case ID_APP_EXIT:
            close();
            return true;
        case ID_VIEW_TOOLBAR:
            m_toolBar->setVisible(!m_toolBar->isVisibleTo(this));
            return true;
        case ID_VIEW_STATUS_BAR:
            statusBar()->setVisible(!statusBar()->isVisibleTo(this));
            return true;
        case ID_APP_ABOUT:
            showAboutBox();
            return true;
        default:
            return false;
    }
}

void CMainFrame::showAboutBox() {
    CAboutBox box(this);
    box.exec();
}

void CMainFrame::setStatusText(const QString& text) {
    statusBar()->clearMessage();
    m_statusText = text;
    m_messagePane->setText(text);
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        // Prompts of menu items and buttons borrow the message pane while the
        // pointer is on them; the program's own text comes back after.
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        m_messagePane->setText(tip.isEmpty() ? m_statusText : tip);
        return true;
    }
    return QMainWindow::event(event);
}

QString CMainFrame::statusText() const {
    return m_messagePane->text();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_closePrompt || m_closePrompt())
        event->accept();
    else
        event->ignore();
}

}  // namespace zoedit::qt
