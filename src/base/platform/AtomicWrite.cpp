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
#include <sys/stat.h>
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

// A short hidden name beside the target; short so that a target name of up to
// 255 bytes still leaves room in the folder.
std::string TemporaryName() {
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937 random(std::random_device{}() ^ static_cast<unsigned>(::getpid()));
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".dvx";
    unsigned value = random() ^ (counter++ * 2654435761u);
    for (int i = 0; i < 8; ++i) {
        name += kChars[value % 36];
        value /= 36;
        if (value == 0) value = random();
    }
    return name;
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

    // O_EXCL on a fresh name; 0666 lets the umask shape a new file's mode.
    Descriptor file;
    fs::path temp;
    for (int attempt = 0; file.fd < 0; ++attempt) {
        temp = folder / TemporaryName();
        file.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (file.fd < 0 && (errno != EEXIST || attempt == 100)) Fail("Cannot create a file in", folder, errno);
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
