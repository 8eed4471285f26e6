// SPDX-License-Identifier: GPL-3.0-or-later
// The pump window's selection without its widgets: the NPSH column of the
// point table, typed cells shown as stored ones, the selection fields read
// and refused, the selection's figures in the display units, and its part of
// the plot.

#include "presentation/ui/PumpChart.h"
#include "engine/units/UnitView.h"
#include "ui/TestProject.h"
#include "presentation/ui/PumpSelectionFields.h"
#include "presentation/ui/PumpSelectionLines.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/units/UnitChoice.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dvx {
namespace {

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(PumpTableNpsh, RowsGiveNpshPointsSortedByFlow) {
    struct Case {
        const char* name;
        std::vector<TPumpRowText> rows;
        std::vector<TNpshPoint> npsh;
        std::size_t points;
        std::string error;
    };
    const Case cases[] = {
        {"beside the pump points", {{"0", "20", "", "2"}, {"4", "16", "", "3"}, {"8", "4", ""}},
         {{0, 2}, {0.004, 3}}, 3, ""},
        {"a row of its own, given out of order",
         {{"0", "20", ""}, {"4", "16", ""}, {"8", "4", ""}, {"6", "", "", "5.5"}, {"2", " ", "", "2.5"}},
         {{0.002, 2.5}, {0.006, 5.5}}, 3, ""},
        {"negative", {{"0", "20", "", "-1"}}, {}, 0, "Row 1: the NPSH required is not a number of 0 or more."},
        {"not a number", {{"0", "20", "", "x"}}, {}, 0, "Row 1: the NPSH required is not a number of 0 or more."},
        {"no flow", {{"", "", "", "2"}}, {}, 0, "Row 1: the flow is not a number."},
        {"two at one flow", {{"4", "16", "", "3"}, {"4", "", "", "3.5"}}, {}, 0,
         "Two NPSH required values are given at the flow 4 l/s."},
    };
    for (const Case& c : cases) {
        const TPumpRowsResult r = ReadPumpRows(c.rows);
        EXPECT_EQ(r.Error, c.error) << c.name;
        if (!c.error.empty()) continue;
        EXPECT_EQ(r.Points.size(), c.points) << c.name;
        ASSERT_EQ(r.Npsh.size(), c.npsh.size()) << c.name;
        for (std::size_t i = 0; i < c.npsh.size(); ++i) {
            EXPECT_NEAR(r.Npsh[i].Flow, c.npsh[i].Flow, 1e-15) << c.name;
            EXPECT_EQ(r.Npsh[i].Required, c.npsh[i].Required) << c.name;
        }
    }
}

TEST(PumpTableNpsh, StoredPointsComeBackExactlyFromTheirRows) {
    const std::vector<TPumpPoint> points = {{0, 20.123456, 0}, {0.0041234567, 16.0987654, 0.61234567}};
    const std::vector<TNpshPoint> npsh = {{0.0041234567, 2.345678}, {0.0061111111, 4.0000001}};
    const std::vector<TPumpRowText> rows = PumpRowsOf(points, npsh);
    ASSERT_EQ(rows.size(), 3u); // the second NPSH point has a row of its own
    EXPECT_EQ(rows[1].Npsh, "2.346");
    EXPECT_EQ(rows[2].Head, "");
    const TPumpRowsResult r = ReadPumpRows(rows, points, npsh);
    EXPECT_EQ(r.Error, "");
    EXPECT_EQ(r.Points, points);
    EXPECT_EQ(r.Npsh, npsh);
}

// A typed cell shows the digits a stored point shows, in either unit system.
TEST(PumpTableNpsh, TypedCellsReadAsStoredOnes) {
    struct Case {
        int column;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{0, "7.000", "7"},     {1, "19.50", "19.5"}, {0, "12.3456", "12.35"},
                          {2, "62.50", "62.5"},  {3, "2.10", "2.1"},   {1, "abc", "abc"}};
    for (const Case& c : cases) {
        const std::string shown = PumpCellText(c.column, c.typed);
        EXPECT_EQ(shown, c.shown) << c.typed;
        if (c.column > 1 || shown == "abc") continue;
        // The point read from what is shown is shown so once stored.
        TPumpRowText row{"1", "1", ""};
        (c.column == 0 ? row.Flow : row.Head) = shown;
        const TPumpRowsResult read = ReadPumpRows({row});
        ASSERT_EQ(read.Points.size(), 1u);
        const TPumpRowText stored = PumpRowsOf(read.Points).front();
        EXPECT_EQ(c.column == 0 ? stored.Flow : stored.Head, shown) << c.typed;
    }
    SetDisplayUnits(TUnitChoice::FromPreset(upUS));
    const std::string flow = PumpCellText(0, "79.250");
    const std::string head = PumpCellText(1, "32.810");
    SetDisplayUnits(TUnitChoice());
    EXPECT_EQ(flow, "79.25");
    EXPECT_EQ(head, "32.81");
}

TEST(SelectionFields, UntouchedFieldsKeepTheStoredValuesExactly) {
    TPumpSelection s;
    s.Speed = 0.912345678;
    s.SuctionHeight = -1.23456789;
    s.SurfacePressure = 95432.1234;
    s.VapourPressure = 1234.5678;
    s.NpshMargin = 0.75;
    s.HoursPerYear = 4321.5;
    s.PricePerKWh = 0.123456;
    s.MotorEfficiency = 0.912345;
    s.SuctionItems = {3, 7};
    s.NpshRequired = {{0.001, 2}};
    const TSelectionFields fields = SelectionFieldsOf(s, LiquidDensity(dvx::test::TestProject().Liquid));
    EXPECT_EQ(fields.Speed, "91.23");
    EXPECT_EQ(fields.SuctionItems, "3, 7");
    const TSelectionRead read = ReadSelectionFields(fields, s, LiquidDensity(dvx::test::TestProject().Liquid));
    EXPECT_EQ(read.Error, "");
    EXPECT_EQ(read.Selection, s);
    // A new project's fields: the vapour pressure blank (from the water table).
    EXPECT_EQ(SelectionFieldsOf({}, LiquidDensity(dvx::test::TestProject().Liquid)).VapourPressure, "");
    EXPECT_EQ(ReadSelectionFields(SelectionFieldsOf({}, LiquidDensity(dvx::test::TestProject().Liquid)), {}, LiquidDensity(dvx::test::TestProject().Liquid)).Selection, TPumpSelection{});
}

TEST(SelectionFields, TypedValuesInTheDisplayUnits) {
    TSelectionFields f = SelectionFieldsOf({}, LiquidDensity(dvx::test::TestProject().Liquid));
    f.Speed = "90";
    f.Pumps = "2";
    f.Arrangement = TPumpArrangement::Series;
    f.Standby = true;
    f.SuctionItems = "4;5 9";
    f.SuctionHeight = "-2.5";
    f.SurfacePressure = "95";
    f.VapourPressure = "3.2";
    f.Hours = "6000";
    f.Price = "0.15";
    f.MotorEfficiency = "92";
    f.DriveEfficiency = "97";
    TSelectionRead r = ReadSelectionFields(f, {}, LiquidDensity(dvx::test::TestProject().Liquid));
    ASSERT_EQ(r.Error, "");
    EXPECT_DOUBLE_EQ(r.Selection.Speed, 0.9);
    EXPECT_EQ(r.Selection.Pumps, 2);
    EXPECT_EQ(r.Selection.Arrangement, TPumpArrangement::Series);
    EXPECT_TRUE(r.Selection.Standby);
    EXPECT_EQ(r.Selection.SuctionItems, (std::vector<std::int32_t>{4, 5, 9}));
    EXPECT_EQ(r.Selection.SuctionHeight, -2.5);
    EXPECT_DOUBLE_EQ(r.Selection.SurfacePressure, 95000);
    EXPECT_DOUBLE_EQ(r.Selection.VapourPressure, 3200);
    EXPECT_EQ(r.Selection.HoursPerYear, 6000);
    EXPECT_DOUBLE_EQ(r.Selection.MotorEfficiency, 0.92);
    // In US customary units: feet and psi.
    SetDisplayUnits(TUnitChoice::FromPreset(upUS));
    const std::string headUnit = SelectionHeadUnit();
    const std::string pressureUnit = SelectionPressureUnit();
    f = SelectionFieldsOf({}, LiquidDensity(dvx::test::TestProject().Liquid));
    const std::string atmosphere = f.SurfacePressure;
    f.SuctionHeight = "10";
    f.SurfacePressure = "14.5";
    r = ReadSelectionFields(f, {}, LiquidDensity(dvx::test::TestProject().Liquid));
    SetDisplayUnits(TUnitChoice());
    EXPECT_EQ(headUnit, "ft");
    EXPECT_EQ(pressureUnit, "psi");
    EXPECT_EQ(atmosphere, "14.7"); // 101.325 kPa
    ASSERT_EQ(r.Error, "");
    EXPECT_NEAR(r.Selection.SuctionHeight, 3.048, 1e-12);
    EXPECT_NEAR(r.Selection.SurfacePressure, 14.5 * 6894.757293168, 1e-6);
}

TEST(SelectionFields, BadFieldsAreNamedAndChangeNothing) {
    TPumpSelection shown;
    shown.Speed = 0.8;
    struct Case {
        const char* name;
        std::function<void(TSelectionFields&)> type;
        const char* error;
    };
    const Case cases[] = {
        {"speed text", [](TSelectionFields& f) { f.Speed = "fast"; }, "The speed is not a number."},
        {"speed above rated", [](TSelectionFields& f) { f.Speed = "120"; }, "The speed ratio must be 0.1 to 1."},
        {"pumps", [](TSelectionFields& f) { f.Pumps = "11"; }, "The number of pumps must be 1 to 10."},
        {"suction item", [](TSelectionFields& f) { f.SuctionItems = "3, x"; },
         "Suction items: 'x' is not an item number."},
        {"negative item", [](TSelectionFields& f) { f.SuctionItems = "-3"; }, "-3 is not an item number."},
        {"vapour pressure below 0", [](TSelectionFields& f) { f.VapourPressure = "-1"; },
         "The vapour pressure must be 0 to 100000 kPa."},
        {"hours", [](TSelectionFields& f) { f.Hours = "9000"; }, "The hours per year must be 0 to 8784 h."},
        {"motor efficiency", [](TSelectionFields& f) { f.MotorEfficiency = "0"; },
         "The motor efficiency must be 0.1 to 100 %."},
        {"margin NaN", [](TSelectionFields& f) { f.NpshMargin = "nan"; }, "The NPSH margin is not a number."},
    };
    for (const Case& c : cases) {
        TSelectionFields f = SelectionFieldsOf(shown, LiquidDensity(dvx::test::TestProject().Liquid));
        c.type(f);
        const TSelectionRead r = ReadSelectionFields(f, shown, LiquidDensity(dvx::test::TestProject().Liquid));
        EXPECT_EQ(r.Error, c.error) << c.name;
        EXPECT_EQ(r.Selection, shown) << c.name;
    }
}

// A circuit of 10 m at 5 l/s (head ∝ Q²) and a pump H = 20 − 0.4·Q² (Q in
// l/s) with its best efficiency, 70 %, at 4 l/s.
class SelectionView : public ::testing::Test {
protected:
    void SetUp() override {
        dvx::test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        dvx::test::TestProject().Liquid->ro = 1000;
        auto user = std::make_unique<TUser>(dvx::test::TestProject());
        user->PressureDrop = 98066.5;
        user->Flow = 0.005;
        circuit.Append(std::move(user));
        circuit.Calculate(dvx::test::TestProject(), false);
        circuit.Pump.Points = {{0, 20, 0}, {0.002, 18.4, 0.5}, {0.004, 13.6, 0.7}, {0.006, 5.6, 0.6}};
        TPumpSelection& s = circuit.Pump.Selection;
        s.Pumps = 2;
        s.Standby = true;
    }
    TCircuit circuit{dvx::test::TestProject()};
};

TEST_F(SelectionView, FiguresOfTwoPumpsInParallelWithAStandby) {
    // Two in parallel: H = 20 − 0.1·Q², meeting 0.4·Q² at √40 = 6.325 l/s,
    // 16 m; one alone meets it at 5 l/s, 10 m. The design point (5 l/s,
    // 10 m) needs n²·20 − 0.1·25 = 10: n = 79.1 %. The best efficiency
    // moves to 8 l/s, so the duty flow is 79 % of it.
    const TPumpAnalysis a = AnalysePump(dvx::test::TestProject(), circuit, false, circuit.Pump);
    const std::vector<std::string> lines = SelectionLines(a, circuit.Pump);
    EXPECT_TRUE(Has(lines, "Pumps: 2 in parallel, at 100.0 % of the rated speed"));
    EXPECT_TRUE(Has(lines, "Speed that puts the duty point on the design point: 79.1 % of the rated speed"));
    EXPECT_TRUE(Has(lines, "With one pump fewer (1 running): duty 5 l/s, 10 m"));
    EXPECT_TRUE(Has(lines, "Best efficiency: 70.0 % at 8 l/s; the duty flow is 79 % of it (preferred 70 % to 120 %)"));
    EXPECT_EQ(DutyText(a).substr(0, 30), "Duty point: 6.325 l/s, 16 m (1");

    const TPumpChart chart = ChartOf(a, circuit.Pump);
    ASSERT_TRUE(chart.StandbyDuty && chart.Bep && chart.PreferredRegion);
    EXPECT_NEAR(chart.StandbyDuty->X, 5, 1e-4);
    EXPECT_NEAR(chart.StandbyCurve.back().X, 6, 1e-12); // one pump's range
    EXPECT_NEAR(chart.PumpCurve.back().X, 12, 1e-12);   // two pumps' range
    EXPECT_NEAR(chart.Bep->X, 8, 1e-12);
    EXPECT_NEAR(chart.Bep->Y, 13.6, 1e-9); // on the curve of both pumps
    EXPECT_NEAR(chart.PreferredRegion->first, 5.6, 1e-12);
    EXPECT_NEAR(chart.PreferredRegion->second, 9.6, 1e-12);
    // The points drawn are those in force, on the curve drawn.
    EXPECT_NEAR(chart.PumpPoints.back().X, 12, 1e-12);
    EXPECT_EQ(chart.StandbyLabel, "1 running 5 l/s, 10 m");
    TPumpChart without = chart;
    DropSelectionPart(without);
    EXPECT_FALSE(HasSelectionPart(without));
    EXPECT_TRUE(HasSelectionPart(chart));
}

TEST_F(SelectionView, FiguresFollowTheChosenUnits) {
    circuit.Pump.Selection.HoursPerYear = 4000;
    circuit.Pump.Selection.PricePerKWh = 0.2;
    SetDisplayUnits(TUnitChoice::FromPreset(upUS));
    const TPumpAnalysis a = AnalysePump(dvx::test::TestProject(), circuit, false, circuit.Pump);
    const std::vector<std::string> lines = SelectionLines(a, circuit.Pump);
    SetDisplayUnits(TUnitChoice());
    ASSERT_FALSE(lines.empty());
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    EXPECT_EQ(all.find("l/s"), std::string::npos) << all;
    EXPECT_EQ(all.find(" kW "), std::string::npos) << all;
    EXPECT_EQ(all.find(" kW,"), std::string::npos) << all;
    // 5 l/s = 79.25 gpm, 10 m = 32.81 ft.
    EXPECT_NE(all.find("With one pump fewer (1 running): duty 79.25 gpm, 32.81 ft"), std::string::npos) << all;
    EXPECT_NE(all.find("Running cost: input power "), std::string::npos) << all;
    EXPECT_NE(all.find(" hp, "), std::string::npos) << all;
}

TEST_F(SelectionView, NpshCurvesOverTheSuctionItems) {
    TPumpSelection& s = circuit.Pump.Selection;
    s.Pumps = 1;
    s.Standby = false;
    s.NpshRequired = {{0, 2}, {0.006, 6}};
    s.SuctionItems = {circuit.Items.front()->Number};
    s.SuctionHeight = 3;
    const TPumpAnalysis a = AnalysePump(dvx::test::TestProject(), circuit, false, circuit.Pump);
    const TPumpChart chart = ChartOf(a, circuit.Pump);
    ASSERT_FALSE(chart.NpshAvailable.empty());
    ASSERT_EQ(chart.NpshRequired.size(), chart.NpshAvailable.size()); // the NPSH points span the pump's range
    // Available falls as the suction item's loss grows; required rises.
    EXPECT_GT(chart.NpshAvailable.front().Y, chart.NpshAvailable.back().Y);
    EXPECT_NEAR(chart.NpshRequired.front().Y, 2, 1e-12);
    const std::vector<std::string> lines = SelectionLines(a, circuit.Pump);
    const auto npsh = std::find_if(lines.begin(), lines.end(),
                                   [](const std::string& l) { return l.rfind("NPSH at the duty point: available ", 0) == 0; });
    ASSERT_NE(npsh, lines.end());
    EXPECT_NE(npsh->find(", required 5.333 m, margin "), std::string::npos) << *npsh; // 2 + 4·5/6 at 5 l/s
}

} // namespace
} // namespace dvx
