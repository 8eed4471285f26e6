// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "base/Format.h"
#include "base/Money.h"

#include <cstdlib>
#include "base/Numbers.h"

#include <clocale>
#include <gtest/gtest.h>

namespace dvx {
namespace {

struct FormatCase {
    const char* format;
    double value;
    const char* expected;
};

TEST(Format, FloatConversionsOfTheProgramsFormatStrings) {
    const FormatCase cases[] = {
        {"%0.4g", 8.077, "8.077"},
        {"%0.4g", 8.0770, "8.077"},
        {"%0.4g", 2.5, "2.5"},      // trailing zeros dropped
        {"%0.4g", 1.0, "1"},
        {"%0.4g", 12345.678, "1.235e+04"},
        {"%0.4g", 0.000012345, "1.234e-05"},
        {"%0.1f", 9.0, "9.0"},
        {"%0.1f", -0.04, "-0.0"},
        {"%0.2f", 7.456, "7.46"},
        {"%0.0f", 1500.0, "1500"},
        {"%0.6f", 0.046, "0.046000"},
        {"dP = %0.4g kPa", 8.0768, "dP = 8.077 kPa"},
        {"%0.0f%% Eth-Glycol", 30.0, "30% Eth-Glycol"},
        {"%8.3f|", 3.14159, "   3.142|"},
        {"%-8.1f|", 3.14159, "3.1     |"}};
    for (const FormatCase& c : cases) EXPECT_EQ(FormatFloat(c.format, c.value), c.expected) << c.format;
}

TEST(Format, IntegersTextAndMixedArguments) {
    EXPECT_EQ(Format("%3d: %s %s", {7, "Pipe", "High velocity"}), "  7: Pipe High velocity");
    EXPECT_EQ(Format("%0d", {42}), "42");
    EXPECT_EQ(Format("%d", {-3}), "-3");
    EXPECT_EQ(Format("%S dia", {"100"}), "100 dia");
    EXPECT_EQ(Format("%s  %s dia", {"Pipe", "100"}), "Pipe  100 dia");
    EXPECT_EQ(Format("no conversions, 100%%", {}), "no conversions, 100%");
    EXPECT_EQ(Format("%0.2f KB (%d bytes)", {3.0, 3072}), "3.00 KB (3072 bytes)");
}

TEST(Format, BadFormatsRaise) {
    EXPECT_THROW(Format("%d and %d", {1}), FormatError);
    EXPECT_THROW(Format("%q", {1}), FormatError);
    EXPECT_THROW(Format("%0.", {1.0}), FormatError);
    EXPECT_THROW(Format("%d", {"text"}), FormatError);
}

TEST(Format, NonFiniteValuesDoNotCrash) {
    EXPECT_EQ(FormatFloat("%0.4g", std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatFloat("%0.1f", std::numeric_limits<double>::quiet_NaN()), "NAN");
}

TEST(Money, SymbolPlaceDecimalsAndGrouping) {
    MoneyFormat saved = CurrentMoneyFormat();
    SetMoneyFormat({"$", 2, true, false, false});
    EXPECT_EQ(Format("Total System Price = %m", {2200.0}), "Total System Price = $2,200.00");
    EXPECT_EQ(FormatMoney(-1234567.891), "-$1,234,567.89");
    EXPECT_EQ(FormatMoney(-0.001), "$0.00");
    SetMoneyFormat({"€", 2, false, true, false});
    EXPECT_EQ(FormatMoney(999.5), "999.50 €");
    SetMoneyFormat({"", 0, true, false, true});
    EXPECT_EQ(FormatMoney(-1000.4), "(1,000)");
    SetMoneyFormat(saved);
}

TEST(Money, CaptionsWithoutACurrencyHaveNoEmptyBrackets) {
    const MoneyFormat saved = CurrentMoneyFormat();
    // A locale without any currency (C.UTF-8 has neither symbol).
    const std::string previous = std::getenv("LC_ALL") != nullptr ? std::getenv("LC_ALL") : "";
    setenv("LC_ALL", "C.UTF-8", 1);
    LoadMoneyFormatFromEnvironment();
    EXPECT_EQ(CurrentMoneyFormat().symbol, "");
    EXPECT_EQ(WithCurrency("Material"), "Material");
    EXPECT_EQ(PerHourText(), "per hour");
    // The setting names one; an empty setting leaves the locale's.
    UseCurrencySymbol("");
    EXPECT_EQ(WithCurrency("Material"), "Material");
    UseCurrencySymbol("CHF");
    EXPECT_EQ(WithCurrency("Material"), "Material (CHF)");
    EXPECT_EQ(PerHourText(), "CHF per hour");
    EXPECT_EQ(FormatMoney(12.5), "CHF12.50");
    if (previous.empty()) unsetenv("LC_ALL");
    else setenv("LC_ALL", previous.c_str(), 1);
    SetMoneyFormat(saved);
}

// The desktop toolkit puts the environment's locale in force; a comma-decimal
// locale must change neither what the program writes nor what it reads.
TEST(Format, CommaDecimalLocaleChangesNothing) {
    std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"};
    for (const char* name : candidates)
        if (std::setlocale(LC_ALL, name) != nullptr) break;
    EXPECT_EQ(FormatFloat("%0.3f", 8.077), "8.077");
    EXPECT_EQ(FormatFloat("%0.4g", 8.077), "8.077");
    EXPECT_EQ(FloatToStr(8.077), "8.077");
    EXPECT_DOUBLE_EQ(StrToFloat("8.077"), 8.077);
    EXPECT_THROW(StrToFloat("8,077"), ConvertError);
    std::setlocale(LC_ALL, previous.c_str());
}

} // namespace
} // namespace dvx
