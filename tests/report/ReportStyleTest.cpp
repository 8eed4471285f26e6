// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/ReportStyle.h"

#include "MemoryStorage.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

using test::MemoryStorage;

const TReportFont kDefaultFont{"Sans Serif", 1, 0, 9, 0};

TEST(ReportStyle, MissingKeysGiveTheBuiltInValuesAndTheDefaultFont) {
    MemoryStorage store;
    TReportStyle style;
    style.margins[mlLeft] = 9; // overwritten by the default
    ReadReportStyle(store, CircuitStyleKeys(), style, kDefaultFont);
    EXPECT_EQ(style.margins, (TMarginValues{2.5, 2.5, 2.5, 2.5, 3.5, 11, 12, 13, 14, 15, 16, 17}));
    EXPECT_EQ(style.zoom, 0);
    EXPECT_EQ(style.font, kDefaultFont);
}

TEST(ReportStyle, EachStyleWritesItsOwnKeysAsGeneralNumbers) {
    struct Case {
        const TStyleKeys& keys;
        const char* section;
        const char* tab1;
        const char* tab8;
    };
    for (const Case& c : {Case{CircuitStyleKeys(), "Report", "mX1", "mX8"},
                          Case{PriceStyleKeys(), "Report 2", "X1 margin", "X8 margin"}}) {
        SCOPED_TRACE(c.section);
        MemoryStorage store;
        TReportStyle style;
        style.margins[mlLeft] = 3;
        style.margins[mlBottom] = 1.25;
        style.margins[mlX1] = 8;
        style.zoom = 1;
        style.font = {"Serif", 0, fsBold | fsItalic, 14, 0x0000FF};
        WriteReportStyle(store, c.keys, style);

        EXPECT_EQ(store.Get(c.section, "Left margin"), "3");
        EXPECT_EQ(store.Get(c.section, "Right margin"), "2.5");
        EXPECT_EQ(store.Get(c.section, "Bottom margin"), "1.25");
        EXPECT_EQ(store.Get(c.section, c.tab1), "8");
        EXPECT_EQ(store.Get(c.section, c.tab8), "17");
        EXPECT_EQ(store.Get(c.section, "Zoom"), "1");
        EXPECT_EQ(store.Get(c.section, "Name"), "Serif");
        EXPECT_EQ(store.Get(c.section, "Style"), "3");
        EXPECT_EQ(store.Get(c.section, "Size"), "14");
        EXPECT_EQ(store.Get(c.section, "Color"), "255");
        EXPECT_EQ(store.Get(c.section, "Charset"), "0");

        TReportStyle back;
        ReadReportStyle(store, c.keys, back, kDefaultFont);
        EXPECT_EQ(back.margins, style.margins);
        EXPECT_EQ(back.zoom, 1);
        EXPECT_EQ(back.font, style.font);
    }
}

TEST(ReportStyle, TheTwoSectionsDoNotShareTabKeys) {
    MemoryStorage store;
    TReportStyle circuit;
    circuit.margins[mlX1] = 5;
    WriteReportStyle(store, CircuitStyleKeys(), circuit);
    TReportStyle price;
    ReadReportStyle(store, PriceStyleKeys(), price, kDefaultFont);
    EXPECT_DOUBLE_EQ(price.margins[mlX1], 3.5);
    EXPECT_FALSE(store.Has("Report", "X1 margin"));
}

TEST(ReportStyle, DamagedValuesReadAsDefaults) {
    MemoryStorage store;
    store.WriteText("Report", "Left margin", "2,7");   // not a number here
    store.WriteText("Report", "Right margin", "-1");   // no negative margins
    store.WriteText("Report", "Top margin", "1e300");  // no such sheet
    store.WriteText("Report", "Bottom margin", " 1.5 ");
    store.WriteText("Report", "Zoom", "7");
    store.WriteText("Report", "Size", "0");
    store.WriteText("Report", "Style", "255");
    TReportStyle style;
    style.defaults[mlLeft] = 4; // e.g. changed by a report for this run
    ReadReportStyle(store, CircuitStyleKeys(), style, kDefaultFont);
    EXPECT_DOUBLE_EQ(style.margins[mlLeft], 4);
    EXPECT_DOUBLE_EQ(style.margins[mlRight], 2.5);
    EXPECT_DOUBLE_EQ(style.margins[mlTop], 2.5);
    EXPECT_DOUBLE_EQ(style.margins[mlBottom], 1.5);
    EXPECT_EQ(style.zoom, 0);
    EXPECT_EQ(style.font.size, kDefaultFont.size);
    EXPECT_EQ(style.font.style, fsBold | fsItalic | fsUnderline | fsStrikeOut);
}

TEST(ReportStyle, ProgramStylesAreReadAndWrittenTogether) {
    MemoryStorage store;
    store.WriteText("Report", "Left margin", "3");
    store.WriteText("Report 2", "Left margin", "1");
    ReadReportStyles(store, kDefaultFont);
    EXPECT_DOUBLE_EQ(CircuitReportStyle().margins[mlLeft], 3);
    EXPECT_DOUBLE_EQ(PriceReportStyle().margins[mlLeft], 1);
    PriceReportStyle().margins[mlX2] = 12;
    MemoryStorage out;
    WriteReportStyles(out);
    EXPECT_EQ(out.Get("Report", "Left margin"), "3");
    EXPECT_EQ(out.Get("Report 2", "X2 margin"), "12");
    EXPECT_EQ(out.Get("Report", "mX2"), "11");
}

} // namespace
} // namespace dvx
