// SPDX-License-Identifier: GPL-3.0-or-later
#include "CoreStart.h"

#include "catalogue/Tables.h"
#include "fluid/Fluid.h"
#include "settings/SettingsStore.h"
#include "settings/Startup.h"

namespace dvx::cli {

std::string DesktopSettingsFile() { return SettingsStore::FileNameFor("darvenix"); }

TCliStart StartCliCore(bool builtinOnly) {
    TCliStart started;
    RestoreBuiltInTables();
    if (builtinOnly) {
        StartFluidModule(DefaultTemperature);
        return started;
    }
    TStartOptions options;
    options.SettingsFile = DesktopSettingsFile();
    options.StartFluid = [] { StartFluidModule(DefaultTemperature); };
    const TStartResult result = StartCore(options);
    started.SettingsFile = result.SettingsFile;
    for (const std::string& message : result.Messages) started.Warnings.push_back({"startup", message});
    SystemFluid->SetT(DefaultTemperature);
    return started;
}

} // namespace dvx::cli
