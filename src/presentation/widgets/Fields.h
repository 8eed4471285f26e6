// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The row fields of a property sheet and the grammar of the definition lines
// that make them. A line "Caption; format; units; style; low; high; step"
// gives a numeric row, "Caption; enum; units; item; item; ..." an enumerated
// row and "Caption; format; units; style" a text row.

#include "presentation/widgets/FieldValue.h"
#include "presentation/widgets/Units.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

// How the value cell of a row is edited besides typing.
enum TEditStyle : unsigned char {
    esNone = 0,       // no button
    esPropEditor = 1, // a button that calls the row's EditHook
    esDropDown = 2,   // a drop-down list of the enumeration
    esSpin = 3,       // spin buttons
};

// Answer of a property-editor hook.
enum TEditHookResult { ehAccept = 1, ehDismiss = 2 };

class TField {
public:
    virtual ~TField() = default;

    // printf-style format of the value; "%S" for text; empty for an enumeration.
    std::string Format;
    unsigned char EditStyle = esNone;
    bool Enabled = true;
    // Called by the property-editor button with the current value; on
    // ehAccept the value it leaves in its argument is stored.
    std::function<int(TValue& value)> EditHook;
};

class TNumField : public TField {
public:
    double RangeLo = 0.0;   // internal units
    double RangeHi = 0.0;   // internal units
    double Increment = 1.0; // spin step, internal units
    TUnitsType UnitsType = utNone;
    int UnitsValue = 0; // index of the unit shown
    int UnitsBase = 0;  // index of the internal unit
    double UnitsFactor = 1.0; // display = internal × UnitsFactor + UnitsZero
    double UnitsZero = 0.0;
    int Decimals = 0; // the digit after the first "." of Format
    TFormatType FormatType = ft_Fixed;
    int SigDigs = 5;

    // The view of this row's numbers for reading and writing its cell.
    TNumberView View() const { return TNumberView{Format, FormatType, SigDigs, UnitsFactor, UnitsZero}; }
};

// A row holding two numbers written "a/b", sharing limits and units.
class TDelimNumField : public TNumField {};

class TEnumField : public TField {
public:
    TEnumField() { EditStyle = esDropDown; }
    std::vector<std::string> Items;
};

// Splits a definition line at each delimiter; every field is trimmed of
// blanks and control characters. A line ending directly in the delimiter has
// no empty last field; one ending in the delimiter and a blank has.
std::vector<std::string> SplitLine(std::string_view line, char delim);

// The result of parsing one data line.
struct TParsedLine {
    std::unique_ptr<TField> Field;
    // The line's fields with field 1 replaced by the starting value text:
    // caption, value, units, ...
    std::vector<std::string> Cells;
    // Set when a numeric line had a missing or unreadable limit or step; the
    // row was made a text row and the message names it.
    std::string Error;
};

TParsedLine ParseLine(std::string_view line, char delim);

// The edit style of a style flag: "PE" → 1, "Spin" → 3, anything else 0.
unsigned char EditStyleOf(std::string_view flag);

} // namespace dvx
