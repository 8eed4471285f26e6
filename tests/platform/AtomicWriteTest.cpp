// SPDX-License-Identifier: GPL-3.0-or-later
// The one atomic writer: links, modes, special and read-only targets, a
// file-size limit, long names, the temporaries a killed save leaves.

#include "ChildProcess.h"
#include "settings/TempFolder.h"

#include "base/Errors.h"
#include "base/platform/AtomicWrite.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <csignal>
#include <fcntl.h>
#include <map>
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

// The temporaries of target's name in dir.
std::vector<std::string> TemporariesOf(const std::string& dir, const std::string& target) {
    std::vector<std::string> found;
    for (const std::string& name : Names(dir))
        if (name.starts_with("." + target.substr(0, 64) + "~darvenix-") && name.ends_with(".tmp")) found.push_back(name);
    return found;
}

// Saves content to path in a child process that is killed (SIGKILL) after
// the first 64 KiB reached the temporary, as a crash or a kill -9 would.
void KillSaveHalfway(const std::string& path, std::size_t size) {
    const test::ChildOutcome outcome = test::RunInChild([&] {
        SetWriteFaultHook([](const std::string&, std::size_t written) {
            if (written >= 64 * 1024) ::raise(SIGKILL);
            return true;
        });
        WriteFileAtomically(path, std::string(size, 'k'));
        return std::string("the save was not killed");
    });
    ASSERT_EQ(outcome.signal, SIGKILL) << outcome.text;
}

// A killed save leaves a recognisable temporary beside its target; the next
// save of that target removes it, and only it: the temporaries of other
// targets (also one whose name starts with the same 64 bytes) and files that
// merely look alike stay.
TEST(AtomicWrite, SaveRemovesTheTemporaryAKilledSaveOfTheSameFileLeft) {
    TempFolder dir;
    const std::string shared(70, 'p');
    const std::string job = "job.dvx", other = "other.dvx", longA = shared + "A.dvx", longB = shared + "B.dvx";
    std::map<std::string, std::string> leftBy; // target -> the temporary its killed save left
    for (const std::string& name : {job, other, longA, longB}) {
        WriteText(dir / name, "old " + name);
        const std::vector<std::string> before = Names(dir.Path());
        KillSaveHalfway(dir / name, 200000);
        std::vector<std::string> added;
        for (const std::string& n : Names(dir.Path()))
            if (std::find(before.begin(), before.end(), n) == before.end()) added.push_back(n);
        ASSERT_EQ(added.size(), 1u) << name;
        EXPECT_TRUE(added[0].starts_with("." + name.substr(0, 64) + "~darvenix-") && added[0].ends_with(".tmp"))
            << added[0];
        EXPECT_GE(fs::file_size(dir / added[0]), 64u * 1024) << name;
        EXPECT_EQ(ReadText(dir / name), "old " + name) << name;
        leftBy[name] = added[0];
    }
    const std::vector<std::string> lookalikes = {".job.dvx~darvenix-notes.tmp", "job.dvx.tmp", ".dvxab12cd34",
                                                 ".job.dvx~darvenix-0123456789abcdef-abcdefgh.tmp"};
    for (const std::string& name : lookalikes) WriteText(dir / name, "not a temporary of a save");

    WriteFileAtomically(dir / job, "new job");
    WriteFileAtomically(dir / longA, "new A");
    EXPECT_EQ(ReadText(dir / job), "new job");
    EXPECT_EQ(ReadText(dir / longA), "new A");
    EXPECT_FALSE(fs::exists(dir / leftBy[job]));
    EXPECT_FALSE(fs::exists(dir / leftBy[longA]));
    EXPECT_TRUE(fs::exists(dir / leftBy[other]));
    EXPECT_TRUE(fs::exists(dir / leftBy[longB]));
    for (const std::string& name : lookalikes) EXPECT_EQ(ReadText(dir / name), "not a temporary of a save") << name;
}

// Only temporaries older than the running save and held by no running save
// are stale: one written after the save began, and the one of a save that
// is still writing, stay; the save still writing then completes.
TEST(AtomicWrite, TemporariesOfRunningOrLaterSavesStay) {
    TempFolder dir;
    const std::string path = dir / "job.dvx";
    WriteText(path, "old");
    KillSaveHalfway(path, 100000);
    ASSERT_EQ(TemporariesOf(dir.Path(), "job.dvx").size(), 1u);
    const std::string later = dir / TemporariesOf(dir.Path(), "job.dvx")[0];
    const struct timespec inAnHour[2] = {{::time(nullptr) + 3600, 0}, {::time(nullptr) + 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, later.c_str(), inAnHour, 0), 0);
    WriteFileAtomically(path, "second");
    EXPECT_TRUE(fs::exists(later));
    fs::remove(later);

    // While this save is writing its temporary, another process saves the
    // same file: it must leave this save's temporary alone.
    test::ChildOutcome concurrent;
    std::vector<std::string> duringSave;
    SetWriteFaultHook([&](const std::string&, std::size_t written) {
        if (written == 0) {
            duringSave = TemporariesOf(dir.Path(), "job.dvx");
            concurrent = test::RunInChild([&] {
                SetWriteFaultHook({});
                WriteFileAtomically(path, "from the other process");
                const std::vector<std::string> left = TemporariesOf(dir.Path(), "job.dvx");
                return left == duringSave ? std::string("kept") : "lost: " + std::to_string(left.size());
            });
        }
        return true;
    });
    WriteFileAtomically(path, "third");
    SetWriteFaultHook({});
    ASSERT_EQ(duringSave.size(), 1u);
    EXPECT_EQ(concurrent.text, "kept");
    EXPECT_EQ(ReadText(path), "third");
    EXPECT_TRUE(TemporariesOf(dir.Path(), "job.dvx").empty());
}

} // namespace
} // namespace dvx
