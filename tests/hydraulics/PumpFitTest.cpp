// SPDX-License-Identifier: GPL-3.0-or-later
// The pump's quadratic fit, the duty point against a system curve known in
// closed form, and the messages where there is no answer.
#include "HydraulicsFixture.h"

#include "engine/pump/PumpAnalysis.h"

#include <cmath>
#include <vector>

namespace dvx {
namespace {

using test::Hydraulics;

// H = 30 − 200 000·Q² (m, Q in m³/s): 30 m at shut-off, 20 m at 7.07 l/s.
std::vector<TPumpPoint> ExactPump(std::initializer_list<double> flowsLs) {
    std::vector<TPumpPoint> points;
    for (double q : flowsLs) points.push_back({q / 1000, 30 - 200000 * (q / 1000) * (q / 1000), 0});
    return points;
}

TEST(PumpFit, ReproducesPointsOnAnExactQuadratic) {
    for (const auto& points : {ExactPump({0, 5, 10}), ExactPump({2, 4, 6, 8, 10, 12}), ExactPump({12, 0, 6, 6})}) {
        const TPumpFit fit = FitPumpCurve(points);
        ASSERT_TRUE(fit.Valid) << fit.Message;
        EXPECT_NEAR(fit.A, 30, 1e-9);
        EXPECT_NEAR(fit.B, 0, 1e-6);
        EXPECT_NEAR(fit.C, -200000, 1e-4);
        EXPECT_NEAR(fit.Residual, 0, 1e-9);
        EXPECT_TRUE(fit.Falling);
        EXPECT_TRUE(fit.Message.empty());
        for (const TPumpPoint& p : points) EXPECT_NEAR(fit.Head(p.Flow), p.Head, 1e-9);
    }
}

TEST(PumpFit, ScatteredPointsGiveTheLeastSquaresCurveAndItsResidual) {
    // Four points off a straight line by ±0.1 m alternately: the best
    // quadratic is not a line, but its residual is below the scatter.
    const std::vector<TPumpPoint> points = {{0, 20.1, 0}, {0.001, 18.9, 0}, {0.002, 18.1, 0}, {0.003, 16.9, 0}};
    const TPumpFit fit = FitPumpCurve(points);
    ASSERT_TRUE(fit.Valid);
    EXPECT_GT(fit.Residual, 0.01);
    EXPECT_LT(fit.Residual, 0.1);
    // The normal equations hold: the residuals sum to zero and are
    // orthogonal to Q and Q².
    double r0 = 0, r1 = 0, r2 = 0;
    for (const TPumpPoint& p : points) {
        const double r = p.Head - fit.Head(p.Flow);
        r0 += r;
        r1 += r * p.Flow;
        r2 += r * p.Flow * p.Flow;
    }
    EXPECT_NEAR(r0, 0, 1e-9);
    EXPECT_NEAR(r1, 0, 1e-12);
    EXPECT_NEAR(r2, 0, 1e-15);
    EXPECT_EQ(fit.MinFlow, 0);
    EXPECT_EQ(fit.MaxFlow, 0.003);
}

TEST(PumpFit, RefusesPointsItCannotFit) {
    struct Case {
        std::vector<TPumpPoint> points;
        const char* message;
    };
    const Case cases[] = {
        {{}, "A pump curve needs at least 3 points."},
        {{{0, 20, 0}, {0.01, 10, 0}}, "A pump curve needs at least 3 points."},
        {{{0, 20, 0}, {0.01, 10, 0}, {0.01, 11, 0}}, "The pump points need at least 3 different flows."},
        {{{0, 20, 0}, {-0.01, 10, 0}, {0.02, 5, 0}}, "Pump point 2: flow and head may not be negative."},
        {{{0, 20, 0}, {0.01, 10, 0}, {0.02, std::nan(""), 0}}, "Pump point 3 is not a number."},
    };
    for (const Case& c : cases) {
        const TPumpFit fit = FitPumpCurve(c.points);
        EXPECT_FALSE(fit.Valid);
        EXPECT_EQ(fit.Message, c.message);
    }
}

TEST(PumpFit, WarnsWhereTheCurveRises) {
    // A pump with a rising start: H = 20 + 1000·Q − 500 000·Q², top at 1 l/s.
    std::vector<TPumpPoint> points;
    for (double q : {0.0, 0.002, 0.004, 0.006}) points.push_back({q, 20 + 1000 * q - 500000 * q * q, 0});
    const TPumpFit fit = FitPumpCurve(points);
    ASSERT_TRUE(fit.Valid);
    EXPECT_FALSE(fit.Falling);
    EXPECT_EQ(fit.Message, "The fitted pump curve rises between 0 and 1 l/s.");
}

// A circuit whose only item is a user item of drop dp0 at flow q0: its
// system head is dp0·(Q/q0)² / (rho·g) + static head exactly.
struct QuadraticSystem : Hydraulics {
    double dp0 = 50000; // Pa
    double q0 = 0.005;  // m³/s
    TCircuit circuit{project};

    void SetUp() override {
        Hydraulics::SetUp();
        auto user = std::make_unique<TUser>(project);
        user->PressureDrop = dp0;
        user->Flow = q0;
        circuit.Append(std::move(user));
        circuit.Calculate(project, false);
    }
    TPumpAnalysis Analyse(std::vector<TPumpPoint> points, double staticHead = 0) {
        circuit.Pump.Points = std::move(points);
        circuit.Pump.Curve.StaticHead = staticHead;
        return AnalysePump(project, circuit, false, circuit.Pump);
    }
};

TEST_F(QuadraticSystem, DutyPointOfAQuadraticPumpOnAQuadraticSystem) {
    const double rhoG = 1000 * 9.80665;
    for (double staticHead : {0.0, 4.0}) {
        SCOPED_TRACE(staticHead);
        const TPumpAnalysis a = Analyse(ExactPump({0, 4, 8, 12}), staticHead);
        ASSERT_TRUE(a.Duty && a.Duty->Found) << (a.Messages.empty() ? "" : a.Messages.front());
        // 30 − 200 000·Q² = h + k·Q² with k = dp0 / (rho·g·q0²).
        const double k = dp0 / (rhoG * q0 * q0);
        const double q = std::sqrt((30 - staticHead) / (200000 + k));
        const double h = 30 - 200000 * q * q;
        EXPECT_NEAR(a.Duty->Flow, q, 1e-9 * q);
        EXPECT_NEAR(a.Duty->Head, h, 1e-7);
        EXPECT_NEAR(a.Duty->PressureDrop, h * rhoG, 1e-3);
        EXPECT_NEAR(a.Duty->Ratio, q / q0, 1e-9);
        EXPECT_FALSE(a.Duty->HasPower);
        EXPECT_TRUE(a.Messages.empty());
    }
}

TEST_F(QuadraticSystem, ShaftPowerFromInterpolatedEfficiency) {
    std::vector<TPumpPoint> points = ExactPump({0, 4, 8, 12});
    points[2].Efficiency = 0.5;
    points[3].Efficiency = 0.7;
    const TPumpAnalysis a = Analyse(points);
    ASSERT_TRUE(a.Duty && a.Duty->Found);
    const double q = a.Duty->Flow;
    ASSERT_GT(q, 0.008);
    ASSERT_LT(q, 0.012);
    const double eta = 0.5 + 0.2 * (q - 0.008) / 0.004;
    EXPECT_NEAR(a.Duty->Efficiency, eta, 1e-12);
    EXPECT_NEAR(a.Duty->ShaftPower, 1000 * 9.80665 * q * a.Duty->Head / eta, 1e-6);

    // Efficiencies that stop short of the duty flow give no power, and say so.
    points[1].Efficiency = 0.6; // now given at 4 and 8 l/s only
    points[3].Efficiency = 0;
    const TPumpAnalysis b = Analyse(points);
    ASSERT_TRUE(b.Duty && b.Duty->Found);
    EXPECT_FALSE(b.Duty->HasPower);
    EXPECT_EQ(b.Duty->Message, "The efficiency points do not reach the duty flow: no shaft power.");
}

TEST_F(QuadraticSystem, NoIntersectionGivesAMessageAndNoPoint) {
    struct Case {
        const char* name;
        std::vector<TPumpPoint> points;
        const char* message;
    };
    const Case cases[] = {
        // The circuit needs 3.26 m at 4 l/s and more beyond.
        {"too weak", {{0.004, 3, 0}, {0.006, 2.5, 0}, {0.008, 1, 0}},
         "The pump's head is below the system curve over its whole range (4 to 8 l/s): no duty point."},
        {"too strong for its points", ExactPump({0, 1, 2}),
         "The pump's head is still above the system curve at its largest flow of 2 l/s: "
         "the duty point lies beyond the pump's points."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TPumpAnalysis a = Analyse(c.points);
        ASSERT_TRUE(a.Curve);
        ASSERT_TRUE(a.Duty);
        EXPECT_FALSE(a.Duty->Found);
        EXPECT_EQ(a.Messages, std::vector<std::string>{c.message});
    }
}

TEST_F(QuadraticSystem, TooFewPointsLeaveTheCurveButNoDuty) {
    const TPumpAnalysis a = Analyse({{0, 30, 0}, {0.01, 10, 0}});
    EXPECT_TRUE(a.Curve);
    ASSERT_TRUE(a.Fit);
    EXPECT_FALSE(a.Fit->Valid);
    EXPECT_FALSE(a.Duty);
    EXPECT_EQ(a.Messages, std::vector<std::string>{"A pump curve needs at least 3 points."});

    circuit.Solved = false;
    const TPumpAnalysis b = Analyse(ExactPump({0, 4, 8}));
    EXPECT_FALSE(b.Curve);
    EXPECT_FALSE(b.Duty);
    EXPECT_EQ(b.Messages, std::vector<std::string>{"Calculate the circuit first."});
}

} // namespace
} // namespace dvx
