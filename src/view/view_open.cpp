// The Open command: the save question, the file dialog, reading the file and
// showing it, or restoring the form when the file is refused.
#include "database/channel_file.h"
#include "view/edit_buttons.h"
#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;

namespace {

constexpr char kOpenFilter[] = "Dunvar sat (Vemora )(*.bin,*.sgn)|*.bin|All Files(*.*)|*.*|";

std::string cannotOpenMessage(const std::string& path, const std::string& reason) {
    return "Cannot open " + path + ": " + reason;
}

}  // namespace

void CZoEditView::OnFileOpen() {
    if (!PrepareOpen()) return;
    ui::FileDialogRequest request;
    request.open = true;
    request.default_extension = "bin";
    request.initial_name = "*.bin";
    request.filter = kOpenFilter;
    request.flags = ui::OFN_OVERWRITEPROMPT;
    const auto path = m_platform.dialogs.fileDialog(request);
    if (!path) {
        ClearChannelFlags();
        ShowRecords(PageRefresh::Keep);
        return;
    }
    LoadPath(*path);
}

void CZoEditView::OpenPath(const std::string& path) {
    if (!PrepareOpen()) return;
    LoadPath(path);
}

// The save question and the reset that come before choosing the file. False
// when the user stays with the file (Cancel, or a save that failed).
bool CZoEditView::PrepareOpen() {
    if (!QueryLeaveFile(LeaveFile::Open)) return false;
    m_state.m_bDownloadActive = 0;
    m_state.m_bUploadActive = 0;
    return true;
}

bool CZoEditView::OpenDocumentFrom(const std::string& source) {
    const std::string path = m_doc.path();
    if (!LoadPath(path, source)) return false;
    OnEdit();
    m_state.m_bModified = true;
    return true;
}

bool CZoEditView::LoadPath(const std::string& path, const std::string& source) {
    ui::Form& form = m_platform.form;
    m_favouriteBoxes.clear();
    // The path field names the file being read; it names the document's file
    // again when the new one is refused, whose tables stay as they were.
    const std::string previous_path = m_doc.path();
    m_values.path = path;
    UpdateDataToForm();

    const std::string& read_from = source.empty() ? path : source;
    const LoadResult result = m_doc.load(path, read_from);
    if (result.status == LoadStatus::CannotOpen) {
        // Said aloud: a path typed on the command line may name nothing at all.
        messageBox(cannotOpenMessage(read_from, result.reason));
        m_values.path = previous_path;
        form.setText(IDC_FILE_PATH, previous_path);
        ShowRecords(PageRefresh::Keep);
        return false;
    }
    if (!result.ok()) {
        // One box, however many reasons the reader gives.
        std::string message;
        for (const std::string& line : result.messages)
            message += (message.empty() ? "" : "\n") + line;
        messageBox(message);
        m_values.path = previous_path;
        form.setText(IDC_FILE_PATH, previous_path);
        ClearChannelFlags();
        if (!m_state.m_nSelectedTvRow.valid() && !m_state.m_nSelectedRadioRow.valid()) {
            EnterReadOnlyState();
            return false;
        }
        // The tables in memory stay, and so does the list the user was in,
        // on the row they had selected; edit mode begins as Edit begins it.
        if (!m_state.m_bEditing) OnEdit();
        const ChannelKind shown =
            m_state.m_shownList == ActiveList::Radio ? ChannelKind::Radio : ChannelKind::Tv;
        ShowRecords();
        SelectRow(shown, m_state.selectedRowOf(shown));
        return false;
    }

    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio})
        m_state.selectedRowOf(kind) = Row();
    m_state.clearPendingChange();
    FillTransponderSelector();
    m_favouriteBoxes.setCaptions(m_codePage);
    FillList(ChannelKind::Tv);
    FillList(ChannelKind::Radio);
    ShowList(ChannelKind::Tv);
    for (ui::ControlId id : {IDC_TV_SWITCH, IDC_RADIO_SWITCH, IDC_SEARCH})
        form.setEnabled(id, true);
    applyButtonTable(form, ButtonEvent::FileLoaded);
    m_state.m_bLoaded = true;
    m_state.m_bEditing = false;
    m_state.m_bModified = false;
    // Edit mode ends with the load: fields that the previous file's Edit made
    // writable would take typing that no save could keep.
    EnterReadOnlyState();
    m_favouriteBoxes.setEnabled(true);
    return true;
}

// An Open that loads nothing ends a cut, a drag and the sorted orders; a
// pending New stays for Save or Cancel. The caller refreshes the lists.
void CZoEditView::ClearChannelFlags() {
    if (m_state.isCutPending() || m_state.isDragging()) m_state.clearPendingChange();
    m_listOps.LeaveSortedOrder();
    ListChangeDone();
}

}  // namespace zoedit
