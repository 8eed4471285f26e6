// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Floating-point text in the forms of std::to_chars (shortest round-trip)
// and std::from_chars (chars_format::general). Where the standard library
// has the floating-point overloads they are used as they are; where it has
// not (the WebAssembly build's libc++), the portable versions below give the
// same text and the same values. Both are built everywhere so that the
// portable ones are checked against the standard library's.

#include <charconv>

namespace dvx {

// The shortest text that reads back to value, as std::to_chars(first, last,
// value) writes it: the shorter of plain and scientific notation, plain on
// a tie; "inf", "nan", "-0" as it does.
std::to_chars_result ToChars(char* first, char* last, double value);

// Reads a number as std::from_chars(first, last, value,
// std::chars_format::general) does: an optional '-', digits with an
// optional point and an optional exponent; result_out_of_range (value
// unchanged) when it overflows or underflows to zero.
std::from_chars_result FromChars(const char* first, const char* last, double& value);

namespace portable {
std::to_chars_result ToChars(char* first, char* last, double value);
std::from_chars_result FromChars(const char* first, const char* last, double& value);
} // namespace portable

} // namespace dvx
