// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/StandardInput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace dvx {

namespace {

bool standardInputClosed = false;

[[noreturn]] void ReadFailed(int error) {
    const std::string reason = std::strerror(error);
    throw FileReadError("Error reading standard input: " + reason, reason, false);
}

[[noreturn]] void TooLarge(std::uint64_t cap) {
    const std::string reason = "larger than " + std::to_string(cap >> 20) + " MB";
    throw FileReadError("standard input is " + reason, reason, false);
}

} // namespace

void ClaimStandardInput() {
    if (::fcntl(0, F_GETFD) != -1 || errno != EBADF) return;
    standardInputClosed = true;
    const int fd = ::open("/dev/null", O_RDONLY | O_NOCTTY);
    // open returns the lowest free descriptor, which is 0 here.
    if (fd > 0) ::close(fd);
}

std::string ReadStandardInput(const TInputCap& capFor, std::size_t headBytes, int fd) {
    if (fd == 0 && standardInputClosed) ReadFailed(EBADF);
    constexpr std::size_t kChunk = 1 << 16;
    // A vector, not a string: its reserve takes exactly the size asked for,
    // where a string's may double it past the cap.
    std::vector<char> bytes;
    std::uint64_t cap = 0;
    bool capKnown = false;
    for (;;) {
        const std::size_t used = bytes.size();
        // Grown by doubling, but never beyond what the cap lets arrive: the
        // memory stays bounded by the cap and one chunk.
        if (used + kChunk > bytes.capacity()) {
            std::size_t next = std::max<std::size_t>(2 * bytes.capacity(), used + kChunk);
            // Once a doubling reaches the cap, the last step takes all the
            // cap allows, so the buffer is never copied at its largest size.
            if (capKnown && next >= cap) next = static_cast<std::size_t>(cap) + kChunk;
            bytes.reserve(std::max(next, used + kChunk));
        }
        bytes.resize(used + kChunk);
        const ssize_t n = ::read(fd, bytes.data() + used, kChunk);
        if (n < 0) {
            bytes.resize(used);
            if (errno == EINTR) continue;
            ReadFailed(errno);
        }
        bytes.resize(used + static_cast<std::size_t>(n));
        const bool atEnd = n == 0;
        if (!capKnown && (bytes.size() >= headBytes || atEnd)) {
            cap = capFor(std::string_view(bytes.data(), std::min(headBytes, bytes.size())));
            capKnown = true;
        }
        if (capKnown && bytes.size() > cap) TooLarge(cap);
        if (atEnd) break;
    }
    return std::string(bytes.begin(), bytes.end());
}

} // namespace dvx
