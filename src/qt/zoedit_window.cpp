#include "qt/zoedit_window.h"

#include <QCoreApplication>

#include "app/close_prompt.h"
#include "app/command_table.h"
#include "qt/code_page_setting.h"
#include "qt/editor_dialogs.h"
#include "qt/form_binder.h"
#include "qt/main_form_widget.h"
#include "qt/main_frame.h"
#include "qt/qt_platform.h"
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

    m_view = std::make_unique<CZoEditView>(
        ui::Platform{*m_form, *m_dialogs, *m_status, *m_poster, *m_menus});
    m_view->setCodePage(loadCodePage());
    m_frame->setCodePageIndex(codePageIndex(m_view->codePage()));

    m_form->setEventSink([this](const ui::ControlEvent& event) {
        m_view->onEvent(event);
        m_frame->updateCommandStates();
    });
    m_frame->setCommandHandler([this](int id) { return m_view->onCommand(id); });
    m_frame->setCommandEnabledQuery([this](int id) -> std::optional<bool> {
        if (!app::isCommandBuilt(id)) return std::nullopt;
        return m_view->isCommandEnabled(id);
    });
    m_frame->setClosePrompt([this] {
        return app::runClosePrompt(*m_dialogs, m_view->hasUnsavedEdits(),
                                   [this] { return m_view->Save(); });
    });
    m_poster->setHandler([this](const ui::Message& message) { onMessage(message); });
    connect(m_frame, &CMainFrame::codePageChosen, this,
            [this](int index) { setCodePage(codePageFromIndex(index)); });

    m_view->OnInitialUpdate();
    m_frame->updateCommandStates();
}

ZoEditWindow::~ZoEditWindow() {
    // The view talks to the widgets up to its end.
    m_view.reset();
    delete m_frame;
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
    storeCodePage(page);
    m_frame->setCodePageIndex(codePageIndex(page));
    m_view->setCodePage(page);
}

}  // namespace zoedit::qt
