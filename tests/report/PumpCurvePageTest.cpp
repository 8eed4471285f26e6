// SPDX-License-Identifier: GPL-3.0-or-later
// The pump and system curve as the circuit report's last page: there only
// for a project with pump settings, after the summary, inside the margins.
#include "FakeCanvas.h"
#include "engine/hydraulics/ProjectContext.h"

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "presentation/report/CircuitReport.h"
#include "presentation/report/GridReport.h"
#include "presentation/report/PumpCurvePage.h"
#include "presentation/ui/LabelPlacement.h"
#include "presentation/ui/PumpSelectionLines.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dvx {
namespace {

using test::FakeDevice;

class PumpPage : public ::testing::Test {
protected:
    TProjectState state_; // the test's own tables, liquid and item counter
    const TProjectContext project = state_.Context();
    void SetUp() override {
        for (int i = 0; i < 4; ++i) {
            auto pipe = std::make_unique<TPipe>(project);
            pipe->Flow = 0.005;
            pipe->Length = 20;
            pipe->SetBore(project, BoreForFlow(project.Tables, 5));
            circuit.Append(std::move(pipe));
        }
        circuit.Calculate(project, false);
        TReportFont font;
        font.size = 10;
        engine.SetReportFont(font);
        report.Prepare(engine);
        report.UseStyle(nullptr);
    }

    // A pump through twice the circuit's head at no flow and its design head
    // at 1.2 times the design flow.
    void AddPump() {
        const double h = circuit.TotalDP / (project.Liquid->ro * 9.80665);
        circuit.Pump.Points = {{0, 2 * h, 0}, {0.003, 1.9 * h, 0}, {0.008, 0.8 * h, 0}};
    }
    void Write() {
        FillCircuitReport(report.Setup(), circuit, project, false, true, project.Liquid);
        device = FakeDevice(engine.ReportFont());
        // A4 at 32 pixels per cm: 672 × 950 pixels.
        engine.WriteDocument(device, TDeviceSetup{MakePixelsPerCm(32, 32), 672, 950, 18});
    }
    int Count(int page, const std::string& text) const {
        const auto texts = device.TextsOn(page);
        return static_cast<int>(std::count_if(texts.begin(), texts.end(), [&](const auto& t) { return t.text == text; }));
    }

    TCircuit circuit{project};
    TPageEngine engine;
    TGridReport report;
    FakeDevice device;
};

TEST(PumpPageText, WrapsAtBlanksWithinTheWidth) {
    FakeDevice device(TReportFont{"", 1, 0, 8, 0}); // 4 pixels a character
    struct Case {
        std::string text;
        int width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"one two three", 100, {"one two three"}},
        {"one two three", 28, {"one two", "three"}},
        {"one two three", 12, {"one", "two", "three"}},
        {"unbreakable", 8, {"unbreakable"}},
        {"", 20, {""}},
    };
    for (const Case& c : cases) EXPECT_EQ(WrapText(device, c.text, c.width), c.lines) << c.text << " " << c.width;
}

TEST_F(PumpPage, NoPumpNoPage) {
    Write();
    EXPECT_FALSE(report.Setup().closingPage);
    EXPECT_EQ(device.pages, 1);
    EXPECT_EQ(device.Find(kPumpPageTitle), nullptr);
    EXPECT_EQ(device.Find("- 1 -"), nullptr); // a one-page report carries no number
}

TEST_F(PumpPage, PlotFollowsTheSummaryOnAPageOfItsOwn) {
    AddPump();
    Write();
    ASSERT_EQ(device.pages, 2);
    const std::string total = report.Setup().summaryLines.front();
    EXPECT_EQ(Count(1, total), 1);
    EXPECT_EQ(Count(2, total), 0);
    EXPECT_EQ(Count(1, " Description"), 1);
    EXPECT_EQ(Count(2, " Description"), 0); // no table on the plot's page
    EXPECT_EQ(Count(1, "- 1 -"), 1);
    EXPECT_EQ(Count(2, "- 2 -"), 1);
    for (const char* text : {kPumpPageTitle, "Flow (l/s)", "Head (m)"})
        EXPECT_EQ(Count(2, text), 1) << text;

    const TPumpAnalysis a = AnalysePump(project, circuit, false, circuit.Pump);
    ASSERT_TRUE(a.Duty && a.Duty->Found);
    const TPumpChart chart = ChartOf(a, circuit.Pump);
    EXPECT_EQ(Count(2, chart.DutyLabel), 1);
    EXPECT_EQ(Count(2, chart.DesignLabel), 1);
    // The key and the result lines, each whole when its words are joined
    // again, and no text past the right margin.
    std::string page;
    for (const auto& t : device.TextsOn(2)) {
        page += t.text + " ";
        EXPECT_LE(t.x + device.TextWidth(t.text), engine.RightPx() + 1) << t.text;
    }
    for (const std::string& line : SummaryLines(a)) {
        std::string words;
        for (const std::string& w : WrapText(device, line, engine.RightPx() - engine.LeftPx())) words += w + " ";
        EXPECT_NE(page.find(words), std::string::npos) << line;
    }
    EXPECT_NE(page.find("Full line: system curve."), std::string::npos);

    // Every line of the plot inside the margins and above the footer.
    int plotted = 0;
    for (const auto& l : device.lines) {
        if (l.page != 2) continue;
        ++plotted;
        for (int x : {l.x1, l.x2}) {
            EXPECT_GE(x, engine.LeftPx());
            EXPECT_LE(x, engine.RightPx());
        }
        for (int y : {l.y1, l.y2}) EXPECT_LE(y, engine.TextLimit());
    }
    EXPECT_GT(plotted, 60); // the curves are drawn, not only the axes
}

TEST_F(PumpPage, LabelsCoverNoLineAndEfficiencyHasAnAxisOfItsOwn) {
    AddPump();
    circuit.Pump.Points[1].Efficiency = 0.55;
    circuit.Pump.Points[2].Efficiency = 0.7;
    Write();
    ASSERT_EQ(device.pages, 2);
    EXPECT_EQ(Count(2, "Efficiency (%)"), 1);
    EXPECT_EQ(Count(2, "100"), 1);
    std::string page;
    for (const auto& t : device.TextsOn(2)) page += t.text + " ";
    EXPECT_NE(page.find("efficiency (right axis)"), std::string::npos);

    const TPumpAnalysis a = AnalysePump(project, circuit, false, circuit.Pump);
    const TPumpChart chart = ChartOf(a, circuit.Pump);
    ASSERT_EQ(chart.Efficiency.size(), 2u);
    // The boxes of the two labels as drawn, a pixel in from their edges.
    std::vector<TPlotBox> labels;
    for (const auto& t : device.TextsOn(2))
        if (t.text == chart.DutyLabel || t.text == chart.DesignLabel) {
            const int perChar = t.font.size / 2 + ((t.font.style & fsBold) ? 1 : 0);
            labels.push_back({t.x + 1.0, t.y + 1.0, t.text.size() * perChar - 2.0, t.font.size * 3 / 2 - 2.0});
        }
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_FALSE(labels[0].Overlaps(labels[1]));
    for (const TPlotBox& label : labels)
        for (const auto& l : device.lines) {
            if (l.page != 2) continue;
            EXPECT_FALSE(label.Crosses({double(l.x1), double(l.y1)}, {double(l.x2), double(l.y2)}))
                << "line " << l.x1 << "," << l.y1 << " " << l.x2 << "," << l.y2 << " through the label at "
                << label.Left << "," << label.Top;
        }
}

// The selection's figures and curves are printed for a project that uses a
// selection; a project that uses none prints the page it always has, even
// where its points would give a best efficiency point.
TEST_F(PumpPage, SelectionFiguresOnlyWithASelection) {
    AddPump();
    circuit.Pump.Points[1].Efficiency = 0.55;
    circuit.Pump.Points[2].Efficiency = 0.7;
    auto pageText = [&] {
        Write();
        std::string page;
        for (const auto& t : device.TextsOn(2)) page += t.text + " ";
        return page;
    };
    const std::string plain = pageText();
    const std::size_t plainLines = device.lines.size();
    for (const char* absent : {"BEP", "Best efficiency", "Triangle", "NPSH", "one pump fewer"})
        EXPECT_EQ(plain.find(absent), std::string::npos) << absent;

    TPumpSelection& s = circuit.Pump.Selection;
    s.Pumps = 2;
    s.Standby = true;
    s.NpshRequired = {{0, 1}, {0.02, 3}};
    s.SuctionItems = {circuit.Items.front()->Number};
    const std::string selected = pageText();
    const TPumpAnalysis a = AnalysePump(project, circuit, false, circuit.Pump);
    const TPumpChart chart = ChartOf(a, circuit.Pump);
    ASSERT_TRUE(chart.Bep && chart.StandbyDuty);
    for (const std::string& label : {chart.BepLabel, chart.StandbyLabel, std::string("NPSHa"), std::string("NPSHr")})
        EXPECT_EQ(Count(2, label), 1) << label;
    for (const std::string& line : SelectionLines(a, circuit.Pump)) {
        std::string words;
        for (const std::string& w : WrapText(device, line, engine.RightPx() - engine.LeftPx())) words += w + " ";
        EXPECT_NE(selected.find(words), std::string::npos) << line;
    }
    EXPECT_NE(selected.find("Triangle: best efficiency point."), std::string::npos);
    EXPECT_GT(device.lines.size(), plainLines + 40); // the second curve, the NPSH curves, the region
    for (const auto& l : device.lines)
        if (l.page == 2)
            for (int x : {l.x1, l.x2}) {
                EXPECT_GE(x, engine.LeftPx());
                EXPECT_LE(x, engine.RightPx());
            }
}

TEST_F(PumpPage, UnsolvedOrPumpWithoutDutyStillGivesThePageWithTheReason) {
    circuit.Pump.Points = {{0, 1, 0}, {0.001, 0.5, 0}}; // two points: no curve yet
    Write();
    ASSERT_EQ(device.pages, 2);
    EXPECT_EQ(Count(2, "A pump curve needs at least 3 points."), 1);
}

} // namespace
} // namespace dvx
