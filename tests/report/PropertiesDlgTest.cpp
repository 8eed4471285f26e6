// SPDX-License-Identifier: GPL-3.0-or-later
// Project details without the dialog: the stored defaults, the name and
// number put in when empty, comments as lines and the facts of a file.

#include "presentation/report/ProjectDetails.h"

#include "storage/settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace dvx {
namespace {

namespace fs = std::filesystem;

class PropertiesDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("dvx_details_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder / "locked.dvx", fs::perms::owner_all, ec);
        fs::remove_all(folder, ec);
    }
    std::string WriteFile(const std::string& name, std::size_t bytes) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
        return path.string();
    }

    fs::path folder;
};

TEST_F(PropertiesDlgTest, DefaultsComeFromTheStoreOrThePlatform) {
    SettingsStore store((folder / "s.ini").string());
    TDetailsDefaults d = ReadDetailsDefaults(store, "Ada Owner", "");
    EXPECT_EQ(d.Name, "");
    EXPECT_EQ(d.Number, "");
    EXPECT_EQ(d.Author, "Ada Owner");
    EXPECT_EQ(d.Company, "");

    WriteDetailsDefaults(store, {"Plant room", "042", "Bo Author", "Quell\nOther=1"});
    EXPECT_EQ(store.ReadString("File Properties", "Author", ""), "Bo Author");
    EXPECT_EQ(store.ReadString("File Properties", "Number", ""), "042");
    d = ReadDetailsDefaults(store, "Ada Owner", "Org");
    EXPECT_EQ(d.Name, "Plant room");
    EXPECT_EQ(d.Author, "Bo Author");
    // A line break cannot slip a key of its own into the store.
    EXPECT_EQ(d.Company, "Quell");
    EXPECT_FALSE(store.ValueExists("File Properties", "Other"));
}

TEST_F(PropertiesDlgTest, NameAndNumberDefaults) {
    EXPECT_EQ(ProjectNameOrDefault(""), "Project");
    EXPECT_EQ(ProjectNumberOrDefault(""), "001");
    EXPECT_EQ(ProjectNameOrDefault("Boiler house"), "Boiler house");
    EXPECT_EQ(ProjectNumberOrDefault("7"), "7");
}

TEST_F(PropertiesDlgTest, CommentsAsLines) {
    EXPECT_TRUE(CommentLines("").empty());
    EXPECT_EQ(CommentLines("one\ntwo"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(CommentLines("a\r\nb\rc\n"), (std::vector<std::string>{"a", "b", "c", ""}));
    EXPECT_EQ(CommentLines("\n"), (std::vector<std::string>{"", ""}));
    const std::vector<std::string> lines = {"first", "", "third"};
    EXPECT_EQ(CommentLines(CommentText(lines)), lines);
    EXPECT_EQ(CommentText({}), "");
}

TEST_F(PropertiesDlgTest, FileSizeText) {
    EXPECT_EQ(FileSizeText(3072), "3.00 KB (3072 bytes)");
    EXPECT_EQ(FileSizeText(0), "0.00 KB (0 bytes)");
    EXPECT_EQ(FileSizeText(1536), "1.50 KB (1536 bytes)");
    EXPECT_EQ(FileSizeText(5000000000ULL), "4882812.50 KB (5000000000 bytes)");
}

TEST_F(PropertiesDlgTest, FileFacts) {
    const std::string path = WriteFile("plant.dvx", 3072);
    const auto facts = ReadFileFacts(path);
    ASSERT_TRUE(facts.has_value());
    EXPECT_EQ(facts->Name, "plant.dvx");
    EXPECT_EQ(fs::path(facts->Folder), fs::absolute(folder));
    EXPECT_EQ(facts->Size, 3072u);
    EXPECT_FALSE(facts->ReadOnly);
    EXPECT_FALSE(facts->Hidden);
    EXPECT_FALSE(facts->Archive);
    EXPECT_FALSE(facts->System);

    const std::string hidden = WriteFile(".draft.dvx", 10);
    EXPECT_TRUE(ReadFileFacts(hidden)->Hidden);
    const std::string locked = WriteFile("locked.dvx", 10);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(ReadFileFacts(locked)->ReadOnly);

    EXPECT_FALSE(ReadFileFacts("").has_value());
    EXPECT_FALSE(ReadFileFacts((folder / "missing.dvx").string()).has_value());
    EXPECT_FALSE(ReadFileFacts(folder.string()).has_value()); // a folder is not a project file
}

} // namespace
} // namespace dvx
