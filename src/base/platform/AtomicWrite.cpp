// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/AtomicWrite.h"

#include "base/Errors.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace dvx {

namespace fs = std::filesystem;

namespace {

WriteFaultHook& FaultHook() {
    static WriteFaultHook hook;
    return hook;
}

// Blocks small enough that a fault can be injected inside a typical INI
// file, large enough that a big project is written quickly.
constexpr std::size_t kBlockSize = 64 * 1024;

// Symbolic links followed before a chain counts as a loop (the kernel's own
// limit).
constexpr int kMaxLinkHops = 40;

std::string Reason(int error) { return std::strerror(error); }

[[noreturn]] void Fail(const std::string& what, const fs::path& path, int error) {
    throw FileError(what + " " + path.string() + ": " + Reason(error));
}

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

void IgnoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

// Temporary files are named after their target so that one left by a
// crash (a save killed before its rename) can be recognised and removed by
// the next save of the same file:
//   .<start of the target's name>~darvenix-<hash of the name>-<8 random>.tmp
// The readable part is cut to 64 bytes (at a character boundary), so every
// target name up to the 255-byte limit leaves room for the temporary's name;
// the hash of the whole name tells targets that share their first 64 bytes
// apart.
constexpr std::size_t kNameShown = 64;
constexpr std::size_t kRandomLength = 8;
constexpr std::string_view kTemporaryEnd = ".tmp";

// FNV-1a, 64 bits: fixed across builds and runs, unlike std::hash.
std::uint64_t NameHash(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Everything of a temporary's name for target that precedes the random part.
std::string TemporaryStem(const fs::path& target) {
    const std::string name = target.filename().string();
    std::size_t shown = std::min(name.size(), kNameShown);
    while (shown > 0 && shown < name.size() && (static_cast<unsigned char>(name[shown]) & 0xC0) == 0x80) --shown;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hash(16, '0');
    std::uint64_t value = NameHash(name);
    for (int i = 15; i >= 0; --i, value >>= 4) hash[static_cast<std::size_t>(i)] = kHex[value & 0xF];
    return "." + name.substr(0, shown) + "~darvenix-" + hash + "-";
}

std::string TemporaryName(const std::string& stem) {
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937 random(std::random_device{}() ^ static_cast<unsigned>(::getpid()));
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = stem;
    unsigned value = random() ^ (counter++ * 2654435761u);
    for (std::size_t i = 0; i < kRandomLength; ++i) {
        name += kChars[value % 36];
        value /= 36;
        if (value == 0) value = random();
    }
    return name + std::string(kTemporaryEnd);
}

bool IsTemporaryOf(std::string_view name, std::string_view stem) {
    return name.size() == stem.size() + kRandomLength + kTemporaryEnd.size() && name.starts_with(stem) &&
           name.ends_with(kTemporaryEnd);
}

bool Before(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// A save holds an exclusive lock on its temporary until the rename is done;
// the kernel drops it when the process ends in any way, a kill included. So
// a temporary whose lock can be taken belongs to no running save.
//
// Removes the temporaries of target's name in folder that were last written
// before saveStart and whose lock is free. Anything that cannot be checked
// (another user's file, a file system without locks) is left alone: this is
// tidying, never a reason for the save to fail.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& stem, const struct timespec& saveStart) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) return;
        const std::string name = it->path().filename().string();
        if (!IsTemporaryOf(name, stem)) continue;
        const fs::path path = folder / name;
        Descriptor candidate;
        candidate.fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (candidate.fd < 0) continue;
        if (::flock(candidate.fd, LOCK_EX | LOCK_NB) != 0) continue; // a save is writing it
        struct stat held {};
        struct stat named {};
        if (::fstat(candidate.fd, &held) != 0 || !S_ISREG(held.st_mode) || !Before(held.st_mtim, saveStart)) continue;
        // Still the file that was locked under that name.
        if (::lstat(path.c_str(), &named) != 0 || named.st_ino != held.st_ino || named.st_dev != held.st_dev) continue;
        ::unlink(path.c_str());
    }
}

bool WriteAll(int fd, const std::string& requested, std::string_view content) {
    std::size_t written = 0;
    while (written < content.size()) {
        if (FaultHook() && !FaultHook()(requested, written)) {
            errno = ENOSPC;
            return false;
        }
        const std::size_t block = std::min(kBlockSize, content.size() - written);
        const ssize_t n = ::write(fd, content.data() + written, block);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    if (FaultHook() && !FaultHook()(requested, written)) {
        errno = ENOSPC;
        return false;
    }
    return true;
}

} // namespace

void SetWriteFaultHook(WriteFaultHook hook) { FaultHook() = std::move(hook); }

fs::path ResolveWriteTarget(const fs::path& path) {
    fs::path target = path;
    for (int hop = 0;; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0) {
            if (hop > 0 && (errno == ENOENT || errno == ENOTDIR))
                throw FileError("Cannot write " + path.string() + ": the link points to a missing file");
            return target; // a new file, or an error the create will report
        }
        if (!S_ISLNK(st.st_mode)) return target;
        if (hop == kMaxLinkHops) Fail("Cannot write", path, ELOOP);
        std::string next(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), next.data(), next.size());
        if (n < 0) Fail("Cannot write", path, errno);
        if (static_cast<std::size_t>(n) >= next.size()) Fail("Cannot write", path, ENAMETOOLONG);
        next.resize(static_cast<std::size_t>(n));
        const fs::path link(next);
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
}

void WriteFileAtomically(const fs::path& requested, std::span<const std::uint8_t> bytes) {
    WriteFileAtomically(requested, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void WriteFileAtomically(const fs::path& requested, std::string_view content) {
    IgnoreFileSizeSignal();
    struct timespec saveStart {};
    ::clock_gettime(CLOCK_REALTIME, &saveStart);
    const fs::path target = ResolveWriteTarget(requested);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode)) throw FileError(target.string() + " is a folder");
        if (!S_ISREG(old.st_mode)) throw FileError(target.string() + " is not a file");
        // The mode bits are checked as well as access(): the superuser passes
        // access() for every file, but a file marked read-only is not to be
        // replaced by a save either.
        if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            throw FileError(target.string() + " is read-only");
    }

    const std::string stem = TemporaryStem(target);
    RemoveStaleTemporaries(folder, stem, saveStart);

    // O_EXCL on a fresh name; 0666 lets the umask shape a new file's mode.
    // A second descriptor of the same open file keeps the lock after the
    // write descriptor is closed (and its error seen) before the rename, so
    // the temporary stays locked until it has taken the target's place.
    Descriptor file;
    Descriptor lock;
    fs::path temp;
    for (int attempt = 0; file.fd < 0; ++attempt) {
        temp = folder / TemporaryName(stem);
        file.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (file.fd < 0 && (errno != EEXIST || attempt == 100)) Fail("Cannot create a file in", folder, errno);
        if (file.fd < 0) continue;
        if (::flock(file.fd, LOCK_EX) == 0) {
            lock.fd = ::fcntl(file.fd, F_DUPFD_CLOEXEC, 0);
            // Another save may have taken the new file for a stale one in the
            // moment before it was locked, and removed it: start afresh.
            struct stat st {};
            if (::fstat(file.fd, &st) == 0 && st.st_nlink == 0 && attempt < 100) {
                ::close(file.fd);
                file.fd = -1;
                ::close(lock.fd);
                lock.fd = -1;
            }
        }
        // Without a lock (a file system that has none) the save goes on; the
        // temporary then only counts as stale where a lock can be taken.
    }

    auto fail = [&](const std::string& what, int error) {
        ::close(file.fd);
        file.fd = -1;
        ::unlink(temp.c_str());
        Fail(what, target, error);
    };
    if (!WriteAll(file.fd, requested.string(), content)) fail("Cannot write", errno);
    if (exists) {
        // Keep the owner where the process may (the superuser saving a
        // user's file); a failure only means the new file is the writer's.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            if (::fchown(file.fd, old.st_uid, old.st_gid) != 0) {
            }
        }
        if (::fchmod(file.fd, old.st_mode & 07777) != 0) fail("Cannot set the permissions of", errno);
    }
    if (::fsync(file.fd) != 0) fail("Cannot flush", errno);
    const int closed = ::close(file.fd);
    file.fd = -1;
    if (closed != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        Fail("Cannot write", target, error);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        Fail("Cannot replace", target, error);
    }
    // Make the rename itself durable; a failure here no longer endangers
    // either the old or the new content.
    Descriptor dir;
    dir.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd >= 0) ::fsync(dir.fd);
}

} // namespace dvx
