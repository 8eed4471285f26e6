// SPDX-License-Identifier: GPL-3.0-or-later
// The grid report laid out on a recording page device: column fitting by
// font and by narrowing, continuation pages, the summary on the last page
// only, the letterhead and logo, and the circuit report's contents.

#include "engine/hydraulics/MaterialChange.h"
#include "engine/hydraulics/ProjectContext.h"
#include "report/FakeCanvas.h"

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "base/Format.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ResistanceItems.h"
#include "engine/units/UnitChoice.h"
#include "base/platform/Folders.h"
#include "presentation/report/CircuitReport.h"
#include "presentation/report/GridReport.h"
#include "presentation/ui/CircuitGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace dvx {
namespace {

using test::FakeDevice;
using test::FakeImage;

// A4 at 32 pixels per cm: 672 × 950 pixels; 2.5 cm margins leave x 80 … 592.
constexpr int kLineHeight = 18;
TDeviceSetup A4() { return TDeviceSetup{MakePixelsPerCm(32, 32), 672, 950, kLineHeight}; }

// A grid of `columns` columns and `rows` item rows; every cell `width` characters.
TReportGrid Grid(int columns, int rows, int width) {
    TReportGrid grid;
    for (int c = 0; c < columns; ++c) {
        std::vector<std::string> cells{"C" + std::to_string(c)};
        for (int r = 1; r <= rows; ++r) {
            std::string text = std::to_string(r) + "/" + std::to_string(c);
            text.resize(static_cast<std::size_t>(std::max<int>(width, static_cast<int>(text.size()))), 'x');
            cells.push_back(text);
        }
        grid.push_back(std::move(cells));
    }
    return grid;
}

struct Layout {
    explicit Layout(int points) : device(TReportFont{"", 1, 0, points, 0}) {
        TReportFont font;
        font.size = points;
        engine.SetReportFont(font);
        engine.SetMessageSink([this](TMessageKind, const std::string& text) { said.push_back(text); });
        report.Prepare(engine);
        // The style "Report" is not what these layouts are about.
        report.UseStyle(nullptr);
        TReportSetup& s = report.Setup();
        s.titleLines = {"Darvenix Report"};
        s.headingLines = {"Heading A", "Heading B"};
        s.tableTitles = {""};
        s.summaryLines = {"Summary one", "Summary two", "Summary three"};
        s.versionText = "1.0.0.0";
        s.letterheadLines = {" "};
    }
    void Table(TReportGrid grid) {
        TReportSetup& s = report.Setup();
        const int rows = static_cast<int>(grid.front().size());
        s.ranges = {TCellRange{0, 1, static_cast<int>(grid.size()) - 1, rows - 1}};
        s.tables = {std::move(grid)};
    }
    void Write() {
        device = FakeDevice(engine.ReportFont());
        engine.WriteDocument(device, A4());
    }
    int Pages() const { return device.pages; }
    bool On(int page, const std::string& text) const {
        for (const auto& t : device.TextsOn(page))
            if (t.text == text) return true;
        return false;
    }
    int Count(const std::string& text) const {
        return static_cast<int>(std::count_if(device.texts.begin(), device.texts.end(),
                                              [&](const auto& t) { return t.text == text; }));
    }

    FakeDevice device;
    TPageEngine engine;
    TGridReport report;
    std::vector<std::string> said;
};

TEST(NarrowColumns, WidestColumnsGiveWayByAFifthOfTheDifference) {
    struct Case {
        std::vector<int> widths;
        int available;
        std::vector<int> expected;
        bool fits;
    };
    const Case cases[] = {
        {{100, 50, 20}, 170, {100, 50, 20}, true},   // fits already
        {{100, 50, 20}, 160, {90, 50, 20}, true},    // one step of (100 − 50) / 5
        {{200, 100}, 250, {141, 100}, true},         // 20, 16, 13, 10 pixels
        {{52, 52, 51}, 153, {51, 51, 51}, true},     // steps of at least one pixel
        {{30, 30, 30}, 80, {30, 30, 30}, false},     // all equal: no column gives way
        {{60, 40, 10}, 60, {25, 25, 10}, true},      // the two widest together once equal
        {{60, 40, 10}, 20, {10, 10, 10}, false},     // down to the narrowest, then it stops
    };
    for (const Case& c : cases) {
        std::vector<int> widths = c.widths;
        EXPECT_EQ(NarrowColumns(widths, c.available), c.fits) << c.available;
        EXPECT_EQ(widths, c.expected) << c.available;
    }
}

TEST(GridReport, WideTableAtTwelvePointsIsReducedOnceWithTheMessage) {
    Layout l(12);
    // Seven columns of 12 characters: 588 pixels at 12 points, 490 at 11.
    l.Table(Grid(7, 3, 12));
    l.Write();
    EXPECT_EQ(l.report.Setup().fittedSize, 11);
    ASSERT_EQ(l.said.size(), 1u);
    EXPECT_EQ(l.said[0], "Font size in table reduced to 11 to fit all columns");
    EXPECT_LE(l.report.Setup().columnEdges.back(), l.engine.RightPx());
    // Cells are written at the fitted size.
    const test::DrawnText* cell = l.device.Find(" " + GridCell(l.report.Setup().tables[0], 0, 1));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->font.size, 11);

    // Laying out again (margins, printing) does not repeat it ...
    l.Write();
    EXPECT_EQ(l.said.size(), 1u);
    // ... a font picked in the preview does.
    TReportFont bigger = l.engine.ReportFont();
    bigger.size = 14;
    l.engine.SetReportFont(bigger);
    l.engine.SetFontChanged(true);
    l.Write();
    ASSERT_EQ(l.said.size(), 2u);
    EXPECT_EQ(l.said[1], "Font size in table reduced to 11 to fit all columns");
    EXPECT_FALSE(l.engine.FontChanged());
}

TEST(GridReport, FontIsNotReducedBelowTenPointsAndWideColumnsAreNarrowed) {
    for (int points : {8, 10}) {
        Layout l(points);
        TReportGrid grid = Grid(5, 3, 10);
        grid[1][2] = std::string(150, 'd'); // one very long description
        l.Table(grid);
        l.Write();
        SCOPED_TRACE(points);
        EXPECT_TRUE(l.said.empty());
        EXPECT_EQ(l.report.Setup().fittedSize, points);
        const std::vector<int>& edges = l.report.Setup().columnEdges;
        ASSERT_EQ(edges.size(), 6u);
        EXPECT_LE(edges.back(), l.engine.RightPx());
        // Only the description column gave way, in steps of a fifth of its
        // difference to the next widest (608 → 496 → 406 → 334 → 277 pixels
        // at 8 points); the others keep their width.
        EXPECT_EQ(edges[2] - edges[1], points == 8 ? 277 : 243);
        const int perChar = points / 2;
        EXPECT_EQ(edges[1] - edges[0], 10 * perChar + 2 * perChar);
        EXPECT_EQ(edges[5] - edges[4], 10 * perChar + 2 * perChar);
        EXPECT_LT(edges[2] - edges[1], 150 * perChar);
        // The long cell is clipped to its column.
        const test::DrawnText* cell = l.device.Find(" " + std::string(150, 'd'));
        ASSERT_NE(cell, nullptr);
        EXPECT_TRUE(cell->clipped);
        EXPECT_EQ(cell->clipRight, edges[2]);
    }
}

TEST(GridReport, LongTableContinuesWithHeadingsAndHeaderRowAndEndsWithTheSummary) {
    Layout l(10);
    l.Table(Grid(4, 150, 4));
    l.Write();
    ASSERT_GE(l.Pages(), 3);
    const TReportSetup& s = l.report.Setup();
    for (int page = 1; page <= l.Pages(); ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(l.On(page, "Darvenix Report"), page == 1);
        EXPECT_TRUE(l.On(page, "Heading A"));
        EXPECT_TRUE(l.On(page, "Heading B"));
        EXPECT_TRUE(l.On(page, " C0"));
        EXPECT_TRUE(l.On(page, " C3"));
        EXPECT_TRUE(l.On(page, "- " + std::to_string(page) + " -"));
        EXPECT_EQ(l.On(page, "Summary one"), page == l.Pages());
        EXPECT_EQ(l.On(page, "Darvenix 1.0.0.0"), page == l.Pages());
        // On each page the table has its rules above and below the header
        // row and its closing rule, and a vertical line at every column edge
        // from the top of the header row down to the closing rule.
        int rules = 0, verticals = 0;
        for (const auto& line : l.device.lines) {
            if (line.page != page) continue;
            if (line.y1 == line.y2 && line.x1 == s.columnEdges.front() && line.x2 == s.columnEdges.back())
                ++rules;
            if (line.x1 == line.x2) ++verticals;
        }
        EXPECT_EQ(rules, 3);
        EXPECT_EQ(verticals, static_cast<int>(s.columnEdges.size()));
        const test::DrawnText* caption = nullptr;
        for (const auto& t : l.device.texts)
            if (t.page == page && t.text == " C0") caption = &t;
        ASSERT_NE(caption, nullptr);
        for (const auto& line : l.device.lines)
            if (line.page == page && line.x1 == line.x2) {
                EXPECT_EQ(line.y1, caption->y);
            }
        // Nothing but the page number reaches the bottom margin.
        for (const auto& t : l.device.TextsOn(page))
            if (t.text.rfind("- ", 0) != 0) {
                EXPECT_LE(t.y, l.engine.TextLimit()) << t.text;
            }
    }
    // Every row once, in order.
    int lastY = -1, lastPage = 0;
    for (int r = 1; r <= 150; ++r) {
        const std::string text = " " + GridCell(s.tables[0], 0, r);
        ASSERT_EQ(l.Count(text), 1) << text;
        const test::DrawnText* cell = l.device.Find(text);
        EXPECT_TRUE(cell->page > lastPage || cell->y > lastY) << text;
        lastPage = cell->page;
        lastY = cell->y;
    }
    EXPECT_EQ(l.Count(" C0"), l.Pages());
}

TEST(GridReport, LastRowMovesOnWhenTheSummaryWouldRunIntoTheFooter) {
    // Find a table that just fills the first page, then check that its last
    // row goes over together with the summary rather than the summary
    // running below the bottom margin.
    for (int rows = 20; rows < 60; ++rows) {
        Layout l(10);
        l.Table(Grid(3, rows, 4));
        l.Write();
        const auto* last = l.device.Find(" " + GridCell(l.report.Setup().tables[0], 0, rows));
        ASSERT_NE(last, nullptr);
        const auto* bottom = l.device.Find("Darvenix 1.0.0.0");
        ASSERT_NE(bottom, nullptr);
        EXPECT_EQ(bottom->page, l.Pages()) << rows;
        EXPECT_EQ(last->page, l.Pages()) << rows;
        EXPECT_LE(bottom->y, l.engine.TextLimit()) << rows;
        if (l.Pages() == 2) {
            // The first page still holds all the rows that fit.
            EXPECT_TRUE(l.device.Find(" " + GridCell(l.report.Setup().tables[0], 0, rows - 1)) != nullptr);
            return;
        }
    }
    FAIL() << "no table reached a second page";
}

TEST(GridReport, EmptyHeadingsLeaveThreeEmptyLinesBelowTheDate) {
    Layout l(10);
    l.report.Setup().headingLines = {"", ""};
    l.Table(Grid(3, 2, 4));
    l.Write();
    const test::DrawnText* date = l.device.Find(PlainLongDate(Today()));
    const test::DrawnText* header = l.device.Find(" C0");
    ASSERT_NE(date, nullptr);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->y - date->y, 4 * kLineHeight);
    // A one-page report: summary, no page number.
    EXPECT_TRUE(l.On(1, "Summary three"));
    EXPECT_FALSE(l.On(1, "- 1 -"));
}

TEST(GridReport, SecondTableFollowsWithItsTitleAndCaptions) {
    Layout l(10);
    TReportSetup& s = l.report.Setup();
    s.tables = {Grid(3, 5, 4), Grid(2, 4, 6)};
    s.tables[1][0][0] = "Second";
    s.ranges = {TCellRange{0, 1, 2, 5}, TCellRange{0, 1, 1, 4}};
    s.tableTitles = {"", "Table two"};
    l.Write();
    ASSERT_EQ(l.Pages(), 1);
    const auto* title = l.device.Find("Table two");
    const auto* caption = l.device.Find(" Second");
    const auto* lastOfFirst = l.device.Find(" " + GridCell(s.tables[0], 0, 5));
    ASSERT_TRUE(title && caption && lastOfFirst);
    EXPECT_GT(title->y, lastOfFirst->y);
    EXPECT_GT(caption->y, title->y);
    EXPECT_TRUE(l.device.Find(" " + GridCell(s.tables[1], 1, 4)) != nullptr);
    // Both tables are framed by their own rules; the summary follows the second.
    int rules = 0;
    for (const auto& line : l.device.lines)
        if (line.y1 == line.y2 && line.x1 == l.engine.LeftPx() && line.x2 < l.engine.RightPx()) ++rules;
    EXPECT_EQ(rules, 6);
    EXPECT_GT(l.device.Find("Summary one")->y, caption->y);
}

TEST(GridReport, LogoAtTheRightMarginBesideTheLetterheadAndSkippedWhenUnreadable) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "dvx-gridreport-logo";
    std::filesystem::create_directories(dir);
    const std::string logo = (dir / "ReportLogo.gif").string();
    std::ofstream(logo) << "GIF89a";

    struct Loader {
        enum { Image, Nothing, Throws } kind;
    };
    for (auto kind : {Loader::Image, Loader::Nothing, Loader::Throws}) {
        Layout l(10);
        l.Table(Grid(3, 2, 4));
        l.report.SetImageLoader([kind](const std::string&) -> std::unique_ptr<TPageImage> {
            if (kind == Loader::Throws) throw std::runtime_error("bad file");
            if (kind == Loader::Nothing) return nullptr;
            return std::make_unique<FakeImage>(200, 100);
        });
        l.report.Setup().logoFile = logo;
        l.report.Setup().letterheadLines = {"Quellstrand Engineering", "1 High Street"};
        l.Write();
        EXPECT_TRUE(l.said.empty());
        const auto* title = l.device.Find("Darvenix Report");
        ASSERT_NE(title, nullptr);
        if (kind == Loader::Image) {
            ASSERT_EQ(l.device.images.size(), 1u);
            const auto& image = l.device.images[0];
            EXPECT_EQ(image.w, 128); // 4 cm at 32 pixels per cm
            EXPECT_EQ(image.h, 64);
            EXPECT_EQ(image.x + image.w, l.engine.RightPx());
            EXPECT_EQ(image.y, l.engine.TopPx());
            EXPECT_GE(title->y, image.y + image.h); // the title starts below the logo
        } else {
            EXPECT_TRUE(l.device.images.empty());
            EXPECT_TRUE(l.On(1, "1 High Street"));
        }
    }
    std::filesystem::remove_all(dir);
}

TEST(GridReport, LetterheadFromTheProgramFolderElseTheDataFolderElseOneBlank) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "dvx-gridreport-letterhead";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "program");
    std::filesystem::create_directories(dir / "data");
    FixFolders({(dir / "program").string() + "/", dir.string() + "/", (dir / "data").string() + "/"});
    const std::string program = (dir / "program").string() + "/";
    const std::string data = (dir / "data").string() + "/";

    TGridReport report;
    report.SetLetterhead(program + "LetterHead.txt", program + "ReportLogo.gif", false, "", "", 4, 4);
    EXPECT_EQ(report.Setup().letterheadLines, std::vector<std::string>{" "});
    EXPECT_EQ(report.Setup().logoFile, data + "ReportLogo.gif");

    // The data folder's file, written on another system: Latin-1, CR LF.
    std::ofstream(data + "Letterhead.txt", std::ios::binary) << "M\xFCller & Co\r\nK\xF6ln\r\n";
    report.SetLetterhead(program + "LetterHead.txt", program + "ReportLogo.gif", false, "", "", 4, 4);
    EXPECT_EQ(report.Setup().letterheadLines,
              (std::vector<std::string>{"M\u00FCller & Co", "K\u00F6ln"}));

    // The program folder's own files win.
    std::ofstream(program + "LetterHead.txt") << "Own letterhead\n\nThird line";
    std::ofstream(program + "ReportLogo.gif") << "x";
    report.SetLetterhead(program + "LetterHead.txt", program + "ReportLogo.gif", true, "Serif", "", 5, 3);
    EXPECT_EQ(report.Setup().letterheadLines,
              (std::vector<std::string>{"Own letterhead", "", "Third line"}));
    EXPECT_EQ(report.Setup().logoFile, program + "ReportLogo.gif");
    EXPECT_TRUE(report.Setup().logoOnLeft);
    EXPECT_EQ(report.Setup().firstLineFont, "Serif");
    EXPECT_EQ(report.Setup().logoWidthCm, 5);
    EXPECT_EQ(report.Setup().letterheadOffsetCm, 3);
    std::filesystem::remove_all(dir);
}

class CircuitReportTest : public ::testing::Test {
protected:
    TProjectState state_; // the test's own tables, liquid and item counter
    const TProjectContext project = state_.Context();

    std::unique_ptr<TPipe> Pipe(int number, double flow) {
        auto pipe = std::make_unique<TPipe>(project);
        pipe->Number = number;
        pipe->Description = "Riser " + std::to_string(number);
        pipe->Flow = flow;
        pipe->Length = 10;
        pipe->SetBore(project, BoreForFlow(project.Tables, flow * 1000));
        return pipe;
    }
};

// A project by Crane K or 3-K says so under its results; one by equivalent
// length prints the lines it always printed. A valve's coefficient is
// printed as the grid shows it: Kv, or Cv under US units.
TEST_F(CircuitReportTest, SummaryStatesAMethodOtherThanTheDefaultAndValvesFollowTheUnits) {
    TCircuit circuit(project);
    circuit.Append(Pipe(1, 0.002));
    circuit.Append(std::make_unique<TFitting>(project, 0));
    auto valve = std::make_unique<TValve>(project);
    valve->Kv = 10;
    circuit.Append(std::move(valve));
    const struct {
        TFittingMethod Method;
        bool Solve;
        std::size_t Lines;
        const char* Last;
    } cases[] = {
        {TFittingMethod::EquivalentLength, false, 1, "Index circuit total pressure drop \u00A4\u00A4\u00A4\u00A4 kPa"},
        {TFittingMethod::EquivalentLength, true, 3, nullptr},
        {TFittingMethod::CraneK, false, 2, "Fittings calculated by the Crane K method"},
        {TFittingMethod::CraneK, true, 4, "Fittings calculated by the Crane K method"},
        {TFittingMethod::ThreeK, true, 4, "Fittings calculated by the 3-K method"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Method) * 10 + c.Solve);
        circuit.FittingMethod = c.Method;
        project.Tables.FittingMethod = c.Method;
        circuit.Solved = false;
        if (c.Solve) circuit.Calculate(project, false);
        const std::vector<std::string> lines = CircuitSummaryLines(circuit, project.Liquid, project);
        ASSERT_EQ(lines.size(), c.Lines);
        if (c.Last != nullptr) EXPECT_EQ(lines.back(), c.Last);
        else EXPECT_EQ(lines.back(), "System fluid: " + project.Liquid->GetDescription() + " \u00B0C");
    }
    const int qty = 3; // "#", "Description", "Size, mm", " Qty": groups off
    EXPECT_EQ(CircuitReportGrid(circuit, project, false, true)[qty][3], "10");
    SetDisplayUnits(TUnitChoice::FromPreset(upUS));
    const std::string cv = CircuitReportGrid(circuit, project, false, true)[qty][3];
    SetDisplayUnits(TUnitChoice());
    EXPECT_EQ(cv, "11.56");
}

TEST_F(CircuitReportTest, GridAndSummaryAsTheMainWindowShowsThem) {
    TCircuit circuit(project);
    circuit.Heading1 = "Plant room";
    circuit.Heading2 = "Level 2";
    for (int i = 1; i <= 3; ++i) circuit.Append(Pipe(i, 0.002 * i));

    TReportSetup setup;
    FillCircuitReport(setup, circuit, project, false, true, project.Liquid);
    ASSERT_EQ(setup.tables.size(), 1u);
    const TReportGrid& grid = setup.tables[0];
    ASSERT_EQ(grid.size(), 7u); // groups off, types on
    EXPECT_EQ(grid[0][0], "#");
    EXPECT_EQ(grid[3][0], " Qty");
    EXPECT_EQ(grid[6][0], "Type");
    EXPECT_EQ(grid[1][2], "Riser 2");
    EXPECT_EQ(grid[4][3], CellText(&circuit.Item(2), gcFlow, project));
    EXPECT_EQ(setup.ranges[0].lastColumn, 6);
    EXPECT_EQ(setup.ranges[0].lastRow, 3);
    EXPECT_EQ(setup.titleLines, std::vector<std::string>{"Darvenix Report"});
    EXPECT_EQ(setup.headingLines, (std::vector<std::string>{"Plant room", "Level 2"}));

    // Not solved: one line without a number.
    EXPECT_EQ(setup.summaryLines,
              std::vector<std::string>{"Index circuit total pressure drop \u00A4\u00A4\u00A4\u00A4 kPa"});

    circuit.Calculate(project, false);
    ASSERT_TRUE(circuit.Solved);
    FillCircuitReport(setup, circuit, project, true, false, project.Liquid);
    EXPECT_EQ(setup.tables[0].size(), 8u); // groups on, types off
    ASSERT_EQ(setup.summaryLines.size(), 3u);
    EXPECT_EQ(setup.summaryLines[0],
              FormatFloat("Index circuit total pressure drop %0.4g kPa", circuit.TotalDP / 1000));
    EXPECT_NE(setup.summaryLines[0].find("kPa"), std::string::npos);
    EXPECT_EQ(setup.summaryLines[1], FormatFloat("Total system volume %0.4g m\u00B3", circuit.TotalVolume));
    EXPECT_EQ(setup.summaryLines[2], "System fluid: " + project.Liquid->GetDescription() + " \u00B0C");

    // An empty circuit prints its one empty row.
    TCircuit empty(project);
    FillCircuitReport(setup, empty, project, false, true, project.Liquid);
    EXPECT_EQ(setup.tables[0][0].size(), 2u);
    EXPECT_EQ(setup.ranges[0].lastRow, 1);
    EXPECT_EQ(setup.tables[0][1][1], "");
}

TEST_F(CircuitReportTest, AMixtureCloseToFreezingIsSaidUnderTheSystemFluid) {
    TCircuit circuit(project);
    circuit.Append(Pipe(1, 0.002));
    project.Liquid->WaterAdditive = 2; // propylene glycol, 30 %: freezes at −13.1 °C
    project.Liquid->AdditiveVolume = 0.3;
    project.Liquid->SetT(-12);
    circuit.Calculate(project, false);
    TReportSetup setup;
    FillCircuitReport(setup, circuit, project, false, true, project.Liquid);
    ASSERT_EQ(setup.summaryLines.size(), 4u);
    EXPECT_EQ(setup.summaryLines[3], "Freezing risk: -12.0 °C is at or below the freezing point of "
                                     "Water (30% Propylene Glycol) (-13.1 °C) plus the 2 K margin");
    // With less margin, or warmer, the report is as it always was.
    project.Tables.FreezingMargin = 0.5;
    FillCircuitReport(setup, circuit, project, false, true, project.Liquid);
    EXPECT_EQ(setup.summaryLines.size(), 3u);
}

TEST_F(CircuitReportTest, AMaterialWithItsOwnBoresIsNamedWithItsLabels) {
    TMaterialTable tube;
    tube.Name = "Test Copper";
    tube.Roughness = 1.5e-6;
    tube.File = "TestCopper.ini";
    tube.Bores = {{"1\"", 0.026035, 0.022, 0.9, -1, 0.2}, {"¾\"", 0.019939, 0.024, 0.38, -1, 0.15}};
    project.Tables.Materials.push_back(tube);
    TCircuit circuit(project);
    circuit.Append(Pipe(1, 0.0003));
    ASSERT_TRUE(ChangeCircuitMaterial(project, circuit, MaterialCount));
    circuit.Calculate(project, false);
    TReportSetup setup;
    FillCircuitReport(setup, circuit, project, false, true, project.Liquid);
    EXPECT_EQ(setup.tables[0][2][1], "\u00be\""); // the size column: the material's label
    ASSERT_EQ(setup.summaryLines.size(), 4u);
    EXPECT_EQ(setup.summaryLines[3], "Pipe material: Test Copper, roughness 0.0015 mm");
    // Back in steel the report is as it always was.
    ASSERT_TRUE(ChangeCircuitMaterial(project, circuit, pmSteel));
    circuit.Calculate(project, false);
    FillCircuitReport(setup, circuit, project, false, true, project.Liquid);
    EXPECT_EQ(setup.summaryLines.size(), 3u);
    EXPECT_EQ(setup.tables[0][2][1], "20");
}

TEST_F(CircuitReportTest, HundredFiftyItemsOnSeveralPagesSummaryOnlyOnTheLast) {
    TCircuit circuit(project);
    for (int i = 1; i <= 150; ++i) circuit.Append(Pipe(i, 0.001 + 0.0001 * (i % 40)));
    circuit.Calculate(project, false);
    Layout l(10);
    FillCircuitReport(l.report.Setup(), circuit, project, false, true, project.Liquid);
    l.Write();
    ASSERT_GE(l.Pages(), 3);
    const std::string total = l.report.Setup().summaryLines[0];
    for (int page = 1; page <= l.Pages(); ++page) {
        EXPECT_TRUE(l.On(page, " Description")) << page;
        EXPECT_EQ(l.On(page, total), page == l.Pages()) << page;
    }
    EXPECT_EQ(l.Count(" Riser 150"), 1);
    EXPECT_EQ(l.Count(" Riser 1"), 1);
}

} // namespace
} // namespace dvx
