// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Property-sheet definition lines for quantities shown in the display
// units in force. A sheet row of a quantity keeps its value in the unit the
// row shows, so a line for another unit carries that unit's label, its
// number format and its limits converted; with the SI unit chosen the line
// is the one the sheet always had.

#include "engine/units/UnitView.h"

#include <string>
#include <string_view>

namespace dvx {

// "Caption; format; unit; NPE; low; high" for a row whose limits are
// `low` and `high` in the view's metric unit. `tail` is appended as it is
// (the lines of the defaults sheet end in a blank on one row).
std::string QuantityLine(std::string_view caption, const TUnitView& view, double low, double high,
                         std::string_view tail = {});

} // namespace dvx
