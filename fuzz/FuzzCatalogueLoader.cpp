// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the catalogue loader (pipe and fittings files). The properties are in FileFuzzChecks.h; a
// violation aborts with its description.

#include "FileFuzzChecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = dvx::fuzz::CheckCatalogueLoader(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
