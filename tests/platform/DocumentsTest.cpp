// SPDX-License-Identifier: GPL-3.0-or-later
// The help page and the manual: beside the program in a build tree, in
// share/darvenix/ of an installation (never share/doc/, which a system may
// leave out).

#include "base/platform/Documents.h"

#include "settings/TempFolder.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(Documents, InstalledFolderIsTwoLevelsAboveTheProgramFolder) {
    EXPECT_EQ(InstalledDocFolderFor("/usr/lib/darvenix/"), "/usr/share/darvenix/");
    EXPECT_EQ(InstalledDocFolderFor("/home/ann/.local/lib/darvenix/"),
              "/home/ann/.local/share/darvenix/");
    EXPECT_EQ(InstalledDocFolderFor("/opt/x/lib/darvenix"), "/opt/x/share/darvenix/");
}

TEST(Documents, ProgramFolderFirstThenInstalledFolderElseTheProgramFolderPath) {
    test::TempFolder prefix;
    const std::string program = prefix / "lib/darvenix/";
    const std::string doc = prefix / "share/darvenix/";
    std::filesystem::create_directories(program);

    // Neither: the message names the program folder's path.
    EXPECT_EQ(DocumentPathFor(program, "Help/Darvenix.htm"), program + "Help/Darvenix.htm");

    test::WriteText(doc + "Help/Darvenix.htm", "installed");
    test::WriteText(doc + "Manual/Manual.htm", "installed");
    EXPECT_EQ(DocumentPathFor(program, "Help/Darvenix.htm"), doc + "Help/Darvenix.htm");
    EXPECT_EQ(DocumentPathFor(program, "Manual/Manual.htm"), doc + "Manual/Manual.htm");

    // A page beside the program (a build tree) comes first.
    test::WriteText(program + "Help/Darvenix.htm", "beside");
    EXPECT_EQ(DocumentPathFor(program, "Help/Darvenix.htm"), program + "Help/Darvenix.htm");
    EXPECT_EQ(DocumentPathFor(program, "Manual/Manual.htm"), doc + "Manual/Manual.htm");

    // A folder of the page's name is not the page.
    std::filesystem::create_directories(program + "Manual/Manual.htm");
    EXPECT_EQ(DocumentPathFor(program, "Manual/Manual.htm"), doc + "Manual/Manual.htm");
}

} // namespace
} // namespace dvx
