// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "base/Numbers.h"

#include <cmath>
#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(StrToFloat, AcceptsTheProgramsNumberForms) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"8.077", 8.077}, {"  12.5 ", 12.5}, {"-5", -5},    {"+2.5", 2.5},
        {"1E3", 1000},    {"2.5e-4", 2.5e-4}, {".5", 0.5},  {"7.", 7},
        {"0", 0},         {"1e-400", 0},      {"\t3\r\n", 3},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.value) << c.text;
}

TEST(StrToFloat, RejectsWithTheStandardConversionMessage) {
    for (const char* text : {"12,5", "", " ", "abc", "1.2.3", "nan", "inf", "1e400", "--1", "5 m", "0x10"}) {
        try {
            StrToFloat(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' is not a valid floating point value");
        }
    }
    EXPECT_FALSE(TryStrToFloat("12,5").has_value());
}

TEST(StrToInt, DecimalAndHexadecimal) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt(" -7 "), -7);
    EXPECT_EQ(StrToInt("0x1F"), 31);
    EXPECT_EQ(StrToInt("$ff"), 255);
    EXPECT_EQ(StrToInt("0xFFFFFFFF"), -1);
    for (const char* text : {"", "4.5", "x", "99999999999", "0x", "1 2"})
        EXPECT_THROW(StrToInt(text), ConvertError) << text;
    try {
        StrToInt("ab");
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'ab' is not a valid integer value");
    }
}

TEST(FloatToStr, ShortestGeneralForm) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {7.5, "7.5"},         {0.25, "0.25"},       {-1, "-1"},       {0, "0"},
        {1500, "1500"},       {0.1, "0.1"},         {1.0 / 3, "0.333333333333333"},
        {0.0000123, "0.0000123"}, {1e-7, "1E-7"},   {1e20, "1E20"},   {123456789012345.0, "123456789012345"},
        {0.000463, "0.000463"}, {983.3, "983.3"},
    };
    for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
    // What it writes reads back as the same 15-digit value.
    for (double v : {0.017864, 311153.0, 2.7e-9, -42.970681})
        EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(v)), v);
}

TEST(FloatToStr17, RoundTripsExactly) {
    for (double v : {0.1, 1.0 / 3, 999.647123456789, 1e-300, -2.5})
        EXPECT_EQ(StrToFloat(FloatToStr17(v)), v);
}

} // namespace
} // namespace dvx
