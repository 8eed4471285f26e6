// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/SettingsStyleStorage.h"

#include "presentation/report/ReportStyle.h"
#include "storage/settings/SettingsStore.h"
#include "settings/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace dvx {
namespace {

const TReportFont kDefaultFont{"Sans", 1, 0, 9, 0};

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(SettingsStyleStorage, StylesGoToTheSettingsFileAndComeBack) {
    test::TempFolder folder;
    SettingsStore store(folder / "Darvenix.ini");
    TReportStyle circuit;
    circuit.margins[mlLeft] = 3;
    circuit.margins[mlX8] = 17.25;
    circuit.zoom = 1;
    circuit.font = {"DejaVu Serif", 0, fsBold, 12, 0x112233};
    {
        TSettingsStyleStorage styles(store);
        WriteReportStyle(styles, CircuitStyleKeys(), circuit);
    }
    const std::string text = FileText(store.FileName());
    EXPECT_NE(text.find("[Report]"), std::string::npos);
    EXPECT_NE(text.find("Left margin=3"), std::string::npos);
    EXPECT_NE(text.find("mX8=17.25"), std::string::npos);
    EXPECT_NE(text.find("Name=DejaVu Serif"), std::string::npos);
    EXPECT_NE(text.find("Color=1122867"), std::string::npos);

    TSettingsStyleStorage styles(store);
    TReportStyle back;
    ReadReportStyle(styles, CircuitStyleKeys(), back, kDefaultFont);
    EXPECT_EQ(back.margins, circuit.margins);
    EXPECT_EQ(back.zoom, 1);
    EXPECT_EQ(back.font, circuit.font);

    // The other style is still all defaults.
    TReportStyle price;
    ReadReportStyle(styles, PriceStyleKeys(), price, kDefaultFont);
    EXPECT_EQ(price.margins, BuiltInMargins());
    EXPECT_EQ(price.font, kDefaultFont);
}

TEST(SettingsStyleStorage, UnflushedWritesDoNotReachTheFile) {
    test::TempFolder folder;
    SettingsStore store(folder / "Darvenix.ini");
    {
        TSettingsStyleStorage styles(store);
        styles.WriteText("Report", "Left margin", "3");
    }
    EXPECT_FALSE(store.ValueExists("Report", "Left margin"));
}

TEST(SettingsStyleStorage, ValuesWrittenByHandReadBackWithTheirSectionsKeys) {
    test::TempFolder folder;
    test::WriteText(folder / "Darvenix.ini",
                    "[Report 2]\nX1 margin=8\nleft MARGIN = 1.5 \nZoom=1\nSize=14\n");
    SettingsStore store(folder / "Darvenix.ini");
    TSettingsStyleStorage styles(store);
    TReportStyle price;
    ReadReportStyle(styles, PriceStyleKeys(), price, kDefaultFont);
    EXPECT_DOUBLE_EQ(price.margins[mlX1], 8);
    EXPECT_DOUBLE_EQ(price.margins[mlLeft], 1.5);
    EXPECT_EQ(price.zoom, 1);
    EXPECT_EQ(price.font.size, 14);
}

} // namespace
} // namespace dvx
