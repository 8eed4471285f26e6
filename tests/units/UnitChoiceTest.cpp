// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings/SettingsStore.h"
#include "storage/settings/UnitSettings.h"
#include "settings/TempFolder.h"
#include "engine/units/UnitChoice.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

using test::ReadText;
using test::TempFolder;
using test::WriteText;

TEST(UnitChoice, PresetsGiveTheirUnitsAndAreRecognised) {
    const TUnitChoice us = TUnitChoice::FromPreset(upUS);
    const struct {
        TQuantity Quantity;
        const char* Si;
        const char* Us;
    } expected[] = {
        {qtFlow, "l/s", "gpm"},          {qtPressureDrop, "kPa", "psi"}, {qtHead, "m", "ft"},
        {qtLength, "m", "ft"},           {qtPipeSize, "mm", "in"},       {qtVelocity, "m/s", "ft/s"},
        {qtGradient, "Pa/m", "ft/100ft"}, {qtVolume, "m3", "USgal"},    {qtTemperature, "C", "F"},
        {qtDensity, "kg/m3", "lb/ft3"},  {qtViscosity, "Pa.s", "cP"},   {qtFlowCoefficient, "Kv", "Cv"},
    };
    for (const auto& e : expected) {
        EXPECT_STREQ(TUnitChoice().Unit(e.Quantity).Key, e.Si);
        EXPECT_STREQ(us.Unit(e.Quantity).Key, e.Us);
    }
    EXPECT_EQ(TUnitChoice().MatchingPreset(), upSI);
    EXPECT_EQ(us.MatchingPreset(), upUS);
    TUnitChoice mixed = us;
    mixed.Set(qtPressureDrop, UnitIndexOf(qtPressureDrop, "ft-head"));
    EXPECT_FALSE(mixed.MatchingPreset());
    EXPECT_THROW(mixed.Set(qtFlow, 5), DisplayUnitsError);
    EXPECT_THROW(mixed.Set(qtFlow, -1), DisplayUnitsError);
    EXPECT_EQ(mixed.Index(qtFlow), UnitIndexOf(qtFlow, "gpm")); // a refused index changes nothing
    EXPECT_STREQ(PresetName(upSI), "SI");
    EXPECT_STREQ(PresetName(upUS), "US customary");
}

TEST(UnitChoice, SavedChoiceReadsBackAndDamagedKeysFallBackToSI) {
    TempFolder dir;
    SettingsStore store(dir / "Darvenix.ini");
    EXPECT_EQ(ReadUnitChoice(store), TUnitChoice()); // nothing saved: SI

    TUnitChoice mixed = TUnitChoice::FromPreset(upUS);
    mixed.Set(qtPressureDrop, UnitIndexOf(qtPressureDrop, "ft-head"));
    WriteUnitChoice(store, mixed);
    EXPECT_EQ(ReadUnitChoice(store), mixed);
    EXPECT_NE(ReadText(store.FileName()).find("Pressure drop=ft-head"), std::string::npos);

    WriteText(store.FileName(), "[Units]\nFlow=gpm\nLength=furlong\nVelocity=\nPipe size=in\n");
    const TUnitChoice damaged = ReadUnitChoice(store);
    EXPECT_STREQ(damaged.Unit(qtFlow).Key, "gpm");
    EXPECT_STREQ(damaged.Unit(qtPipeSize).Key, "in");
    EXPECT_TRUE(damaged.IsSI(qtLength));
    EXPECT_TRUE(damaged.IsSI(qtVelocity));
    EXPECT_TRUE(damaged.IsSI(qtTemperature));
}

TEST(UnitChoice, ChoiceSavedWithoutAFlowCoefficientKeepsItsPreset) {
    TempFolder dir;
    SettingsStore store(dir / "Darvenix.ini");
    const std::string usWithoutKey = "[Units]\nFlow=gpm\nPressure drop=psi\nHead=ft\nLength=ft\nPipe size=in\n"
                                     "Velocity=ft/s\nGradient=ft/100ft\nVolume=USgal\nTemperature=F\n"
                                     "Density=lb/ft3\nViscosity=cP\n";
    const struct {
        std::string Saved;
        const char* Expected;
    } cases[] = {
        {usWithoutKey, "Cv"},                                    // the US preset stays the US preset
        {usWithoutKey + "Flow coefficient=Kv\n", "Kv"},         // an own choice is kept
        {"[Units]\nFlow=gpm\n", "Kv"},                          // a mixed choice keeps the stored value's unit
        {"[Units]\nFlow coefficient=Cv\n", "Cv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Saved);
        WriteText(store.FileName(), c.Saved);
        EXPECT_STREQ(ReadUnitChoice(store).Unit(qtFlowCoefficient).Key, c.Expected);
    }
}

// Earlier versions saved "Volume=l" for the SI choice, which showed m³
// everywhere; litres chosen now are saved under their own key.
TEST(UnitChoice, OldVolumeKeyKeepsShowingCubicMetres) {
    TempFolder dir;
    SettingsStore store(dir / "Darvenix.ini");
    WriteText(store.FileName(), "[Units]\nFlow=l/s\nVolume=l\n");
    EXPECT_EQ(ReadUnitChoice(store), TUnitChoice());

    TUnitChoice litres;
    litres.Set(qtVolume, UnitIndexOf(qtVolume, "litre"));
    WriteUnitChoice(store, litres);
    const TUnitChoice back = ReadUnitChoice(store);
    EXPECT_STREQ(back.Unit(qtVolume).Label, "l");
    EXPECT_FALSE(back.IsSI(qtVolume));
}

} // namespace
} // namespace dvx
