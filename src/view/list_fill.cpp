// Filling the two channel lists and the transponder selector, and the
// switches that choose which list is on show.
#include "database/channel_columns.h"
#include "database/field_format.h"
#include "view/zoedit_view.h"

namespace zoedit {

using namespace ui::form;

void CZoEditView::FillList(ChannelKind kind) {
    ui::ListControl* list = listOf(kind);
    if (!list) return;
    const auto& table = m_doc.database().channels(kind);
    const std::vector<std::size_t> order = this->rows(kind).order();
    std::vector<ui::ListRow> rows;
    rows.reserve(order.size());
    for (std::size_t i : order) {
        ui::ListRow row;
        row.texts = channelRowTexts(m_doc.database(), kind, i, m_codePage);
        // Only a byte of exactly 1 shows the picture; the page's box takes any non-zero.
        row.image = table.primary[i].scrambled == 1 ? ui::kScrambledImage : ui::kNoImage;
        rows.push_back(std::move(row));
    }
    list->setRows(std::move(rows));
}

void CZoEditView::ShowList(ChannelKind kind) {
    ui::Form& form = m_platform.form;
    const bool tv = kind == ChannelKind::Tv;
    form.setVisible(IDC_TV_LIST, tv);
    form.setVisible(IDC_TV_LIST_CAPTION, tv);
    form.setVisible(IDC_RADIO_LIST, !tv);
    form.setVisible(IDC_RADIO_LIST_CAPTION, !tv);
    m_state.m_shownList = listOfKind(kind);

    const ui::ControlId list_id = tv ? IDC_TV_LIST : IDC_RADIO_LIST;
    form.setFocus(list_id);
    form.setChecked(IDC_TV_SWITCH, tv);
    form.setChecked(IDC_RADIO_SWITCH, !tv);
    form.setText(IDC_CHANNEL_NAME_LABEL, tv ? ui::kTvChannelNameLabel : ui::kRadioChannelNameLabel);
    const bool channel_page = m_state.m_nCurrentPage == Page::Channel;
    form.setVisible(IDC_RADIO_PICTURE, channel_page && !tv);
    form.setVisible(IDC_TV_PICTURE, channel_page && tv);
    form.setImage(tv ? IDC_TV_PICTURE : IDC_RADIO_PICTURE, tv ? ui::IDB_TV : ui::IDB_RADIO);

    ui::ListControl* list = listOf(kind);
    if (list && list->rowCount() > 0) {
        list->setRowSelected(0, true);
        list->setFocusedRow(0);
        list->ensureVisible(0);
        // Selecting from code does not notify: run the handler here, also
        // when row 0 was selected already, so the list on show is the
        // active one.
        OnItemChanged(kind, Row(0));
    } else {
        // An empty list has no row to select; it is still the list in use,
        // and the pages show no record.
        OnItemChanged(kind, Row());
    }
}

void CZoEditView::FillTransponderSelector() {
    std::vector<std::string> entries;
    entries.reserve(m_doc.database().transponders.count);
    for (const TransponderRecord& transponder : m_doc.database().transponders.records())
        entries.push_back(transponderSelectorText(transponder));
    m_platform.form.setItems(IDC_TRANSPONDER_SELECTOR, std::move(entries));
}

}  // namespace zoedit
