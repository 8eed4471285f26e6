// SPDX-License-Identifier: GPL-3.0-or-later
#include "Digits.h"
#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "engine/fluid/XmlNodeIO.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>
#include <vector>

namespace dvx {
namespace {

std::vector<std::string> ChildNames(pugi::xml_node node) {
    std::vector<std::string> names;
    for (pugi::xml_node child : node.children()) names.emplace_back(child.name());
    return names;
}

TLiquid MixtureWithUserValues() {
    TLiquid f("Chilled loop", 0, 1.5, 5, 15);
    f.WaterAdditive = 2;
    f.AdditiveVolume = 0.35;
    f.UserProps = false;
    f.UserRo = 1040;
    f.UserCp = 3.8;
    f.UserMu = 0.0042;
    f.UserKo = 0.00045;
    f.Evaluate();
    return f;
}

TEST(FluidXml, WritesElementsInOrderWithTheirFormats) {
    TLiquid f = MixtureWithUserValues();
    // User values with more digits than the formats keep.
    f.UserProps = true;
    f.UserRo = 1040.123456;
    f.UserKo = 0.000453123456;
    f.Evaluate();
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("fluidSpec");
    XmlNodeIO io;
    f.WriteToXml(io, root);
    EXPECT_EQ(io.WriteStatus, XmlNodeIO::wsWritten);

    pugi::xml_node liquid = root.child("liquid");
    ASSERT_TRUE(liquid);
    const std::vector<std::string> order = {
        "Caption", "t",         "tfi",    "tfo",    "m",      "Cp",         "ro",
        "Ko",      "mu",        "Pr",     "UserProps", "UserRo", "UserCp", "UserMu",
        "UserKo",  "LiquidSpec", "WaterAdditive", "AdditiveVolume"};
    EXPECT_EQ(ChildNames(liquid), order);
    EXPECT_STREQ(liquid.child_value("Caption"), "Chilled loop");
    EXPECT_STREQ(liquid.child_value("t"), "10.000");
    EXPECT_STREQ(liquid.child_value("m"), "1.500");
    EXPECT_STREQ(liquid.child_value("ro"), "1040.1235");
    EXPECT_STREQ(liquid.child_value("Cp"), "3.8000");
    EXPECT_STREQ(liquid.child_value("Ko"), "0.000453123");
    EXPECT_STREQ(liquid.child_value("mu"), "0.0042");
    EXPECT_STREQ(liquid.child_value("Pr"), "35.22219");
    EXPECT_STREQ(liquid.child_value("UserProps"), "true");
    EXPECT_STREQ(liquid.child_value("UserRo"), "1040.12");
    EXPECT_STREQ(liquid.child_value("UserMu"), "0.0042");
    EXPECT_STREQ(liquid.child_value("UserKo"), "0.000453123");
    EXPECT_STREQ(liquid.child_value("LiquidSpec"), "0");
    EXPECT_STREQ(liquid.child("LiquidSpec").attribute("caption").value(), "Water");
    EXPECT_STREQ(liquid.child_value("WaterAdditive"), "2");
    EXPECT_STREQ(liquid.child("WaterAdditive").attribute("caption").value(), "PropyleneGlycol");
    EXPECT_STREQ(liquid.child_value("AdditiveVolume"), "0.350");
}

TEST(FluidXml, RoundTripRestoresEveryFieldAndEvaluates) {
    TLiquid source = MixtureWithUserValues();
    source.UserProps = true;
    source.Evaluate();
    pugi::xml_document doc;
    XmlNodeIO io;
    source.WriteToXml(io, doc.append_child("root"));

    TLiquid target("Other", 7, 0, 200, 200);
    target.ReadFromXml(io, doc.child("root"));
    EXPECT_EQ(io.ReadStatus, XmlNodeIO::rsRead);
    EXPECT_EQ(target.Caption, "Chilled loop");
    EXPECT_EQ(target.t, 10);
    EXPECT_EQ(target.tfi, 5);
    EXPECT_EQ(target.tfo, 15);
    EXPECT_EQ(target.m, 1.5);
    EXPECT_TRUE(target.UserProps);
    EXPECT_EQ(target.UserRo, 1040);
    EXPECT_EQ(target.UserCp, 3.8);
    EXPECT_EQ(target.UserMu, 0.0042);
    EXPECT_EQ(target.UserKo, 0.00045);
    EXPECT_EQ(target.LiquidSpec, 0);
    EXPECT_EQ(target.WaterAdditive, 2);
    EXPECT_EQ(target.AdditiveVolume, 0.35);
    // Evaluated after reading: the user values are in force.
    EXPECT_EQ(target.ro, 1040);
    EXPECT_EQ(target.mu, 0.0042);
    EXPECT_DOUBLE_EQ(target.Pr, 3.8 * 0.0042 / 0.00045);

    // Without user values the mixture is evaluated from the read fields.
    source.UserProps = false;
    source.Evaluate();
    source.WriteToXml(io, doc.child("root"));
    target.ReadFromXml(io, doc.child("root"));
    EXPECT_FALSE(target.UserProps);
    EXPECT_EQ(target.ValidTMin, -30);
    EXPECT_EQ(target.ro, source.ro);
    EXPECT_EQ(target.mu, source.mu);
    EXPECT_EQ(target.GetCaption(), "Water (35% Propylene Glycol)");
}

TEST(FluidXml, RewritingReusesElementsAndKeepsOthers) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        "<root><liquid><t>1.000</t><Note>keep me</Note></liquid><liquid><t>2</t></liquid></root>"));
    XmlNodeIO io;
    TLiquid f("Water", 0, 0, 20, 20);
    f.WriteToXml(io, doc.child("root"));
    f.WriteToXml(io, doc.child("root"));
    pugi::xml_node liquid = doc.child("root").child("liquid");
    EXPECT_STREQ(liquid.child_value("t"), "20.000");
    EXPECT_STREQ(liquid.child_value("Note"), "keep me");
    const std::vector<std::string> names = ChildNames(liquid);
    ASSERT_EQ(names.size(), 19u); // 18 values plus the foreign element, no duplicates
    EXPECT_EQ(names[0], "t");
    EXPECT_EQ(names[1], "Note");
    EXPECT_EQ(names[2], "Caption");
    // The second liquid element is not touched.
    EXPECT_STREQ(liquid.next_sibling("liquid").child_value("t"), "2");
}

TEST(FluidXml, UserPropsSpellings) {
    struct Case {
        const char* text;
        bool value;
        int status;
    };
    const std::vector<Case> cases = {
        {"true", true, 0}, {"T", true, 0},     {"Yes", true, 0},  {"TRUE", true, 0},
        {"yes", true, 0},  {"t", true, 0},     {"false", false, 0}, {"F", false, 0},
        {"No", false, 0},  {"nO", false, 0},   {"FALSE", false, 0},
        {"maybe", false, 3}, {"1", false, 3}, {"", false, 3},
    };
    for (const Case& c : cases) {
        pugi::xml_document doc;
        pugi::xml_node liquid = doc.append_child("root").append_child("liquid");
        liquid.append_child("UserProps").text().set(c.text);
        XmlNodeIO io;
        bool value = !c.value;
        io.ReadBoolean(liquid, "UserProps", value);
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(io.ReadStatus, c.status) << '"' << c.text << '"';
    }
}

TEST(FluidXml, UnreadableUserPropsFallsBackToFalseOtherFieldsStay) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        "<root><liquid><t>abc</t><m>2</m><UserRo>1e999</UserRo><LiquidSpec>300</LiquidSpec>"
        "<WaterAdditive>-1</WaterAdditive></liquid></root>"));
    TLiquid f("Water", 3, 0, 20, 20);
    f.UserProps = true;
    f.UserRo = 1200;
    XmlNodeIO io;
    f.ReadFromXml(io, doc.child("root"));
    EXPECT_EQ(f.t, 20);            // "abc" does not convert
    EXPECT_EQ(f.m, 2);
    EXPECT_EQ(f.UserRo, 1200);     // an overflowing number does not convert
    EXPECT_FALSE(f.UserProps);     // missing: falls back to false
    EXPECT_EQ(f.LiquidSpec, 3);    // 300 does not fit a liquid code
    EXPECT_EQ(f.WaterAdditive, 0);
    EXPECT_EQ(f.Caption, "Water"); // missing element
    EXPECT_EQ(f.GetCaption(), "Glycerin");
}

TEST(FluidXml, EvaluationFailureAfterReadingKeepsValuesAndProperties) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        "<root><liquid><t>-50</t><LiquidSpec>12</LiquidSpec></liquid></root>"));
    TLiquid f("Water", 0, 0, 20, 20);
    const double ro = f.ro, mu = f.mu;
    XmlNodeIO io;
    EXPECT_THROW(f.ReadFromXml(io, doc.child("root")), MathError);
    EXPECT_EQ(f.t, -50);
    EXPECT_EQ(f.LiquidSpec, 12);
    EXPECT_EQ(f.ro, ro);
    EXPECT_EQ(f.mu, mu);
}

TEST(FluidXml, MissingLiquidElementChangesNothing) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<root><Caption>Other</Caption><t>50</t></root>"));
    TLiquid f("Water", 0, 0, 20, 20);
    f.UserProps = true;
    f.ro = 1; // would be replaced by an evaluation
    XmlNodeIO io;
    f.ReadFromXml(io, doc.child("root"));
    EXPECT_EQ(f.Caption, "Water");
    EXPECT_EQ(f.t, 20);
    EXPECT_TRUE(f.UserProps);
    EXPECT_EQ(f.ro, 1);

    // The element passed in is never itself the liquid.
    ASSERT_TRUE(doc.load_string("<liquid><Caption>Other</Caption><t>50</t></liquid>"));
    f.ReadFromXml(io, doc.child("liquid"));
    EXPECT_EQ(f.Caption, "Water");
    EXPECT_EQ(f.ro, 1);
}

TEST(FluidXml, StatusCodes) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<liquid><t>12.5</t><bad>x1</bad></liquid>"));
    pugi::xml_node liquid = doc.child("liquid");
    XmlNodeIO io;
    double value = 7;

    EXPECT_TRUE(io.ReadFloat(liquid, "t", value));
    EXPECT_EQ(io.ReadStatus, XmlNodeIO::rsRead);
    EXPECT_EQ(value, 12.5);

    EXPECT_FALSE(io.ReadFloat(liquid, "missing", value));
    EXPECT_EQ(io.ReadStatus, XmlNodeIO::rsMissing);
    EXPECT_FALSE(io.ReadFloat(liquid, "bad", value));
    EXPECT_EQ(io.ReadStatus, XmlNodeIO::rsNotConvertible);
    EXPECT_FALSE(io.ReadFloat(pugi::xml_node(), "t", value));
    EXPECT_EQ(io.ReadStatus, XmlNodeIO::rsNoParent);
    EXPECT_EQ(value, 12.5);
    // Each read sets the status afresh.
    EXPECT_TRUE(io.ReadFloat(liquid, "t", value));
    EXPECT_EQ(io.ReadStatus, XmlNodeIO::rsRead);

    std::int64_t code = 4;
    EXPECT_FALSE(io.ReadInteger(liquid, "t", code, 0, 255));
    EXPECT_EQ(io.ReadStatus, XmlNodeIO::rsNotConvertible);
    EXPECT_EQ(code, 4);

    EXPECT_FALSE(io.WriteFloat(pugi::xml_node(), "t", "%0.3f", 1.0));
    EXPECT_EQ(io.WriteStatus, XmlNodeIO::wsNoParent);
    EXPECT_TRUE(io.WriteFloat(liquid, "t", "%0.3f", 1.0));
    EXPECT_EQ(io.WriteStatus, XmlNodeIO::wsWritten);
    EXPECT_STREQ(liquid.child_value("t"), "1.000");

    // A liquid written under no parent reports it and writes nothing.
    TLiquid f("Water", 0, 0, 20, 20);
    f.WriteToXml(io, pugi::xml_node());
    EXPECT_EQ(io.WriteStatus, XmlNodeIO::wsNoParent);
}

TEST(FluidXml, CodeOutsideTheNameTablesWritesAnEmptyCaption) {
    TLiquid f("Water", 0, 0, 20, 20);
    f.LiquidSpec = 40;
    f.WaterAdditive = 9;
    pugi::xml_document doc;
    XmlNodeIO io;
    f.WriteToXml(io, doc.append_child("root"));
    pugi::xml_node liquid = doc.child("root").child("liquid");
    EXPECT_STREQ(liquid.child_value("LiquidSpec"), "40");
    EXPECT_STREQ(liquid.child("LiquidSpec").attribute("caption").value(), "");
    EXPECT_STREQ(liquid.child("WaterAdditive").attribute("caption").value(), "");
}

} // namespace
} // namespace dvx
