// SPDX-License-Identifier: GPL-3.0-or-later
// Every reader of the program pointed at something that is not a regular
// file: each must refuse it with its message, at once, without reading
// (a FIFO without a writer would block for ever, /dev/zero would fill the
// memory). Each case runs in a child process with an alarm and an
// address-space limit, so that a reader that blocks or grows fails the case
// instead of hanging or exhausting the machine.

#include "ChildProcess.h"
#include "settings/TempFolder.h"

#include "storage/catalogue/CatalogueFiles.h"
#include "engine/catalogue/Tables.h"
#include "presentation/report/PriceReport.h"
#include "engine/fluid/Fluid.h"
#include "engine/fluid/Refrig.h"
#include "base/platform/FileRead.h"
#include "base/platform/IniFileIO.h"
#include "engine/hydraulics/ProjectContext.h"
#include "storage/project/CircuitFiles.h"
#include "storage/project/FileIO.h"
#include "storage/project/ProjectFile.h"
#include "presentation/report/LetterheadFiles.h"
#include "storage/settings/SettingsStore.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace dvx {
namespace {

namespace fs = std::filesystem;

enum Special { Fifo, Folder, ZeroLink, LinkLoop, Dangling, SpecialCount };
const char* const kSpecialNames[] = {"FIFO", "folder", "link to /dev/zero", "loop of links", "link to nothing"};

void MakeSpecial(Special kind, const std::string& path) {
    switch (kind) {
    case Fifo: ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); break;
    case Folder: fs::create_directory(path); break;
    case ZeroLink: fs::create_symlink("/dev/zero", path); break;
    case LinkLoop:
        fs::create_symlink(path + ".other", path);
        fs::create_symlink(path, path + ".other");
        break;
    case Dangling: fs::create_symlink(path + ".missing", path); break;
    case SpecialCount: break;
    }
}

// The message a reader gives for the file at path (made special beforehand).
using Reader = std::function<std::string(const std::string& folder)>;

struct ReaderCase {
    const char* name;
    const char* fileName; // the name the reader looks for inside folder
    Reader read;
    // Expected per kind: a part of the message, "=text" for the whole
    // message, "" for no message at all.
    std::array<std::string, SpecialCount> expected;
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

const std::string kNotAFile = "is not a file";
const std::string kLoop = "Too many levels of symbolic links";
const std::string kMissing = "No such file or directory";

std::vector<ReaderCase> Readers() {
    return {
        {"file reader", "f.bin",
         [](const std::string& dir) { return std::string(ReadFileText(dir + "f.bin", kMaxIniFileBytes)); },
         {kNotAFile, kNotAFile, kNotAFile, kLoop, kMissing}},
        {"project", "p.dvx",
         [](const std::string& dir) {
             TProjectState project;
             try {
                 ReadProject(dir + "p.dvx", project.Context());
             } catch (const ProjectFileError& e) {
                 return std::string(e.what()) + "\n" + e.Detail();
             }
             return std::string("read");
         },
         {kNotAFile, kNotAFile, kNotAFile, kLoop, kMissing}},
        {"text items", "t.txt",
         [](const std::string& dir) {
             TProjectState project;
             try {
                 LoadCircuitFile(dir + "t.txt", project.Context());
             } catch (const ProjectFileError& e) {
                 return std::string(e.what()) + "\n" + e.Detail();
             }
             return std::string("read");
         },
         {kNotAFile, kNotAFile, kNotAFile, kLoop, kMissing}},
        {"INI file", "a.ini", [](const std::string& dir) { return LoadIniFile(dir + "a.ini").Error; },
         {kNotAFile, kNotAFile, kNotAFile, kLoop, ""}},
        {"catalogues", kSteelPipeFile,
         [](const std::string& dir) {
             TCatalogueTables tables;
             auto messages = LoadCatalogues(dir, tables);
             return messages.empty() ? std::string() : messages.front();
         },
         {"Error reading", "Error reading", "Error reading", "Error reading", "=Error reading"}},
        {"refrigerant library", "RefLib8.rdf",
         [](const std::string& dir) { return Joined(TRefrigLib(dir + "RefLib8.rdf").Errors); },
         {"not a file", "not a file", "not a file", kLoop, ""}},
        {"settings", "s.ini",
         [](const std::string& dir) {
             SettingsStore store(dir + "s.ini");
             std::string text = store.LoadProblem();
             // Reads give the default; a write refuses to replace what it
             // could not read.
             if (store.ReadString("S", "K", "default") != "default") text += " [read a value]";
             try {
                 store.WriteString("S", "K", "V");
                 text += " [written]";
             } catch (const FileError&) {
             }
             return text;
         },
         {kNotAFile, kNotAFile, kNotAFile, kLoop, ""}},
        {"letterhead", kDataLetterheadName,
         [](const std::string& dir) {
             return Joined(LoadPriceLetterhead(dir, dir + "no-program-folder/")) == " " ? std::string() : "read";
         },
         {"", "", "", "", ""}},
    };
}

TEST(SpecialFiles, EveryReaderRefusesWhatIsNotARegularFile) {
    for (const ReaderCase& reader : Readers()) {
        for (int k = 0; k < SpecialCount; ++k) {
            const auto kind = static_cast<Special>(k);
            SCOPED_TRACE(std::string(reader.name) + ", " + kSpecialNames[k]);
            test::TempFolder dir;
            const std::string path = dir / reader.fileName;
            MakeSpecial(kind, path);
            test::ChildOutcome outcome = test::RunInChild([&] { return reader.read(dir.Path()); }, {10, 1024ull << 20});
            ASSERT_TRUE(outcome.exited) << "ended by signal " << outcome.signal;
            const std::string& expected = reader.expected[static_cast<std::size_t>(k)];
            if (expected.empty())
                EXPECT_EQ(outcome.text, "");
            else if (expected.front() == '=')
                EXPECT_EQ(outcome.text, expected.substr(1) + " " + path);
            else
                EXPECT_NE(outcome.text.find(expected), std::string::npos) << outcome.text;
            // Whatever the reader did, the special file is still there.
            struct stat st {};
            if (kind == Fifo) {
                ASSERT_EQ(::lstat(path.c_str(), &st), 0);
                EXPECT_TRUE(S_ISFIFO(st.st_mode));
            }
            if (kind == ZeroLink) {
                EXPECT_EQ(fs::read_symlink(path), "/dev/zero");
            }
        }
    }
}

// The catalogue and refrigerant messages for a file that exists but cannot
// be read name the reason; a missing catalogue keeps its plain message.
TEST(SpecialFiles, DataFileMessagesNameTheReason) {
    test::TempFolder dir;
    MakeSpecial(Fifo, dir / kPipeFittingsFile);
    test::ChildOutcome outcome = test::RunInChild([&] {
        TCatalogueTables tables;
        return Joined(LoadCatalogues(dir.Path(), tables));
    });
    ASSERT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.text, "Error reading " + (dir / kSteelPipeFile) + "\n" +
                                "Error reading " + (dir / kGalvIronPipeFile) + "\n" +
                                "Error reading " + (dir / kDrawnTubePipeFile) + "\n" +
                                "Error reading " + (dir / kPipeFittingsFile) + ": not a file");
}

// Files over the cap of their kind are refused before anything is read; a
// sparse file costs no disk space however large it claims to be.
TEST(SpecialFiles, FilesOverTheCapAreRefusedUnread) {
    test::TempFolder dir;
    const std::string path = dir / "huge.ini";
    test::WriteText(path, "[S]\n");
    fs::resize_file(path, kMaxIniFileBytes + 1);
    try {
        ReadFileText(path, kMaxIniFileBytes);
        FAIL() << "read";
    } catch (const FileReadError& e) {
        EXPECT_EQ(std::string(e.what()), path + " is larger than 256 MB");
        EXPECT_FALSE(e.Missing());
    }
    fs::resize_file(path, 10);
    EXPECT_EQ(ReadFileText(path, 10), std::string("[S]\n") + std::string(6, '\0'));
    EXPECT_THROW(ReadFileText(path, 9), FileReadError);
}

} // namespace
} // namespace dvx
