// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProjectTestSupport.h"

#include "base/Errors.h"
#include "storage/project/FileIO.h"
#include "storage/project/ProjectFile.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace dvx {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes Of(std::string_view s) { return Bytes(s.begin(), s.end()); }

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SafeSave, ReplacesContentKeepingPermissionsAndLinks) {
    test::TempFolder dir;
    const fs::path file = dir / "a.dvx";
    WriteFileAtomically(file, Of("first"));
    EXPECT_EQ(ReadWholeFile(file), Of("first"));

    ::chmod(file.c_str(), 0640);
    WriteFileAtomically(file, Of("second, longer"));
    EXPECT_EQ(ReadWholeFile(file), Of("second, longer"));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const fs::path link = dir / "link.dvx";
    fs::create_symlink(file, link);
    WriteFileAtomically(link, Of("via link"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(file), Of("via link"));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.dvx", "link.dvx"}));
}

// A write that fails half-way (here the file-size limit stops it) leaves the
// old file whole and no temporary file in the folder.
TEST(SafeSave, FailedWriteLeavesTheOldFileAndNoTemporary) {
    test::TempFolder dir;
    const fs::path file = dir / "job.dvx";
    WriteFileAtomically(file, Of("old content"));

    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const Bytes big(100000, 'x');
    EXPECT_THROW(WriteFileAtomically(file, big), FileError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(ReadWholeFile(file), Of("old content"));
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"job.dvx"});
}

TEST(SafeSave, UnwritableTargets) {
    test::TempFolder dir;
    fs::create_directory(dir / "folder.dvx");
    EXPECT_THROW(WriteFileAtomically(dir / "folder.dvx", Of("x")), FileError);
    EXPECT_TRUE(fs::is_directory(dir / "folder.dvx"));
    EXPECT_THROW(WriteFileAtomically(dir / "no-such-folder" / "a.dvx", Of("x")), FileError);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"folder.dvx"});
}

class SafeProjectSave : public test::ProjectFileFixture {};

TEST_F(SafeProjectSave, FailedProjectSaveKeepsThePreviousFile) {
    test::TempFolder dir;
    const fs::path file = dir / "job.dvx";
    TCircuit circuit(project);
    circuit.Heading1 = "Version 1";
    WriteProject(file, circuit, *project.Liquid, project.Tables);
    const Bytes before = ReadWholeFile(file);

    // An item whose bore is outside the table cannot be written.
    circuit.Heading1 = "Version 2";
    circuit.Append(std::make_unique<TPipe>(project));
    circuit.Item(0).BoreIndex = 200;
    try {
        WriteProject(file, circuit, *project.Liquid, project.Tables);
        FAIL() << "no error";
    } catch (const ProjectFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Error writing " + file.string());
    }
    EXPECT_EQ(ReadWholeFile(file), before);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"job.dvx"});
}

} // namespace
} // namespace dvx
