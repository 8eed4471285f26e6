// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing numbers as text, always with "." as the decimal
// separator whatever the process locale (the desktop toolkit sets the C
// locale from the environment, so nothing here uses strtod or printf).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dvx {

// Text to double. Blanks around the number are ignored; a leading "+" or
// "-", a fraction and an exponent ("1E3", "2.5e-4") are accepted. Anything
// else raises ConvertError "'<text>' is not a valid floating point value".
double StrToFloat(std::string_view text);

// Text to integer: decimal, or hexadecimal after "0x"/"0X" or "$". Blanks
// around the number are ignored. Anything else (including a value outside
// 32 bits) raises ConvertError "'<text>' is not a valid integer value".
int StrToInt(std::string_view text);

// The same conversions returning no value instead of raising.
std::optional<double> TryStrToFloat(std::string_view text);
std::optional<int> TryStrToInt(std::string_view text);

// Shortest general form: at most 15 significant digits, trailing zeros
// dropped ("7.5", "0.25", "-1", "1E-5" style exponents for small and large
// magnitudes).
std::string FloatToStr(double value);

// Round-trip form with 17 significant digits, used where a value must read
// back bit for bit (settings, JSON output).
std::string FloatToStr17(double value);

// Removes blanks (spaces, tabs, CR, LF) at both ends.
std::string_view TrimBlanks(std::string_view text);

} // namespace dvx
