// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reading and the safe save shared by the project file, the text
// export and the command-line converter. Both go through the program's one
// file reader (base/platform/FileRead.h) and one atomic writer
// (base/platform/AtomicWrite.h).

#include "base/Errors.h"
#include "base/platform/AtomicWrite.h"
#include "base/platform/FileRead.h"

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

// The whole content of a regular file of at most kMaxProjectFileBytes;
// FileReadError when it cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path);

} // namespace dvx
