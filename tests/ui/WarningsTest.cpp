// SPDX-License-Identifier: GPL-3.0-or-later
// The warnings list and its detail line, built from a circuit's flags.

#include "presentation/ui/WarningList.h"
#include "engine/units/UnitView.h"
#include "ui/TestProject.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"

#include <gtest/gtest.h>

namespace dvx::ui {
namespace {

class WarningsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dvx::test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
    }
    void TearDown() override { dvx::test::TestProject().Tables.RestoreBuiltIn(); }

    template <class T, class... Args>
    T& Add(const std::string& description, Args... args) {
        circuit.Append(std::make_unique<T>(dvx::test::TestProject(), args...));
        T& item = static_cast<T&>(circuit.Item(circuit.Count() - 1));
        item.Description = description;
        return item;
    }

    TCircuit circuit{dvx::test::TestProject()};
};

TEST_F(WarningsTest, ListsFlaggedPipesAndFittingsInCircuitOrder) {
    TPipe& main = Add<TPipe>("Main run");
    Add<TPipe>("Quiet branch");
    Add<TUser>("Chiller");
    TFitting& elbows = Add<TFitting>("Elbows", 0);
    main.Number = 7;
    main.Warning = wnGradient;
    elbows.Number = 123;
    elbows.Warning = wnVelocity;

    const std::vector<TWarningLine> lines = BuildWarningList(circuit);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, "  7: Main run High dP Rate");
    EXPECT_EQ(lines[0].Item, &main);
    EXPECT_EQ(lines[1].Text, "123: Elbows High Velocity");
    EXPECT_EQ(lines[1].Item, &elbows);
}

TEST_F(WarningsTest, NothingFlaggedGivesAnEmptyList) {
    Add<TPipe>("a");
    Add<TUser>("b");
    EXPECT_TRUE(BuildWarningList(circuit).empty());
    EXPECT_TRUE(BuildWarningList(TCircuit(dvx::test::TestProject())).empty());
}

TEST_F(WarningsTest, AMixtureCloseToFreezingHeadsTheList) {
    TPipe& main = Add<TPipe>("Main run");
    main.Number = 7;
    main.Warning = wnGradient;
    TLiquid glycol("Water", 0, 0, -20, -20);
    glycol.WaterAdditive = 1;
    glycol.AdditiveVolume = 0.1;
    glycol.Evaluate();
    const std::vector<TWarningLine> lines = BuildWarningList(circuit, glycol, 2, dvx::test::TestProject());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, "Freezing risk: -20.0 °C is at or below the freezing point of "
                             "Water (10% Ethylene Glycol) (-3.7 °C) plus the 2 K margin");
    EXPECT_EQ(lines[0].Item, nullptr);
    EXPECT_EQ(lines[1].Item, &main);
    // Warm enough, or plain water: the item lines only.
    glycol.SetT(5);
    EXPECT_EQ(BuildWarningList(circuit, glycol, 2, dvx::test::TestProject()).size(), 1u);
    EXPECT_EQ(BuildWarningList(circuit, *dvx::test::TestProject().Liquid, 2, dvx::test::TestProject()).size(), 1u);
}

// Under 3-K the types without constants are named once, in the order they
// first occur, on a line of their own ahead of the items.
TEST_F(WarningsTest, ThreeKNamesTheTypesCalculatedByCraneK) {
    TFitting& elbows = Add<TFitting>("Elbows", 0); // has 3-K constants
    Add<TFitting>("Check", 17);                    // Angle Check Valve: none
    Add<TFitting>("Damper", 18);                   // Butterfly Valve: none
    Add<TFitting>("Check again", 17);
    elbows.Warning = wnVelocity;
    const struct {
        TFittingMethod Method;
        const char* Note; // "" for none
    } cases[] = {
        {TFittingMethod::EquivalentLength, ""},
        {TFittingMethod::CraneK, ""},
        {TFittingMethod::ThreeK, "No 3-K constants for Angle Check Valve, Butterfly Valve: calculated by Crane K"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Method));
        dvx::test::TestProject().Tables.FittingMethod = c.Method;
        EXPECT_EQ(ThreeKFallbackNote(circuit, dvx::test::TestProject()), c.Note);
        const std::vector<TWarningLine> lines = BuildWarningList(circuit, *dvx::test::TestProject().Liquid, 2, dvx::test::TestProject());
        ASSERT_EQ(lines.size(), std::string(c.Note).empty() ? 1u : 2u);
        if (lines.size() == 2) {
            EXPECT_EQ(lines[0].Text, c.Note);
            EXPECT_EQ(lines[0].Item, nullptr);
        }
        EXPECT_EQ(lines.back().Item, &elbows);
    }
    // Only types with constants: nothing to say.
    TCircuit elbowsOnly{dvx::test::TestProject()};
    elbowsOnly.Append(std::make_unique<TFitting>(dvx::test::TestProject(), 0));
    EXPECT_EQ(ThreeKFallbackNote(elbowsOnly, dvx::test::TestProject()), "");
}

TEST_F(WarningsTest, CalculatedFlagsAreListedWithTheirResults) {
    TPipe& pipe = Add<TPipe>("Riser");
    pipe.Length = 10;
    pipe.SetBore(dvx::test::TestProject(), 19); // 15 mm
    pipe.Flow = 0.002; // m³/s, far beyond what 15 mm carries
    circuit.Calculate(dvx::test::TestProject(), false);
    ASSERT_NE(pipe.Warning, wnNone);
    const auto lines = BuildWarningList(circuit);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Item, &pipe);
    // The detail line of a calculated pipe shows its own length.
    const std::string detail = WarningDetail(pipe, LiquidDensity(dvx::test::TestProject().Liquid));
    EXPECT_NE(detail.find(": Riser "), std::string::npos);
    EXPECT_NE(detail.find(" 10.0 m "), std::string::npos);
    EXPECT_EQ(detail.substr(detail.size() - 6), " kPa/m");
}

TEST_F(WarningsTest, DetailLineFormat) {
    TFitting& fitting = Add<TFitting>("Tee", 4);
    fitting.Number = 5;
    fitting.PressureDrop = 12345.6;   // Pa
    fitting.Velocity = 4.04;          // m/s
    fitting.Length = 3.25;            // m, equivalent length
    fitting.Gradient = 3798.6;        // Pa/m
    EXPECT_EQ(WarningDetail(fitting, LiquidDensity(dvx::test::TestProject().Liquid)), "  5: Tee 12.35 kPa 4.0 m/s 3.2 m 3.799 kPa/m");
}

} // namespace
} // namespace dvx::ui
