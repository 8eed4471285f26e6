// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 80-bit extended-precision number of project files, converted to and
// from double by bit operations so that the result does not depend on what
// the compiler's long double is.
//
// Layout (little-endian): bytes 0-7 the 64-bit significand with an explicit
// integer bit, bytes 8-9 the 15-bit biased exponent (bias 16383) with the
// sign in the top bit.

#include <array>
#include <cstdint>

namespace dvx {

using Extended80 = std::array<std::uint8_t, 10>;

// Exact: every double (normal, subnormal, zero, infinite, NaN with its
// payload) has an extended form that converts back to the same bits.
Extended80 DoubleToExtended(double value);

// Rounds to the nearest double (ties to even); values beyond the double
// range become infinite, values below it round to a subnormal or zero.
// NaNs keep their sign and the top 52 bits of their payload; a NaN whose
// payload lies only in the dropped bits stays a (quiet) NaN.
double ExtendedToDouble(const Extended80& bytes);

} // namespace dvx
