// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The property sheet without its table widget: cell texts, the row fields
// built from the definition lines, the typed operations by row, units, the
// state of the current cell, spin steps and enumeration cycling.
// Row numbers count the heading as row 0. Operations that fail report a
// fixed text followed by the row number through ShowMessage and carry on.

#include "presentation/widgets/Fields.h"

#include <memory>
#include <string>
#include <vector>

namespace dvx {

class TEntrySheet {
public:
    TEntrySheet();
    virtual ~TEntrySheet();
    TEntrySheet(const TEntrySheet&) = delete;
    TEntrySheet& operator=(const TEntrySheet&) = delete;

    // Cell table.
    int ColCount() const { return colCount_; }
    void SetColCount(int count);
    int RowCount() const { return static_cast<int>(cells_.size()); }
    std::string Cell(int col, int row) const;
    void SetCell(int col, int row, const std::string& text);

    // Definition lines; assigning them rebuilds every row.
    const std::vector<std::string>& Lines() const { return lines_; }
    void SetLines(const std::vector<std::string>& lines);
    char Delim = ';';

    // The row's field; null for rows without one.
    TField* Field(int row) const;
    TNumField* NumField(int row) const { return dynamic_cast<TNumField*>(Field(row)); }
    TEnumField* EnumField(int row) const { return dynamic_cast<TEnumField*>(Field(row)); }
    int FieldCount() const { return static_cast<int>(fields_.size()); }

    // Values in internal units (see the rules of ReadFieldText/WriteFieldValue).
    TValue GetValue(int col, int row) const;
    void SetValue(int col, int row, const TValue& value);

    void SetRowEnabled(int row, bool enabled);
    bool RowEnabled(int row) const;
    void SetEnumStrings(int row, const std::vector<std::string>& items);
    void SetUnits(int row, TUnitsType type, int unitsValue, int unitsBase, TFormatType formatType,
                  double factor, double zero);
    int GetUnitsValue(int row);
    void SetUnitsValue(int row, int index);
    bool HasUnits(int row) const;
    double GetUnitsFactor(int row);
    double GetUnitsZero(int row);
    double GetRangeLo(int row); // display units
    double GetRangeHi(int row); // display units
    std::string GetFormatString(int row);
    int UnitsColumn() const { return unitsColumn_; }
    void SetUnitsColumn(int col) { unitsColumn_ = col; }

    // Re-reads the row's unit from the units service and shows the same
    // internal value in it; false (nothing changed) when the service cannot
    // give the unit.
    bool ApplyUnits(int row);

    // An internal value written as the row shows it.
    std::string FormatAsRow(int row, double internal);

    // State of the current cell, rebuilt by PrepareCell.
    struct TCellButtons {
        bool DropDown = false;
        bool PropEditor = false;
        bool Spin = false;
    };
    TCellButtons PrepareCell(int col, int row);
    const std::string& CurrentFormat() const { return currentFormat_; }
    void SetCurrentFormat(const std::string& format) { currentFormat_ = format; }
    TFormatType CurrentFormatType() const { return currentFormatType_; }
    int CurrentSigDigs() const { return currentSigDigs_; }
    double CurrentRangeLo() const { return currentLo_; } // display units
    double CurrentRangeHi() const { return currentHi_; } // display units
    TNumField* CurrentNumField() const { return currentNum_; }
    TEnumField* CurrentEnumField() const { return currentEnum_; }
    bool CurrentIsPair() const { return currentIsPair_; }

    // Whether the in-place text editor may open on this cell.
    bool CanEditText(int col, int row) const;

    // Spin steps of a numeric row; false when nothing was done (at the
    // limit, not a spinnable row).
    bool SpinUp(int row);
    bool SpinDown(int row);
    // Moves an enabled enumerated row by `step` items, wrapping at both
    // ends; false when the row is not one or has no items.
    bool CycleEnum(int row, int step);

protected:
    // Shows a failure message (a plain box with an OK button in the window).
    virtual void ShowMessage(const std::string& text);
    // The text of one cell changed (col −1: the whole row, e.g. enabled).
    virtual void CellChanged(int /*col*/, int /*row*/) {}
    // The rows were rebuilt (row count and all cells may have changed).
    virtual void RowsRebuilt() {}

private:
    void RebuildRows();
    void ResetCurrent();
    bool Spin(int row, bool up);
    // The numeric field of a row, reporting `message` + row when there is none.
    TNumField* RequireNum(int row, const char* message);

    int colCount_ = 3;
    std::vector<std::vector<std::string>> cells_;
    std::vector<std::string> lines_;
    std::vector<std::unique_ptr<TField>> fields_;
    int unitsColumn_ = 2;

    std::string currentFormat_ = "%S";
    TFormatType currentFormatType_ = ft_Fixed;
    int currentSigDigs_ = 5;
    double currentLo_ = 0.0;
    double currentHi_ = 0.0;
    TNumField* currentNum_ = nullptr;
    TEnumField* currentEnum_ = nullptr;
    bool currentIsPair_ = false;
};

} // namespace dvx
