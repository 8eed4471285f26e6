// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The streams a command writes to.
//
// TDescriptorBuf sends what is written straight to a file descriptor
// through a fixed buffer, so that a document of a million items is never
// held whole, and remembers the first failed write: main() turns it into
// exit 1 with a message, never a silent success.
//
// TLinePrefixBuf puts "darvenix-cli: " before every line written to
// standard error, so every message a script sees names the program,
// whichever command or layer wrote it.

#include <array>
#include <streambuf>
#include <string>

namespace dvx::cli {

class TDescriptorBuf : public std::streambuf {
public:
    explicit TDescriptorBuf(int fd);
    ~TDescriptorBuf() override;
    TDescriptorBuf(const TDescriptorBuf&) = delete;
    TDescriptorBuf& operator=(const TDescriptorBuf&) = delete;

    // Writes what is buffered; false when this or an earlier write failed.
    bool Flush();
    // The errno of the first failed write, 0 while none failed.
    int Error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    void WriteOut(const char* data, std::size_t size);

    int fd_;
    int error_ = 0;
    std::array<char, 64 * 1024> buffer_{};
};

class TLinePrefixBuf : public std::streambuf {
public:
    TLinePrefixBuf(std::streambuf* target, std::string prefix)
        : target_(target), prefix_(std::move(prefix)) {}

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    std::streambuf* target_;
    std::string prefix_;
    bool atLineStart_ = true;
};

} // namespace dvx::cli
