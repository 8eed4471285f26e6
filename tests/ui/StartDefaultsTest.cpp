// SPDX-License-Identifier: GPL-3.0-or-later
// The core start-up puts the user's defaults, limits and default flows in
// force after the catalogue files, as the program and darvenix-cli see them.

#include "engine/catalogue/Tables.h"
#include "ui/TestProject.h"
#include "storage/settings/IniFiles.h"
#include "storage/settings/SettingsStore.h"
#include "storage/startup/Startup.h"
#include "settings/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(StartDefaultsTest, SettingsOverrideTheCatalogueAndStartValues) {
    dvx::test::TestProject().Tables.RestoreBuiltIn();
    test::TempFolder dir;
    const std::string programFolder = dir / "Quellstrand/Darvenix/";
    const std::string dataFolder = dir / "Quellstrand/Common Files/";
    std::filesystem::create_directories(programFolder);
    // The steel pipe file gives another maximum flow for the 65 mm bore.
    test::WriteText(dataFolder + "SteelPipe.ini", "[65]\nmf=99\nID=0.0627\n");
    TStartOptions options;
    options.ProgramName = "darvenix";
    options.ProgramFolder = programFolder;
    options.SettingsFile = dir / "config/darvenix.ini";
    {
        SettingsStore store(options.SettingsFile);
        store.WriteString("Settings", "MaxFlows",
                          "1250, 780, 540, 430, 340, 260, 210, 150, 100, 55, 38, 25, 14, 7.456, 4.8, 2.5, 1.6, 0.8, "
                          "0.5, 0.25");
        store.WriteString("Default", "Water Flow", "3");
        store.WriteString("Default", "Pipe Diameter", "35");
        store.WriteString("Limits", "PRate", "high");
        store.WriteString("Limits", "VMax", "3.9");
    }

    const TStartResult start = StartCore(options, dvx::test::TestProject());
    EXPECT_EQ(dvx::test::TestProject().Tables.BoreTable[13].ID, 0.0627);
    EXPECT_EQ(dvx::test::TestProject().Tables.BoreTable[13].mf, 7.46);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultFlow, 3);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultBore, 35);
    EXPECT_EQ(dvx::test::TestProject().Tables.DefaultFittingType, 0); // missing: the stored default, not the start value
    // "PRate" does not convert: reported, and "VMax" after it is not read.
    EXPECT_EQ(dvx::test::TestProject().Tables.GradientLimit, 1500);
    EXPECT_EQ(dvx::test::TestProject().Tables.VelocityLimit, 3.5);
    ASSERT_FALSE(start.Messages.empty());
    EXPECT_EQ(start.Messages.back(), "'high' is not a valid floating point value");
    dvx::test::TestProject().Tables.RestoreBuiltIn();
}

} // namespace
} // namespace dvx
