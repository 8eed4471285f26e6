// SPDX-License-Identifier: GPL-3.0-or-later
#include "Digits.h"
#include "base/Errors.h"
#include "engine/fluid/LiquidCorrelations.h"
#include "engine/fluid/TransportProps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace dvx {
namespace {

using test::MatchesDigits;

// A reference value: property name, reference text ("" to skip).
struct Reference {
    int code;
    double T;      // °C
    int flag;      // expected out-of-range flag
    std::string ro, Cp, mu, Ko;
};

class LibraryReference : public ::testing::TestWithParam<Reference> {};

TEST_P(LibraryReference, MatchesReferenceDigits) {
    const Reference& r = GetParam();
    TTransportProps p;
    EXPECT_EQ(p.EvalByCode(r.code, r.T), r.flag);
    if (!r.ro.empty()) {
        EXPECT_TRUE(MatchesDigits(p.ro, r.ro)) << "ro";
    }
    if (!r.Cp.empty()) {
        EXPECT_TRUE(MatchesDigits(p.Cp, r.Cp)) << "Cp";
    }
    if (!r.mu.empty()) {
        EXPECT_TRUE(MatchesDigits(p.mu, r.mu)) << "mu";
    }
    if (!r.Ko.empty()) {
        EXPECT_TRUE(MatchesDigits(p.Ko, r.Ko)) << "Ko";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Liquids, LibraryReference,
    ::testing::Values(
        Reference{0, 20, 0, "998.05", "4.1833", "0.00099989", "0.00060323"},
        Reference{0, 9, 0, "999.647", "4.19473", "0.00133254", "0.000585069"},
        // Below the range: ro and Cp at -5 °C, mu and Ko at 0.01 °C.
        Reference{0, -5, 1, "999.82", "4.2242", "0.0017565", "0.00056898"},
        // Above the range: Cp from the polynomial, mu and Ko at 299.99 °C.
        Reference{0, 350, 1, "", "17.75", "6.406e-05", "0.00070342"},
        Reference{2, -10, 1, "", "", "3.848", ""},
        Reference{2, 40, 0, "", "", "0.2276", ""},
        Reference{8, 0, 0, "637.7", "4.62755", "0.000239255", "0.000538138"},
        Reference{9, 0, 0, "", "2.44516", "", ""},
        Reference{12, 100, 0, "958.86", "", "0.00028561", ""},
        Reference{1, 100, 0, "815.29", "2.175", "0.0032798", ""},
        Reference{3, 20, 0, "", "", "1.5211", ""},
        Reference{4, 20, 0, "", "", "0.021362", ""},
        Reference{7, 20, 0, "13577.2", "", "", ""},
        Reference{13, 20, 1, "5.671", "", "1.884e-05", ""}));

TEST(TransportProps, ClampedCurvesUseTheClampedTemperatureOnly) {
    TTransportProps below, at;
    // Water below the range: ro and Cp follow T, mu and Ko are those at 0.01 °C.
    below.EvalWater(-5);
    at.EvalWater(0.01);
    EXPECT_EQ(below.mu, at.mu);
    EXPECT_EQ(below.Ko, at.Ko);
    EXPECT_NE(below.ro, at.ro);
    EXPECT_NE(below.Cp, at.Cp);

    // Calcium chloride: viscosity only, clamped at -49.99 °C, and the lower end
    // itself is clamped too (T must be above the end to be used).
    TTransportProps cold, end, clamp;
    EXPECT_EQ(cold.EvalCalciumChloride(-60), 1);
    EXPECT_EQ(end.EvalCalciumChloride(-50), 0);
    clamp.EvalCalciumChloride(-49.99);
    EXPECT_EQ(cold.mu, clamp.mu);
    EXPECT_EQ(end.mu, clamp.mu);
    EXPECT_NE(cold.Ko, clamp.Ko);
    EXPECT_NE(cold.ro, clamp.ro);

    // No upper clamp for the clamped-below liquids.
    TTransportProps hot, hotter;
    hot.EvalEngineOil(300);
    hotter.EvalEngineOil(400);
    EXPECT_LT(hotter.mu, hot.mu);
}

TEST(TransportProps, NamesRangesAndEndsOfEveryLiquid) {
    struct Row {
        const char* name;
        const char* shortName;
        double min, max;
    };
    const std::vector<Row> rows = {
        {"Clean Water", "Water", 0, 300},
        {"Shell Thermia B", "Thermal Oil", 0, 300},
        {"Engine Oil", "Eng Oil", 0, 300},
        {"Glycerin", "Glycerin", 0, 50},
        {"Pure Ethylene Glycol", "Eth Glycol", 0, 100},
        {"Pure Calcium Chloride", "CaCl", -50, 50},
        {"Sulphur Dioxide", "SO2", -50, 50},
        {"Mercury", "Mercury", 0, 316},
        {"Liquid Ammonia", "Liq NH3", -50, 50},
        {"Liquid Carbon Dioxide", "Liq CO2", -50, 30},
        {"Methylchloride", "CH3Cl", -50, 50},
        {"liquid Freon R12", "Liq R12", -50, 50},
        {"Condensed steam", "Liq Steam", 0, 300},
        {"Compressed Air (5.0-bar)", "Comp Air", 50, 400},
    };
    for (int code = 0; code < 14; ++code) {
        const Row& row = rows[code];
        TTransportProps p;
        SCOPED_TRACE(row.name);
        // Both ends are inside; just past either end is outside.
        EXPECT_EQ(p.EvalByCode(code, row.min), 0);
        EXPECT_EQ(p.Name, row.name);
        EXPECT_EQ(p.ShortName, row.shortName);
        EXPECT_EQ(p.ValidTMin, row.min);
        EXPECT_EQ(p.ValidTMax, row.max);
        EXPECT_EQ(p.EvalByCode(code, row.max), 0);
        EXPECT_EQ(p.EvalByCode(code, row.min - 0.001), 1);
        EXPECT_EQ(p.EvalByCode(code, row.max + 0.001), 1);
        // Every property is a real, positive value at the middle of the range.
        p.EvalByCode(code, (row.min + row.max) / 2);
        for (double v : {p.ro, p.Cp, p.mu, p.Ko}) {
            EXPECT_TRUE(std::isfinite(v));
            EXPECT_GT(v, 0);
        }
    }
}

TEST(TransportProps, UnknownCodeChangesNothing) {
    TTransportProps p;
    p.EvalWater(20);
    const TTransportProps before = p;
    EXPECT_EQ(p.EvalByCode(14, 20), -1);
    EXPECT_EQ(p.EvalByCode(-1, 20), -1);
    EXPECT_EQ(p.Name, before.Name);
    EXPECT_EQ(p.ro, before.ro);
}

TEST(TransportProps, CompressedAirPressureOnlyNamesTheLiquid) {
    TTransportProps a, b;
    a.EvalCompressedAir(100, 500);
    b.EvalCompressedAir(100, 1234);
    EXPECT_EQ(a.Name, "Compressed Air (5.0-bar)");
    EXPECT_EQ(b.Name, "Compressed Air (12.3-bar)");
    EXPECT_EQ(a.ro, b.ro);
    EXPECT_EQ(a.mu, b.mu);
}

TEST(TransportProps, CondensedSteamBelowItsPoleRaisesAndKeepsProperties) {
    TTransportProps p;
    p.EvalCondensedSteam(100);
    const double ro = p.ro, mu = p.mu;
    EXPECT_THROW(p.EvalCondensedSteam(-50), MathError);
    EXPECT_THROW(p.EvalCondensedSteam(-42.98), MathError);
    EXPECT_EQ(p.ro, ro);
    EXPECT_EQ(p.mu, mu);
    // At the pole itself the curve gives 0; just above it is a real value.
    EXPECT_EQ(CondensedSteamViscosity(-42.970681), 0.0);
    EXPECT_EQ(p.EvalCondensedSteam(-42.97), 1);
    EXPECT_GT(p.mu, 0);
    EXPECT_TRUE(std::isfinite(p.mu));
}

TEST(TransportProps, CarbonDioxideSpecificHeatStaysFiniteUpToItsRange) {
    TTransportProps p;
    EXPECT_EQ(p.EvalCarbonDioxide(30), 0);
    EXPECT_TRUE(std::isfinite(p.Cp));
    EXPECT_GT(p.Cp, 0);
    // Past the denominator's zero near 31.6 °C the curve changes sign.
    p.EvalCarbonDioxide(32);
    EXPECT_LT(p.Cp, 0);
}

} // namespace
} // namespace dvx
