// The commands that change records: Save with its commit of the pages, New,
// Delete, the favourite boxes and the lock. Each change goes through the edit
// operations as one step of the edit history.
#include <array>
#include <vector>

#include "database/channel_file.h"
#include "database/field_format.h"
#include "edit/edit_operation.h"
#include "view/edit_buttons.h"
#include "view/form_commit.h"
#include "view/record_delete.h"
#include "view/view_messages.h"
#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;

namespace {

constexpr char kPlaceholderName[] = "<inseted>";           // channel and transponder pages
constexpr char kSatellitePlaceholderName[] = "<inserted>";  // satellite page
constexpr char kSaveStepName[] = "Edit Record";

std::string fullMessage(const char* what, std::size_t capacity) {
    return std::string("New is not possible: the ") + what + " table is full (" +
           std::to_string(capacity) + ").";
}

}  // namespace

edit::RowSelection CZoEditView::rowSelection() const {
    edit::RowSelection selection{activeKind(), m_state.m_nSelectedTvRow,
                                 m_state.m_nSelectedRadioRow};
    return selection;
}

edit::EditResult CZoEditView::ApplyEdit(const edit::EditOperation& operation,
                                        const edit::RowSelection& after) {
    edit::EditResult result = m_history.apply(m_db, operation, rowSelection(), after);
    if (!result.ok()) messageBox(result.message);
    return result;
}

// The values of the pages as records, one operation per record shown.
std::vector<edit::EditOperation> CZoEditView::PageCommit() const {
    std::vector<edit::EditOperation> operations;
    ui::Form& form = m_platform.form;
    const auto s = static_cast<std::size_t>(m_state.m_nCurrentSatellite);
    if (m_state.m_nCurrentSatellite >= 0 && m_db.satellites.contains(s))
        operations.push_back(edit::SetSatelliteFields{
            s, committedSatellite(m_db.satellites.primary[s], m_values, m_codePage)});
    const auto t = static_cast<std::size_t>(m_state.m_nCurrentTransponder);
    if (m_state.m_nCurrentTransponder >= 0 && m_db.transponders.contains(t))
        operations.push_back(edit::SetTransponderFields{
            t, committedTransponder(m_db.transponders.primary[t], m_values,
                                    form.selectedIndex(IDC_POLARISATION),
                                    form.selectedIndex(IDC_FEC))});
    const auto kind = activeKind();
    const int row = m_state.selectedRow(m_state.m_activeList);
    if (kind && row >= 0 && m_db.channels(*kind).contains(static_cast<std::size_t>(row))) {
        const auto r = static_cast<std::size_t>(row);
        operations.push_back(edit::SetChannelFields{
            *kind, r, committedChannel(m_db.channels(*kind).primary[r], m_values, m_codePage)});
    }
    return operations;
}

// The new records of a pending New with the page's values, inserted as one
// step; the row the list selects afterwards comes back in `row`.
edit::EditResult CZoEditView::InsertPendingNew(const NewRecordPending& pending, int& row) {
    std::vector<edit::EditOperation> operations;
    const ChannelKind kind = pending.kind;
    const auto p = static_cast<std::size_t>(pending.row);
    const auto& channels = m_db.channels(kind);
    ui::Form& form = m_platform.form;
    const int polarisation = form.selectedIndex(IDC_POLARISATION);
    const int fec = form.selectedIndex(IDC_FEC);
    row = pending.row;
    switch (pending.page) {
        case Page::Channel: {
            // The new channel keeps the transponder of the channel at its row.
            operations.push_back(edit::InsertChannel{
                kind, p, committedChannel(channels.primary[p], m_values, m_codePage)});
            break;
        }
        case Page::Transponder: {
            const auto t = static_cast<std::size_t>(pending.transponder);
            operations.push_back(edit::InsertTransponder{t, kind, p});
            operations.push_back(edit::SetTransponderFields{
                t, committedTransponder(m_db.transponders.primary[t], m_values, polarisation,
                                        fec)});
            ChannelRecord channel = committedChannel(channels.primary[p], m_values, m_codePage);
            channel.transponder_index = static_cast<std::uint16_t>(t);
            operations.push_back(edit::SetChannelFields{kind, p, channel});
            break;
        }
        case Page::Satellite:
            operations.push_back(edit::InsertSatellite{
                kind, committedSatellite({}, m_values, m_codePage),
                committedTransponder({}, m_values, polarisation, fec),
                committedChannel({}, m_values, m_codePage)});
            row = static_cast<int>(channels.count);
            break;
    }
    edit::RowSelection after = rowSelection();
    after.active = kind;
    (kind == ChannelKind::Tv ? after.tv_row : after.radio_row) = row;
    const std::string name = edit::operationName(operations.front());
    edit::EditResult result = m_history.apply(m_db, operations, name, rowSelection(), after);
    if (!result.ok()) messageBox(result.message);
    return result;
}

bool CZoEditView::Save() {
    if (!m_state.m_bLoaded || m_values.path.empty()) {
        messageBox(messages::kNothingToSave);
        return false;
    }
    // The sorted order was only the rows': the file keeps its own order,
    // and the page's values go to the channel the row showed.
    m_listOps.LeaveSortedOrder();
    const auto kind = activeKind();
    int row = m_state.selectedRow(m_state.m_activeList);
    if (m_state.m_bEditing) {
        if (!UpdateDataFromForm()) return false;
        if (const auto* pending = std::get_if<NewRecordPending>(&m_state.m_pending)) {
            if (!InsertPendingNew(*pending, row).ok()) return false;
        } else {
            const auto operations = PageCommit();
            if (!operations.empty()) {
                const edit::EditResult committed = m_history.apply(
                    m_db, operations, kSaveStepName, rowSelection(), rowSelection());
                if (!committed.ok()) {
                    // The refusal names the value; the file stays as it was.
                    messageBox(committed.message);
                    return false;
                }
            }
        }
    }
    const SaveResult result =
        saveChannelFile(m_values.path, m_db, SaveFolding{}, m_state.m_nCurrentTransponder);
    if (!result.ok) {
        messageBox(result.message);
        return false;
    }
    m_history.markSaved();
    m_state.m_bSaved = 1;
    m_state.m_bModified = 0;
    FillList(ChannelKind::Tv);
    FillList(ChannelKind::Radio);
    if (m_state.m_bEditing) {
        ui::Form& form = m_platform.form;
        applyButtonTable(form, ButtonEvent::Save);
        form.setReadOnly(IDC_TRANSPONDER_NUMBER, false);
        form.setReadOnly(IDC_FREQUENCY_ORDER, false);
        m_state.clearPendingChange();
        m_favouriteBoxes.setEnabled(true);
    }
    // The refill dropped the selections: the lists select their rows again
    // and the active one shows its channel.
    for (ChannelKind other : {ChannelKind::Tv, ChannelKind::Radio}) {
        if (kind == other) continue;
        ui::ListControl* list = listOf(other);
        const int r = m_state.selectedRow(listOfKind(other));
        if (list && r >= 0 && r < list->rowCount()) list->setRowSelected(r, true);
    }
    if (kind) SelectRow(*kind, row);
    return true;
}

void CZoEditView::OnNew() {
    if (!m_state.m_bEditing || m_state.hasPendingChange()) return;
    const auto kind = activeKind();
    const int row = m_state.selectedRow(m_state.m_activeList);
    if (!kind || row < 0 || static_cast<std::size_t>(row) >= m_db.channels(*kind).count) {
        messageBox(messages::kNoChannelSelected);
        return;
    }
    const auto page = static_cast<Page>(m_state.m_nCurrentPage);
    const bool channels_full = m_db.channels(*kind).count >= kChannelCapacity;
    const bool transponders_full = m_db.transponders.count >= kTransponderCapacity;
    if (channels_full) return messageBox(fullMessage("channel", kChannelCapacity));
    if (page != Page::Channel && transponders_full)
        return messageBox(fullMessage("transponder", kTransponderCapacity));
    if (page == Page::Satellite && m_db.satellites.count >= kMaxSatelliteCount)
        return messageBox(fullMessage("satellite", kMaxSatelliteCount));
    if (!UpdateDataFromForm()) return;

    ui::Form& form = m_platform.form;
    m_state.m_pending = NewRecordPending{page, *kind, row, m_state.m_nCurrentTransponder};
    applyButtonTable(form, ButtonEvent::New);
    m_favouriteBoxes.setEnabled(false);
    m_favouriteBoxes.clear();

    const bool satellite_page = page == Page::Satellite;
    m_values.channel_name = satellite_page ? kSatellitePlaceholderName : kPlaceholderName;
    const char* zero = satellite_page ? "" : "0000";
    for (std::string* pid : {&m_values.service_id, &m_values.code_pid, &m_values.video_pid,
                             &m_values.audio_pid, &m_values.fourth_pid})
        *pid = zero;
    if (!satellite_page) {
        m_values.locked = 0;
        m_values.scrambled = 0;
    }
    for (ui::ControlId id : {IDC_VIDEO_PID, IDC_CODE_PID, IDC_AUDIO_PID, IDC_FOURTH_PID})
        form.setReadOnly(id, false);
    switch (page) {
        case Page::Channel:
            form.setEnabled(IDC_TRANSPONDER_SELECTOR, false);
            break;
        case Page::Transponder:
            form.setReadOnly(IDC_TRANSPONDER_NUMBER, true);
            m_values.transponder_number = "0";
            m_values.frequency_order = "0000";
            m_values.network_id = "0000";
            break;
        case Page::Satellite:
            form.setReadOnly(IDC_TRANSPONDER_NUMBER, true);
            form.setReadOnly(IDC_FREQUENCY_ORDER, true);
            m_values.satellite_name.clear();
            m_values.position.clear();
            m_values.transponder_number = "0";
            for (std::string* field : {&m_values.frequency_order, &m_values.network_id,
                                       &m_values.frequency, &m_values.symbol_rate})
                field->clear();
            break;
    }
    UpdateDataToForm();
    m_lock.showPicture(m_values.locked != 0, page == Page::Channel);
}

void CZoEditView::OnDelete() {
    if (!m_state.m_bEditing || m_state.hasPendingChange()) return;
    const auto target = askDelete(m_platform.dialogs, m_db, m_state);
    if (!target) {
        RefreshAndReselect();
        return;
    }
    edit::EditOperation operation = edit::DeleteChannel{target->kind, target->index};
    if (target->page == Page::Transponder) operation = edit::DeleteTransponder{target->index};
    if (target->page == Page::Satellite) operation = edit::DeleteSatellite{target->index};
    if (!ApplyEdit(operation, rowSelection()).ok()) return;
    const ChannelKind kind = target->kind;
    if (m_db.channels(kind).count == 0) {
        // The list is empty: nothing is left to show on the channel page.
        m_values.channel_name = "Null";
        for (std::string* pid : {&m_values.service_id, &m_values.code_pid, &m_values.video_pid,
                                 &m_values.audio_pid, &m_values.fourth_pid})
            *pid = "0000";
        m_values.locked = 0;
        m_values.scrambled = 0;
        m_favouriteBoxes.clear();
        UpdateDataToForm();
        for (ui::ControlId id :
             {IDC_SATELLITE_SELECTOR, IDC_TRANSPONDER_SELECTOR, IDC_FEC, IDC_POLARISATION})
            m_platform.form.setItems(id, {});
        RefreshAndReselect(true);
        messageBox(messages::kEndOfData);
        return;
    }
    RefreshAndReselect(true);
}

void CZoEditView::OnFavouriteClicked(int k) {
    const auto kind = activeKind();
    const int row = m_state.selectedRow(m_state.m_activeList);
    const bool selected = kind && row >= 0;
    const auto change = m_favouriteBoxes.onClick(k, kind.value_or(ChannelKind::Tv),
                                                 selected ? std::optional<int>(row) : std::nullopt);
    if (!selected) messageBox(messages::kNoChannelSelected);
    if (!change) return;
    const edit::EditOperation operation =
        change->action == FavouriteChange::Action::Add
            ? edit::EditOperation{edit::AddFavourite{change->group, change->kind, change->channel,
                                                     change->position}}
            : edit::EditOperation{edit::RemoveFavourite{change->group, change->kind,
                                                        change->channel, change->position}};
    if (ApplyEdit(operation, rowSelection()).ok()) m_favouriteBoxes.changeApplied(*change);
    // The boxes show the groups as they now are: the new place, or the old
    // state after a refusal.
    m_favouriteBoxes.onSelection(*kind, row, m_state);
}

void CZoEditView::OnLockClicked() {
    const auto kind = activeKind();
    const int row = m_state.selectedRow(m_state.m_activeList);
    const auto change = m_lock.onClick(kind, row, m_state.m_nCurrentPage == 0);
    if (!change) {
        messageBox(messages::kNoChannelSelected);
        return;
    }
    m_values.locked = change->locked ? 1 : 0;
    // A pending New takes the box's value with its other fields on Save.
    if (m_state.isNewRecord()) return;
    if (!m_db.channels(change->kind).contains(change->row)) return;
    if (!ApplyEdit(edit::SetChannelLock{change->kind, change->row, change->locked},
                   rowSelection())
             .ok()) {
        m_platform.form.setChecked(IDC_LOCKED, !change->locked);
        m_lock.showPicture(!change->locked, m_state.m_nCurrentPage == 0);
    }
}

}  // namespace zoedit
