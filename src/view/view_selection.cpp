// The selection handler of the two lists and the "show" steps that fill the
// tab pages from the selected channel, its transponder and its satellite.
// Which channel a row shows comes from the list's row map; the current
// transponder and satellite follow from that channel, so they can never
// outlive their records.
#include "database/channel_columns.h"
#include "database/field_format.h"
#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;

std::optional<ChannelIndex> CZoEditView::selectedChannel(ChannelKind kind) const {
    return rows(kind).channelAt(m_state.selectedRowOf(kind));
}

std::optional<ChannelRef> CZoEditView::selectedChannel() const {
    const auto kind = activeKind();
    if (!kind) return std::nullopt;
    const auto channel = selectedChannel(*kind);
    if (!channel) return std::nullopt;
    return ChannelRef{*kind, *channel};
}

std::optional<std::size_t> CZoEditView::currentTransponder() const {
    const auto channel = selectedChannel();
    if (!channel) return std::nullopt;
    const std::size_t t =
        m_doc.database().channels(channel->kind).primary[channel->index.value].transponder_index;
    if (!m_doc.database().transponders.contains(t)) return std::nullopt;
    return t;
}

std::optional<std::size_t> CZoEditView::currentSatellite() const {
    const auto t = currentTransponder();
    if (!t) return std::nullopt;
    const std::size_t s = m_doc.database().transponders.primary[*t].satellite_index;
    if (!m_doc.database().satellites.contains(s)) return std::nullopt;
    return s;
}

void CZoEditView::OnItemChanged(ChannelKind kind, Row row) {
    // Rows passing under a drag are not a choice of the user's.
    const bool leaves = row != m_state.selectedRowOf(kind) || activeKind() != kind;
    if (leaves && !m_state.isDragging() && hasTyping()) {
        // The channel the user chose; a save puts the lists back in file order.
        const auto chosen = rows(kind).channelAt(row);
        if (!ResolveTyping()) {
            RestoreListSelection(kind, row);
            return;
        }
        SelectRow(kind, chosen ? rows(kind).rowOf(*chosen).value_or(Row()) : Row());
        return;
    }
    // A row the list does not have selects nothing.
    m_state.selectedRowOf(kind) = rows(kind).channelAt(row) ? row : Row();
    m_state.m_activeList = listOfKind(kind);

    // The same row again shows nothing new, and must not wipe typing.
    if (!m_state.isDragging() && (leaves || !hasTyping())) ShowSelectedRecords();
    const auto channel = selectedChannel(kind);
    m_favouriteBoxes.onSelection(kind, channel ? static_cast<int>(channel->value) : -1, m_state);
    if (m_hooks.print_source) m_hooks.print_source(kind);
}

void CZoEditView::ShowSelectedRecords() {
    const auto channel = selectedChannel();
    if (!channel) {
        ShowNoChannel();
        return;
    }
    ShowChannel(m_doc.database().channels(channel->kind).primary[channel->index.value],
                channel->index);
    ShowTransponder(currentTransponder());
    ShowSatellite(currentSatellite());
    NoteShown();
}

void CZoEditView::ShowChannel(const ChannelRecord& channel, ChannelIndex index) {
    const ChannelPageTexts texts = channelPageTexts(channel);
    m_values.channel_name = display(texts.name);
    m_values.transponder_number = texts.transponder_number;
    m_values.service_id = texts.service_id;
    m_values.code_pid = texts.code_pid;
    m_values.video_pid = texts.video_pid;
    m_values.audio_pid = texts.audio_pid;
    m_values.fourth_pid = texts.fourth_pid;
    m_values.channel_number = channelPageNumberText(index.value + 1);

    m_values.pid_mode = channel.pid_mode != 0;
    m_values.scrambled = channel.scrambled != 0;
    m_values.locked = channel.locked != 0;

    ui::Form& form = m_platform.form;
    UpdateDataToForm();
    if (m_state.m_bEditing) {
        const bool pids = m_values.pid_mode != 0;
        for (ui::ControlId id : {IDC_VIDEO_PID, IDC_AUDIO_PID, IDC_FOURTH_PID})
            form.setReadOnly(id, !pids);
        form.setReadOnly(IDC_CODE_PID, true);
    }
    m_lock.showPicture(m_values.locked != 0, m_state.m_nCurrentPage == Page::Channel);
}

void CZoEditView::ShowTransponder(std::optional<std::size_t> transponder) {
    // A link outside the table (files are not checked) shows nothing rather
    // than another transponder's values.
    TransponderPageTexts texts;
    if (transponder)
        texts = transponderPageTexts(m_doc.database().transponders.primary[*transponder]);
    m_values.network_id = texts.network_id;
    m_values.frequency_order = texts.frequency_order;
    m_values.frequency = texts.frequency;
    m_values.symbol_rate = texts.symbol_rate;
    m_values.polarisation = texts.polarisation;
    UpdateDataToForm();
    setComboText(IDC_FEC, texts.fec);
    setComboText(IDC_TRANSPONDER_SELECTOR, texts.selector);
}

void CZoEditView::ShowSatellite(std::optional<std::size_t> satellite) {
    ui::Form& form = m_platform.form;
    SatellitePageTexts texts;
    if (satellite) texts = satellitePageTexts(m_doc.database().satellites.primary[*satellite]);
    m_values.position = texts.position;
    m_values.satellite_name = display(texts.name);
    m_values.satellite_banner = m_values.satellite_name;
    UpdateDataToForm();

    std::vector<std::string> names;
    names.reserve(m_doc.database().satellites.count);
    for (const SatelliteRecord& record : m_doc.database().satellites.records())
        names.push_back(display(nameBytes(record.name)));
    form.setItems(IDC_SATELLITE_SELECTOR, std::move(names));
    form.setSelectedIndex(IDC_SATELLITE_SELECTOR, satellite ? static_cast<int>(*satellite) : -1);
    form.setText(IDC_SATELLITE_SELECTOR, m_values.satellite_name);
    form.setText(IDC_SATELLITE_BANNER, m_values.satellite_banner);
}

// No channel is selected (an empty list, a click below the rows): the pages
// show no record, so that nothing they show can be saved into another one.
void CZoEditView::ShowNoChannel() {
    for (std::string* text : {&m_values.channel_name, &m_values.transponder_number,
                              &m_values.service_id, &m_values.code_pid, &m_values.video_pid,
                              &m_values.audio_pid, &m_values.fourth_pid, &m_values.channel_number})
        text->clear();
    m_values.pid_mode = 0;
    m_values.scrambled = 0;
    m_values.locked = 0;
    UpdateDataToForm();
    m_lock.showPicture(false, m_state.m_nCurrentPage == Page::Channel);
    ShowTransponder(std::nullopt);
    ShowSatellite(std::nullopt);
    NoteShown();
}

}  // namespace zoedit
