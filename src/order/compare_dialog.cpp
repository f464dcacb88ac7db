#include "order/compare_dialog.h"

#include <algorithm>
#include <tuple>

#include "database/field_format.h"
#include "ui/list_control.h"

namespace zoedit::order {

using namespace ui::compare;

namespace {

constexpr std::size_t kSummaryLines = 6;
constexpr std::size_t kSummaryWidth = 160;  // bytes of UTF-8

// The largest cut at or below `at` that splits no character.
std::size_t utf8Boundary(const std::string& text, std::size_t at) {
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
    return at;
}

std::string tabCaption(DiffKind kind, std::size_t count) {
    std::string word = diffKindWord(kind);
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word + " (" + std::to_string(count) + ")";
}

std::string numberText(const std::optional<std::size_t>& index) {
    return index ? channelNumberText(*index + 1) : std::string();
}

ui::ListRow listRow(const DiffRow& row) {
    return {{row.list == ChannelKind::Tv ? "TV" : "Radio", numberText(row.before),
             numberText(row.after), row.name, row.details}};
}

}  // namespace

CCompareDlg::CCompareDlg(const ChannelDatabase& other, const ChannelDatabase& open,
                         std::string other_path, CodePage page, SelectChannel select)
    : m_other(other),
      m_open(open),
      m_path(std::move(other_path)),
      m_page(page),
      m_select(std::move(select)) {
    DiffOptions options;
    options.page = page;
    m_diff = diffDatabases(m_other, m_open, options);
    for (std::size_t t = 0; t < kDiffKinds.size(); ++t)
        m_rows[t] = diffRows(m_diff, kDiffKinds[t], m_other, m_open, m_page);
}

void CCompareDlg::onInitDialog(ui::DialogHost& host) {
    ui::Form& form = host.form();
    form.setText(IDC_SOURCE, "Changes from " + m_path + " to the open file");
    std::vector<std::string> tabs;
    for (std::size_t t = 0; t < kDiffKinds.size(); ++t)
        tabs.push_back(tabCaption(kDiffKinds[t], m_rows[t].size()));
    form.setItems(IDC_TABS, std::move(tabs));
    form.setSelectedIndex(IDC_TABS, 0);

    std::string summary = "Satellites: " + recordCountsText(m_diff.satellites) +
                          ".  Transponders: " + recordCountsText(m_diff.transponders) +
                          ".  Favourite groups: " + std::to_string(m_diff.groups.size()) +
                          " changed.";
    if (m_diff.same) summary = "The two hold the same records in the same order.";
    // A few lines, each cut short: the label is no list (zoedit-cli diff has them all).
    const std::vector<std::string> lines = recordLines(m_diff, m_other, m_open, m_page);
    for (std::size_t i = 0; i < std::min(lines.size(), kSummaryLines); ++i)
        summary += "\n" + (lines[i].size() > kSummaryWidth
                               ? lines[i].substr(0, utf8Boundary(lines[i], kSummaryWidth)) + "..."
                               : lines[i]);
    if (lines.size() > kSummaryLines)
        summary += "\n... and " + std::to_string(lines.size() - kSummaryLines) + " more";
    form.setText(IDC_SUMMARY, summary);

    if (ui::ListControl* list = form.list(IDC_CHANNELS)) {
        list->insertColumn(List, {"List", 50});
        list->insertColumn(Before, {"Before", 60});
        list->insertColumn(After, {"After", 60});
        list->insertColumn(Name, {"Channel Name", 180});
        list->insertColumn(Details, {"Details", 300});
    }
    fill(host);
}

void CCompareDlg::fill(ui::DialogHost& host) {
    ui::ListControl* list = host.form().list(IDC_CHANNELS);
    if (!list) return;
    std::vector<ui::ListRow> rows;
    rows.reserve(m_rows[m_tab].size());
    for (const DiffRow& row : m_rows[m_tab]) rows.push_back(listRow(row));
    list->setRows(std::move(rows));
}

const DiffRow* CCompareDlg::rowAt(int row) const {
    const auto& rows = m_rows[m_tab];
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return nullptr;
    return &rows[static_cast<std::size_t>(row)];
}

// Numbers sort as numbers (a missing one first), texts as texts; a second
// click on the same heading turns the order round.
void CCompareDlg::sortBy(int column) {
    Sort& sort = m_sort[m_tab];
    sort.ascending = sort.column == column ? !sort.ascending : true;
    sort.column = column;
    const auto key = [column](const DiffRow& row) {
        switch (column) {
            case List:
                return std::make_tuple(static_cast<long>(row.list), std::string());
            case Before:
                return std::make_tuple(row.before ? static_cast<long>(*row.before) : -1L,
                                       std::string());
            case After:
                return std::make_tuple(row.after ? static_cast<long>(*row.after) : -1L,
                                       std::string());
            case Name:
                return std::make_tuple(0L, row.name);
            default:
                return std::make_tuple(0L, row.details);
        }
    };
    const bool ascending = sort.ascending;
    std::stable_sort(m_rows[m_tab].begin(), m_rows[m_tab].end(),
                     [&](const DiffRow& a, const DiffRow& b) {
                         return ascending ? key(a) < key(b) : key(b) < key(a);
                     });
}

void CCompareDlg::onEvent(ui::DialogHost& host, const ui::ControlEvent& event) {
    switch (event.kind) {
        case ui::EventKind::SelChange:
            if (event.id == IDC_TABS) {
                const int tab = host.form().selectedIndex(IDC_TABS);
                if (tab < 0 || static_cast<std::size_t>(tab) >= kDiffKinds.size()) return;
                m_tab = static_cast<std::size_t>(tab);
                fill(host);
            }
            return;
        case ui::EventKind::ColumnClick:
            if (event.id == IDC_CHANNELS && event.item >= List && event.item <= Details) {
                sortBy(event.item);
                fill(host);
            }
            return;
        case ui::EventKind::DoubleClick:
            if (event.id != IDC_CHANNELS) return;
            // A removed channel is only in the other file: nothing to select.
            if (const DiffRow* row = rowAt(event.item); row && row->after && m_select)
                m_select(row->list, *row->after);
            return;
        case ui::EventKind::Clicked:
            if (event.id == IDC_CLOSE || event.id == ui::IDOK) host.endDialog(ui::IDCANCEL);
            return;
        default:
            return;
    }
}

}  // namespace zoedit::order
