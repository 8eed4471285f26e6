// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/LetterheadFiles.h"

#include "base/platform/FileRead.h"
#include "storage/project/TextCodec.h"

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

std::optional<std::vector<std::string>> ReadLetterheadLines(const std::string& path) {
    std::string text;
    try {
        text = TextFileToUtf8(ReadFileText(path, kMaxLetterheadFileBytes));
    } catch (const FileError&) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

} // namespace dvx
