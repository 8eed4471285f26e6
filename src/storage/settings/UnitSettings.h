// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The saved form of the display-unit choice: section "Units" of the
// settings store, one key per quantity (its name) holding the unit's key.

#include "engine/units/UnitChoice.h"

namespace dvx {

class SettingsStore;

inline constexpr const char* kUnitsSection = "Units";

// A missing key or an unknown unit reads as the SI unit, so a damaged
// setting never leaves a quantity without a unit.
TUnitChoice ReadUnitChoice(const SettingsStore& store);
// Replaces the whole section with the choice's keys.
void WriteUnitChoice(SettingsStore& store, const TUnitChoice& choice);

} // namespace dvx
