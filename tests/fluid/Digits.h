// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checks a computed value against a reference written with a given number of
// digits: the value must round to the reference at the reference's last digit
// ("999.647" allows ±0.0005, "6.406e-05" allows ±5e-09).

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace dvx::test {

inline double LastDigitPlace(const std::string& reference) {
    const auto e = reference.find_first_of("eE");
    const std::string mantissa = reference.substr(0, e);
    const int exponent = e == std::string::npos ? 0 : std::stoi(reference.substr(e + 1));
    const auto point = mantissa.find('.');
    const int decimals =
        point == std::string::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    return std::pow(10.0, exponent - decimals);
}

inline ::testing::AssertionResult MatchesDigits(double actual, const std::string& reference) {
    const double expected = std::stod(reference);
    // Half a unit of the last digit, with room for the rounding of the
    // reference itself into binary.
    const double tolerance = 0.5 * LastDigitPlace(reference) * (1 + 1e-9);
    if (std::fabs(actual - expected) <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "value " << ::testing::PrintToString(actual) << " does not round to " << reference;
}

} // namespace dvx::test
