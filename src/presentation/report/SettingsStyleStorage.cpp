// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/SettingsStyleStorage.h"

#include "base/Format.h"
#include "storage/settings/SettingsStore.h"

namespace dvx {

TSettingsStyleStorage::~TSettingsStyleStorage() {
    // Writes not flushed by their owner are given up rather than raised
    // from a destructor.
    pending_.clear();
}

std::string TSettingsStyleStorage::ReadText(std::string_view section, std::string_view key,
                                            std::string_view def) {
    return store_.ReadString(section, key, def);
}

int TSettingsStyleStorage::ReadInt(std::string_view section, std::string_view key, int def) {
    return store_.ReadInteger(section, key, def);
}

void TSettingsStyleStorage::WriteText(std::string_view section, std::string_view key,
                                      std::string_view value) {
    pending_[std::string(section)].push_back(std::string(key) + "=" + std::string(value));
}

void TSettingsStyleStorage::WriteInt(std::string_view section, std::string_view key, int value) {
    WriteText(section, key, Format("%d", {value}));
}

void TSettingsStyleStorage::Flush() {
    auto pending = std::move(pending_);
    pending_.clear();
    for (const auto& [section, lines] : pending) store_.WriteValues(section, lines);
}

} // namespace dvx
