// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/EntrySheet.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

using Strings = std::vector<std::string>;

// A sheet that records its messages.
class TSheet : public TEntrySheet {
public:
    Strings messages;

protected:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
};

const Strings kDefaultsLines = {
    "Property; Value; Units",
    "Water Temperature; %0.1f; °C; NPE; -10; 90",
    "Pipe Bore; enum; mm; 300; 250; 200; 150; 125; 100; 80; 65; 50; 40; 35; 25",
    "Pipe Length; %0.3f; m; NPE; 0.1; 100 ",
    "Water Flow Rate; %0.3f; l/s; NPE; 0.1; 100",
    "Fitting Type; enum; ; Elbow; Taper; Valve; Strainer",
    "Fitting Quantity; %d; ; NPE; 1; 99",
    "User Pressure Drop; %0.1f; kPa; NPE; 0; 100",
};

const Strings kFluidLines = {
    "Property; Value; Units",
    "Temperature; %0.2f; °C; NPE; -60; 350",
    "Fluid type; enum; ; Water",
    "Additive; enum; ; None; Ethylene Glycol; Propylene Glycol; Calcium Chloride",
    "Additive Volume; %0.2f; 0 to 0.4; NPE; 0.01; 0.45",
    "User Defined; enum; ; False; True",
    "Density; %0.4f; kg/m³; NPE; 0.01; 5000",
    "Specific Heat; %0.3f; kJ/kg·K; NPE; 0.01; 100.0",
    "Dynamic viscosity; %0.4g; kg/m·s; NPE; 1e-9; 10.0",
    "Conductivity; %0.4g; W/m·K; NPE; 1e-9; 10.0",
};

TEST(EntrySheet, RowsFromDefinitionLines) {
    TSheet sheet;
    sheet.SetLines(kDefaultsLines);
    EXPECT_TRUE(sheet.messages.empty());
    ASSERT_EQ(sheet.RowCount(), 8);
    EXPECT_EQ(sheet.Cell(0, 0), "Property");
    EXPECT_EQ(sheet.Cell(1, 0), "Value");
    EXPECT_EQ(sheet.Cell(2, 0), "Units");
    EXPECT_EQ(sheet.GetFormatString(0), "%S");
    const Strings values = {"", "0.0", "300", "0.000", "0.000", "Elbow", "0", "0.0"};
    const Strings units = {"", "°C", "mm", "m", "l/s", "", "", "kPa"};
    for (int row = 1; row < 8; ++row) {
        EXPECT_EQ(sheet.Cell(1, row), values[static_cast<std::size_t>(row)]) << row;
        EXPECT_EQ(sheet.Cell(2, row), units[static_cast<std::size_t>(row)]) << row;
    }
    EXPECT_DOUBLE_EQ(sheet.GetRangeHi(3), 100.0); // the line ends in a blank
    EXPECT_DOUBLE_EQ(sheet.GetRangeLo(3), 0.1);

    // Fields beyond the last column are not shown.
    TSheet narrow;
    narrow.SetColCount(2);
    narrow.SetLines({"Fitting Type; Coefficient; extra", "Elbow; %0.0f; ; NPE; 0; 999"});
    EXPECT_EQ(narrow.Cell(0, 0), "Fitting Type");
    EXPECT_EQ(narrow.Cell(1, 1), "0");
    EXPECT_EQ(narrow.Cell(2, 1), "");
}

TEST(EntrySheet, EmptyLinesLeaveTwoRowsWithoutFields) {
    TSheet sheet;
    sheet.SetLines(kDefaultsLines);
    sheet.SetLines({});
    EXPECT_EQ(sheet.RowCount(), 2);
    EXPECT_EQ(sheet.FieldCount(), 0);
    EXPECT_EQ(sheet.Cell(0, 1), "");
    sheet.SetValue(1, 1, 2.5);
    EXPECT_EQ(std::get<std::string>(sheet.GetValue(1, 1)), "2.5");
}

TEST(EntrySheet, BadNumericLineBecomesATextRowAndTheRestParse) {
    TSheet sheet;
    Strings lines = kFluidLines;
    lines[6] = "Density; %0.4f; kg/m³; NPE; 0.01";
    sheet.SetLines(lines);
    EXPECT_EQ(sheet.messages, Strings{"Error initialising Density"});
    EXPECT_EQ(sheet.NumField(6), nullptr);
    EXPECT_EQ(sheet.GetFormatString(6), "%S");
    ASSERT_NE(sheet.NumField(7), nullptr);
    EXPECT_EQ(sheet.Cell(1, 7), "0.000");
}

TEST(EntrySheet, IntegerRowRoundsAndReadsIntegers) {
    TSheet sheet;
    sheet.SetLines(kDefaultsLines);
    EXPECT_EQ(sheet.Cell(1, 6), "0");
    sheet.SetValue(1, 6, 3.6);
    EXPECT_EQ(sheet.Cell(1, 6), "4");
    sheet.SetValue(1, 6, 2.5);
    EXPECT_EQ(sheet.Cell(1, 6), "2"); // halves to even
    sheet.SetCell(1, 6, "12");
    TValue value = sheet.GetValue(1, 6);
    ASSERT_TRUE(std::holds_alternative<int>(value));
    EXPECT_EQ(std::get<int>(value), 12);
    sheet.SetCell(1, 6, "twelve");
    EXPECT_EQ(std::get<std::string>(sheet.GetValue(1, 6)), "twelve");
    sheet.SetValue(1, 6, std::string("x"));
    EXPECT_EQ(sheet.Cell(1, 6), "");
}

TEST(EntrySheet, RealRowsByFormatType) {
    TSheet sheet;
    sheet.SetLines(kDefaultsLines);
    sheet.SetValue(1, 3, 12.3456);
    EXPECT_EQ(sheet.Cell(1, 3), "12.346");
    EXPECT_DOUBLE_EQ(std::get<double>(sheet.GetValue(1, 3)), 12.346);
    sheet.SetCell(1, 3, "1 2 . 5");
    EXPECT_DOUBLE_EQ(std::get<double>(sheet.GetValue(1, 3)), 12.5);
    sheet.SetUnits(3, utNone, 0, 0, ft_Auto, 1.0, 0.0);
    sheet.SetValue(1, 3, 1234.5678);
    EXPECT_EQ(sheet.Cell(1, 3), "1234.6");
    sheet.SetUnits(3, utNone, 0, 0, ft_AutoOverride, 1.0, 0.0);
    sheet.SetValue(1, 3, 0.0123);
    EXPECT_EQ(sheet.Cell(1, 3), "0.0123"); // 10^(2−3) = 0.1 > 0.0123: automatic
    sheet.SetValue(1, 3, 0.5);
    EXPECT_EQ(sheet.Cell(1, 3), "0.500");
    // Other columns take the value as text; other rows the format.
    sheet.SetValue(2, 3, 7.5);
    EXPECT_EQ(sheet.Cell(2, 3), "7.5");
    EXPECT_EQ(std::get<std::string>(sheet.GetValue(2, 3)), "7.5");
}

TEST(EntrySheet, TextRowsKeepTheirText) {
    TSheet sheet;
    sheet.SetLines({"Property; Value; Units", "Notes; %S; ; PE", "Tag; ; ; NPE", "Code; [%s]"});
    sheet.SetValue(1, 1, std::string("Riser 2"));
    EXPECT_EQ(sheet.Cell(1, 1), "Riser 2");
    sheet.SetValue(1, 1, 7);
    EXPECT_EQ(sheet.Cell(1, 1), "7");
    // A row with no format keeps what it is given rather than emptying it.
    sheet.SetValue(1, 2, std::string("Plant room"));
    EXPECT_EQ(sheet.Cell(1, 2), "Plant room");
    EXPECT_EQ(std::get<std::string>(sheet.GetValue(1, 2)), "Plant room");
    sheet.SetValue(1, 3, std::string("A1"));
    EXPECT_EQ(sheet.Cell(1, 3), "[A1]");
}

TEST(EntrySheet, EnumerationIndexAndOutOfRange) {
    TSheet sheet;
    sheet.SetLines(kDefaultsLines);
    sheet.SetValue(1, 5, 3);
    EXPECT_EQ(sheet.Cell(1, 5), "Strainer");
    EXPECT_EQ(std::get<int>(sheet.GetValue(1, 5)), 3);
    sheet.SetValue(1, 5, 7);
    EXPECT_EQ(sheet.Cell(1, 5), "");
    EXPECT_EQ(std::get<int>(sheet.GetValue(1, 5)), -1);
    sheet.SetValue(1, 5, -1);
    EXPECT_EQ(sheet.Cell(1, 5), "");

    // New strings do not change the cell; values index the new list.
    sheet.SetValue(1, 2, 0);
    sheet.SetEnumStrings(2, {"750", "600", "500"});
    EXPECT_EQ(sheet.Cell(1, 2), "300");
    EXPECT_EQ(std::get<int>(sheet.GetValue(1, 2)), -1);
    sheet.SetValue(1, 2, 2);
    EXPECT_EQ(sheet.Cell(1, 2), "500");
}

TEST(EntrySheet, EnumerationCyclesAndWraps) {
    TSheet sheet;
    sheet.SetLines(kDefaultsLines);
    sheet.SetValue(1, 5, 3);
    EXPECT_TRUE(sheet.CycleEnum(5, +1));
    EXPECT_EQ(sheet.Cell(1, 5), "Elbow");
    EXPECT_TRUE(sheet.CycleEnum(5, -1));
    EXPECT_EQ(sheet.Cell(1, 5), "Strainer");
    EXPECT_TRUE(sheet.CycleEnum(5, -1));
    EXPECT_EQ(sheet.Cell(1, 5), "Valve");
    sheet.SetValue(1, 5, 9); // empty cell: Right gives the first, Left the last
    EXPECT_TRUE(sheet.CycleEnum(5, -1));
    EXPECT_EQ(sheet.Cell(1, 5), "Strainer");
    sheet.SetValue(1, 5, 9);
    EXPECT_TRUE(sheet.CycleEnum(5, +1));
    EXPECT_EQ(sheet.Cell(1, 5), "Elbow");

    sheet.SetRowEnabled(5, false);
    EXPECT_FALSE(sheet.CycleEnum(5, +1));
    EXPECT_EQ(sheet.Cell(1, 5), "Elbow");
    EXPECT_FALSE(sheet.CycleEnum(3, +1)); // not an enumeration
    sheet.SetEnumStrings(2, {});
    EXPECT_FALSE(sheet.CycleEnum(2, +1));
}

TEST(EntrySheet, TemperatureInFahrenheit) {
    TSheet sheet;
    sheet.SetLines(kDefaultsLines);
    sheet.SetValue(1, 1, 9.0);
    sheet.SetUnits(1, utTemperature, 1, 0, ft_Fixed, 1.0, 0.0);
    EXPECT_TRUE(sheet.messages.empty());
    EXPECT_EQ(sheet.Cell(1, 1), "48.2");
    EXPECT_EQ(sheet.Cell(2, 1), "°F");
    EXPECT_DOUBLE_EQ(sheet.GetRangeHi(1), 194.0);
    EXPECT_DOUBLE_EQ(sheet.GetRangeLo(1), 14.0);
    EXPECT_DOUBLE_EQ(sheet.GetUnitsFactor(1), 1.8);
    EXPECT_DOUBLE_EQ(sheet.GetUnitsZero(1), 32.0);
    EXPECT_NEAR(std::get<double>(sheet.GetValue(1, 1)), 9.0, 1e-9);
    EXPECT_TRUE(sheet.HasUnits(1));
    EXPECT_EQ(sheet.GetUnitsValue(1), 1);
    EXPECT_EQ(sheet.FormatAsRow(1, 300.0), "572.0");

    sheet.SetUnitsValue(1, 2);
    EXPECT_EQ(sheet.Cell(1, 1), "282.15");
    EXPECT_EQ(sheet.Cell(2, 1), "K");
    sheet.SetUnitsValue(1, 5); // no such unit: back to °C
    EXPECT_EQ(sheet.GetUnitsValue(1), 0);
    EXPECT_EQ(sheet.Cell(1, 1), "9.0");
    EXPECT_TRUE(sheet.messages.empty());
}

TEST(EntrySheet, FluidSheetStartUnits) {
    TSheet sheet;
    sheet.SetLines(kFluidLines);
    struct Start { int row; TUnitsType type; int unit; double internal; const char* shown; const char* label; };
    const Start starts[] = {
        {1, utTemperature, 0, 9.0, "9.0", "°C"},
        {4, utProportion, 1, 0.3, "30.0", "%"},
        {6, utDensity, 0, 999.65, "999.65", "kg/m³"},
        {7, utSpecificHeat, 0, 4.195, "4.195", "kJ/kg·K"},
        {9, utConductivity, 1, 0.000585069, "0.585069", "W/mK"},
        {8, utViscosity, 3, 0.00133254, "1.33254", "cP"},
    };
    for (const auto& s : starts) {
        sheet.SetUnits(s.row, s.type, s.unit, 0, ft_Fixed, 1.0, 0.0);
        sheet.SetValue(1, s.row, s.internal);
        EXPECT_EQ(sheet.Cell(1, s.row), s.shown) << s.row;
        EXPECT_EQ(sheet.Cell(2, s.row), s.label) << s.row;
        EXPECT_NEAR(std::get<double>(sheet.GetValue(1, s.row)), s.internal, s.internal * 1e-4) << s.row;
    }
    EXPECT_DOUBLE_EQ(sheet.GetRangeLo(4), 1.0);
    EXPECT_DOUBLE_EQ(sheet.GetRangeHi(4), 45.0);
    EXPECT_TRUE(sheet.messages.empty());

    // A family with no units table cannot be applied at all.
    sheet.SetUnits(6, utPressure, 0, 0, ft_Fixed, 1.0, 0.0);
    EXPECT_EQ(sheet.messages, Strings{"Error setting units, row 6"});
}

TEST(EntrySheet, UnitsWithoutAFamilyUseTheGivenFactorAndZero) {
    TSheet sheet;
    sheet.SetLines(kDefaultsLines);
    sheet.SetUnits(7, utNone, 0, 0, ft_Fixed, 0.001, 0.0); // Pa inside, kPa shown
    sheet.SetValue(1, 7, 25000.0);
    EXPECT_EQ(sheet.Cell(1, 7), "25.0");
    EXPECT_EQ(sheet.Cell(2, 7), "kPa"); // no family: the units text stays
    EXPECT_FALSE(sheet.HasUnits(7));
    EXPECT_DOUBLE_EQ(std::get<double>(sheet.GetValue(1, 7)), 25000.0);
}

TEST(EntrySheet, TwoColumnSheetPutsTheLabelInTheCaption) {
    TSheet sheet;
    sheet.SetColCount(2);
    sheet.SetLines({"Property; Value", "Temperature, °C; %0.1f; ; NPE; -10; 90", "Heat; %0.1f; ; NPE; 0; 90"});
    sheet.SetUnits(1, utTemperature, 1, 0, ft_Fixed, 1, 0);
    EXPECT_EQ(sheet.Cell(0, 1), "Temperature,°F");
    sheet.SetUnits(2, utTemperature, 2, 0, ft_Fixed, 1, 0);
    EXPECT_EQ(sheet.Cell(0, 2), "K");
}

TEST(EntrySheet, PairRowsConvertBothNumbers) {
    TSheet sheet;
    sheet.SetLines({"Property; Value; Units", "Range; %0.1f/%0.1f; °C; NPE; -10; 90"});
    EXPECT_EQ(sheet.Cell(1, 1), "0.0/0.0");
    EXPECT_EQ(std::get<std::string>(sheet.GetValue(1, 1)), "0.0/0.0");
    sheet.SetCell(1, 1, "");
    EXPECT_EQ(std::get<std::string>(sheet.GetValue(1, 1)), "0.0/0.0");
    sheet.SetValue(1, 1, std::string("5/20"));
    EXPECT_EQ(sheet.Cell(1, 1), "5.0/20.0");
    sheet.SetUnits(1, utTemperature, 1, 0, ft_Fixed, 1, 0);
    EXPECT_EQ(sheet.GetFormatString(1), "%0.1f/%0.1f");
    EXPECT_EQ(sheet.Cell(1, 1), "41.0/68.0");
    EXPECT_EQ(std::get<std::string>(sheet.GetValue(1, 1)), "5.0/20.0");
    sheet.SetCell(1, 1, "50");
    EXPECT_EQ(std::get<std::string>(sheet.GetValue(1, 1)), "10");
    sheet.SetValue(1, 1, 3.0); // a pair needs two numbers
    EXPECT_EQ(sheet.Cell(1, 1), "");
}

TEST(EntrySheet, TypedOperationsReportTheirFailures) {
    TSheet sheet;
    sheet.SetLines(kDefaultsLines);
    struct Case { std::function<void()> call; const char* message; };
    const Case cases[] = {
        {[&] { sheet.SetRowEnabled(12, false); }, "Error setting enabled row 12"},
        {[&] { sheet.SetEnumStrings(1, {"a"}); }, "Error setting enum strings, row 1"},
        {[&] { sheet.SetUnits(2, utTemperature, 0, 0, ft_Fixed, 1, 0); }, "Error setting units, row 2"},
        {[&] { sheet.GetUnitsValue(5); }, "Error getting units value, row 5"},
        {[&] { sheet.SetUnitsValue(5, 1); }, "Error setting units value, row 5"},
        {[&] { sheet.GetUnitsFactor(10); }, "Error getting units factor, row 10"},
        {[&] { sheet.GetUnitsZero(10); }, "Error getting units zero value, row 10"},
        {[&] { sheet.GetRangeLo(-1); }, "Error getting range lo, row -1"},
        {[&] { sheet.GetRangeHi(8); }, "Error getting range hi, row 8"},
        {[&] { sheet.GetFormatString(8); }, "Error getting format string, row 8"},
    };
    for (const auto& c : cases) {
        sheet.messages.clear();
        c.call();
        EXPECT_EQ(sheet.messages, Strings{c.message});
    }
    EXPECT_EQ(sheet.GetFormatString(8), "%S");
    sheet.messages.clear();
    EXPECT_DOUBLE_EQ(sheet.GetUnitsFactor(5), 0.0); // not numeric: 0, no message
    EXPECT_DOUBLE_EQ(sheet.GetRangeHi(5), 0.0);
    EXPECT_FALSE(sheet.HasUnits(5));
    EXPECT_TRUE(sheet.messages.empty());
}

TEST(EntrySheet, PreparingACellSetsTheCurrentFieldAndButtons) {
    TSheet sheet;
    Strings lines = kDefaultsLines;
    lines.push_back("Step; %0.1f; m; Spin; -5; 5");
    lines.push_back("Notes; %S; ; PE");
    sheet.SetLines(lines);

    auto b = sheet.PrepareCell(1, 5);
    EXPECT_TRUE(b.DropDown);
    EXPECT_EQ(sheet.CurrentEnumField(), sheet.EnumField(5));
    EXPECT_EQ(sheet.CurrentNumField(), nullptr);

    b = sheet.PrepareCell(1, 8);
    EXPECT_TRUE(b.Spin);
    EXPECT_FALSE(b.DropDown);
    EXPECT_EQ(sheet.CurrentNumField(), sheet.NumField(8));
    EXPECT_EQ(sheet.CurrentFormat(), "%0.1f");
    EXPECT_DOUBLE_EQ(sheet.CurrentRangeLo(), -5);
    EXPECT_DOUBLE_EQ(sheet.CurrentRangeHi(), 5);

    b = sheet.PrepareCell(1, 9);
    EXPECT_TRUE(b.PropEditor);
    EXPECT_EQ(sheet.CurrentFormat(), "%S");

    // Disabled rows show no button and are not current numeric fields.
    sheet.SetRowEnabled(8, false);
    b = sheet.PrepareCell(1, 8);
    EXPECT_FALSE(b.Spin);
    EXPECT_EQ(sheet.CurrentNumField(), nullptr);
    EXPECT_EQ(sheet.CurrentFormat(), "%0.1f");
    EXPECT_DOUBLE_EQ(sheet.CurrentRangeHi(), 0);
    EXPECT_FALSE(sheet.CanEditText(1, 8));
    sheet.SetRowEnabled(5, false);
    EXPECT_FALSE(sheet.PrepareCell(1, 5).DropDown);

    // Caption and units columns show no buttons and keep the state.
    sheet.PrepareCell(1, 1);
    b = sheet.PrepareCell(2, 5);
    EXPECT_FALSE(b.DropDown || b.Spin || b.PropEditor);
    EXPECT_EQ(sheet.CurrentFormat(), "%0.1f");

    EXPECT_TRUE(sheet.CanEditText(1, 1));
    EXPECT_FALSE(sheet.CanEditText(0, 1));
    EXPECT_FALSE(sheet.CanEditText(1, 2)); // enumeration
    EXPECT_FALSE(sheet.CanEditText(1, 0)); // heading

    // Units changed on the current row move the editor's limits with it.
    sheet.PrepareCell(1, 1);
    sheet.SetUnits(1, utTemperature, 1, 0, ft_Fixed, 1, 0);
    EXPECT_DOUBLE_EQ(sheet.CurrentRangeHi(), 194.0);
    EXPECT_EQ(sheet.CurrentFormat(), "%0.1f");
    sheet.PrepareCell(1, 3);
    sheet.SetUnits(1, utTemperature, 2, 0, ft_Fixed, 1, 0);
    EXPECT_DOUBLE_EQ(sheet.CurrentRangeHi(), 100.0); // row 3's limit stays
}

TEST(EntrySheet, RebuildingRowsForgetsTheCurrentField) {
    TSheet sheet;
    sheet.SetLines(kDefaultsLines);
    sheet.PrepareCell(1, 1);
    ASSERT_NE(sheet.CurrentNumField(), nullptr);
    sheet.SetLines(kFluidLines);
    EXPECT_EQ(sheet.CurrentNumField(), nullptr);
    EXPECT_EQ(sheet.CurrentFormat(), "%S");
}

struct SpinCase {
    double start;
    bool up;
    double after;
    bool stepped;
};

TEST(EntrySheet, SpinStepsOntoMultiplesOfTheIncrement) {
    const SpinCase cases[] = {
        {2.5, true, 3, true},   {2.5, false, 2, true},   {-2.5, true, -2, true},
        {-2.5, false, -3, true}, {2.0, true, 3, true},   {2.0, false, 1, true},
        {0.0, false, -1, true},  {9.6, true, 10, true},  // clamped to the high limit
        {10.0, true, 10, false}, {-10.0, false, -10, false},
        {-9.5, false, -10, true},
    };
    for (const auto& c : cases) {
        TSheet sheet;
        sheet.SetLines({"Property; Value; Units", "Level; %0.1f; m; Spin; -10; 10"});
        sheet.SetValue(1, 1, c.start);
        const bool stepped = c.up ? sheet.SpinUp(1) : sheet.SpinDown(1);
        EXPECT_EQ(stepped, c.stepped) << c.start << (c.up ? " up" : " down");
        EXPECT_DOUBLE_EQ(std::get<double>(sheet.GetValue(1, 1)), c.after) << c.start << (c.up ? " up" : " down");
    }
}

TEST(EntrySheet, SpinUsesTheShownPrecisionAndTheStep) {
    TSheet sheet;
    sheet.SetLines({"Property; Value; Units", "Count; %d; ; Spin; 0; 20; 5", "Half; %0.2f; ; Spin; 0; 2; 0.25",
                    "Pair; %0.1f/%0.1f; ; Spin; 0; 5"});
    sheet.SetValue(1, 1, 7);
    EXPECT_TRUE(sheet.SpinUp(1));
    EXPECT_EQ(sheet.Cell(1, 1), "10");
    EXPECT_TRUE(sheet.SpinUp(1));
    EXPECT_EQ(sheet.Cell(1, 1), "15");
    sheet.SetValue(1, 2, 0.499); // shown as 0.50, which is on a step
    EXPECT_TRUE(sheet.SpinUp(2));
    EXPECT_EQ(sheet.Cell(1, 2), "0.75");
    EXPECT_FALSE(sheet.SpinUp(3)); // pairs do not spin
    sheet.SetRowEnabled(1, false);
    EXPECT_FALSE(sheet.SpinUp(1));
    EXPECT_EQ(sheet.Cell(1, 1), "15");
}

} // namespace
} // namespace dvx
