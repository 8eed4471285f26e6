// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/LetterheadFiles.h"

#include <filesystem>
#include <system_error>

namespace dvx {

std::vector<std::string> LetterheadCandidates(const std::string& dataFolder, const std::string& programFolder) {
    return {dataFolder + kLetterheadName, dataFolder + kDataLetterheadName, programFolder + kLetterheadName};
}

std::vector<std::string> LogoCandidates(const std::string& dataFolder, const std::string& programFolder) {
    return {dataFolder + kReportLogoName, programFolder + kReportLogoName};
}

std::string FirstExistingFile(const std::vector<std::string>& candidates) {
    for (const std::string& path : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) return path;
    }
    return candidates.empty() ? std::string() : candidates.back();
}

} // namespace dvx
