// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "base/platform/AtomicWrite.h"
#include "storage/settings/IniFiles.h"
#include "settings/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dvx {
namespace {

using test::ReadText;
using test::TempFolder;
using test::WriteText;

const char* const kSample =
    "; catalogue\n"
    "stray=before any section\n"
    "\n"
    "[  Pipe Data ]\n"
    "  ID  =  0.1023  \n"
    "ff=0.017\n"
    "; a comment = not a key\n"
    "ID=0.5\n"
    "Blank=\n"
    "\n"
    "[Other]\n"
    "Count=0x1F\n"
    "Bad=12abc\n"
    "Flag=2\n"
    "Zero=0\n";

TEST(IniFilesTest, ReadsByTheMatchingAndTrimmingRules) {
    TempFolder dir;
    WriteText(dir / "a.ini", kSample);
    TIniFile ini(dir / "a.ini");
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"pipe data", "id", "0.1023"},     // case and blanks around names ignored; first key wins
        {"  PIPE DATA", " FF ", "0.017"},
        {"Pipe Data", "Blank", ""},        // present but empty
        {"Pipe Data", "; a comment", "def"},
        {"Pipe Data", "Missing", "def"},
        {"Nowhere", "ID", "def"},
        {"Pipe Data", "  ", "def"},        // blank key name
        {"", "stray", "def"},              // lines before the first section are not read
        {"Other", "Count", "0x1F"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "def"), c.expected) << c.section << "/" << c.key;
}

TEST(IniFilesTest, NumbersThatDoNotConvertReadAsTheDefault) {
    TempFolder dir;
    WriteText(dir / "a.ini", kSample);
    TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadInteger("Other", "Count", -1), 31);
    EXPECT_EQ(ini.ReadInteger("Other", "Bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Pipe Data", "Blank", 7), 7);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Pipe Data", "ID", 9), 0.1023);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Other", "Bad", 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Pipe Data", "Blank", 9), 9);
    EXPECT_TRUE(ini.ReadBool("Other", "Flag", false));   // any non-zero is true
    EXPECT_FALSE(ini.ReadBool("Other", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("Other", "Missing", true));
}

TEST(IniFilesTest, ValuesAreReadUpTo2047Characters) {
    TempFolder dir;
    WriteText(dir / "a.ini", "[S]\nLong=" + std::string(3000, 'x') + "\n");
    EXPECT_EQ(TIniFile(dir / "a.ini").ReadString("S", "Long", "").size(), 2047u);
}

TEST(IniFilesTest, ListsSectionsKeysAndLinesInFileOrder) {
    TempFolder dir;
    WriteText(dir / "a.ini", "[B]\nz=1\na = 2\nZ=3\n[A]\nk=v\n[b]\nextra=4\n");
    TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(ini.ReadSection("b"), (std::vector<std::string>{"z", "a", "extra"}));
    EXPECT_EQ(ini.ReadSectionValues("B"), (std::vector<std::string>{"z=1", "a=2", "extra=4"}));
    EXPECT_TRUE(ini.SectionExists("a"));
    EXPECT_FALSE(ini.SectionExists("C"));
    EXPECT_TRUE(ini.ValueExists("B", "A"));
    EXPECT_TRUE(TIniFile(dir / "missing.ini").ReadSections().empty());
}

TEST(IniFilesTest, WritesKeepCommentsBlankLinesAndOrder) {
    TempFolder dir;
    const std::string path = dir / "a.ini";
    WriteText(path,
              "; header comment\n"
              "[First]\n"
              "Key = old\n"
              "; inner comment\n"
              "Other=1\n"
              "\n"
              "; about Second\n"
              "[Second]\n"
              "x=1\n");
    TIniFile ini(path);
    ini.WriteString("first", "KEY", "new value");   // in place, the file's spelling of the key
    ini.WriteString("First", "Added", "2");         // after the section's last pair
    ini.WriteFloat("Third", "Number", 4.92);        // a new section at the end
    ini.WriteFloat("Third", "Minus", -1);
    ini.WriteInteger("Third", "Int", 42);
    ini.WriteBool("Third", "Bool", true);
    EXPECT_EQ(ReadText(path),
              "; header comment\n"
              "[First]\n"
              "Key=new value\n"
              "; inner comment\n"
              "Other=1\n"
              "Added=2\n"
              "\n"
              "; about Second\n"
              "[Second]\n"
              "x=1\n"
              "\n"
              "[Third]\n"
              "Number=4.92\n"
              "Minus=-1\n"
              "Int=42\n"
              "Bool=1\n");
}

TEST(IniFilesTest, KeepsWindowsLineEnds) {
    TempFolder dir;
    const std::string path = dir / "a.ini";
    WriteText(path, "[S]\r\nA=1\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "A", ""), "1");
    ini.WriteString("S", "B", "2");
    EXPECT_EQ(ReadText(path), "[S]\r\nA=1\r\nB=2\r\n");
}

TEST(IniFilesTest, EraseWriteAndReplaceSections) {
    TempFolder dir;
    const std::string path = dir / "a.ini";
    WriteText(path, "[A]\na=1\n\n; about B\n[B]\nold=1\nkeep=2\n\n[C]\nc=3\n");
    TIniFile ini(path);

    ini.ReplaceSection("b", {"new = 5", "no equals sign", " keep=  9 ", "=no key"});
    EXPECT_EQ(ReadText(path), "[A]\na=1\n\n; about B\n[B]\nnew=5\nkeep=9\n\n[C]\nc=3\n");

    ini.WriteSectionValues("D", {"x=1", "skipped", "y = a=b"});
    EXPECT_EQ(ini.ReadSectionValues("D"), (std::vector<std::string>{"x=1", "y=a=b"}));

    ini.EraseSection("B");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_EQ(ini.ReadString("C", "c", ""), "3");
    EXPECT_EQ(ini.ReadString("A", "a", ""), "1");
}

TEST(IniFilesTest, MemIniFileWritesOnlyOnUpdate) {
    TempFolder dir;
    const std::string path = dir / "a.ini";
    WriteText(path, "[S]\nA=1\n");
    TMemIniFile mem(path);
    WriteText(path, "[S]\nA=changed on disk\n");
    EXPECT_EQ(mem.ReadString("S", "A", ""), "1"); // the copy taken at creation
    mem.WriteString("S", "B", "2");
    EXPECT_EQ(ReadText(path), "[S]\nA=changed on disk\n");
    mem.UpdateFile();
    EXPECT_EQ(ReadText(path), "[S]\nA=1\nB=2\n");
}

std::size_t FilesIn(const std::string& folder) {
    std::size_t n = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder)) n += entry.is_regular_file() ? 1 : 0;
    return n;
}

TEST(IniFilesTest, AnInterruptedWriteLeavesThePreviousFileIntact) {
    TempFolder dir;
    const std::string path = dir / "big.ini";
    std::string original = "[S]\n";
    for (int i = 0; i < 200; ++i) original += "Key" + std::to_string(i) + "=" + std::string(20, 'v') + "\n";
    WriteText(path, original);

    // The disk fills up after the first block of the new content.
    SetWriteFaultHook([](const std::string&, std::size_t written) { return written == 0; });
    TIniFile ini(path);
    try {
        ini.WriteString("S", "Key0", "new");
        ADD_FAILURE() << "the write did not fail";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
    SetWriteFaultHook({});
    EXPECT_EQ(ReadText(path), original);
    EXPECT_EQ(FilesIn(dir.Path()), 1u); // no temporary file left behind

    ini.WriteString("S", "Key0", "new"); // and without the fault it goes through
    EXPECT_EQ(ini.ReadString("S", "Key0", ""), "new");
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(IniFilesTest, AWriteIntoAMissingFolderFails) {
    TempFolder dir;
    const std::string path = dir / "no/such/folder/a.ini";
    TIniFile ini(path);
    EXPECT_THROW(ini.WriteString("S", "K", "V"), FileError);
    EXPECT_EQ(ini.ReadString("S", "K", "def"), "def");
}

TEST(IniFilesTest, AtomicWriteKeepsPermissions) {
    TempFolder dir;
    const std::string path = dir / "a.ini";
    WriteText(path, "[S]\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    WriteFileAtomically(path, "[S]\nA=1\n");
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

} // namespace
} // namespace dvx
