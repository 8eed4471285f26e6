// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CircuitGrid.h"

#include "catalogue/Tables.h"
#include "common/Errors.h"
#include "fluid/Fluid.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

class CircuitGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestoreBuiltInTables();
        StartFluidModule(9.0);
    }
    void TearDown() override { RestoreBuiltInTables(); }

    TCircuit circuit;
    TPipe& AddPipe() {
        circuit.Append(std::make_unique<TPipe>());
        return static_cast<TPipe&>(circuit.Item(circuit.Count() - 1));
    }
    TUser& AddUser() {
        circuit.Append(std::make_unique<TUser>());
        return static_cast<TUser&>(circuit.Item(circuit.Count() - 1));
    }
};

TEST_F(CircuitGridTest, ShownColumnsFollowTheViewSwitches) {
    EXPECT_EQ(ShownColumns(false, true),
              (std::vector<int>{gcNumber, gcDescription, gcSize, gcQuantity, gcFlow, gcPressureDrop, gcType}));
    EXPECT_EQ(ShownColumns(true, false).size(), 8u);
    EXPECT_EQ(ShownColumns(true, true).size(), 9u);
}

TEST_F(CircuitGridTest, CellTextsUseTheColumnFormats) {
    TPipe& pipe = AddPipe();
    pipe.Flow = 0.025;
    pipe.PressureDrop = 8077;
    pipe.Length = 12.34;
    pipe.SetBore(11); // 100 mm
    EXPECT_EQ(CellText(&pipe, gcFlow), "25.00");
    EXPECT_EQ(CellText(&pipe, gcPressureDrop), "8.077");
    EXPECT_EQ(CellText(&pipe, gcQuantity), "12.3");
    EXPECT_EQ(CellText(&pipe, gcSize), "100");
    EXPECT_EQ(CellText(&pipe, gcIndex), "1");
    EXPECT_EQ(CellText(nullptr, gcFlow), "");
    TUser& user = AddUser();
    EXPECT_EQ(CellText(&user, gcQuantity), "1");
}

TEST_F(CircuitGridTest, EditableCellsAndColours) {
    TPipe& pipe = AddPipe();
    TUser& user = AddUser();
    EXPECT_FALSE(CanEdit(&pipe, gcPressureDrop));
    EXPECT_EQ(CellColour(&pipe, gcPressureDrop), TCellColour::Grey);
    EXPECT_TRUE(CanEdit(&pipe, gcQuantity));
    EXPECT_FALSE(CanEdit(&user, gcQuantity));
    EXPECT_EQ(CellColour(&user, gcQuantity), TCellColour::Grey);
    EXPECT_TRUE(CanEdit(&user, gcPressureDrop));
    EXPECT_FALSE(CanEdit(&pipe, gcType));
    EXPECT_FALSE(CanEdit(nullptr, gcDescription));
    pipe.Warning = wnGradient;
    EXPECT_EQ(CellColour(&pipe, gcPressureDrop), TCellColour::Highlight);
    EXPECT_EQ(CellColour(&pipe, gcFlow), TCellColour::Default);
    pipe.Warning = wnVelocity;
    EXPECT_EQ(CellColour(&pipe, gcFlow), TCellColour::Highlight);
}

TEST_F(CircuitGridTest, SizeEditsTakeTheNearestBoreAtTheShownPrecision) {
    AddPipe();
    struct Case {
        const char* typed;
        const char* bore;
    } cases[] = {{"90", "80"}, {"90.1", "80"}, {"90.6", "100"}, {"15", "15"}, {"2000", "750"}};
    for (const Case& c : cases) {
        std::string committed = CommittedText(gcSize, c.typed);
        ApplyCellText(circuit, 0, gcSize, committed);
        EXPECT_EQ(CellText(&circuit.Item(0), gcSize), c.bore) << c.typed;
    }
}

TEST_F(CircuitGridTest, UserFlowEntryAutoSizesTheBore) {
    AddUser();
    ApplyCellText(circuit, 0, gcFlow, CommittedText(gcFlow, "2.6"));
    EXPECT_DOUBLE_EQ(circuit.Item(0).Flow, 0.0026);
    EXPECT_EQ(CellText(&circuit.Item(0), gcSize), "50");
    // A pipe's flow entry leaves its bore alone.
    TPipe& pipe = AddPipe();
    int bore = pipe.BoreIndex;
    ApplyCellText(circuit, 1, gcFlow, "2.6");
    EXPECT_EQ(pipe.BoreIndex, bore);
}

TEST_F(CircuitGridTest, QuantityAndPressureSetters) {
    TPipe& pipe = AddPipe();
    ApplyCellText(circuit, 0, gcQuantity, CommittedText(gcQuantity, "12.34"));
    EXPECT_DOUBLE_EQ(pipe.Length, 12.3);
    TUser& user = AddUser();
    ApplyCellText(circuit, 1, gcPressureDrop, "40");
    EXPECT_DOUBLE_EQ(user.PressureDrop, 40000);
    double flow = user.Flow;
    ApplyCellText(circuit, 1, gcQuantity, "5"); // user items have no quantity
    EXPECT_DOUBLE_EQ(user.Flow, flow);
}

TEST_F(CircuitGridTest, NegativeEntriesAreRefusedAndTheItemKeepsItsValue) {
    TPipe& pipe = AddPipe();
    TUser& user = AddUser();
    user.PressureDrop = 40000;
    const double length = pipe.Length, flow = pipe.Flow;
    const struct {
        int position, column;
        const char* text;
    } refused[] = {
        {0, gcQuantity, "-5"}, {0, gcFlow, "-1.5"}, {1, gcPressureDrop, "-40"}, {1, gcFlow, "-0.1"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.text);
        try {
            ApplyCellText(circuit, r.position, r.column, CommittedText(r.column, r.text));
            ADD_FAILURE() << "taken";
        } catch (const ConvertError& e) {
            EXPECT_STREQ(e.what(), "Data must be positive");
        }
    }
    EXPECT_DOUBLE_EQ(pipe.Length, length);
    EXPECT_DOUBLE_EQ(pipe.Flow, flow);
    EXPECT_DOUBLE_EQ(user.PressureDrop, 40000);
    // A zero is taken; the calculation names it. Groups may be negative.
    ApplyCellText(circuit, 0, gcQuantity, "0");
    EXPECT_EQ(pipe.Length, 0);
    ApplyCellText(circuit, 0, gcGroup, "-3");
    EXPECT_EQ(pipe.Group, -3);
}

TEST_F(CircuitGridTest, BadNumbersLeaveTheItemUnchanged) {
    TPipe& pipe = AddPipe();
    double length = pipe.Length;
    EXPECT_THROW(CommittedText(gcQuantity, "12,5"), ConvertError);
    EXPECT_THROW(ApplyCellText(circuit, 0, gcQuantity, "abc"), ConvertError);
    EXPECT_DOUBLE_EQ(pipe.Length, length);
    // An empty text leaves the item as it is.
    ApplyCellText(circuit, 0, gcQuantity, "");
    EXPECT_DOUBLE_EQ(pipe.Length, length);
    // A group number beyond the 32-bit field is refused, its limits are taken.
    EXPECT_THROW(ApplyCellText(circuit, 0, gcGroup, "3000000000"), ConvertError);
    EXPECT_THROW(ApplyCellText(circuit, 0, gcGroup, "-2147483649"), ConvertError);
    EXPECT_EQ(pipe.Group, 0);
    ApplyCellText(circuit, 0, gcGroup, "2147483647");
    EXPECT_EQ(pipe.Group, 2147483647);
    ApplyCellText(circuit, 0, gcGroup, "-2147483648");
    EXPECT_EQ(pipe.Group, -2147483648LL);
}

TEST_F(CircuitGridTest, GroupAndIndexSettersKeepTheGroupTogether) {
    for (int i = 0; i < 3; ++i) AddPipe();
    ApplyCellText(circuit, 0, gcGroup, "2");
    ApplyCellText(circuit, 1, gcGroup, "2");
    ApplyCellText(circuit, 1, gcIndex, "0");
    EXPECT_FALSE(circuit.Item(0).InIndex);
    EXPECT_FALSE(circuit.Item(1).InIndex);
    EXPECT_TRUE(circuit.Item(2).InIndex);
    // Moving an item into group 2 takes the group's flag.
    ApplyCellText(circuit, 2, gcGroup, "2");
    EXPECT_FALSE(circuit.Item(2).InIndex);
    // Into an empty group: in the index.
    ApplyCellText(circuit, 2, gcGroup, "7");
    EXPECT_TRUE(circuit.Item(2).InIndex);
}

TEST(GridCols, ParsesWidthsWithFallbacks) {
    EXPECT_EQ(ParseGridCols("25, 135, 35, 35, 60, 50, 50, 55, 125"), DefaultColumnWidths());
    TColumnWidths w = ParseGridCols("25, 135, x");
    EXPECT_EQ(w, (TColumnWidths{25, 135, 25, 25, 25, 25, 25, 25, 25}));
    EXPECT_EQ(ParseGridCols("4, 5, 300")[0], 25);
    EXPECT_EQ(ParseGridCols("4, 5, 300")[1], 5);
    EXPECT_EQ(ParseGridCols("4, 5, 300")[2], 300);
    EXPECT_EQ(FormatGridCols(DefaultColumnWidths()), "25, 135, 35, 35, 60, 50, 50, 55, 125");
}

} // namespace
} // namespace dvx
