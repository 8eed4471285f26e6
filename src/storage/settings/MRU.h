// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recent-files list (section "MRU" of the settings store): up to six
// project paths, the most recent first. Five are shown in the "&Reopen..."
// menu; a sixth is held hidden so that it can move up when another entry
// leaves. Paths are kept and compared exactly as given: the file system is
// case-sensitive, so a lower-cased path would name a file that does not exist.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

class SettingsStore;

class TRecentFiles {
public:
    static constexpr std::size_t kVisible = 5; // entries shown in the menu
    static constexpr std::size_t kHeld = 6;    // entries kept, the last one hidden

    // Puts path at the top, moving it there when held already;
    // an empty path is ignored. A seventh entry falls off the end.
    void Add(std::string_view path);
    // Removes path when held; a hidden sixth entry becomes the
    // fifth visible one.
    void Remove(std::string_view path);

    // Reads keys "5" down to "0" and adds each non-empty one, so "0" ends at
    // the top.
    void Load(const SettingsStore& store);
    // Writes every entry, visible or hidden, as "0", "1", … in list order.
    void Save(SettingsStore& store) const;

    // A project becomes the current file (opened, or saved under a name):
    // the previous file joins the list and the new one leaves it.
    void SetCurrentFile(std::string_view previousFile, std::string_view newFile);

    const std::vector<std::string>& Entries() const { return entries_; }
    // The entries shown in the menu (at most five).
    std::vector<std::string> Visible() const;

private:
    std::vector<std::string> entries_;
};

} // namespace dvx
