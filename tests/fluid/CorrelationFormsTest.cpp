// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "engine/fluid/CorrelationForms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace dvx {
namespace {

TEST(CorrelationForms, RealPowerOfZeroBaseIsZeroEvenForNegativeExponent) {
    EXPECT_EQ(RealPower(0.0, -1.5171238), 0.0);
    EXPECT_EQ(RealPower(0.0, 0.5), 0.0);
}

TEST(CorrelationForms, RealPowerOfNegativeOrNaNBaseRaises) {
    EXPECT_THROW(RealPower(-1e-12, -1.5), MathError);
    EXPECT_THROW(RealPower(-4.0, 0.5), MathError);
    EXPECT_THROW(RealPower(std::numeric_limits<double>::quiet_NaN(), 0.5), MathError);
}

TEST(CorrelationForms, RealPowerMatchesPowForPositiveBases) {
    for (double x : {1e-6, 0.25, 1.0, 7.5, 1e6})
        for (double y : {-1.5171238, -0.5, 0.3, 2.5})
            EXPECT_NEAR(RealPower(x, y), std::pow(x, y), 1e-13 * std::pow(x, y)) << x << "^" << y;
}

TEST(CorrelationForms, PolyTakesCoefficientsFromConstantUp) {
    // 1 + 2T + 3T² at T = 2 is 17; reversed order would give 11.
    EXPECT_DOUBLE_EQ(Poly(2.0, {1, 2, 3}), 17.0);
    EXPECT_DOUBLE_EQ(Poly(-3.0, {5}), 5.0);
    EXPECT_DOUBLE_EQ(Poly(10.0, {1, 0, 0, 1}), 1001.0);
}

TEST(CorrelationForms, CurveShapes) {
    // (a + bT)^(-1/c): (1 + 3·1)^(-1/0.5) = 4^-2.
    EXPECT_DOUBLE_EQ(PowerCurve(1.0, 1.0, 3.0, 0.5), 1.0 / 16);
    // k0 / (1 + exp(k1 − k2·T))^(1/k3) with the exponent 0 → k0 / 2^(1/k3).
    EXPECT_DOUBLE_EQ(LogisticCurve(2.0, 8.0, 1.0, 0.5, 0.5), 2.0);
    // (r0 + r1T) / (1 + r2T + r3T²).
    EXPECT_DOUBLE_EQ(RationalCurve(2.0, 1.0, 1.0, 0.5, 0.25), 1.0);
}

TEST(CorrelationForms, RationalCurveWithZeroDenominatorRaises) {
    // 1 + (-1)·T + 0·T² is zero at T = 1.
    EXPECT_THROW(RationalCurve(1.0, 1.0, 0.0, -1.0, 0.0), MathError);
}

TEST(CorrelationForms, ClampsKeepEndsAndStepInsideOutside) {
    EXPECT_EQ(ClampBothWays(-5, 0, 300), 0.01);
    EXPECT_EQ(ClampBothWays(350, 0, 300), 299.99);
    EXPECT_EQ(ClampBothWays(0, 0, 300), 0);      // ends are used unchanged
    EXPECT_EQ(ClampBothWays(300, 0, 300), 300);
    EXPECT_EQ(ClampBothWays(20, 0, 300), 20);
    EXPECT_EQ(ClampBelow(-60, -50), -49.99);
    EXPECT_EQ(ClampBelow(-50, -50), -49.99);     // the lower end itself is clamped
    EXPECT_EQ(ClampBelow(1000, -50), 1000);      // no upper clamp
}

TEST(CorrelationForms, OutOfRangeIncludesBothEnds) {
    EXPECT_EQ(OutOfRange(0, 0, 300), 0);
    EXPECT_EQ(OutOfRange(300, 0, 300), 0);
    EXPECT_EQ(OutOfRange(-0.001, 0, 300), 1);
    EXPECT_EQ(OutOfRange(300.001, 0, 300), 1);
    EXPECT_EQ(OutOfRange(std::numeric_limits<double>::quiet_NaN(), 0, 300), 1);
}

} // namespace
} // namespace dvx
