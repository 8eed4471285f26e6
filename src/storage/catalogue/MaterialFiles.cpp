// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/catalogue/MaterialFiles.h"

#include "base/Format.h"
#include "base/IniDocument.h"
#include "base/Numbers.h"
#include "base/platform/IniFileIO.h"
#include "engine/catalogue/Tables.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace dvx {

namespace {

constexpr const char* kMaterialSection = "Material";
// More bores than any standard lists; a file beyond it is refused, not read on.
constexpr int kMaxMaterialBores = 200;

std::string Where(const std::string& file, std::string_view section, std::string_view key) {
    return file + " [" + std::string(section) + "] " + std::string(key);
}

// A required positive number: false with the error when it is missing, not
// a number, zero or negative.
bool ReadRequiredPositive(const IniDocument& ini, const std::string& file, std::string_view section,
                          std::string_view key, double& value, std::string& error) {
    const std::optional<std::string> text = ini.Value(section, key);
    if (!text) {
        error = Where(file, section, key) + ": missing";
        return false;
    }
    const std::optional<double> number = TryStrToFloat(*text);
    if (!number || !std::isfinite(*number)) {
        error = Where(file, section, key) + ": '" + *text + "' is not a number";
        return false;
    }
    if (*number <= 0) {
        error = Where(file, section, key) + ": " + *text + " is not above zero";
        return false;
    }
    value = *number;
    return true;
}

// An optional number: the default when missing; false with the error when
// it is there and not a number.
bool ReadOptional(const IniDocument& ini, const std::string& file, std::string_view section, std::string_view key,
                  double& value, std::string& error) {
    const std::optional<std::string> text = ini.Value(section, key);
    if (!text) return true;
    const std::optional<double> number = TryStrToFloat(*text);
    if (!number || !std::isfinite(*number)) {
        error = Where(file, section, key) + ": '" + *text + "' is not a number";
        return false;
    }
    value = *number;
    return true;
}

} // namespace

std::optional<TMaterialTable> ReadMaterialFile(const IniDocument& ini, const std::string& fileName,
                                               std::string& error) {
    TMaterialTable m;
    m.File = fileName;
    m.Name = ini.Value(kMaterialSection, "Name").value_or("");
    if (m.Name.empty()) {
        error = Where(fileName, kMaterialSection, "Name") + ": missing";
        return std::nullopt;
    }
    if (!ReadRequiredPositive(ini, fileName, kMaterialSection, "Roughness", m.Roughness, error)) return std::nullopt;
    for (int b = 1; ini.HasSection("Bore" + std::to_string(b)); ++b) {
        const std::string section = "Bore" + std::to_string(b);
        if (b > kMaxMaterialBores) {
            error = fileName + " [" + section + "]: more than " + std::to_string(kMaxMaterialBores) + " bores";
            return std::nullopt;
        }
        TMaterialBore bore;
        bore.Label = ini.Value(section, "Label").value_or("");
        if (bore.Label.empty()) {
            error = Where(fileName, section, "Label") + ": missing";
            return std::nullopt;
        }
        if (!ReadRequiredPositive(ini, fileName, section, "ID", bore.ID, error) ||
            !ReadRequiredPositive(ini, fileName, section, "mf", bore.mf, error))
            return std::nullopt;
        // A bore without a starting friction factor starts from the fully
        // rough one of its relative roughness.
        bore.ff = 0.25 / std::pow(std::log10(m.Roughness / bore.ID / 3.7), 2);
        if (!ReadOptional(ini, fileName, section, "ff", bore.ff, error) ||
            !ReadOptional(ini, fileName, section, "ListPrice", bore.ListPrice, error) ||
            !ReadOptional(ini, fileName, section, "LabourTime", bore.LabourTime, error))
            return std::nullopt;
        if (!(bore.ff > 0)) {
            error = Where(fileName, section, "ff") + ": not above zero";
            return std::nullopt;
        }
        if (!m.Bores.empty() && bore.ID >= m.Bores.back().ID) {
            error = Where(fileName, section, "ID") + ": not smaller than the bore before it";
            return std::nullopt;
        }
        m.Bores.push_back(std::move(bore));
    }
    if (m.Bores.empty()) {
        error = fileName + " [Bore1]: missing";
        return std::nullopt;
    }
    return m;
}

std::string MaterialFileText(const TMaterialTable& material) {
    std::string text = "; Darvenix pipe material.\n[Material]\nName=" + material.Name +
                       "\nRoughness=" + FloatToStr(material.Roughness) + "\n";
    for (std::size_t i = 0; i < material.Bores.size(); ++i) {
        const TMaterialBore& b = material.Bores[i];
        text += "\n[Bore" + std::to_string(i + 1) + "]\nLabel=" + b.Label + "\nID=" + FloatToStr(b.ID) +
                "\nff=" + FloatToStr(b.ff) + "\nmf=" + FloatToStr(b.mf) + "\nListPrice=" + FloatToStr(b.ListPrice) +
                "\nLabourTime=" + FloatToStr(b.LabourTime) + "\n";
    }
    return text;
}

TMaterialLoad LoadMaterialFiles(const std::string& dataFolder) {
    TMaterialLoad load;
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dataFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() == ".ini") names.push_back(path.filename().string());
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const IniLoad file = LoadIniFile(dataFolder + name);
        if (!file.Read() || !file.Doc.HasSection(kMaterialSection)) continue;
        std::string error;
        std::optional<TMaterialTable> material = ReadMaterialFile(file.Doc, name, error);
        if (!material) {
            load.Messages.push_back("Pipe material not used: " + error);
            continue;
        }
        bool taken = false;
        for (int code = 0; code < MaterialCount; ++code) taken = taken || SameIniName(BuiltInMaterialName(code), material->Name);
        for (const TMaterialTable& earlier : load.Materials) taken = taken || SameIniName(earlier.Name, material->Name);
        if (taken) {
            load.Messages.push_back("Pipe material not used: " + Where(name, kMaterialSection, "Name") + ": '" +
                                    material->Name + "' is taken");
            continue;
        }
        load.Materials.push_back(std::move(*material));
    }
    return load;
}

} // namespace dvx
