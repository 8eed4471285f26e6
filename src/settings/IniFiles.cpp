// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/IniFiles.h"

#include "common/Numbers.h"
#include "settings/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace dvx {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string content;
    char buffer[8192];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

std::string TCustomIniFile::ReadString(std::string_view section, std::string_view key,
                                       std::string_view def) const {
    if (auto value = Load().Value(section, key)) return *value;
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

bool TCustomIniFile::SectionExists(std::string_view section) const { return Load().HasSection(section); }

bool TCustomIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return Load().Value(section, key).has_value();
}

std::vector<std::string> TCustomIniFile::ReadSections() const { return Load().Sections(); }

std::vector<std::string> TCustomIniFile::ReadSection(std::string_view section) const {
    return Load().Keys(section);
}

std::vector<std::string> TCustomIniFile::ReadSectionValues(std::string_view section) const {
    return Load().SectionLines(section);
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

IniDocument TIniFile::Load() const {
    auto text = ReadWholeFile(FileName());
    return text ? IniDocument::Parse(*text) : IniDocument();
}

void TIniFile::Modify(const std::function<void(IniDocument&)>& change) {
    IniDocument doc = Load();
    change(doc);
    WriteFileAtomically(FileName(), doc.Text());
}

TMemIniFile::TMemIniFile(std::string fileName) : TCustomIniFile(std::move(fileName)) {
    if (auto text = ReadWholeFile(FileName())) doc_ = IniDocument::Parse(*text);
}

void TMemIniFile::Modify(const std::function<void(IniDocument&)>& change) {
    change(doc_);
    modified_ = true;
}

void TMemIniFile::UpdateFile() {
    if (!modified_) return;
    WriteFileAtomically(FileName(), doc_.Text());
    modified_ = false;
}

} // namespace dvx
