// SPDX-License-Identifier: GPL-3.0-or-later
#include "project/FileIO.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dvx {

namespace fs = std::filesystem;

namespace {

std::string Reason(int error) { return std::strerror(error); }

// Closes a descriptor once.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    int Release() {
        const int f = fd;
        fd = -1;
        return f;
    }
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

std::vector<std::uint8_t> ReadWholeFile(const fs::path& path) {
    Fd file;
    do {
        file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (file.fd < 0 && errno == EINTR);
    if (file.fd < 0) throw FileError("Cannot open " + path.string() + ": " + Reason(errno));
    struct stat st {};
    if (::fstat(file.fd, &st) != 0) throw FileError("Cannot read " + path.string() + ": " + Reason(errno));
    if (!S_ISREG(st.st_mode)) throw FileError(path.string() + " is not a file");

    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t n = ::read(file.fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileError("Cannot read " + path.string() + ": " + Reason(errno));
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}

void WriteFileAtomically(const fs::path& requested, std::span<const std::uint8_t> bytes) {
    // Save through a symbolic link into the file it names, keeping the link.
    fs::path target = requested;
    std::error_code ec;
    if (fs::is_symlink(requested, ec)) {
        const fs::path resolved = fs::weakly_canonical(requested, ec);
        if (!ec) target = resolved;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    // Permissions: those of the file being replaced, or what a plain create
    // would give.
    mode_t mode = 0666 & ~CurrentUmask();
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) throw FileError(target.string() + " is a folder");
        mode = st.st_mode & 07777;
    }

    // A hidden name beside the target (same file system, so rename is atomic).
    std::string tempName = ".";
    tempName += target.filename().string();
    tempName += ".XXXXXX";
    std::string temp = (folder / tempName).string();
    Fd file;
    file.fd = ::mkstemp(temp.data());
    if (file.fd < 0) throw FileError("Cannot create a file in " + folder.string() + ": " + Reason(errno));

    auto fail = [&](const std::string& what, int error) {
        ::close(file.Release());
        ::unlink(temp.c_str());
        throw FileError(what + " " + target.string() + ": " + Reason(error));
    };
    if (!WriteAll(file.fd, bytes.data(), bytes.size())) fail("Cannot write", errno);
    if (::fchmod(file.fd, mode) != 0) fail("Cannot set the permissions of", errno);
    if (::fsync(file.fd) != 0) fail("Cannot flush", errno);
    if (::close(file.Release()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw FileError("Cannot write " + target.string() + ": " + Reason(error));
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw FileError("Cannot replace " + target.string() + ": " + Reason(error));
    }
    // Make the rename itself durable; a failure here no longer endangers
    // either the old or the new content.
    Fd dir;
    dir.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd >= 0) ::fsync(dir.fd);
}

} // namespace dvx
