// SPDX-License-Identifier: GPL-3.0-or-later
// Duty points the plain search used to misreport: a crossing on the jump of
// the circuit's curve between laminar and turbulent flow, curves that cross
// more than once, a circuit that falls (negative static head), and the
// throttling that brings the duty flow back to the design flow.
#include "HydraulicsFixture.h"

#include "engine/pump/PumpAnalysis.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace dvx {
namespace {

using test::Hydraulics;

constexpr double kRhoG = 1000 * 9.80665; // the fixture's liquid, Pa per m

// Points of H = a + b·Q + c·Q² at the given flows (l/s).
std::vector<TPumpPoint> Quadratic(double a, double b, double c, std::initializer_list<double> flowsLs) {
    std::vector<TPumpPoint> points;
    for (double ls : flowsLs) {
        const double q = ls / 1000;
        points.push_back({q, a + b * q + c * q * q, 0});
    }
    return points;
}

// One user item of 50 kPa at 5 l/s: head k·Q² + static head exactly.
struct UserCircuit : Hydraulics {
    TCircuit circuit{project};
    double k = 50000 / (kRhoG * 0.005 * 0.005); // m per (m³/s)²

    void SetUp() override {
        Hydraulics::SetUp();
        auto user = std::make_unique<TUser>(project);
        user->PressureDrop = 50000;
        user->Flow = 0.005;
        circuit.Append(std::move(user));
        circuit.Calculate(project, false);
    }
    TPumpAnalysis Analyse(std::vector<TPumpPoint> points, double staticHead) {
        circuit.Pump.Points = std::move(points);
        circuit.Pump.Curve.StaticHead = staticHead;
        return AnalysePump(project, circuit, false, circuit.Pump);
    }
};

// A pump whose head first rises: 10 + 3000·Q − 400 000·Q² against
// 12 m + k·Q² crosses from below, then from above; the roots of
// (400 000 + k)·Q² − 3000·Q + 2 = 0.
TEST_F(UserCircuit, EveryCrossingIsReportedAndTheStableOneIsTheDuty) {
    const TPumpAnalysis a = Analyse(Quadratic(10, 3000, -400000, {0, 2, 4, 8}), 12);
    ASSERT_TRUE(a.Duty && a.Duty->Found);
    const double A = 400000 + k, disc = std::sqrt(3000.0 * 3000.0 - 8 * A);
    const double low = (3000 - disc) / (2 * A), high = (3000 + disc) / (2 * A);
    EXPECT_NEAR(a.Duty->Flow, high, 1e-9 * high);
    ASSERT_EQ(a.Duty->OtherCrossings.size(), 1u);
    EXPECT_NEAR(a.Duty->OtherCrossings[0], low, 1e-6 * low);
    bool said = false;
    for (const std::string& m : a.Messages) said = said || m.find("also cross at") != std::string::npos;
    EXPECT_TRUE(said);
}

// A falling circuit is calculated, and said: 30 − 200 000·Q² = −4 + k·Q².
TEST_F(UserCircuit, NegativeStaticHeadIsCalculatedAndSaid) {
    const TPumpAnalysis a = Analyse(Quadratic(30, 0, -200000, {0, 4, 8, 12}), -4);
    ASSERT_TRUE(a.Duty && a.Duty->Found);
    const double q = std::sqrt(34 / (200000 + k));
    EXPECT_NEAR(a.Duty->Flow, q, 1e-9 * q);
    ASSERT_FALSE(a.Messages.empty());
    EXPECT_NE(a.Messages.front().find("static head is negative (-4 m)"), std::string::npos) << a.Messages.front();
}

// The pump gives ρg·(30 − 200 000·q0²) at the design flow of 5 l/s, the
// circuit needs 50 kPa plus the static head: the rest is to be throttled.
TEST_F(UserCircuit, ExtraDropThatBringsTheDutyToTheDesignFlow) {
    for (double staticHead : {0.0, 3.0}) {
        const TPumpAnalysis a = Analyse(Quadratic(30, 0, -200000, {0, 4, 8, 12}), staticHead);
        ASSERT_TRUE(a.ExtraDropForDesign);
        EXPECT_NEAR(*a.ExtraDropForDesign, kRhoG * (30 - 200000 * 0.005 * 0.005 - staticHead) - 50000, 1e-6);
    }
    // Design flow outside the pump's points: no advice.
    EXPECT_FALSE(Analyse(Quadratic(30, 0, -200000, {6, 8, 12}), 0).ExtraDropForDesign);
}

// One 15 mm pipe carried across Re = 2300: the circuit's head jumps there,
// and a flat pump between the two sides runs on the jump.
TEST_F(Hydraulics, DutyOnTheLaminarTurbulentJumpGivesThePumpsHead) {
    auto pipe = std::make_unique<TPipe>(project);
    pipe->SetBoreFromNominal(project, 15);
    pipe->Length = 200;
    const double D = pipe->InsideDiameter;
    const double qJump = 2300 * 0.001 * std::numbers::pi * D / (4 * 1000); // Re = ρ·4Q/(π·D·μ)
    pipe->Flow = qJump;
    TCircuit circuit(project);
    circuit.Append(std::move(pipe));
    circuit.Calculate(project, false);
    const TSystemCurve curve = BuildSystemCurve(project, circuit, false, {});
    const double below = curve.At(project, circuit, false, 1 - 1e-6).Head;
    const double above = curve.At(project, circuit, false, 1 + 1e-6).Head;
    ASSERT_GT(above, below * 1.2) << "the friction factor must jump at Re 2300";
    const double middle = 0.5 * (below + above);
    const double delta = 0.01 * (above - below);
    circuit.Pump.Points = {{0.5 * qJump, middle + delta, 0}, {qJump, middle, 0}, {1.5 * qJump, middle - delta, 0}};
    const TPumpAnalysis a = AnalysePump(project, circuit, false, circuit.Pump);
    ASSERT_TRUE(a.Duty && a.Duty->Found);
    EXPECT_NEAR(a.Duty->Flow, qJump, 1e-6 * qJump);
    EXPECT_NEAR(a.Duty->Head, a.Fit->Head(a.Duty->Flow), 1e-12);
    EXPECT_NEAR(a.Duty->PressureDrop, a.Duty->Head * kRhoG, 1e-6);
    EXPECT_NE(a.Duty->JumpMessage.find("jumps"), std::string::npos);
}

} // namespace
} // namespace dvx
