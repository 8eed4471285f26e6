// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the reports find their letterhead ("LetterHead.txt") and logo
// ("ReportLogo.gif"). The user's own come first, from the data folder (the
// folder of the catalogues, under the user's XDG data folder), so that a user
// can put a company's letterhead on reports even when the program folder
// belongs to root; then the ones beside the program. In the data folder the
// letterhead is also taken under the name "Letterhead.txt", which earlier
// versions read there.

#include <optional>
#include <string>
#include <vector>

namespace dvx {

inline constexpr const char* kLetterheadName = "LetterHead.txt";
inline constexpr const char* kDataLetterheadName = "Letterhead.txt";
inline constexpr const char* kReportLogoName = "ReportLogo.gif";

// The letterhead files in the order they are tried (folders end with "/").
std::vector<std::string> LetterheadCandidates(const std::string& dataFolder, const std::string& programFolder);
// The logo files in the order they are tried.
std::vector<std::string> LogoCandidates(const std::string& dataFolder, const std::string& programFolder);

// The first candidate that is a file; the last candidate when none is, so
// that a caller who reads it finds nothing.
std::string FirstExistingFile(const std::vector<std::string>& candidates);

// The lines of a letterhead file as UTF-8, the one reader both reports use.
// Letterheads are written with whatever editor is at hand, so the file may
// be UTF-8 with or without a byte-order mark, UTF-16 after its mark, or
// 8-bit Windows-1252 (decoded line by line, see TextFileToUtf8). Line ends
// are "\n" or "\r\n". Nothing when the file cannot be read.
std::optional<std::vector<std::string>> ReadLetterheadLines(const std::string& path);

} // namespace dvx
