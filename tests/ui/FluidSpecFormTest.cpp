// SPDX-License-Identifier: GPL-3.0-or-later
// The fluid specification sheet's rules on a sheet without a window: what
// activation shows, how each changed row reaches the liquid, the additive
// and user-value rules, the status line, Cancel and the stored settings.

#include "presentation/ui/FluidSheet.h"
#include "ui/TestProject.h"

#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "storage/settings/SettingsStore.h"
#include "engine/units/UnitChoice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace dvx::ui {
namespace {

// A sheet that records its own failure messages.
class RecordingSheet : public TEntrySheet {
public:
    std::vector<std::string> Messages;

protected:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
};

// The same liquid evaluated directly, to compare the sheet's result with.
TLiquid Reference(std::uint8_t spec, double t, std::uint8_t additive = 0, double volume = 0) {
    TLiquid liquid("Water", spec, 0, t, t);
    liquid.WaterAdditive = additive;
    liquid.AdditiveVolume = volume;
    liquid.Evaluate();
    return liquid;
}

class FluidSpecSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        logic.Setup();
        logic.OnStatus = [this](const TFluidStatus& s) { status = s; ++statusShown; };
        logic.OnMessage = [this](const std::string& text) { messages.push_back(text); };
        logic.OnError = [this](const std::string& text) { errors.push_back(text); };
        logic.SetFluid(&fluid);
        logic.Activate();
    }

    std::string Cell(int row) const { return sheet.Cell(1, row); }
    // As the sheet does after the user chose an item or a value (given in
    // internal units) ...
    void Change(int row, const TValue& value) {
        sheet.SetValue(1, row, value);
        logic.RowChanged(row);
    }
    // ... or typed a text in the row's unit.
    void Type(int row, const std::string& text) {
        sheet.SetCell(1, row, text);
        logic.RowChanged(row);
    }

    TLiquid fluid{"Water", 0, 0, 9.0, 9.0};
    RecordingSheet sheet;
    TFluidSpecSheet logic{sheet};
    TFluidStatus status;
    int statusShown = 0;
    std::vector<std::string> messages, errors;
};

TEST_F(FluidSpecSheetTest, ActivationShowsCleanWaterInTheStartUnits) {
    EXPECT_EQ(Cell(frTemperature), "9.0");
    EXPECT_EQ(Cell(frFluidType), "Water");
    EXPECT_EQ(Cell(frAdditive), "None");
    EXPECT_EQ(Cell(frVolume), "0.0");
    EXPECT_EQ(Cell(frUserDefined), "False");
    EXPECT_EQ(Cell(frDensity), "999.65");
    EXPECT_EQ(Cell(frSpecificHeat), "4.195");
    EXPECT_EQ(Cell(frViscosity), "1.33254");
    EXPECT_EQ(Cell(frConductivity), "0.585069");
    const std::vector<std::string> units = {"°C", "", "", "%", "", "kg/m³", "kJ/kg·K", "cP", "W/mK"};
    for (int r = 1; r <= 9; ++r) EXPECT_EQ(sheet.Cell(2, r), units[static_cast<std::size_t>(r - 1)]) << "row " << r;
    EXPECT_EQ(status.Text, "Valid range = [0.0 .. 300.0] °C");
    EXPECT_TRUE(status.InRange);
    // Water without additive and without user values.
    EXPECT_TRUE(sheet.RowEnabled(frAdditive));
    EXPECT_FALSE(sheet.RowEnabled(frVolume));
    for (int r : {frDensity, frSpecificHeat, frViscosity, frConductivity}) EXPECT_FALSE(sheet.RowEnabled(r));
    // The liquid names in code order.
    ASSERT_NE(sheet.EnumField(frFluidType), nullptr);
    EXPECT_EQ(sheet.EnumField(frFluidType)->Items.size(), 14u);
    EXPECT_EQ(sheet.EnumField(frFluidType)->Items[13], "Compressed Air");
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(sheet.Messages.empty()); // every definition line parsed
}

TEST_F(FluidSpecSheetTest, AnAdditiveStartsAtOnePercentAndCountsAtTheNextChange) {
    const double cleanRo = fluid.ro;
    Change(frAdditive, 1);
    EXPECT_EQ(Cell(frVolume), "1.0");
    EXPECT_TRUE(sheet.RowEnabled(frVolume));
    EXPECT_DOUBLE_EQ(fluid.AdditiveVolume, 0.01);
    EXPECT_EQ(fluid.WaterAdditive, 1);
    // Evaluated before the volume was set: still clean water.
    EXPECT_DOUBLE_EQ(fluid.ro, cleanRo);
    EXPECT_EQ(Cell(frDensity), "999.65");
    EXPECT_EQ(status.Text, "Valid range = [0.0 .. 300.0] °C");

    Type(frVolume, "30");
    const TLiquid glycol = Reference(0, 9.0, 1, 0.30);
    EXPECT_DOUBLE_EQ(fluid.AdditiveVolume, 0.30);
    EXPECT_DOUBLE_EQ(fluid.ro, glycol.ro);
    EXPECT_DOUBLE_EQ(fluid.mu, glycol.mu);
    EXPECT_EQ(Cell(frVolume), "30.0");
    EXPECT_EQ(Cell(frDensity), sheet.FormatAsRow(frDensity, glycol.ro));
    EXPECT_EQ(Cell(frViscosity), sheet.FormatAsRow(frViscosity, glycol.mu));
    EXPECT_EQ(status.Text, "Valid range = [-30.0 .. 300.0] °C");
    EXPECT_EQ(fluid.Caption, "Water (30% Ethylene Glycol)");
    // The user values follow the shown properties, as shown.
    EXPECT_DOUBLE_EQ(fluid.UserRo, *ValueAsNumber(sheet.GetValue(1, frDensity)));
    EXPECT_NEAR(fluid.UserRo, glycol.ro, 0.1);

    // Another liquid clears the additive on the sheet and in the liquid.
    Change(frFluidType, 7);
    const TLiquid mercury = Reference(7, 9.0);
    EXPECT_EQ(Cell(frAdditive), "None");
    EXPECT_EQ(Cell(frVolume), "0.0");
    EXPECT_FALSE(sheet.RowEnabled(frAdditive));
    EXPECT_FALSE(sheet.RowEnabled(frVolume));
    EXPECT_EQ(fluid.WaterAdditive, 0);
    EXPECT_DOUBLE_EQ(fluid.AdditiveVolume, 0.0);
    EXPECT_DOUBLE_EQ(fluid.ro, mercury.ro);
    EXPECT_EQ(Cell(frDensity), sheet.FormatAsRow(frDensity, mercury.ro));
    EXPECT_EQ(status.Text, "Valid range = [0.0 .. 316.0] °C");
}

TEST_F(FluidSpecSheetTest, TemperatureUnitChangesTheRowAndTheStatus) {
    sheet.SetUnitsValue(frTemperature, 1);
    logic.ShowStatus();
    EXPECT_EQ(Cell(frTemperature), "48.2");
    EXPECT_EQ(status.Text, "Valid range = [32.0 .. 572.0] °F");
    // A typed °F value reaches the liquid in °C.
    Type(frTemperature, "68");
    EXPECT_DOUBLE_EQ(fluid.t, 20.0);
    sheet.SetUnitsValue(frTemperature, 2);
    logic.ShowStatus();
    EXPECT_EQ(status.Text, "Valid range = [273.15 .. 573.15] K");
}

TEST_F(FluidSpecSheetTest, TemperatureOutsideTheRangeIsShownInMaroon) {
    Change(frFluidType, 13);
    Change(frTemperature, 5.0);
    EXPECT_DOUBLE_EQ(fluid.t, 5.0);
    EXPECT_FALSE(status.InRange);
    EXPECT_EQ(status.Text, "Valid range = [50.0 .. 400.0] °C");
    Change(frTemperature, 60.0);
    EXPECT_TRUE(status.InRange);
}

TEST_F(FluidSpecSheetTest, UserValuesTakeEffectAtOnceAndCancelRestores) {
    const double cleanRo = fluid.ro;
    Change(frUserDefined, 1);
    for (int r : {frDensity, frSpecificHeat, frViscosity, frConductivity}) EXPECT_TRUE(sheet.RowEnabled(r));
    EXPECT_FALSE(sheet.RowEnabled(frVolume));
    EXPECT_TRUE(fluid.UserProps);
    Change(frDensity, 1100.0);
    EXPECT_DOUBLE_EQ(fluid.ro, 1100.0);
    EXPECT_DOUBLE_EQ(fluid.UserRo, 1100.0);
    EXPECT_EQ(fluid.Caption, "User Specified Fluid");
    // The viscosity row is typed in cP and held in Pa·s.
    Type(frViscosity, "2.5");
    EXPECT_DOUBLE_EQ(fluid.mu, 2.5 / 1000);

    logic.RestoreBackup();
    EXPECT_FALSE(fluid.UserProps);
    EXPECT_DOUBLE_EQ(fluid.ro, cleanRo);
    EXPECT_NEAR(fluid.mu, 0.00133254, 1e-8);
    EXPECT_NEAR(fluid.UserRo, cleanRo, 1e-9);
    EXPECT_DOUBLE_EQ(fluid.t, 9.0);
}

TEST_F(FluidSpecSheetTest, CancelPutsBackTemperatureLiquidAndAdditive) {
    Change(frAdditive, 2);
    Change(frVolume, 0.25);
    Change(frTemperature, 40.0);
    Change(frFluidType, 3);
    logic.RestoreBackup();
    const TLiquid water = Reference(0, 9.0);
    EXPECT_DOUBLE_EQ(fluid.t, 9.0);
    EXPECT_DOUBLE_EQ(fluid.tfo, 9.0);
    EXPECT_EQ(fluid.LiquidSpec, 0);
    EXPECT_EQ(fluid.WaterAdditive, 0);
    EXPECT_DOUBLE_EQ(fluid.AdditiveVolume, 0.0);
    EXPECT_DOUBLE_EQ(fluid.ro, water.ro);
    EXPECT_DOUBLE_EQ(fluid.ValidTMax, 300.0);
}

TEST_F(FluidSpecSheetTest, FailedEvaluationKeepsThePreviousProperties) {
    Change(frFluidType, 12); // condensed steam has no value below about -43 °C
    const double ro = fluid.ro, mu = fluid.mu, Ko = fluid.Ko;
    const std::string shownRo = Cell(frDensity);
    Change(frTemperature, -50.0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_FALSE(errors[0].empty());
    EXPECT_DOUBLE_EQ(fluid.ro, ro);
    EXPECT_DOUBLE_EQ(fluid.mu, mu);
    EXPECT_DOUBLE_EQ(fluid.Ko, Ko);
    EXPECT_EQ(Cell(frDensity), shownRo);
    EXPECT_FALSE(status.InRange);
}

TEST_F(FluidSpecSheetTest, CancelKeepsStoredPropertiesThatDoNotEvaluate) {
    // A liquid as a project file leaves it: properties stored, not evaluated.
    fluid.LiquidSpec = 12;
    fluid.t = -50.0;
    fluid.ro = 1234.5;
    fluid.mu = 0.002;
    logic.Activate();
    Change(frFluidType, 0);
    Change(frTemperature, 20.0);
    EXPECT_NE(fluid.ro, 1234.5);
    errors.clear();
    logic.RestoreBackup();
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(fluid.LiquidSpec, 12);
    EXPECT_DOUBLE_EQ(fluid.t, -50.0);
    EXPECT_DOUBLE_EQ(fluid.ro, 1234.5);
    EXPECT_DOUBLE_EQ(fluid.mu, 0.002);
}

TEST_F(FluidSpecSheetTest, RowValuesNeedOneValuePerDataRow) {
    EXPECT_FALSE(logic.SetRowValues({1.0, 2.0}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "DataCount<>LineCount");
    EXPECT_EQ(Cell(frTemperature), "9.0");
}

TEST_F(FluidSpecSheetTest, SheetSettingsRoundTripAndFallBack) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("dvx_fluidsheet_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                         "_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(folder);
    SettingsStore store((folder / "settings.ini").string());
    sheet.SetUnitsValue(frTemperature, 1);
    sheet.SetUnitsValue(frViscosity, 0);
    logic.SaveSheetSettings(store, {120, 90, 60});
    EXPECT_EQ(store.ReadInteger("FluidSpecForm", "ColWidths0", 0), 120);
    EXPECT_EQ(store.ReadInteger("FluidSpecForm", "ColWidths2", 0), 60);
    EXPECT_EQ(store.ReadInteger("FluidSpecForm", "Units1", -1), 1);
    EXPECT_EQ(store.ReadInteger("FluidSpecForm", "Units4", -1), 1);
    EXPECT_EQ(store.ReadInteger("FluidSpecForm", "Units8", -1), 0);
    EXPECT_FALSE(store.ValueExists("FluidSpecForm", "Units2"));
    EXPECT_FALSE(store.ValueExists("FluidSpecForm", "Units5"));

    // A fresh sheet takes them; a unit the family lacks falls back to its
    // first unit, a width the window cannot use keeps the current one.
    store.WriteInteger("FluidSpecForm", "Units9", 17);
    store.WriteInteger("FluidSpecForm", "ColWidths1", -40);
    RecordingSheet other;
    TFluidSpecSheet otherLogic(other);
    otherLogic.Setup();
    std::vector<int> widths = {100, 100, 50};
    otherLogic.LoadSheetSettings(store, widths);
    EXPECT_EQ(widths, (std::vector<int>{120, 100, 60}));
    EXPECT_EQ(other.GetUnitsValue(frTemperature), 1);
    EXPECT_EQ(other.GetUnitsValue(frViscosity), 0);
    EXPECT_EQ(other.GetUnitsValue(frConductivity), 0);
    EXPECT_EQ(other.Cell(2, frConductivity), "kW/mK");
    EXPECT_EQ(other.Cell(2, frTemperature), "°F");
    EXPECT_TRUE(other.Messages.empty());
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace dvx::ui

namespace dvx::ui {
namespace {

// The sheet starts in the engineer's display units where it has the same
// quantity; otherwise (and with SI chosen) in its own start units.
TEST(FluidSpecSheetUnits, StartUnitsFollowTheDisplayUnits) {
    *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
    auto startUnits = [](const TUnitChoice& shown) {
        SetDisplayUnits(shown);
        TEntrySheet sheet;
        TFluidSpecSheet logic{sheet};
        logic.Setup();
        SetDisplayUnits(TUnitChoice());
        return std::vector<int>{sheet.GetUnitsValue(frTemperature), sheet.GetUnitsValue(frDensity),
                                sheet.GetUnitsValue(frViscosity), sheet.GetUnitsValue(frVolume),
                                sheet.GetUnitsValue(frConductivity)};
    };
    // °C, kg/m³, cP, %, W/mK: the sheet's own start.
    EXPECT_EQ(startUnits(TUnitChoice()), (std::vector<int>{0, 0, 3, 1, 1}));
    // °F, lb/ft³, cP.
    EXPECT_EQ(startUnits(TUnitChoice::FromPreset(upUS)), (std::vector<int>{1, 2, 3, 1, 1}));
    TUnitChoice own;
    own.Set(qtTemperature, UnitIndexOf(qtTemperature, "K"));
    own.Set(qtViscosity, UnitIndexOf(qtViscosity, "lb/ft.s"));
    EXPECT_EQ(startUnits(own), (std::vector<int>{2, 0, 4, 1, 1}));
}

} // namespace
} // namespace dvx::ui
