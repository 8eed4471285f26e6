// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two grids of the cost and labour editors as text: the "Straight Pipe"
// grid (4 columns × 21 rows) and the "Fittings" grid (21 columns × 25 rows).
// Row 0 and column 0 hold headings; every other cell holds one table value
// formatted "%0.2f". The cost editor shows the price tables, the labour
// editor the labour-time tables.

#include "base/Errors.h"

#include <string>
#include <vector>

namespace dvx {

struct TCatalogueTables;

// Which pair of tables an editor shows.
enum class TCostTables {
    Prices,      // the catalogue's PipeListPrice and FittingPrice (currency per metre / per fitting)
    LabourTimes, // the catalogue's PipeLabourTime and FittingLabour (h per metre / per fitting)
};

inline constexpr int PipeGridCols = 4;
inline constexpr int PipeGridRows = 21;
inline constexpr int FittingGridCols = 21;
inline constexpr int FittingGridRows = 25;
inline constexpr const char* CostCellFormat = "%0.2f";

// Cells of a grid, addressed (column, row) like the grids themselves.
class TTextGrid {
public:
    TTextGrid(int cols, int rows) : cols_(cols), rows_(rows), cells_(static_cast<std::size_t>(cols * rows)) {}
    int Cols() const { return cols_; }
    int Rows() const { return rows_; }
    // A cell outside the grid raises std::out_of_range.
    std::string& At(int col, int row);
    const std::string& At(int col, int row) const;

private:
    int cols_;
    int rows_;
    std::vector<std::string> cells_;
};

// A value cell that does not hold a number. The message is the conversion
// error's; Col and Row name the cell.
class TCostCellError : public ConvertError {
public:
    TCostCellError(const std::string& message, int col, int row) : ConvertError(message), Col(col), Row(row) {}
    int Col;
    int Row;
};

// "Straight Pipe": row 0 "Shed40", "GI Pipe", "Tube"; column 0 the bore
// labels, 750 mm first; cell (c, r) the value of BoreIndex r − 1 and
// material c − 1 in catalogue.
TTextGrid MakePipeGrid(const TCatalogueTables& catalogue, TCostTables tables);
// "Fittings": row 0 the bore labels; column 0 the fitting names of catalogue
// in table order; cell (c, r) the value of fitting type r − 1 and BoreIndex c − 1.
TTextGrid MakeFittingGrid(const TCatalogueTables& catalogue, TCostTables tables);

// Reads the value cells back into catalogue's tables, column by column for the pipe
// grid and row by row for the fittings grid (the order they were filled).
// A cell that is not a number raises TCostCellError; the cells read before
// it are already in the tables.
void ReadPipeGrid(const TTextGrid& grid, TCatalogueTables& catalogue, TCostTables tables);
void ReadFittingGrid(const TTextGrid& grid, TCatalogueTables& catalogue, TCostTables tables);

} // namespace dvx
