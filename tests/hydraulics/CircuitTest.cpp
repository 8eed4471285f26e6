// SPDX-License-Identifier: GPL-3.0-or-later
#include "HydraulicsFixture.h"

#include "engine/catalogue/Bores.h"

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace dvx {
namespace {

using test::Hydraulics;

std::unique_ptr<TUser> User(const TProjectContext& project, double dpPa, std::int32_t group = 0, bool inIndex = true) {
    auto user = std::make_unique<TUser>(project);
    user->PressureDrop = dpPa;
    user->Group = group;
    user->InIndex = inIndex;
    return user;
}

std::unique_ptr<TPipe> Pipe(const TProjectContext& project, const std::string& description, double flow, std::int32_t number) {
    auto pipe = std::make_unique<TPipe>(project);
    pipe->Description = description;
    pipe->Flow = flow;
    pipe->Number = number;
    return pipe;
}

std::vector<std::int32_t> Numbers(const TCircuit& circuit) {
    std::vector<std::int32_t> numbers;
    for (const auto& item : circuit.Items) numbers.push_back(item->Number);
    return numbers;
}

TEST_F(Hydraulics, NewCircuitStartsEmptyAndResetsTheCounter) {
    TPipe before(project);
    ASSERT_EQ(project.ItemCounter, 1);
    TCircuit circuit(project);
    EXPECT_EQ(project.ItemCounter, 0);
    EXPECT_EQ(circuit.Count(), 0);
    EXPECT_FALSE(circuit.Saved);
    EXPECT_FALSE(circuit.Solved);
    EXPECT_EQ(circuit.Material, 0);
    EXPECT_GT(circuit.CreationDate, 45000); // a date after 2023
    EXPECT_EQ(circuit.CreationDate, std::floor(circuit.CreationDate));
}

TEST_F(Hydraulics, ListOperations) {
    TCircuit circuit(project);
    for (int n = 1; n <= 4; ++n) circuit.Append(Pipe(project, "p", 0.01, n));
    circuit.Insert(0, Pipe(project, "front", 0.01, 9));
    EXPECT_EQ(Numbers(circuit), (std::vector<std::int32_t>{9, 1, 2, 3, 4}));
    circuit.Move(0, 3);
    EXPECT_EQ(Numbers(circuit), (std::vector<std::int32_t>{1, 2, 3, 9, 4}));
    circuit.Move(4, 0);
    EXPECT_EQ(Numbers(circuit), (std::vector<std::int32_t>{4, 1, 2, 3, 9}));
    std::unique_ptr<TBranch> removed = circuit.Remove(1);
    EXPECT_EQ(removed->Number, 1);
    EXPECT_EQ(circuit.Item(1).Number, 2);
    EXPECT_THROW(circuit.Item(4), std::out_of_range);
    EXPECT_THROW(circuit.Insert(6, Pipe(project, "x", 1, 1)), std::out_of_range);
    EXPECT_THROW(circuit.Remove(-1), std::out_of_range);
    EXPECT_THROW(circuit.Move(0, 4), std::out_of_range);
    std::vector<std::unique_ptr<TBranch>> block;
    block.push_back(Pipe(project, "a", 1, 7));
    block.push_back(Pipe(project, "b", 1, 8));
    circuit.InsertRange(1, std::move(block));
    EXPECT_EQ(Numbers(circuit), (std::vector<std::int32_t>{4, 7, 8, 2, 3, 9}));
}

TEST_F(Hydraulics, FindInvalidGivesTheFirstFailure) {
    TCircuit circuit(project);
    EXPECT_TRUE(circuit.FindInvalid().AllValid);
    circuit.Append(Pipe(project, "ok", 0.01, 1));
    circuit.Append(User(project, 0));          // pressure drop 0: column 2
    circuit.Append(Pipe(project, "dry", 0, 3)); // flow 0: column 1
    TInvalidItem invalid = circuit.FindInvalid();
    EXPECT_FALSE(invalid.AllValid);
    EXPECT_EQ(invalid.Position, 1);
    EXPECT_EQ(invalid.Column, dcPressureDrop);
    circuit.Item(1).PressureDrop = 1;
    invalid = circuit.FindInvalid();
    EXPECT_EQ(invalid.Position, 2);
    EXPECT_EQ(invalid.Column, dcFlow);
    EXPECT_STREQ(InvalidItemMessage(invalid), "Data may not be zero");
}

TEST_F(Hydraulics, FindInvalidTellsANegativeValueFromAZero) {
    // -5 m of pipe would have lowered the total: the circuit is not
    // calculated, and the message says the value must be positive.
    TCircuit circuit(project);
    circuit.Append(Pipe(project, "ok", 0.01, 1));
    circuit.Append(Pipe(project, "minus five metres", 0.01, 2));
    static_cast<TPipe&>(circuit.Item(1)).Length = -5;
    TInvalidItem invalid = circuit.FindInvalid();
    EXPECT_FALSE(invalid.AllValid);
    EXPECT_EQ(invalid.Position, 1);
    EXPECT_EQ(invalid.Column, dcLengthOrQuantity);
    EXPECT_TRUE(invalid.Negative);
    EXPECT_STREQ(InvalidItemMessage(invalid), "Data must be positive");

    static_cast<TPipe&>(circuit.Item(1)).Length = 5;
    circuit.Item(0).Flow = 0;
    invalid = circuit.FindInvalid();
    EXPECT_EQ(invalid.Position, 0);
    EXPECT_EQ(invalid.Column, dcFlow);
    EXPECT_FALSE(invalid.Negative);
}

TEST_F(Hydraulics, GroupsAndTotals) {
    TCircuit circuit(project);
    circuit.Append(User(project, 10000));
    circuit.Append(User(project, 20000, 1, false));
    circuit.Append(User(project, 30000));
    auto pipe = std::make_unique<TPipe>(project);
    pipe->Group = 1;
    pipe->InIndex = false;
    circuit.Append(std::move(pipe));
    circuit.Calculate(project, false);
    const double pipeDp = circuit.Item(3).PressureDrop;
    EXPECT_NEAR(pipeDp, 8077, 1);
    EXPECT_DOUBLE_EQ(circuit.TotalDP, 60000 + pipeDp);
    EXPECT_NEAR(circuit.TotalVolume, 0.082194, 1e-6);
    EXPECT_TRUE(circuit.Solved);
    circuit.Calculate(project, true);
    EXPECT_DOUBLE_EQ(circuit.TotalDP, 40000);
    EXPECT_NEAR(circuit.TotalVolume, 0.082194, 1e-6); // every item's volume counts

    // The flag is per group.
    circuit.SetGroupIndex(0, false);
    EXPECT_FALSE(circuit.Item(0).InIndex);
    EXPECT_FALSE(circuit.Item(2).InIndex);
    EXPECT_FALSE(circuit.Item(1).InIndex);
    circuit.SetGroupIndex(1, true);
    circuit.Calculate(project, true);
    EXPECT_DOUBLE_EQ(circuit.TotalDP, 20000 + circuit.Item(3).PressureDrop);
    // GroupIndex skips items with the asking number; a group without other
    // members answers true.
    EXPECT_FALSE(circuit.GroupIndex(0, circuit.Item(0).Number));
    EXPECT_TRUE(circuit.GroupIndex(7, 1));
    circuit.Item(2).Group = 5;
    EXPECT_TRUE(circuit.GroupIndex(5, circuit.Item(2).Number));
    circuit.Item(0).Number = circuit.Item(2).Number = 42;
    circuit.Item(0).Group = 5;
    EXPECT_TRUE(circuit.GroupIndex(5, 42)); // numbers, not identity, are compared
}

TEST_F(Hydraulics, EmptyCircuitKeepsItsSolvedFlag) {
    TCircuit circuit(project);
    circuit.TotalDP = 5;
    circuit.Calculate(project, true);
    EXPECT_EQ(circuit.TotalDP, 0);
    EXPECT_EQ(circuit.TotalVolume, 0);
    EXPECT_FALSE(circuit.Solved);
    circuit.Solved = true;
    circuit.Calculate(project, false);
    EXPECT_TRUE(circuit.Solved);
}

TEST_F(Hydraulics, FaultStopsTheCalculationAndKeepsPartialResults) {
    TCircuit circuit(project);
    circuit.Append(User(project, 1000));
    circuit.Append(std::make_unique<TPipe>(project));
    auto fitting = std::make_unique<TFitting>(project, 4);
    circuit.Append(std::move(fitting));
    circuit.Append(User(project, 5000));
    project.Tables.FittingTable[4].C = 0; // length 0: the gradient is 0/0
    try {
        circuit.Calculate(project, false);
        FAIL() << "no calculation error";
    } catch (const CalculationError& e) {
        EXPECT_EQ(e.Position, 2);
    }
    EXPECT_NEAR(circuit.TotalDP, 1000 + 8077, 1);
    EXPECT_NEAR(circuit.TotalVolume, 0.082194, 1e-6);
    EXPECT_NEAR(circuit.Item(1).PressureDrop, 8077, 1);
    EXPECT_EQ(static_cast<TFitting&>(circuit.Item(2)).Length, 0); // written before the fault
    EXPECT_TRUE(circuit.Solved);
}

TEST_F(Hydraulics, NonFiniteInputsAreCalculationErrors) {
    const double values[] = {std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(), 1e308};
    for (double value : values) {
        TCircuit pipes(project);
        pipes.Append(std::make_unique<TPipe>(project));
        pipes.Item(0).Flow = value;
        EXPECT_THROW(pipes.Calculate(project, false), CalculationError) << value;
        TCircuit users(project);
        users.Append(User(project, 1));
        users.Append(User(project, value));
        users.Append(User(project, value));
        EXPECT_THROW(users.Calculate(project, false), CalculationError) << value;
    }
    TCircuit zeroLength(project);
    zeroLength.Append(std::make_unique<TPipe>(project));
    static_cast<TPipe&>(zeroLength.Item(0)).Length = 0;
    EXPECT_THROW(zeroLength.Calculate(project, false), CalculationError);
    // A liquid without viscosity.
    TCircuit circuit(project);
    circuit.Append(std::make_unique<TPipe>(project));
    project.Liquid->mu = 0;
    EXPECT_THROW(circuit.Calculate(project, false), CalculationError);
}

TEST_F(Hydraulics, CalculationsCarryTheFrictionFactorOver) {
    project.Tables.MaterialRoughness[pmGalvIron] = 0.001 * 0.1023;
    project.Tables.SelectPipeMaterial(pmGalvIron);
    project.Tables.BoreTable[11].ff = 0.05;
    TCircuit circuit(project);
    auto pipe = std::make_unique<TPipe>(project);
    pipe->Flow = 8.797653958944282 * (0.1023 * 0.1023 * 3.141592653589793 / 4);
    circuit.Append(std::move(pipe));
    circuit.Calculate(project, false);
    const double first = circuit.Item(0).Friction;
    EXPECT_DOUBLE_EQ(first, FullyRoughFactor(0.001));
    circuit.Calculate(project, false);
    const double second = circuit.Item(0).Friction;
    EXPECT_GT(second, first); // Colebrook this time
    circuit.Calculate(project, false);
    EXPECT_NEAR(circuit.Item(0).Friction, second, 1e-6);
}

TEST_F(Hydraulics, SortingTwiceReversesAndTiesUseTheSecondKey) {
    TCircuit circuit(project);
    circuit.Append(Pipe(project, "b", 0.02, 1));
    circuit.Append(Pipe(project, "a", 0.03, 2));
    circuit.Append(Pipe(project, "b", 0.01, 3));
    circuit.Append(Pipe(project, "a", 0.01, 4));
    circuit.Append(Pipe(project, "B", 0.05, 5));
    circuit.Append(Pipe(project, "ab", 0.04, 6));
    circuit.SetSortKey(skFlow);
    circuit.SortItems(); // first sort on a key: ascending, ties by Number descending
    EXPECT_EQ(Numbers(circuit), (std::vector<std::int32_t>{4, 3, 1, 2, 6, 5}));
    circuit.SortItems(); // same key again: reversed
    EXPECT_EQ(Numbers(circuit), (std::vector<std::int32_t>{5, 6, 2, 1, 4, 3}));
    EXPECT_FALSE(circuit.SortAscending[skFlow]);
    circuit.SetSortKey(skDescription);
    EXPECT_EQ(circuit.SecondKey, skFlow);
    circuit.SortItems();
    // Byte order ("B" before "a", a prefix first); equal descriptions by flow
    // in the direction of the last flow sort (descending).
    EXPECT_EQ(Numbers(circuit), (std::vector<std::int32_t>{5, 2, 4, 6, 1, 3}));
    circuit.SetSortKey(skDescription); // same key: the secondary key stays
    EXPECT_EQ(circuit.SecondKey, skFlow);
    EXPECT_THROW(circuit.SetSortKey(8), std::out_of_range);
}

TEST_F(Hydraulics, SortKeysByKind) {
    TCircuit circuit(project);
    auto fitting = std::make_unique<TFitting>(project, 0);
    fitting->Quantity = 5;
    fitting->Number = 1;
    auto pipe = std::make_unique<TPipe>(project);
    pipe->Length = 3;
    pipe->Number = 2;
    auto user = User(project, 100);
    user->Number = 3;
    circuit.Append(std::move(fitting));
    circuit.Append(std::move(pipe));
    circuit.Append(std::move(user));
    circuit.SetSortKey(skLengthOrQuantity);
    circuit.SortItems();
    EXPECT_EQ(Numbers(circuit), (std::vector<std::int32_t>{3, 2, 1}));
    circuit.SetSortKey(skTypeName);
    circuit.SortItems();
    EXPECT_EQ(Numbers(circuit), (std::vector<std::int32_t>{2, 1, 3})); // "Pipe" < "Std…" < "User"
}

TEST_F(Hydraulics, SortingSurvivesValuesThatAreNotNumbers) {
    TCircuit circuit(project);
    for (int i = 0; i < 40; ++i) {
        circuit.Append(User(project, i % 3 == 0 ? std::numeric_limits<double>::quiet_NaN() : 40.0 - i));
        circuit.Item(i).Number = i;
    }
    circuit.SetSortKey(skPressureDrop);
    circuit.SortItems();
    ASSERT_EQ(circuit.Count(), 40);
    for (int i = 0; i + 1 < 40; ++i) {
        const double a = circuit.Item(i).PressureDrop, b = circuit.Item(i + 1).PressureDrop;
        if (!std::isnan(a) && !std::isnan(b)) {
            EXPECT_LE(a, b);
        }
        if (std::isnan(a)) {
            EXPECT_TRUE(std::isnan(b)) << "numbers after a NaN";
        }
    }
}

TEST_F(Hydraulics, EstimateNamesTheFirstUnpricedItem) {
    TCircuit circuit(project);
    circuit.Append(User(project, 1));
    std::string message = "old";
    EXPECT_TRUE(circuit.Estimate(project, message));
    EXPECT_EQ(message, "");
    EXPECT_EQ(circuit.TotalCost, 0);

    auto priced = std::make_unique<TPipe>(project);
    priced->SetBore(project, 12);
    project.Tables.PipeListPrice[12][pmSteel] = 10;
    circuit.Append(std::move(priced));
    circuit.Append(std::make_unique<TPipe>(project)); // 100 mm, no price yet
    EXPECT_FALSE(circuit.Estimate(project, message));
    EXPECT_EQ(message, "Pipe  100 dia");
    EXPECT_EQ(circuit.TotalCost, 0);

    project.Tables.PipeListPrice[11][pmSteel] = 20;
    project.Tables.LabourRate = 50;
    EXPECT_TRUE(circuit.Estimate(project, message));
    EXPECT_DOUBLE_EQ(circuit.MaterialTotal, 100 + 200);
    EXPECT_DOUBLE_EQ(circuit.LabourHoursTotal, 10 * 0.5 + 10 * 0.6);
    EXPECT_DOUBLE_EQ(circuit.LabourTotal, 50 * 11);
    EXPECT_DOUBLE_EQ(circuit.TotalCost, 300 + 550);

    project.Tables.FittingLabour[0][11] = -1;
    circuit.Append(std::make_unique<TFitting>(project, 0));
    EXPECT_FALSE(circuit.Estimate(project, message));
    EXPECT_EQ(message, "Std Elbow 90 deg  100 dia");
}

TEST_F(Hydraulics, ResizeAllAndResetAllFlows) {
    TCircuit circuit(project);
    circuit.Append(Pipe(project, "p", 0.0003, 1));
    auto fitting = std::make_unique<TFitting>(project, 0);
    fitting->Flow = 0.0251;
    circuit.Append(std::move(fitting));
    circuit.Append(User(project, 1000));
    circuit.Item(2).Flow = 5;
    circuit.ResizeAll(project);
    EXPECT_STREQ(BoreName[circuit.Item(0).BoreIndex], "20");
    EXPECT_STREQ(BoreName[circuit.Item(1).BoreIndex], "125");
    EXPECT_EQ(circuit.Item(1).InsideDiameter, 0.1282);
    EXPECT_STREQ(BoreName[circuit.Item(2).BoreIndex], "750");
    circuit.Calculate(project, false);
    EXPECT_NEAR(static_cast<TFitting&>(circuit.Item(1)).EquivLength, 30 * 0.1282, 1e-12);
    circuit.ResetAllFlows(project);
    EXPECT_EQ(circuit.Item(0).Flow, 0.0005);
    EXPECT_EQ(circuit.Item(1).Flow, 0.038);
    EXPECT_EQ(circuit.Item(2).Flow, 1.25);
}

} // namespace
} // namespace dvx
