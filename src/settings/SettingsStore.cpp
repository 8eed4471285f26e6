// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsStore.h"

#include "common/Numbers.h"
#include "platform/Folders.h"
#include "settings/IniFiles.h"

#include <filesystem>
#include <system_error>

namespace dvx {

std::string SettingsStore::FileNameFor(std::string_view programName) {
    return UserConfigFolder() + "Quellstrand/" + std::string(programName) + ".ini";
}

std::string SettingsStore::ReadString(std::string_view section, std::string_view key,
                                      std::string_view def) const {
    return TIniFile(fileName_).ReadString(section, key, def);
}

int SettingsStore::ReadInteger(std::string_view section, std::string_view key, int def) const {
    return TIniFile(fileName_).ReadInteger(section, key, def);
}

bool SettingsStore::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return TIniFile(fileName_).ReadBool(section, key, def);
}

double SettingsStore::ReadFloat(std::string_view section, std::string_view key, double def) const {
    return TIniFile(fileName_).ReadFloat(section, key, def);
}

void SettingsStore::PrepareFolder() const {
    std::error_code ec; // a failure shows as the write error that follows
    std::filesystem::create_directories(std::filesystem::path(fileName_).parent_path(), ec);
}

void SettingsStore::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    PrepareFolder();
    TIniFile(fileName_).WriteString(section, key, value);
}

void SettingsStore::WriteInteger(std::string_view section, std::string_view key, int value) {
    PrepareFolder();
    TIniFile(fileName_).WriteInteger(section, key, value);
}

void SettingsStore::WriteBool(std::string_view section, std::string_view key, bool value) {
    PrepareFolder();
    TIniFile(fileName_).WriteBool(section, key, value);
}

void SettingsStore::WriteFloat(std::string_view section, std::string_view key, double value) {
    PrepareFolder();
    TIniFile(fileName_).WriteString(section, key, FloatToStr17(value));
}

void SettingsStore::WriteValues(std::string_view section, const std::vector<std::string>& lines) {
    PrepareFolder();
    TIniFile(fileName_).WriteSectionValues(section, lines);
}

void SettingsStore::ReplaceSection(std::string_view section, const std::vector<std::string>& lines) {
    PrepareFolder();
    TIniFile(fileName_).ReplaceSection(section, lines);
}

bool SettingsStore::ValueExists(std::string_view section, std::string_view key) const {
    return TIniFile(fileName_).ValueExists(section, key);
}

void SettingsStore::EraseSection(std::string_view section) {
    TIniFile ini(fileName_);
    if (ini.SectionExists(section)) ini.EraseSection(section);
}

namespace {
SettingsStore& AppStore() {
    static SettingsStore store(SettingsStore::FileNameFor("darvenix"));
    return store;
}
} // namespace

SettingsStore& AppSettings() { return AppStore(); }
void SetAppSettings(SettingsStore store) { AppStore() = std::move(store); }

} // namespace dvx
