// The questions that keep typing from being lost: before the pages leave the
// record they show, and before the file is left for another or for good.
#include "view/edit_buttons.h"
#include "view/page_fields.h"
#include "view/view_messages.h"
#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;

bool CZoEditView::hasTyping() const {
    if (!m_state.m_bLoaded || !m_state.m_bEditing) return false;
    return m_state.isNewRecord() || zoedit::hasTyping(m_shown, readForm());
}

// The pages now show their records: what they show is the measure of typing.
void CZoEditView::NoteShown() {
    m_shown = readForm();
}

CZoEditView::TypingSettled CZoEditView::SettleTyping() {
    if (m_askingAboutTyping || !hasTyping()) return TypingSettled::NoTyping;
    m_askingAboutTyping = true;
    const auto answer =
        m_platform.dialogs.messageBox({messages::kSaveRecordQuestion, ui::kQuestionCaption,
                                       ui::MessageButtons::YesNoCancel, ui::MessageIcon::Question});
    TypingSettled settled = TypingSettled::Stayed;
    switch (answer) {
        case ui::MessageAnswer::Yes:
            // A save that fails has told why; the typing stays for another try.
            if (Save()) settled = TypingSettled::Saved;
            break;
        case ui::MessageAnswer::No:
            DropTyping();
            settled = TypingSettled::Dropped;
            break;
        default:
            break;
    }
    m_askingAboutTyping = false;
    return settled;
}

// The pages show their records again; a waiting New ends as Cancel ends it.
void CZoEditView::DropTyping() {
    if (m_state.isNewRecord()) {
        m_state.clearPendingChange();
        ui::Form& form = m_platform.form;
        form.setReadOnly(IDC_TRANSPONDER_NUMBER, false);
        form.setReadOnly(IDC_FREQUENCY_ORDER, false);
        applyButtonTable(form, ButtonEvent::Cancel);
        m_favouriteBoxes.setEnabled(true);
    }
    ShowRecords();
}

// Escape answers Cancel: one key must never throw all unsaved work away.
bool CZoEditView::QueryLeaveFile(LeaveFile reason) {
    if (hasTyping() && !hasChangesBesidesTyping()) return ResolveTyping();
    if (!hasUnsavedEdits()) return true;
    const auto icon =
        reason == LeaveFile::Close ? ui::MessageIcon::Exclamation : ui::MessageIcon::Warning;
    const auto answer = m_platform.dialogs.messageBox(
        {ui::kSaveChangesQuestion, ui::kQuestionCaption, ui::MessageButtons::YesNoCancel, icon});
    if (answer == ui::MessageAnswer::Yes) return Save();
    return answer == ui::MessageAnswer::No;
}

// The user stayed: each list shows the row the pages belong to again, and
// a row clicked where none was selected is let go.
void CZoEditView::RestoreListSelection(ChannelKind clicked, Row clicked_row) {
    for (ChannelKind kind : {ChannelKind::Tv, ChannelKind::Radio}) {
        ui::ListControl* list = listOf(kind);
        if (!list) continue;
        const Row row = m_state.selectedRowOf(kind);
        if (row.valid() && row.value < list->rowCount()) {
            list->setRowSelected(row.value, true);
            list->setFocusedRow(row.value);
        } else if (kind == clicked && clicked_row.valid()) {
            list->setRowSelected(clicked_row.value, false);
        }
    }
    if (const auto kind = activeKind())
        m_platform.form.setFocus(*kind == ChannelKind::Tv ? IDC_TV_LIST : IDC_RADIO_LIST);
}

// A typed value that does not fit its field stops Save: the message names
// the field and its range, and the field's page comes up with it focused.
bool CZoEditView::RefuseUnfitValue(bool new_satellite) {
    std::vector<ui::ControlId> required;
    if (new_satellite) required = {IDC_SATELLITE_NAME};
    const auto refusal = firstRefusal(m_shown, m_values, required);
    if (!refusal) return false;
    m_platform.dialogs.messageBox(
        {refusal->message, ui::kAppTitle, ui::MessageButtons::Ok, ui::MessageIcon::Exclamation});
    const int page = static_cast<int>(refusal->page);
    m_platform.form.setSelectedIndex(IDC_TAB, page);
    OnTabSelChange(page);
    m_platform.form.setFocus(refusal->id);
    return true;
}

}  // namespace zoedit
