// Names in the channel file are bytes; this codec shows them through the
// code page the user picked and turns edited text back into the same bytes.
#pragma once

#include "database/codepage.h"
#include "ui/platform.h"

namespace zoedit::qt {

class CodePageCodec final : public ui::NameCodec {
public:
    explicit CodePageCodec(CodePage page = CodePage::Windows1256) : m_page(page) {}

    std::string decode(std::string_view bytes) const override { return toUtf8(bytes, m_page); }
    std::string encode(std::string_view utf8) const override { return fromUtf8(utf8, m_page); }

    CodePage page() const { return m_page; }
    void setPage(CodePage page) { m_page = page; }

private:
    CodePage m_page;
};

// The user's choice, kept in the settings between runs.
CodePage loadCodePage();
void storeCodePage(CodePage page);
int codePageIndex(CodePage page);
CodePage codePageFromIndex(int index);

}  // namespace zoedit::qt
