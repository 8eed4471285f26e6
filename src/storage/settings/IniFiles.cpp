// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings/IniFiles.h"

#include "base/Numbers.h"
#include "base/Errors.h"
#include "base/Format.h"
#include "base/platform/AtomicWrite.h"
#include "base/platform/FileRead.h"


namespace dvx {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    try {
        return ReadFileText(path, kMaxIniFileBytes);
    } catch (const FileError&) {
        return std::nullopt;
    }
}

std::string TCustomIniFile::ReadString(std::string_view section, std::string_view key,
                                       std::string_view def) const {
    if (auto value = Doc().Value(section, key)) return *value;
    return std::string(def);
}

int TCustomIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    std::string text = ReadString(section, key, "");
    return TryStrToInt(text).value_or(def);
}

double TCustomIniFile::ReadFloat(std::string_view section, std::string_view key, double def) const {
    std::string text = ReadString(section, key, "");
    return TryStrToFloat(text).value_or(def);
}

bool TCustomIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Modify([&](IniDocument& doc) { doc.Set(section, key, value); });
}

void TCustomIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TCustomIniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
    WriteString(section, key, FloatToStr(value));
}

void TCustomIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(std::string_view section) const { return Doc().HasSection(section); }

bool TCustomIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return Doc().Value(section, key).has_value();
}

std::vector<std::string> TCustomIniFile::ReadSections() const { return Doc().Sections(); }

std::vector<std::string> TCustomIniFile::ReadSection(std::string_view section) const {
    return Doc().Keys(section);
}

std::vector<std::string> TCustomIniFile::ReadSectionValues(std::string_view section) const {
    return Doc().SectionLines(section);
}

void TCustomIniFile::EraseSection(std::string_view section) {
    Modify([&](IniDocument& doc) { doc.EraseSection(section); });
}

void TCustomIniFile::WriteSectionValues(std::string_view section, const std::vector<std::string>& lines) {
    Modify([&](IniDocument& doc) { doc.SetLines(section, lines); });
}

void TCustomIniFile::ReplaceSection(std::string_view section, const std::vector<std::string>& lines) {
    Modify([&](IniDocument& doc) { doc.ReplaceSection(section, lines); });
}

const IniDocument& TIniFile::Doc() const {
    const FileStamp stamp = StampOf(FileName());
    if (stamp_.exists && stamp == stamp_) return doc_;
    doc_ = LoadIniFile(FileName()).Doc;
    // A file that changed while it was read is read again next time.
    stamp_ = StampOf(FileName()) == stamp && StampSettled(stamp) ? stamp : FileStamp{};
    return doc_;
}

void TIniFile::Modify(const std::function<void(IniDocument&)>& change) {
    IniLoad load = LoadIniFile(FileName());
    // A file that exists but cannot be read would lose its content.
    if (!load.Error.empty()) throw FileError(Format("Unable to write to %s", {FileName()}));
    change(load.Doc);
    WriteIniText(FileName(), load.Doc.Text());
}

TMemIniFile::TMemIniFile(std::string fileName) : TCustomIniFile(std::move(fileName)) {
    IniLoad load = LoadIniFile(FileName());
    doc_ = std::move(load.Doc);
    loadError_ = std::move(load.Error);
    loadReason_ = std::move(load.Reason);
    missing_ = load.Missing;
}

void TMemIniFile::Modify(const std::function<void(IniDocument&)>& change) {
    change(doc_);
    modified_ = true;
}

void TMemIniFile::UpdateFile() {
    if (!modified_) return;
    if (!loadError_.empty()) throw FileError(Format("Unable to write to %s", {FileName()}));
    WriteIniText(FileName(), doc_.Text());
    modified_ = false;
}

} // namespace dvx
