// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/Fields.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

using Strings = std::vector<std::string>;

TEST(Fields, SplitLineTrimsAndHandlesTheLastDelimiter) {
    struct Case { const char* line; Strings fields; };
    const Case cases[] = {
        {"Property; Value; Units", {"Property", "Value", "Units"}},
        {"a;b;", {"a", "b"}},          // ends directly in the delimiter
        {"a;b; ", {"a", "b", ""}},     // delimiter and a blank: empty last field
        {"  a\t;\x01 b \r\n", {"a", "b"}},
        {"a;;b", {"a", "", "b"}},
        {"", {}},
        {"Pipe Length; %0.3f; m; NPE; 0.1; 100 ", {"Pipe Length", "%0.3f", "m", "NPE", "0.1", "100"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLine(c.line, ';'), c.fields) << "'" << c.line << "'";
    EXPECT_EQ(SplitLine("a,b", ','), (Strings{"a", "b"}));
}

TEST(Fields, EditStyleFlags) {
    EXPECT_EQ(EditStyleOf("PE"), esPropEditor);
    EXPECT_EQ(EditStyleOf("pe"), esPropEditor);
    EXPECT_EQ(EditStyleOf("SPIN"), esSpin);
    EXPECT_EQ(EditStyleOf("NPE"), esNone);
    EXPECT_EQ(EditStyleOf(""), esNone);
}

TEST(Fields, NumericLinesMakeNumberFields) {
    struct Case {
        const char* line;
        bool pair;
        const char* start;
        double lo, hi, step;
        unsigned char style;
    };
    const Case cases[] = {
        {"Water Temperature; %0.1f; °C; NPE; -10; 90", false, "0.0", -10, 90, 1, esNone},
        {"Fitting Quantity; %d; ; NPE; 1; 99", false, "0", 1, 99, 1, esNone},
        {"Pipe Length; %0.3f; m; NPE; 0.1; 100 ", false, "0.000", 0.1, 100, 1, esNone},
        {"Dynamic viscosity; %0.4g; kg/m·s; NPE; 1e-9; 10.0", false, "0", 1e-9, 10, 1, esNone},
        {"Size; %0.1f/%0.1f; m; Spin; 0; 5; 0.5", true, "0.0/0.0", 0, 5, 0.5, esSpin},
        {"Level; %0.2f; m; pe; 0; 5; ", false, "0.00", 0, 5, 1, esPropEditor}, // empty step: 1
    };
    for (const auto& c : cases) {
        TParsedLine parsed = ParseLine(c.line, ';');
        auto* num = dynamic_cast<TNumField*>(parsed.Field.get());
        ASSERT_NE(num, nullptr) << c.line;
        EXPECT_EQ(dynamic_cast<TDelimNumField*>(num) != nullptr, c.pair) << c.line;
        EXPECT_TRUE(parsed.Error.empty()) << c.line;
        EXPECT_EQ(parsed.Cells[1], c.start) << c.line;
        EXPECT_DOUBLE_EQ(num->RangeLo, c.lo) << c.line;
        EXPECT_DOUBLE_EQ(num->RangeHi, c.hi) << c.line;
        EXPECT_DOUBLE_EQ(num->Increment, c.step) << c.line;
        EXPECT_EQ(num->EditStyle, c.style) << c.line;
        EXPECT_TRUE(num->Enabled);
        EXPECT_EQ(num->UnitsType, utNone);
        EXPECT_EQ(num->FormatType, ft_Fixed);
        EXPECT_EQ(num->SigDigs, 5);
    }
}

TEST(Fields, BadNumericLinesBecomeTextRowsWithAnError) {
    const char* lines[] = {
        "Density; %0.4f; kg/m³; NPE; 0.01",             // no high limit
        "Density; %0.4f; kg/m³; NPE; 0.01; lots",       // high limit not a number
        "Density; %0.4f; kg/m³; PE; 0.01; 5000; step",  // step present but not a number
        "Density; %0.4f; kg/m³; NPE; 0,01; 5000",       // only "." is a decimal point
    };
    for (const char* line : lines) {
        TParsedLine parsed = ParseLine(line, ';');
        ASSERT_NE(parsed.Field, nullptr);
        EXPECT_EQ(dynamic_cast<TNumField*>(parsed.Field.get()), nullptr) << line;
        EXPECT_EQ(parsed.Field->Format, "%S") << line;
        EXPECT_EQ(parsed.Error, "Error initialising Density") << line;
        EXPECT_EQ(parsed.Cells[1], "") << line;
    }
    EXPECT_EQ(ParseLine(lines[2], ';').Field->EditStyle, esPropEditor);
}

TEST(Fields, EnumAndTextLines) {
    TParsedLine bore = ParseLine("Pipe Bore; enum; mm; 300; 250; 200; 150; 125; 100; 80; 65; 50; 40; 35; 25", ';');
    auto* en = dynamic_cast<TEnumField*>(bore.Field.get());
    ASSERT_NE(en, nullptr);
    EXPECT_EQ(en->Items.size(), 12u);
    EXPECT_EQ(en->EditStyle, esDropDown);
    EXPECT_EQ(en->Format, "");
    EXPECT_EQ(bore.Cells[1], "300");
    EXPECT_EQ(bore.Cells[2], "mm");

    TParsedLine fitting = ParseLine("Fitting Type; ENUM; ; Elbow; Taper; Valve; Strainer", ';');
    en = dynamic_cast<TEnumField*>(fitting.Field.get());
    ASSERT_NE(en, nullptr);
    EXPECT_EQ(en->Items, (Strings{"Elbow", "Taper", "Valve", "Strainer"}));
    EXPECT_EQ(fitting.Cells[2], "");

    TParsedLine empty = ParseLine("Choice; enum", ';');
    en = dynamic_cast<TEnumField*>(empty.Field.get());
    ASSERT_NE(en, nullptr);
    EXPECT_TRUE(en->Items.empty());
    EXPECT_EQ(empty.Cells[1], "");

    TParsedLine text = ParseLine("Description; %S; ; PE", ';');
    ASSERT_NE(text.Field, nullptr);
    EXPECT_EQ(dynamic_cast<TNumField*>(text.Field.get()), nullptr);
    EXPECT_EQ(dynamic_cast<TEnumField*>(text.Field.get()), nullptr);
    EXPECT_EQ(text.Field->Format, "%S");
    EXPECT_EQ(text.Field->EditStyle, esPropEditor);
    EXPECT_EQ(text.Cells[1], "");
}

} // namespace
} // namespace dvx
