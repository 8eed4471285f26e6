// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/startup/Startup.h"

#include "storage/catalogue/CatalogueFiles.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "engine/fluid/Refrig.h"
#include "storage/settings/Defaults.h"
#include "storage/settings/MergeINI.h"
#include "storage/settings/SettingsStore.h"

#include <filesystem>
#include <system_error>

namespace dvx {
namespace {

// The folder a start that stages nothing reads the data files from: the
// user's data folder once it exists (the user's edited files are in force
// there), otherwise the install folder the merge configuration names.
std::string ReadOnlyDataFolder(const TStartResult& result) {
    std::error_code ec;
    if (std::filesystem::is_directory(result.Folders.DataFolder, ec)) return result.Folders.DataFolder;
    TIniFileMerger merger(DecideLaterAlways());
    merger.ReadConfiguration(result.MergeConfiguration, result.Folders.DataFolder, result.Folders.ProgramFolder);
    if (merger.InstallFiles().empty()) return result.Folders.DataFolder;
    return FolderOf(merger.InstallFiles().front());
}

} // namespace

TStartResult StartCore(const TStartOptions& options, const TProjectContext& project) {
    TCatalogueTables& tables = project.Tables;
    TStartResult result;
    const std::string programName = options.ProgramName.empty() ? ProgramFileName() : options.ProgramName;
    const std::string programFolder = options.ProgramFolder.empty() ? ProgramFolder() : options.ProgramFolder;
    result.Folders = FoldersFor(programFolder, ProgramsFolder());
    result.SettingsFile =
        options.SettingsFile.empty() ? SettingsStore::FileNameFor(programName) : options.SettingsFile;
    auto note = [&](const std::vector<std::string>& messages) {
        result.Messages.insert(result.Messages.end(), messages.begin(), messages.end());
    };

    // 1. The merge, before any data file is read.
    result.MergeConfiguration = result.Folders.ProgramFolder + programName + ".ini";
    if (options.StageData) {
        note(RunInstallDataMerge(result.MergeConfiguration, result.Folders.DataFolder, result.Folders.ProgramFolder,
                                 options.Confirm ? options.Confirm : DecideLaterAlways()));
        result.ReadFolder = result.Folders.DataFolder;
    } else {
        result.ReadFolder = ReadOnlyDataFolder(result);
    }

    // 2. The liquid: clean water at the default temperature in force (the
    //    settings that may change it are read in step 6).
    if (project.Liquid != nullptr)
        *project.Liquid = TLiquid("Water", 0, 0.0, tables.DefaultTemperature, tables.DefaultTemperature);

    // 3. The refrigerant library.
    result.Refrigerants = std::make_unique<TRefrigLib>(result.ReadFolder + kRefrigLibFile);
    note(result.Refrigerants->Errors);

    // 4. Folders and settings store.
    FixFolders(result.Folders);
    SetAppSettings(SettingsStore(result.SettingsFile));
    // A settings file that exists but cannot be read is named like a bad
    // catalogue; the program goes on with the defaults.
    if (std::string problem = AppSettings().LoadProblem(); !problem.empty()) result.Messages.push_back(problem);

    // 5. Catalogues, then the settings that override them.
    note(LoadCatalogues(result.ReadFolder, tables));
    try {
        LoadRoughnessSettings(AppSettings(), tables);
    } catch (const ConvertError& e) {
        result.Messages.push_back(e.what());
    }
    // The empty circuit starts with the active material's roughness.
    tables.SelectPipeMaterial(tables.PipeMaterial);
    try {
        LoadFittingsSettings(AppSettings(), tables);
    } catch (const ConvertError& e) {
        result.Messages.push_back(e.what());
    }
    // 6. The warning limits, the item defaults and the default flows (which
    //    replace the mf column the steel pipe file gave), in the order the
    //    dialogs that own them are created.
    for (void (*load)(const SettingsStore&, TCatalogueTables&) : {LoadWarningLimits, LoadItemDefaults, LoadDefaultFlows}) {
        try {
            load(AppSettings(), tables);
        } catch (const ConvertError& e) {
            result.Messages.push_back(e.what());
        }
    }
    return result;
}

} // namespace dvx
