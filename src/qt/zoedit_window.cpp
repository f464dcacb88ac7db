#include "qt/zoedit_window.h"

#include <QCoreApplication>

#include "app/close_prompt.h"
#include "app/command_table.h"
#include "database/field_format.h"
#include "qt/code_page_setting.h"
#include "qt/favourites_dialog.h"
#include "qt/form_binder.h"
#include "qt/list_control.h"
#include "qt/main_form_widget.h"
#include "qt/main_frame.h"
#include "qt/qt_platform.h"
#include "view/zoedit_view.h"

namespace zoedit::qt {

namespace {
using namespace ui::form;
}

ZoEditWindow::ZoEditWindow() {
    m_frame = new CMainFrame;
    m_frame->setAttribute(Qt::WA_DeleteOnClose, false);
    m_formWidget = new MainFormWidget(m_frame);
    m_frame->setCentralWidget(m_formWidget);

    m_form = new QtForm(m_formWidget);
    m_dialogs = std::make_unique<QtDialogs>(m_frame);
    registerFavouritesDialog(*m_dialogs);
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
    if (page == m_view->codePage()) return;
    m_view->setCodePage(page);
    redisplayNames();
}

void ZoEditWindow::redisplayNames() {
    if (!m_view->state().m_bLoaded) return;
    const ChannelDatabase& db = m_view->database();
    for (int k = 0; k < kFavouriteBoxCount; ++k) {
        const auto g = static_cast<std::size_t>(k);
        auto& box = m_view->favouriteBoxes()[g];
        box.caption = g < db.favouriteGroupCount()
                          ? toUtf8(nameBytes(db.favourites.groups[g].name), m_view->codePage())
                          : std::string();
        m_form->setText(IDC_FAVOURITE_CHECK[k], box.caption);
    }
    // Refilling drops the selection: put it back, and show the record again
    // unless the user is in the middle of editing it.
    const EditorState& state = m_view->state();
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        const int row =
            kind == ChannelKind::Tv ? state.m_nSelectedTvRow : state.m_nSelectedRadioRow;
        m_view->FillList(kind);
        QtListControl* list =
            m_form->qtList(kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST);
        if (list && row >= 0 && row < list->rowCount()) {
            list->setRowSelected(row, true);
            list->ensureVisible(row);
        }
    }
    const ActiveList active = state.m_activeList;
    const int row = state.selectedRow(active);
    if (!state.m_bEditing && row >= 0 && active != ActiveList::None)
        m_view->OnItemChanged(active == ActiveList::Tv ? ChannelKind::Tv : ChannelKind::Radio, row);
}

}  // namespace zoedit::qt
