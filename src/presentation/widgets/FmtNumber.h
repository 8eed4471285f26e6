// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number rules of formatted entry: the class of a printf-style format,
// the characters a field of that class accepts, the clean-up of typed
// numbers, automatic decimals and the range check. Numbers are always
// written and read with "." (base/Format.h, base/Numbers.h).

#include <optional>
#include <string>
#include <string_view>

namespace dvx {

// How a real value is formatted.
enum TFormatType {
    ft_Auto,         // decimals chosen from the significant digits (AutoDecimals)
    ft_Fixed,        // the field's format
    ft_AutoOverride, // ft_Auto for small values, else the field's format
    ft_Manual,       // the field's format; a unit change keeps it
};

// What a format string formats.
enum class TFormatClass { Text, Pair, Integer, Real };

// Text when the format holds "s"/"S", pair when it holds "/", integer with
// "d"/"D", real with "f"/"F"/"g"/"G"; a format with none of them is text.
TFormatClass FormatClassOf(std::string_view format);

// The single digit after the first "." of a format, 0 when there is none.
int DecimalsOf(std::string_view format);

// Whether a field of this format accepts the typed character.
// The character a typed key enters: in a real or pair field a comma is a
// decimal separator and enters ".", so "1,5" is 1.5 and never 15; every
// other key enters itself.
char32_t EnteredCharacter(std::string_view format, char32_t typed);
bool KeyAllowed(std::string_view format, char32_t ch);

// Cleans a typed number before it is read: blanks removed, one "/" for a
// pair (each side cleaned on its own), "" and "-" become "0", one "E",
// "-" only in front or after the "E", one ".", "1" in front of a bare "E",
// no "." in the exponent and an exponent over 300 cut to two characters.
std::string NormaliseNumber(std::string_view text);

// Decimals for ft_Auto: d written with 12 decimals; k characters before the
// point. k = 1: 2 + the place of the first non-zero decimal (3 when all are
// zero); otherwise sig − k while k < sig, else 0; at most 12.
int AutoDecimals(int sigDigs, double d);

// The format a real display value d is written with, by format type.
std::string RealFormatFor(std::string_view format, TFormatType type, int sigDigs, double d);

// d written by RealFormatFor.
std::string FormatReal(std::string_view format, TFormatType type, int sigDigs, double d);

// Nearest integer, halves to even.
long long RoundHalfEven(double d);

// Range check of a display value against display limits lo and hi. Equal
// limits (within 1e-5) mean no range. Below lo (above hi) passes when lo is
// not 0 and the value is within 0.5 % of the limit; otherwise v becomes the
// limit and the check fails. A range with a non-zero lower limit and an upper
// limit of 0 is enforced exactly at the upper end.
bool InRange(double& v, double lo, double hi);

// The normalised text read as a number; none when it is not one.
std::optional<double> ReadNumber(std::string_view text);

} // namespace dvx
