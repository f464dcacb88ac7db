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

constexpr char kPlaceholderName[] = "<inseted>";            // channel and transponder pages
constexpr char kSatellitePlaceholderName[] = "<inserted>";  // satellite page
constexpr char kSaveStepName[] = "Edit Record";

std::string fullMessage(const char* what, std::size_t capacity) {
    return std::string("New is not possible: the ") + what + " table is full (" +
           std::to_string(capacity) + ").";
}

}  // namespace

// The selection as the history keeps it: each list's selected channel. Steps
// are undone and redone only while both lists show the file's order, where a
// channel's index is its row.
edit::RowSelection CZoEditView::rowSelection() const {
    const auto channelRow = [this](ChannelKind kind) {
        const auto channel = selectedChannel(kind);
        return channel ? static_cast<int>(channel->value) : -1;
    };
    return {activeKind(), channelRow(ChannelKind::Tv), channelRow(ChannelKind::Radio)};
}

edit::EditResult CZoEditView::ApplyEdit(const edit::EditOperation& operation,
                                        const edit::RowSelection& after) {
    edit::EditResult result = m_doc.apply(operation, rowSelection(), after);
    if (!result.ok()) messageBox(result.message);
    return result;
}

// The values of the pages as records, one operation per record they change.
// A record left alone is not stored again, so that an odd value a file holds
// in it never blocks saving the others. With no channel selected the pages
// show no record, and nothing is committed.
std::vector<edit::EditOperation> CZoEditView::PageCommit() const {
    std::vector<edit::EditOperation> operations;
    const auto channel = selectedChannel();
    if (!channel) return operations;
    const PageCommitInput input{m_shown, m_values, m_codePage, Untouched::KeepsRecord};
    if (const auto s = currentSatellite()) {
        const SatelliteRecord& current = m_doc.database().satellites.primary[*s];
        const SatelliteRecord record = committedSatellite(current, input);
        if (!(record == current)) operations.push_back(edit::SetSatelliteFields{*s, record});
    }
    if (const auto t = currentTransponder()) {
        const TransponderRecord& current = m_doc.database().transponders.primary[*t];
        const TransponderRecord record = committedTransponder(current, input);
        if (!(record == current)) operations.push_back(edit::SetTransponderFields{*t, record});
    }
    const std::size_t c = channel->index.value;
    const ChannelRecord& current = m_doc.database().channels(channel->kind).primary[c];
    const ChannelRecord record = committedChannel(current, input);
    if (!(record == current))
        operations.push_back(edit::SetChannelFields{channel->kind, c, record});
    return operations;
}

// The new records of a pending New with the page's values; the new
// channel's index comes back in `landed`.
std::vector<edit::EditOperation> CZoEditView::PendingNewOperations(const NewRecordPending& pending,
                                                                   ChannelIndex& landed) const {
    std::vector<edit::EditOperation> operations;
    const ChannelKind kind = pending.kind;
    const std::size_t p = pending.channel.value;
    const auto& channels = m_doc.database().channels(kind);
    // Every entry stands for itself: New put the texts the new records start from.
    const PageCommitInput input{m_shown, m_values, m_codePage, Untouched::ReadsText};
    landed = pending.channel;
    switch (pending.page) {
        case Page::Channel: {
            // The new channel keeps the transponder of the channel at its place.
            operations.push_back(
                edit::InsertChannel{kind, p, committedChannel(channels.primary[p], input)});
            break;
        }
        case Page::Transponder: {
            const std::size_t t = pending.transponder;
            operations.push_back(edit::InsertTransponder{t, kind, p});
            operations.push_back(edit::SetTransponderFields{
                t, committedTransponder(m_doc.database().transponders.primary[t], input)});
            ChannelRecord channel = committedChannel(channels.primary[p], input);
            channel.transponder_index = static_cast<std::uint16_t>(t);
            operations.push_back(edit::SetChannelFields{kind, p, channel});
            break;
        }
        case Page::Satellite:
            operations.push_back(edit::InsertSatellite{kind, committedSatellite({}, input),
                                                       committedTransponder({}, input),
                                                       committedChannel({}, input)});
            landed = ChannelIndex(channels.count);
            break;
    }
    return operations;
}

// Save commits the pages and writes the file as one whole: the commit is
// made on a copy that is written, and only a written file changes the
// tables, the history, a pending New or a sorted list. A failed write leaves
// everything as it was, so that the next Save does the same again, once.
bool CZoEditView::Save() {
    if (!m_state.m_bLoaded || m_doc.path().empty()) {
        messageBox(messages::kNothingToSave);
        return false;
    }
    const auto kind = activeKind();
    std::optional<ChannelIndex> landed = kind ? selectedChannel(*kind) : std::nullopt;
    std::vector<edit::EditOperation> operations;
    std::string step_name = kSaveStepName;
    if (m_state.m_bEditing) {
        if (!UpdateDataFromForm()) return false;
        const auto* pending = std::get_if<NewRecordPending>(&m_state.m_pending);
        if (RefuseUnfitValue(pending && pending->page == Page::Satellite)) return false;
        if (pending) {
            ChannelIndex new_channel;
            operations = PendingNewOperations(*pending, new_channel);
            step_name = edit::operationName(operations.front());
            landed = new_channel;
        } else {
            operations = PageCommit();
        }
    }

    std::optional<ChannelRef> shown;
    if (kind && landed) shown = ChannelRef{*kind, *landed};
    edit::RowSelection after = rowSelection();
    if (kind && landed)
        (*kind == ChannelKind::Tv ? after.tv_row : after.radio_row) =
            static_cast<int>(landed->value);
    const auto saved = m_doc.save(operations, step_name, shown, rowSelection(), after, m_backups);
    if (!saved.ok) {
        messageBox(saved.message);
        return false;
    }
    // Saved all the same: the user hears once that this save left no backup.
    if (!saved.warning.empty()) messageBox(saved.warning);
    m_state.m_bSaved = true;
    m_state.m_bModified = false;
    if (m_state.m_bEditing) {
        ui::Form& form = m_platform.form;
        applyButtonTable(form, ButtonEvent::Save);
        form.setReadOnly(IDC_TRANSPONDER_NUMBER, false);
        form.setReadOnly(IDC_FREQUENCY_ORDER, false);
        m_state.clearPendingChange();
        m_favouriteBoxes.setEnabled(true);
    }
    // The sorted orders were only the rows': the lists show the file's order
    // again, each on the channel it had selected, and the active one on the
    // channel the pages showed (the new one after a New).
    m_listOps.LeaveSortedOrder();
    if (kind && landed) m_state.selectedRowOf(*kind) = Row(static_cast<int>(landed->value));
    ShowRecords();
    if (kind) SelectRow(*kind, m_state.selectedRowOf(*kind));
    return true;
}

void CZoEditView::OnNew() {
    if (!m_state.m_bEditing || m_state.hasPendingChange() || isSorted()) return;
    const auto channel = selectedChannel();
    if (!channel) {
        messageBox(messages::kNoChannelSelected);
        return;
    }
    const ChannelKind* kind = &channel->kind;
    const auto page = m_state.m_nCurrentPage;
    const auto transponder = currentTransponder();
    if (page != Page::Channel && !transponder) return messageBox(messages::kNoTransponder);
    const bool channels_full = m_doc.database().channels(*kind).count >= kChannelCapacity;
    const bool transponders_full = m_doc.database().transponders.count >= kTransponderCapacity;
    if (channels_full) return messageBox(fullMessage("channel", kChannelCapacity));
    if (page != Page::Channel && transponders_full)
        return messageBox(fullMessage("transponder", kTransponderCapacity));
    if (page == Page::Satellite && m_doc.database().satellites.count >= kMaxSatelliteCount)
        return messageBox(fullMessage("satellite", kMaxSatelliteCount));
    if (!UpdateDataFromForm()) return;

    ui::Form& form = m_platform.form;
    m_state.m_pending =
        NewRecordPending{page, channel->kind, channel->index, transponder.value_or(0)};
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
    // The new records start from these texts; what the user types over them
    // is checked on Save.
    NoteShown();
}

void CZoEditView::OnDelete() {
    if (!m_state.m_bEditing || m_state.hasPendingChange() || isSorted()) return;
    const DeleteSubject subject{m_state.m_nCurrentPage, selectedChannel(), currentTransponder(),
                                currentSatellite()};
    const auto target = askDelete(m_platform.dialogs, m_doc.database(), subject);
    if (!target) {
        RefreshAndReselect();
        return;
    }
    edit::EditOperation operation = edit::DeleteChannel{target->kind, target->index};
    if (target->page == Page::Transponder) operation = edit::DeleteTransponder{target->index};
    if (target->page == Page::Satellite) operation = edit::DeleteSatellite{target->index};
    if (!ApplyEdit(operation, rowSelection()).ok()) return;
    RefreshAndReselect(true);
    if (m_doc.database().channels(target->kind).count == 0) {
        // The list is empty: the pages show no record, and the channel page
        // says so. The drop lists keep their items for the next file.
        m_values.channel_name = "Null";
        for (std::string* pid : {&m_values.service_id, &m_values.code_pid, &m_values.video_pid,
                                 &m_values.audio_pid, &m_values.fourth_pid})
            *pid = "0000";
        UpdateDataToForm();
        messageBox(messages::kEndOfData);
    }
}

void CZoEditView::OnFavouriteClicked(int k) {
    const auto channel = selectedChannel();
    const ChannelKind kind = channel ? channel->kind : ChannelKind::Tv;
    const auto change = m_favouriteBoxes.onClick(
        k, kind,
        channel ? std::optional<int>(static_cast<int>(channel->index.value)) : std::nullopt);
    if (!channel) messageBox(messages::kNoChannelSelected);
    if (!change) return;
    const edit::EditOperation operation =
        change->action == FavouriteChange::Action::Add
            ? edit::EditOperation{edit::AddFavourite{change->group, change->kind, change->channel,
                                                     change->position}}
            : edit::EditOperation{edit::RemoveFavourite{change->group, change->kind,
                                                        change->channel, change->position}};
    if (ApplyEdit(operation, rowSelection()).ok()) m_favouriteBoxes.changeApplied(*change);
    // The boxes show the groups as they now are: the new place, or the old
    // state after a refusal. Typing on the pages stays.
    ShowRecords(PageRefresh::Keep);
}

void CZoEditView::OnLockClicked() {
    const auto channel = selectedChannel();
    const auto change = m_lock.onClick(channel, m_state.m_nCurrentPage == Page::Channel);
    if (!change) {
        messageBox(messages::kNoChannelSelected);
        return;
    }
    m_values.locked = change->locked ? 1 : 0;
    // A pending New takes the box's value with its other fields on Save.
    if (m_state.isNewRecord()) return;
    if (!ApplyEdit(edit::SetChannelLock{change->channel.kind, change->channel.index.value,
                                        change->locked},
                   rowSelection())
             .ok()) {
        m_values.locked = change->locked ? 0 : 1;
        m_platform.form.setChecked(IDC_LOCKED, !change->locked);
        m_lock.showPicture(!change->locked, m_state.m_nCurrentPage == Page::Channel);
    }
    ShowRecords(PageRefresh::Keep);
}

}  // namespace zoedit
