// SPDX-License-Identifier: GPL-3.0-or-later
#include "Digits.h"
#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "engine/fluid/TransportProps.h"
#include "engine/fluid/WaterAdditives.h"
#include "engine/hydraulics/ProjectContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dvx {
namespace {

using test::MatchesDigits;

// The values a failed evaluation must leave alone.
struct Snapshot {
    double ro, Cp, mu, Ko, Pr, ValidTMin, ValidTMax;
    explicit Snapshot(const TFluid& f)
        : ro(f.ro), Cp(f.Cp), mu(f.mu), Ko(f.Ko), Pr(f.Pr), ValidTMin(f.ValidTMin),
          ValidTMax(f.ValidTMax) {}
    void ExpectSame(const TFluid& f) const {
        EXPECT_EQ(f.ro, ro);
        EXPECT_EQ(f.Cp, Cp);
        EXPECT_EQ(f.mu, mu);
        EXPECT_EQ(f.Ko, Ko);
        EXPECT_EQ(f.Pr, Pr);
        EXPECT_EQ(f.ValidTMin, ValidTMin);
        EXPECT_EQ(f.ValidTMax, ValidTMax);
    }
};

TEST(Fluid, AProjectsLiquidStartsAsCleanWaterAtTheDefaultTemperature) {
    TProjectState project;
    const TLiquid& f = project.Liquid;
    EXPECT_EQ(f.Caption, "Water");
    EXPECT_EQ(f.LiquidSpec, 0);
    EXPECT_EQ(f.WaterAdditive, 0);
    EXPECT_EQ(f.AdditiveVolume, 0);
    EXPECT_FALSE(f.UserProps);
    EXPECT_EQ(f.m, 0);
    EXPECT_EQ(f.t, 9.0);
    EXPECT_EQ(f.tfi, 9.0);
    EXPECT_EQ(f.tfo, 9.0);
    EXPECT_TRUE(MatchesDigits(f.ro, "999.647"));
    EXPECT_TRUE(MatchesDigits(f.Cp, "4.19473"));
    EXPECT_TRUE(MatchesDigits(f.mu, "0.00133254"));
    EXPECT_TRUE(MatchesDigits(f.Ko, "0.000585069"));
    EXPECT_TRUE(MatchesDigits(f.Pr, "9.554"));
    EXPECT_EQ(f.ValidTMin, 0);
    EXPECT_EQ(f.ValidTMax, 300);
    EXPECT_EQ(f.RangeStatus, 0);
    // A fresh liquid's user values are its computed values.
    EXPECT_EQ(f.UserRo, f.ro);
    EXPECT_EQ(f.UserCp, f.Cp);
    EXPECT_EQ(f.UserMu, f.mu);
    EXPECT_EQ(f.UserKo, f.Ko);

    // Clean water at another default temperature, as the start-up makes it.
    project.Liquid = TLiquid("Water", 0, 0.0, 20, 20);
    EXPECT_EQ(f.t, 20);
    EXPECT_TRUE(MatchesDigits(f.ro, "998.05"));
}

TEST(Fluid, CreationTakesTheMeanOfInletAndOutlet) {
    TLiquid f("Glycol loop", 3, 2.5, 10, 30);
    EXPECT_EQ(f.Caption, "Glycol loop");
    EXPECT_EQ(f.m, 2.5);
    EXPECT_EQ(f.t, 20);
    EXPECT_TRUE(MatchesDigits(f.mu, "1.5211")); // glycerin at 20 °C
    EXPECT_EQ(f.UserMu, f.mu);
}

TEST(Fluid, SetTMovesOutletAndEvaluates) {
    TLiquid f("Water", 0, 0, 9, 9);
    f.SetT(20);
    EXPECT_EQ(f.t, 20);
    EXPECT_EQ(f.tfi, 9);
    EXPECT_EQ(f.tfo, 31);
    EXPECT_EQ(f.GetT(), 20);
    EXPECT_TRUE(MatchesDigits(f.ro, "998.05"));
    EXPECT_TRUE(MatchesDigits(f.mu, "0.00099989"));
    EXPECT_EQ(f.GetDescription(), "Clean Water 20.0");
    EXPECT_DOUBLE_EQ(f.Pr, f.Cp * f.mu / f.Ko);
}

TEST(Fluid, ClampedWaterIsFlaggedButEvaluated) {
    TLiquid f("Water", 0, 0, -5, -5);
    EXPECT_EQ(f.RangeStatus, 1);
    EXPECT_TRUE(MatchesDigits(f.ro, "999.82"));
    EXPECT_TRUE(MatchesDigits(f.mu, "0.0017565"));
    f.SetT(350);
    EXPECT_EQ(f.RangeStatus, 1);
    EXPECT_TRUE(MatchesDigits(f.Cp, "17.75"));
    EXPECT_TRUE(MatchesDigits(f.Ko, "0.00070342"));
    f.SetT(300);
    EXPECT_EQ(f.RangeStatus, 0);
}

TEST(Fluid, AdditiveWithZeroVolumeIsCleanWaterUnderAnAdditiveCaption) {
    TLiquid f("Water", 0, 0, 20, 20);
    f.WaterAdditive = 1;
    f.AdditiveVolume = 0;
    f.Evaluate();
    EXPECT_EQ(f.ValidTMin, 0);
    EXPECT_EQ(f.ValidTMax, 300);
    EXPECT_TRUE(MatchesDigits(f.ro, "998.05"));
    EXPECT_EQ(f.GetCaption(), "Water (0% Ethylene Glycol)");
    EXPECT_EQ(f.GetShortCaption(), "0% Eth-Glycol");
}

TEST(Fluid, AdditiveMixtureUsesItsCorrelationsAndRange) {
    TLiquid f("Water", 0, 0, 20, 20);
    f.WaterAdditive = 1;
    f.AdditiveVolume = 0.3;
    f.Evaluate();
    EXPECT_TRUE(MatchesDigits(f.ro, "1045.22"));
    EXPECT_TRUE(MatchesDigits(f.Cp, "3.64701"));
    EXPECT_TRUE(MatchesDigits(f.mu, "0.0023279"));
    EXPECT_TRUE(MatchesDigits(f.Ko, "0.000452882"));
    EXPECT_EQ(f.RangeStatus, 0);

    f.WaterAdditive = 2;
    f.SetT(-35);
    EXPECT_EQ(f.RangeStatus, 1);
    EXPECT_EQ(f.ValidTMin, -30);
    EXPECT_EQ(f.ValidTMax, 300);
    EXPECT_EQ(f.mu, PropyleneGlycolMixViscosity(-35, 0.3)); // no clamp

    f.WaterAdditive = 3;
    f.AdditiveVolume = 0.2;
    f.SetT(-10);
    EXPECT_TRUE(MatchesDigits(f.ro, "1193.91"));
    EXPECT_TRUE(MatchesDigits(f.Ko, "0.000527234"));
    f.SetT(-30);
    EXPECT_EQ(f.RangeStatus, 0);
}

TEST(Fluid, AdditiveIsIgnoredForOtherLiquids) {
    TLiquid f("Brine", 5, 0, 0, 0);
    f.WaterAdditive = 1;
    f.AdditiveVolume = 0.3;
    f.Evaluate();
    EXPECT_EQ(f.GetCaption(), "Pure Calcium Chloride");
    EXPECT_EQ(f.GetShortCaption(), "CaCl");
    EXPECT_EQ(f.ValidTMin, -50);
    EXPECT_EQ(f.ValidTMax, 50);
    TTransportProps library;
    library.EvalCalciumChloride(0);
    EXPECT_EQ(f.ro, library.ro);
    EXPECT_EQ(f.mu, library.mu);
}

TEST(Fluid, UserPropertiesKeepTheRangeAndNeverFlag) {
    TLiquid f("Water", 8, 0, 60, 60); // ammonia, out of range
    ASSERT_EQ(f.RangeStatus, 1);
    f.UserProps = true;
    f.UserRo = 1100;
    f.UserCp = 3.5;
    f.UserMu = 0.004;
    f.UserKo = 0.0005;
    f.SetT(1000);
    EXPECT_EQ(f.RangeStatus, 0);
    EXPECT_EQ(f.ro, 1100);
    EXPECT_EQ(f.Cp, 3.5);
    EXPECT_EQ(f.mu, 0.004);
    EXPECT_EQ(f.Ko, 0.0005);
    EXPECT_DOUBLE_EQ(f.Pr, 3.5 * 0.004 / 0.0005);
    EXPECT_EQ(f.ValidTMin, -50); // ammonia's range stays
    EXPECT_EQ(f.ValidTMax, 50);
    EXPECT_EQ(f.GetCaption(), "User Specified Fluid");
    EXPECT_EQ(f.GetShortCaption(), "User Spec. Fluid");
    EXPECT_EQ(f.GetDescription(), "User Specified Fluid 1000.0");
}

TEST(Fluid, CaptionsFollowTheirRules) {
    struct Case {
        std::uint8_t spec;
        std::uint8_t additive;
        double volume;
        const char* longCaption;
        const char* shortCaption;
    };
    const std::vector<Case> cases = {
        {0, 0, 0, "Clean Water", "Clean Water"},
        {0, 0, 0.3, "Clean Water", "Clean Water"},
        {0, 1, 0.3, "Water (30% Ethylene Glycol)", "30% Eth-Glycol"},
        {0, 2, 0.25, "Water (25% Propylene Glycol)", "25% Prop-Glycol"},
        {0, 3, 0.2, "Water (20% Calcium Chloride)", "20% Calc-Chloride"},
        {0, 2, 0.456, "Water (46% Propylene Glycol)", "46% Prop-Glycol"},
        {0, 7, 0.3, "", ""}, // an unknown additive has no caption
        {1, 0, 0, "Shell Thermia B", "Thermal Oil"},
        {3, 0, 0, "Glycerin", "Glycerin"},
        {7, 0, 0, "Mercury", "Mercury"},
        {11, 0, 0, "liquid Freon R12", "Liq R12"},
        {13, 0, 0, "Compressed Air (5.0-bar)", "Comp Air"},
    };
    for (const Case& c : cases) {
        TLiquid f("x", c.spec, 0, 60, 60);
        f.WaterAdditive = c.additive;
        f.AdditiveVolume = c.volume;
        f.Evaluate();
        EXPECT_EQ(f.GetCaption(), c.longCaption) << int(c.spec) << "/" << int(c.additive);
        EXPECT_EQ(f.GetShortCaption(), c.shortCaption) << int(c.spec) << "/" << int(c.additive);
    }
}

TEST(Fluid, ALiquidsCaptionNamesItselfWhateverWasEvaluatedLast) {
    // A liquid read from a project file is not evaluated yet; another liquid
    // evaluated since (a preview, a second project) must not lend it its name.
    TLiquid oil("a", 1, 0, 60, 60);
    oil.Evaluate();
    TLiquid mercury("b", 7, 0, 60, 60);
    mercury.Evaluate();
    EXPECT_EQ(oil.GetCaption(), "Shell Thermia B");
    EXPECT_EQ(oil.GetShortCaption(), "Thermal Oil");

    TLiquid read = oil;
    read.LiquidSpec = 3; // as a file read sets it, without an evaluation
    mercury.Evaluate();
    EXPECT_EQ(read.GetCaption(), "Glycerin");

    TLiquid unknown("c", 0, 0, 60, 60);
    unknown.LiquidSpec = 200; // damaged data: no name to give, not another liquid's
    EXPECT_EQ(unknown.GetCaption(), "");
}

TEST(Fluid, FailedEvaluationKeepsThePreviousProperties) {
    TLiquid f("Water", 8, 0, 60, 60); // ammonia: range -50…50, flagged at 60 °C
    ASSERT_EQ(f.RangeStatus, 1);
    const Snapshot before(f);
    f.LiquidSpec = 12; // condensed steam has no viscosity below -42.970681 °C
    EXPECT_THROW(f.SetT(-50), MathError);
    before.ExpectSame(f);
    EXPECT_EQ(f.RangeStatus, 0);
    EXPECT_EQ(f.t, -50);

    // The same liquid evaluates again once the temperature is real.
    f.SetT(100);
    EXPECT_TRUE(MatchesDigits(f.ro, "958.86"));
    EXPECT_TRUE(MatchesDigits(f.mu, "0.00028561"));
    EXPECT_EQ(f.ValidTMin, 0);
}

TEST(Fluid, OverflowingMixtureRaisesInsteadOfGivingInfinity) {
    TLiquid f("Water", 0, 0, 20, 20);
    f.WaterAdditive = 1;
    f.AdditiveVolume = 0.3;
    f.Evaluate();
    const Snapshot before(f);
    EXPECT_THROW(f.SetT(1e6), MathError);
    before.ExpectSame(f);
    EXPECT_EQ(f.RangeStatus, 0);
}

TEST(Fluid, UnknownLiquidCodeLeavesPropertiesAndClearsTheFlag) {
    TLiquid f("Water", 0, 0, -5, -5);
    ASSERT_EQ(f.RangeStatus, 1);
    const Snapshot before(f);
    f.LiquidSpec = 20;
    f.Evaluate();
    before.ExpectSame(f);
    EXPECT_EQ(f.RangeStatus, 0);

    // An unknown additive sets the mixture range but keeps the properties.
    TLiquid g("Water", 0, 0, 20, 20);
    const Snapshot water(g);
    g.WaterAdditive = 9;
    g.AdditiveVolume = 0.3;
    g.SetT(-40);
    EXPECT_EQ(g.ro, water.ro);
    EXPECT_EQ(g.mu, water.mu);
    EXPECT_EQ(g.ValidTMin, -30);
    EXPECT_EQ(g.RangeStatus, 1);
}

TEST(Fluid, AuxValueIsASpareSlot) {
    TLiquid f("Water", 0, 0, 9, 9);
    f.SetAux(42.5);
    EXPECT_EQ(f.GetAux(), 42.5);
    EXPECT_EQ(f.AuxValue, 42.5);
}

} // namespace
} // namespace dvx
