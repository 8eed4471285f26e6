// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace dvx {

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::optional<TFolders>& Fixed() {
    static std::optional<TFolders> folders;
    return folders;
}

} // namespace

std::string XdgFolderFor(const char* xdgValue, std::string_view home, std::string_view fallback) {
    if (xdgValue != nullptr && xdgValue[0] == '/') return WithSlash(xdgValue);
    return WithSlash(WithSlash(std::string(home)) + std::string(fallback));
}

std::string FolderOf(std::string_view filePath) {
    auto slash = filePath.rfind('/');
    if (slash == std::string_view::npos) return "./";
    return std::string(filePath.substr(0, slash + 1));
}

std::string BaseNameOf(std::string_view filePath) {
    auto slash = filePath.rfind('/');
    std::string_view name = slash == std::string_view::npos ? filePath : filePath.substr(slash + 1);
    auto dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

std::string SuiteFolderFor(std::string_view programFolder, std::string_view programsFolder) {
    const std::string upper = Upper(programFolder);
    for (std::string_view word : {std::string_view("QUELLSTRAND"), std::string_view("4QV")}) {
        auto at = upper.find(word);
        if (at != std::string::npos)
            return std::string(programFolder.substr(0, at + word.size())) + "/";
    }
    return WithSlash(std::string(programsFolder)) + "Quellstrand/";
}

std::string DataFolderFor(std::string_view suiteFolder) {
    return WithSlash(std::string(suiteFolder)) + "Common Files/";
}

TFolders FoldersFor(std::string_view programFolder, std::string_view programsFolder) {
    TFolders f;
    f.ProgramFolder = WithSlash(std::string(programFolder));
    f.SuiteFolder = SuiteFolderFor(f.ProgramFolder, programsFolder);
    f.DataFolder = DataFolderFor(f.SuiteFolder);
    return f;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return WithSlash(home);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr)
        return WithSlash(found->pw_dir);
    return "/";
}

std::string UserConfigFolder() { return XdgFolderFor(std::getenv("XDG_CONFIG_HOME"), HomeFolder(), ".config"); }

std::string UserDataFolder() { return XdgFolderFor(std::getenv("XDG_DATA_HOME"), HomeFolder(), ".local/share"); }

std::string UserStateFolder() { return XdgFolderFor(std::getenv("XDG_STATE_HOME"), HomeFolder(), ".local/state"); }
std::string UserCacheFolder() { return XdgFolderFor(std::getenv("XDG_CACHE_HOME"), HomeFolder(), ".cache"); }

std::string ProgramFilePath() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

std::string ProgramFileName() { return BaseNameOf(ProgramFilePath()); }

std::string ProgramsFolder() { return UserDataFolder(); }

std::string ProgramFolder() {
    if (Fixed()) return Fixed()->ProgramFolder;
    return FolderOf(ProgramFilePath());
}

std::string SuiteFolder() {
    if (Fixed()) return Fixed()->SuiteFolder;
    return SuiteFolderFor(ProgramFolder(), ProgramsFolder());
}

std::string DataFolder() {
    if (Fixed()) return Fixed()->DataFolder;
    return DataFolderFor(SuiteFolder());
}

void FixFolders(TFolders folders) { Fixed() = std::move(folders); }

bool CreatePrivateFolders(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = fs::path(folder).lexically_normal();
    fs::path path;
    for (const fs::path& part : target) {
        if (part.empty()) continue;
        path /= part;
        if (fs::is_directory(path, ec)) continue;
        if (!fs::create_directory(path, ec) && !fs::is_directory(path, ec)) return false;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace, ec);
    }
    return fs::is_directory(target, ec);
}

} // namespace dvx
