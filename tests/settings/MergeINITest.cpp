// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings/IniFiles.h"
#include "storage/settings/InstallDataConfirm.h"
#include "storage/settings/MergeINI.h"
#include "settings/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dvx {
namespace {

namespace fs = std::filesystem;
using test::Exists;
using test::ReadText;
using test::TempFolder;
using test::WriteText;

// A user folder, an install folder and a configuration listing files in them,
// with a scripted dialog that records what it was shown.
class MergeTest : public ::testing::Test {
protected:
    void SetUp() override {
        userFolder = dir / "user/";
        installFolder = dir / "install/";
        fs::create_directories(userFolder);
        fs::create_directories(installFolder);
    }

    // Lists the files; the user folder stands for the data folder of the
    // account that runs the merge.
    void Configure(const std::vector<std::string>& files) {
        std::string text = "[Data files]\n";
        for (const std::string& f : files) text += f + "=%DATAFOLDER%, " + installFolder + ", 1\n";
        WriteText(dir / "prog.ini", text);
    }

    // The install copy is newer than the user file unless told otherwise.
    void User(const std::string& name, const std::string& text) {
        WriteText(userFolder + name, text);
        fs::last_write_time(userFolder + name, fs::file_time_type::clock::now() - std::chrono::hours(2));
    }
    void Install(const std::string& name, const std::string& text) { WriteText(installFolder + name, text); }

    std::vector<std::string> Run() {
        created = 0;
        return RunInstallDataMerge(dir / "prog.ini", userFolder, "", [this] {
            ++created;
            return std::make_unique<TCallbackConfirm>([this](const TConfirmChange& change) {
                shown.push_back(change);
                int answer = answers.empty() ? crKeepUser : answers.front();
                if (!answers.empty()) answers.erase(answers.begin());
                return answer;
            });
        });
    }

    TempFolder dir;
    std::string userFolder, installFolder;
    std::vector<int> answers;
    std::vector<TConfirmChange> shown;
    int created = 0;
};

TEST_F(MergeTest, EqualModificationTimesLeaveTheUserFileUnread) {
    Configure({"SteelPipe.ini"});
    User("SteelPipe.ini", "[750]\nID=0.7\n");
    Install("SteelPipe.ini", "[750]\nID=0.9\n[new]\nx=1\n");
    fs::last_write_time(installFolder + "SteelPipe.ini", fs::last_write_time(userFolder + "SteelPipe.ini"));
    EXPECT_TRUE(Run().empty());
    EXPECT_TRUE(Exists(installFolder + "SteelPipe.ini"));
    EXPECT_EQ(ReadText(userFolder + "SteelPipe.ini"), "[750]\nID=0.7\n");
    EXPECT_EQ(created, 0);
    EXPECT_FALSE(Exists(userFolder + "SteelPipe.bak"));
}

TEST_F(MergeTest, SectionsThatAreEqualForTheMergeAskNothing) {
    // A new section is added silently; a user-only key and a case-only
    // difference do not make a section differ.
    Configure({"PipeFittings.ini"});
    User("PipeFittings.ini", "; mine\n[Gate Valve]\nC=12\nMyNote=keep me\n[Reducer]\nName=Taper\n");
    Install("PipeFittings.ini", "[Gate Valve]\nC=12\n[reducer]\nname=TAPER\n[VibroFlex]\nC=8\nPrice=1.00,\n");
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(created, 0);
    EXPECT_TRUE(Exists(installFolder + "PipeFittings.ini"));
    EXPECT_EQ(ReadText(userFolder + "PipeFittings.ini"),
              "; mine\n[Gate Valve]\nC=12\nMyNote=keep me\n[Reducer]\nName=Taper\n\n[VibroFlex]\nC=8\nPrice=1.00,\n");
}

TEST_F(MergeTest, DecideLaterOnTheSecondOfThreeDifferingSections) {
    Configure({"SteelPipe.ini"});
    User("SteelPipe.ini", "[750]\nID=1\n[600]\nID=2\n[500]\nID=3\n");
    Install("SteelPipe.ini", "[750]\nID=10\n[600]\nID=20\n[500]\nID=30\n");
    answers = {crUseInstall, crDecideLater};
    Run();
    ASSERT_EQ(shown.size(), 2u); // the third section is not looked at
    EXPECT_EQ(shown[0].Caption, "Install notice: SteelPipe.ini");
    EXPECT_EQ(shown[0].UserLines, (std::vector<std::string>{"[750]", "ID=1"}));
    EXPECT_EQ(shown[0].InstallLines, (std::vector<std::string>{"[750]", "ID=10"}));
    TIniFile user(userFolder + "SteelPipe.ini");
    EXPECT_EQ(user.ReadString("750", "ID", ""), "10");
    EXPECT_EQ(user.ReadString("600", "ID", ""), "2");
    EXPECT_EQ(user.ReadString("500", "ID", ""), "3");
    EXPECT_TRUE(Exists(installFolder + "SteelPipe.ini")); // offered again next start

    // Next start: "Keep your data" for the two left; that answers this
    // version, so the start after asks nothing.
    answers = {crKeepUser, crKeepUser};
    shown.clear();
    Run();
    EXPECT_EQ(shown.size(), 2u); // 750 is equal now
    EXPECT_EQ(user.ReadString("600", "ID", ""), "2");
    shown.clear();
    Run();
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(Exists(installFolder + "SteelPipe.ini"));
}

TEST_F(MergeTest, AcceptAllReplacesEveryLaterDifferingSectionWithoutAsking) {
    Configure({"SteelPipe.ini"});
    User("SteelPipe.ini", "[750]\nID=1\nOnlyMine=x\n[600]\nID=2\n[500]\nID=3\n");
    Install("SteelPipe.ini", "[750]\nID=10\n[600]\nID=2\n[500]\nID=30\n");
    answers = {crAcceptAll};
    Run();
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(created, 1);
    // Replacing a section drops the user's own keys in it.
    EXPECT_EQ(ReadText(userFolder + "SteelPipe.ini"), "[750]\nID=10\n[600]\nID=2\n[500]\nID=30\n");
    EXPECT_TRUE(Exists(installFolder + "SteelPipe.ini"));
}

TEST_F(MergeTest, NewFilesAreCopiedAndBackupsAreMadeOnlyBeforeAChange) {
    Configure({"SteelPipe.ini", "GalvIronPipe.ini", "DrawnTubePipe.ini", "NotAnywhere.ini"});
    fs::remove_all(userFolder); // a user folder that does not exist yet
    Install("GalvIronPipe.ini", "[750]\nListPrice=-1\n"); // only the install has it
    auto installTime = fs::last_write_time(installFolder + "GalvIronPipe.ini");

    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(ReadText(userFolder + "GalvIronPipe.ini"), "[750]\nListPrice=-1\n");
    EXPECT_EQ(fs::last_write_time(userFolder + "GalvIronPipe.ini"), installTime);
    EXPECT_FALSE(Exists(userFolder + "NotAnywhere.ini"));

    // A user file without an install copy, and one whose install copy has
    // the same sections but another time: neither changes, neither is
    // backed up.
    User("SteelPipe.ini", "[750]\nListPrice=12\n");
    User("DrawnTubePipe.ini", "[15]\nID=0.0136\n");
    Install("DrawnTubePipe.ini", "[15]\nID=0.0136\n");
    EXPECT_TRUE(Run().empty());
    for (const char* backup : {"SteelPipe.bak", "GalvIronPipe.bak", "DrawnTubePipe.bak"})
        EXPECT_FALSE(Exists(userFolder + backup)) << backup;

    // A new shipped version that changes the file: the backup holds the
    // user's file as it was before the merge.
    User("DrawnTubePipe.ini", "[15]\nID=0.0136\nListPrice=3\n");
    Install("DrawnTubePipe.ini", "[15]\nID=0.0136\n[20]\nID=0.0189\n");
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(ReadText(userFolder + "DrawnTubePipe.bak"), "[15]\nID=0.0136\nListPrice=3\n");
    EXPECT_EQ(ReadText(userFolder + "DrawnTubePipe.ini"), "[15]\nID=0.0136\nListPrice=3\n\n[20]\nID=0.0189\n");
}

TEST_F(MergeTest, EveryAccountMergesEachShippedVersionOnceAndTheShippedCopyStays) {
    Configure({"SteelPipe.ini"});
    Install("SteelPipe.ini", "[750]\nID=0.7\n");
    const std::string firstHome = userFolder;
    const std::string secondHome = dir / "second/";

    // Two accounts one after the other each get the shipped file.
    for (const std::string& home : {firstHome, secondHome}) {
        userFolder = home;
        EXPECT_TRUE(Run().empty());
        EXPECT_EQ(ReadText(home + "SteelPipe.ini"), "[750]\nID=0.7\n") << home;
        EXPECT_TRUE(Exists(installFolder + "SteelPipe.ini"));
    }

    // The first account edits its file; the same shipped version is not
    // offered again, whatever its time.
    userFolder = firstHome;
    User("SteelPipe.ini", "[750]\nID=0.75\n");
    fs::last_write_time(installFolder + "SteelPipe.ini", fs::file_time_type::clock::now());
    Run();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(ReadText(firstHome + "SteelPipe.ini"), "[750]\nID=0.75\n");

    // A newer shipped version is offered to each account once.
    Install("SteelPipe.ini", "[750]\nID=0.8\n");
    for (const std::string& home : {firstHome, secondHome}) {
        userFolder = home;
        fs::last_write_time(home + "SteelPipe.ini", fs::file_time_type::clock::now() - std::chrono::hours(2));
        answers = {crUseInstall};
        shown.clear();
        Run();
        EXPECT_EQ(shown.size(), 1u) << home;
        EXPECT_EQ(ReadText(home + "SteelPipe.ini"), "[750]\nID=0.8\n") << home;
        shown.clear();
        Run();
        EXPECT_TRUE(shown.empty()) << home;
    }
}

TEST_F(MergeTest, AReadOnlyInstallFolderIsOnlyRead) {
    Configure({"SteelPipe.ini", "PipeFittings.ini"});
    Install("SteelPipe.ini", "[750]\nID=0.7\n");
    Install("PipeFittings.ini", "[Gate Valve]\nC=8\n[Tee]\nC=20\n");
    User("PipeFittings.ini", "[Gate Valve]\nC=8\n");
    const auto stamp = [&](const char* name) { return fs::last_write_time(installFolder + name); };
    const auto steelTime = stamp("SteelPipe.ini");
    const auto fittingsTime = stamp("PipeFittings.ini");
    fs::permissions(installFolder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

    const std::vector<std::string> messages = Run();
    fs::permissions(installFolder, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ReadText(userFolder + "SteelPipe.ini"), "[750]\nID=0.7\n");
    EXPECT_EQ(ReadText(userFolder + "PipeFittings.ini"), "[Gate Valve]\nC=8\n\n[Tee]\nC=20\n");
    EXPECT_EQ(ReadText(installFolder + "SteelPipe.ini"), "[750]\nID=0.7\n");
    EXPECT_EQ(ReadText(installFolder + "PipeFittings.ini"), "[Gate Valve]\nC=8\n[Tee]\nC=20\n");
    EXPECT_EQ(stamp("SteelPipe.ini"), steelTime);
    EXPECT_EQ(stamp("PipeFittings.ini"), fittingsTime);
    EXPECT_EQ(std::distance(fs::directory_iterator(installFolder), fs::directory_iterator()), 2);
}

TEST_F(MergeTest, FilesAreProcessedFromTheLastEntryToTheFirstEachWithFreshFlags) {
    Configure({"A.ini", "B.ini"});
    for (const char* name : {"A.ini", "B.ini"}) {
        User(name, "[S]\nk=1\n[T]\nk=1\n");
        Install(name, "[S]\nk=2\n[T]\nk=2\n");
    }
    answers = {crDecideLater, crKeepUser, crUseInstall};
    Run();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].Caption, "Install notice: B.ini");
    EXPECT_EQ(shown[1].Caption, "Install notice: A.ini");
    EXPECT_EQ(created, 2); // one dialog per file
    EXPECT_EQ(ReadText(userFolder + "A.ini"), "[S]\nk=1\n[T]\nk=2\n");

    // B was left for later and is offered again; A was answered.
    answers = {crKeepUser, crKeepUser};
    shown.clear();
    Run();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].Caption, "Install notice: B.ini");
    EXPECT_EQ(shown[1].Caption, "Install notice: B.ini");
}

TEST(MergeConfigurationTest, FolderItemsAndPlaceholders) {
    TempFolder dir;
    WriteText(dir / "prog.ini",
              "[Data files]\n"
              "SteelPipe.ini=%DATAFOLDER%,   %PROGRAMFOLDER%install-data/,1\n"
              "Short.ini=/only/user/\n"
              "Other.ini = /u/ , /i/ , spare\n");
    TIniFileMerger merger(DecideLaterAlways());
    merger.ReadConfiguration(dir / "prog.ini", "/data/Common Files/", "/opt/bin/");
    EXPECT_EQ(merger.UserFiles(), (std::vector<std::string>{"/data/Common Files/SteelPipe.ini", "/u/Other.ini"}));
    EXPECT_EQ(merger.InstallFiles(),
              (std::vector<std::string>{"/opt/bin/install-data/SteelPipe.ini", "/i/Other.ini"}));
    EXPECT_EQ(merger.SpareItems(), (std::vector<std::string>{"1", "spare"}));

    TIniFileMerger none(DecideLaterAlways());
    none.ReadConfiguration(dir / "missing.ini", "/d/", "/p/");
    EXPECT_TRUE(none.UserFiles().empty());
}

TEST(InstallNoticeKeys, DifferingKeysInShippedOrderThenTheUsersOwn) {
    TConfirmChange change;
    change.UserLines = {"[100]", "ID=0.1023", "ListPrice=12", "Mine=1", "Same=ABC"};
    change.InstallLines = {"[100]", "ID=0.1022", "New=5", "same=abc", "listprice=12"};
    EXPECT_EQ(SectionOf(change), "100");
    const auto keys = DifferingKeys(change);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].Key, "ID");
    EXPECT_EQ(keys[0].Yours, "0.1023");
    EXPECT_EQ(keys[0].Shipped, "0.1022");
    EXPECT_EQ(keys[1].Key, "New");
    EXPECT_FALSE(keys[1].InYours);
    EXPECT_EQ(keys[2].Key, "Mine"); // lost when the section is replaced
    EXPECT_FALSE(keys[2].InShipped);
}

} // namespace
} // namespace dvx
