// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Startup.h"

#include "catalogue/CatalogueFiles.h"
#include "catalogue/Tables.h"
#include "common/Errors.h"
#include "fluid/Refrig.h"
#include "settings/Defaults.h"
#include "settings/MergeINI.h"
#include "settings/SettingsStore.h"

namespace dvx {

TStartResult StartCore(const TStartOptions& options) {
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
    note(RunInstallDataMerge(result.MergeConfiguration, result.Folders.DataFolder, result.Folders.ProgramFolder,
                             options.Confirm ? options.Confirm : DecideLaterAlways()));

    // 2. The fluid module: SystemFluid.
    if (options.StartFluid) options.StartFluid();

    // 3. The refrigerant library.
    result.Refrigerants = std::make_unique<TRefrigLib>(result.Folders.DataFolder + kRefrigLibFile);
    note(result.Refrigerants->Errors);

    // 4. Folders and settings store.
    FixFolders(result.Folders);
    SetAppSettings(SettingsStore(result.SettingsFile));
    // A settings file that exists but cannot be read is named like a bad
    // catalogue; the program goes on with the defaults.
    if (std::string problem = AppSettings().LoadProblem(); !problem.empty()) result.Messages.push_back(problem);

    // 5. Catalogues, then the settings that override them.
    note(LoadCatalogues(result.Folders.DataFolder));
    try {
        LoadRoughnessSettings(AppSettings());
    } catch (const ConvertError& e) {
        result.Messages.push_back(e.what());
    }
    // The empty circuit starts with the active material's roughness.
    SelectPipeMaterial(PipeMaterial);
    try {
        LoadFittingsSettings(AppSettings());
    } catch (const ConvertError& e) {
        result.Messages.push_back(e.what());
    }
    // 6. The warning limits, the item defaults and the default flows (which
    //    replace the mf column the steel pipe file gave), in the order the
    //    dialogs that own them are created.
    for (void (*load)(const SettingsStore&) : {LoadWarningLimits, LoadItemDefaults, LoadDefaultFlows}) {
        try {
            load(AppSettings());
        } catch (const ConvertError& e) {
            result.Messages.push_back(e.what());
        }
    }
    return result;
}

} // namespace dvx
