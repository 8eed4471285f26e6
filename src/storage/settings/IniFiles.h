// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// INI files: the catalogue files, the merge configuration and the settings
// store are all read and written through these classes.
//
// TIniFile goes straight to the file: every read sees the file as it is now
// (parsed again only when its stamp changed)
// and every write rewrites it at once (atomically, see base/platform/AtomicWrite.h),
// keeping comments, blank lines and order. TMemIniFile reads the file once
// into memory; its writes stay in memory until UpdateFile. Files are read
// through base/platform/FileRead.h with the INI size cap: a file that is missing
// reads as empty; one that exists but cannot be read (no permission, not a
// regular file, too large) also reads as empty, and the reason is kept in
// LoadError so that the caller can report it. Such a file is never
// overwritten: a write to it fails.
//
// Reading rules: names are matched without regard to letter case, blanks
// around names and values are ignored, a blank name reads as the default,
// values are read up to 2047 characters, and a number that does not convert
// reads as the default (integers also in "0x" hexadecimal). Numbers are
// written in the shortest general form with "." as the decimal separator.
// A write that fails raises FileError "Unable to write to <file name>".

#include "base/IniDocument.h"
#include "base/platform/FileStamp.h"
#include "base/platform/IniFileIO.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

class TCustomIniFile {
public:
    explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    double ReadFloat(std::string_view section, std::string_view key, double def) const;
    // Any non-zero integer is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteFloat(std::string_view section, std::string_view key, double value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::vector<std::string> ReadSections() const;
    // The key names of a section, in file order.
    std::vector<std::string> ReadSection(std::string_view section) const;
    // The section as "key=value" lines, in file order.
    std::vector<std::string> ReadSectionValues(std::string_view section) const;
    void EraseSection(std::string_view section);
    // Writes each line holding "=" as key=value into the section (text before
    // the first "=" is the key); other lines are skipped.
    void WriteSectionValues(std::string_view section, const std::vector<std::string>& lines);
    // Erases the section and writes lines into it, as one change: the section
    // keeps its place in the file and is never seen half replaced.
    void ReplaceSection(std::string_view section, const std::vector<std::string>& lines);
    // Makes every write so far durable on disk.
    virtual void UpdateFile() = 0;

protected:
    // The document to read from (TIniFile reads the file again for each
    // call; the reference stays valid until the next call).
    virtual const IniDocument& Doc() const = 0;
    // Applies one change to the document and stores it.
    virtual void Modify(const std::function<void(IniDocument&)>& change) = 0;

private:
    std::string fileName_;
};

// Straight to the file: no state between calls.
class TIniFile : public TCustomIniFile {
public:
    using TCustomIniFile::TCustomIniFile;
    void UpdateFile() override {} // every write is on disk when it returns

private:
    // The last parse, kept while the file's stamp is unchanged, so that
    // reading many keys parses the file once.
    mutable IniDocument doc_;
    mutable FileStamp stamp_;

protected:
    const IniDocument& Doc() const override;
    void Modify(const std::function<void(IniDocument&)>& change) override;
};

// An in-memory copy of the whole file, written back by UpdateFile.
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(std::string fileName);
    void UpdateFile() override;

protected:
    const IniDocument& Doc() const override { return doc_; }
    void Modify(const std::function<void(IniDocument&)>& change) override;

public:
    // Why the file could not be read when it exists ("" when it was read or
    // does not exist).
    const std::string& LoadError() const { return loadError_; }
    // The file did not exist when it was read.
    bool Missing() const { return missing_; }
    // LoadError without the file name, e.g. "Permission denied".
    const std::string& LoadReason() const { return loadReason_; }

private:
    IniDocument doc_;
    std::string loadError_;
    std::string loadReason_;
    bool missing_ = false;
    bool modified_ = false;
};

// The whole content of a file (read with the INI size cap), or nothing when
// it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

} // namespace dvx
