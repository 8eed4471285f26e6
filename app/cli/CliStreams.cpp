// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliStreams.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace dvx::cli {

TDescriptorBuf::TDescriptorBuf(int fd) : fd_(fd) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

TDescriptorBuf::~TDescriptorBuf() { Flush(); }

void TDescriptorBuf::WriteOut(const char* data, std::size_t size) {
    // After a failure nothing more is written: the output is already
    // incomplete, and the first error is the one to report.
    while (size > 0 && error_ == 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
        } else if (written == 0) {
            error_ = EIO;
        } else {
            data += written;
            size -= static_cast<std::size_t>(written);
        }
    }
}

bool TDescriptorBuf::Flush() {
    WriteOut(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

TDescriptorBuf::int_type TDescriptorBuf::overflow(int_type c) {
    Flush();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize TDescriptorBuf::xsputn(const char* s, std::streamsize n) {
    const auto size = static_cast<std::size_t>(n);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), s, size);
        pbump(static_cast<int>(n));
        return n;
    }
    // Larger than the room left: the buffer goes first, then the block
    // itself without a copy.
    Flush();
    if (size < buffer_.size()) return xsputn(s, n);
    WriteOut(s, size);
    return n;
}

int TDescriptorBuf::sync() { return Flush() ? 0 : -1; }

TLinePrefixBuf::int_type TLinePrefixBuf::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (atLineStart_) {
        target_->sputn(prefix_.data(), static_cast<std::streamsize>(prefix_.size()));
        atLineStart_ = false;
    }
    const char ch = traits_type::to_char_type(c);
    if (ch == '\n') atLineStart_ = true;
    return target_->sputc(ch);
}

int TLinePrefixBuf::sync() { return target_->pubsync(); }

} // namespace dvx::cli
