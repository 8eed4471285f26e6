// SPDX-License-Identifier: GPL-3.0-or-later
// Pump selection against published worked examples (Crane: affinity rules,
// NPSH available, power and operating cost; IAPWS-IF97: saturation pressure)
// within the precision their answers are printed to, and against closed
// forms for speed, several pumps and the power peak.
#include "engine/fluid/WaterVapourPressure.h"
#include "engine/hydraulics/PumpFit.h"
#include "engine/hydraulics/SystemCurve.h"
#include "engine/pump/Affinity.h"
#include "engine/pump/Arrangement.h"
#include "engine/pump/BestEfficiency.h"
#include "engine/pump/Npsh.h"
#include "engine/pump/RunningCost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace dvx {
namespace {

constexpr double kFoot = 0.3048;                 // m
constexpr double kGallonPerMinute = 3.785411784e-3 / 60; // m³/s
constexpr double kHorsepower = 745.69987158227022; // W
constexpr double kPsi = 6894.757293168361;       // Pa
constexpr double kPoundPerCubicFoot = 16.018463373960138; // kg/m³

// 400 gpm at 126 ft and 17.5 hp at 3500 rpm, run at 1700 rpm: published
// 194.3 gpm, 29.7 ft and 2.0 hp.
TEST(Affinity, CraneExampleOfASlowerSpeed) {
    const double n = 1700.0 / 3500.0;
    const TPumpPoint rated[] = {{400 * kGallonPerMinute, 126 * kFoot, 0.7}};
    const auto slower = PointsAtSpeed(rated, n);
    ASSERT_EQ(slower.size(), 1u);
    EXPECT_NEAR(slower[0].Flow / kGallonPerMinute, 194.3, 0.05);
    EXPECT_NEAR(slower[0].Head / kFoot, 29.7, 0.05);
    EXPECT_EQ(slower[0].Efficiency, 0.7);
    EXPECT_NEAR(ShaftPowerAtSpeed(17.5 * kHorsepower, n) / kHorsepower, 2.0, 0.05);
}

TPumpFit Fit(std::vector<TPumpPoint> points) {
    TPumpFit fit = FitPumpCurve(points);
    EXPECT_TRUE(fit.Valid) << fit.Message;
    return fit;
}

// H = A + C·Q² at speed n is A·n² + C·Q²: the speed through (q, h) is
// √((h − C·q²)/A).
TEST(Affinity, SpeedThroughADesignPointMatchesTheClosedForm) {
    const double A = 30, C = -80000; // m, m/(m³/s)²
    std::vector<TPumpPoint> points;
    for (double q : {0.0, 0.005, 0.010, 0.015}) points.push_back({q, A + C * q * q, 0});
    const TPumpFit fit = Fit(points);
    for (double q : {0.004, 0.008, 0.012}) {
        for (double h : {12.0, 18.0, 24.0}) {
            const auto speed = SpeedForPoint(fit, q, h);
            const double want = std::sqrt((h - C * q * q) / A);
            if (want <= 1 && q / want <= 0.015) {
                ASSERT_TRUE(speed.Ratio) << q << " " << h << ": " << speed.Message;
                EXPECT_NEAR(*speed.Ratio, want, 1e-9);
            } else {
                EXPECT_FALSE(speed.Ratio) << q << " " << h;
                EXPECT_FALSE(speed.Message.empty());
            }
        }
    }
    // Above the rated curve no slower speed helps.
    const auto tooHigh = SpeedForPoint(fit, 0.010, 40);
    EXPECT_FALSE(tooHigh.Ratio);
    EXPECT_NE(tooHigh.Message.find("rated speed"), std::string::npos) << tooHigh.Message;
    EXPECT_FALSE(SpeedForPoint(fit, 0.02, 5).Ratio); // beyond the range at rated speed
    EXPECT_FALSE(SpeedForPoint(fit, 0, 5).Ratio);
    EXPECT_FALSE(SpeedForPoint(fit, 0.01, NAN).Ratio);
}

// Single pump H = A + B·Q + C·Q²; N in parallel: A + B·Q/N + C·Q²/N²; N in
// series: N·(A + B·Q + C·Q²).
TEST(Arrangement, CombinedCurvesMatchTheClosedForms) {
    const double A = 25, B = -150, C = -60000;
    std::vector<TPumpPoint> single;
    for (double q : {0.0, 0.004, 0.008, 0.012}) single.push_back({q, A + B * q + C * q * q, 0.6});
    for (int n : {1, 2, 3}) {
        const TPumpFit parallel = Fit(CombinedPoints(single, TPumpArrangement::Parallel, n));
        EXPECT_NEAR(parallel.A, A, 1e-9);
        EXPECT_NEAR(parallel.B, B / n, 1e-6);
        EXPECT_NEAR(parallel.C, C / (n * n), 1e-3);
        EXPECT_NEAR(parallel.MaxFlow, 0.012 * n, 1e-15);
        const TPumpFit series = Fit(CombinedPoints(single, TPumpArrangement::Series, n));
        EXPECT_NEAR(series.A, A * n, 1e-9);
        EXPECT_NEAR(series.B, B * n, 1e-6);
        EXPECT_NEAR(series.C, C * n, 1e-3);
    }
    EXPECT_THROW(CombinedPoints(single, TPumpArrangement::Parallel, 0), std::invalid_argument);
    EXPECT_EQ(ArrangementFromKey("series"), TPumpArrangement::Series);
    EXPECT_FALSE(ArrangementFromKey("Series"));
}

// A pump 30 ft above sea level takes 60 °F water from a tank at 5 psig whose
// level is 25 ft below the pump's suction, with 6 ft of suction losses and a
// vapour pressure of 0.256 psi: NPSH available 13.9 ft.
TEST(Npsh, CraneExampleOfASuctionLift) {
    const double density = 62.364 * kPoundPerCubicFoot;
    const double loss = 6 * kFoot * density * kGravity; // Pa
    const double npsha = NpshAvailable(5 * kPsi + StandardAtmosphere, 0.256 * kPsi, density, -25 * kFoot, loss);
    EXPECT_NEAR(npsha / kFoot, 13.9, 0.05);
    // An open tank above the pump: atmosphere, 20 °C water, 3 m of positive head, no losses.
    const double water20 = 998.2;
    EXPECT_NEAR(NpshAvailable(StandardAtmosphere, *WaterVapourPressure(20), water20, 3, 0),
                (StandardAtmosphere - 2339.2) / (water20 * kGravity) + 3, 0.001);
}

// 700 gpm of 60 °F water at 428 ft, pump 70.7 %, motor 95 %, drive 96 %,
// 8000 h a year at 0.12 per kWh: published 83 970 a year. The published
// figure went through horsepower rounded on the way; 0.1 % covers that.
TEST(RunningCost, CraneExampleOfOperatingCost) {
    const double density = 62.364 * kPoundPerCubicFoot;
    const double shaft = density * kGravity * 700 * kGallonPerMinute * 428 * kFoot / 0.707;
    EXPECT_NEAR(shaft / kHorsepower, 107.1, 0.05);
    const TRunningCost cost = RunningCost(shaft, 0.95, 0.96, 8000, 0.12);
    EXPECT_NEAR(cost.InputPower / kHorsepower, 117.4, 0.05);
    EXPECT_NEAR(cost.CostPerYear, 83970, 83970 * 1e-3);
    EXPECT_NEAR(cost.KWhPerYear * 0.12, cost.CostPerYear, 1e-9);
}

TEST(WaterVapourPressure, MatchesTheVerificationValuesAndTheTable) {
    // The equation's own verification values (K → MPa).
    // They are printed to nine significant digits.
    struct Row { double t, kPa; };
    for (const Row& r : {Row{300 - 273.15, 0.353658941e1}, Row{500 - 273.15, 0.263889776e4},
                         Row{600 - 273.15, 0.123443146e5}})
        EXPECT_NEAR(*WaterVapourPressure(r.t) / 1000, r.kPa, r.kPa * 1e-8) << r.t << " °C";
    // The cited table (0–150 °C), kPa to five or six significant digits.
    for (const Row& r : {Row{0, 0.61121}, Row{10, 1.2282}, Row{20, 2.3392}, Row{50, 12.351},
                         Row{100, 101.418}, Row{150, 476.101}})
        EXPECT_NEAR(*WaterVapourPressure(r.t) / 1000, r.kPa, r.kPa * 5e-5) << r.t << " °C";
    EXPECT_FALSE(WaterVapourPressure(-0.01));
    EXPECT_FALSE(WaterVapourPressure(374));
    EXPECT_FALSE(WaterVapourPressure(NAN));
}

TEST(BestEfficiency, PointRegionAndPowerPeak) {
    const std::vector<TPumpPoint> points = {
        {0.000, 30, 0}, {0.004, 29, 0.55}, {0.008, 26, 0.72}, {0.012, 21, 0.66}, {0.016, 14, 0.50}};
    const auto best = BestEfficiencyPoint(points);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->Flow, 0.008);
    EXPECT_EQ(best->Efficiency, 0.72);
    EXPECT_TRUE(InPreferredRegion(*best, 0.0056));
    EXPECT_TRUE(InPreferredRegion(*best, 0.0096));
    EXPECT_FALSE(InPreferredRegion(*best, 0.0055));
    EXPECT_FALSE(InPreferredRegion(*best, 0.0097));
    // One efficiency alone says nothing of where the best lies.
    EXPECT_FALSE(BestEfficiencyPoint(std::vector<TPumpPoint>{{0, 30, 0}, {0.004, 29, 0.55}, {0.008, 26, 0}}));

    // Constant efficiency on H = A + C·Q²: the power peaks at Q = √(−A/(3C)).
    const double A = 30, C = -100000, eta = 0.6, density = 1000;
    std::vector<TPumpPoint> flat;
    for (double q : {0.002, 0.006, 0.010, 0.014}) flat.push_back({q, A + C * q * q, eta});
    const TPumpFit fit = Fit(flat);
    const auto peak = LargestShaftPower(fit, flat, density);
    ASSERT_TRUE(peak);
    const double qPeak = std::sqrt(-A / (3 * C));
    EXPECT_NEAR(peak->Flow, qPeak, 0.012 / 2000);
    EXPECT_NEAR(peak->Power, density * kGravity * qPeak * (A + C * qPeak * qPeak) / eta, 1e-3);
}

} // namespace
} // namespace dvx
