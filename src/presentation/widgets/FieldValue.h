// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Values exchanged with entry fields and sheet rows, and the rules that turn
// a field's text into a value, a value into text, and typed text into a
// checked, formatted text. Shared by the formatted edit and the property
// sheet so that both read, write and check numbers the same way.

#include "presentation/widgets/FmtNumber.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace dvx {

// A number, an integer or a text.
using TValue = std::variant<int, double, std::string>;

// The value as a number: numbers as they are, a text read as a number.
std::optional<double> ValueAsNumber(const TValue& value);
// The value as text: a text as it is, numbers in their shortest form.
std::string ValueAsText(const TValue& value);

// How a field shows its numbers: format, format type, significant digits for
// ft_Auto, and display = internal × Factor + Zero.
struct TNumberView {
    std::string Format = "%0.1f";
    TFormatType FormatType = ft_Fixed;
    int SigDigs = 5;
    double Factor = 1.0;
    double Zero = 0.0;
};

// The value of a field's text. Text class: the text put through the format.
// Integer and real: the normalised text read and converted to internal units
// (integers rounded, halves to even). Pair: both numbers converted and put
// through the format as text; a single number converted and written "%0.4g".
// Text that cannot be read gives the text itself. A text format without any
// conversion keeps the text as it is.
TValue ReadFieldText(TFormatClass cls, const std::string& text, const TNumberView& view);

// The text a field shows for a value (the value in internal units); none when
// the value cannot be converted or formatted. A pair value is a text "a/b".
std::optional<std::string> WriteFieldValue(TFormatClass cls, const TValue& value,
                                           const TNumberView& view);

struct TValidated {
    std::string Text; // the text the field shows after the check
    bool Accepted;    // false when a number was set to a limit
};

// Cleans, range-checks and reformats typed text. displayLo and displayHi are
// the limits in display units. Text that is not a number stays as typed and
// counts as accepted.
TValidated ValidateText(TFormatClass cls, const std::string& text, const TNumberView& view,
                        double displayLo, double displayHi);

} // namespace dvx
