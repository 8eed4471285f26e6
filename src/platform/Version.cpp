#include "platform/Version.h"

namespace dvx {

const VersionInfo& ProgramVersion() {
    static const VersionInfo info{
        "Darvenix",
        std::string(DARVENIX_VERSION) + ".0",
        "Pressure drop of liquid pipe circuits",
        "Copyright (C) 2026 the Darvenix developers",
    };
    return info;
}

} // namespace dvx
