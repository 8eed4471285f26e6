// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-user settings store: sections of named, typed values kept in one
// INI file per user, $XDG_CONFIG_HOME (or ~/.config) + "Quellstrand/" + the
// program file's name + ".ini". Nothing holds the file open.
//
// Reads see the file as it is now: the store keeps the parsed file and parses
// it again only when the file changed on disk (another identity, size or
// time), so reading many keys costs one parse. A missing or unreadable value
// gives the caller's default; the store never reports a missing setting.
// A file that exists but cannot be read is named by LoadProblem.
//
// Writes merge: each write takes an advisory lock (flock on the file's
// folder), reads the file as it is now, applies only the keys of that write
// and replaces the file atomically, so two programs writing different keys at
// the same time never lose each other's. Writing creates the section, the
// file and its folder; a settings file that is a symbolic link stays one and
// the file it names is updated. A file that exists but cannot be read is never
// overwritten: the write fails with "Unable to write to <file>".
//
// Stored forms: text as it is; integers in decimal; booleans as 0 or 1 (any
// non-zero integer reads as true); floating point with 17 significant
// digits, so a value reads back bit for bit.

#include "storage/settings/SettingsKeys.h"

#include <functional>
#include <memory>

#include <string>
#include <string_view>
#include <vector>

namespace dvx {

class IniDocument;

class SettingsStore {
public:
    // A store kept in the given file (tests and other programs pick their own).
    explicit SettingsStore(std::string fileName) : fileName_(std::move(fileName)) {}

    // The store file of the named program: <config folder>/Quellstrand/<programName>.ini.
    static std::string FileNameFor(std::string_view programName);

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    double ReadFloat(std::string_view section, std::string_view key, double def) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void WriteFloat(std::string_view section, std::string_view key, double value);

    // Writes "key=value" lines into the section in one change of the file.
    void WriteValues(std::string_view section, const std::vector<std::string>& lines);
    // Replaces the whole section by "key=value" lines in one change.
    void ReplaceSection(std::string_view section, const std::vector<std::string>& lines);

    bool ValueExists(std::string_view section, std::string_view key) const;
    void EraseSection(std::string_view section);

    // Why the settings file exists but could not be read, e.g.
    // "Cannot open <file>: Permission denied"; "" when it was read or is
    // missing.
    std::string LoadProblem() const;
    // The line number (from 1) of the key in the file, 0 when it is not there.
    std::size_t LineOf(std::string_view section, std::string_view key) const;
    // Where a setting stands, for messages: "<file> [Section] Key (line N)",
    // without the line when the key is not in the file.
    std::string Where(std::string_view section, std::string_view key) const;

    // The keys of the settings table, with their defaults.
    std::string Read(const TextSetting& s) const { return ReadString(s.Section, s.Key, s.Default); }
    bool Read(const BoolSetting& s) const { return ReadBool(s.Section, s.Key, s.Default); }
    double Read(const FloatSetting& s) const { return ReadFloat(s.Section, s.Key, s.Default); }
    int Read(const IntSetting& s) const { return ReadInteger(s.Section, s.Key, s.Default); }
    void Write(const TextSetting& s, std::string_view value) { WriteString(s.Section, s.Key, value); }
    void Write(const BoolSetting& s, bool value) { WriteBool(s.Section, s.Key, value); }
    void Write(const FloatSetting& s, double value) { WriteFloat(s.Section, s.Key, value); }
    void Write(const IntSetting& s, int value) { WriteInteger(s.Section, s.Key, value); }

private:
    struct Snapshot;
    // The file as it is now, parsed again only when it changed.
    std::shared_ptr<const Snapshot> Current() const;
    // Applies change to the file under the lock and stores it atomically.
    void Modify(const std::function<void(IniDocument&)>& change);
    std::string fileName_;
    mutable std::shared_ptr<const Snapshot> snapshot_;
};

// The store of the running program, fixed at start-up (storage/startup/Startup.h);
// until then the store of a program named "darvenix".
SettingsStore& AppSettings();
void SetAppSettings(SettingsStore store);

} // namespace dvx
