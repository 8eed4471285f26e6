// SPDX-License-Identifier: GPL-3.0-or-later
// What a change stores and restores: values of items in their places, a new
// order with the sort state, and items put in or taken out.

#include "presentation/ui/CircuitChanges.h"
#include "ui/TestProject.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

class CircuitChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dvx::test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        dvx::test::TestProject().ItemCounter = 0;
        // Three items of each kind, told apart by their descriptions.
        Add(std::make_unique<TPipe>(dvx::test::TestProject()), "A", 0.004);
        Add(std::make_unique<TFitting>(dvx::test::TestProject(), 3), "B", 0.002);
        Add(std::make_unique<TUser>(dvx::test::TestProject()), "C", 0.001);
    }
    void TearDown() override { dvx::test::TestProject().Tables.RestoreBuiltIn(); }

    void Add(std::unique_ptr<TBranch> item, const char* name, double flow) {
        item->Description = name;
        item->Flow = flow;
        circuit.Append(std::move(item));
    }
    std::string Names() const {
        std::string names;
        for (const auto& item : circuit.Items) names += item->Description;
        return names;
    }

    TCircuit circuit{dvx::test::TestProject()};
};

TEST_F(CircuitChangesTest, CloneKeepsKindAndEveryValueAndAssignKeepsIdentity) {
    auto& fitting = static_cast<TFitting&>(circuit.Item(1));
    fitting.Quantity = 4;
    fitting.Velocity = 1.25;
    auto copy = CloneItem(fitting);
    ASSERT_EQ(copy->Kind(), TItemKind::Fitting);
    EXPECT_TRUE(SameItem(*copy, fitting));
    static_cast<TFitting&>(*copy).Quantity = 5;
    EXPECT_FALSE(SameItem(*copy, fitting));

    const TBranch* identity = &circuit.Item(1);
    AssignItem(circuit.Item(1), *copy);
    EXPECT_EQ(&circuit.Item(1), identity);
    EXPECT_EQ(static_cast<TFitting&>(circuit.Item(1)).Quantity, 5);
    // A pipe is not a fitting, nor the reverse: both keep their values.
    EXPECT_THROW(AssignItem(circuit.Item(0), *copy), std::invalid_argument);
    EXPECT_FALSE(SameItem(circuit.Item(0), *copy));
}

TEST_F(CircuitChangesTest, ValueChangeKeepsOnlyTheChangedItemsAndRestoresThem) {
    const TItemCopies before = CopyItems(circuit);
    circuit.Item(0).Flow = 0.009;
    circuit.Item(2).Group = 7;
    TValueChange change = TValueChange::Between(before, circuit);
    EXPECT_EQ(change.Positions(), (std::vector<int>{0, 2}));

    change.Undo(circuit);
    EXPECT_EQ(circuit.Item(0).Flow, 0.004);
    EXPECT_EQ(circuit.Item(2).Group, 0);
    change.Redo(circuit);
    EXPECT_EQ(circuit.Item(0).Flow, 0.009);
    EXPECT_EQ(circuit.Item(2).Group, 7);
    EXPECT_TRUE(TValueChange::Between(CopyItems(circuit), circuit).Empty());
    // A list of another length is no value change.
    circuit.Remove(0);
    EXPECT_THROW(TValueChange::Between(before, circuit), std::invalid_argument);
}

TEST_F(CircuitChangesTest, ValueChangeWorkedOutOnCopiesLeavesTheCircuitUntilRedo) {
    const TItemCopies before = CopyItems(circuit);
    TItemCopies after = CopyItems(circuit);
    after[1]->Flow = 0.007;
    TValueChange change = TValueChange::Between(before, after);
    EXPECT_EQ(change.Positions(), (std::vector<int>{1}));
    EXPECT_EQ(circuit.Item(1).Flow, 0.002);
    const TBranch* identity = &circuit.Item(1);
    change.Redo(circuit);
    EXPECT_EQ(circuit.Item(1).Flow, 0.007);
    EXPECT_EQ(&circuit.Item(1), identity);
    change.Undo(circuit);
    EXPECT_EQ(circuit.Item(1).Flow, 0.002);
    // The lists must match item for item, in number and in kind.
    after.pop_back();
    EXPECT_THROW(TValueChange::Between(before, after), std::invalid_argument);
    after.push_back(std::make_unique<TPipe>(dvx::test::TestProject()));
    EXPECT_THROW(TValueChange::Between(before, after), std::invalid_argument);
}

TEST_F(CircuitChangesTest, OrderChangeRestoresOrderAndSortDirection) {
    const auto before = TOrderChange::OrderOf(circuit);
    const TSortState sortBefore = TSortState::Of(circuit);
    circuit.SetSortKey(skFlow);
    circuit.SortItems();
    const std::string sorted = Names();
    ASSERT_NE(sorted, "ABC");
    const TSortState sortAfter = TSortState::Of(circuit);
    TOrderChange change = TOrderChange::Between(before, sortBefore, circuit);
    EXPECT_FALSE(change.Empty());

    change.Undo(circuit);
    EXPECT_EQ(Names(), "ABC");
    EXPECT_TRUE(TSortState::Of(circuit) == sortBefore);
    change.Redo(circuit);
    EXPECT_EQ(Names(), sorted);
    EXPECT_TRUE(TSortState::Of(circuit) == sortAfter);
    // The next sort by the same key reverses, as it would without the undo.
    circuit.SortItems();
    EXPECT_EQ(Names(), std::string(sorted.rbegin(), sorted.rend()));
}

TEST_F(CircuitChangesTest, OrderChangeRefusesOtherItems) {
    auto before = TOrderChange::OrderOf(circuit);
    TCircuit other{dvx::test::TestProject()};
    other.Append(std::make_unique<TPipe>(dvx::test::TestProject()));
    other.Append(std::make_unique<TPipe>(dvx::test::TestProject()));
    other.Append(std::make_unique<TPipe>(dvx::test::TestProject()));
    EXPECT_THROW(TOrderChange::Between(before, TSortState{}, other), std::invalid_argument);
    // The same item twice is not a new order of the same items.
    before[1] = before[0];
    EXPECT_THROW(TOrderChange::Between(before, TSortState{}, circuit), std::invalid_argument);
}

TEST_F(CircuitChangesTest, PlacementPutsCopiesInAndTakesThemOut) {
    struct Case {
        int position;
        int count;
        const char* afterPutIn;
    };
    const Case cases[] = {{0, 1, "AABC"}, {3, 1, "ABCA"}, {1, 2, "AABBC"}};
    for (const Case& c : cases) {
        std::vector<const TBranch*> items;
        for (int i = 0; i < c.count; ++i) items.push_back(&circuit.Item(i));
        TPlacement placement(c.position, items);
        placement.PutIn(circuit);
        EXPECT_EQ(Names(), c.afterPutIn) << c.position;
        placement.TakeOut(circuit);
        EXPECT_EQ(Names(), "ABC") << c.position;
    }
    // A placement beyond the list is refused and changes nothing.
    TPlacement beyond(4, circuit.Item(0));
    EXPECT_THROW(beyond.PutIn(circuit), std::out_of_range);
    EXPECT_THROW(TPlacement(2, std::vector<const TBranch*>{&circuit.Item(0), &circuit.Item(1)}).TakeOut(circuit),
                 std::out_of_range);
    EXPECT_EQ(Names(), "ABC");
}

} // namespace
} // namespace dvx
