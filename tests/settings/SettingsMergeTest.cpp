// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store as several programs and the user's tools meet it: two
// writers at once, a settings file kept as a link, a file changed behind the
// store's back.

#include "platform/ChildProcess.h"
#include "storage/settings/IniFiles.h"
#include "storage/settings/SettingsStore.h"
#include "settings/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace dvx {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempFolder;
using test::WriteText;

// Two processes each write their own key 200 times at the same moment: at
// the end both keys hold their last values and the comment written by hand
// survives. Without the lock and the merge, one process's whole-file
// rewrite drops the other's key.
TEST(SettingsMerge, TwoWritersAtOnceLoseNothing) {
    TempFolder dir;
    const std::string path = dir / "Quellstrand/darvenix.ini";
    WriteText(path, "; written by hand\n[Window]\nLeft=1\n");
    std::vector<pid_t> children;
    for (const char* key : {"First", "Second"}) {
        pid_t pid = ::fork();
        if (pid == 0) {
            int status = 0;
            try {
                SettingsStore store(path);
                for (int i = 1; i <= 200; ++i) store.WriteInteger("Race", key, i);
            } catch (...) {
                status = 1;
            }
            ::_exit(status);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    SettingsStore store(path);
    EXPECT_EQ(store.ReadInteger("Race", "First", 0), 200);
    EXPECT_EQ(store.ReadInteger("Race", "Second", 0), 200);
    EXPECT_EQ(store.ReadInteger("Window", "Left", 0), 1);
    EXPECT_EQ(ReadText(path).rfind("; written by hand\n[Window]\nLeft=1\n", 0), 0u);
}

// A write applies only its own keys to the file as it is now: what another
// program wrote since this store last read is kept.
TEST(SettingsMerge, AWriteKeepsKeysWrittenMeanwhile) {
    TempFolder dir;
    const std::string path = dir / "s.ini";
    SettingsStore mine(path);
    mine.WriteString("A", "Mine", "1");
    EXPECT_EQ(mine.ReadString("A", "Mine", ""), "1"); // the store has read the file
    SettingsStore(path).WriteString("A", "Theirs", "2");
    mine.WriteString("A", "Mine", "3");
    EXPECT_EQ(ReadText(path), "[A]\nMine=3\nTheirs=2\n");
    // A change on disk is seen by the next read, also one that keeps the
    // file's size and identity (rewritten in place).
    WriteText(path, "[A]\nMine=edited by hand\n");
    EXPECT_EQ(mine.ReadString("A", "Mine", ""), "edited by hand");
    WriteText(path, "[A]\nMine=edited by foot\n");
    EXPECT_EQ(mine.ReadString("A", "Mine", ""), "edited by foot");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("A", "Mine", ""), "edited by foot");
    WriteText(path, "[A]\nMine=edited by hand\n");
    EXPECT_EQ(ini.ReadString("A", "Mine", ""), "edited by hand");
}

// A settings file kept as a link (as dotfile managers do) stays a link; the
// file it points to receives the change.
TEST(SettingsMerge, ASettingsFileThatIsALinkStaysALink) {
    TempFolder dir;
    WriteText(dir / "dotfiles/darvenix.ini", "[Main]\nKeep=yes\n");
    fs::create_directories(dir / "config");
    fs::create_symlink(dir / "dotfiles/darvenix.ini", dir / "config/darvenix.ini");
    SettingsStore store(dir / "config/darvenix.ini");
    store.WriteString("Main", "Added", "1");
    EXPECT_TRUE(fs::is_symlink(dir / "config/darvenix.ini"));
    EXPECT_EQ(ReadText(dir / "dotfiles/darvenix.ini"), "[Main]\nKeep=yes\nAdded=1\n");
}

// A problem with a value names the file, the key and its line.
TEST(SettingsMerge, WhereNamesFileKeyAndLine) {
    TempFolder dir;
    const std::string path = dir / "s.ini";
    WriteText(path, "[Default]\n; temperature\nWater Temp=1e308\n");
    SettingsStore store(path);
    EXPECT_EQ(store.Where("default", "water temp"), path + " [default] water temp (line 3)");
    EXPECT_EQ(store.Where("Default", "Other"), path + " [Default] Other");
}

} // namespace
} // namespace dvx
