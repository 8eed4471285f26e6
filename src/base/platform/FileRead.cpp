// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/FileRead.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dvx {

namespace {

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

[[noreturn]] void Fail(const std::filesystem::path& path, const char* what, int error) {
    const std::string reason = std::strerror(error);
    throw FileReadError(std::string(what) + " " + path.string() + ": " + reason, reason,
                        error == ENOENT || error == ENOTDIR);
}

// Reads the file into buffer (a std::string or a byte vector).
template <typename Buffer>
Buffer ReadBounded(const std::filesystem::path& path, std::uint64_t maxBytes) {
    Descriptor file;
    do {
        // O_NONBLOCK: opening a FIFO must not wait for a writer; it is
        // refused below like every other file that is not regular.
        file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (file.fd < 0 && errno == EINTR);
    if (file.fd < 0) Fail(path, "Cannot open", errno);

    struct stat st {};
    if (::fstat(file.fd, &st) != 0) Fail(path, "Cannot read", errno);
    if (!S_ISREG(st.st_mode)) throw FileReadError(path.string() + " is not a file", "not a file", false);
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size > maxBytes) {
        const std::string reason = "larger than " + std::to_string(maxBytes >> 20) + " MB";
        throw FileReadError(path.string() + " is " + reason, reason, false);
    }

    Buffer buffer;
    buffer.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t n = ::read(file.fd, buffer.data() + done, buffer.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(path, "Cannot read", errno);
        }
        if (n == 0) break; // the file became shorter since fstat
        done += static_cast<std::size_t>(n);
    }
    // Bytes appended after fstat are not part of this read: the size taken
    // at the start bounds the work and the memory.
    buffer.resize(done);
    return buffer;
}

} // namespace

std::string ReadFileText(const std::filesystem::path& path, std::uint64_t maxBytes) {
    return ReadBounded<std::string>(path, maxBytes);
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes) {
    return ReadBounded<std::vector<std::uint8_t>>(path, maxBytes);
}

} // namespace dvx
