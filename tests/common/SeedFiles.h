// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seed files of one fuzz corpus (fuzz/corpus/<name>/), sorted, for the
// tests that replay them in the normal suite.

#include <algorithm>
#include <filesystem>
#include <vector>

namespace dvx::test {

inline std::vector<std::filesystem::path> SeedFiles(const char* corpus) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    const fs::path dir = fs::path(DARVENIX_SOURCE_DIR) / "fuzz" / "corpus" / corpus;
    if (fs::is_directory(dir))
        for (const auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace dvx::test
