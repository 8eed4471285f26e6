// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project details without their dialog: the user's defaults for name,
// number, author and organisation, the project name and number put in when
// they are empty, the comments as lines, and the facts about a project file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

class SettingsStore;

// Name, number, author and organisation as kept in "File Properties".
struct TDetailsDefaults {
    std::string Name;
    std::string Number;
    std::string Author;
    std::string Company;
};

// The defaults in force; a missing "Author" or "Company" gives the
// platform's registered owner or organisation (passed in, read once at
// start-up).
TDetailsDefaults ReadDetailsDefaults(const SettingsStore& store, std::string_view registeredOwner,
                                     std::string_view registeredOrganization);
// Writes "Name", "Number", "Author" and "Company".
void WriteDetailsDefaults(SettingsStore& store, const TDetailsDefaults& defaults);

// "Project" when the name is empty, "001" when the number is.
std::string ProjectNameOrDefault(std::string_view name);
std::string ProjectNumberOrDefault(std::string_view number);

// The comments box text as the circuit's description lines and back. An
// empty text is no line at all; CR LF and CR count as line breaks.
std::vector<std::string> CommentLines(std::string_view text);
std::string CommentText(const std::vector<std::string>& lines);

// "%0.2f KB (%d bytes)": size / 1024 and the size in bytes.
std::string FileSizeText(std::uintmax_t bytes);

// What the "General" tab shows of a file besides its times and icon. The
// attributes follow this platform: read-only when the owner may not write
// the file, hidden when its name starts with a dot; archive and system do
// not exist here and stay false.
struct TFileFacts {
    std::string Name;   // file name part
    std::string Folder; // folder of the file
    std::uintmax_t Size = 0; // bytes
    bool ReadOnly = false;
    bool Hidden = false;
    bool Archive = false;
    bool System = false;
};

// The facts of an existing regular file; none when it cannot be found or
// read.
std::optional<TFileFacts> ReadFileFacts(const std::string& path);

} // namespace dvx
