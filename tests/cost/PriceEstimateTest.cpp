// SPDX-License-Identifier: GPL-3.0-or-later
// The estimate's groups and totals on real items, and the texts the price
// window shows.

#include "engine/catalogue/Tables.h"
#include "base/Money.h"
#include "engine/cost/PriceEstimate.h"
#include "engine/hydraulics/ProjectContext.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

constexpr int kBore100 = 11; // BoreIndex of the 100 mm bore

class PriceEstimate : public ::testing::Test {
protected:
    void SetUp() override { SetMoneyFormat(MoneyFormat{"$", 2, true, false, false}); }
    void TearDown() override { SetMoneyFormat(MoneyFormat{}); }

    TProjectState state_; // the test's own tables and liquid
    const TProjectContext project = state_.Context();

    TPipe& AddPipe(double length, int bore) {
        auto pipe = std::make_unique<TPipe>(project);
        pipe->SetBore(project, bore);
        pipe->Length = length;
        TPipe& ref = *pipe;
        circuit.Append(std::move(pipe));
        return ref;
    }
    TFitting& AddFitting(int type, double quantity, int bore) {
        auto fitting = std::make_unique<TFitting>(project, type);
        fitting->SetBore(project, bore);
        fitting->Quantity = quantity;
        TFitting& ref = *fitting;
        circuit.Append(std::move(fitting));
        return ref;
    }

    TCircuit circuit{project};
};

TEST(PriceGroups, EveryFittingTypeFallsInItsRow) {
    TProjectState state;
    const TProjectContext project = state.Context();
    const int expected[FittingCount] = {
        pgElbows, pgElbows, pgReducers, pgReducers, pgTees, pgTees, pgTees, pgElbows, pgElbows, pgElbows,
        pgValves, pgValves, pgValves, pgValves, pgValves, pgValves, pgValves, pgValves, pgValves,
        pgStrainers, pgStrainers, pgSmallFittings, pgSmallFittings, pgSmallFittings};
    for (int t = 0; t < FittingCount; ++t) {
        TFitting fitting(project, t);
        EXPECT_EQ(PriceGroupOf(fitting), expected[t]) << "fitting type " << t;
    }
    EXPECT_EQ(PriceGroupOf(TPipe(project)), pgPipes);
    EXPECT_EQ(PriceGroupOf(TUser(project)), pgUser);
    TFitting stray(project, 0);
    stray.FittingType = 30; // a value no table row has
    EXPECT_EQ(PriceGroupOf(stray), -1);
    EXPECT_STREQ(PriceGroupName[pgSmallFittings], "Small Fittings");
}

TEST_F(PriceEstimate, TwoSteelPipesPricedWithMaterialAndLabour) {
    project.Tables.PipeListPrice[kBore100][pmSteel] = 50;
    project.Tables.PipeLabourTime[kBore100][pmSteel] = 0.6;
    project.Tables.LabourRate = 100;
    AddPipe(10, kBore100);
    AddPipe(10, kBore100);

    std::string message;
    ASSERT_TRUE(circuit.Estimate(project, message));
    const auto rows = SumPriceGroups(project, circuit);
    EXPECT_EQ(PriceFigure(rows[pgPipes].Material), "1000.00");
    EXPECT_EQ(PriceFigure(rows[pgPipes].Hours), "12.00");
    for (int g = 1; g < PriceGroupCount; ++g) EXPECT_EQ(rows[static_cast<std::size_t>(g)].Material, 0);
    EXPECT_DOUBLE_EQ(circuit.TotalCost, 2200);
    EXPECT_EQ(PriceStatusLine(circuit), "Total System Price = $2,200.00  (12 hrs)");
    EXPECT_EQ(PriceReportTotalLine(circuit), "Total Price = $2,200.00  (12 hrs)");

    // A new labour rate is used by the next estimate.
    project.Tables.LabourRate = 250;
    ASSERT_TRUE(circuit.Estimate(project, message));
    EXPECT_DOUBLE_EQ(circuit.TotalCost, 1000 + 12 * 250);
}

TEST_F(PriceEstimate, SmallFittingsAndUserItemsHaveTheirRows) {
    project.Tables.FittingPrice[23][kBore100] = 7.5;
    project.Tables.FittingLabour[23][kBore100] = 0.5;
    project.Tables.FittingPrice[10][kBore100] = 100;
    project.Tables.FittingLabour[10][kBore100] = 2;
    AddFitting(23, 2, kBore100);
    AddFitting(10, 1, kBore100);
    circuit.Append(std::make_unique<TUser>(project));

    std::string message;
    ASSERT_TRUE(circuit.Estimate(project, message));
    const auto rows = SumPriceGroups(project, circuit);
    EXPECT_DOUBLE_EQ(rows[pgSmallFittings].Material, 15);
    EXPECT_DOUBLE_EQ(rows[pgSmallFittings].Hours, 1);
    EXPECT_DOUBLE_EQ(rows[pgValves].Material, 100);
    EXPECT_EQ(PriceFigure(rows[pgUser].Material), "0.00");
    EXPECT_EQ(PriceFigure(rows[pgUser].Hours), "0.00");
    EXPECT_DOUBLE_EQ(circuit.TotalCost, 15 + 100 + (1 + 2) * project.Tables.LabourRate);
}

TEST_F(PriceEstimate, RowsAreSummedAfreshWhileTheTotalsKeepTheLastEstimate) {
    project.Tables.PipeListPrice[kBore100][pmSteel] = 50;
    project.Tables.PipeLabourTime[kBore100][pmSteel] = 0.6;
    AddPipe(10, kBore100);
    std::string message;
    ASSERT_TRUE(circuit.Estimate(project, message));
    project.Tables.PipeListPrice[kBore100][pmSteel] = 80;
    const auto rows = SumPriceGroups(project, circuit);
    EXPECT_DOUBLE_EQ(rows[pgPipes].Material, 800);
    EXPECT_EQ(PriceStatusLine(circuit), "Total System Price = $1,100.00  (6 hrs)");
}

TEST_F(PriceEstimate, UnpricedBoreGivesTheIncompleteMessage) {
    AddPipe(10, kBore100);
    std::string message;
    EXPECT_FALSE(circuit.Estimate(project, message));
    EXPECT_EQ(IncompletePriceMessage(message),
              "The price database is incomplete.\n\rPipe  100 dia\n\rUpdate and retry...");
}

TEST_F(PriceEstimate, FittingOutsideTheTableIsLeftOutOfEveryRow) {
    TFitting& stray = AddFitting(0, 1, kBore100);
    stray.FittingType = 40;
    const auto rows = SumPriceGroups(project, circuit);
    for (const TPriceRow& row : rows) {
        EXPECT_EQ(row.Material, 0);
        EXPECT_EQ(row.Hours, 0);
    }
}

} // namespace
} // namespace dvx
