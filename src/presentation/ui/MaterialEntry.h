// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the "Add Pipe Material" dialog holds, as typed: the name, the
// roughness in mm and one row of texts per bore. Turned into a material in
// SI units; a cell that is not a number is named by its row and column.
// The values themselves are checked by the catalogue file rules when the
// material is added.

#include "engine/catalogue/Materials.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace dvx {

// Columns of a bore row.
enum TBoreEntryColumn : int {
    beLabel = 0,
    beInsideDiameter = 1, // mm
    beMaxFlow = 2,        // l/s
    beListPrice = 3,      // price per metre, empty: not entered
    beLabourTime = 4,     // h per metre, empty: 0
    BoreEntryColumnCount = 5,
};

// The column captions, with their units.
extern const std::array<const char*, BoreEntryColumnCount> BoreEntryCaptions;

struct TMaterialEntry {
    std::string Name;
    std::string RoughnessMm;
    std::vector<std::array<std::string, BoreEntryColumnCount>> Rows; // rows wholly blank are skipped
};

// The material, or none with the reason in error: "Roughness: 'x' is not
// a number", "Row 3, Inside diameter mm: 'x' is not a number".
std::optional<TMaterialTable> MaterialFromEntry(const TMaterialEntry& entry, std::string& error);

} // namespace dvx
