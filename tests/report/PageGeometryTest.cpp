// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/PageGeometry.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(PageGeometry, DisplayResolutionFromPixelsAndMillimetres) {
    auto ppcm = DisplayPixelsPerCm(1920, 1080, 508, 285.75);
    ASSERT_TRUE(ppcm);
    EXPECT_NEAR(ppcm->x, 37.795, 1e-3);
    EXPECT_NEAR(ppcm->y, 37.795, 1e-3);
    EXPECT_EQ(ppcm->xr, 38);
    EXPECT_EQ(ppcm->yr, 38);
    // A display that does not know its size cannot give a resolution.
    EXPECT_FALSE(DisplayPixelsPerCm(1920, 1080, 0, 0));
    EXPECT_FALSE(DisplayPixelsPerCm(0, 1080, 508, 285));
}

TEST(PageGeometry, PrinterPagesSmallerThanAFifthOfTheDefaultAreRefused) {
    const TPageSizeCm a4 = DefaultPage(false);
    struct Case {
        int w, h;      // printer pixels at 300 dpi
        bool usable;
        double wcm, hcm; // whole cm when usable
    };
    const Case cases[] = {
        {2480, 3508, true, 21, 30},  // A4 printable page: 20.99 x 29.70 cm
        {2400, 3200, true, 20, 27},  // 20.32 x 27.09 cm, rounded to whole cm
        {472, 3508, false, 0, 0},    // 4 cm wide: below 4.2 cm
        {532, 3508, true, 5, 30},    // 4.5 cm rounds to 5 cm wide
        {2480, 590, false, 0, 0},    // 5 cm high: below 5.94 cm
        {2480, 662, true, 21, 6},    // 5.6 cm rounds to 6 cm high
        {0, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        auto page = UsablePrinterPage({"lp", c.w, c.h, 300, 300}, a4);
        ASSERT_EQ(page.has_value(), c.usable);
        if (!page) continue;
        EXPECT_DOUBLE_EQ(page->width, c.wcm);
        EXPECT_DOUBLE_EQ(page->height, c.hcm);
    }
    // A printer with no resolution is no printer.
    EXPECT_FALSE(UsablePrinterPage({"lp", 2480, 3508, 0, 0}, a4));
}

TEST(PageGeometry, PreviewPageIsThePrinterPageOrA4) {
    TPixelsPerCm ppcm = MakePixelsPerCm(37.8, 37.8);
    TPreviewPage noPrinter = PlanPreviewPage(ppcm, DefaultPage(false), std::nullopt);
    EXPECT_EQ(noPrinter.widthPx, 794);   // 21 cm
    EXPECT_EQ(noPrinter.heightPx, 1123); // 29.7 cm
    EXPECT_FALSE(noPrinter.hasPrinter);

    TPreviewPage landscape = PlanPreviewPage(ppcm, DefaultPage(true), std::nullopt);
    EXPECT_EQ(landscape.widthPx, 1123);
    EXPECT_EQ(landscape.heightPx, 794);

    TPreviewPage printer = PlanPreviewPage(ppcm, DefaultPage(false), TPageSizeCm{20, 28});
    EXPECT_EQ(printer.widthPx, 756);
    EXPECT_EQ(printer.heightPx, 1058);
    EXPECT_TRUE(printer.hasPrinter);
}

TEST(PageGeometry, PreviewLinesBreakWhereThePrinterBreaksThem) {
    // 50 printer pixels of "X" on a 3300-pixel page become 50 * 1100 / 3300
    // preview pixels on a 1100-pixel page.
    EXPECT_DOUBLE_EQ(PreviewLineHeightFromPrinter(50, 1100, 3300), 50.0 / 3);
    EXPECT_DOUBLE_EQ(PreviewLineHeightFromPrinter(50, 1100, 0), 50);
}

TEST(PageGeometry, PixelLayoutFromMarginsAndTabs) {
    TMarginValues m = BuiltInMargins();
    m[mlLeft] = 2.0;
    m[mlRight] = 1.5;
    m[mlTop] = 3.0;
    m[mlBottom] = 2.25;
    TPixelsPerCm ppcm = MakePixelsPerCm(37.6, 38.4); // rounded 38 and 38
    TPixelLayout l = ComputePixelLayout(m, ppcm, 790, 1140, 15.4);
    EXPECT_EQ(l.leftPx, 75);            // 2 * 37.6 = 75.2
    EXPECT_EQ(l.rightPx, 734);          // 790 - 56.4 = 733.6
    EXPECT_EQ(l.topPx, 115);            // 3 * 38.4 = 115.2
    EXPECT_EQ(l.bottomPx, 1054);        // 1140 - 86.4 = 1053.6
    EXPECT_EQ(l.textLimit, 1023);       // 1054 - 30.8 = 1023.2
    EXPECT_EQ(l.tabPx[0], 133);         // tabs use the rounded 38: 3.5 * 38
    EXPECT_EQ(l.tabPx[1], 418);         // 11 * 38
    EXPECT_EQ(l.tabPx[7], 646);         // 17 * 38

    auto pos = MarginLinePositions(l);
    EXPECT_EQ(pos[mlLeft], 75);
    EXPECT_EQ(pos[mlBottom], 1054);
    EXPECT_EQ(pos[mlX3], 456);
}

TEST(PageGeometry, DragRangesOfEveryMarginLine) {
    // left 100, right 700, top 100, bottom 1000, tabs 150 … 640 on 800 x 1100.
    std::array<int, kMarginLineCount> pos{100, 700, 100, 1000, 150, 300, 400, 450, 500, 550, 600, 640};
    std::array<bool, kMarginLineCount> onlyMargins{true, true, true, true};
    std::array<bool, kMarginLineCount> withTabs = onlyMargins;
    withTabs[mlX1] = withTabs[mlX2] = true;

    struct Case {
        const char* name;
        int line;
        const std::array<bool, kMarginLineCount>& active;
        int low, high;
    };
    const Case cases[] = {
        {"left without X2", mlLeft, onlyMargins, 0, 700},
        {"left with X2", mlLeft, withTabs, 0, 300},
        {"right without tabs", mlRight, onlyMargins, 100, 800},
        {"right after the largest active tab", mlRight, withTabs, 300, 800},
        {"top", mlTop, onlyMargins, 0, 550},
        {"bottom", mlBottom, onlyMargins, 550, 1100},
        {"X1", mlX1, withTabs, 0, 700},
        {"X2, X3 inactive", mlX2, withTabs, 150, 700},
        {"X3, X4 inactive", mlX3, onlyMargins, 300, 700},
        {"X8", mlX8, withTabs, 600, 700},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDragRange r = MarginDragRange(c.line, pos, c.active, 800, 1100);
        EXPECT_EQ(r.low, c.low);
        EXPECT_EQ(r.high, c.high);
    }
    std::array<bool, kMarginLineCount> x2x3 = withTabs;
    x2x3[mlX3] = true;
    EXPECT_EQ(MarginDragRange(mlX2, pos, x2x3, 800, 1100).high, 400);
}

TEST(PageGeometry, DraggedPositionStaysFivePixelsInsideItsRange) {
    EXPECT_EQ(ClampDragPosition(50, 0, 300), 50);
    EXPECT_EQ(ClampDragPosition(0, 0, 300), 0);
    EXPECT_EQ(ClampDragPosition(300, 0, 300), 295);
    EXPECT_EQ(ClampDragPosition(900, 0, 300), 295);
    EXPECT_EQ(ClampDragPosition(-1, 0, 300), 5);
    EXPECT_EQ(ClampDragPosition(99, 100, 300), 105);
}

TEST(PageGeometry, GrabbingTakesTheFirstActiveLineWithinFivePixels) {
    std::array<int, kMarginLineCount> pos{100, 700, 100, 1000, 104, 300, 400, 450, 500, 550, 600, 640};
    std::array<bool, kMarginLineCount> active{true, true, true, true, true};
    EXPECT_EQ(HitMarginLine(103, 500, pos, active), mlLeft);  // left and X1 both near
    EXPECT_EQ(HitMarginLine(108, 500, pos, active), mlX1);    // 8 from left, 4 from X1
    EXPECT_EQ(HitMarginLine(400, 95, pos, active), mlTop);
    EXPECT_EQ(HitMarginLine(400, 1006, pos, active), -1);
    EXPECT_EQ(HitMarginLine(300, 500, pos, active), -1);      // X2 is not active
    active[mlLeft] = false;
    EXPECT_EQ(HitMarginLine(103, 500, pos, active), mlX1);
}

TEST(PageGeometry, ReleasedLinesMeasureFromTheirOwnEdge) {
    TPixelsPerCm ppcm = MakePixelsPerCm(37.8, 40);
    EXPECT_NEAR(MarginValueCm(mlLeft, 113, 800, 1100, ppcm), 113 / 37.8, 1e-12);
    EXPECT_NEAR(MarginValueCm(mlRight, 700, 800, 1100, ppcm), 100 / 37.8, 1e-12);
    EXPECT_NEAR(MarginValueCm(mlTop, 120, 800, 1100, ppcm), 3.0, 1e-12);
    EXPECT_NEAR(MarginValueCm(mlBottom, 1000, 800, 1100, ppcm), 2.5, 1e-12);
    // Tabs are placed with the rounded resolution and read back with it.
    EXPECT_NEAR(MarginValueCm(mlX1, 133, 800, 1100, ppcm), 3.5, 1e-12);
}

} // namespace
} // namespace dvx
