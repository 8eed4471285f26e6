// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/FmtNumber.h"

#include <cmath>
#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(FmtNumber, FormatClassIsDecidedTextPairIntegerReal) {
    struct Case { const char* format; TFormatClass cls; };
    const Case cases[] = {
        {"%S", TFormatClass::Text},          {"%s", TFormatClass::Text},
        {"%0.1f/%0.1f", TFormatClass::Pair}, {"%d", TFormatClass::Integer},
        {"%3D", TFormatClass::Integer},      {"%0.4g", TFormatClass::Real},
        {"%0.1f", TFormatClass::Real},       {"", TFormatClass::Text},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatClassOf(c.format), c.cls) << c.format;
}

TEST(FmtNumber, DecimalsAreTheDigitAfterTheFirstPoint) {
    EXPECT_EQ(DecimalsOf("%0.1f"), 1);
    EXPECT_EQ(DecimalsOf("%0.4g"), 4);
    EXPECT_EQ(DecimalsOf("%d"), 0);
    EXPECT_EQ(DecimalsOf("%0.12f"), 1); // a single digit only
    EXPECT_EQ(DecimalsOf("%0."), 0);
}

TEST(FmtNumber, KeyFilterByFormatClass) {
    struct Case { const char* format; const char* allowed; const char* refused; };
    const Case cases[] = {
        {"%d", "0123456789-", ".,eE/+ a"},
        {"%0.1f", "0123456789-.", ",eE/+ a"},
        {"%0.4g", "0123456789-.eE", ",/+ a"},
        {"%0.1f/%0.1f", "0123456789-./", ",eE+ a"},
        {"%S", "abc ,.;/é", ""},
    };
    for (const auto& c : cases) {
        for (const char* p = c.allowed; *p; ++p)
            EXPECT_TRUE(KeyAllowed(c.format, static_cast<unsigned char>(*p))) << c.format << " '" << *p << "'";
        for (const char* p = c.refused; *p; ++p)
            EXPECT_FALSE(KeyAllowed(c.format, static_cast<unsigned char>(*p))) << c.format << " '" << *p << "'";
    }
}

TEST(FmtNumber, NormaliseNumberCleansTypedText) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"12 . 5", "12.5"},
        {"-5-3", "-53"},
        {"e3", "1E3"},
        {"-", "0"},
        {"", "0"},
        {"   ", "0"},
        {"1.2.3", "1.23"},
        {"2e-3", "2E-3"},
        {"2e3e4", "2E34"},
        {"1e-3-", "1E-3"},
        {"1E2.5", "1E25"},     // one "." in the exponent removed
        {"1E999", "1E99"},     // exponent over 300 cut to two characters
        {"1E-999", "1E-9"},
        {"1E300", "1E300"},    // 300 itself stays
        {"-e3", "-E3"},        // not a number afterwards; left to the reader
        {"1 / 2", "1/2"},
        {"1-/-2/3", "1/-23"},  // each side cleaned, only the first "/"
        {"/", "0/0"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormaliseNumber(c.in), c.out) << "'" << c.in << "'";
}

TEST(FmtNumber, AutoDecimalsFollowSignificantDigits) {
    struct Case { int sig; double d; int n; };
    const Case cases[] = {
        {5, 1234.5678, 1}, {5, 123.456, 2}, {5, 0.00123, 5}, {5, 0.5, 3},
        {5, 0.000012345, 7}, {5, 0.0, 3}, {5, 5.5, 3}, {5, 123456.0, 0},
        {5, -0.5, 3},   // "-0" has two characters before the point
        {5, 1e-15, 3},  // all twelve decimals are zero
        {20, 12.5, 12}, // never more than 12
    };
    for (const auto& c : cases) EXPECT_EQ(AutoDecimals(c.sig, c.d), c.n) << c.d;
}

TEST(FmtNumber, FormatRealByFormatType) {
    struct Case { const char* format; TFormatType type; double d; const char* text; };
    const Case cases[] = {
        {"%0.1f", ft_Auto, 1234.5678, "1234.6"},
        {"%0.1f", ft_Auto, 0.000012345, "0.0000123"},
        {"%0.1f", ft_Auto, 0.00123, "0.00123"},
        {"%0.1f", ft_Fixed, 0.00123, "0.0"},
        {"%0.1f", ft_Manual, 1234.5678, "1234.6"},
        {"%0.2f", ft_Manual, 0.5, "0.50"},
        // ft_AutoOverride: auto while 10^(2 − decimals) > d.
        {"%0.1f", ft_AutoOverride, 9.5, "9.500"},     // 10 > 9.5
        {"%0.1f", ft_AutoOverride, 12.345, "12.3"},   // 10 <= 12.345
        {"%0.1f", ft_AutoOverride, -250.0, "-250.0"}, // negatives always auto: k = 4
        {"%0.3f", ft_AutoOverride, 0.05, "0.0500"},   // 0.1 > 0.05
        {"%0.3f", ft_AutoOverride, 0.2, "0.200"},     // format
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatReal(c.format, c.type, 5, c.d), c.text) << c.format << " " << c.d;
}

TEST(FmtNumber, RoundHalfEven) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(3.6), 4);
    EXPECT_EQ(RoundHalfEven(-3.4), -3);
    EXPECT_EQ(RoundHalfEven(1e300), 9000000000000000000LL); // clamped, not undefined
}

TEST(FmtNumber, RangeCheck) {
    struct Case { double v, lo, hi; bool ok; double after; };
    const Case cases[] = {
        {100.4, 0, 100, false, 100},   // a range from 0 has no tolerance
        {100.4, 10, 100, true, 100.4}, // within 0.5 %
        {100.6, 10, 100, false, 100},
        {9.96, 10, 100, true, 9.96},
        {9.9, 10, 100, false, 10},
        {-0.1, 0, 100, false, 0},
        {1500, 1, 999, false, 999},
        {0, 1, 999, false, 1},
        {1e6, 0, 0, true, 1e6},        // no range
        {1e6, 5, 5.000001, true, 1e6}, // equal within 1e-5: no range
        {3, -10, 0, false, 0},         // upper limit 0 with a non-zero lower one: exact
        {-3, -10, 0, true, -3},
    };
    for (const auto& c : cases) {
        double v = c.v;
        EXPECT_EQ(InRange(v, c.lo, c.hi), c.ok) << c.v << " in " << c.lo << ".." << c.hi;
        EXPECT_DOUBLE_EQ(v, c.after) << c.v << " in " << c.lo << ".." << c.hi;
    }
}

} // namespace
} // namespace dvx
