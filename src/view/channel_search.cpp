#include "view/channel_search.h"

#include "database/channel_columns.h"
#include "ui/resource_ids.h"

namespace zoedit {

int CSearchDlg::dialogId() const {
    return ui::IDD_SEARCH;
}

void CSearchDlg::onInitDialog(ui::DialogHost& host) {
    m_text.clear();
    host.form().setText(ui::search::IDC_NAME, m_text);
    host.form().setFocus(ui::search::IDC_NAME);
}

void CSearchDlg::onEvent(ui::DialogHost& host, const ui::ControlEvent& event) {
    if (event.kind != ui::EventKind::Clicked || event.id != ui::search::IDC_OK) return;
    m_text = host.form().text(ui::search::IDC_NAME);
    host.endDialog(ui::IDOK);
}

namespace {

// Decodes one UTF-8 character at `i` and moves past it; a malformed byte
// stands for itself.
char32_t nextCharacter(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 4;
    if (lead >= 0x80 && (lead < 0xC0 || i + length > text.size())) length = 1;
    char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (byte(i + k) & 0x3F);
    i += length;
    return c;
}

char32_t capital(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // Latin-1 small letters
    return c;
}

}  // namespace

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size())
        if (capital(nextCharacter(a, i)) != capital(nextCharacter(b, j))) return false;
    return i == a.size() && j == b.size();
}

std::optional<int> findChannelRow(const ui::ListControl& list, std::string_view name) {
    std::optional<int> found;
    for (int row = 0; row < list.rowCount(); ++row)
        if (sameNameIgnoringCase(list.cellText(row, kColumnName), name)) found = row;
    return found;
}

}  // namespace zoedit
