// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report styles' view of the program's settings store. Writes are
// collected per section and written in one change of the store file when
// the style is complete (Flush).

#include "presentation/report/StyleStorage.h"

#include <map>
#include <string>
#include <vector>

namespace dvx {

class SettingsStore;

class TSettingsStyleStorage : public TStyleStorage {
public:
    explicit TSettingsStyleStorage(SettingsStore& store) : store_(store) {}
    ~TSettingsStyleStorage() override;

    std::string ReadText(std::string_view section, std::string_view key,
                         std::string_view def) override;
    int ReadInt(std::string_view section, std::string_view key, int def) override;
    void WriteText(std::string_view section, std::string_view key,
                   std::string_view value) override;
    void WriteInt(std::string_view section, std::string_view key, int value) override;
    // Raises the store's error when the file cannot be written.
    void Flush() override;

private:
    SettingsStore& store_;
    std::map<std::string, std::vector<std::string>> pending_; // section → "key=value"
};

} // namespace dvx
