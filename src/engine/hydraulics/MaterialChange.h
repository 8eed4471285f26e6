// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Changing a circuit's pipe material. Materials with their own bore tables
// have other inside diameters than the built-in one, so each item moves to
// the bore of the new table nearest the inside diameter it has, and the
// engineer is told which items changed much.

#include "engine/hydraulics/Circuit.h"

#include <optional>
#include <vector>

namespace dvx {

// How far an item's inside diameter moved before it is reported: 10 %.
inline constexpr double kReportedBoreMove = 0.10;

struct TBoreMove {
    int Position = 0;  // list position of the item
    double FromID = 0; // m, inside diameter before
    double ToID = 0;   // m, inside diameter after
};

// Makes material m (a code of MaterialCodeOf) the circuit's and the
// project's active one, and sets each item to the bore of the new table
// nearest its inside diameter (SetBore: diameter and starting friction
// factor). Between the three built-in materials, which share one table, the
// items stay as they are. Returns the items whose inside diameter moved by
// more than kReportedBoreMove of the old one, in list order; an unknown m
// changes nothing and returns none.
std::optional<std::vector<TBoreMove>> ChangeCircuitMaterial(const TProjectContext& project, TCircuit& circuit, int m);

} // namespace dvx
