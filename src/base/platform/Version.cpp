// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/Version.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace dvx {

std::string FourPartVersion(std::string_view version) {
    std::string result;
    int parts = 0;
    while (parts < 4) {
        auto dot = version.find('.');
        std::string_view part = version.substr(0, dot);
        result += part.empty() ? std::string("0") : std::string(part);
        ++parts;
        if (parts < 4) result += '.';
        version = dot == std::string_view::npos ? std::string_view() : version.substr(dot + 1);
    }
    return result;
}

TVersionInfo ProgramVersionInfo() {
    return {"Darvenix", FourPartVersion(DARVENIX_VERSION), "Pipe circuit pressure drop calculation"};
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
