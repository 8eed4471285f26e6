// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/CircuitGrid.h"
#include "ui/TestProject.h"

#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/ResistanceItems.h"
#include "engine/resistance/ValveFlowCoefficient.h"
#include "engine/units/UnitChoice.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

class CircuitGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        dvx::test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
    }
    void TearDown() override { dvx::test::TestProject().Tables.RestoreBuiltIn(); }

    TCircuit circuit{dvx::test::TestProject()};
    TPipe& AddPipe() {
        circuit.Append(std::make_unique<TPipe>(dvx::test::TestProject()));
        return static_cast<TPipe&>(circuit.Item(circuit.Count() - 1));
    }
    TUser& AddUser() {
        circuit.Append(std::make_unique<TUser>(dvx::test::TestProject()));
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
    pipe.SetBore(dvx::test::TestProject(), 11); // 100 mm
    EXPECT_EQ(CellText(&pipe, gcFlow, dvx::test::TestProject()), "25.00");
    EXPECT_EQ(CellText(&pipe, gcPressureDrop, dvx::test::TestProject()), "8.077");
    EXPECT_EQ(CellText(&pipe, gcQuantity, dvx::test::TestProject()), "12.3");
    EXPECT_EQ(CellText(&pipe, gcSize, dvx::test::TestProject()), "100");
    EXPECT_EQ(CellText(&pipe, gcIndex, dvx::test::TestProject()), "1");
    EXPECT_EQ(CellText(nullptr, gcFlow, dvx::test::TestProject()), "");
    TUser& user = AddUser();
    EXPECT_EQ(CellText(&user, gcQuantity, dvx::test::TestProject()), "1");
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
        ApplyCellText(circuit, 0, gcSize, committed, dvx::test::TestProject());
        EXPECT_EQ(CellText(&circuit.Item(0), gcSize, dvx::test::TestProject()), c.bore) << c.typed;
    }
}

TEST_F(CircuitGridTest, UserFlowEntryAutoSizesTheBore) {
    AddUser();
    ApplyCellText(circuit, 0, gcFlow, CommittedText(gcFlow, "2.6"), dvx::test::TestProject());
    EXPECT_DOUBLE_EQ(circuit.Item(0).Flow, 0.0026);
    EXPECT_EQ(CellText(&circuit.Item(0), gcSize, dvx::test::TestProject()), "50");
    // A pipe's flow entry leaves its bore alone.
    TPipe& pipe = AddPipe();
    int bore = pipe.BoreIndex;
    ApplyCellText(circuit, 1, gcFlow, "2.6", dvx::test::TestProject());
    EXPECT_EQ(pipe.BoreIndex, bore);
}

TEST_F(CircuitGridTest, QuantityAndPressureSetters) {
    TPipe& pipe = AddPipe();
    ApplyCellText(circuit, 0, gcQuantity, CommittedText(gcQuantity, "12.34"), dvx::test::TestProject());
    EXPECT_DOUBLE_EQ(pipe.Length, 12.3);
    TUser& user = AddUser();
    ApplyCellText(circuit, 1, gcPressureDrop, "40", dvx::test::TestProject());
    EXPECT_DOUBLE_EQ(user.PressureDrop, 40000);
    double flow = user.Flow;
    ApplyCellText(circuit, 1, gcQuantity, "5", dvx::test::TestProject()); // user items have no quantity
    EXPECT_DOUBLE_EQ(user.Flow, flow);
}

// A K or Kv typed into the quantity cell keeps the digits it is shown
// with; a valve is shown and typed as Cv under US units, and stays Kv.
TEST_F(CircuitGridTest, ResistanceValuesKeepTheirDigitsAndValvesTakeCvUnderUsUnits) {
    circuit.Append(std::make_unique<TKItem>(dvx::test::TestProject()));
    circuit.Append(std::make_unique<TValve>(dvx::test::TestProject()));
    auto& k = static_cast<TKItem&>(circuit.Item(0));
    auto& valve = static_cast<TValve&>(circuit.Item(1));
    const struct {
        bool Us;
        int Position;
        const char* Typed;
        double K, Kv; // expected afterwards
        const char* Shown;
    } cases[] = {
        {false, 0, "0.04", 0.04, 10, "0.04"},
        {false, 0, "0.125", 0.125, 10, "0.125"},
        {false, 1, "2.53", 0.125, 2.53, "2.53"},
        {true, 1, "11.56", 0.125, 11.56 / CvPerKv, "11.56"},
        {true, 0, "0.5", 0.5, 11.56 / CvPerKv, "0.5"}, // K has no unit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        SetDisplayUnits(c.Us ? TUnitChoice::FromPreset(upUS) : TUnitChoice());
        const TBranch& item = circuit.Item(c.Position);
        ApplyCellText(circuit, c.Position, gcQuantity, CommittedText(&item, gcQuantity, c.Typed), dvx::test::TestProject());
        const std::string shown = CellText(&item, gcQuantity, dvx::test::TestProject());
        SetDisplayUnits(TUnitChoice());
        EXPECT_DOUBLE_EQ(k.K, c.K);
        EXPECT_NEAR(valve.Kv, c.Kv, 1e-12);
        EXPECT_EQ(shown, c.Shown);
    }
    valve.Kv = 10;
    SetDisplayUnits(TUnitChoice::FromPreset(upUS));
    const std::string cv = CellText(&valve, gcQuantity, dvx::test::TestProject());
    SetDisplayUnits(TUnitChoice());
    EXPECT_EQ(cv, "11.56");
    EXPECT_EQ(CellText(&valve, gcQuantity, dvx::test::TestProject()), "10");
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
            ApplyCellText(circuit, r.position, r.column, CommittedText(r.column, r.text), dvx::test::TestProject());
            ADD_FAILURE() << "taken";
        } catch (const ConvertError& e) {
            EXPECT_STREQ(e.what(), "Data must be positive");
        }
    }
    EXPECT_DOUBLE_EQ(pipe.Length, length);
    EXPECT_DOUBLE_EQ(pipe.Flow, flow);
    EXPECT_DOUBLE_EQ(user.PressureDrop, 40000);
    // A zero is taken; the calculation names it. Groups may be negative.
    ApplyCellText(circuit, 0, gcQuantity, "0", dvx::test::TestProject());
    EXPECT_EQ(pipe.Length, 0);
    ApplyCellText(circuit, 0, gcGroup, "-3", dvx::test::TestProject());
    EXPECT_EQ(pipe.Group, -3);
}

TEST_F(CircuitGridTest, BadNumbersLeaveTheItemUnchanged) {
    TPipe& pipe = AddPipe();
    double length = pipe.Length;
    EXPECT_THROW(CommittedText(gcQuantity, "12,5"), ConvertError);
    EXPECT_THROW(ApplyCellText(circuit, 0, gcQuantity, "abc", dvx::test::TestProject()), ConvertError);
    EXPECT_DOUBLE_EQ(pipe.Length, length);
    // An empty text leaves the item as it is.
    ApplyCellText(circuit, 0, gcQuantity, "", dvx::test::TestProject());
    EXPECT_DOUBLE_EQ(pipe.Length, length);
    // A group number beyond the 32-bit field is refused, its limits are taken.
    EXPECT_THROW(ApplyCellText(circuit, 0, gcGroup, "3000000000", dvx::test::TestProject()), ConvertError);
    EXPECT_THROW(ApplyCellText(circuit, 0, gcGroup, "-2147483649", dvx::test::TestProject()), ConvertError);
    EXPECT_EQ(pipe.Group, 0);
    ApplyCellText(circuit, 0, gcGroup, "2147483647", dvx::test::TestProject());
    EXPECT_EQ(pipe.Group, 2147483647);
    ApplyCellText(circuit, 0, gcGroup, "-2147483648", dvx::test::TestProject());
    EXPECT_EQ(pipe.Group, -2147483648LL);
}

TEST_F(CircuitGridTest, GroupAndIndexSettersKeepTheGroupTogether) {
    for (int i = 0; i < 3; ++i) AddPipe();
    ApplyCellText(circuit, 0, gcGroup, "2", dvx::test::TestProject());
    ApplyCellText(circuit, 1, gcGroup, "2", dvx::test::TestProject());
    ApplyCellText(circuit, 1, gcIndex, "0", dvx::test::TestProject());
    EXPECT_FALSE(circuit.Item(0).InIndex);
    EXPECT_FALSE(circuit.Item(1).InIndex);
    EXPECT_TRUE(circuit.Item(2).InIndex);
    // Moving an item into group 2 takes the group's flag.
    ApplyCellText(circuit, 2, gcGroup, "2", dvx::test::TestProject());
    EXPECT_FALSE(circuit.Item(2).InIndex);
    // Into an empty group: in the index.
    ApplyCellText(circuit, 2, gcGroup, "7", dvx::test::TestProject());
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

TEST_F(CircuitGridTest, UserWidthsWinOverFittedOnesAndOnlyTheyAreStored) {
    // Description dragged to 300 some day; the font now needs more than the
    // defaults for "#" and less for "Type".
    const TColumnWidths stored = ParseGridCols("25, 300, 35, 35, 60, 50, 50, 55, 125");
    const TUserWidths chosen = UserChosenWidths(stored);
    EXPECT_TRUE(chosen[gcDescription]);
    EXPECT_FALSE(chosen[gcNumber]);
    TColumnWidths fitted{};
    fitted.fill(40);
    fitted[gcDescription] = 400;
    const TColumnWidths shown = ShownWidths(stored, chosen, fitted);
    EXPECT_EQ(shown[gcNumber], 40);        // wider for the font
    EXPECT_EQ(shown[gcDescription], 300);  // the user's own
    EXPECT_EQ(shown[gcType], 125);         // never below the default
    EXPECT_EQ(FormatGridCols(StoredWidths(shown, chosen)), "25, 300, 35, 35, 60, 50, 50, 55, 125");
}

TEST_F(CircuitGridTest, WarningCellsNameTheLimitAndTheValue) {
    TPipe& pipe = AddPipe();
    pipe.Velocity = 4.214;
    pipe.Gradient = 2345.67;
    struct Case {
        std::uint8_t warning;
        int column;
        const char* tip;
    };
    const Case cases[] = {
        {wnVelocity, gcFlow, "Velocity 4.21 m/s is above the limit of 3.5 m/s"},
        {wnGradient, gcPressureDrop, "Pressure gradient 2345.7 Pa/m is above the limit of 1500.0 Pa/m"},
        {wnVelocity, gcPressureDrop, ""}, // the other cell of the row is no warning
        {wnNone, gcFlow, ""},
    };
    for (const Case& c : cases) {
        pipe.Warning = c.warning;
        EXPECT_EQ(WarningTip(&pipe, c.column, dvx::test::TestProject()), c.tip);
    }
    EXPECT_EQ(WarningTip(nullptr, gcFlow, dvx::test::TestProject()), "");
}

TEST_F(CircuitGridTest, ResultColumnsComeBeforeTypeAndHoldPipeResultsOnly) {
    EXPECT_EQ(ShownColumns(false, true, ExtraBit(gcVelocity) | ExtraBit(gcVolume)),
              (std::vector<int>{gcNumber, gcDescription, gcSize, gcQuantity, gcFlow, gcPressureDrop, gcVelocity,
                                gcVolume, gcType}));
    EXPECT_EQ(ShownColumns(false, false, ExtraBit(gcReynolds)).back(), gcReynolds);
    TPipe& pipe = AddPipe();
    pipe.Velocity = 1.2345;
    pipe.Gradient = 250.06;
    pipe.Reynolds = 123456.7;
    pipe.Friction = 0.019876;
    pipe.Volume = 0.0001234;
    const std::pair<int, const char*> cells[] = {{gcVelocity, "1.23"}, {gcGradient, "250.1"}, {gcReynolds, "123457"},
                                                 {gcFriction, "0.0199"}, {gcVolume, "0.0001234"}};
    for (const auto& [column, text] : cells) {
        EXPECT_EQ(CellText(&pipe, column, dvx::test::TestProject()), text) << column;
        EXPECT_FALSE(CanEdit(&pipe, column));
    }
    TUser& user = AddUser();
    EXPECT_EQ(CellText(&user, gcVelocity, dvx::test::TestProject()), "");
    EXPECT_FALSE(CanEdit(&user, gcVolume));
}

TEST_F(CircuitGridTest, ResultColumnsAndWarningTipsFollowTheDisplayUnits) {
    TPipe& pipe = AddPipe();
    pipe.Velocity = 1.2345;  // 4.050 ft/s
    pipe.Volume = 0.0001234; // 0.03260 US gal
    SetDisplayUnits(TUnitChoice::FromPreset(upUS));
    const std::string velocityTitle = ColumnTitle(gcVelocity);
    const std::string volumeTitle = ColumnTitle(gcVolume);
    const std::string reynoldsTitle = ColumnTitle(gcReynolds);
    const std::string velocity = CellText(&pipe, gcVelocity, dvx::test::TestProject());
    const std::string volume = CellText(&pipe, gcVolume, dvx::test::TestProject());
    pipe.Velocity = 4.214; // 13.83 ft/s over the limit of 3.5 m/s = 11.48 ft/s
    pipe.Warning = wnVelocity;
    const std::string tip = WarningTip(&pipe, gcFlow, dvx::test::TestProject());
    SetDisplayUnits(TUnitChoice());

    EXPECT_EQ(velocityTitle, "Velocity, ft/s");
    EXPECT_EQ(volumeTitle, "Volume, US gal");
    EXPECT_EQ(reynoldsTitle, "Reynolds");
    EXPECT_EQ(velocity, "4.05");
    EXPECT_EQ(volume, "0.0326");
    EXPECT_EQ(tip, "Velocity 13.83 ft/s is above the limit of 11.5 ft/s");
    EXPECT_EQ(ColumnTitle(gcVelocity), "Velocity, m/s");
}

// "Qty" holds four different things; the tooltip names the one in the cell,
// and a pipe's length in the unit in force.
TEST_F(CircuitGridTest, QuantityTipsNameWhatTheCellHolds) {
    circuit.Append(std::make_unique<TPipe>(dvx::test::TestProject()));
    circuit.Append(std::make_unique<TFitting>(dvx::test::TestProject(), 0));
    circuit.Append(std::make_unique<TKItem>(dvx::test::TestProject()));
    circuit.Append(std::make_unique<TValve>(dvx::test::TestProject()));
    circuit.Append(std::make_unique<TUser>(dvx::test::TestProject()));
    const char* expected[] = {"Length, m", "Number of fittings", "Resistance coefficient K",
                              "Flow coefficient of the valve, Kv", ""};
    for (int i = 0; i < circuit.Count(); ++i) {
        EXPECT_EQ(QuantityTip(&circuit.Item(i), gcQuantity), expected[i]) << i;
        EXPECT_EQ(QuantityTip(&circuit.Item(i), gcFlow), "") << i;
    }
    EXPECT_EQ(QuantityTip(nullptr, gcQuantity), "");
    EXPECT_EQ(ColumnTip(gcFlow), "");

    SetDisplayUnits(TUnitChoice::FromPreset(upUS));
    const std::string pipeTip = QuantityTip(&circuit.Item(0), gcQuantity);
    const std::string valveTip = QuantityTip(&circuit.Item(3), gcQuantity);
    const std::string columnTip = ColumnTip(gcQuantity);
    SetDisplayUnits(TUnitChoice());
    EXPECT_EQ(pipeTip, "Length, ft");
    EXPECT_EQ(valveTip, "Flow coefficient of the valve, Cv");
    EXPECT_EQ(columnTip, "Pipes: length, ft; fittings: number; K items: K; valves: flow coefficient, Cv");
    EXPECT_EQ(ColumnTip(gcQuantity), "Pipes: length, m; fittings: number; K items: K; valves: flow coefficient, Kv");
}

} // namespace
} // namespace dvx
