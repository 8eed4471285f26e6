// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/ProjectDetails.h"

#include "base/Format.h"
#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"

#include <filesystem>
#include <system_error>

namespace dvx {

TDetailsDefaults ReadDetailsDefaults(const SettingsStore& store, std::string_view registeredOwner,
                                     std::string_view registeredOrganization) {
    const char* section = settings::kFilePropertiesSection;
    return TDetailsDefaults{store.Read(settings::FileName), store.Read(settings::FileNumber),
                            store.ReadString(section, settings::kAuthor, registeredOwner),
                            store.ReadString(section, settings::kCompany, registeredOrganization)};
}

void WriteDetailsDefaults(SettingsStore& store, const TDetailsDefaults& d) {
    using namespace settings;
    // Keys and texts are written as "key=value" lines; a line break inside a
    // text would start a new key, so texts keep their first line only.
    auto firstLine = [](const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); };
    store.WriteString(kFilePropertiesSection, FileName.Key, firstLine(d.Name));
    store.WriteString(kFilePropertiesSection, FileNumber.Key, firstLine(d.Number));
    store.WriteString(kFilePropertiesSection, kAuthor, firstLine(d.Author));
    store.WriteString(kFilePropertiesSection, kCompany, firstLine(d.Company));
}

std::string ProjectNameOrDefault(std::string_view name) { return name.empty() ? "Project" : std::string(name); }

std::string ProjectNumberOrDefault(std::string_view number) { return number.empty() ? "001" : std::string(number); }

std::vector<std::string> CommentLines(std::string_view text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    return lines;
}

std::string CommentText(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    return text;
}

std::string FileSizeText(std::uintmax_t bytes) {
    return Format("%0.2f KB (%d bytes)", {static_cast<double>(bytes) / 1024.0, static_cast<long long>(bytes)});
}

std::optional<TFileFacts> ReadFileFacts(const std::string& path) {
    namespace fs = std::filesystem;
    if (path.empty()) return std::nullopt;
    std::error_code ec;
    const fs::path p(path);
    const fs::file_status status = fs::status(p, ec);
    if (ec || !fs::is_regular_file(status)) return std::nullopt;
    const std::uintmax_t size = fs::file_size(p, ec);
    if (ec) return std::nullopt;
    TFileFacts facts;
    facts.Name = p.filename().string();
    facts.Folder = fs::absolute(p, ec).parent_path().string();
    if (ec) facts.Folder = p.parent_path().string();
    facts.Size = size;
    facts.ReadOnly = (status.permissions() & fs::perms::owner_write) == fs::perms::none;
    facts.Hidden = !facts.Name.empty() && facts.Name.front() == '.';
    return facts;
}

} // namespace dvx
