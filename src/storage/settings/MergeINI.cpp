// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings/MergeINI.h"

#include "base/Errors.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "base/platform/Folders.h"
#include "storage/settings/IniFiles.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace dvx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDataFilesSection = "Data files";
constexpr const char* kRecordSection = "Merged";

std::string ExpandFolder(std::string item, const std::string& dataFolder, const std::string& programFolder) {
    for (auto [token, value] : {std::pair<std::string, const std::string*>{"%DATAFOLDER%", &dataFolder},
                                std::pair<std::string, const std::string*>{"%PROGRAMFOLDER%", &programFolder}}) {
        if (item.size() >= token.size() && SameIniName(std::string_view(item).substr(0, token.size()), token))
            item = *value + item.substr(token.size());
    }
    return item;
}

std::vector<std::string> SplitAtCommas(std::string_view value) {
    std::vector<std::string> items;
    for (;;) {
        auto comma = value.find(',');
        items.emplace_back(TrimBlanks(value.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        value.remove_prefix(comma + 1);
    }
    return items;
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::vector<std::string> WithHeader(const std::string& section, std::vector<std::string> lines) {
    lines.insert(lines.begin(), "[" + section + "]");
    return lines;
}

bool SameValueIgnoringCase(std::string_view a, std::string_view b) { return SameIniName(a, b); }

// The install section differs from the user section when one of its keys is
// missing in the user section or holds another value (letter case aside).
// Keys only the user section has do not count.
bool SectionDiffers(const TIniFile& user, const TIniFile& install, const std::string& section) {
    for (const std::string& key : install.ReadSection(section)) {
        if (!user.ValueExists(section, key)) return true;
        if (!SameValueIgnoringCase(user.ReadString(section, key, ""), install.ReadString(section, key, "")))
            return true;
    }
    return false;
}

} // namespace

std::string ContentFingerprint(const std::string& path) {
    auto content = ReadWholeFile(path);
    if (!content) return {};
    // 64-bit FNV-1a: stable across builds and platforms, unlike std::hash.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : *content) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char size[24], digits[17];
    auto sizeEnd = std::to_chars(size, size + sizeof size, content->size()).ptr;
    auto digitsEnd = std::to_chars(digits, digits + sizeof digits, hash, 16).ptr;
    return std::string(size, sizeEnd) + "-" + std::string(digits, digitsEnd);
}

void CopyFileKeepingTime(const std::string& source, const std::string& target) {
    auto content = ReadWholeFile(source);
    if (!content) throw FileError(Format("Unable to write to %s", {target}));
    CreatePrivateFolders(fs::path(target).parent_path().string()); // a failure shows as the write error
    std::error_code ec;
    WriteIniText(target, *content);
    auto time = fs::last_write_time(source, ec);
    if (!ec) fs::last_write_time(target, time, ec);
}

void TIniFileMerger::ReadConfiguration(const std::string& configFile, const std::string& dataFolder,
                                       const std::string& programFolder) {
    TMemIniFile config(configFile);
    for (const std::string& key : config.ReadSection(kDataFilesSection)) {
        std::vector<std::string> items = SplitAtCommas(config.ReadString(kDataFilesSection, key, ""));
        items.resize(std::max<std::size_t>(items.size(), 3));
        if (items[0].empty() || items[1].empty()) continue;
        userFiles_.push_back(ExpandFolder(items[0], dataFolder, programFolder) + key);
        installFiles_.push_back(ExpandFolder(items[1], dataFolder, programFolder) + key);
        spareItems_.push_back(items[2]);
    }
}

void TIniFileMerger::RemoveEntry(std::size_t index) {
    auto at = static_cast<std::ptrdiff_t>(index);
    userFiles_.erase(userFiles_.begin() + at);
    installFiles_.erase(installFiles_.begin() + at);
    spareItems_.erase(spareItems_.begin() + at);
}

void TIniFileMerger::BackUp(const std::string& userFile) {
    CopyFileKeepingTime(userFile, fs::path(userFile).replace_extension(".bak").string());
}

void TIniFileMerger::ProcessFiles() {
    for (std::size_t i = userFiles_.size(); i-- > 0;) {
        const std::string user = userFiles_[i];
        const std::string install = installFiles_[i];
        const bool haveUser = Exists(user);
        if (!Exists(install)) {
            if (haveUser) RemoveEntry(i);
            continue;
        }
        try {
            const std::string name = fs::path(user).filename().string();
            const std::string fingerprint = ContentFingerprint(install);
            TIniFile record((fs::path(user).parent_path() / kMergeRecordFile).string());
            auto remember = [&] { record.WriteString(kRecordSection, name, fingerprint); };
            if (haveUser) {
                if (!fingerprint.empty() && record.ReadString(kRecordSection, name, "") == fingerprint) {
                    RemoveEntry(i); // this version was dealt with before
                    continue;
                }
                std::error_code ec1, ec2;
                auto userTime = fs::last_write_time(user, ec1);
                auto installTime = fs::last_write_time(install, ec2);
                if (!ec1 && !ec2 && userTime == installTime) {
                    remember();
                    RemoveEntry(i);
                } else if (MergeIniFile(user, install)) {
                    remember();
                }
            } else {
                CopyFileKeepingTime(install, user);
                remember();
                RemoveEntry(i);
            }
        } catch (const FileError& e) {
            messages_.push_back(e.what());
        }
    }
}

bool TIniFileMerger::MergeIniFile(const std::string& userFile, const std::string& installFile) {
    TIniFile user(userFile);
    TIniFile install(installFile);
    const std::vector<std::string> userSections = user.ReadSections();
    const std::vector<std::string> installSections = install.ReadSections();
    bool decideLater = false;
    bool acceptAll = false;
    bool backedUp = false;
    std::unique_ptr<TInstallDataConfirm> dialog;
    // The user file is backed up once, just before its first change.
    auto beforeChange = [&] {
        if (!backedUp) BackUp(userFile);
        backedUp = true;
    };
    auto replace = [&](const std::string& section) {
        beforeChange();
        user.ReplaceSection(section, install.ReadSectionValues(section));
    };

    for (const std::string& section : installSections) {
        if (decideLater) break;
        bool userHasIt = std::any_of(userSections.begin(), userSections.end(),
                                     [&](const std::string& s) { return SameIniName(s, section); });
        if (!userHasIt) {
            beforeChange();
            user.WriteSectionValues(section, install.ReadSectionValues(section));
            continue;
        }
        if (!SectionDiffers(user, install, section)) continue;
        if (!dialog && confirm_) dialog = confirm_();
        if (acceptAll) {
            replace(section);
            continue;
        }
        TConfirmChange change;
        change.Caption = "Install notice: " + fs::path(userFile).filename().string();
        change.UserLines = WithHeader(section, user.ReadSectionValues(section));
        change.InstallLines = WithHeader(section, install.ReadSectionValues(section));
        int result = dialog ? dialog->Ask(change) : crDecideLater;
        switch (result) {
        case crUseInstall:
            replace(section);
            break;
        case crDecideLater:
            decideLater = true;
            break;
        case crAcceptAll:
            replace(section);
            acceptAll = true;
            break;
        default: // "Keep your data", or the dialog closed without an answer
            break;
        }
    }
    user.UpdateFile();
    return !decideLater;
}

std::vector<std::string> RunInstallDataMerge(const std::string& configFile, const std::string& dataFolder,
                                             const std::string& programFolder, TConfirmFactory confirm) {
    TIniFileMerger merger(std::move(confirm));
    merger.ReadConfiguration(configFile, dataFolder, programFolder);
    merger.ProcessFiles();
    return merger.Messages();
}

} // namespace dvx
