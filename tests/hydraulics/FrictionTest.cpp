// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/Friction.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dvx {
namespace {

TEST(FrictionFactor, RegimeBoundaries) {
    struct Case {
        const char* what;
        double f0, eps, D, Re;
        int regime;
        double f; // expected factor, to 1e-6 relative
    };
    const double rough001 = 1 / std::pow(1.14 + 4, 2); // eps/D = 0.01
    const Case cases[] = {
        {"just below the laminar limit", 0.02, 0.000046, 0.1, 2299.9, frLaminar, 64 / 2299.9},
        {"laminar ignores f0 and roughness", 0, 0.01, 0.1, 1000, frLaminar, 0.064},
        {"the limit itself is turbulent", 0.02, 0, 0.1, 2300, frSmooth, 0.047294600291842355},
        {"no flow returns f0", 0.0173, 0.000046, 0.1, 0, frNoFlow, 0.0173},
        {"negative Reynolds returns f0", 0.0173, 0.000046, 0.1, -5000, frNoFlow, 0.0173},
        {"no flow with f0 0", 0, 0.000046, 0.1, 0, frNoFlow, 0},
        {"smooth wall from f0", 0.017, 0, 0.1023, 311153.35892843665, frSmooth, 0.014365699953},
        {"smooth wall from x = 7", 0, 0, 0.1023, 311153.35892843665, frSmooth, 0.014365699953},
        {"Colebrook", 0.02, 0.001, 1, 1e5, frColebrook, 0.022165466052553717},
        {"fully rough", 0.02, 0.01, 1, 1e7, frFullyRough, rough001},
        {"f0 0 takes the rough value first", 0, 0.001, 1, 1e5, frColebrook, 0.022165466052553717},
        {"100 mm steel pipe", 0.017, 0.000046, 0.1023, 311153.35892843665, frColebrook, 0.017863541923921557},
    };
    for (const Case& c : cases) {
        TFrictionResult r = FrictionFactor(c.f0, c.eps, c.D, c.Re);
        EXPECT_EQ(r.Regime, c.regime) << c.what;
        if (c.f == 0)
            EXPECT_EQ(r.f, 0) << c.what;
        else
            EXPECT_NEAR(r.f / c.f, 1, 1e-6) << c.what << ": " << r.f;
    }
}

TEST(FrictionFactor, FullyRoughTestUsesTheStartingValue) {
    // eps/D = 0.001 at Re 900 000: √f·Re·r is 201 with f0 0.05 but 126 with
    // the rough-wall result, so the same pipe switches regime between calls.
    const double eps = 0.001, D = 1, Re = 900000;
    TFrictionResult first = FrictionFactor(0.05, eps, D, Re);
    EXPECT_EQ(first.Regime, frFullyRough);
    EXPECT_DOUBLE_EQ(first.f, FullyRoughFactor(0.001));
    TFrictionResult second = FrictionFactor(first.f, eps, D, Re);
    EXPECT_EQ(second.Regime, frColebrook);
    EXPECT_GT(second.f, first.f);
    // And back: a large f0 again puts it over the limit.
    EXPECT_EQ(FrictionFactor(0.05, eps, D, Re).Regime, frFullyRough);
    // Exactly on the limit is not fully rough (the test is strictly greater).
    const double f0 = 0.04;
    const double onLimit = 200 / (std::sqrt(f0) * 0.001);
    EXPECT_EQ(FrictionFactor(f0, eps, D, onLimit * (1 - 1e-12)).Regime, frColebrook);
    EXPECT_EQ(FrictionFactor(f0, eps, D, onLimit * (1 + 1e-12)).Regime, frFullyRough);
}

TEST(FrictionFactor, ColebrookSatisfiesItsEquationAndStaysAtTheSolution) {
    for (double Re : {4000.0, 2e4, 1e5, 1e6}) {
        for (double r : {1e-6, 1e-4, 1e-3, 1e-2}) {
            if (std::sqrt(0.02) * Re * r > 200) continue;
            const double f = ColebrookFactor(0.02, r, Re);
            const double lhs = 1 / std::sqrt(f);
            const double rhs = -2 * std::log10(r / 3.71 + 2.51 / (Re * std::sqrt(f)));
            EXPECT_NEAR(lhs, rhs, 1e-5) << Re << " " << r;
            // Starting from the converged value still makes one step, which
            // moves the factor no further than the tolerance allows.
            EXPECT_NEAR(ColebrookFactor(f, r, Re) / f, 1, 1e-6) << Re << " " << r;
            // From the exact root the step is tiny, the secant denominator is
            // floored at 1e-12 and the result stays at the root.
            double x = 1 / std::sqrt(f);
            for (int i = 0; i < 200; ++i) x = -2 * std::log10(r / 3.71 + 2.51 / Re * x);
            const double exact = 1 / (x * x);
            EXPECT_NEAR(ColebrookFactor(exact, r, Re) / exact, 1, 1e-14) << Re << " " << r;
        }
    }
}

TEST(FrictionFactor, SmoothLawSatisfiesItsEquation) {
    for (double Re : {2300.0, 1e4, 1e6, 1e8}) {
        const double f = SmoothPipeFactor(0, Re);
        EXPECT_NEAR(1 / std::sqrt(f), 2 * std::log10(Re * std::sqrt(f)) - 0.8, 1e-5) << Re;
    }
}

TEST(FrictionFactor, IterationsStopAfterTwentyOnePasses) {
    // A starting value far from the solution and a huge Reynolds number: the
    // result is whatever the 21st pass left, finite and positive.
    const double f = ColebrookFactor(1e-12, 1e-9, 1e12);
    EXPECT_TRUE(std::isfinite(f));
    EXPECT_GT(f, 0);
}

TEST(FrictionFactor, ClosedForms) {
    EXPECT_DOUBLE_EQ(LaminarFactor(3200), 0.02);
    EXPECT_NEAR(FullyRoughFactor(0.01), 0.0378507, 1e-7);
}

} // namespace
} // namespace dvx
