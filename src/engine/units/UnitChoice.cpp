// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/units/UnitChoice.h"

#include "base/Format.h"


namespace dvx {

namespace {

TUnitChoice& CurrentChoice() {
    static TUnitChoice choice;
    return choice;
}

struct TPresetUnit {
    TQuantity Quantity;
    const char* Key;
};

// Viscosity in cP and density in lb/ft³ are what US liquid data sheets give.
constexpr TPresetUnit kUsCustomary[] = {
    {qtFlow, "gpm"},         {qtPressureDrop, "psi"}, {qtHead, "ft"},
    {qtLength, "ft"},        {qtPipeSize, "in"},      {qtVelocity, "ft/s"},
    {qtGradient, "ft/100ft"}, {qtVolume, "USgal"},    {qtTemperature, "F"},
    {qtDensity, "lb/ft3"},   {qtViscosity, "cP"},     {qtFlowCoefficient, "Cv"},
};

} // namespace

const char* PresetName(TUnitPreset preset) {
    switch (preset) {
    case upSI: return "SI";
    case upUS: return "US customary";
    }
    return "";
}

TUnitChoice TUnitChoice::FromPreset(TUnitPreset preset) {
    TUnitChoice choice;
    if (preset == upUS)
        for (const TPresetUnit& u : kUsCustomary) choice.Set(u.Quantity, UnitIndexOf(u.Quantity, u.Key));
    return choice;
}

void TUnitChoice::Set(TQuantity quantity, int index) {
    UnitAt(quantity, index); // raises for an index outside the list
    indices_[static_cast<std::size_t>(quantity)] = index;
}

std::optional<TUnitPreset> TUnitChoice::MatchingPreset() const {
    for (int p = 0; p < UnitPresetCount; ++p)
        if (*this == FromPreset(static_cast<TUnitPreset>(p))) return static_cast<TUnitPreset>(p);
    return std::nullopt;
}

const TUnitChoice& DisplayUnits() { return CurrentChoice(); }
void SetDisplayUnits(const TUnitChoice& choice) { CurrentChoice() = choice; }

} // namespace dvx
