// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help page's introduction names the units values are shown and typed
// in. The page as shipped names the SI preset; with other units chosen the
// program opens a copy whose introduction names the units in force. The
// sentence is marked in the page as <span id="units-in-force">…</span>.

#include "engine/units/UnitChoice.h"

#include <optional>
#include <string>
#include <string_view>

namespace dvx {

// "flow gpm, bore in, length ft, pressure drop psi": the four quantities
// the grid is typed in, in the units of `units`.
std::string GridUnitsText(const TUnitChoice& units);

// The help page with its introduction naming `units`, and a <base> element
// pointing at `pageFolderUrl` (a file: URL ending in "/") so that its links
// and pictures still resolve from wherever the copy is written. Nothing
// when `units` is the SI preset: the shipped page says exactly that.
std::optional<std::string> HelpPageInUnits(std::string_view page, const TUnitChoice& units,
                                           std::string_view pageFolderUrl);

} // namespace dvx
