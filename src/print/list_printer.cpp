#include "print/list_printer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace zoedit::print {

namespace {

using ui::DT_LEFT;
using ui::DT_NOPREFIX;
using ui::DT_RIGHT;
using ui::DT_SINGLELINE;
using ui::DT_VCENTER;

// Names may hold "&": it is printed as it stands, never as a mnemonic.
constexpr unsigned kCellFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

// 53 characters of which the first 52 are measured ("A" stands twice).
constexpr std::string_view kMeasureText = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";
constexpr int kMeasuredChars = 52;

// The gap between a column's left edge and its text, in screen pixels.
constexpr int kCellIndent = 5;

struct FontSpec {
    const char* face;
    int points;
    int weight;
};
constexpr FontSpec kFontSpecs[] = {
    {kSansFace, 12, 700},   // title
    {kSansFace, 10, 400},   // footer
    {kSansFace, 9, 700},    // column headings
    {kSerifFace, 10, 400},  // body
};

// a * b / c rounded to the nearest integer, halves away from zero.
int mulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c < 0 ? -c : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (product < 0 ? -product : product) + half;
    const std::int64_t quotient = magnitude / (c < 0 ? -c : c);
    return static_cast<int>(negative ? -quotient : quotient);
}

bool isPermutation(const std::vector<int>& order, std::size_t count) {
    if (order.size() != count) return false;
    std::vector<bool> seen(count, false);
    for (int index : order) {
        if (index < 0 || static_cast<std::size_t>(index) >= count || seen[index]) return false;
        seen[index] = true;
    }
    return true;
}

// Selects a font for the lifetime of the object and puts the previous one back.
class SelectedFont {
public:
    SelectedFont(ui::DeviceContext& dc, ui::FontHandle font)
        : m_dc(dc), m_previous(dc.selectFont(font)) {}
    ~SelectedFont() { m_dc.selectFont(m_previous); }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    ui::DeviceContext& m_dc;
    ui::FontHandle m_previous;
};

}  // namespace

std::string_view printStatusMessage(PrintStatus status) {
    switch (status) {
        case PrintStatus::Ok:
            return {};
        case PrintStatus::EmptyList:
            return "The list has no channels to print.";
        case PrintStatus::PageTooSmall:
            return "The page is too small to print the list: choose a larger paper size.";
    }
    return {};
}

void CListPrinter::reset() {
    m_header = m_footer = m_body = m_printable = m_page = {};
    m_margins = {200, 150, 200, 150};
    m_headerLines = 2;
    m_footerLines = 2;
    m_order.clear();
    m_lefts.clear();
    m_rights.clear();
    m_rowsPerPage = 0;
    m_pageCount = 0;
}

CListPrinter::Metrics CListPrinter::measure(ui::DeviceContext& dc, ui::FontHandle font) const {
    SelectedFont selected(dc, font);
    const ui::Size size = dc.textExtent(kMeasureText.substr(0, kMeasuredChars));
    return {size.cx / kMeasuredChars, size.cy};
}

PrintStatus CListPrinter::begin(ui::DeviceContext& dc, PrintSource source) {
    m_pageCount = 0;
    m_rowsPerPage = 0;
    if (source.rowCount <= 0 || source.columns.empty() || !source.cellText)
        return PrintStatus::EmptyList;
    m_source = std::move(source);

    const int log_pixels_y = dc.deviceCaps(ui::DeviceCap::LogPixelsY);
    for (int f = 0; f < kFontCount; ++f) {
        ui::FontRequest request;
        request.face = kFontSpecs[f].face;
        request.height = -mulDiv(kFontSpecs[f].points, log_pixels_y, 72);
        request.weight = kFontSpecs[f].weight;
        request.italic = false;
        m_fonts[f] = dc.createFont(request);
    }
    m_title = measure(dc, m_fonts[kTitleFont]);
    m_footerMetrics = measure(dc, m_fonts[kFooterFont]);
    m_bodyMetrics = measure(dc, m_fonts[kBodyFont]);

    m_page = {0, 0, dc.deviceCaps(ui::DeviceCap::HorizontalResolution),
              dc.deviceCaps(ui::DeviceCap::VerticalResolution)};
    m_printable = {m_page.left + m_margins.left, m_page.top + m_margins.top,
                   m_page.right - m_margins.right, m_page.bottom - m_margins.bottom};
    m_header = m_printable;
    m_header.bottom = m_header.top + m_headerLines * m_title.lineHeight;
    m_footer = m_printable;
    m_footer.top = m_footer.bottom - m_footerLines * m_footerMetrics.lineHeight;
    m_body = m_printable;
    m_body.top = m_header.bottom;
    m_body.bottom = m_footer.top;

    // A list that cannot say how wide its characters are keeps its pixel widths.
    const int screen = m_source.screenCharWidth;
    m_widthRatio = screen > 0 ? static_cast<double>(m_bodyMetrics.charWidth) / screen : 1.0;

    const int h = m_bodyMetrics.lineHeight;
    // One line goes to the column headings; a body without room for a row
    // below them cannot print the list at all.
    m_rowsPerPage = h > 0 ? (m_body.height() - h) / h : 0;
    if (m_rowsPerPage <= 0) {
        m_rowsPerPage = 0;
        releaseFonts(dc);
        return PrintStatus::PageTooSmall;
    }
    m_pageCount = (m_source.rowCount + m_rowsPerPage - 1) / m_rowsPerPage;

    const std::size_t count = m_source.columns.size();
    if (isPermutation(m_source.order, count)) {
        m_order = m_source.order;
    } else {
        m_order.resize(count);
        for (std::size_t i = 0; i < count; ++i) m_order[i] = static_cast<int>(i);
    }
    m_lefts.assign(count, 0);
    m_rights.assign(count, 0);
    const int indent = static_cast<int>(kCellIndent * m_widthRatio);
    int edge = m_body.left;
    for (std::size_t i = 0; i < count; ++i) {
        const int width = static_cast<int>(m_source.columns[m_order[i]].width * m_widthRatio);
        m_lefts[i] = edge + indent;
        edge += width;
        m_rights[i] = std::min(m_body.right, edge);
    }
    return PrintStatus::Ok;
}

ui::Rect CListPrinter::cellRect(int position, int line) const {
    if (position < 0 || static_cast<std::size_t>(position) >= m_lefts.size()) return {};
    const int h = m_bodyMetrics.lineHeight;
    const int top = m_body.top + h * line;
    return {m_lefts[position], top, m_rights[position], top + h};
}

void CListPrinter::printPage(ui::DeviceContext& dc, int page) const {
    if (page < 1 || page > m_pageCount) return;
    drawHeader(dc);
    drawHeadings(dc);
    drawRows(dc, page);
    drawFooter(dc, page);
}

void CListPrinter::drawHeader(ui::DeviceContext& dc) const {
    SelectedFont selected(dc, m_fonts[kTitleFont]);
    const int rule_top = m_header.top + 3 * m_title.lineHeight / 2;
    dc.fillRect({m_header.left, rule_top, m_header.right, rule_top + 5}, ui::rgb(0, 0, 0));
    const ui::Rect line{m_header.left, m_header.top, m_header.right,
                        m_header.top + m_title.lineHeight};
    dc.drawText(kPrintTitle, line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    dc.drawText(m_docTitle, line, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
}

void CListPrinter::drawHeadings(ui::DeviceContext& dc) const {
    SelectedFont selected(dc, m_fonts[kHeadingFont]);
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        const ui::Rect cell = cellRect(static_cast<int>(i), 0);
        if (cell.width() <= 0) continue;
        dc.drawText(m_source.columns[m_order[i]].heading, cell, kCellFormat);
    }
}

void CListPrinter::drawRows(ui::DeviceContext& dc, int page) const {
    SelectedFont selected(dc, m_fonts[kBodyFont]);
    const int first = (page - 1) * m_rowsPerPage;
    const int last = std::min(m_source.rowCount, first + m_rowsPerPage);
    for (int row = first; row < last; ++row) {
        const int line = row - first + 1;
        for (std::size_t i = 0; i < m_order.size(); ++i) {
            const ui::Rect cell = cellRect(static_cast<int>(i), line);
            // Columns pushed past the body's right edge are not visible.
            if (cell.width() <= 0) continue;
            dc.drawText(m_source.cellText(row, m_order[i]), cell, kCellFormat);
        }
    }
}

void CListPrinter::drawFooter(ui::DeviceContext& dc, int page) const {
    SelectedFont selected(dc, m_fonts[kFooterFont]);
    const int rule_top = m_footer.top + m_title.lineHeight / 2;
    dc.fillRect({m_footer.left, rule_top, m_footer.right, rule_top + 5}, ui::rgb(0, 0, 0));
    char text[64];
    std::snprintf(text, sizeof text, kPageNumberFormat, page, m_pageCount);
    dc.drawText(text,
                {m_footer.left, m_footer.bottom - m_footerMetrics.lineHeight, m_footer.right,
                 m_footer.bottom},
                DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
}

void CListPrinter::end(ui::DeviceContext& dc) {
    releaseFonts(dc);
}

void CListPrinter::releaseFonts(ui::DeviceContext& dc) {
    for (ui::FontHandle& font : m_fonts) {
        if (font != ui::kNoFont) dc.deleteFont(font);
        font = ui::kNoFont;
    }
}

}  // namespace zoedit::print
