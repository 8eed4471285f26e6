// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/catalogue/UserMaterial.h"

#include "base/IniDocument.h"
#include "base/platform/AtomicWrite.h"
#include "storage/catalogue/MaterialFiles.h"

#include <cctype>
#include <cmath>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>

namespace dvx {

namespace {

// Letters and digits of the name, the rest as "_": a file name on any system.
std::string FileStem(const std::string& name) {
    std::string stem = "UserMaterial-";
    for (unsigned char c : name) stem += std::isalnum(c) != 0 && c < 0x80 ? static_cast<char>(c) : '_';
    return stem;
}

// The first of STEM.ini, STEM-2.ini, … that does not exist yet.
std::optional<std::string> FreeFileName(const std::string& folder, const std::string& stem) {
    for (int n = 1; n <= 999; ++n) {
        const std::string name = stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".ini";
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::path(folder + name), ec) && !ec) return name;
    }
    return std::nullopt;
}

} // namespace

TUserMaterialResult AddUserMaterial(const std::string& dataFolder, TMaterialTable material, TCatalogueTables& tables) {
    TUserMaterialResult result;
    for (int code = 0; code < MaterialCount; ++code)
        if (SameIniName(BuiltInMaterialName(code), material.Name)) result.Message = "'" + material.Name + "' is taken";
    for (const TMaterialTable& m : tables.Materials)
        if (SameIniName(m.Name, material.Name)) result.Message = "'" + material.Name + "' is taken";
    if (!result.Message.empty()) return result;

    const std::optional<std::string> file = FreeFileName(dataFolder, FileStem(material.Name));
    if (!file) {
        result.Message = "no free file name for '" + material.Name + "' in " + dataFolder;
        return result;
    }
    for (TMaterialBore& b : material.Bores)
        if (!(b.ff > 0) && material.Roughness > 0 && b.ID > 0)
            b.ff = 0.25 / std::pow(std::log10(material.Roughness / b.ID / 3.7), 2);
    // The file's own reader is the check: what it refuses is never written.
    const std::string text = MaterialFileText(material);
    std::string error;
    std::optional<TMaterialTable> checked = ReadMaterialFile(IniDocument::Parse(text), *file, error);
    if (!checked) {
        result.Message = error;
        return result;
    }
    // A line break in a name or label would read back as another value (or
    // another key): such a text cannot be stored.
    bool same = checked->Name == material.Name && checked->Bores.size() == material.Bores.size();
    for (std::size_t i = 0; same && i < material.Bores.size(); ++i) same = checked->Bores[i].Label == material.Bores[i].Label;
    if (!same) {
        result.Message = *file + ": a name or label with a line break or blanks at its ends cannot be stored";
        return result;
    }
    try {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(dataFolder), ec);
        WriteFileAtomically(std::filesystem::path(dataFolder + *file), text);
    } catch (const std::exception& e) {
        result.Message = "Error writing " + dataFolder + *file + ": " + e.what();
        return result;
    }
    tables.Materials.push_back(std::move(*checked));
    result.Added = true;
    result.FileName = *file;
    return result;
}

} // namespace dvx
