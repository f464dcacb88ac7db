// Page layout and drawing of CListPrinter over a page that records what is
// drawn on it. The fake's characters are |height|/2 wide and |height| high,
// so at 72 dots per inch the body font is 5 by 10 and the title 6 by 12.
#include "print/list_printer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>

#include "support/fake_device_context.h"

namespace zoedit::print {
namespace {

using test::FakeDeviceContext;

std::string cell(int row, int column) {
    return "r" + std::to_string(row) + "c" + std::to_string(column);
}

PrintSource makeSource(int rows, std::vector<int> widths, std::vector<int> order = {},
                       int screen_char_width = 5) {
    PrintSource source;
    for (std::size_t c = 0; c < widths.size(); ++c)
        source.columns.push_back({"H" + std::to_string(c), widths[c]});
    source.order = std::move(order);
    source.rowCount = rows;
    source.cellText = cell;
    source.screenCharWidth = screen_char_width;
    return source;
}

// 4800 wide; 454 high leaves a body of 110 = 11 lines of 10: headings and R = 10 rows.
FakeDeviceContext tenRowPage() {
    return FakeDeviceContext(4800, 454, 72);
}

// The fonts are created in this order: title, footer, column headings, body.
enum PrintFont { kTitle = 0, kFooter, kHeadings, kBody };
ui::FontHandle fontOf(const FakeDeviceContext& dc, PrintFont which) {
    auto it = dc.fonts.begin();
    for (int i = 0; i < which && it != dc.fonts.end(); ++i) ++it;
    return it == dc.fonts.end() ? ui::kNoFont : it->first;
}

std::vector<FakeDeviceContext::DrawnText> textsIn(const FakeDeviceContext& dc,
                                                  ui::FontHandle font) {
    std::vector<FakeDeviceContext::DrawnText> out;
    for (const auto& t : dc.texts)
        if (t.font == font) out.push_back(t);
    return out;
}

TEST(ListPrinter, TwentyFiveRowsOnTenRowPagesMakeThreePages) {
    FakeDeviceContext dc = tenRowPage();
    CListPrinter printer;
    printer.setDocumentTitle("Untitled");
    ASSERT_EQ(printer.begin(dc, makeSource(25, {100, 200})), PrintStatus::Ok);
    EXPECT_EQ(printer.rowsPerPage(), 10);
    EXPECT_EQ(printer.pageCount(), 3);
    EXPECT_EQ(printer.bodyBand(), (ui::Rect{200, 174, 4600, 284}));

    printer.printPage(dc, 3);
    const ui::FontHandle body = fontOf(dc, kBody);
    const auto rows = textsIn(dc, body);
    ASSERT_EQ(rows.size(), 10u);  // rows 21 to 25, two columns each
    for (int k = 0; k < 5; ++k) {
        for (int c = 0; c < 2; ++c) {
            const auto& t = rows[static_cast<std::size_t>(2 * k + c)];
            EXPECT_EQ(t.text, cell(20 + k, c));
            EXPECT_EQ(t.rect.top, 174 + 10 * (k + 1));
            EXPECT_EQ(t.rect.bottom, t.rect.top + 10);
            EXPECT_EQ(t.format & ui::DT_VCENTER, ui::DT_VCENTER);
        }
    }
    const auto footer = textsIn(dc, fontOf(dc, kFooter));
    ASSERT_EQ(footer.size(), 1u);
    EXPECT_EQ(footer[0].text, "Page 3 of 3");
    EXPECT_EQ(footer[0].rect, (ui::Rect{200, 294, 4600, 304}));
    EXPECT_EQ(footer[0].format & ui::DT_RIGHT, ui::DT_RIGHT);

    const auto header = textsIn(dc, fontOf(dc, kTitle));
    // Title and document title share the band's first line.
    ASSERT_EQ(header.size(), 2u);
    EXPECT_EQ(header[0].text, kPrintTitle);
    EXPECT_EQ(header[1].text, "Untitled");
    EXPECT_EQ(header[1].format & ui::DT_RIGHT, ui::DT_RIGHT);
    // Rules under the title (at 3/2 title lines) and over the page number.
    ASSERT_EQ(dc.fills.size(), 2u);
    EXPECT_EQ(dc.fills[0].rect, (ui::Rect{200, 168, 4600, 173}));
    EXPECT_EQ(dc.fills[1].rect, (ui::Rect{200, 290, 4600, 295}));

    // Pages that do not exist draw nothing.
    const std::size_t drawn = dc.texts.size();
    printer.printPage(dc, 0);
    printer.printPage(dc, 4);
    EXPECT_EQ(dc.texts.size(), drawn);
    printer.end(dc);
    EXPECT_TRUE(dc.fonts.empty());
    EXPECT_EQ(dc.selected, ui::kNoFont);
}

TEST(ListPrinter, ColumnsPrintInScreenOrderAndScaledScreenWidths) {
    FakeDeviceContext dc = tenRowPage();
    CListPrinter printer;
    // Body characters are 5 wide, the screen's 2: every width scales by 2.5.
    ASSERT_EQ(printer.begin(dc, makeSource(3, {80, 195, 21, 130}, {2, 0, 3, 1}, 2)),
              PrintStatus::Ok);
    EXPECT_DOUBLE_EQ(printer.widthRatio(), 2.5);
    printer.printPage(dc, 1);
    std::vector<std::string> seen;
    std::vector<ui::Rect> rects;
    for (const auto& heading : textsIn(dc, fontOf(dc, kHeadings))) {
        seen.push_back(heading.text);
        rects.push_back(heading.rect);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"H2", "H0", "H3", "H1"}));
    // Widths 52 (21 narrowed on screen, 52.5 truncated), 200, 325, 487; indent 12.
    EXPECT_EQ(rects[0], (ui::Rect{212, 174, 252, 184}));
    EXPECT_EQ(rects[1], (ui::Rect{264, 174, 452, 184}));
    EXPECT_EQ(rects[2], (ui::Rect{464, 174, 777, 184}));
    EXPECT_EQ(rects[3], (ui::Rect{789, 174, 1264, 184}));
    const auto rows = textsIn(dc, fontOf(dc, kBody));
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[4].text, "r1c2");
    EXPECT_EQ(rows[7].text, "r1c1");
    EXPECT_EQ(rows[7].rect.left, 789);
}

TEST(ListPrinter, ColumnPastTheBodyIsCutAndLaterOnesAreNotDrawn) {
    FakeDeviceContext dc = tenRowPage();
    CListPrinter printer;
    ASSERT_EQ(printer.begin(dc, makeSource(1, {4000, 600, 300})), PrintStatus::Ok);
    EXPECT_EQ(printer.cellRect(1, 1), (ui::Rect{4205, 184, 4600, 194}));
    EXPECT_LE(printer.cellRect(2, 1).width(), 0);
    printer.printPage(dc, 1);
    const auto rows = textsIn(dc, fontOf(dc, kBody));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].text, "r0c1");
    EXPECT_EQ(rows[1].rect.right, 4600);
    for (const auto& t : dc.texts) EXPECT_LE(t.rect.right, 4600) << t.text;
}

TEST(ListPrinter, OneRowMakesOnePage) {
    FakeDeviceContext dc = tenRowPage();
    CListPrinter printer;
    ASSERT_EQ(printer.begin(dc, makeSource(1, {100})), PrintStatus::Ok);
    EXPECT_EQ(printer.pageCount(), 1);
    printer.printPage(dc, 1);
    const auto rows = textsIn(dc, fontOf(dc, kBody));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].rect.top, 184);
    EXPECT_EQ(dc.texts.back().text, "Page 1 of 1");
}

TEST(ListPrinter, RefusesAnEmptyListAndABodyWithoutRoomForARow) {
    FakeDeviceContext dc = tenRowPage();
    CListPrinter printer;
    EXPECT_EQ(printer.begin(dc, makeSource(0, {100})), PrintStatus::EmptyList);
    EXPECT_EQ(printer.pageCount(), 0);
    EXPECT_EQ(dc.fonts_created, 0);

    // 363 high: a body of 19, one line of headings and no room for a row.
    FakeDeviceContext small(4800, 363, 72);
    EXPECT_EQ(printer.begin(small, makeSource(5, {100})), PrintStatus::PageTooSmall);
    EXPECT_EQ(printer.pageCount(), 0);
    EXPECT_TRUE(small.fonts.empty());
    printer.printPage(small, 1);
    printer.end(small);
    EXPECT_TRUE(small.texts.empty());
    EXPECT_FALSE(printStatusMessage(PrintStatus::PageTooSmall).empty());
    // One pixel more and the row fits.
    FakeDeviceContext enough(4800, 364, 72);
    EXPECT_EQ(printer.begin(enough, makeSource(5, {100})), PrintStatus::Ok);
    EXPECT_EQ(printer.pageCount(), 5);
}

TEST(ListPrinter, FontsFollowThePrinterResolutionRoundedToNearest) {
    // 100 dots per inch: 12 pt is 16.67, 10 pt 13.89, 9 pt exactly 12.5.
    FakeDeviceContext dc(4800, 6600, 100);
    CListPrinter printer;
    ASSERT_EQ(printer.begin(dc, makeSource(1, {100})), PrintStatus::Ok);
    std::vector<ui::FontRequest> fonts;
    for (const auto& [handle, request] : dc.fonts) fonts.push_back(request);
    ASSERT_EQ(fonts.size(), 4u);
    EXPECT_EQ(fonts[0], (ui::FontRequest{kSansFace, -17, 700, false}));
    EXPECT_EQ(fonts[1], (ui::FontRequest{kSansFace, -14, 400, false}));
    EXPECT_EQ(fonts[2], (ui::FontRequest{kSansFace, -13, 700, false}));
    EXPECT_EQ(fonts[3], (ui::FontRequest{kSerifFace, -14, 400, false}));
    // The previously selected font comes back after measuring and drawing.
    dc.selected = 99;
    printer.printPage(dc, 1);
    EXPECT_EQ(dc.selected, 99);
    printer.end(dc);
    printer.end(dc);
    EXPECT_TRUE(dc.fonts.empty());
}

// Random lists on random pages: every row is printed once, in order, on the
// page and line its number gives; cells keep display order left to right
// and never pass the body's right edge; a column shows exactly when its
// left edge lies inside the body.
TEST(ListPrinter, RandomListsPrintEveryRowOnceInOrder) {
    std::mt19937 rng(14);
    auto uniform = [&rng](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
    for (int round = 0; round < 300; ++round) {
        const int columns = uniform(1, 6);
        std::vector<int> widths(static_cast<std::size_t>(columns));
        for (int& w : widths) w = uniform(0, 900);
        std::vector<int> order(static_cast<std::size_t>(columns));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), rng);
        const int rows = uniform(1, 120);
        const int dpi = uniform(50, 120);
        FakeDeviceContext dc(uniform(600, 5000), uniform(364, 1200), dpi);
        CListPrinter printer;
        const PrintStatus status =
            printer.begin(dc, makeSource(rows, widths, order, uniform(1, 9)));
        if (status == PrintStatus::PageTooSmall) {
            // Refused only when the body has no room for a row under the headings.
            const int line = (10 * dpi + 36) / 72;  // the body font's height
            EXPECT_LT(printer.bodyBand().height(), 2 * line);
            EXPECT_TRUE(dc.fonts.empty());
            continue;
        }
        ASSERT_EQ(status, PrintStatus::Ok);
        const int r = printer.rowsPerPage();
        ASSERT_GT(r, 0);
        ASSERT_EQ(printer.pageCount(), (rows + r - 1) / r);
        const ui::Rect body = printer.bodyBand();
        const ui::FontHandle body_font = fontOf(dc, kBody);

        int next_row = 0;
        for (int page = 1; page <= printer.pageCount(); ++page) {
            dc.texts.clear();
            printer.printPage(dc, page);
            const auto cells = textsIn(dc, body_font);
            std::size_t k = 0;
            while (k < cells.size()) {
                const int row = next_row++;
                const int line = row - (page - 1) * r + 1;
                ASSERT_GE(line, 1);
                ASSERT_LE(line, r);
                int last_right = body.left;
                for (int pos = 0; pos < columns; ++pos) {
                    const ui::Rect expected = printer.cellRect(pos, line);
                    if (expected.left >= body.right || expected.width() <= 0) continue;
                    ASSERT_LT(k, cells.size());
                    const auto& t = cells[k++];
                    EXPECT_EQ(t.text, cell(row, order[static_cast<std::size_t>(pos)]));
                    EXPECT_EQ(t.rect, expected);
                    EXPECT_GE(t.rect.left, last_right);
                    EXPECT_LE(t.rect.right, body.right);
                    EXPECT_GT(t.rect.top, body.top);
                    EXPECT_LE(t.rect.bottom, body.bottom);
                    last_right = t.rect.right;
                }
            }
            ASSERT_EQ(next_row, std::min(rows, page * r)) << "page " << page;
            EXPECT_EQ(dc.texts.back().text, "Page " + std::to_string(page) + " of " +
                                                std::to_string(printer.pageCount()));
        }
        EXPECT_EQ(next_row, rows);
        printer.end(dc);
        EXPECT_TRUE(dc.fonts.empty());
    }
}

}  // namespace
}  // namespace zoedit::print
