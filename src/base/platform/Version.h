// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program file's version information and the platform's registered
// owner and organisation names.

#include <string>
#include <string_view>

namespace dvx {

struct TVersionInfo {
    std::string ProductName;     // "Darvenix"
    std::string Version;         // the release, "major.minor.patch" ("0.1.0")
    std::string FileDescription; // one line for the about box
};

TVersionInfo ProgramVersionInfo();

// The copyright holder's line and the licence, as the about box and the
// programs' --version show them.
inline constexpr const char* kCopyrightLine = "Copyright (C) 2026 The Darvenix developers";
inline constexpr const char* kLicenceName = "GNU General Public License, version 3 or later";
inline constexpr const char* kLicenceUrl = "https://www.gnu.org/licenses/gpl-3.0.html";

// What "PROGRAM --version" prints, the same for both programs: "PROGRAM
// 0.1.0", the copyright line and the licence.
std::string VersionText(std::string_view program);

// The user's full name from the password database (the part of the comment
// field before the first comma), else the login name; may be empty.
std::string RegisteredOwner();
// No organisation is registered on this platform: $ORGANIZATION when set,
// else empty.
std::string RegisteredOrganization();

} // namespace dvx
