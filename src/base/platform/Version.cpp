// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/Version.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace dvx {

// The window title, the about box, the reports and both programs'
// --version all show the release as the build defines it.
TVersionInfo ProgramVersionInfo() {
    return {"Darvenix", DARVENIX_VERSION, "Pipe circuit pressure drop calculation"};
}

std::string VersionText(std::string_view program) {
    return std::string(program) + " " + DARVENIX_VERSION + "\n" + kCopyrightLine + "\nLicense: " + kLicenceName +
           " <" + kLicenceUrl +
           ">.\nThis is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

std::string RegisteredOwner() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
        return {};
    std::string gecos = found->pw_gecos != nullptr ? found->pw_gecos : "";
    gecos = gecos.substr(0, gecos.find(','));
    if (!gecos.empty()) return gecos;
    return found->pw_name != nullptr ? found->pw_name : "";
}

std::string RegisteredOrganization() {
    const char* org = std::getenv("ORGANIZATION");
    return org != nullptr ? org : "";
}

} // namespace dvx
