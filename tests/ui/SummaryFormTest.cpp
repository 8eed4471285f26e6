// SPDX-License-Identifier: GPL-3.0-or-later
// The project summary: groups of fitting types, whole-number counts, pipe
// metres and the pressure drop of each group and of all items.

#include "presentation/ui/ProjectSummary.h"
#include "engine/units/UnitView.h"
#include "ui/TestProject.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"

#include <gtest/gtest.h>

namespace dvx::ui {
namespace {

class SummaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dvx::test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
    }
    void TearDown() override { dvx::test::TestProject().Tables.RestoreBuiltIn(); }

    TFitting& AddFitting(int type, double quantity, double dp) {
        circuit.Append(std::make_unique<TFitting>(dvx::test::TestProject(), type));
        auto& f = static_cast<TFitting&>(circuit.Item(circuit.Count() - 1));
        f.Quantity = quantity;
        f.PressureDrop = dp;
        return f;
    }

    TCircuit circuit{dvx::test::TestProject()};
};

TEST_F(SummaryTest, FittingTypesFallIntoTheirGroups) {
    const std::vector<std::pair<std::vector<int>, int>> groups = {
        {{0, 1, 7, 8, 9}, 1}, {{2, 3}, 2}, {{4, 5, 6}, 3}, {{10, 11, 12, 13, 14, 15, 16, 17, 18}, 4},
        {{19, 20}, 5},        {{21, 22, 23}, 6}};
    int covered = 0;
    for (const auto& [types, row] : groups)
        for (int type : types) {
            EXPECT_EQ(SummaryGroupOfFitting(type), row) << "type " << type;
            ++covered;
        }
    EXPECT_EQ(covered, FittingCount);
    EXPECT_EQ(SummaryGroupOfFitting(24), -1);
    EXPECT_STREQ(SummaryCaption(0), "Pipes");
    EXPECT_STREQ(SummaryCaption(6), "Small Fittings");
    EXPECT_STREQ(SummaryCaption(7), "User");
}

TEST_F(SummaryTest, PipeElbowsAndGateValve) {
    circuit.Append(std::make_unique<TPipe>(dvx::test::TestProject()));
    auto& pipe = static_cast<TPipe&>(circuit.Item(0));
    pipe.Length = 10;
    pipe.PressureDrop = 4500;
    AddFitting(0, 2, 1200);  // standard 90° elbows
    AddFitting(12, 1, 300);  // gate valve
    const TSummary s = SummarizeCircuit(circuit, LiquidDensity(dvx::test::TestProject().Liquid));
    const std::vector<std::string> quantities = {"10", "2", "0", "0", "1", "0", "0", "0"};
    const std::vector<std::string> pressures = {"4.5", "1.2", "0", "0", "0.3", "0", "0", "0"};
    for (int r = 0; r < SummaryRowCount; ++r) {
        EXPECT_EQ(SummaryQuantityText(s, r), quantities[static_cast<std::size_t>(r)]) << "row " << r;
        EXPECT_EQ(SummaryPressureText(s, r), pressures[static_cast<std::size_t>(r)]) << "row " << r;
    }
    EXPECT_EQ(SummaryStatusText(s), "Total pressure of summary items = 6 kPa");
}

TEST_F(SummaryTest, WholeNumberCountsUserItemsAndEveryGroup) {
    AddFitting(1, 2.7, 100);
    AddFitting(8, 0.9, 100);
    AddFitting(22, 3, 50);
    for (int i = 0; i < 2; ++i) {
        circuit.Append(std::make_unique<TUser>(dvx::test::TestProject()));
        circuit.Item(circuit.Count() - 1).PressureDrop = 25000;
    }
    circuit.Append(std::make_unique<TPipe>(dvx::test::TestProject()));
    auto& pipe = static_cast<TPipe&>(circuit.Item(circuit.Count() - 1));
    pipe.Length = 12.6;
    pipe.PressureDrop = 1000;
    pipe.InIndex = false; // counted all the same
    const TSummary s = SummarizeCircuit(circuit, LiquidDensity(dvx::test::TestProject().Liquid));
    EXPECT_EQ(SummaryQuantityText(s, 1), "2"); // 2.7 and 0.9 count as 2 and 0
    EXPECT_EQ(SummaryPressureText(s, 1), "0.2");
    EXPECT_EQ(SummaryQuantityText(s, 6), "3");
    EXPECT_EQ(SummaryQuantityText(s, 7), "2");
    EXPECT_EQ(SummaryPressureText(s, 7), "50");
    EXPECT_EQ(SummaryQuantityText(s, 0), "13");
    EXPECT_EQ(SummaryStatusText(s), "Total pressure of summary items = 51.25 kPa");
}

TEST_F(SummaryTest, EmptyCircuitAndOddQuantities) {
    const TSummary empty = SummarizeCircuit(circuit, LiquidDensity(dvx::test::TestProject().Liquid));
    for (int r = 0; r < SummaryRowCount; ++r) EXPECT_EQ(SummaryQuantityText(empty, r), "0");
    EXPECT_EQ(SummaryStatusText(empty), "Total pressure of summary items = 0 kPa");
    AddFitting(0, std::numeric_limits<double>::quiet_NaN(), 0);
    AddFitting(0, 1e300, 0);
    const TSummary odd = SummarizeCircuit(circuit, LiquidDensity(dvx::test::TestProject().Liquid));
    EXPECT_EQ(SummaryQuantityText(odd, 1), "1000000000000000");
}

} // namespace
} // namespace dvx::ui
