// SPDX-License-Identifier: GPL-3.0-or-later
// The shortest round-trip text and the number reading of base/CharConv.h.
// The portable versions (the WebAssembly build's) must give the standard
// library's text and values: a table of known forms holds in every build,
// and where the standard library has the floating-point overloads both are
// compared over many bit patterns.
#include "base/CharConv.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

namespace dvx {
namespace {

std::string Text(std::to_chars_result (*to)(char*, char*, double), double value) {
    char buffer[64];
    const auto result = to(buffer, buffer + sizeof buffer, value);
    EXPECT_EQ(result.ec, std::errc());
    return std::string(buffer, result.ptr);
}

TEST(CharConv, ShortestFormsChooseNotationAsTheStandardDoes) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {1, "1"},
        {0.1, "0.1"},
        {-0.0, "-0"},
        {0, "0"},
        {100, "100"},
        {123456, "123456"},
        {0.001, "0.001"},
        {1e-7, "1e-07"},
        {1e16, "1e+16"},
        {1e21, "1e+21"},
        {1.2345678901234568e17, "123456789012345680"},
        {5e-324, "5e-324"},
        {1.7976931348623157e308, "1.7976931348623157e+308"},
        {187331.1367686341, "187331.1367686341"},
        {4.6e-05, "4.6e-05"},
        {-2.5e-4, "-0.00025"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(portable::ToChars, c.value), c.text);
        EXPECT_EQ(Text(ToChars, c.value), c.text);
    }
}

TEST(CharConv, ReadsWhatItWritesAndStopsWhereTheStandardDoes) {
    struct Case {
        const char* text;
        double value;
        std::size_t used; // characters taken
    } cases[] = {
        {"8.077", 8.077, 5}, {"-5", -5, 2}, {"1E3", 1000, 3}, {".5", 0.5, 2}, {"7.", 7, 2},
        {"2.5e-4", 2.5e-4, 6}, {"3e", 3, 1}, {"3e+", 3, 1}, {"4.5x", 4.5, 3}, {"1e-400x", 0, 6},
    };
    for (const Case& c : cases) {
        double value = -1;
        const auto end = c.text + std::strlen(c.text);
        const auto result = portable::FromChars(c.text, end, value);
        EXPECT_EQ(static_cast<std::size_t>(result.ptr - c.text), c.used) << c.text;
        if (result.ec == std::errc()) EXPECT_EQ(value, c.value) << c.text;
        else EXPECT_EQ(result.ec, std::errc::result_out_of_range) << c.text;
    }
    for (const char* bad : {"", "+1", "abc", ".", "-", "e5"}) {
        double value = -1;
        EXPECT_EQ(portable::FromChars(bad, bad + std::strlen(bad), value).ec, std::errc::invalid_argument) << bad;
        EXPECT_EQ(value, -1);
    }
    double value = 0;
    const char* huge = "1e400";
    EXPECT_EQ(portable::FromChars(huge, huge + 5, value).ec, std::errc::result_out_of_range);
}

#if defined(__GLIBCXX__)
double FromBits(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Random bit patterns and values near decimal boundaries: the portable text
// equals std::to_chars's, and reading it back with either gives the bits.
TEST(CharConv, PortableFormsEqualTheStandardLibrarys) {
    std::mt19937_64 random(20261211);
    for (int i = 0; i < 50000; ++i) {
        double value = FromBits(random());
        if (i % 2) value = std::round(value * 1e6) / 1e6;
        if (!std::isfinite(value)) continue;
        char expected[64];
        const auto e = std::to_chars(expected, expected + sizeof expected, value);
        const std::string want(expected, e.ptr);
        ASSERT_EQ(Text(portable::ToChars, value), want) << want;
        double standard = 0;
        double portableValue = 0;
        const auto s = std::from_chars(want.data(), want.data() + want.size(), standard);
        const auto p = portable::FromChars(want.data(), want.data() + want.size(), portableValue);
        ASSERT_EQ(s.ec, p.ec) << want;
        ASSERT_EQ(s.ptr, p.ptr) << want;
        ASSERT_EQ(std::memcmp(&standard, &portableValue, sizeof standard), 0) << want;
    }
}
#endif

} // namespace
} // namespace dvx
