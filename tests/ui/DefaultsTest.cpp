// SPDX-License-Identifier: GPL-3.0-or-later
// Item defaults, warning limits and default flows as they go between the
// settings store and the process-wide values.

#include "engine/catalogue/Tables.h"
#include "ui/TestProject.h"
#include "base/Errors.h"
#include "storage/settings/Defaults.h"
#include "storage/settings/SettingsStore.h"
#include "settings/TempFolder.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

class DefaultsTest : public ::testing::Test {
protected:
    void SetUp() override { dvx::test::TestProject().Tables.RestoreBuiltIn(); }
    void TearDown() override { dvx::test::TestProject().Tables.RestoreBuiltIn(); }
    test::TempFolder dir;
    SettingsStore store{dir / "settings.ini"};
};

TEST_F(DefaultsTest, MissingKeysGiveTheStoredDefaultsNotTheStartValues) {
    LoadItemDefaults(store, dvx::test::TestProject().Tables);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultTemperature, 9);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultBore, 100);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultLength, 10);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultFlow, 20); // the start value is 25
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultFittingType, 0); // the start value is 1
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultQuantity, 1);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultUserDP, 50);
}

TEST_F(DefaultsTest, FloatingValuesKeepTheirFractionWhenStored) {
    dvx::test::TestProject().Tables.DefaultLength = 2.4;
    dvx::test::TestProject().Tables.DefaultFlow = 0.4;
    dvx::test::TestProject().Tables.DefaultTemperature = -5.2;
    dvx::test::TestProject().Tables.DefaultBore = 35;
    dvx::test::TestProject().Tables.DefaultFittingType = 16;
    dvx::test::TestProject().Tables.DefaultQuantity = 3;
    dvx::test::TestProject().Tables.DefaultUserDP = 12.6;
    SaveItemDefaults(store, dvx::test::TestProject().Tables);
    EXPECT_EQ(store.ReadString("Default", "Pipe Length", ""), "2.4");
    EXPECT_EQ(store.ReadString("Default", "Water Flow", ""), "0.4");
    EXPECT_EQ(store.ReadString("Default", "Water Temp", ""), "-5.2");
    EXPECT_EQ(store.ReadString("Default", "Pipe Diameter", ""), "35");
    EXPECT_EQ(store.ReadString("Default", "Fitting", ""), "16");
    EXPECT_EQ(store.ReadString("Default", "User dP", ""), "12.6");
    dvx::test::TestProject().Tables.RestoreBuiltIn();
    LoadItemDefaults(store, dvx::test::TestProject().Tables);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultLength, 2.4);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultFlow, 0.4); // a new item after a restart still has a flow
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultBore, 35);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultFittingType, 16);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultQuantity, 3);
}

TEST_F(DefaultsTest, ConversionStopsAtTheFirstBadTextKeepingEarlierValues) {
    store.WriteString("Default", "Water Temp", "15");
    store.WriteString("Default", "Pipe Diameter", "50");
    store.WriteString("Default", "Pipe Length", "ten");
    store.WriteString("Default", "Water Flow", "3");
    EXPECT_THROW(LoadItemDefaults(store, dvx::test::TestProject().Tables), ConvertError);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultTemperature, 15);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultBore, 50);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultLength, BuiltInDefaultLength);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultFlow, BuiltInDefaultFlow);
    // "Fitting" and "Fitting Quantity" must be integers.
    store.WriteString("Default", "Pipe Length", "10");
    store.WriteString("Default", "Fitting Quantity", "2.5");
    EXPECT_THROW(LoadItemDefaults(store, dvx::test::TestProject().Tables), ConvertError);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultFlow, 3);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultQuantity, BuiltInDefaultQuantity);
}

TEST_F(DefaultsTest, FittingTypeOutsideTheTableFallsBackToTheFirst) {
    for (const char* text : {"24", "-1", "999"}) {
        dvx::test::TestProject().Tables.DefaultFittingType = 5;
        store.WriteString("Default", "Fitting", text);
        LoadItemDefaults(store, dvx::test::TestProject().Tables);
        EXPECT_EQ(dvx::test::TestProject().Tables.DefaultFittingType, 0) << text;
    }
    store.WriteString("Default", "Fitting", "23");
    LoadItemDefaults(store, dvx::test::TestProject().Tables);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultFittingType, 23);
}

TEST_F(DefaultsTest, WarningLimitsReadTheirTextsWithTheLimitsInForceAsDefaults) {
    dvx::test::TestProject().Tables.GradientLimit = 1234.5;
    dvx::test::TestProject().Tables.VelocityLimit = 3.5;
    store.WriteString("Limits", "VMax", "3.8");
    LoadWarningLimits(store, dvx::test::TestProject().Tables);
    EXPECT_EQ(dvx::test::TestProject().Tables.GradientLimit, 1234.5); // missing: unchanged (the text 1234.5)
    EXPECT_EQ(dvx::test::TestProject().Tables.VelocityLimit, 3.8);
    dvx::test::TestProject().Tables.RestoreBuiltIn();
    store.EraseSection("Limits");
    LoadWarningLimits(store, dvx::test::TestProject().Tables);
    EXPECT_EQ(dvx::test::TestProject().Tables.GradientLimit, 1500.0);
    EXPECT_EQ(LimitText(dvx::test::TestProject().Tables.GradientLimit), "1500.0");
    store.WriteString("Limits", "PRate", "2000");
    store.WriteString("Limits", "VMax", "fast");
    EXPECT_THROW(LoadWarningLimits(store, dvx::test::TestProject().Tables), ConvertError);
    EXPECT_EQ(dvx::test::TestProject().Tables.GradientLimit, 2000);
    EXPECT_EQ(dvx::test::TestProject().Tables.VelocityLimit, 3.5);
}

TEST_F(DefaultsTest, MaxFlowsTokens) {
    struct Case {
        const char* text;
        bool ok;
        double first, last;
    };
    const Case cases[] = {
        {"1250, 780, 540, 430, 340, 260, 210, 150, 100, 55, 38, 25, 14, 7.5, 4.8, 2.5, 1.6, 0.8, 0.5, 0.25", true,
         1250, 0.25},
        // Runs of blanks, tabs and commas are one separator; quotes are dropped.
        {"1,,2\t\t3 ,4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 \"20\"", true, 1, 20},
        // Tokens after the 20th are ignored, even when they are not numbers.
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 x", true, 1, 20},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19", false, 0, 0},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 x 16 17 18 19 20", false, 0, 0},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 nan", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const Case& c : cases) {
        auto flows = ParseMaxFlows(c.text);
        ASSERT_EQ(flows.has_value(), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(flows->front(), c.first) << c.text;
        EXPECT_EQ(flows->back(), c.last) << c.text;
    }
    EXPECT_EQ(*ParseMaxFlows("1,,2\t\t3 ,4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 \"20\""),
              (TFlowList{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
}

TEST_F(DefaultsTest, DefaultFlowsReplaceMfRoundedToTwoDecimals) {
    dvx::test::TestProject().Tables.BoreTable[4].mf = 999; // as a catalogue file may have set it
    store.WriteString("Settings", "MaxFlows",
                      "1250, 780, 540, 430, 340, 260, 210, 150, 100, 55, 38, 25, 14, 7.456, 4.8, 2.5, 1.6, 0.8, "
                      "0.5, 0.254");
    LoadDefaultFlows(store, dvx::test::TestProject().Tables);
    EXPECT_EQ(BoreName[13], std::string("65"));
    EXPECT_EQ(dvx::test::TestProject().Tables.BoreTable[13].mf, 7.46);
    EXPECT_EQ(dvx::test::TestProject().Tables.BoreTable[19].mf, 0.25);
    EXPECT_EQ(dvx::test::TestProject().Tables.BoreTable[4].mf, 340);
    // 19 numbers: every flow is the built-in one.
    store.WriteString("Settings", "MaxFlows", "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19");
    LoadDefaultFlows(store, dvx::test::TestProject().Tables);
    for (int b = 0; b < BoreCount; ++b) EXPECT_EQ(dvx::test::TestProject().Tables.BoreTable[static_cast<std::size_t>(b)].mf, BuiltInMaxFlows[static_cast<std::size_t>(b)]);
}

TEST_F(DefaultsTest, MaxFlowsTextJoinsCellTexts) {
    EXPECT_EQ(JoinMaxFlows({"1250.00", "7.456", "0.25"}), "1250.00, 7.456, 0.25");
    EXPECT_EQ(JoinMaxFlows({}), "");
    EXPECT_EQ(FlowText(7.456), "7.46");
}

} // namespace
} // namespace dvx
