// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the circuit grid shows and how edits reach the items, without any
// toolkit: the nine logical columns, which are shown, each cell's text and
// colour, which cells can be edited, the setters, and the remembered column
// widths. The Qt model (ui/qt/CircuitModel) only adapts this to a table view.

#include "engine/hydraulics/Calc.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

// Logical columns in display order.
enum TGridColumn : int {
    gcNumber = 0,
    gcDescription = 1,
    gcGroup = 2,
    gcIndex = 3,
    gcSize = 4,
    gcQuantity = 5,
    gcFlow = 6,
    gcPressureDrop = 7,
    gcType = 8,
    // Optional result columns (View › Columns), shown before "Type".
    gcVelocity = 9,
    gcGradient = 10,
    gcReynolds = 11,
    gcFriction = 12,
    gcVolume = 13,
};
// The columns whose widths the "GridCols" setting keeps.
inline constexpr int GridColumnCount = 9;
inline constexpr int ExtraColumnCount = 5;
inline constexpr int AllColumnCount = GridColumnCount + ExtraColumnCount;

struct TGridColumnDef {
    const char* Title;
    int DefaultWidth; // pixels
    bool Numeric;
    const char* Format;
};

extern const std::array<TGridColumnDef, GridColumnCount> GridColumns;
// The optional result columns, gcVelocity to gcVolume.
extern const std::array<TGridColumnDef, ExtraColumnCount> ExtraGridColumns;
// The description of any logical column, 0 to AllColumnCount − 1.
const TGridColumnDef& ColumnDef(int column);

// Which optional columns are shown: bit (column − gcVelocity) per column.
using TExtraColumns = unsigned;
inline constexpr TExtraColumns ExtraBit(int column) { return 1u << (column - gcVelocity); }

// The caption of a logical column in the display units in force ("Q, l/s",
// "Q, gpm"); the table's Title for columns without a unit.
std::string ColumnTitle(int column);
// The number format of a logical column in the display units in force.
std::string ColumnFormat(int column);
// The column is typed as free text although it holds a number: a pipe size
// in inches is typed as a designation ("1 1/4", "1¼").
bool TypedAsText(int column);

using TColumnWidths = std::array<int, GridColumnCount>; // pixels, per logical column

// The logical columns shown, left to right.
std::vector<int> ShownColumns(bool groupsOn, bool typesOn, TExtraColumns extras = 0);

// The cell text of logical column `column` for `item` (nullptr: the empty
// row), formatted with the column's format in the display units in force;
// a valve's quantity cell shows its Kv, or its Cv under US units. Sizes are
// the bores of project's tables, head units those of its liquid's density.
std::string CellText(const TBranch* item, int column, const TProjectContext& project);

bool CanEdit(const TBranch* item, int column);

enum class TCellColour { Default, Highlight, Grey };
TCellColour CellColour(const TBranch* item, int column);

// For a cell shown as a warning: which limit the item is over and by what
// value, e.g. "Velocity 4.21 m/s is above the limit of 3.5 m/s"; empty for
// any other cell. The limits are those of project's tables.
std::string WarningTip(const TBranch* item, int column, const TProjectContext& project);

// What a cell or a column holds where its caption alone can't say: the
// "Qty" column is a length for pipes, a count for fittings, a K for K items
// and a flow coefficient for valves. Empty for every other cell or column.
std::string QuantityTip(const TBranch* item, int column);
std::string ColumnTip(int column);

// The text an in-place edit is committed as: numeric columns are read as a
// number and formatted with the column's format (so the value is taken at
// the precision shown); a size in inches becomes the designation of the
// nearest bore; text columns as typed. Raises ConvertError for a numeric
// text that is not a number.
std::string CommittedText(int column, std::string_view typed);
// The same for a cell of `item` (nullptr: the empty row): a K item's K and
// a valve's Kv (or Cv) are taken at the four significant digits they show.
std::string CommittedText(const TBranch* item, int column, std::string_view typed);

// Applies a committed, non-empty text to item `position` of the circuit
// through the column's setter, read in the display units in force (the item
// holds SI). Raises ConvertError (the item keeps its
// value) for a number that does not convert, and "Data must be positive"
// for a length, quantity, flow or pressure drop below zero (zero stays
// possible: the calculation names it). Group and Index setters change
// other items too. Sizes and user-item bores are those of project's tables,
// head units those of its liquid's density.
void ApplyCellText(TCircuit& circuit, int position, int column, std::string_view text,
                   const TProjectContext& project);

// "GridCols" setting: nine widths joined by ", ". Missing, non-integer or
// values below 5 read as 25.
TColumnWidths ParseGridCols(std::string_view text);
std::string FormatGridCols(const TColumnWidths& widths);
TColumnWidths DefaultColumnWidths();

// Which widths the user chose: a stored width other than the column's
// default was dragged there by the user at some time.
using TUserWidths = std::array<bool, GridColumnCount>;
TUserWidths UserChosenWidths(const TColumnWidths& stored);
// The width each column is shown with: the user's own, otherwise the wider
// of the default and what the font needs (`fitted`, pixels).
TColumnWidths ShownWidths(const TColumnWidths& stored, const TUserWidths& chosen, const TColumnWidths& fitted);
// What is stored at exit: the user's own widths, and the default for every
// column the user left alone (so a width fitted to today's font is worked
// out again for tomorrow's).
TColumnWidths StoredWidths(const TColumnWidths& shown, const TUserWidths& chosen);

} // namespace dvx
