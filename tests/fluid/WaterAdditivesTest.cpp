// SPDX-License-Identifier: GPL-3.0-or-later
#include "Digits.h"
#include "engine/fluid/WaterAdditives.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace dvx {
namespace {

using test::MatchesDigits;

using MixFn = double (*)(double, double);

struct MixReference {
    const char* what;
    MixFn ro, Cp, mu, Ko;
    double T; // °C
    double x; // volume fraction
    std::string eRo, eCp, eMu, eKo;
};

class MixtureReference : public ::testing::TestWithParam<MixReference> {};

TEST_P(MixtureReference, MatchesReferenceDigits) {
    const MixReference& r = GetParam();
    SCOPED_TRACE(r.what);
    if (!r.eRo.empty()) {
        EXPECT_TRUE(MatchesDigits(r.ro(r.T, r.x), r.eRo)) << "ro";
    }
    if (!r.eCp.empty()) {
        EXPECT_TRUE(MatchesDigits(r.Cp(r.T, r.x), r.eCp)) << "Cp";
    }
    if (!r.eMu.empty()) {
        EXPECT_TRUE(MatchesDigits(r.mu(r.T, r.x), r.eMu)) << "mu";
    }
    if (!r.eKo.empty()) {
        EXPECT_TRUE(MatchesDigits(r.Ko(r.T, r.x), r.eKo)) << "Ko";
    }
}

constexpr MixFn EgRo = EthyleneGlycolMixDensity, EgCp = EthyleneGlycolMixSpecificHeat,
                EgMu = EthyleneGlycolMixViscosity, EgKo = EthyleneGlycolMixConductivity;
constexpr MixFn PgRo = PropyleneGlycolMixDensity, PgCp = PropyleneGlycolMixSpecificHeat,
                PgMu = PropyleneGlycolMixViscosity, PgKo = PropyleneGlycolMixConductivity;
constexpr MixFn CcRo = CalciumChlorideMixDensity, CcCp = CalciumChlorideMixSpecificHeat,
                CcMu = CalciumChlorideMixViscosity, CcKo = CalciumChlorideMixConductivity;

INSTANTIATE_TEST_SUITE_P(
    Additives, MixtureReference,
    ::testing::Values(
        MixReference{"ethylene glycol 30% 20C", EgRo, EgCp, EgMu, EgKo, 20, 0.3, "1045.22",
                     "3.64701", "0.0023279", "0.000452882"},
        MixReference{"propylene glycol 30% 0C", PgRo, PgCp, PgMu, PgKo, 0, 0.3, "1036.10",
                     "3.79593", "0.00701859", "0.000423005"},
        MixReference{"calcium chloride 20% -10C", CcRo, CcCp, CcMu, CcKo, -10, 0.2, "1193.91",
                     "3.02946", "0.00474811", "0.000527234"},
        MixReference{"ethylene glycol 40% 80C", EgRo, EgCp, EgMu, EgKo, 80, 0.4, "", "",
                     "0.000758526", ""}));

TEST(WaterAdditives, Poly2DUsesEveryCoefficientInItsPlace) {
    // One coefficient at a time picks out its term: 1, x, x², T, T², xT, x²T, xT², x²T².
    const double x = 0.3, T = 7;
    const double terms[9] = {1, x, x * x, T, T * T, x * T, x * x * T, x * T * T, x * x * T * T};
    for (int i = 0; i < 9; ++i) {
        TPoly2DCoeffs c{};
        c[i] = 2.5;
        EXPECT_NEAR(Poly2D(c, T, x), 2.5 * terms[i], 1e-12) << "c" << i;
    }
}

TEST(WaterAdditives, NoClampBelowTheReportedRange) {
    // -40 °C is outside -30…300 and is evaluated by the same formula.
    const double cold = EthyleneGlycolMixViscosity(-40, 0.3);
    const double edge = EthyleneGlycolMixViscosity(-30, 0.3);
    EXPECT_GT(cold, edge);
    EXPECT_DOUBLE_EQ(cold, std::exp(Poly2D(EthyleneGlycolCoeffs.mu, -40, 0.3)) / 1000);
}

TEST(WaterAdditives, ZeroFractionGivesWaterLikeValues) {
    // With no additive every mixture sits near clean water at 20 °C (within
    // the fit of each set); a swapped coefficient set would be far off.
    for (MixFn ro : {EgRo, PgRo, CcRo}) EXPECT_NEAR(ro(20, 0), 998, 15);
    for (MixFn cp : {EgCp, PgCp, CcCp}) EXPECT_NEAR(cp(20, 0), 4.18, 0.25);
    for (MixFn ko : {EgKo, PgKo, CcKo}) EXPECT_NEAR(ko(20, 0), 0.0006, 0.00005);
    for (MixFn mu : {EgMu, PgMu, CcMu}) EXPECT_NEAR(mu(20, 0), 0.001, 0.0002);
}

} // namespace
} // namespace dvx
