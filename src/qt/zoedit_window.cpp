#include "qt/zoedit_window.h"

#include <QCoreApplication>

#include "app/command_table.h"
#include "qt/backup_setting.h"
#include "qt/code_page_setting.h"
#include "qt/editor_dialogs.h"
#include "qt/form_binder.h"
#include "qt/history_commands.h"
#include "qt/list_printing.h"
#include "qt/main_form_widget.h"
#include "qt/main_frame.h"
#include "qt/qt_list_control.h"
#include "qt/qt_platform.h"
#include "view/backup_commands.h"
#include "view/history_binding.h"
#include "view/zoedit_view.h"

namespace zoedit::qt {

ZoEditWindow::ZoEditWindow() {
    m_frame = new CMainFrame;
    m_frame->setAttribute(Qt::WA_DeleteOnClose, false);
    m_formWidget = new MainFormWidget(m_frame);
    m_frame->setCentralWidget(m_formWidget);

    m_form = new QtForm(m_formWidget);
    m_dialogs = std::make_unique<QtDialogs>(m_frame);
    registerEditorDialogs(*m_dialogs);
    m_status = std::make_unique<QtStatusBar>(m_frame);
    m_poster = new QtMessagePoster(this);
    m_menus = std::make_unique<QtPopupMenus>(m_frame);

    m_printing = new ListPrinting(m_frame, *m_form);
    ViewHooks hooks;
    hooks.print_titles = [this](const std::string&, const std::string& doc_title) {
        m_printing->setDocumentTitle(doc_title);
    };
    m_view = std::make_unique<CZoEditView>(
        ui::Platform{*m_form, *m_dialogs, *m_status, *m_poster, *m_menus}, std::move(hooks));
    // Undo and Redo of the view's own history.
    m_history = std::make_unique<CHistoryBinding>(*m_view);
    m_historyCommands = std::make_unique<HistoryCommands>(*m_frame, *m_history);
    m_view->setCodePage(loadCodePage());
    m_view->setBackups(BackupStore::fromEnvironment(loadBackupsKept()));
    m_backupCommands = std::make_unique<CBackupCommands>(*m_view, &storeBackupsKept);
    m_frame->setCodePageIndex(codePageIndex(m_view->codePage()));

    m_form->setEventSink([this](const ui::ControlEvent& event) {
        m_view->onEvent(event);
        m_frame->updateCommandStates();
    });
    for (ui::ControlId id : {ui::form::IDC_TV_LIST, ui::form::IDC_RADIO_LIST})
        if (QtListControl* list = m_form->qtList(id))
            list->setDragAccepted([this] { return m_view->state().isDragging(); });
    m_frame->setCommandHandler([this](int id) { return onCommand(id); });
    m_frame->setCommandEnabledQuery([this](int id) -> std::optional<bool> {
        if (!app::isCommandBuilt(id)) return std::nullopt;
        if (auto history = m_historyCommands->enabled(id)) return history;
        if (auto backups = m_backupCommands->enabled(id)) return backups;
        return m_view->isCommandEnabled(id);
    });
    m_frame->setClosePrompt(
        [this] { return m_view->QueryLeaveFile(CZoEditView::LeaveFile::Close); });
    m_poster->setHandler([this](const ui::Message& message) { onMessage(message); });
    connect(m_frame, &CMainFrame::codePageChosen, this,
            [this](int index) { setCodePage(codePageFromIndex(index)); });

    m_view->OnInitialUpdate();
    m_frame->updateCommandStates();
}

ZoEditWindow::~ZoEditWindow() {
    // The view talks to the widgets up to its end.
    m_historyCommands.reset();
    m_backupCommands.reset();
    m_history.reset();
    m_view.reset();
    delete m_frame;
}

bool ZoEditWindow::onCommand(int id) {
    return m_historyCommands->handle(id) || m_printing->onCommand(id, *m_view) ||
           m_backupCommands->onCommand(id) || m_view->onCommand(id);
}

void ZoEditWindow::openPath(const QString& path) {
    m_view->OpenPath(path.toUtf8().toStdString());
    m_frame->updateCommandStates();
}

void ZoEditWindow::onMessage(const ui::Message& message) {
    switch (message.id) {
        case ui::UM_DL_PROGRESS:
        case ui::UM_DL_CLOSE:
        case ui::UM_UL_PROGRESS:
        case ui::UM_UL_CLOSE:
            // Progress and closing belong to the progress dialog that runs now.
            if (m_dialogs->deliverToDialog(message)) return;
            break;
        default:
            break;
    }
    if (m_messageHandler) m_messageHandler(message);
}

void ZoEditWindow::setCodePage(CodePage page) {
    // The user may stay with typing on the pages: the menu then shows the
    // code page still in use.
    if (m_view->setCodePage(page)) storeCodePage(page);
    m_frame->setCodePageIndex(codePageIndex(m_view->codePage()));
}

}  // namespace zoedit::qt
