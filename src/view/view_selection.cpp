// The selection handler of the two lists and the three "show" steps that
// fill the tab pages from the selected channel, its transponder and its
// satellite.
#include "database/field_format.h"
#include "view/channel_columns.h"
#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;

void CZoEditView::OnItemChanged(ChannelKind kind, int row) {
    if (kind == ChannelKind::Tv)
        m_state.m_nSelectedTvRow = row;
    else
        m_state.m_nSelectedRadioRow = row;
    m_state.m_activeList = listOfKind(kind);

    if (!m_state.isDragging()) {
        ShowChannel(kind, row);
        ShowTransponder();
        ShowSatellite();
    }
    m_favouriteBoxes.onSelection(kind, row, m_state);
    if (m_hooks.print_source) m_hooks.print_source(kind);
}

void CZoEditView::ShowChannel(ChannelKind kind, int row) {
    const auto& table = m_db.channels(kind);
    if (row < 0 || static_cast<std::size_t>(row) >= table.count) return;
    const std::size_t r = static_cast<std::size_t>(row);
    const ChannelRecord& channel = m_state.isSorted() ? table.working[r] : table.primary[r];
    ui::ListControl* list = listOf(kind);

    const ChannelPageTexts texts = channelPageTexts(channel);
    // The name as the list row shows it; the record's own bytes if the row is missing.
    m_values.channel_name =
        list && row < list->rowCount() ? list->cellText(row, kColumnName) : display(texts.name);
    m_values.transponder_number = texts.transponder_number;
    m_values.service_id = texts.service_id;
    m_values.code_pid = texts.code_pid;
    m_values.video_pid = texts.video_pid;
    m_values.audio_pid = texts.audio_pid;
    m_values.fourth_pid = texts.fourth_pid;

    std::size_t number = r + 1;
    if (m_state.isSorted() && list && row < list->rowCount()) {
        number = readDecimalText(list->cellText(row, kColumnNumber));
    } else if (const auto cut = m_state.cutRow(); cut && row >= *cut) {
        number = r + 2;  // the cut channel still counts before its paste
    }
    m_values.channel_number = channelPageNumberText(number);

    m_values.pid_mode = channel.pid_mode != 0;
    m_values.scrambled = channel.scrambled != 0;
    m_values.locked = channel.locked != 0;
    m_state.m_nCurrentTransponder = channel.transponder_index;

    ui::Form& form = m_platform.form;
    UpdateDataToForm();
    if (m_state.m_bEditing) {
        const bool pids = m_values.pid_mode != 0;
        for (ui::ControlId id : {IDC_VIDEO_PID, IDC_AUDIO_PID, IDC_FOURTH_PID})
            form.setReadOnly(id, !pids);
        form.setReadOnly(IDC_CODE_PID, true);
    }
    m_lock.showPicture(m_values.locked != 0, m_state.m_nCurrentPage == 0);
}

void CZoEditView::ShowTransponder() {
    const int t = m_state.m_nCurrentTransponder;
    TransponderPageTexts texts;
    if (m_db.transponders.contains(static_cast<std::size_t>(t))) {
        const TransponderRecord& transponder =
            m_db.transponders.primary[static_cast<std::size_t>(t)];
        texts = transponderPageTexts(transponder);
        m_state.m_nCurrentSatellite = transponder.satellite_index;
    } else {
        // A link outside the table (files are not checked): show nothing
        // rather than another transponder's values.
        m_state.m_nCurrentSatellite = -1;
    }
    m_values.network_id = texts.network_id;
    m_values.frequency_order = texts.frequency_order;
    m_values.frequency = texts.frequency;
    m_values.symbol_rate = texts.symbol_rate;
    m_values.polarisation = texts.polarisation;
    UpdateDataToForm();
    setComboText(IDC_FEC, texts.fec);
    setComboText(IDC_TRANSPONDER_SELECTOR, texts.selector);
}

void CZoEditView::ShowSatellite() {
    ui::Form& form = m_platform.form;
    const int s = m_state.m_nCurrentSatellite;
    SatellitePageTexts texts;
    const bool known = s >= 0 && m_db.satellites.contains(static_cast<std::size_t>(s));
    if (known) texts = satellitePageTexts(m_db.satellites.primary[static_cast<std::size_t>(s)]);
    m_values.position = texts.position;
    m_values.satellite_name = display(texts.name);
    m_values.satellite_banner = m_values.satellite_name;
    UpdateDataToForm();

    std::vector<std::string> names;
    names.reserve(m_db.satellites.count);
    for (const SatelliteRecord& satellite : m_db.satellites.records())
        names.push_back(display(nameBytes(satellite.name)));
    form.setItems(IDC_SATELLITE_SELECTOR, std::move(names));
    if (known) form.setSelectedIndex(IDC_SATELLITE_SELECTOR, s);
    form.setText(IDC_SATELLITE_SELECTOR, m_values.satellite_name);
    form.setText(IDC_SATELLITE_BANNER, m_values.satellite_banner);
}

}  // namespace zoedit
