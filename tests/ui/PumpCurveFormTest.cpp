// SPDX-License-Identifier: GPL-3.0-or-later
// The pump window's logic: the point table read and written in display
// units, and the plot and texts of an analysis.

#include "presentation/ui/PumpChart.h"
#include "ui/TestProject.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/units/UnitChoice.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(PumpRows, TableTextBecomesPointsInSI) {
    const TPumpRowsResult r = ReadPumpRows({{"0", "32", ""}, {" ", "", ""}, {"4.5", "30.5", "62.5"}, {"9", "25", " "}});
    ASSERT_TRUE(r.Error.empty()) << r.Error;
    ASSERT_EQ(r.Points.size(), 3u); // the blank row is skipped
    EXPECT_EQ(r.Points[1], (TPumpPoint{0.0045, 30.5, 0.625}));
    EXPECT_EQ(r.Points[2].Efficiency, 0);
    // Back to the same text.
    const std::vector<TPumpRowText> rows = PumpRowsOf(r.Points);
    EXPECT_EQ(rows[1].Flow, "4.5");
    EXPECT_EQ(rows[1].Head, "30.5");
    EXPECT_EQ(rows[1].Efficiency, "62.5");
    EXPECT_EQ(rows[0].Efficiency, "");
}

TEST(PumpRows, UneditedRowsGiveTheShownPointsExactly) {
    const std::vector<TPumpPoint> shown = {{0.0012345678, 31.23456789, 0.6543219}, {0.0045678912, 27.1, 0}};
    std::vector<TPumpRowText> rows = PumpRowsOf(shown);
    ASSERT_EQ(rows[0].Flow, "1.235"); // the table shows four digits
    EXPECT_EQ(ReadPumpRows(rows, shown).Points, shown);
    // Without knowing what was shown, the text is all there is.
    EXPECT_NE(ReadPumpRows(rows).Points, shown);
    // The first row deleted, a new one typed below: the kept row is exact,
    // the typed one is what it says.
    rows.erase(rows.begin());
    rows.push_back({"9", "12", ""});
    const TPumpRowsResult r = ReadPumpRows(rows, shown);
    ASSERT_EQ(r.Points.size(), 2u);
    EXPECT_EQ(r.Points[0], shown[1]);
    EXPECT_EQ(r.Points[1], (TPumpPoint{0.009, 12, 0}));
    // An edited row is read from its text.
    rows[0].Head = "27.5";
    EXPECT_EQ(ReadPumpRows(rows, shown).Points[0].Head, 27.5);
}

TEST(PumpRows, TheFirstBadRowIsNamed) {
    struct Case {
        std::vector<TPumpRowText> rows;
        const char* error;
    };
    const Case cases[] = {
        {{{"1", "2", ""}, {"1,5", "2", ""}}, "Row 2: the flow is not a number."},
        {{{"1", "", ""}}, "Row 1: the head is not a number."},
        {{{"", "", ""}, {"", "", "50"}}, "Row 2: the flow is not a number."},
        {{{"1", "2", "101"}}, "Row 1: the efficiency must be 0 to 100 %."},
        {{{"1", "2", "-1"}}, "Row 1: the efficiency must be 0 to 100 %."},
        {{{"1", "2", "x"}}, "Row 1: the efficiency must be 0 to 100 %."},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadPumpRows(c.rows).Error, c.error);

    // No more points than a project file can hold and read back.
    std::vector<TPumpRowText> many(kMaxPumpPoints, {"1", "2", ""});
    EXPECT_EQ(ReadPumpRows(many).Error, "");
    many.push_back({"1", "2", ""});
    EXPECT_EQ(ReadPumpRows(many).Error, "At most 1000 pump points.");
}

TEST(PumpChart, AxisEndsAreRound) {
    const std::pair<double, double> cases[] = {{0, 1}, {0.7, 1}, {1, 1}, {1.2, 2}, {2.2, 2.5}, {3, 5}, {7, 10},
                                               {42, 50}, {0.031, 0.05}};
    for (const auto& [v, expected] : cases) EXPECT_DOUBLE_EQ(NiceCeiling(v), expected) << v;
    const std::pair<double, double> steps[] = {{1, 0.2}, {10, 2}, {25, 5}, {50, 10}, {0.05, 0.01}};
    for (const auto& [end, step] : steps) {
        EXPECT_DOUBLE_EQ(TickStep(end), step) << end;
        const double lines = end / step;
        EXPECT_TRUE(lines >= 4 && lines <= 10) << end;
    }
    // An axis ends at the first grid line that holds the data, not at the
    // next round number: a head of 33.6 m is drawn to 35 m, not 50 m.
    const std::pair<double, double> ends[] = {{33.6, 35}, {21, 25}, {6.5, 7}, {35, 35}, {0.81, 1}, {1.01, 1.2},
                                              {0, 1}, {-3, 1}};
    for (const auto& [v, end] : ends) {
        EXPECT_NEAR(AxisEnd(v), end, 1e-12) << v;
        const double lines = AxisEnd(v) / TickStep(AxisEnd(v));
        EXPECT_TRUE(lines >= 4 && lines <= 8) << v;
    }
}

class PumpChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        dvx::test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        dvx::test::TestProject().Liquid->ro = 1000;
        auto user = std::make_unique<TUser>(dvx::test::TestProject());
        user->PressureDrop = 98066.5; // 10 m of water at 5 l/s
        user->Flow = 0.005;
        circuit.Append(std::move(user));
        circuit.Calculate(dvx::test::TestProject(), false);
    }
    TCircuit circuit{dvx::test::TestProject()};
};

TEST_F(PumpChartTest, ChartAndTextsInDisplayUnits) {
    // H = 20 - 0.4·Q² (Q in l/s) meets 10·(Q/5)² = 0.4·Q² at Q = 5 l/s, 10 m.
    circuit.Pump.Points = {{0, 20, 0}, {0.004, 13.6, 0.6}, {0.006, 5.6, 0.7}};
    const TPumpAnalysis a = AnalysePump(dvx::test::TestProject(), circuit, false, circuit.Pump);
    const TPumpChart chart = ChartOf(a, circuit.Pump);
    ASSERT_EQ(chart.System.size(), 41u);
    EXPECT_NEAR(chart.System.back().X, 6.5, 1e-12);
    EXPECT_NEAR(chart.System.back().Y, 16.9, 1e-9);
    ASSERT_TRUE(chart.Design && chart.Duty);
    EXPECT_NEAR(chart.Design->X, 5, 1e-12);
    EXPECT_NEAR(chart.Design->Y, 10, 1e-12);
    EXPECT_NEAR(chart.Duty->X, 5, 1e-6);
    EXPECT_NEAR(chart.Duty->Y, 10, 1e-6);
    EXPECT_EQ(chart.PumpPoints.size(), 3u);
    EXPECT_EQ(chart.PumpCurve.front().X, 0);
    EXPECT_NEAR(chart.PumpCurve.back().X, 6, 1e-12);
    EXPECT_EQ(chart.MaxX, 7); // 6.5 l/s
    EXPECT_EQ(chart.MaxY, 25); // 20 m and room for the labels
    EXPECT_EQ(chart.DutyLabel, "Duty 5 l/s, 10 m");
    EXPECT_EQ(DesignText(a), "Design point: 5 l/s, 10 m (98.07 kPa)");
    EXPECT_EQ(FitText(a), "Pump: H = 20 - 0.4 Q² (H in m, Q in l/s), residual 0.000 m");
    // Efficiency 65 % at 5 l/s: 1000·9.80665·0.005·10 / 0.65 W.
    EXPECT_EQ(DutyText(a), "Duty point: 5 l/s, 10 m (98.07 kPa), 1.000 × design flow; efficiency 65.0 %, "
                           "shaft power 0.754 kW");
}

TEST_F(PumpChartTest, UsCustomaryUnitsInTheTableThePlotAndTheTexts) {
    // The same pump and circuit as above, shown in gpm, ft of head and psi:
    // 5 l/s = 5·60/3.785411784 gpm = 79.25 gpm, 10 m = 32.81 ft,
    // 98 066.5 Pa = 14.22 psi.
    circuit.Pump.Points = {{0, 20, 0}, {0.004, 13.6, 0.6}, {0.006, 5.6, 0.7}};
    SetDisplayUnits(TUnitChoice::FromPreset(upUS));
    const TPumpAnalysis a = AnalysePump(dvx::test::TestProject(), circuit, false, circuit.Pump);
    const TPumpChart chart = ChartOf(a, circuit.Pump);
    const std::string duty = DutyText(a);
    const std::string fit = FitText(a);
    const std::vector<TPumpRowText> rows = PumpRowsOf(circuit.Pump.Points);
    const TPumpRowsResult typed = ReadPumpRows({{"79.25", "32.81", ""}});
    const std::string flowAxis = FlowAxisTitle();
    const std::string headAxis = HeadAxisTitle();
    SetDisplayUnits(TUnitChoice());

    ASSERT_TRUE(chart.Duty);
    EXPECT_NEAR(chart.Duty->X, 0.005 * 60 / 3.785411784e-3, 1e-4);
    EXPECT_NEAR(chart.Duty->Y, 10 / 0.3048, 1e-4);
    EXPECT_EQ(chart.DutyLabel, "Duty 79.25 gpm, 32.81 ft");
    EXPECT_EQ(duty.substr(0, 43), "Duty point: 79.25 gpm, 32.81 ft (14.22 psi)");
    // 754.4 W (0.754 kW in SI) is 1.01 mechanical horsepower.
    EXPECT_NE(duty.find("shaft power 1.01 hp"), std::string::npos) << duty;
    // H = 20 m − 0.4 m/(l/s)² · Q² is 65.62 ft at no flow.
    EXPECT_EQ(fit.substr(0, 16), "Pump: H = 65.62 ");
    EXPECT_NE(fit.find("(H in ft, Q in gpm)"), std::string::npos) << fit;
    EXPECT_EQ(rows[1].Flow, "63.4"); // 4 l/s
    EXPECT_EQ(rows[1].Head, "44.62"); // 13.6 m
    ASSERT_EQ(typed.Points.size(), 1u);
    EXPECT_NEAR(typed.Points[0].Flow, 79.25 * 3.785411784e-3 / 60, 1e-15);
    EXPECT_NEAR(typed.Points[0].Head, 32.81 * 0.3048, 1e-12);
    EXPECT_EQ(flowAxis, "Flow (gpm)");
    EXPECT_EQ(headAxis, "Head (ft)");
    EXPECT_EQ(FlowAxisTitle(), "Flow (l/s)");
    EXPECT_EQ(HeadAxisTitle(), "Head (m)");
}

TEST_F(PumpChartTest, WithoutAPumpOnlyTheCurveAndItsMessages) {
    TPumpAnalysis a = AnalysePump(dvx::test::TestProject(), circuit, false, circuit.Pump);
    TPumpChart chart = ChartOf(a, circuit.Pump);
    EXPECT_EQ(chart.System.size(), 41u);
    EXPECT_TRUE(chart.PumpCurve.empty());
    EXPECT_FALSE(chart.Duty);
    EXPECT_EQ(SummaryLines(a), std::vector<std::string>{"Design point: 5 l/s, 10 m (98.07 kPa)"});

    circuit.Solved = false;
    a = AnalysePump(dvx::test::TestProject(), circuit, false, circuit.Pump);
    chart = ChartOf(a, circuit.Pump);
    EXPECT_TRUE(chart.System.empty());
    EXPECT_FALSE(chart.Design);
    EXPECT_EQ(SummaryLines(a), std::vector<std::string>{"Calculate the circuit first."});
}

} // namespace
} // namespace dvx
