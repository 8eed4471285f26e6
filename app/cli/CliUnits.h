// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The units darvenix-cli writes its text table and CSV in. "--units si"
// (and no option) writes what the command always wrote: the text table in
// l/s, kPa, m/s, Pa/m and m3, the CSV in base SI (m3/s, Pa, m …). "--units
// us" writes both in US customary units. JSON is always base SI.

#include "Args.h"
#include "engine/units/UnitChoice.h"

#include <optional>
#include <string>
#include <string_view>

namespace dvx::cli {

// Reads "--units si|us"; SI when absent. UsageError for another value.
TUnitChoice ReadUnitsOption(Args& args);

// The option's help line.
std::string UnitsOptionHelp();

// The quantity an output field holds ("flow" → flow, "t" → temperature), or
// nothing for counts, codes and texts.
std::optional<TQuantity> QuantityOfField(std::string_view field);

// A CSV column's unit and a value in it: base SI when the quantity is in
// its SI unit, else the chosen unit (ASCII label, e.g. "gpm", "degF",
// "ft/100ft"). `density` (kg/m³) is the liquid's, for head units.
std::string CsvUnitLabel(const TUnitChoice& units, TQuantity quantity, std::string_view siLabel);
double CsvValue(const TUnitChoice& units, TQuantity quantity, double si, double density);

} // namespace dvx::cli
