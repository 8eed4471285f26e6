// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engineer's choice of display unit for every quantity and the two
// presets (the saved form is storage/settings/UnitSettings.h). The choice in force is process-wide:
// windows, reports and the command line read it when they show a value.

#include "engine/units/Quantities.h"

#include <array>
#include <optional>

namespace dvx {

enum TUnitPreset : int {
    upSI, // what the program has always shown: l/s, kPa, mm, m, m/s, Pa/m, °C …
    upUS, // US customary: gpm, psi, ft of head, ft, nominal inches, ft/s, ft/100 ft, US gal, °F
};
inline constexpr int UnitPresetCount = 2;

// "SI", "US customary".
const char* PresetName(TUnitPreset preset);

class TUnitChoice {
public:
    // Every quantity in its SI unit.
    TUnitChoice() { indices_.fill(0); }
    static TUnitChoice FromPreset(TUnitPreset preset);

    int Index(TQuantity quantity) const { return indices_[static_cast<std::size_t>(quantity)]; }
    // Raises DisplayUnitsError for an index outside the quantity's units.
    void Set(TQuantity quantity, int index);
    const TDisplayUnit& Unit(TQuantity quantity) const { return UnitAt(quantity, Index(quantity)); }
    // The quantity is shown as the program has always shown it.
    bool IsSI(TQuantity quantity) const { return Index(quantity) == 0; }

    // The preset this choice equals, if any.
    std::optional<TUnitPreset> MatchingPreset() const;

    bool operator==(const TUnitChoice&) const = default;

private:
    std::array<int, QuantityCount> indices_;
};

// The choice in force; SI until the program reads the settings.
const TUnitChoice& DisplayUnits();
void SetDisplayUnits(const TUnitChoice& choice);

} // namespace dvx
