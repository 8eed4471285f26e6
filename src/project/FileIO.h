// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reading and the safe save shared by the project file, the text
// export and the command-line converter.

#include "common/Errors.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace dvx {

// A file error that keeps, beside the message the user sees ("Error reading
// " + path), the technical reason (which value, which offset).
class ProjectFileError : public FileError {
public:
    ProjectFileError(const std::string& message, std::string detail)
        : FileError(message), detail_(std::move(detail)) {}
    const std::string& Detail() const { return detail_; }

private:
    std::string detail_;
};

// The whole content of a regular file; FileError when it cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path);

// Replaces the content of `path` without ever leaving it destroyed or half
// written: the bytes go to a new temporary file in the same folder, which is
// flushed to disk and then renamed over the target. An existing target keeps
// its permissions; when it is a symbolic link, the file it points to is
// replaced. On any failure the temporary file is removed, the old file stays
// as it was, and FileError is raised.
void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace dvx
