// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/EntrySheet.h"

#include "base/Format.h"
#include "base/Numbers.h"

#include <algorithm>
#include <cmath>

namespace dvx {

namespace {

// The value class of a numeric row's format.
TFormatClass NumClass(const TNumField& field) {
    if (dynamic_cast<const TDelimNumField*>(&field)) return TFormatClass::Pair;
    return field.Format.find_first_of("dD") != std::string::npos ? TFormatClass::Integer
                                                                  : TFormatClass::Real;
}

bool HasRange(double lo, double hi) { return std::fabs(lo - hi) >= 1e-5; }

} // namespace

TEntrySheet::TEntrySheet() : cells_(4, std::vector<std::string>(3)) {}

TEntrySheet::~TEntrySheet() = default;

void TEntrySheet::SetColCount(int count) {
    colCount_ = std::max(1, count);
    for (auto& row : cells_) row.resize(static_cast<std::size_t>(colCount_));
    RowsRebuilt();
}

std::string TEntrySheet::Cell(int col, int row) const {
    if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_) return {};
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TEntrySheet::SetCell(int col, int row, const std::string& text) {
    if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_) return;
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
    CellChanged(col, row);
}

TField* TEntrySheet::Field(int row) const {
    if (row < 0 || row >= FieldCount()) return nullptr;
    return fields_[static_cast<std::size_t>(row)].get();
}

void TEntrySheet::SetLines(const std::vector<std::string>& lines) {
    lines_ = lines;
    RebuildRows();
}

void TEntrySheet::ResetCurrent() {
    currentFormat_ = "%S";
    currentFormatType_ = ft_Fixed;
    currentSigDigs_ = 5;
    currentLo_ = 0.0;
    currentHi_ = 0.0;
    currentNum_ = nullptr;
    currentEnum_ = nullptr;
    currentIsPair_ = false;
}

void TEntrySheet::RebuildRows() {
    // The current field pointers would dangle once the fields are freed.
    ResetCurrent();
    fields_.clear();
    const auto width = static_cast<std::size_t>(colCount_);
    if (lines_.empty()) {
        cells_.assign(2, std::vector<std::string>(width));
        RowsRebuilt();
        return;
    }
    cells_.assign(lines_.size(), std::vector<std::string>(width));
    auto setCells = [&](std::size_t row, const std::vector<std::string>& texts) {
        for (std::size_t c = 0; c < width && c < texts.size(); ++c) cells_[row][c] = texts[c];
    };
    setCells(0, SplitLine(lines_[0], Delim));
    auto heading = std::make_unique<TField>();
    heading->Format = "%S";
    fields_.push_back(std::move(heading));

    std::vector<std::string> errors;
    for (std::size_t row = 1; row < lines_.size(); ++row) {
        TParsedLine parsed = ParseLine(lines_[row], Delim);
        setCells(row, parsed.Cells);
        fields_.push_back(std::move(parsed.Field));
        if (!parsed.Error.empty()) errors.push_back(parsed.Error);
    }
    RowsRebuilt();
    for (const auto& error : errors) ShowMessage(error);
}

TValue TEntrySheet::GetValue(int col, int row) const {
    const std::string text = Cell(col, row);
    if (col != 1) return text;
    TField* field = Field(row);
    if (!field) return text;
    if (auto* num = dynamic_cast<TNumField*>(field)) {
        const TFormatClass cls = NumClass(*num);
        if (cls == TFormatClass::Pair && text.empty())
            return ReadFieldText(cls, "0.0/0.0", num->View());
        return ReadFieldText(cls, text, num->View());
    }
    if (auto* en = dynamic_cast<TEnumField*>(field)) {
        auto it = std::find(en->Items.begin(), en->Items.end(), text);
        return it == en->Items.end() ? -1 : static_cast<int>(it - en->Items.begin());
    }
    return text;
}

void TEntrySheet::SetValue(int col, int row, const TValue& value) {
    TField* field = col == 1 ? Field(row) : nullptr;
    if (!field) {
        SetCell(col, row, ValueAsText(value));
        return;
    }
    std::optional<std::string> text;
    if (auto* num = dynamic_cast<TNumField*>(field)) {
        text = WriteFieldValue(NumClass(*num), value, num->View());
    } else if (auto* en = dynamic_cast<TEnumField*>(field)) {
        auto index = ValueAsNumber(value);
        if (index && *index >= 0 && *index < static_cast<double>(en->Items.size()) &&
            *index == std::floor(*index))
            text = en->Items[static_cast<std::size_t>(*index)];
    } else {
        TNumberView view;
        view.Format = field->Format;
        text = WriteFieldValue(TFormatClass::Text, value, view);
    }
    SetCell(col, row, text.value_or(std::string()));
}

void TEntrySheet::SetRowEnabled(int row, bool enabled) {
    TField* field = Field(row);
    if (!field) {
        ShowMessage("Error setting enabled row " + std::to_string(row));
        return;
    }
    field->Enabled = enabled;
    CellChanged(-1, row);
}

bool TEntrySheet::RowEnabled(int row) const {
    TField* field = Field(row);
    return field ? field->Enabled : true;
}

void TEntrySheet::SetEnumStrings(int row, const std::vector<std::string>& items) {
    TEnumField* field = EnumField(row);
    if (!field) {
        ShowMessage("Error setting enum strings, row " + std::to_string(row));
        return;
    }
    field->Items = items;
}

TNumField* TEntrySheet::RequireNum(int row, const char* message) {
    TNumField* field = NumField(row);
    if (!field) ShowMessage(message + std::to_string(row));
    return field;
}

void TEntrySheet::SetUnits(int row, TUnitsType type, int unitsValue, int unitsBase,
                           TFormatType formatType, double factor, double zero) {
    TNumField* field = RequireNum(row, "Error setting units, row ");
    if (!field) return;
    field->UnitsType = type;
    field->UnitsValue = unitsValue;
    field->UnitsBase = unitsBase;
    field->FormatType = formatType;
    if (type == utNone) {
        field->UnitsFactor = factor;
        field->UnitsZero = zero;
    }
    if (ApplyUnits(row)) return;
    field->UnitsValue = 0;
    if (!ApplyUnits(row)) ShowMessage("Error setting units, row " + std::to_string(row));
}

int TEntrySheet::GetUnitsValue(int row) {
    TNumField* field = RequireNum(row, "Error getting units value, row ");
    return field ? field->UnitsValue : 0;
}

void TEntrySheet::SetUnitsValue(int row, int index) {
    TNumField* field = RequireNum(row, "Error setting units value, row ");
    if (!field) return;
    field->UnitsValue = index;
    if (ApplyUnits(row)) return;
    field->UnitsValue = 0;
    if (!ApplyUnits(row)) ShowMessage("Error setting units value, row " + std::to_string(row));
}

bool TEntrySheet::HasUnits(int row) const {
    TNumField* field = NumField(row);
    return field && field->UnitsType != utNone;
}

double TEntrySheet::GetUnitsFactor(int row) {
    if (!Field(row)) {
        ShowMessage("Error getting units factor, row " + std::to_string(row));
        return 0.0;
    }
    TNumField* field = NumField(row);
    return field ? field->UnitsFactor : 0.0;
}

double TEntrySheet::GetUnitsZero(int row) {
    if (!Field(row)) {
        ShowMessage("Error getting units zero value, row " + std::to_string(row));
        return 0.0;
    }
    TNumField* field = NumField(row);
    return field ? field->UnitsZero : 0.0;
}

double TEntrySheet::GetRangeLo(int row) {
    if (!Field(row)) {
        ShowMessage("Error getting range lo, row " + std::to_string(row));
        return 0.0;
    }
    TNumField* field = NumField(row);
    return field ? field->RangeLo * field->UnitsFactor + field->UnitsZero : 0.0;
}

double TEntrySheet::GetRangeHi(int row) {
    if (!Field(row)) {
        ShowMessage("Error getting range hi, row " + std::to_string(row));
        return 0.0;
    }
    TNumField* field = NumField(row);
    return field ? field->RangeHi * field->UnitsFactor + field->UnitsZero : 0.0;
}

std::string TEntrySheet::GetFormatString(int row) {
    TField* field = Field(row);
    if (!field) {
        ShowMessage("Error getting format string, row " + std::to_string(row));
        return "%S";
    }
    return field->Format;
}

bool TEntrySheet::ApplyUnits(int row) {
    TNumField* field = NumField(row);
    if (!field) return false;
    const TValue value = GetValue(1, row);
    std::string format = field->Format;
    std::string label;
    double factor = field->UnitsFactor;
    double zero = field->UnitsZero;
    try {
        UnitsInfo(field->UnitsType, field->UnitsValue, field->UnitsBase, format, label, factor, zero);
    } catch (const UnitsError&) {
        return false;
    }
    field->UnitsFactor = factor;
    field->UnitsZero = zero;
    if (field->FormatType != ft_Manual && field->UnitsType != utNone) field->Format = format;
    field->Decimals = DecimalsOf(field->Format);
    // Only the current row's limits are the editor's limits.
    if (field == currentNum_) {
        currentFormat_ = field->Format;
        currentLo_ = GetRangeLo(row);
        currentHi_ = GetRangeHi(row);
    }
    if (unitsColumn_ >= 0 && field->UnitsType != utNone) {
        if (colCount_ == 2) {
            const std::string caption = Cell(0, row);
            const auto comma = caption.find(',');
            SetCell(0, row, comma == std::string::npos ? label : caption.substr(0, comma + 1) + label);
        } else {
            SetCell(2, row, label);
        }
    }
    if (dynamic_cast<TDelimNumField*>(field) && field->Format.find('/') == std::string::npos)
        field->Format = field->Format + "/" + field->Format;
    SetValue(1, row, value);
    return true;
}

std::string TEntrySheet::FormatAsRow(int row, double internal) {
    const std::string format = GetFormatString(row);
    try {
        return Format(format, {internal * GetUnitsFactor(row) + GetUnitsZero(row)});
    } catch (const FormatError&) {
        return {};
    }
}

TEntrySheet::TCellButtons TEntrySheet::PrepareCell(int col, int row) {
    TCellButtons buttons;
    if (col == 0 || col == 2) return buttons;
    ResetCurrent();
    TField* field = Field(row);
    if (!field) return buttons;
    currentFormat_ = field->Format;
    if (!field->Enabled) return buttons;
    buttons.PropEditor = field->EditStyle == esPropEditor;
    buttons.Spin = field->EditStyle == esSpin;
    if (auto* num = dynamic_cast<TNumField*>(field)) {
        currentNum_ = num;
        currentIsPair_ = dynamic_cast<TDelimNumField*>(num) != nullptr;
        currentFormatType_ = num->FormatType;
        currentSigDigs_ = num->SigDigs;
        currentLo_ = GetRangeLo(row);
        currentHi_ = GetRangeHi(row);
    } else if (auto* en = dynamic_cast<TEnumField*>(field)) {
        currentEnum_ = en;
        buttons.DropDown = true;
    }
    return buttons;
}

bool TEntrySheet::CanEditText(int col, int row) const {
    if (col != 1 || row < 1 || row >= RowCount()) return false;
    TField* field = Field(row);
    if (!field) return true;
    return field->Enabled && !dynamic_cast<TEnumField*>(field);
}

bool TEntrySheet::Spin(int row, bool up) {
    TNumField* field = NumField(row);
    if (!field || !field->Enabled || dynamic_cast<TDelimNumField*>(field)) return false;
    const auto read = ValueAsNumber(GetValue(1, row));
    if (!read) return false;
    const double original = *read;
    if (up && original == field->RangeHi) return false;
    if (!up && original == field->RangeLo) return false;
    const double step = field->Increment;
    if (step == 0 || !std::isfinite(step)) return false;

    double v = original;
    try {
        const std::string shown = NumClass(*field) == TFormatClass::Integer
                                      ? Format(field->Format, {RoundHalfEven(v)})
                                      : Format(field->Format, {v});
        if (auto back = TryStrToFloat(shown)) v = *back;
    } catch (const FormatError&) {
    }
    // The remainder keeps the sign of v, so removing it moves v towards zero
    // onto a multiple of the step.
    const double q = v / step;
    double r = (q - std::trunc(q)) * step;
    if (std::fabs(r) < 1e-5) r = 0;
    v -= r;
    if (up && (r == 0 || original > 0)) v += step;
    if (!up && (r == 0 || original < 0)) v -= step;
    if (HasRange(field->RangeLo, field->RangeHi))
        v = std::clamp(v, std::min(field->RangeLo, field->RangeHi), std::max(field->RangeLo, field->RangeHi));
    SetValue(1, row, v);
    return true;
}

bool TEntrySheet::SpinUp(int row) { return Spin(row, true); }
bool TEntrySheet::SpinDown(int row) { return Spin(row, false); }

bool TEntrySheet::CycleEnum(int row, int step) {
    TEnumField* field = EnumField(row);
    if (!field || !field->Enabled || field->Items.empty()) return false;
    const int count = static_cast<int>(field->Items.size());
    const TValue current = GetValue(1, row);
    const int index = std::holds_alternative<int>(current) ? std::get<int>(current) : -1;
    int next = 0;
    if (index < 0)
        next = step > 0 ? 0 : count - 1;
    else
        next = ((index + step) % count + count) % count;
    SetValue(1, row, next);
    return true;
}

void TEntrySheet::ShowMessage(const std::string& /*text*/) {}

} // namespace dvx
