// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/PageEngine.h"

#include "FakeCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace dvx {
namespace {

using test::DrawnText;
using test::FakeDevice;
using test::FakeImage;

const TReportFont kFont{"Sans", 1, 0, 10, 0};
const std::chrono::year_month_day kDate{std::chrono::year{2026}, std::chrono::month{12},
                                        std::chrono::day{10}};

// 40 pixels per cm on a 20 x 30 cm page with 15-pixel lines: margins at
// 100 / 700 / 100 / 1100, text limit 1070.
TDeviceSetup TestSetup(double lineHeight = 15) {
    return TDeviceSetup{MakePixelsPerCm(40, 40), 800, 1200, lineHeight};
}

// A report that writes a title, the date, two headings, a header row and
// `rows` table rows; its PageEnd rules off the table.
class DemoReport : public TReportRoutine {
public:
    explicit DemoReport(int rows, std::vector<std::string> headings = {"Heading 1", "Heading 2"})
        : rows_(rows), headings_(std::move(headings)) {}

    void PageHeader(TPageEngine& e, bool first) override {
        ++headers;
        if (first) e.TextBlock({"Demo Report"}, 4, 2);
        e.DateLine(kDate);
        e.TextBlock(headings_, 2, 2);
        e.CellText(e.LeftPx(), e.TabPx(1), "Item", 1, false);
        e.LineFeed(1);
    }
    void ReportBody(TPageEngine& e) override {
        for (int i = 1; i <= rows_; ++i) {
            e.EnsureSpace(1);
            e.CellText(e.LeftPx(), e.TabPx(2), "Row " + std::to_string(i), 1, false);
            e.LineFeed(1);
        }
        finished = true;
        if (e.PageCount() == 1) PageEnd(e);
    }
    void PageEnd(TPageEngine& e) override {
        ++pageEnds;
        e.Rule(e.LeftPx(), e.RightPx());
    }

    int headers = 0;
    int pageEnds = 0;
    bool finished = false;

private:
    int rows_;
    std::vector<std::string> headings_;
};

// Lets a routine's PageEnd be reached through the engine as the real
// reports do (the engine's PageEnd hook is the routine's).
struct Layout {
    explicit Layout(TReportRoutine& r, double lineHeight = 15) : device(kFont) {
        engine.SetReport(&r);
        engine.SetReportFont(kFont);
        engine.WriteDocument(device, TestSetup(lineHeight));
    }
    TPageEngine engine;
    FakeDevice device;
};

std::vector<const DrawnText*> Footers(const FakeDevice& d) {
    std::vector<const DrawnText*> r;
    for (const auto& t : d.texts)
        if (t.text.rfind("- ", 0) == 0) r.push_back(&t);
    return r;
}

TEST(PageEngine, OnePageReportCarriesNoPageNumber) {
    DemoReport report(10);
    Layout l(report);
    EXPECT_EQ(l.device.PageCount(), 1);
    EXPECT_TRUE(Footers(l.device).empty());
    EXPECT_EQ(report.pageEnds, 1); // the routine closed its own page
    EXPECT_EQ(report.headers, 1);
}

TEST(PageEngine, LongReportIsNumberedAndClosedOnEveryPage) {
    for (int rows : {56, 150}) {
        SCOPED_TRACE(rows);
        DemoReport report(rows);
        Layout l(report);
        const int pages = l.device.PageCount();
        ASSERT_GE(pages, 2);
        EXPECT_EQ(report.headers, pages);
        EXPECT_EQ(report.pageEnds, pages); // once before every footer, never twice

        auto footers = Footers(l.device);
        ASSERT_EQ(static_cast<int>(footers.size()), pages);
        for (int p = 1; p <= pages; ++p) {
            const DrawnText& f = *footers[p - 1];
            EXPECT_EQ(f.page, p);
            EXPECT_EQ(f.text, "- " + std::to_string(p) + " -");
            EXPECT_EQ(f.y, 1100); // on the bottom margin
            int width = static_cast<int>(f.text.size()) * 5;
            EXPECT_EQ(f.x, 100 + static_cast<int>(std::lround((600 - width) / 2.0)));
        }

        // Every row once and in order; none below the text limit; a page is
        // only left when the next row would not have fitted.
        int expected = 1;
        int lastY = 0, lastPage = 1;
        for (const auto& t : l.device.texts) {
            if (t.text.rfind("Row ", 0) != 0) continue;
            EXPECT_EQ(t.text, "Row " + std::to_string(expected));
            EXPECT_LE(t.y + 15, 1070);
            if (t.page != lastPage) {
                EXPECT_GT(lastY + 15 + 15, 1070) << "page " << lastPage << " left early";
                lastPage = t.page;
            }
            lastY = t.y;
            ++expected;
        }
        EXPECT_EQ(expected, rows + 1);
    }
}

TEST(PageEngine, ContinuationPagesRepeatTheHeaderButNotTheTitle) {
    DemoReport report(150);
    Layout l(report);
    ASSERT_GE(l.device.PageCount(), 3);
    for (int p = 1; p <= l.device.PageCount(); ++p) {
        int titles = 0, dates = 0, items = 0;
        for (const auto& t : l.device.TextsOn(p)) {
            titles += t.text == "Demo Report";
            dates += t.text == "10 December 2026";
            items += t.text == "Item";
        }
        EXPECT_EQ(titles, p == 1 ? 1 : 0) << p;
        EXPECT_EQ(dates, 1) << p;
        EXPECT_EQ(items, 1) << p;
    }
}

TEST(PageEngine, LinePositionsDoNotAccumulateRounding) {
    struct Feeds : TReportRoutine {
        void PageHeader(TPageEngine&, bool) override {}
        void ReportBody(TPageEngine& e) override {
            e.LineFeed(3);
            ys.push_back(e.PenY());
            e.LineFeed(1);
            ys.push_back(e.PenY());
            e.LineFeed(6);
            ys.push_back(e.PenY());
        }
        std::vector<int> ys;
    } report;
    Layout l(report, 13.6);
    // 100 + round(3 * 13.6), + round(4 * 13.6), + round(10 * 13.6)
    EXPECT_EQ(report.ys, (std::vector<int>{141, 154, 236}));
}

TEST(PageEngine, TextBlockWritesBoldLinesAndRestoresTheFont) {
    struct Block : TReportRoutine {
        std::vector<std::string> lines;
        void PageHeader(TPageEngine&, bool) override {}
        void ReportBody(TPageEngine& e) override {
            e.Canvas().SetFontSize(7);
            e.TextBlock(lines, 2, 2);
            endY = e.PenY();
            after = e.Canvas().Font();
        }
        int endY = 0;
        TReportFont after;
    };
    struct Case {
        std::vector<std::string> lines;
        int lines_advanced;
        std::vector<std::pair<int, int>> drawn; // (y, size)
    };
    const Case cases[] = {
        {{"Title"}, 2, {{100, 12}}},
        {{"First", "Second"}, 4, {{100, 12}, {130, 10}}},
        {{"First", "Second", "Third"}, 5, {{100, 12}, {130, 10}, {145, 10}}},
        // An empty first line is skipped with its advance: empty headings
        // leave two lines.
        {{"", ""}, 2, {{100, 10}}},
        {{""}, 0, {}},
        {{}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.lines));
        Block report;
        report.lines = c.lines;
        Layout l(report);
        EXPECT_EQ(report.endY, 100 + 15 * c.lines_advanced);
        ASSERT_EQ(l.device.texts.size(), c.drawn.size());
        for (std::size_t i = 0; i < c.drawn.size(); ++i) {
            EXPECT_EQ(l.device.texts[i].x, 100);
            EXPECT_EQ(l.device.texts[i].y, c.drawn[i].first);
            EXPECT_EQ(l.device.texts[i].font.size, c.drawn[i].second);
            EXPECT_TRUE(l.device.texts[i].font.style & fsBold);
        }
        EXPECT_EQ(report.after.size, 7);
        EXPECT_FALSE(report.after.style & fsBold);
    }
}

TEST(PageEngine, EmptyHeadingsLeaveThreeEmptyLinesBelowTheDate) {
    DemoReport report(3, {"", ""});
    Layout l(report);
    const DrawnText* date = l.device.Find("10 December 2026");
    const DrawnText* header = l.device.Find("Item");
    ASSERT_TRUE(date && header);
    EXPECT_EQ(header->y - date->y, 4 * 15);
}

TEST(PageEngine, DateLineIsBoldAndRightAligned) {
    struct R : TReportRoutine {
        void PageHeader(TPageEngine&, bool) override {}
        void ReportBody(TPageEngine& e) override {
            e.DateLine(kDate);
            y = e.PenY();
        }
        int y = 0;
    } report;
    TPageEngine engine;
    engine.SetReport(&report);
    engine.SetReportFont(kFont);
    engine.SetDateFormatter([](const std::chrono::year_month_day&) { return "Thursday 10.12.26"; });
    FakeDevice device(kFont);
    engine.WriteDocument(device, TestSetup());
    ASSERT_EQ(device.texts.size(), 1u);
    const DrawnText& t = device.texts[0];
    EXPECT_EQ(t.text, "Thursday 10.12.26");
    EXPECT_TRUE(t.font.style & fsBold);
    EXPECT_EQ(t.x + static_cast<int>(t.text.size()) * 6, 700); // bold: 6 px a char
    EXPECT_EQ(report.y, 130);
    EXPECT_FALSE(device.Font().style & fsBold);
}

TEST(PageEngine, LetterheadLinesUseTheirFontsAndAdvanceByWholeLines) {
    struct R : TReportRoutine {
        void PageHeader(TPageEngine&, bool) override {}
        void ReportBody(TPageEngine& e) override {
            e.LetterheadBlock({"Firm Ltd", "1 Road", "Town"}, 300, "", "Mono", 10, 8);
            counter = e.LineCounter();
            y = e.PenY();
            after = e.Canvas().Font();
        }
        int counter = 0, y = 0;
        TReportFont after;
    } report;
    Layout l(report);
    const auto& t = l.device.texts;
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].font.name, "Sans"); // empty first-line font: the report font
    EXPECT_EQ(t[0].font.size, 10);
    EXPECT_EQ(t[1].font.name, "Mono");
    EXPECT_EQ(t[1].font.size, 8);
    for (const auto& x : t) {
        EXPECT_EQ(x.x, 300);
        EXPECT_TRUE(x.font.style & fsBold);
    }
    EXPECT_EQ(t[0].y, 100);
    EXPECT_EQ(t[1].y, 119); // + round(1.25 * 15)
    EXPECT_EQ(t[2].y, 131); // + 12 (8-point line)
    // 43 pixels used: 2.87 lines, rounded to 3.
    EXPECT_EQ(report.counter, 3);
    EXPECT_EQ(report.y, 145);
    EXPECT_EQ(report.after, kFont);
}

TEST(PageEngine, CellTextAlignsClipsAndMarksOverflow) {
    struct Cell {
        int x1, x2;
        std::string text;
        int align;
        bool mark;
        std::string shown;
        int x;
    };
    const Cell cells[] = {
        {200, 300, "12.5", 0, true, "12.5", 280},           // right-aligned: 4 chars * 5
        {200, 300, "12.5", 1, true, "12.5", 200},
        {200, 230, "123456789", 0, true, "*****", 205},      // 45 px into 30: marked
        {200, 230, "123456789", 1, false, "123456789", 200}, // kept, clipped to the box
    };
    for (const Cell& c : cells) {
        SCOPED_TRACE(c.text);
        struct R : TReportRoutine {
            const Cell* c = nullptr;
            void PageHeader(TPageEngine&, bool) override {}
            void ReportBody(TPageEngine& e) override {
                e.LineFeed(2);
                e.CellText(c->x1, c->x2, c->text, c->align, c->mark);
            }
        } report;
        report.c = &c;
        Layout l(report);
        ASSERT_EQ(l.device.texts.size(), 1u);
        const DrawnText& t = l.device.texts[0];
        EXPECT_EQ(t.text, c.shown);
        EXPECT_EQ(t.x, c.x);
        EXPECT_EQ(t.y, 130);
        EXPECT_TRUE(t.clipped);
        EXPECT_EQ(t.clipLeft, c.x1);
        EXPECT_EQ(t.clipRight, c.x2);
        EXPECT_EQ(t.clipTop, 130);
        EXPECT_EQ(t.clipBottom, 145);
    }
}

TEST(PageEngine, BottomLineRulesOffAndNamesTheProgramAtReportSize) {
    struct R : TReportRoutine {
        void PageHeader(TPageEngine&, bool) override {}
        void ReportBody(TPageEngine& e) override {
            e.Canvas().SetFontSize(6);
            e.BottomLine(true, "1.2.3");
        }
    } report;
    Layout l(report);
    ASSERT_EQ(l.device.lines.size(), 1u);
    EXPECT_EQ(l.device.lines[0].y1, 108); // half a line below the pen
    EXPECT_EQ(l.device.lines[0].x1, 100);
    EXPECT_EQ(l.device.lines[0].x2, 700);
    ASSERT_EQ(l.device.texts.size(), 1u);
    EXPECT_EQ(l.device.texts[0].text, "Darvenix 1.2.3");
    EXPECT_EQ(l.device.texts[0].y, 115);
    EXPECT_EQ(l.device.texts[0].font.size, 10);
    EXPECT_EQ(l.device.Font().size, 6);
}

TEST(PageEngine, PictureKeepsItsAspectAndMovesThePenBelowIt) {
    struct R : TReportRoutine {
        void PageHeader(TPageEngine&, bool) override {}
        void ReportBody(TPageEngine& e) override {
            e.LineFeed(3); // e.g. a three-line letterhead beside the logo
            e.SetPenX(500);
            e.Picture(FakeImage(300, 150), 5, 0);
            counter = e.LineCounter();
            e.Picture(FakeImage(300, 30), 5, 0); // shorter than what is written
            counterAfterSmall = e.LineCounter();
        }
        int counter = 0, counterAfterSmall = 0;
    } report;
    Layout l(report);
    ASSERT_EQ(l.device.images.size(), 2u);
    const auto& img = l.device.images[0];
    EXPECT_EQ(img.x, 500);
    EXPECT_EQ(img.y, 100);
    EXPECT_EQ(img.w, 200);
    EXPECT_EQ(img.h, 100);
    EXPECT_EQ(report.counter, 7); // 100 pixels cover 7 lines of 15
    EXPECT_EQ(report.counterAfterSmall, 7);
}

TEST(PageEngine, HeaderTallerThanThePageDoesNotStartPagesWithoutEnd) {
    struct Tall : TReportRoutine {
        void PageHeader(TPageEngine& e, bool first) override {
            if (!first) e.LineFeed(80); // more than a page
        }
        void ReportBody(TPageEngine& e) override {
            for (int i = 0; i < 100; ++i) {
                e.EnsureSpace(1);
                e.CellText(e.LeftPx(), e.RightPx(), "row", 1, false);
                e.LineFeed(1);
            }
        }
    } report;
    Layout l(report);
    int rows = 0;
    for (const auto& t : l.device.texts) rows += t.text == "row";
    EXPECT_EQ(rows, 100);
    // 64 rows on page 1, then one row on each further page.
    EXPECT_EQ(l.device.PageCount(), 1 + 36);
}

TEST(PageEngine, WriteFailureKeepsThePagesWrittenSoFar) {
    struct Failing : DemoReport {
        Failing() : DemoReport(200) {}
        void PageEnd(TPageEngine& e) override {
            DemoReport::PageEnd(e);
            if (e.PageCount() == 2) throw std::runtime_error("disk full");
        }
    } report;
    TPageEngine engine;
    engine.SetReport(&report);
    FakeDevice device(kFont);
    EXPECT_THROW(engine.WriteDocument(device, TestSetup()), std::runtime_error);
    EXPECT_EQ(device.PageCount(), 2);
    EXPECT_NE(device.Find("Row 60"), nullptr);
    // No layout is in progress any more.
    EXPECT_THROW(engine.Canvas(), std::logic_error);
}

TEST(PageEngine, StyleHooksCopyMarginsFontAndZoom) {
    TReportStyle style;
    style.margins[mlLeft] = 3;
    style.defaults[mlX1] = 8;
    style.zoom = 1;
    style.font = {"Serif", 1, fsItalic, 12, 0};
    DemoReport report(1);
    report.UseStyle(&style);
    TPageEngine engine;
    report.LoadStyle(engine);
    EXPECT_DOUBLE_EQ(engine.Margins()[mlLeft], 3);
    EXPECT_EQ(engine.Zoom(), 1);
    EXPECT_EQ(engine.ReportFont(), style.font);
    engine.ResetMargins();
    EXPECT_DOUBLE_EQ(engine.Margins()[mlLeft], 2.5);
    EXPECT_DOUBLE_EQ(engine.Margins()[mlX1], 8);
    engine.SetMargin(mlTop, 4);
    engine.SetZoom(0);
    report.SaveStyle(engine);
    EXPECT_DOUBLE_EQ(style.margins[mlTop], 4);
    EXPECT_DOUBLE_EQ(style.margins[mlLeft], 2.5);
    EXPECT_EQ(style.zoom, 0);

    std::string printed;
    engine.SetPrintHandler([&](const std::string& title) { printed = title; });
    report.PrintReport(engine);
    EXPECT_EQ(printed, "Report");
}

TEST(PageEngine, PlainLongDateSpellsTheMonth) {
    EXPECT_EQ(PlainLongDate(kDate), "10 December 2026");
    EXPECT_EQ(PlainLongDate({std::chrono::year{2027}, std::chrono::month{1}, std::chrono::day{3}}),
              "3 January 2027");
}

} // namespace
} // namespace dvx
