// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up of the core, shared by the desktop program and darvenix-cli, in
// the program's order, filling the project it is given:
//   1. the install-data merge (before anything reads a data file);
//   2. the project's liquid becomes clean water at the tables' default
//      temperature;
//   3. the refrigerant library from DataFolder;
//   4. the folders and the settings store are fixed;
//   5. the catalogue files (LoadCatalogues), then the roughness settings
//      (section "Pipe") and the user's fitting coefficients ("Fittings");
//   6. the warning limits, item defaults and default flows.
// Every message met on the way is returned for the caller to show; nothing
// here shows anything itself.

#include "engine/fluid/Refrig.h"
#include "engine/hydraulics/ProjectContext.h"
#include "base/platform/Folders.h"
#include "storage/settings/InstallDataConfirm.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dvx {

struct TStartOptions {
    // Name of the program file without extension; names the merge
    // configuration (<ProgramFolder><name>.ini) and the settings store.
    // Empty: the running program's.
    std::string ProgramName;
    // Empty: the folder of the running program.
    std::string ProgramFolder;
    // Empty: the store of ProgramName in the user's config folder.
    std::string SettingsFile;
    // The answer to the merge's questions. Empty: "Decide later" throughout.
    TConfirmFactory Confirm;
    // Whether the start may write the user's data folder (the install-data
    // merge stages the shipped files there). Reading programs pass false:
    // nothing is written, and the data files are read from the user's data
    // folder once it exists, else straight from the install copies.
    bool StageData = true;
};

struct TStartResult {
    TFolders Folders;
    std::string SettingsFile;
    std::string MergeConfiguration;   // the merge configuration file looked for
    std::string ReadFolder;           // the folder the data files were read from
    std::vector<std::string> Messages; // in the order met
    std::unique_ptr<TRefrigLib> Refrigerants; // the refrigerant library from DataFolder
};

// Fills project: its tables from the catalogue files and the settings, its
// liquid (left alone when the project has none). Its item counter is not
// touched.
TStartResult StartCore(const TStartOptions& options, const TProjectContext& project);

} // namespace dvx
