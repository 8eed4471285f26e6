// SPDX-License-Identifier: GPL-3.0-or-later
// The estimate's groups and totals on real items, and the texts the price
// window shows.

#include "engine/catalogue/Tables.h"
#include "base/Money.h"
#include "engine/cost/PriceEstimate.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

constexpr int kBore100 = 11; // BoreIndex of the 100 mm bore

class PriceEstimate : public ::testing::Test {
protected:
    void SetUp() override {
        RestoreBuiltInTables();
        StartFluidModule(DefaultTemperature);
        SetMoneyFormat(MoneyFormat{"$", 2, true, false, false});
    }
    void TearDown() override {
        RestoreBuiltInTables();
        SetMoneyFormat(MoneyFormat{});
    }

    TPipe& AddPipe(double length, int bore) {
        auto pipe = std::make_unique<TPipe>();
        pipe->SetBore(bore);
        pipe->Length = length;
        TPipe& ref = *pipe;
        circuit.Append(std::move(pipe));
        return ref;
    }
    TFitting& AddFitting(int type, double quantity, int bore) {
        auto fitting = std::make_unique<TFitting>(type);
        fitting->SetBore(bore);
        fitting->Quantity = quantity;
        TFitting& ref = *fitting;
        circuit.Append(std::move(fitting));
        return ref;
    }

    TCircuit circuit;
};

TEST(PriceGroups, EveryFittingTypeFallsInItsRow) {
    RestoreBuiltInTables();
    const int expected[FittingCount] = {
        pgElbows, pgElbows, pgReducers, pgReducers, pgTees, pgTees, pgTees, pgElbows, pgElbows, pgElbows,
        pgValves, pgValves, pgValves, pgValves, pgValves, pgValves, pgValves, pgValves, pgValves,
        pgStrainers, pgStrainers, pgSmallFittings, pgSmallFittings, pgSmallFittings};
    for (int t = 0; t < FittingCount; ++t) {
        TFitting fitting(t);
        EXPECT_EQ(PriceGroupOf(fitting), expected[t]) << "fitting type " << t;
    }
    EXPECT_EQ(PriceGroupOf(TPipe()), pgPipes);
    EXPECT_EQ(PriceGroupOf(TUser()), pgUser);
    TFitting stray(0);
    stray.FittingType = 30; // a value no table row has
    EXPECT_EQ(PriceGroupOf(stray), -1);
    EXPECT_STREQ(PriceGroupName[pgSmallFittings], "Small Fittings");
}

TEST_F(PriceEstimate, TwoSteelPipesPricedWithMaterialAndLabour) {
    PipeListPrice[kBore100][pmSteel] = 50;
    PipeLabourTime[kBore100][pmSteel] = 0.6;
    LabourRate = 100;
    AddPipe(10, kBore100);
    AddPipe(10, kBore100);

    std::string message;
    ASSERT_TRUE(circuit.Estimate(message));
    const auto rows = SumPriceGroups(circuit);
    EXPECT_EQ(PriceFigure(rows[pgPipes].Material), "1000.00");
    EXPECT_EQ(PriceFigure(rows[pgPipes].Hours), "12.00");
    for (int g = 1; g < PriceGroupCount; ++g) EXPECT_EQ(rows[static_cast<std::size_t>(g)].Material, 0);
    EXPECT_DOUBLE_EQ(circuit.TotalCost, 2200);
    EXPECT_EQ(PriceStatusLine(circuit), "Total System Price = $2,200.00  (12 hrs)");
    EXPECT_EQ(PriceReportTotalLine(circuit), "Total Price = $2,200.00  (12 hrs)");

    // A new labour rate is used by the next estimate.
    LabourRate = 250;
    ASSERT_TRUE(circuit.Estimate(message));
    EXPECT_DOUBLE_EQ(circuit.TotalCost, 1000 + 12 * 250);
}

TEST_F(PriceEstimate, SmallFittingsAndUserItemsHaveTheirRows) {
    FittingPrice[23][kBore100] = 7.5;
    FittingLabour[23][kBore100] = 0.5;
    FittingPrice[10][kBore100] = 100;
    FittingLabour[10][kBore100] = 2;
    AddFitting(23, 2, kBore100);
    AddFitting(10, 1, kBore100);
    circuit.Append(std::make_unique<TUser>());

    std::string message;
    ASSERT_TRUE(circuit.Estimate(message));
    const auto rows = SumPriceGroups(circuit);
    EXPECT_DOUBLE_EQ(rows[pgSmallFittings].Material, 15);
    EXPECT_DOUBLE_EQ(rows[pgSmallFittings].Hours, 1);
    EXPECT_DOUBLE_EQ(rows[pgValves].Material, 100);
    EXPECT_EQ(PriceFigure(rows[pgUser].Material), "0.00");
    EXPECT_EQ(PriceFigure(rows[pgUser].Hours), "0.00");
    EXPECT_DOUBLE_EQ(circuit.TotalCost, 15 + 100 + (1 + 2) * LabourRate);
}

TEST_F(PriceEstimate, RowsAreSummedAfreshWhileTheTotalsKeepTheLastEstimate) {
    PipeListPrice[kBore100][pmSteel] = 50;
    PipeLabourTime[kBore100][pmSteel] = 0.6;
    AddPipe(10, kBore100);
    std::string message;
    ASSERT_TRUE(circuit.Estimate(message));
    PipeListPrice[kBore100][pmSteel] = 80;
    const auto rows = SumPriceGroups(circuit);
    EXPECT_DOUBLE_EQ(rows[pgPipes].Material, 800);
    EXPECT_EQ(PriceStatusLine(circuit), "Total System Price = $1,100.00  (6 hrs)");
}

TEST_F(PriceEstimate, UnpricedBoreGivesTheIncompleteMessage) {
    AddPipe(10, kBore100);
    std::string message;
    EXPECT_FALSE(circuit.Estimate(message));
    EXPECT_EQ(IncompletePriceMessage(message),
              "The price database is incomplete.\n\rPipe  100 dia\n\rUpdate and retry...");
}

TEST_F(PriceEstimate, FittingOutsideTheTableIsLeftOutOfEveryRow) {
    TFitting& stray = AddFitting(0, 1, kBore100);
    stray.FittingType = 40;
    const auto rows = SumPriceGroups(circuit);
    for (const TPriceRow& row : rows) {
        EXPECT_EQ(row.Material, 0);
        EXPECT_EQ(row.Hours, 0);
    }
}

} // namespace
} // namespace dvx
