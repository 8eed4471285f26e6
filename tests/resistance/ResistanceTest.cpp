// SPDX-License-Identifier: GPL-3.0-or-later
// The resistance correlations against published figures: the Crane table of
// fT and the Crane worked examples for a valve given by Kv and a venturi
// (reduced-port) gate valve, each within the precision the answer is printed to.
#include "engine/resistance/CraneFriction.h"
#include "engine/resistance/CraneTransitions.h"
#include "engine/resistance/FittingMethod.h"
#include "engine/resistance/ThreeK.h"
#include "engine/resistance/ValveFlowCoefficient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace dvx {
namespace {

// The 2009 (metric) Crane table of fT at the inside diameters it was
// tabulated for; the table prints three decimals, so the formula must agree
// within half a unit of the third.
TEST(CraneFriction, MatchesThePublishedTableWithinItsRounding) {
    struct Row { double D; double fT; };
    const Row rows[] = {
        {0.01576, 0.026}, {0.02096, 0.024}, {0.02664, 0.022}, {0.03508, 0.021}, {0.04094, 0.020},
        {0.05248, 0.019}, {0.06268, 0.018}, {0.07792, 0.017}, {0.10226, 0.016}, {0.1282, 0.015},
        {0.154, 0.015},   {0.20274, 0.014}, {0.25446, 0.013}, {0.33334, 0.013}, {0.381, 0.012},
        {0.53994, 0.012}, {0.57504, 0.011}, {0.8759, 0.011},
    };
    for (const Row& r : rows)
        EXPECT_NEAR(CraneFullyTurbulentFactor(r.D), r.fT, 0.0005) << "D = " << r.D;
}

// A 150 mm Y-pattern globe valve of Kv 500 on 154 mm pipe: the published
// answer is K = 3.6 and, with fT = 0.015, L/D = 240.
TEST(ValveFlowCoefficient, CraneExampleOfAGlobeValveByKv) {
    const double K = KvToResistanceK(500, 0.154);
    EXPECT_NEAR(K, 3.6, 0.05);
    EXPECT_NEAR(K / 0.015, 240, 0.5);
}

TEST(ValveFlowCoefficient, DropFlowAndCoefficientAgree) {
    // By definition: 10 m³/h of reference water through Kv 10 drops 1 bar.
    EXPECT_NEAR(KvPressureDrop(10.0 / 3600, 10, KvReferenceDensity), 1e5, 1e-6);
    // A denser liquid drops more in proportion.
    EXPECT_NEAR(KvPressureDrop(10.0 / 3600, 10, 1.1 * KvReferenceDensity), 1.1e5, 1e-6);
    // The presetting question answered back: the Kv that drops 12 kPa at 0.6 l/s.
    const double kv = KvForPressureDrop(0.6e-3, 12e3, 1030);
    EXPECT_NEAR(KvPressureDrop(0.6e-3, kv, 1030), 12e3, 1e-8);
    // The drop of a valve equals K on its bore times the velocity head.
    const double d = 0.0279, q = 1.2e-3, rho = 998.2;
    const double v = q / (std::numbers::pi * d * d / 4);
    EXPECT_NEAR(KvToResistanceK(kv, d) * rho * v * v / 2, KvPressureDrop(q, kv, rho), 1e-9 * 12e3);
    // Cv is 1.156 Kv to the printed precision.
    EXPECT_NEAR(CvFromKv(1), 1.156, 0.0005);
    EXPECT_DOUBLE_EQ(KvFromCv(CvFromKv(37.5)), 37.5);
}

// A 150 × 100 mm gate valve with conical ports (θ = 13.115°) in 146 mm pipe:
// K2 = [8·fT + sin(θ/2)·(0.8(1 − β²) + 2.6(1 − β²)²)] / β⁴, published as
// K2 = 1.22, with fT = 0.017 of the 100 mm seat in K1 = 8·fT, and
// L/D = 81.3 on the 150 mm line's fT = 0.015. The ports are a contraction
// into the seat and an enlargement out of it, both stated on the 146 mm pipe.
TEST(CraneTransitions, CraneExampleOfAVenturiGateValve) {
    const double seat = 0.100, pipe = 0.146, theta = 13.115, fT = 0.017;
    const double beta = seat / pipe;
    const auto in = BoreChangeK(TBoreChange::Contraction, pipe, seat, theta, true);
    const auto out = BoreChangeK(TBoreChange::Enlargement, pipe, seat, theta, false);
    ASSERT_TRUE(in.Error.empty() && out.Error.empty());
    const double K2 = 8 * fT / std::pow(beta, 4) + in.K + out.K;
    EXPECT_NEAR(K2, 1.22, 0.005);
    EXPECT_NEAR(K2 / 0.015, 81.3, 0.5);
}

TEST(CraneTransitions, SuddenChangesAndTheBoreTheyAreStatedOn) {
    // A sudden enlargement into a very large vessel is the exit loss, K = 1.
    EXPECT_NEAR(BoreChangeK(TBoreChange::Enlargement, 0.05, 5.0, 180, true).K, 1.0, 1e-3);
    // A sudden contraction from a vessel is 0.5 on the small pipe.
    EXPECT_NEAR(BoreChangeK(TBoreChange::Contraction, 0.05, 5.0, 180, false).K, 0.5, 1e-3);
    // The same change held by the item of the other bore: K2 = K1/β⁴.
    const double k1 = BoreChangeK(TBoreChange::Contraction, 0.05, 0.1, 30, false).K;
    const double k2 = BoreChangeK(TBoreChange::Contraction, 0.1, 0.05, 30, true).K;
    EXPECT_NEAR(k2, k1 * 16, 1e-12);
}

TEST(CraneTransitions, RefusesWhatIsNoBoreChange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case { TBoreChange change; double item, other, theta; bool upstream; const char* why; };
    const Case cases[] = {
        {TBoreChange::Contraction, 0.05, 0.10, 30, true, "contraction to a larger bore"},
        {TBoreChange::Contraction, 0.05, 0.05, 30, true, "contraction to the same bore"},
        {TBoreChange::Enlargement, 0.10, 0.05, 30, true, "enlargement to a smaller bore"},
        {TBoreChange::Contraction, 0.10, 0.05, 0, true, "angle 0"},
        {TBoreChange::Contraction, 0.10, 0.05, 180.5, true, "angle above 180"},
        {TBoreChange::Contraction, 0.10, 0.05, -10, true, "negative angle"},
        {TBoreChange::Contraction, 0.10, 0.05, nan, true, "angle NaN"},
        {TBoreChange::Contraction, nan, 0.05, 30, true, "diameter NaN"},
        {TBoreChange::Enlargement, 0.05, -0.1, 30, true, "negative diameter"},
        {TBoreChange::Enlargement, 0, 0.1, 30, true, "zero diameter"},
    };
    for (const Case& c : cases) {
        const auto r = BoreChangeK(c.change, c.item, c.other, c.theta, c.upstream);
        EXPECT_FALSE(r.Error.empty()) << c.why;
    }
}

TEST(FittingMethod, ThreeKFallsBackToCraneWhereATypeHasNoConstants) {
    const double D = 0.0525, Re = 5e4, nominal = 50;
    // Type 19, the clean strainer, has no 3-K constants and no Crane row: its C serves as n.
    const TFittingK strainer = FittingResistanceK(TFittingMethod::ThreeK, 19, 200, D, Re, nominal);
    EXPECT_TRUE(strainer.FellBack);
    EXPECT_NEAR(strainer.K, 200 * CraneFullyTurbulentFactor(D), 1e-12);
    // A C edited in the catalogue reaches a type without a Crane row …
    EXPECT_NEAR(FittingResistanceK(TFittingMethod::CraneK, 19, 250, D, Re, nominal).K,
                250 * CraneFullyTurbulentFactor(D), 1e-12);
    // … but the gate valve keeps its Crane multiplier 8, whatever its C.
    EXPECT_NEAR(FittingResistanceK(TFittingMethod::CraneK, 12, 12, D, Re, nominal).K,
                8 * CraneFullyTurbulentFactor(D), 1e-12);
    // The standard 90° elbow by 3-K on a 2" bore: 800/Re + 0.14·(1 + 4/2^0.3).
    const TFittingK elbow = FittingResistanceK(TFittingMethod::ThreeK, 0, 30, D, Re, nominal);
    EXPECT_FALSE(elbow.FellBack);
    EXPECT_NEAR(elbow.K, 800 / Re + 0.14 * (1 + 4 / std::pow(2.0, 0.3)), 1e-12);
    EXPECT_THROW(FittingResistanceK(TFittingMethod::CraneK, 24, 1, D, Re, nominal), std::out_of_range);
}

TEST(FittingMethod, KeysReadBackAndUnknownKeysAreRefused) {
    for (auto m : {TFittingMethod::EquivalentLength, TFittingMethod::CraneK, TFittingMethod::ThreeK})
        EXPECT_EQ(FittingMethodFromKey(FittingMethodKey(m)), m);
    EXPECT_FALSE(FittingMethodFromKey("Crane"));
    EXPECT_FALSE(FittingMethodFromKey(""));
}

} // namespace
} // namespace dvx
