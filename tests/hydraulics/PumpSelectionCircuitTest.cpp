// SPDX-License-Identifier: GPL-3.0-or-later
// The pump selection on a circuit whose head is known in closed form (one
// user item, head k·Q²): several pumps, standby, speed, the speed for the
// design point, NPSH on the suction side and the running cost.
#include "HydraulicsFixture.h"

#include "engine/fluid/WaterVapourPressure.h"
#include "engine/pump/PumpAnalysis.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dvx {
namespace {

using test::Hydraulics;

constexpr double kRhoG = 1000 * 9.80665;

struct SelectionCircuit : Hydraulics {
    TCircuit circuit{project};
    double k = 50000 / (kRhoG * 0.005 * 0.005); // m per (m³/s)²

    void SetUp() override {
        Hydraulics::SetUp();
        auto user = std::make_unique<TUser>(project);
        user->PressureDrop = 50000;
        user->Flow = 0.005;
        user->Number = 7;
        circuit.Append(std::move(user));
        circuit.Calculate(project, false);
        // One pump: H = 30 − 200 000·Q², efficiency 0.5 to 0.7 over 2–10 l/s.
        circuit.Pump.Points = {{0, 30, 0}, {0.002, 30 - 0.8, 0.5}, {0.006, 30 - 7.2, 0.7}, {0.010, 10, 0.6}};
    }
    TPumpAnalysis Analyse() { return AnalysePump(project, circuit, false, circuit.Pump); }
};

TEST_F(SelectionCircuit, SeveralPumpsAndSpeedMeetTheClosedForms) {
    struct Case {
        const char* name;
        int pumps;
        TPumpArrangement arrangement;
        double speed;
        double flow; // m³/s, the closed form
    };
    const Case cases[] = {
        {"one pump", 1, TPumpArrangement::Parallel, 1, std::sqrt(30 / (200000 + k))},
        {"two in parallel", 2, TPumpArrangement::Parallel, 1, std::sqrt(30 / (50000 + k))},
        {"three in parallel", 3, TPumpArrangement::Parallel, 1, std::sqrt(30 / (200000.0 / 9 + k))},
        {"two in series", 2, TPumpArrangement::Series, 1, std::sqrt(60 / (400000 + k))},
        {"one at 80 %", 1, TPumpArrangement::Parallel, 0.8, std::sqrt(30 * 0.64 / (200000 + k))},
        {"two in parallel at 90 %", 2, TPumpArrangement::Parallel, 0.9, std::sqrt(30 * 0.81 / (50000 + k))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        circuit.Pump.Selection.Pumps = c.pumps;
        circuit.Pump.Selection.Arrangement = c.arrangement;
        circuit.Pump.Selection.Speed = c.speed;
        const TPumpAnalysis a = Analyse();
        ASSERT_TRUE(a.Duty && a.Duty->Found) << (a.Messages.empty() ? "" : a.Messages.front());
        EXPECT_NEAR(a.Duty->Flow, c.flow, 1e-9 * c.flow);
        EXPECT_NEAR(a.Duty->Head, k * c.flow * c.flow, 1e-6);
    }
}

TEST_F(SelectionCircuit, StandbyShowsTheDutyWithOnePumpFewer) {
    circuit.Pump.Selection.Pumps = 2;
    circuit.Pump.Selection.Standby = true;
    const TPumpAnalysis a = Analyse();
    ASSERT_TRUE(a.Selection && a.Selection->StandbyDuty && a.Selection->StandbyDuty->Found);
    const double one = std::sqrt(30 / (200000 + k));
    EXPECT_NEAR(a.Selection->StandbyDuty->Flow, one, 1e-9 * one);
    EXPECT_NEAR(a.Duty->Flow, std::sqrt(30 / (50000 + k)), 1e-9);
}

// At speed n the pump gives 30·n² − 200 000·Q²; through the design point
// (5 l/s, k·q0²): n = √((k·q0² + 200 000·q0²)/30).
TEST_F(SelectionCircuit, SpeedForTheDesignPoint) {
    for (double staticHead : {0.0, 6.0}) {
        circuit.Pump.Curve.StaticHead = staticHead;
        circuit.Pump.Selection.Speed = 0.7; // the running speed does not change the answer
        const TPumpAnalysis a = Analyse();
        ASSERT_TRUE(a.Selection && a.Selection->SpeedForDesign) << a.Selection->SpeedMessage;
        const double q0 = 0.005;
        EXPECT_NEAR(*a.Selection->SpeedForDesign, std::sqrt((k * q0 * q0 + staticHead + 200000 * q0 * q0) / 30),
                    1e-9);
    }
    circuit.Pump.Curve.StaticHead = 30; // more than the pump gives at rated speed
    const TPumpAnalysis none = Analyse();
    ASSERT_TRUE(none.Selection);
    EXPECT_FALSE(none.Selection->SpeedForDesign);
    EXPECT_NE(none.Selection->SpeedMessage.find("rated speed"), std::string::npos);
}

TEST_F(SelectionCircuit, NpshOnTheSuctionSide) {
    TPumpSelection& s = circuit.Pump.Selection;
    s.NpshRequired = {{0, 2}, {0.012, 6}};
    s.SuctionItems = {7};
    s.SuctionHeight = -3;
    const TPumpAnalysis a = Analyse();
    ASSERT_TRUE(a.Duty && a.Duty->Found && a.Selection && a.Selection->NpshAtDuty);
    const double q = a.Duty->Flow;
    const double pv = *WaterVapourPressure(project.Liquid->t);
    const double loss = 50000 * (q / 0.005) * (q / 0.005);
    const auto& at = *a.Selection->NpshAtDuty;
    EXPECT_NEAR(at.Available, (101325 - pv - loss) / kRhoG - 3, 1e-9);
    ASSERT_TRUE(at.Required);
    EXPECT_NEAR(*at.Required, 2 + 4 * q / 0.012, 1e-12);
    EXPECT_FALSE(a.Selection->NpshCurve.empty());
    // The whole circuit is on the suction side here, so it cavitates …
    auto cavitates = [&] { return std::any_of(a.Messages.begin(), a.Messages.end(), [](const std::string& m) {
                               return m.find("may cavitate") != std::string::npos;
                           }); };
    ASSERT_LT(at.Available, *at.Required);
    EXPECT_TRUE(cavitates());
    // … unless the tank is pressurised and above the pump; then the warning
    // follows the margin against the one asked.
    s.SurfacePressure = 300e3;
    s.SuctionHeight = 5;
    const auto pressurised = *Analyse().Selection->NpshAtDuty;
    auto warns = [](const TPumpAnalysis& r) {
        return std::any_of(r.Messages.begin(), r.Messages.end(),
                           [](const std::string& m) { return m.find("may cavitate") != std::string::npos; });
    };
    const double margin = pressurised.Available - *pressurised.Required;
    ASSERT_GT(margin, 1);
    s.NpshMargin = margin + 0.01;
    EXPECT_TRUE(warns(Analyse()));
    s.NpshMargin = std::max(0.0, margin - 0.01);
    EXPECT_FALSE(warns(Analyse()));

    // A liquid that is not water-based needs its vapour pressure.
    project.Liquid->LiquidSpec = 1;
    const TPumpAnalysis oil = Analyse();
    EXPECT_FALSE(oil.Selection->NpshAtDuty);
    EXPECT_NE(std::find(oil.Messages.begin(), oil.Messages.end(),
                        "Enter the liquid's vapour pressure for the NPSH check."),
              oil.Messages.end());
    s.VapourPressure = 1000;
    EXPECT_TRUE(Analyse().Selection->NpshAtDuty);
    // An item number that is not in the circuit is said.
    s.SuctionItems = {7, 99};
    const TPumpAnalysis missing = Analyse();
    EXPECT_NE(std::find(missing.Messages.begin(), missing.Messages.end(), "Suction item 99 is not in the circuit."),
              missing.Messages.end());
}

TEST_F(SelectionCircuit, RunningCostAndTheEfficiencyRegion) {
    TPumpSelection& s = circuit.Pump.Selection;
    s.HoursPerYear = 4000;
    s.PricePerKWh = 0.2;
    s.MotorEfficiency = 0.9;
    s.DriveEfficiency = 0.95;
    const TPumpAnalysis a = Analyse();
    ASSERT_TRUE(a.Duty && a.Duty->HasPower && a.Selection && a.Selection->Energy);
    EXPECT_NEAR(a.Selection->Energy->CostPerYear, a.Duty->ShaftPower / (0.9 * 0.95) * 4000 / 1000 * 0.2, 1e-9);
    ASSERT_TRUE(a.Selection->Bep);
    EXPECT_EQ(a.Selection->Bep->Flow, 0.006);
    ASSERT_TRUE(a.Selection->MaxShaftPower);
    EXPECT_GE(a.Selection->MaxShaftPower->Power, a.Duty->ShaftPower);

    // One efficiency point gives no curve, and the message says that, not "does not reach".
    circuit.Pump.Points = {{0, 30, 0}, {0.004, 26.8, 0.6}, {0.008, 17.2, 0}, {0.012, 1.2, 0}};
    const TPumpAnalysis one = Analyse();
    ASSERT_TRUE(one.Duty && one.Duty->Found);
    EXPECT_FALSE(one.Duty->HasPower);
    EXPECT_NE(one.Duty->Message.find("Only one pump point gives an efficiency"), std::string::npos);
}

} // namespace
} // namespace dvx
