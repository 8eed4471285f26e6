// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The item list as a table for spreadsheets: one row per item with its
// inputs and results in the units the grid shows, as tab-separated text (the
// clipboard) or comma-separated values (a .csv file), and pasted rows read
// back into items.
//
// Captions and unit factors of every column live in ItemTableColumns (the
// SI form); sizes, flows, pressure drops, lengths, velocities, gradients and
// volumes are written in the display units in force, and their captions say
// which ("Q, gpm"). A pasted header row is read in whatever unit each caption
// names, so rows copied under one choice of units paste right under another.

#include "engine/hydraulics/Calc.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

enum TTableColumn : int {
    tcKind,          // "p", "f" or "u", as in text item files
    tcNumber,        // reference number
    tcDescription,
    tcSize,          // nominal bore, mm
    tcFlow,          // l/s
    tcPressureDrop,  // kPa
    tcType,          // type name
    tcLength,        // pipes: m
    tcFitting,       // fittings: row of the fittings table
    tcQuantity,      // fittings: number of fittings
    tcGroup,
    tcIndex,         // 1 in the index circuit, 0 not
    tcVelocity,      // m/s, result
    tcGradient,      // Pa/m, result
    tcReynolds,      // —, result
    tcFriction,      // —, result
    tcVolume,        // m³, result
};
inline constexpr int TableColumnCount = 17;

struct TTableColumnDef {
    const char* Caption;
    double Factor; // shown value = SI value × Factor (1 for counts and texts)
};
extern const std::array<TTableColumnDef, TableColumnCount> ItemTableColumns;

// The column captions, then one row of cells per item. Numbers are written in
// their shortest form that reads back to the same value; a cell that does not
// apply to the item's kind is empty. The size is the nominal of the item's
// bore in project's tables; head units take the density of its liquid.
std::vector<std::string> ItemTableHeader();
std::vector<std::string> ItemTableRow(const TBranch& item, const TProjectContext& project);

// Rows joined with tabs and ended by CR LF. A tab or line break inside a
// text becomes a blank, so that every item stays one row.
std::string TabSeparated(const std::vector<std::vector<std::string>>& rows);
// Rows as comma-separated values (base/CsvWriter.h): a cell holding a
// comma, a quote or a line break, or with a blank at an end, is quoted,
// with quotes doubled; each row ends with CR LF.
std::string CommaSeparated(const std::vector<std::vector<std::string>>& rows);

// The header and a row per item of the list given, tab-separated.
std::string ItemsAsTabSeparated(const std::vector<const TBranch*>& items, const TProjectContext& project);
// The header and every item of the circuit as comma-separated values.
std::string CircuitAsCsv(const TCircuit& circuit, const TProjectContext& project);
// Writes CircuitAsCsv to path (replacing it safely); FileError on failure.
void WriteCircuitCsv(const TCircuit& circuit, const std::string& path, const TProjectContext& project);

struct TPastedItems {
    std::vector<std::unique_ptr<TBranch>> Items; // in the order of the rows
    std::vector<std::string> Messages;           // one per row that was skipped
};

// Reads tab-separated rows copied from a spreadsheet (or from the grid).
// Either the first row names the columns by the captions above, in any of
// their units (any order, unknown columns ignored; the kind comes from "Kind" or else from "Type"),
// or every row follows the text item file's field order:
//   kind, number, description, inside diameter mm, flow l/s, pressure drop
//   kPa, type name, then length m (pipe) or fitting type and quantity (fitting).
// A row that cannot become an item (unknown kind, a number that does not
// convert or is negative, an unknown fitting type, too few fields) is
// skipped with a message naming its row; empty rows are ignored. The items
// are made for project (its defaults, bores and item counter; head units
// take the density of its liquid).
TPastedItems ReadPastedItems(std::string_view text, const TProjectContext& project);

} // namespace dvx
