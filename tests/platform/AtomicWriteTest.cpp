// SPDX-License-Identifier: GPL-3.0-or-later
// The one atomic writer: links, modes, special and read-only targets, a
// file-size limit, long names.

#include "ChildProcess.h"
#include "settings/TempFolder.h"

#include "base/Errors.h"
#include "base/platform/AtomicWrite.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace dvx {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempFolder;
using test::WriteText;

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

std::string ErrorOf(const std::string& path, std::string_view content) {
    try {
        WriteFileAtomically(path, content);
    } catch (const FileError& e) {
        return e.what();
    }
    return "";
}

// Through a chain of links, relative and absolute: the file at the end is
// replaced, every link stays a link.
TEST(AtomicWrite, FollowsLinksToTheFileAndKeepsThem) {
    TempFolder dir;
    fs::create_directory(dir / "real");
    WriteText(dir / "real/settings.ini", "old");
    fs::create_symlink("real/settings.ini", dir / "first");   // relative
    fs::create_symlink(dir / "first", dir / "second");        // absolute, to a link
    WriteFileAtomically(dir / "second", "new");
    EXPECT_EQ(ReadText(dir / "real/settings.ini"), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "first"));
    EXPECT_TRUE(fs::is_symlink(dir / "second"));
    EXPECT_EQ(Names(dir / "real"), std::vector<std::string>{"settings.ini"});
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"first", "real", "second"}));
}

TEST(AtomicWrite, ModesKeptAndNewFilesFollowTheUmask) {
    TempFolder dir;
    const std::string kept = dir / "kept.dvx";
    WriteText(kept, "old");
    ::chmod(kept.c_str(), 0604);
    WriteFileAtomically(kept, "new");
    EXPECT_EQ(ModeOf(kept), 0604u);

    const mode_t before = ::umask(027);
    WriteFileAtomically(dir / "new.dvx", "x");
    ::umask(before);
    EXPECT_EQ(ModeOf(dir / "new.dvx"), 0640u);
}

// Targets that must not be replaced: each refused with its message, left as
// it was, and no temporary file left beside it.
TEST(AtomicWrite, RefusesTargetsThatAreNotWritableFiles) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    fs::create_directory(dir / "folder");
    WriteText(dir / "readonly", "keep me");
    ::chmod((dir / "readonly").c_str(), 0444);
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    fs::create_symlink(dir / "loop2", dir / "loop1");
    fs::create_symlink(dir / "loop1", dir / "loop2");
    // A character device of our own (the same numbers as /dev/null) where
    // the system allows one, so a fault could never replace a real device.
    const bool device = ::mknod((dir / "device").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    if (device) fs::create_symlink(dir / "device", dir / "to-device");

    struct Case {
        const char* name;
        std::string message;
    } cases[] = {
        {"fifo", dir / "fifo" + " is not a file"},
        {"folder", dir / "folder" + " is a folder"},
        {"readonly", dir / "readonly" + " is read-only"},
        {"dangling", "Cannot write " + (dir / "dangling") + ": the link points to a missing file"},
        {"loop1", "Cannot write " + (dir / "loop1") + ": Too many levels of symbolic links"},
    };
    const std::vector<std::string> before = Names(dir.Path());
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(dir / c.name, "new"), c.message) << c.name;
    if (device) {
        EXPECT_EQ(ErrorOf(dir / "to-device", "new"), dir / "device" + " is not a file");
    }
    EXPECT_EQ(Names(dir.Path()), before);
    EXPECT_EQ(ReadText(dir / "readonly"), "keep me");
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    if (device) {
        EXPECT_TRUE(fs::is_character_file(dir / "device"));
    } else {
        std::cout << "(no device case: mknod is not allowed here)\n";
    }
}

// A file-size limit must end the write with an error, not kill the
// program; the old file stays byte-identical and no temporary file is left.
TEST(AtomicWrite, FileSizeLimitIsAnErrorNotAKill) {
    TempFolder dir;
    const std::string path = dir / "job.dvx";
    const std::string old("old content\r\n\0with a zero", 25);
    WriteText(path, old);
    test::ChildOutcome outcome = test::RunInChild([&] {
        struct rlimit small {4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        return ErrorOf(path, std::string(100000, 'x'));
    });
    ASSERT_TRUE(outcome.exited) << "ended by signal " << outcome.signal;
    EXPECT_EQ(outcome.text, "Cannot write " + path + ": File too large");
    EXPECT_EQ(ReadText(path), old);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"job.dvx"});
}

// The temporary name is short, so every target name the file system takes
// (up to 255 bytes) can be saved.
TEST(AtomicWrite, LongestNamesCanBeSaved) {
    TempFolder dir;
    for (std::size_t length : {240u, 248u, 255u}) {
        const std::string path = dir / (std::string(length - 4, 'n') + ".dvx");
        WriteFileAtomically(path, "first");
        WriteFileAtomically(path, "second");
        EXPECT_EQ(ReadText(path), "second") << length;
    }
    EXPECT_EQ(Names(dir.Path()).size(), 3u);
}

} // namespace
} // namespace dvx
