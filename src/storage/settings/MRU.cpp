// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings/MRU.h"

#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"

#include <algorithm>

namespace dvx {

void TRecentFiles::Add(std::string_view path) {
    if (path.empty()) return;
    auto it = std::find(entries_.begin(), entries_.end(), path);
    if (it != entries_.end()) entries_.erase(it);
    entries_.insert(entries_.begin(), std::string(path));
    if (entries_.size() > kHeld) entries_.resize(kHeld);
}

void TRecentFiles::Remove(std::string_view path) {
    auto it = std::find(entries_.begin(), entries_.end(), path);
    if (it != entries_.end()) entries_.erase(it);
}

void TRecentFiles::Load(const SettingsStore& store) {
    for (int key = static_cast<int>(kHeld) - 1; key >= 0; --key) {
        std::string path = store.ReadString(settings::kMRUSection, std::to_string(key), "");
        if (!path.empty()) Add(path);
    }
}

void TRecentFiles::Save(SettingsStore& store) const {
    // Keys left over from a longer list would bring removed entries back at
    // the next start, so the section is written afresh.
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < entries_.size(); ++i) lines.push_back(std::to_string(i) + "=" + entries_[i]);
    store.ReplaceSection(settings::kMRUSection, lines);
}

void TRecentFiles::SetCurrentFile(std::string_view previousFile, std::string_view newFile) {
    Add(previousFile);
    Remove(newFile);
}

std::vector<std::string> TRecentFiles::Visible() const {
    std::size_t n = std::min(entries_.size(), kVisible);
    return {entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(n)};
}

} // namespace dvx
