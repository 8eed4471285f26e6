// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/FmtEditBase.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

// A field whose text is a plain string.
class TTextField : public TFmtEditBase {
public:
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override { text_ = text; }
    std::string label;

protected:
    void UnitsLabelChanged(const std::string& l) override { label = l; }

private:
    std::string text_ = "0.0";
};

struct ValidateCase {
    const char* format;
    TFormatType type;
    double lo, hi;
    const char* typed;
    const char* shown;
    bool accepted;
};

TEST(FmtEditBase, ValidateCleansChecksAndFormats) {
    const ValidateCase cases[] = {
        // Fitting quantity: integer 1 to 999.
        {"%d", ft_Manual, 1, 999, "1500", "999", false},
        {"%d", ft_Manual, 1, 999, "0", "1", false},
        {"%d", ft_Manual, 1, 999, "12", "12", true},
        {"%d", ft_Manual, 1, 999, "2.5", "2", true}, // pasted: rounded half to even
        // Pipe length: 0 to 100 is exact at both ends, 10 to 100 has 0.5 %.
        {"%0.1f", ft_Fixed, 0, 100, "100.4", "100.0", false},
        {"%0.1f", ft_Fixed, 10, 100, "100.4", "100.4", true},
        {"%0.1f", ft_Fixed, 0, 100, "-5", "0.0", false},
        {"%0.1f", ft_Fixed, 0, 200, "12 . 5", "12.5", true},
        {"%0.1f", ft_Fixed, 0, 0, "-5-3", "-53.0", true},
        {"%0.4g", ft_Fixed, 0, 0, "e3", "1000", true},
        {"%0.1f", ft_Fixed, 0, 100, "-", "0.0", true},
        {"%0.1f", ft_Fixed, 0, 0, "", "0.0", true},
        {"%0.4g", ft_Fixed, 0, 0, "1E999", "1e+99", true}, // exponent clipped, no overflow
        {"%0.4g", ft_Fixed, 0, 0, "2E-999", "2e-09", true},
        {"%0.1f", ft_Auto, 0, 0, "1234.5678", "1234.6", true},
        {"%0.1f", ft_Auto, 0, 0, "0.000012345", "0.0000123", true},
        // Not a number: left as typed and accepted.
        {"%0.1f", ft_Fixed, 0, 100, "abc", "abc", true},
        // Text formats put the text through the format.
        {"%S", ft_Fixed, 0, 100, "Main riser", "Main riser", true},
        // Pairs: both numbers checked; one number uses the first format.
        {"%0.1f/%0.2f", ft_Fixed, 0, 10, "1/2", "1.0/2.00", true},
        {"%0.1f/%0.2f", ft_Fixed, 0, 10, "1/20", "1.0/10.00", false},
        {"%0.1f/%0.2f", ft_Fixed, 0, 10, "-3/2", "0.0/2.00", false},
        {"%0.1f/%0.2f", ft_Fixed, 0, 10, "4", "4.0", true},
    };
    for (const auto& c : cases) {
        TTextField field;
        field.SetFormatStr(c.format);
        field.FormatType = c.type;
        field.RangeLo = c.lo;
        field.RangeHi = c.hi;
        field.SetText(c.typed);
        EXPECT_EQ(field.Validate(), c.accepted) << c.format << " '" << c.typed << "'";
        EXPECT_EQ(field.Text(), c.shown) << c.format << " '" << c.typed << "'";
        EXPECT_TRUE(field.Modified);
    }
}

TEST(FmtEditBase, GetValueReadsTheTextInInternalUnits) {
    TTextField field;
    field.SetFormatStr("%d");
    field.SetText("12");
    EXPECT_EQ(std::get<int>(field.GetValue()), 12);
    field.SetText("2.5");
    EXPECT_EQ(std::get<int>(field.GetValue()), 2);
    field.SetText("oops");
    EXPECT_EQ(std::get<std::string>(field.GetValue()), "oops");

    field.SetFormatStr("%0.1f");
    field.SetText("1 2.5");
    EXPECT_DOUBLE_EQ(std::get<double>(field.GetValue()), 12.5);

    field.SetFormatStr("%0.1f/%0.1f");
    field.SetText("1.25/ 3");
    EXPECT_EQ(std::get<std::string>(field.GetValue()), "1.2/3.0");
    field.SetText("1.25");
    EXPECT_EQ(std::get<std::string>(field.GetValue()), "1.25");

    field.SetFormatStr("%S");
    field.SetText("Pump");
    EXPECT_EQ(std::get<std::string>(field.GetValue()), "Pump");
}

TEST(FmtEditBase, SetValueFormatsOrEmpties) {
    TTextField field;
    field.SetFormatStr("%d");
    field.SetValue(3.6);
    EXPECT_EQ(field.Text(), "4");
    field.SetValue(std::string("not a number"));
    EXPECT_EQ(field.Text(), "");

    field.SetFormatStr("%0.1f/%0.1f");
    field.SetValue(std::string("1/2.25"));
    EXPECT_EQ(field.Text(), "1.0/2.2");
    field.SetValue(7.0); // a pair needs two numbers
    EXPECT_EQ(field.Text(), "");

    field.SetFormatStr("%0.2f");
    field.FormatType = ft_Auto;
    field.SetValue(0.00123);
    EXPECT_EQ(field.Text(), "0.00123");
}

TEST(FmtEditBase, ChangingToATextFormatEmptiesTheStartingText) {
    TTextField field;
    EXPECT_EQ(field.Text(), "0.0");
    field.SetFormatStr("%S");
    EXPECT_EQ(field.Text(), "");
    field.SetText("0.00");
    field.SetFormatStr("%S");
    EXPECT_EQ(field.Text(), "0.00");
}

TEST(FmtEditBase, UnitsShowTheSameInternalValueAndConvertTheRange) {
    TTextField field;
    field.SetFormatStr("%0.1f");
    field.RangeLo = -10;
    field.RangeHi = 90;
    field.SetText("9.0");
    field.SetUnitsType(utTemperature); // °C, the internal unit
    EXPECT_EQ(field.Text(), "9.0");
    EXPECT_EQ(field.label, "°C");
    field.SetUnitsValue(1); // °F
    EXPECT_EQ(field.Text(), "48.2");
    EXPECT_EQ(field.label, "°F");
    EXPECT_DOUBLE_EQ(field.DisplayHi(), 194.0);
    EXPECT_NEAR(std::get<double>(field.GetValue()), 9.0, 1e-9);
    field.SetText("200");
    EXPECT_FALSE(field.Validate());
    EXPECT_EQ(field.Text(), "194.0");
    field.SetUnitsValue(2); // K, shown with its own format
    EXPECT_EQ(field.FormatStr(), "%0.2f");
    EXPECT_EQ(field.Text(), "363.15");

    // A unit the family does not have falls back to the first one.
    field.SetUnitsValue(9);
    EXPECT_EQ(field.UnitsValue(), 0);
    EXPECT_EQ(field.Text(), "90.0");

    // ft_Manual keeps the field's own format.
    TTextField manual;
    manual.SetFormatStr("%0.3f");
    manual.FormatType = ft_Manual;
    manual.SetText("0.3");
    manual.SetUnitsType(utProportion);
    manual.SetUnitsValue(1);
    EXPECT_EQ(manual.Text(), "30.000");
}

} // namespace
} // namespace dvx
