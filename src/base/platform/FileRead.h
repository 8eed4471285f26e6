// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one routine every file reader of the program goes through: project
// files, text item files, INI files (settings, catalogues, the refrigerant
// library, the merge configuration), the report letterhead and logos.
//
// Only regular files are read. The file is opened without blocking (a FIFO
// with no writer would otherwise hang the open), checked with fstat and
// refused unless it is a regular file, refused when it is larger than the
// cap of its kind, and then read by its size: never "until end of file", so a
// device such as /dev/zero behind a link can never make memory grow.

#include "base/Errors.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace dvx {

// Size caps per kind of file, in bytes. Each is far above real use (a
// project of a million items is about 150 MB, a text item file of a million
// items about 60 MB); they exist so that a wrong file is refused at once
// instead of filling the memory. The manual lists them.
inline constexpr std::uint64_t kMaxProjectFileBytes = 512ull << 20;
inline constexpr std::uint64_t kMaxTextItemsFileBytes = 256ull << 20;
inline constexpr std::uint64_t kMaxIniFileBytes = 256ull << 20; // settings, catalogues, refrigerants
inline constexpr std::uint64_t kMaxLetterheadFileBytes = 1ull << 20;
inline constexpr std::uint64_t kMaxImageFileBytes = 64ull << 20;

// Why a file could not be read. what() is the full message, e.g.
// "Cannot open /x/a.ini: Permission denied" or "/x/fifo is not a file";
// Reason() the part after the path; Missing() tells a file that does not
// exist (also a link to nothing) from one that exists but cannot be read.
class FileReadError : public FileError {
public:
    FileReadError(const std::string& message, std::string reason, bool missing)
        : FileError(message), reason_(std::move(reason)), missing_(missing) {}
    const std::string& Reason() const { return reason_; }
    bool Missing() const { return missing_; }

private:
    std::string reason_;
    bool missing_;
};

// The whole content of the regular file at path, at most maxBytes long.
// Raises FileReadError otherwise.
std::string ReadFileText(const std::filesystem::path& path, std::uint64_t maxBytes);
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes);

} // namespace dvx
