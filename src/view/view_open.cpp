// The Open command: the save question, the file dialog, reading the file and
// showing it, or restoring the form when the file is refused.
#include "database/channel_file.h"
#include "view/edit_buttons.h"
#include "view/view_messages.h"
#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;

namespace {

constexpr char kOpenFilter[] = "Dunvar sat (Vemora )(*.bin,*.sgn)|*.bin|All Files(*.*)|*.*|";

}  // namespace

void CZoEditView::OnFileOpen() {
    PrepareOpen();
    ui::FileDialogRequest request;
    request.open = true;
    request.default_extension = "bin";
    request.initial_name = "*.bin";
    request.filter = kOpenFilter;
    request.flags = ui::OFN_OVERWRITEPROMPT;
    const auto path = m_platform.dialogs.fileDialog(request);
    if (!path) {
        ClearChannelFlags();
        return;
    }
    LoadPath(*path);
}

void CZoEditView::OpenPath(const std::string& path) {
    PrepareOpen();
    LoadPath(path);
}

// The save question and the reset that come before choosing the file.
void CZoEditView::PrepareOpen() {
    if (hasUnsavedEdits()) {
        const auto answer =
            m_platform.dialogs.messageBox({ui::kSaveChangesQuestion, ui::kQuestionCaption,
                                           ui::MessageButtons::YesNo, ui::MessageIcon::Warning});
        if (answer == ui::MessageAnswer::Yes) Save();
    }
    m_favouriteBoxes.clear();
    m_state.m_bDownloadActive = 0;
    m_state.m_bUploadActive = 0;
    m_state.m_nSortColumn = -1;
    m_state.m_nSortAscending = 0;
}

void CZoEditView::LoadPath(const std::string& path) {
    ui::Form& form = m_platform.form;
    m_favouriteBoxes.clear();
    // The path of the data in memory; restored when the new file is refused,
    // so that a later save never writes the old tables over the refused file.
    const std::string previous_path = m_values.path;
    m_values.path = path;
    UpdateDataToForm();

    const LoadResult result = loadChannelFile(path, m_db);
    if (result.status == LoadStatus::CannotOpen) {
        m_values.path = previous_path;
        form.setText(IDC_FILE_PATH, previous_path);
        return;
    }
    if (!result.ok()) {
        for (const std::string& message : result.messages) messageBox(message);
        m_values.path = previous_path;
        form.setText(IDC_FILE_PATH, previous_path);
        if (m_state.m_nSelectedTvRow == -1 && m_state.m_nSelectedRadioRow == -1) {
            EnterReadOnlyState();
        } else {
            ShowList(ChannelKind::Tv);
            ShowList(ChannelKind::Radio);
            OnEdit();
        }
        ClearChannelFlags();
        return;
    }

    FillTransponderSelector();
    m_favouriteBoxes.setCaptions(m_codePage);
    FillList(ChannelKind::Tv);
    FillList(ChannelKind::Radio);
    ShowList(ChannelKind::Tv);
    for (ui::ControlId id : {IDC_TV_SWITCH, IDC_RADIO_SWITCH, IDC_SEARCH}) form.setEnabled(id, true);
    applyButtonTable(form, ButtonEvent::FileLoaded);
    m_state.m_bLoaded = 1;
    m_state.m_bEditing = 0;
    m_state.m_bModified = 0;
    ClearChannelFlags();
    // Edit mode ends with the load: fields that the previous file's Edit made
    // writable would take typing that no save could keep.
    EnterReadOnlyState();
    m_favouriteBoxes.setEnabled(true);
    DisableUnbuiltControls();
    if (m_hooks.file_opened) m_hooks.file_opened();
}

void CZoEditView::ClearChannelFlags() {
    m_state.clearPendingChange();
}

bool CZoEditView::Save() {
    if (!m_state.m_bLoaded || m_values.path.empty()) {
        messageBox(messages::kNothingToSave);
        return false;
    }
    const SaveResult result =
        saveChannelFile(m_values.path, m_db, SaveFolding{}, m_state.m_nCurrentTransponder);
    if (!result.ok) {
        messageBox(result.message);
        return false;
    }
    m_state.m_bSaved = 1;
    m_state.m_bModified = 0;
    if (m_hooks.file_saved) m_hooks.file_saved();
    return true;
}

}  // namespace zoedit
