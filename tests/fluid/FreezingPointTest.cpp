// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/FreezingPoint.h"

#include "engine/fluid/Fluid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace dvx {
namespace {

constexpr int kEthylene = 1, kPropylene = 2, kCalcium = 3;

// A volume fraction of calcium chloride whose mass fraction is w.
double CalciumVolumeForMass(double w) {
    double lo = 0, hi = 1;
    for (int i = 0; i < 80; ++i) {
        const double mid = (lo + hi) / 2;
        (AdditiveMassFraction(kCalcium, mid) < w ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

struct FreezeCase {
    const char* what;
    int additive;
    double x;        // volume fraction
    double expected; // °C
};

class FreezingPointAt : public ::testing::TestWithParam<FreezeCase> {};

TEST_P(FreezingPointAt, MatchesTheTable) {
    const FreezeCase& c = GetParam();
    const std::optional<double> tf = FreezingPoint(c.additive, c.x);
    ASSERT_TRUE(tf.has_value()) << c.what;
    EXPECT_NEAR(*tf, c.expected, 1e-9) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Points, FreezingPointAt,
    ::testing::Values(
        // Table points, by volume.
        FreezeCase{"ethylene glycol 0 %", kEthylene, 0.0, 0.0},
        FreezeCase{"ethylene glycol 27.7 %", kEthylene, 0.277, -14.1},
        FreezeCase{"ethylene glycol 57.8 % (last point)", kEthylene, 0.578, -48.3},
        FreezeCase{"propylene glycol 29.4 %", kPropylene, 0.294, -12.7},
        FreezeCase{"propylene glycol 60 % (last point)", kPropylene, 0.60, -51.1},
        // Between points, linearly: 8.9 % −3.2 and 13.6 % −5.4.
        FreezeCase{"ethylene glycol 10 %", kEthylene, 0.10, -3.2 + (-5.4 + 3.2) * (10 - 8.9) / (13.6 - 8.9)},
        // 29.4 % −12.7 and 30.4 % −13.4.
        FreezeCase{"propylene glycol 30 %", kPropylene, 0.30, -12.7 + (-13.4 + 12.7) * 0.6},
        // Calcium chloride: its table is by mass.
        FreezeCase{"calcium chloride 9 % by mass (first point)", kCalcium, CalciumVolumeForMass(0.09), -4.99},
        FreezeCase{"calcium chloride 19 % by mass", kCalcium, CalciumVolumeForMass(0.19), -16.66},
        FreezeCase{"calcium chloride 21.5 % by mass", kCalcium, CalciumVolumeForMass(0.215), (-16.66 - 26.35) / 2}));

TEST(FreezingPoint, IsUnknownOutsideTheTablesRange) {
    EXPECT_FALSE(FreezingPoint(kEthylene, 0.60)); // beyond 57.8 %
    EXPECT_FALSE(FreezingPoint(kPropylene, 0.61));
    EXPECT_FALSE(FreezingPoint(kCalcium, CalciumVolumeForMass(0.08)));
    EXPECT_FALSE(FreezingPoint(kCalcium, CalciumVolumeForMass(0.30)));
    EXPECT_FALSE(FreezingPoint(kEthylene, -0.01));
    EXPECT_FALSE(FreezingPoint(kEthylene, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(FreezingPoint(0, 0.3)); // no additive
    EXPECT_FALSE(FreezingPoint(4, 0.3));
}

TEST(FreezingPoint, VolumeToMassFollowsTheMixtureDensity) {
    // The glycol tables give both bases: the conversion, applied to them,
    // lands within 1.5 % by mass of the published pairs.
    EXPECT_NEAR(AdditiveMassFraction(kEthylene, 0.277), 0.30, 0.015);
    EXPECT_NEAR(AdditiveMassFraction(kEthylene, 0.476), 0.50, 0.015);
    EXPECT_NEAR(AdditiveMassFraction(kPropylene, 0.294), 0.30, 0.02);
    // Calcium chloride, much denser than water: a mass fraction well above
    // its volume fraction.
    EXPECT_NEAR(CalciumVolumeForMass(0.09), 0.049, 0.001);
    EXPECT_NEAR(CalciumVolumeForMass(0.294), 0.1755, 0.001);
    EXPECT_DOUBLE_EQ(AdditiveMassFraction(kCalcium, 0), 0);
}

TEST(LeastProtectingFraction, InvertsTheFreezingPoint) {
    struct Case {
        int additive;
        double t; // °C
    };
    for (const Case c : {Case{kEthylene, -10}, Case{kEthylene, -3.2}, Case{kEthylene, -48.3}, Case{kPropylene, -20},
                         Case{kPropylene, -0.5}, Case{kCalcium, -20}, Case{kCalcium, -45}}) {
        SCOPED_TRACE(testing::Message() << c.additive << " at " << c.t);
        const std::optional<double> x = LeastProtectingFraction(c.additive, c.t);
        ASSERT_TRUE(x.has_value());
        const std::optional<double> tf = FreezingPoint(c.additive, *x);
        ASSERT_TRUE(tf.has_value());
        EXPECT_NEAR(*tf, c.t, 1e-6);
        // Any weaker mixture freezes above t.
        const std::optional<double> weaker = FreezingPoint(c.additive, *x - 0.002);
        if (weaker) {
            EXPECT_GT(*weaker, c.t);
        }
    }
    // 27.7 % by volume freezes at −14.1 °C.
    EXPECT_NEAR(*LeastProtectingFraction(kEthylene, -14.1), 0.277, 1e-12);
}

TEST(LeastProtectingFraction, EdgesOfTheTables) {
    EXPECT_EQ(LeastProtectingFraction(kEthylene, 0), 0.0);
    EXPECT_EQ(LeastProtectingFraction(kCalcium, 5), 0.0);
    // Beyond the strongest mixture of the table: no answer.
    EXPECT_FALSE(LeastProtectingFraction(kEthylene, -50));
    EXPECT_FALSE(LeastProtectingFraction(kCalcium, -46));
    // Calcium chloride between 0 and −4.99 °C: the curve is not known
    // there, and the table's first point (9 % by mass) is the answer.
    EXPECT_NEAR(*LeastProtectingFraction(kCalcium, -2), CalciumVolumeForMass(0.09), 1e-9);
    EXPECT_FALSE(LeastProtectingFraction(0, -5));
}

TLiquid Mixture(int additive, double x, double t) {
    TLiquid l("Water", 0, 0, t, t);
    l.WaterAdditive = static_cast<std::uint8_t>(additive);
    l.AdditiveVolume = x;
    l.Evaluate();
    return l;
}

TEST(CheckFreezing, WarnsAtTheMarginsEdge) {
    // 27.7 % ethylene glycol freezes at −14.1 °C; with 2 K of margin the
    // warning starts at −12.1 °C.
    const double tf = *FreezingPoint(kEthylene, 0.277);
    ASSERT_NEAR(tf, -14.1, 1e-12);
    struct Case {
        double t;
        bool atRisk;
    };
    for (const Case c : {Case{tf + 2, true}, Case{tf + 2 + 1e-9, false}, Case{-20, true}, Case{20, false}}) {
        const TFreezeCheck check = CheckFreezing(Mixture(kEthylene, 0.277, c.t), 2);
        ASSERT_TRUE(check.Applies);
        ASSERT_TRUE(check.FreezingPoint.has_value());
        EXPECT_EQ(*check.FreezingPoint, tf);
        EXPECT_EQ(check.AtRisk, c.atRisk) << c.t;
    }
    // The margin is the caller's: with none, only at or below the freezing point.
    EXPECT_FALSE(CheckFreezing(Mixture(kEthylene, 0.277, tf + 1e-9), 0).AtRisk);
    EXPECT_TRUE(CheckFreezing(Mixture(kEthylene, 0.277, tf), 0).AtRisk);
}

TEST(CheckFreezing, TenPercentGlycolAtMinusTwentyIsAtRisk) {
    const TFreezeCheck check = CheckFreezing(Mixture(kEthylene, 0.10, -20), 2);
    EXPECT_TRUE(check.AtRisk);
    EXPECT_NEAR(*check.FreezingPoint, -3.2 - 2.2 * 1.1 / 4.7, 1e-9);
}

TEST(CheckFreezing, WeakerThanTheTableUsesItsFirstPointAsABound) {
    // 2 % calcium chloride by volume is below the 9 % by mass of the table.
    const TFreezeCheck cold = CheckFreezing(Mixture(kCalcium, 0.02, -10), 2);
    EXPECT_TRUE(cold.Applies);
    EXPECT_FALSE(cold.FreezingPoint);
    ASSERT_TRUE(cold.FreezesNotBelow);
    EXPECT_DOUBLE_EQ(*cold.FreezesNotBelow, -4.99);
    EXPECT_TRUE(cold.AtRisk);
    EXPECT_FALSE(CheckFreezing(Mixture(kCalcium, 0.02, 5), 2).AtRisk);
    // Stronger than the table: unknown, and nothing is claimed.
    const TFreezeCheck strong = CheckFreezing(Mixture(kCalcium, 0.25, -30), 2);
    EXPECT_TRUE(strong.Applies);
    EXPECT_FALSE(strong.FreezingPoint);
    EXPECT_FALSE(strong.FreezesNotBelow);
    EXPECT_FALSE(strong.AtRisk);
}

TEST(CheckFreezing, OnlyWaterWithAnAdditive) {
    EXPECT_FALSE(CheckFreezing(Mixture(0, 0, -5), 2).Applies);              // clean water
    EXPECT_FALSE(CheckFreezing(Mixture(kEthylene, 0, -5), 2).Applies);      // no volume: water
    TLiquid user = Mixture(kEthylene, 0.1, -20);
    user.UserProps = true;
    EXPECT_FALSE(CheckFreezing(user, 2).Applies);
    TLiquid brine("Brine", 3, 0, -20, -20);
    EXPECT_FALSE(CheckFreezing(brine, 2).Applies);
}

} // namespace
} // namespace dvx
