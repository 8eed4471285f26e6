// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/cost/CostGrids.h"

#include "engine/catalogue/Tables.h"
#include "base/Format.h"
#include "base/Numbers.h"

#include <stdexcept>

namespace dvx {

namespace {

const char* const kMaterialHeadings[MaterialCount] = {"Shed40", "GI Pipe", "Tube"};

// Catalogue is TCatalogueTables, const or not: the value is read or written.
template <class Catalogue>
auto& PipeValue(Catalogue& catalogue, TCostTables tables, int bore, int material) {
    auto& table = tables == TCostTables::Prices ? catalogue.PipeListPrice : catalogue.PipeLabourTime;
    return table[static_cast<std::size_t>(bore)][static_cast<std::size_t>(material)];
}

template <class Catalogue>
auto& FittingValue(Catalogue& catalogue, TCostTables tables, int type, int bore) {
    auto& table = tables == TCostTables::Prices ? catalogue.FittingPrice : catalogue.FittingLabour;
    return table[static_cast<std::size_t>(type)][static_cast<std::size_t>(bore)];
}

double ReadCell(const TTextGrid& grid, int col, int row) {
    try {
        return StrToFloat(grid.At(col, row));
    } catch (const ConvertError& e) {
        throw TCostCellError(e.what(), col, row);
    }
}

void CheckShape(const TTextGrid& grid, int cols, int rows) {
    if (grid.Cols() != cols || grid.Rows() != rows) throw std::invalid_argument("cost grid of the wrong shape");
}

} // namespace

std::string& TTextGrid::At(int col, int row) {
    if (col < 0 || col >= cols_ || row < 0 || row >= rows_) throw std::out_of_range("grid cell outside the grid");
    return cells_[static_cast<std::size_t>(row * cols_ + col)];
}

const std::string& TTextGrid::At(int col, int row) const { return const_cast<TTextGrid*>(this)->At(col, row); }

TTextGrid MakePipeGrid(const TCatalogueTables& catalogue, TCostTables tables) {
    TTextGrid grid(PipeGridCols, PipeGridRows);
    for (int c = 1; c < PipeGridCols; ++c) grid.At(c, 0) = kMaterialHeadings[c - 1];
    for (int r = 1; r < PipeGridRows; ++r) {
        grid.At(0, r) = BoreName[static_cast<std::size_t>(r - 1)];
        for (int c = 1; c < PipeGridCols; ++c) grid.At(c, r) = FormatFloat(CostCellFormat, PipeValue(catalogue, tables, r - 1, c - 1));
    }
    return grid;
}

TTextGrid MakeFittingGrid(const TCatalogueTables& catalogue, TCostTables tables) {
    TTextGrid grid(FittingGridCols, FittingGridRows);
    for (int c = 1; c < FittingGridCols; ++c) grid.At(c, 0) = BoreName[static_cast<std::size_t>(c - 1)];
    for (int r = 1; r < FittingGridRows; ++r) {
        grid.At(0, r) = catalogue.FittingTable[static_cast<std::size_t>(r - 1)].FittingName;
        for (int c = 1; c < FittingGridCols; ++c)
            grid.At(c, r) = FormatFloat(CostCellFormat, FittingValue(catalogue, tables, r - 1, c - 1));
    }
    return grid;
}

void ReadPipeGrid(const TTextGrid& grid, TCatalogueTables& catalogue, TCostTables tables) {
    CheckShape(grid, PipeGridCols, PipeGridRows);
    for (int c = 1; c < PipeGridCols; ++c)
        for (int r = 1; r < PipeGridRows; ++r) PipeValue(catalogue, tables, r - 1, c - 1) = ReadCell(grid, c, r);
}

void ReadFittingGrid(const TTextGrid& grid, TCatalogueTables& catalogue, TCostTables tables) {
    CheckShape(grid, FittingGridCols, FittingGridRows);
    for (int r = 1; r < FittingGridRows; ++r)
        for (int c = 1; c < FittingGridCols; ++c) FittingValue(catalogue, tables, r - 1, c - 1) = ReadCell(grid, c, r);
}

} // namespace dvx
