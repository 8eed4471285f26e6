// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pipe materials beyond the three built-in ones (which share BoreTable):
// each with its own name, wall roughness and bore table, as its catalogue
// file in the data folder gives them. Material code 3 is the first of
// them, in the order they were loaded.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

struct TCatalogueTables;

// One bore of a material's own table.
struct TMaterialBore {
    std::string Label;      // nominal size as the standard writes it: ½", 1¼", DN 25
    double ID = 0;          // m, inside diameter
    double ff = 0;          // —, friction factor an item starts from
    double mf = 0;          // l/s, maximum flow (auto-size and auto-flow)
    double ListPrice = -1;  // price per metre; −1: not entered
    double LabourTime = 0;  // h per metre
};

struct TMaterialTable {
    std::string Name;                 // what the user picks it by ("Copper Type L")
    double Roughness = 0;             // m, wall roughness
    std::vector<TMaterialBore> Bores; // largest inside diameter first
    std::string File;                 // the catalogue file's name in the data folder
};

// The bore of table whose inside diameter is nearest d (m), and how far
// off it is, |ID − d| / d. None for an empty table.
struct TNearestMaterialBore {
    std::size_t Index = 0;
    double Deviation = 0;
};
std::optional<TNearestMaterialBore> NearestMaterialBore(const TMaterialTable& table, double d);

// The smallest bore whose mf is at least q (l/s); the largest bore when none is.
std::size_t MaterialBoreForFlow(const TMaterialTable& table, double q);

// The names of the three built-in materials, by code.
std::string_view BuiltInMaterialName(int code);

// The code of a material named name (case-insensitive; the built-in names
// and the loaded materials), or of a code written as a number; none when
// nothing matches.
std::optional<int> MaterialCodeOf(const TCatalogueTables& tables, std::string_view name);

// The loaded material of a code of 3 or more, or null.
const TMaterialTable* ExtraMaterial(const TCatalogueTables& tables, int code);

} // namespace dvx
