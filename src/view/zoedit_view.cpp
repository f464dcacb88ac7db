#include "view/zoedit_view.h"

#include <cctype>
#include <ctime>

#include "database/channel_columns.h"
#include "database/field_format.h"
#include "ui/combo_text.h"
#include "ui/local_time.h"
#include "view/channel_search.h"
#include "view/edit_buttons.h"
#include "view/page_controls.h"

namespace zoedit {

using namespace ui::form;

namespace {

constexpr ui::ControlId kEditButtons[] = {IDC_EDIT, IDC_NEW, IDC_SAVE, IDC_DELETE, IDC_CANCEL};

std::string todayText() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = ui::localTime(now);
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%A, %B %d, %Y", &local);
    return std::string(buffer, n);
}

}  // namespace

CZoEditView::CZoEditView(ui::Platform platform, ViewHooks hooks)
    : m_platform(platform), m_hooks(std::move(hooks)) {
    if (m_hooks.read_settings) m_hooks.read_settings();
}

void CZoEditView::OnInitialUpdate() {
    ui::Form& form = m_platform.form;

    // Nothing is loaded yet: nothing to edit, search or switch.
    for (ui::ControlId id : kEditButtons) form.setEnabled(id, false);
    form.setEnabled(IDC_SEARCH, false);
    form.setEnabled(IDC_TV_SWITCH, false);
    form.setEnabled(IDC_RADIO_SWITCH, false);

    form.setItems(IDC_TAB, {ui::kTabCaptions[0], ui::kTabCaptions[1], ui::kTabCaptions[2]});
    form.setSelectedIndex(IDC_TAB, 0);
    m_state.m_nCurrentPage = Page::Channel;
    ShowPageControls(0);

    // The drop lists' fixed choices (the form's initial data).
    form.setItems(IDC_POLARISATION, {"Horizontal", "Vertical"});
    form.setItems(IDC_FEC, {"AUTO", "1/2", "2/3", "3/4", "5/6", "7/8"});

    SetupLists();
    // Present on the form for their values or as command targets only.
    for (ui::ControlId id : {IDC_DATE, IDC_FILL_TV, IDC_FILL_RADIO}) form.setVisible(id, false);

    form.setLabelStyle(IDC_SATELLITE_BANNER,
                       {ui::rgb(255, 255, 255), ui::rgb(0, 128, 192), 20, true});
    form.setLabelStyle(IDC_CHANNEL_NUMBER, {ui::rgb(0, 0, 0), ui::rgb(0, 128, 192), 19, true});
    form.setImage(IDC_TV_PICTURE, ui::IDB_TV);
    form.setImage(IDC_RADIO_PICTURE, ui::IDB_RADIO);
    form.setImage(IDC_LOCKED_PICTURE, ui::IDB_LOCKED);
    form.setImage(IDC_UNLOCKED_PICTURE, ui::IDB_UNLOCKED);

    m_values.date = todayText();
    UpdateDataToForm();
    setComboText(IDC_FEC, "");  // not a form variable: cleared here like the others
    EnterReadOnlyState();

    if (m_hooks.port_command) m_hooks.port_command();
    if (m_hooks.print_titles) m_hooks.print_titles(ui::kAppTitle, ui::kDocumentTitle);
}

void CZoEditView::SetupLists() {
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        ui::ListControl* list = listOf(kind);
        if (!list) continue;
        if (list->columnCount() == 0) {
            for (int c = 0; c < kChannelColumnCount; ++c) {
                const ChannelColumnSpec& column = kChannelColumns[static_cast<std::size_t>(c)];
                list->insertColumn(c, {std::string(column.title), column.width});
            }
        }
        list->setImageList(ui::IDB_SCRAMBLED, 32);
        list->setSingleSelection(true);
    }
    // One list is on show at a time; the TV list first.
    ui::Form& form = m_platform.form;
    form.setVisible(IDC_RADIO_LIST, false);
    form.setVisible(IDC_RADIO_LIST_CAPTION, false);
    form.setVisible(IDC_TV_LIST, true);
    form.setVisible(IDC_TV_LIST_CAPTION, true);
}

void CZoEditView::EnterReadOnlyState() {
    ui::Form& form = m_platform.form;
    for (ui::ControlId id : readOnlyEdits()) form.setReadOnly(id, true);
    for (ui::ControlId id : disabledInReadOnlyState()) form.setEnabled(id, false);
}

void CZoEditView::ShowPageControls(int page) {
    ui::Form& form = m_platform.form;
    for (int other = 0; other < 3; ++other) {
        if (other == page) continue;
        for (ui::ControlId id : pageControls(other)) form.setVisible(id, false);
    }
    for (ui::ControlId id : pageControls(page)) form.setVisible(id, true);

    const bool channel_page = page == 0;
    const bool radio = m_state.m_shownList == ActiveList::Radio;
    form.setVisible(IDC_TV_PICTURE, channel_page && !radio);
    form.setVisible(IDC_RADIO_PICTURE, channel_page && radio);
    m_lock.showPicture(m_values.locked != 0, channel_page);
}

void CZoEditView::OnTabSelChange(int page) {
    if (page < 0 || page > 2) return;
    m_state.m_nCurrentPage = static_cast<Page>(page);
    ShowPageControls(page);
}

void CZoEditView::OnEdit() {
    ui::Form& form = m_platform.form;
    form.setReadOnly(IDC_CHANNEL_NAME, false);
    form.setReadOnly(IDC_SERVICE_ID, false);
    const bool pids = m_values.pid_mode == 1;
    for (ui::ControlId id : {IDC_VIDEO_PID, IDC_AUDIO_PID, IDC_FOURTH_PID})
        form.setReadOnly(id, !pids);
    for (ui::ControlId id : {IDC_TRANSPONDER_NUMBER, IDC_FREQUENCY_ORDER, IDC_NETWORK_ID,
                             IDC_FREQUENCY, IDC_SYMBOL_RATE, IDC_SATELLITE_NAME, IDC_POSITION})
        form.setReadOnly(id, false);

    for (ui::ControlId id : {IDC_POLARISATION, IDC_FEC, IDC_PID_MODE, IDC_LOCKED})
        form.setEnabled(id, true);
    m_favouriteBoxes.setEnabled(true);
    applyButtonTable(form, ButtonEvent::Edit);
    // The two selectors only display the current satellite and transponder.
    for (ui::ControlId id : {IDC_SATELLITE_SELECTOR, IDC_TRANSPONDER_SELECTOR})
        form.setEnabled(id, false);

    m_state.m_bEditing = true;
    if (m_state.isNewRecord()) m_state.clearPendingChange();
}

void CZoEditView::OnCancel() {
    // A pending New changed no table: dropping it leaves no step behind.
    m_state.clearPendingChange();
    m_listOps.LeaveSortedOrder();
    RefreshAndReselect();
    ui::Form& form = m_platform.form;
    form.setReadOnly(IDC_TRANSPONDER_NUMBER, false);
    form.setReadOnly(IDC_FREQUENCY_ORDER, false);
    applyButtonTable(form, ButtonEvent::Cancel);
    m_favouriteBoxes.setEnabled(true);
}

std::optional<ChannelKind> CZoEditView::activeKind() const {
    switch (m_state.m_activeList) {
        case ActiveList::Tv:
            return ChannelKind::Tv;
        case ActiveList::Radio:
            return ChannelKind::Radio;
        case ActiveList::None:
            break;
    }
    return std::nullopt;
}

// Selects a row as the user would (selected, not focused, scrolled into
// view, the list focused) and runs the selection handler, which selecting
// from code does not notify.
void CZoEditView::SelectRow(ChannelKind kind, Row row) {
    ui::ListControl* list = listOf(kind);
    if (!list) return;
    m_platform.form.setFocus(kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST);
    if (row.value >= list->rowCount()) row = Row();
    if (row.valid()) {
        list->setRowSelected(row.value, true);
        list->ensureVisible(row.value);
    }
    OnItemChanged(kind, row);
}

void CZoEditView::ShowRecords(PageRefresh pages) {
    if (!m_state.m_bLoaded) return;
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        RowMap& map = rows(kind);
        map.follow();
        FillList(kind);
        // The selection stays on its row, inside the list: a delete can take
        // many rows with it.
        Row& row = m_state.selectedRowOf(kind);
        if (row.value >= map.rowCount()) row = Row(map.rowCount() - 1);
        ui::ListControl* list = listOf(kind);
        if (list && row.valid()) {
            list->setRowSelected(row.value, true);
            list->setFocusedRow(row.value);
            list->ensureVisible(row.value);
        }
    }
    FillTransponderSelector();
    m_favouriteBoxes.setCaptions(m_codePage);
    if (pages == PageRefresh::Show && !m_state.isDragging()) ShowSelectedRecords();
    const auto kind = activeKind();
    const auto channel = kind ? selectedChannel(*kind) : std::nullopt;
    m_favouriteBoxes.onSelection(kind.value_or(ChannelKind::Tv),
                                 channel ? static_cast<int>(channel->value) : -1, m_state);
}

void CZoEditView::RefreshAndReselect(bool row_deleted) {
    const ChannelKind kind = activeKind().value_or(
        m_state.m_shownList == ActiveList::Radio ? ChannelKind::Radio : ChannelKind::Tv);
    // The list still shows the rows it had before the delete.
    const ui::ListControl* list = listOf(kind);
    Row& row = m_state.selectedRowOf(kind);
    if (row_deleted && list && row.valid() && row.value + 1 == list->rowCount())
        row = Row(row.value - 1);
    ShowRecords();
    SelectRow(kind, m_state.selectedRowOf(kind));
}

void CZoEditView::OnSearch() {
    if (!m_state.m_bLoaded) return;
    CSearchDlg dialog;
    if (m_platform.dialogs.runModal(dialog) != ui::IDOK) return;
    const ChannelKind kind = activeKind().value_or(
        m_state.m_shownList == ActiveList::Radio ? ChannelKind::Radio : ChannelKind::Tv);
    const ui::ListControl* list = listOf(kind);
    if (!list) return;
    if (const auto row = findChannelRow(*list, dialog.searchText())) SelectRow(kind, Row(*row));
}

bool CZoEditView::setCodePage(CodePage page) {
    if (page == m_codePage) return true;
    // Typing is settled first: the names on the pages were typed in the
    // code page they were shown in.
    if (!ResolveTyping()) return false;
    m_codePage = page;
    ShowRecords();
    return true;
}

void CZoEditView::ListChangeDone() {
    if (m_state.m_bEditing && !isSorted() && !m_state.hasPendingChange())
        applyButtonTable(m_platform.form, ButtonEvent::Paste);
}

std::optional<ChannelKind> CZoEditView::listKindOf(ui::ControlId id) {
    if (id == IDC_TV_LIST) return ChannelKind::Tv;
    if (id == IDC_RADIO_LIST) return ChannelKind::Radio;
    return std::nullopt;
}

// "PID Mode": the three PIDs the box governs become writable with it; the
// code PID never does.
void CZoEditView::OnPidMode() {
    ui::Form& form = m_platform.form;
    if (!UpdateDataFromForm()) return;
    if (!m_state.m_bEditing) return;
    const bool pids = form.isChecked(IDC_PID_MODE);
    for (ui::ControlId id : {IDC_VIDEO_PID, IDC_AUDIO_PID, IDC_FOURTH_PID})
        form.setReadOnly(id, !pids);
    form.setReadOnly(IDC_CODE_PID, true);
}

ui::ListControl* CZoEditView::listOf(ChannelKind kind) {
    return m_platform.form.list(kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST);
}

std::string CZoEditView::display(std::string_view bytes) const {
    return toUtf8(bytes, m_codePage);
}

void CZoEditView::messageBox(const std::string& text) {
    m_platform.dialogs.messageBox(
        {text, ui::kAppTitle, ui::MessageButtons::Ok, ui::MessageIcon::None});
}

// A drop-down combo box shows a text by selecting the item it begins, else
// by putting the text into its edit part.
void CZoEditView::setComboText(ui::ControlId id, const std::string& text) {
    ui::selectComboText(m_platform.form, id, text);
}

}  // namespace zoedit
