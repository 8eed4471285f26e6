// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/Documents.h"

#include "base/platform/Folders.h"

#include <filesystem>
#include <system_error>

namespace dvx {

namespace {

bool IsFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::string InstalledDocFolderFor(std::string_view programFolder) {
    std::filesystem::path folder(std::string(programFolder) + "/../../share/darvenix/");
    std::string normal = folder.lexically_normal().generic_string();
    if (normal.empty() || normal.back() != '/') normal += '/';
    return normal;
}

std::string DocumentPathFor(std::string_view programFolder, std::string_view relativePath) {
    const std::string beside = std::string(programFolder) + std::string(relativePath);
    if (IsFile(beside)) return beside;
    const std::string installed = InstalledDocFolderFor(programFolder) + std::string(relativePath);
    if (IsFile(installed)) return installed;
    return beside;
}

std::string DocumentPath(std::string_view relativePath) {
    return DocumentPathFor(ProgramFolder(), relativePath);
}

} // namespace dvx
