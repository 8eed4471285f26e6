// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/catalogue/CatalogueFiles.h"

#include "engine/catalogue/Tables.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "base/Errors.h"
#include "base/platform/Folders.h"
#include "base/platform/IniFileIO.h"
#include "storage/catalogue/MaterialFiles.h"
#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"

#include <array>
#include <filesystem>
#include <system_error>

namespace dvx {

namespace {

std::string ErrorReading(const std::string& path) { return "Error reading " + path; }

// The message for a file that could not be read at all: a missing file is
// named alone, one that exists but cannot be read also with the reason.
std::string ErrorReading(const std::string& path, const IniLoad& load) {
    return load.Missing ? ErrorReading(path) : ErrorReading(path) + ": " + load.Reason;
}

// A number of the file, or current when the key is missing or does not
// convert.
double ReadFloat(const IniDocument& ini, std::string_view section, std::string_view key, double current) {
    auto text = ini.Value(section, key);
    return text ? TryStrToFloat(*text).value_or(current) : current;
}

// A positive value, or the value in memory. A zero or negative inside
// diameter or friction factor cannot be calculated with, so such a file value
// is treated like one that is not a number.
double ReadPositive(const IniDocument& ini, const char* section, const char* key, double current) {
    double value = ReadFloat(ini, section, key, current);
    return value > 0 ? value : current;
}

// Reads ListPrice and LabourTime of one material column.
void ReadPipeCosts(const IniDocument& ini, int material, TCatalogueTables& tables) {
    for (int b = 0; b < BoreCount; ++b) {
        auto m = static_cast<std::size_t>(material);
        auto i = static_cast<std::size_t>(b);
        tables.PipeListPrice[i][m] = ReadFloat(ini, BoreName[i], "ListPrice", tables.PipeListPrice[i][m]);
        tables.PipeLabourTime[i][m] = ReadFloat(ini, BoreName[i], "LabourTime", tables.PipeLabourTime[i][m]);
    }
}

void ReadSteelFile(const IniDocument& ini, TCatalogueTables& tables) {
    for (std::size_t i = 0; i < BoreCount; ++i) {
        TBoreRec& bore = tables.BoreTable[i];
        bore.ID = ReadPositive(ini, BoreName[i], "ID", bore.ID);
        bore.ff = ReadPositive(ini, BoreName[i], "ff", bore.ff);
        double mf = ReadFloat(ini, BoreName[i], "mf", bore.mf);
        if (mf >= 0) bore.mf = mf;
        auto b = static_cast<std::size_t>(i);
        tables.PipeListPrice[b][pmSteel] = ReadFloat(ini, BoreName[i], "ListPrice", tables.PipeListPrice[b][pmSteel]);
        tables.PipeLabourTime[b][pmSteel] = ReadFloat(ini, BoreName[i], "LabourTime", tables.PipeLabourTime[b][pmSteel]);
    }
}

// Stores the list's numbers from position 0 on, at most BoreCount of them.
// Returns false when an item did not convert; the positions before it are
// stored, the later ones keep their values.
bool ReadList(const std::string& text, std::array<double, BoreCount>& values) {
    std::vector<std::string> items = SplitCatalogueList(text);
    for (std::size_t i = 0; i < items.size() && i < values.size(); ++i) {
        auto value = TryStrToFloat(items[i]);
        if (!value) return false;
        values[i] = *value;
    }
    return true;
}

// Returns false when a price or labour item did not convert.
bool ReadFittingsFile(const IniDocument& ini, TCatalogueTables& tables) {
    bool ok = true;
    for (std::size_t t = 0; t < FittingCount; ++t) {
        const std::string& name = tables.FittingTable[t].FittingName;
        double c = ReadFloat(ini, name, "C", tables.FittingTable[t].C);
        if (c >= 0) tables.FittingTable[t].C = c;
        ok = ReadList(ini.Value(name, "Price").value_or(""), tables.FittingPrice[t]) && ok;
        ok = ReadList(ini.Value(name, "LabourTime").value_or(""), tables.FittingLabour[t]) && ok;
    }
    return ok;
}

void WritePipeCosts(IniDocument& ini, int material, const TCatalogueTables& tables) {
    auto m = static_cast<std::size_t>(material);
    for (std::size_t i = 0; i < BoreCount; ++i) {
        ini.Set(BoreName[i], "ListPrice", FloatToStr(tables.PipeListPrice[i][m]));
        ini.Set(BoreName[i], "LabourTime", FloatToStr(tables.PipeLabourTime[i][m]));
    }
}

// The file's document for a change; a file that exists but cannot be read is
// not replaced (its content would be lost).
IniDocument LoadForChange(const std::string& path) {
    IniLoad load = LoadIniFile(path);
    if (!load.Error.empty()) throw FileError(Format("Unable to write to %s", {path}));
    return std::move(load.Doc);
}

void PrepareFolder(const std::string& dataFolder) {
    CreatePrivateFolders(dataFolder); // a failure shows as the write error that follows
}

struct RoughnessKey {
    const TextSetting* setting;
    TPipeMaterial material;
};
constexpr std::array<RoughnessKey, MaterialCount> kRoughnessKeys = {{
    {&settings::Shed40Steel, pmSteel},
    {&settings::GalvIron, pmGalvIron},
    {&settings::DrawnTubing, pmDrawnTube},
}};

} // namespace

void ApplySteelCatalogue(const IniDocument& ini, TCatalogueTables& tables) { ReadSteelFile(ini, tables); }
void ApplyPipeCostCatalogue(const IniDocument& ini, int material, TCatalogueTables& tables) {
    ReadPipeCosts(ini, material, tables);
}
bool ApplyFittingsCatalogue(const IniDocument& ini, TCatalogueTables& tables) { return ReadFittingsFile(ini, tables); }

std::vector<std::string> SplitCatalogueList(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::vector<std::string> items;
    std::size_t p = 0;
    const std::size_t n = text.size();
    while (p < n && blank(text[p])) ++p;
    while (p < n) {
        std::string item;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            while (p < n && !blank(text[p]) && text[p] != ',') item += text[p++];
        }
        items.push_back(std::move(item));
        while (p < n && blank(text[p])) ++p;
        if (p < n && text[p] == ',') {
            if (p + 1 == n) items.emplace_back();
            ++p;
            while (p < n && blank(text[p])) ++p;
        }
    }
    return items;
}

std::string FormatCatalogueList(const double* values, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += Format("%0.2f,", {values[i]});
    return text;
}

std::vector<std::string> LoadCatalogues(const std::string& dataFolder, TCatalogueTables& tables) {
    std::vector<std::string> messages;
    struct PipeFile {
        const char* name;
        int material;
    };
    for (PipeFile file : {PipeFile{kSteelPipeFile, pmSteel}, PipeFile{kGalvIronPipeFile, pmGalvIron},
                          PipeFile{kDrawnTubePipeFile, pmDrawnTube}}) {
        std::string path = dataFolder + file.name;
        const IniLoad ini = LoadIniFile(path); // read and parsed once
        if (!ini.Read()) {
            messages.push_back(ErrorReading(path, ini));
            continue;
        }
        if (file.material == pmSteel)
            ReadSteelFile(ini.Doc, tables);
        else
            ReadPipeCosts(ini.Doc, file.material, tables);
    }
    std::string fittings = dataFolder + kPipeFittingsFile;
    const IniLoad fittingsIni = LoadIniFile(fittings);
    if (!fittingsIni.Read())
        messages.push_back(ErrorReading(fittings, fittingsIni));
    else if (!ReadFittingsFile(fittingsIni.Doc, tables))
        messages.push_back(ErrorReading(fittings));
    // The further materials, each from its own file.
    TMaterialLoad materials = LoadMaterialFiles(dataFolder);
    tables.Materials = std::move(materials.Materials);
    for (std::string& message : materials.Messages) messages.push_back(std::move(message));
    return messages;
}

void SaveCatalogues(const std::string& dataFolder, const TCatalogueTables& tables) {
    PrepareFolder(dataFolder);
    // Each file is changed in memory and replaced in one write, so a failure
    // never leaves a file with only some of its values written.
    struct PipeFile {
        const char* name;
        int material;
    };
    for (PipeFile file : {PipeFile{kSteelPipeFile, pmSteel}, PipeFile{kGalvIronPipeFile, pmGalvIron},
                          PipeFile{kDrawnTubePipeFile, pmDrawnTube}}) {
        const std::string path = dataFolder + file.name;
        IniDocument ini = LoadForChange(path);
        WritePipeCosts(ini, file.material, tables);
        WriteIniText(path, ini.Text());
    }
    const std::string path = dataFolder + kPipeFittingsFile;
    IniDocument ini = LoadForChange(path);
    for (std::size_t t = 0; t < FittingCount; ++t) {
        const std::string& name = tables.FittingTable[t].FittingName;
        ini.Set(name, "Price", FormatCatalogueList(tables.FittingPrice[t].data(), BoreCount));
        ini.Set(name, "LabourTime", FormatCatalogueList(tables.FittingLabour[t].data(), BoreCount));
    }
    WriteIniText(path, ini.Text());
}

void LoadRoughnessSettings(const SettingsStore& store, TCatalogueTables& tables) {
    for (const RoughnessKey& key : kRoughnessKeys)
        tables.MaterialRoughness[key.material] = StrToFloat(store.Read(*key.setting)) * 0.001;
}

void SaveRoughnessSettings(SettingsStore& store, const TCatalogueTables& tables) {
    for (const RoughnessKey& key : kRoughnessKeys)
        store.Write(*key.setting, FormatFloat("%0.6f", tables.MaterialRoughness[key.material] * 1000));
}

void LoadFittingsSettings(const SettingsStore& store, TCatalogueTables& tables) {
    for (TFittingRec& fitting : tables.FittingTable) {
        std::string text = store.ReadString(settings::kFittingsSection, fitting.FittingName,
                                            FormatFloat("%0.2f", fitting.C));
        fitting.C = StrToFloat(text);
    }
}

void SaveFittingsSettings(SettingsStore& store, const TCatalogueTables& tables) {
    std::vector<std::string> lines;
    for (const TFittingRec& fitting : tables.FittingTable)
        lines.push_back(fitting.FittingName + "=" + FormatFloat("%0.2f", fitting.C));
    store.WriteValues(settings::kFittingsSection, lines);
}

} // namespace dvx
