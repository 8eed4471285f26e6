// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A temporary folder for one test, removed afterwards, and a test home:
// every test program that includes this header runs with HOME and the XDG
// folders pointing into a temporary folder, never at the real ones.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace dvx::test {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "dvx-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing "/".
    std::string Path() const { return path_.string() + "/"; }
    std::string operator/(const std::string& name) const { return Path() + name; }

private:
    std::filesystem::path path_;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// Points HOME and the XDG folders at a temporary home before any test runs.
inline bool IsolateHome() {
    static TempFolder home;
    ::setenv("HOME", home.Path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (home / ".local/state").c_str(), 1);
    return true;
}
inline const bool kHomeIsolated = IsolateHome();

} // namespace dvx::test
