#include "order/apply_order_dialog.h"

#include "database/field_format.h"
#include "ui/list_control.h"

namespace zoedit::order {

using namespace ui::apply_order;

namespace {

const char* listWord(ChannelKind kind) {
    return kind == ChannelKind::Tv ? "TV" : "Radio";
}

}  // namespace

CApplyOrderDlg::CApplyOrderDlg(const ChannelDatabase& open, ReferenceSource source,
                               ChannelKind csv_list, CodePage page, ui::Dialogs& dialogs)
    : m_open(open), m_source(std::move(source)), m_page(page), m_dialogs(dialogs) {
    m_options.page = page;
    if (!m_source.isChannelFile()) m_listChoice = csv_list == ChannelKind::Tv ? 0 : 1;
}

// A channel file offers both lists or either; a CSV holds one list, and the
// user says which.
std::vector<ChannelKind> CApplyOrderDlg::chosenLists() const {
    if (!m_source.isChannelFile())
        return {m_listChoice == 1 ? ChannelKind::Radio : ChannelKind::Tv};
    switch (m_listChoice) {
        case 1:
            return {ChannelKind::Tv};
        case 2:
            return {ChannelKind::Radio};
        default:
            return {ChannelKind::Tv, ChannelKind::Radio};
    }
}

void CApplyOrderDlg::onInitDialog(ui::DialogHost& host) {
    ui::Form& form = host.form();
    const bool file = m_source.isChannelFile();
    form.setText(IDC_SOURCE, m_source.path + (file ? "  (channel file)" : "  (CSV of one list)"));
    if (file)
        form.setItems(IDC_LIST, {"TV and radio", "TV", "Radio"});
    else
        form.setItems(IDC_LIST,
                      {"TV (the CSV holds the TV list)", "Radio (the CSV holds the radio list)"});
    form.setSelectedIndex(IDC_LIST, m_listChoice);
    // Only a channel file has locks and groups to give.
    form.setEnabled(IDC_LOCKS, file);
    form.setEnabled(IDC_FAVOURITES, file);
    form.setChecked(IDC_UNMATCHED_LAST, true);
    form.setChecked(IDC_UNMATCHED_FIRST, false);
    if (ui::ListControl* list = form.list(IDC_UNMATCHED_LIST)) {
        list->insertColumn(0, {"Side", 110});
        list->insertColumn(1, {"List", 50});
        list->insertColumn(2, {"No.", 60});
        list->insertColumn(3, {"Channel Name", 200});
    }
    rematch(host);
}

void CApplyOrderDlg::rematch(ui::DialogHost& host) {
    ReferenceResult read = referenceOf(m_source, chosenLists().front(), m_page);
    if (!read.reference) {
        m_dialogs.messageBox({read.error, {}, ui::MessageButtons::Ok, ui::MessageIcon::Error});
        return;
    }
    m_reference = std::move(*read.reference);
    m_match = matchOrder(m_open, m_reference, m_page);
    show(host);
}

CApplyOrderDlg::Counts CApplyOrderDlg::counts() const {
    Counts counts;
    for (ChannelKind kind : chosenLists()) {
        const auto& list = m_match.list(kind);
        if (!list) continue;
        counts.by_identity += list->by_identity;
        counts.by_name += list->by_name;
        counts.unmatched_open += list->unmatched;
        counts.unmatched_reference += list->missing.size();
    }
    return counts;
}

void CApplyOrderDlg::show(ui::DialogHost& host) {
    ui::Form& form = host.form();
    const Counts c = counts();
    form.setText(IDC_BY_IDENTITY, std::to_string(c.by_identity));
    form.setText(IDC_BY_NAME, std::to_string(c.by_name));
    form.setText(IDC_UNMATCHED_OPEN, std::to_string(c.unmatched_open));
    form.setText(IDC_UNMATCHED_REFERENCE, std::to_string(c.unmatched_reference));
    ui::ListControl* list = form.list(IDC_UNMATCHED_LIST);
    if (!list) return;
    std::vector<ui::ListRow> rows;
    for (ChannelKind kind : chosenLists()) {
        const auto& match = m_match.list(kind);
        const auto& reference = m_reference.list(kind);
        if (!match || !reference) continue;
        const auto& channels = m_open.channels(kind).records();
        for (std::size_t i = 0; i < match->how.size(); ++i)
            if (match->how[i] == MatchedBy::None)
                rows.push_back({{"this file", listWord(kind), channelNumberText(i + 1),
                                 toUtf8(nameBytes(channels[i].name), m_page)}});
        for (std::size_t r : match->missing)
            rows.push_back({{"reference", listWord(kind), channelNumberText(r + 1),
                             toUtf8((*reference)[r].name, m_page)}});
    }
    list->setRows(std::move(rows));
}

void CApplyOrderDlg::readOptions(ui::DialogHost& host) {
    ui::Form& form = host.form();
    m_options.lists = chosenLists();
    m_options.names = form.isChecked(IDC_NAMES);
    const bool file = m_source.isChannelFile();
    m_options.locks = file && form.isChecked(IDC_LOCKS);
    m_options.favourites = file && form.isChecked(IDC_FAVOURITES);
    m_options.unmatched =
        form.isChecked(IDC_UNMATCHED_FIRST) ? UnmatchedPlace::First : UnmatchedPlace::Last;
}

OrderPlan CApplyOrderDlg::plan() const {
    return planOrder(m_open, m_reference, m_match, m_options);
}

void CApplyOrderDlg::onEvent(ui::DialogHost& host, const ui::ControlEvent& event) {
    if (event.kind == ui::EventKind::SelChange && event.id == IDC_LIST) {
        const int choice = host.form().selectedIndex(IDC_LIST);
        if (choice < 0 || choice == m_listChoice) return;
        const bool csv_list_changed = !m_source.isChannelFile();
        m_listChoice = choice;
        if (csv_list_changed)
            rematch(host);
        else
            show(host);
        return;
    }
    if (event.kind != ui::EventKind::Clicked) return;
    switch (event.id) {
        case IDC_UNMATCHED_LAST:
        case IDC_UNMATCHED_FIRST:
            // Radio buttons of one group: the one clicked is the one on.
            host.form().setChecked(IDC_UNMATCHED_LAST, event.id == IDC_UNMATCHED_LAST);
            host.form().setChecked(IDC_UNMATCHED_FIRST, event.id == IDC_UNMATCHED_FIRST);
            return;
        case IDC_APPLY: {
            readOptions(host);
            const OrderPlan planned = plan();
            if (!planned.operation) {
                m_dialogs.messageBox(
                    {planned.refusal, {}, ui::MessageButtons::Ok, ui::MessageIcon::Error});
                return;
            }
            host.endDialog(ui::IDOK);
            return;
        }
        case IDC_CANCEL:
            host.endDialog(ui::IDCANCEL);
            return;
        default:
            return;
    }
}

}  // namespace zoedit::order
