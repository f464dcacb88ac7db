// CListPrinter: lays a channel list out on printer pages (title band, column
// headings, rows, footer with the page number) and draws them through a
// device context. It knows nothing of widgets: the list comes as plain data.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/device_context.h"

namespace zoedit::print {

// The printed title band's left-hand text.
inline constexpr char kPrintTitle[] = "Vemora   Channel List";
inline constexpr char kPageNumberFormat[] = "Page %d of %d";
// Faces of the printed fonts; a platform without them substitutes fonts of
// the same metrics so that the page geometry stays the same.
inline constexpr char kSansFace[] = "Arial";
inline constexpr char kSerifFace[] = "Times New Roman";

// One column of the list, in the list's own column order.
struct PrintColumn {
    std::string heading;
    int width = 0;  // on screen, in pixels
};

// What is printed: the list's columns, the order in which the list shows
// them, and the texts of its rows (UTF-8).
struct PrintSource {
    std::vector<PrintColumn> columns;
    std::vector<int> order;  // display order; anything but a permutation prints in column order
    int rowCount = 0;
    std::function<std::string(int row, int column)> cellText;
    // Average character width of the list window's font on screen: printed
    // widths keep the screen's proportion to the text.
    int screenCharWidth = 0;
};

enum class PrintStatus {
    Ok,
    EmptyList,     // nothing to print
    PageTooSmall,  // the body band holds no row under the headings
};
// The user's message for a status other than Ok.
std::string_view printStatusMessage(PrintStatus status);

class CListPrinter {
public:
    // The document title shows at the right of the title band.
    void setDocumentTitle(std::string title) { m_docTitle = std::move(title); }
    const std::string& documentTitle() const { return m_docTitle; }

    // Before each print job: every rectangle zero, margins and band lines
    // back to their defaults, no columns.
    void reset();

    // Creates the fonts, measures them and lays the pages out. On anything
    // but Ok no font is left behind and nothing is to be printed.
    PrintStatus begin(ui::DeviceContext& dc, PrintSource source);
    // Page `page` counts from 1. Pages outside 1..pageCount() draw nothing.
    void printPage(ui::DeviceContext& dc, int page) const;
    // Deletes the fonts; harmless when begin failed or ran no job.
    void end(ui::DeviceContext& dc);

    int pageCount() const { return m_pageCount; }
    int rowsPerPage() const { return m_rowsPerPage; }
    const ui::Rect& headerBand() const { return m_header; }
    const ui::Rect& footerBand() const { return m_footer; }
    const ui::Rect& bodyBand() const { return m_body; }
    double widthRatio() const { return m_widthRatio; }
    // Cell of column position `position` (display order) in row `line` of the
    // body, line 0 being the headings. May be empty (left >= right) when the
    // column lies beyond the body's right edge.
    ui::Rect cellRect(int position, int line) const;

private:
    enum FontIndex { kTitleFont, kFooterFont, kHeadingFont, kBodyFont, kFontCount };
    struct Metrics {
        int charWidth = 0;
        int lineHeight = 0;
    };

    Metrics measure(ui::DeviceContext& dc, ui::FontHandle font) const;
    void drawHeader(ui::DeviceContext& dc) const;
    void drawHeadings(ui::DeviceContext& dc) const;
    void drawRows(ui::DeviceContext& dc, int page) const;
    void drawFooter(ui::DeviceContext& dc, int page) const;
    void releaseFonts(ui::DeviceContext& dc);

    std::string m_docTitle;
    PrintSource m_source;
    double m_widthRatio = 1.0;
    ui::Rect m_header, m_footer, m_body, m_printable, m_page;
    std::array<ui::FontHandle, kFontCount> m_fonts{};
    Metrics m_title, m_footerMetrics, m_bodyMetrics;
    ui::Rect m_margins{200, 150, 200, 150};  // left, top, right, bottom
    int m_headerLines = 2;
    int m_footerLines = 2;
    int m_rowsPerPage = 0;
    int m_pageCount = 0;
    // Left and right edge of each column position, in display order.
    std::vector<int> m_order;
    std::vector<int> m_lefts, m_rights;
};

}  // namespace zoedit::print
