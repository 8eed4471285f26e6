#pragma once
// The program's version information: product name, four-part version and
// description, as the title bar and the about box show them.

#include <string>

namespace dvx {

struct VersionInfo {
    std::string productName;  // "Darvenix"
    std::string version;      // four parts, e.g. "0.1.0.0"
    std::string description;  // one line on what the program does
    std::string copyright;
};

const VersionInfo& ProgramVersion();

} // namespace dvx
