// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/AtomicFile.h"

#include "common/Errors.h"
#include "common/Format.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace dvx {

namespace {

WriteFaultHook& FaultHook() {
    static WriteFaultHook hook;
    return hook;
}

// Blocks small enough that a fault can be injected inside a typical
// catalogue file, not only before or after it.
constexpr std::size_t kBlockSize = 512;

[[noreturn]] void Fail(const std::string& path) {
    throw FileError(Format("Unable to write to %s", {path}));
}

bool WriteAll(int fd, const std::string& path, std::string_view content) {
    std::size_t written = 0;
    while (written < content.size()) {
        if (FaultHook() && !FaultHook()(path, written)) return false;
        std::size_t block = std::min(kBlockSize, content.size() - written);
        ssize_t n = ::write(fd, content.data() + written, block);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return !(FaultHook() && !FaultHook()(path, written));
}

} // namespace

void SetWriteFaultHook(WriteFaultHook hook) { FaultHook() = std::move(hook); }

void WriteFileAtomically(const std::string& path, std::string_view content) {
    namespace fs = std::filesystem;
    fs::path target(path);
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) Fail(path);
    const std::string temp = pattern;

    // Keep the permissions of the file being replaced; a new file gets the
    // usual rw-r--r-- rather than mkstemp's owner-only mode.
    struct stat old {};
    mode_t mode = (::stat(path.c_str(), &old) == 0) ? (old.st_mode & 07777) : 0644;

    bool ok = WriteAll(fd, path, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        Fail(path);
    }
    // Make the rename itself durable.
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace dvx
