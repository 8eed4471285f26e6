// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/Folders.h"
#include "storage/settings/MRU.h"
#include "storage/settings/Placement.h"
#include "storage/settings/SettingsStore.h"
#include "settings/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace dvx {
namespace {

using test::ReadText;
using test::TempFolder;
using test::WriteText;

TEST(SettingsStoreTest, LivesInTheUserConfigFolderUnderQuellstrand) {
    // The test home points XDG_CONFIG_HOME into a temporary folder.
    EXPECT_EQ(SettingsStore::FileNameFor("Darvenix"),
              std::string(std::getenv("XDG_CONFIG_HOME")) + "/Quellstrand/Darvenix.ini");
    EXPECT_EQ(XdgFolderFor(nullptr, "/home/u", ".config"), "/home/u/.config/");
    EXPECT_EQ(XdgFolderFor("relative/dir", "/home/u/", ".config"), "/home/u/.config/");
    EXPECT_EQ(XdgFolderFor("/xdg/config", "/home/u", ".config"), "/xdg/config/");
}

TEST(SettingsStoreTest, TypedValuesRoundTripAndMissingOnesGiveTheDefault) {
    TempFolder dir;
    SettingsStore store(dir / "sub/folder/Darvenix.ini"); // folders are created on the first write
    EXPECT_EQ(store.ReadString("Tools", "CurrentDir", "/prog/"), "/prog/");
    EXPECT_EQ(store.ReadInteger("MainForm", "Left", 12), 12);
    EXPECT_FALSE(store.ReadBool("Settings", "ActiveGroups", false));
    EXPECT_DOUBLE_EQ(store.ReadFloat("Settings", "LabourRate", 100), 100);

    store.WriteString("Tools", "CurrentDir", "/home/u/Projects/");
    store.WriteInteger("MainForm", "Left", -50);
    store.WriteBool("Settings", "ActiveGroups", true);
    const double rate = 0.1 + 0.2; // needs all 17 digits to come back exactly
    store.WriteFloat("Settings", "LabourRate", rate);

    SettingsStore again(store.FileName());
    EXPECT_EQ(again.ReadString("tools", "currentdir", ""), "/home/u/Projects/");
    EXPECT_EQ(again.ReadInteger("MainForm", "Left", 0), -50);
    EXPECT_TRUE(again.ReadBool("Settings", "ActiveGroups", false));
    EXPECT_EQ(again.ReadFloat("Settings", "LabourRate", 0), rate);
    EXPECT_NE(ReadText(store.FileName()).find("LabourRate=0.30000000000000004"), std::string::npos);

    WriteText(store.FileName(), "[Settings]\nActiveGroups=5\nShowTypes=no\n");
    EXPECT_TRUE(again.Read(settings::ActiveGroups));  // any non-zero integer is true
    EXPECT_TRUE(again.Read(settings::ShowTypes));     // unreadable: the default
}

TEST(SettingsStoreTest, KeysOfTheSettingsTableCarryTheirDefaults) {
    TempFolder dir;
    SettingsStore store(dir / "empty.ini");
    EXPECT_FALSE(store.Read(settings::ActiveGroups));
    EXPECT_TRUE(store.Read(settings::ShowTypes));
    EXPECT_FALSE(store.Read(settings::SplashScreen));
    EXPECT_EQ(store.Read(settings::GridCols), "25, 135, 35, 35, 60, 50, 50, 55, 125");
    EXPECT_DOUBLE_EQ(store.Read(settings::LabourRate), 100);
    EXPECT_EQ(store.Read(settings::MaxFlows),
              "1250, 780, 540, 430, 340, 260, 210, 150, 100, 55, 38, 25, 14, 7.5, 4.8, 2.5, 1.6, 0.8, 0.5, 0.25");
    EXPECT_EQ(store.Read(settings::WaterFlow), "20");
    EXPECT_EQ(store.Read(settings::PRate), "1500.0");
    EXPECT_EQ(store.Read(settings::VMax), "3.5");
    EXPECT_EQ(store.Read(settings::Shed40Steel), "0.046000");
    EXPECT_EQ(store.Read(settings::GalvIron), "0.150000");
    EXPECT_EQ(store.Read(settings::DrawnTubing), "0.001500");
    EXPECT_FALSE(test::Exists(store.FileName())); // reading never creates the store
}

TEST(PlacementTest, StoredPositionsAreClampedToTheScreen) {
    struct Case {
        int left, top;       // stored
        int wantLeft, wantTop;
    } cases[] = {
        {-50, -1, 0, 0},
        {1900, 100, 824, 100},  // beyond 1024 − 100: 1024 − 200
        {924, 668, 924, 668},   // exactly at the limit stays
        {925, 669, 824, 568},
        {10, 20, 10, 20},
    };
    TempFolder dir;
    SettingsStore store(dir / "s.ini");
    for (const Case& c : cases) {
        store.WriteInteger("MainForm", "Left", c.left);
        store.WriteInteger("MainForm", "Top", c.top);
        TWindowPlacement p = RestorePlacement(store, "MainForm", {5, 5, 300, 200, 0}, true, 1024, 768);
        EXPECT_EQ(p.Left, c.wantLeft) << c.left;
        EXPECT_EQ(p.Top, c.wantTop) << c.top;
    }
}

TEST(PlacementTest, RestoresSizeOnlyWhenAskedAndMissingValuesKeepTheCurrentOnes) {
    TempFolder dir;
    SettingsStore store(dir / "s.ini");
    const TWindowPlacement current{5, 6, 300, 200, 0};
    TWindowPlacement p = RestorePlacement(store, "PipeSpecForm", current, false, 1024, 768);
    EXPECT_EQ(p.Left, 5);
    EXPECT_EQ(p.Width, 300);

    SavePlacement(store, "PipeSpecForm", {40, 50, 640, 480, 2});
    p = RestorePlacement(store, "PipeSpecForm", current, false, 1024, 768);
    EXPECT_EQ(p.Left, 40);
    EXPECT_EQ(p.Top, 50);
    EXPECT_EQ(p.Width, 300); // position only
    EXPECT_EQ(p.Height, 200);
    EXPECT_EQ(p.WinState, 2);
    p = RestorePlacement(store, "PipeSpecForm", current, true, 1024, 768);
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.Height, 480);

    store.WriteInteger("PipeSpecForm", "WinState", 9); // no such state
    EXPECT_EQ(RestorePlacement(store, "PipeSpecForm", current, true, 1024, 768).WinState, 0);
}

TEST(RecentFilesTest, SevenOpensLeaveSixEntriesFiveVisible) {
    TempFolder dir;
    SettingsStore store(dir / "s.ini");
    TRecentFiles mru;
    std::string current;
    for (int i = 1; i <= 7; ++i) {
        std::string next = "/Projects/P" + std::to_string(i) + ".dvx";
        mru.SetCurrentFile(current, next);
        current = next;
    }
    mru.Add(current); // the main window closes
    mru.Save(store);
    EXPECT_EQ(mru.Entries(), (std::vector<std::string>{"/Projects/P7.dvx", "/Projects/P6.dvx", "/Projects/P5.dvx",
                                                       "/Projects/P4.dvx", "/Projects/P3.dvx", "/Projects/P2.dvx"}));
    EXPECT_EQ(mru.Visible().size(), 5u);
    EXPECT_EQ(store.ReadString("MRU", "0", ""), "/Projects/P7.dvx");
    EXPECT_EQ(store.ReadString("MRU", "5", ""), "/Projects/P2.dvx");

    TRecentFiles loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded.Entries(), mru.Entries());
}

TEST(RecentFilesTest, PathsKeepTheirCaseAndDifferByIt) {
    // The file system is case-sensitive: an entry must name the file as it
    // is, and two names differing in case are two files.
    TRecentFiles mru;
    mru.Add("/p/A.dvx");
    mru.Add("/p/B.dvx");
    mru.Add("/p/b.dvx");
    EXPECT_EQ(mru.Entries(), (std::vector<std::string>{"/p/b.dvx", "/p/B.dvx", "/p/A.dvx"}));
    // Opening /p/B.dvx: that entry leaves the list, /p/b.dvx stays…
    mru.SetCurrentFile("", "/p/B.dvx");
    EXPECT_EQ(mru.Entries(), (std::vector<std::string>{"/p/b.dvx", "/p/A.dvx"}));
    // …and it comes back at the top, as written, when another project is opened.
    mru.SetCurrentFile("/p/B.dvx", "/p/C.dvx");
    EXPECT_EQ(mru.Entries(), (std::vector<std::string>{"/p/B.dvx", "/p/b.dvx", "/p/A.dvx"}));
}

TEST(RecentFilesTest, RemovingAnEntryShowsTheHiddenSixth) {
    TRecentFiles mru;
    for (const char* p : {"/f", "/e", "/d", "/c", "/b", "/a"}) mru.Add(p);
    EXPECT_EQ(mru.Visible().back(), "/e"); // "/f" is held hidden
    mru.Remove("/c");
    EXPECT_EQ(mru.Visible(), (std::vector<std::string>{"/a", "/b", "/d", "/e", "/f"}));
    mru.Add("");
    EXPECT_EQ(mru.Entries().size(), 5u);
}

TEST(RecentFilesTest, LoadSkipsEmptyKeysAndSaveDropsStaleOnes) {
    TempFolder dir;
    SettingsStore store(dir / "s.ini");
    WriteText(store.FileName(), "[MRU]\n0=/x/one.dvx\n1=\n2=/x/Two.dvx\n5=/x/five.dvx\n");
    TRecentFiles mru;
    mru.Load(store);
    EXPECT_EQ(mru.Entries(), (std::vector<std::string>{"/x/one.dvx", "/x/Two.dvx", "/x/five.dvx"}));
    mru.Remove("/x/five.dvx");
    mru.Save(store);
    TRecentFiles again;
    again.Load(store);
    EXPECT_EQ(again.Entries(), (std::vector<std::string>{"/x/one.dvx", "/x/Two.dvx"}));
}

TEST(FoldersTest, SuiteFolderRules) {
    struct Case {
        const char* programFolder;
        const char* suite;
    } cases[] = {
        {"/d/Apps/Quellstrand/Darvenix/", "/d/Apps/Quellstrand/"},
        {"/d/apps/QUELLSTRAND/bin/", "/d/apps/QUELLSTRAND/"},   // the real spelling is kept
        {"/opt/4qv/darvenix/", "/opt/4qv/"},
        {"/opt/4QV/quellstrand/x/", "/opt/4QV/quellstrand/"},   // QUELLSTRAND is looked for first
        {"/usr/local/bin/", "/home/u/.local/share/Quellstrand/"},
    };
    for (const Case& c : cases) {
        TFolders f = FoldersFor(c.programFolder, "/home/u/.local/share/");
        EXPECT_EQ(f.SuiteFolder, c.suite) << c.programFolder;
        EXPECT_EQ(f.DataFolder, std::string(c.suite) + "Common Files/");
        EXPECT_EQ(f.ProgramFolder, c.programFolder);
    }
}

TEST(FoldersTest, TheRunningProgram) {
    EXPECT_EQ(ProgramFileName(), "test_settings");
    EXPECT_EQ(ProgramFolder(), FolderOf(ProgramFilePath()));
    EXPECT_EQ(ProgramsFolder(), std::string(std::getenv("XDG_DATA_HOME")) + "/");
    EXPECT_EQ(BaseNameOf("/a/b/darvenix.exe"), "darvenix");
    EXPECT_EQ(BaseNameOf("/a/b/.hidden"), ".hidden");
}

} // namespace
} // namespace dvx
