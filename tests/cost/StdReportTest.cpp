// SPDX-License-Identifier: GPL-3.0-or-later
// The price report written through the page engine onto a recording
// device: what stands where on the page, the style it sets up and where its
// letterhead and logo come from.

#include "presentation/report/PriceReport.h"
#include "report/FakeCanvas.h"
#include "presentation/report/ReportStyle.h"
#include "settings/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace dvx {
namespace {

using test::FakeDevice;
using test::FakeImage;

constexpr int kPxPerCm = 40;

class StdReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        PriceReportStyle() = TReportStyle{};
        TReportFont font;
        font.size = 10;
        engine.SetReportFont(font);
    }
    void TearDown() override { PriceReportStyle() = TReportStyle{}; }

    static TPriceReportData Data(std::string heading1 = "Job 42", std::string heading2 = "Plant room") {
        TPriceReportData d;
        d.Rows = {{"Pipes", "1000.00", "12.00"},        {"Elbows", "0.00", "0.00"},
                  {"Reducers", "0.00", "0.00"},         {"Tees", "0.00", "0.00"},
                  {"Valves", "0.00", "0.00"},           {"Strainers", "0.00", "0.00"},
                  {"Small Fittings", "15.00", "1.00"}, {"User", "0.00", "0.00"}};
        d.TotalLine = "Total Price = $2,215.00  (13 hrs)";
        d.CurrencySymbol = "$";
        d.Heading1 = std::move(heading1);
        d.Heading2 = std::move(heading2);
        d.Version = "1.2.3.4";
        return d;
    }

    // Lays the document out as the preview does: the style's values first.
    void Write() {
        report.LoadStyle(engine);
        engine.SetReport(&report);
        TDeviceSetup setup{MakePixelsPerCm(kPxPerCm, kPxPerCm), 21 * kPxPerCm, 30 * kPxPerCm, 15};
        engine.WriteDocument(device, setup);
    }

    TPageEngine engine;
    TStdReport report;
    FakeDevice device;
    FakeImage logo{300, 150};
};

TEST_F(StdReportTest, SetupMakesTheTabsAndMarginLinesOfThePriceReport) {
    ASSERT_TRUE(report.Setup(engine, Data(), {"ACME"}, nullptr));
    EXPECT_TRUE(report.Active());
    EXPECT_EQ(report.JobTitle(), "Price Estimate Summary");
    EXPECT_EQ(report.Style(), &PriceReportStyle());
    const auto& lines = engine.ActiveLines();
    for (int i = 0; i < kMarginLineCount; ++i)
        EXPECT_EQ(lines[static_cast<std::size_t>(i)], i <= mlX2) << "line " << i;
    EXPECT_EQ(PriceReportStyle().defaults[mlX1], 8);
    EXPECT_EQ(PriceReportStyle().defaults[mlX2], 12);
    // Built-in tabs move with the defaults, so figures never overwrite descriptions.
    EXPECT_EQ(PriceReportStyle().margins[mlX1], 8);
    EXPECT_EQ(PriceReportStyle().margins[mlX2], 12);
    EXPECT_EQ(PriceReportStyle().defaults[mlX3], BuiltInMargins()[mlX3]);
}

TEST_F(StdReportTest, TabsTheUserPlacedStay) {
    PriceReportStyle().margins[mlX1] = 9.5;
    PriceReportStyle().margins[mlX2] = 14;
    ASSERT_TRUE(report.Setup(engine, Data(), {" "}, nullptr));
    EXPECT_EQ(PriceReportStyle().margins[mlX1], 9.5);
    EXPECT_EQ(PriceReportStyle().margins[mlX2], 14);
    EXPECT_EQ(PriceReportStyle().defaults[mlX1], 8);
}

TEST_F(StdReportTest, FirstPageCarriesLetterheadLogoTitleHeadingsRowsAndTotal) {
    ASSERT_TRUE(report.Setup(engine, Data(), {"ACME Pumps Ltd", "1 Mill Road"}, &logo));
    Write();
    ASSERT_EQ(device.pages, 1);
    const int left = engine.LeftPx();
    const int tab1 = engine.TabPx(1);
    const int tab2 = engine.TabPx(2);
    EXPECT_EQ(tab1, 8 * kPxPerCm);
    EXPECT_EQ(tab2, 12 * kPxPerCm);

    const auto* company = device.Find("ACME Pumps Ltd");
    ASSERT_NE(company, nullptr);
    EXPECT_EQ(company->x, left + 9 * kPxPerCm);
    EXPECT_EQ(company->font.size, 10);
    const auto* street = device.Find("1 Mill Road");
    ASSERT_NE(street, nullptr);
    EXPECT_EQ(street->font.size, 8);

    ASSERT_EQ(device.images.size(), 1u);
    EXPECT_EQ(device.images[0].x, left);
    EXPECT_EQ(device.images[0].y, engine.TopPx());
    EXPECT_EQ(device.images[0].w, 3 * kPxPerCm);

    const auto* title = device.Find("Price Estimate Summary");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->font.size, 13);
    EXPECT_TRUE(title->font.style & fsBold);
    EXPECT_GT(title->y, device.images[0].y + device.images[0].h - 1); // below the logo
    const auto* heading = device.Find("Job 42");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->font.size, 12);
    EXPECT_NE(device.Find("Plant room"), nullptr);

    const auto* header = device.Find("Materials ($)");
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->x, tab1);
    EXPECT_TRUE(header->font.style & fsBold);
    EXPECT_EQ(device.Find("Labour")->x, tab2);
    EXPECT_GT(header->y, heading->y);

    const auto* pipes = device.Find("Pipes");
    ASSERT_NE(pipes, nullptr);
    EXPECT_EQ(pipes->x, left);
    EXPECT_FALSE(pipes->font.style & fsBold);
    const auto* material = device.Find("1000.00");
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->x, tab1);
    EXPECT_EQ(material->y, pipes->y);
    EXPECT_EQ(device.Find("12.00")->x, tab2);
    const auto* small = device.Find("Small Fittings");
    ASSERT_NE(small, nullptr);
    EXPECT_GT(small->y, pipes->y);

    const auto* total = device.Find("Total Price = $2,215.00  (13 hrs)");
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->x, left);
    EXPECT_GT(total->y, device.Find("User")->y);

    // The last line: a rule, then the program's title and version; a
    // one-page report has no page number.
    bool versionShown = false;
    for (const auto& t : device.texts) {
        if (t.text.find("1.2.3.4") != std::string::npos) versionShown = t.y > total->y;
        EXPECT_EQ(t.text.rfind("- ", 0), std::string::npos) << t.text;
    }
    EXPECT_TRUE(versionShown);
    EXPECT_FALSE(device.lines.empty());
}

TEST_F(StdReportTest, WithoutAFirstHeadingNeitherHeadingIsPrinted) {
    ASSERT_TRUE(report.Setup(engine, Data("", "Plant room"), {" "}, nullptr));
    Write();
    EXPECT_EQ(device.Find("Plant room"), nullptr);
    EXPECT_TRUE(device.images.empty());
    EXPECT_NE(device.Find("Price Estimate Summary"), nullptr);
    EXPECT_NE(device.Find("Pipes"), nullptr);
}

// The user's data folder first (under either spelling of the name), then the
// program folder; never the folder the program was started from.
TEST(PriceLetterhead, DataFolderFirstThenProgramFolderThenABlankLine) {
    test::TempFolder work;
    test::TempFolder data;
    test::TempFolder program;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(work.Path());
    test::WriteText(work / "LetterHead.txt", "Started here Co\n");
    test::WriteText(work / "ReportLogo.gif", "GIF89a");

    EXPECT_EQ(LoadPriceLetterhead(data.Path(), program.Path()), std::vector<std::string>{" "});
    EXPECT_EQ(PriceLogoFile(data.Path(), program.Path()), program / "ReportLogo.gif");

    test::WriteText(program / "LetterHead.txt", "Program Co\n");
    test::WriteText(program / "ReportLogo.gif", "GIF89a");
    EXPECT_EQ(LoadPriceLetterhead(data.Path(), program.Path()), std::vector<std::string>{"Program Co"});
    EXPECT_EQ(PriceLogoFile(data.Path(), program.Path()), program / "ReportLogo.gif");

    test::WriteText(data / "Letterhead.txt", "Data Co\r\nData Street\r\n");
    EXPECT_EQ(LoadPriceLetterhead(data.Path(), program.Path()),
              (std::vector<std::string>{"Data Co", "Data Street"}));

    test::WriteText(data / "LetterHead.txt", "User Co\n");
    test::WriteText(data / "ReportLogo.gif", "GIF89a");
    EXPECT_EQ(LoadPriceLetterhead(data.Path(), program.Path()), std::vector<std::string>{"User Co"});
    EXPECT_EQ(PriceLogoFile(data.Path(), program.Path()), data / "ReportLogo.gif");

    std::filesystem::current_path(previous);
}

} // namespace
} // namespace dvx
