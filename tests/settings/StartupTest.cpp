// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/catalogue/Tables.h"
#include "engine/fluid/Refrig.h"
#include "engine/hydraulics/ProjectContext.h"
#include "storage/settings/IniFiles.h"
#include "storage/settings/SettingsStore.h"
#include "storage/startup/Startup.h"
#include "settings/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dvx {
namespace {

namespace fs = std::filesystem;
using test::Exists;
using test::TempFolder;
using test::WriteText;

const std::string kShippedData = std::string(DARVENIX_SOURCE_DIR) + "/data/";
const char* const kFiles[] = {"SteelPipe.ini", "GalvIronPipe.ini", "DrawnTubePipe.ini", "PipeFittings.ini",
                              "RefLib8.rdf"};

// A program installed under a "Quellstrand" folder, so that its data folder
// lies beside it, with the shipped files staged for the merge.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        programFolder = dir / "Quellstrand/Darvenix/";
        dataFolder = dir / "Quellstrand/Common Files/";
        std::string config = "[Data files]\n";
        for (const char* f : kFiles) {
            fs::create_directories(programFolder + "install-data");
            fs::copy_file(kShippedData + f, programFolder + "install-data/" + f);
            config += std::string(f) + "=%DATAFOLDER%, %PROGRAMFOLDER%install-data/, 1\n";
        }
        WriteText(programFolder + "darvenix.ini", config);
        options.ProgramName = "darvenix";
        options.ProgramFolder = programFolder;
        options.SettingsFile = dir / "config/darvenix.ini";
    }

    TempFolder dir;
    std::string programFolder, dataFolder;
    TStartOptions options;
    TProjectState project; // the project the start-up fills
};

TEST_F(StartupTest, FirstStartBringsTheDataFilesInAndLoadsThemSilently) {
    SettingsStore(options.SettingsFile).WriteString("Fittings", "Globe Valve", "300.00");
    SettingsStore(options.SettingsFile).WriteString("Pipe", "GalvIron", "0.2");
    // Whatever liquid the project had, the start-up gives it clean water at
    // the default temperature in force.
    project.Liquid = TLiquid("Glycol", 0, 0.3, 40, 40);
    project.Liquid.WaterAdditive = 1;
    project.Liquid.AdditiveVolume = 0.3;
    project.Tables.DefaultTemperature = 15;

    TStartResult start = StartCore(options, project.Context());
    EXPECT_TRUE(start.Messages.empty()) << start.Messages.front();
    EXPECT_EQ(start.Folders.DataFolder, dataFolder);
    EXPECT_EQ(DataFolder(), dataFolder);
    EXPECT_EQ(AppSettings().FileName(), options.SettingsFile);
    for (const char* f : kFiles) {
        EXPECT_TRUE(Exists(dataFolder + f)) << f;
        EXPECT_TRUE(Exists(programFolder + "install-data/" + f)) << f; // shared by every account
    }
    EXPECT_EQ(project.Liquid.Caption, "Water");
    EXPECT_EQ(project.Liquid.WaterAdditive, 0);
    EXPECT_EQ(project.Liquid.AdditiveVolume, 0);
    EXPECT_EQ(project.Liquid.m, 0);
    EXPECT_EQ(project.Liquid.t, 15);
    EXPECT_EQ(project.ItemCounter, 0); // the start-up numbers no item
    ASSERT_NE(start.Refrigerants, nullptr);
    EXPECT_EQ(start.Refrigerants->LoadedName, "R22");
    EXPECT_EQ(project.Tables.FittingTable[16].C, 300);
    EXPECT_DOUBLE_EQ(project.Tables.MaterialRoughness[pmGalvIron], 0.0002);
    EXPECT_DOUBLE_EQ(project.Tables.CurrentRoughness, 0.000046);
    EXPECT_EQ(project.Tables.BoreTable[11].ID, 0.1023);
}

TEST_F(StartupTest, MessagesOfEveryStepAreCollected) {
    // An edited user file, and an install copy that differs from it.
    fs::create_directories(dataFolder);
    fs::copy_file(kShippedData + std::string("SteelPipe.ini"), dataFolder + "SteelPipe.ini");
    TIniFile(dataFolder + "SteelPipe.ini").WriteString("100", "ID", "0.105");
    fs::last_write_time(dataFolder + "SteelPipe.ini", fs::file_time_type::clock::now() - std::chrono::hours(1));
    fs::remove(programFolder + "install-data/PipeFittings.ini");
    WriteText(programFolder + "install-data/RefLib8.rdf", "[R22]\nvh=1,2\n");
    SettingsStore(options.SettingsFile).WriteString("Pipe", "Shed40Steel", "smooth");
    SettingsStore(options.SettingsFile).WriteString("Fittings", "Reducer", "40");

    std::vector<std::string> asked;
    options.Confirm = ConfirmBy([&](const TConfirmChange& change) {
        asked.push_back(change.UserLines.front());
        return static_cast<int>(crKeepUser);
    });
    TStartResult start = StartCore(options, project.Context());
    EXPECT_EQ(asked, (std::vector<std::string>{"[100]"}));
    EXPECT_EQ(project.Tables.BoreTable[11].ID, 0.105);
    ASSERT_EQ(start.Messages.size(), 3u);
    EXPECT_NE(start.Messages[0].find("Error reading " + dataFolder + "RefLib8.rdf"), std::string::npos);
    EXPECT_EQ(start.Messages[1], "Error reading " + dataFolder + "PipeFittings.ini");
    EXPECT_EQ(start.Messages[2], "'smooth' is not a valid floating point value");
    EXPECT_EQ(project.Tables.FittingTable[2].C, 40); // the steps after a failure still run
}

} // namespace
} // namespace dvx
