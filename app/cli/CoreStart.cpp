// SPDX-License-Identifier: GPL-3.0-or-later
#include "CoreStart.h"

#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "base/Format.h"
#include "engine/fluid/Fluid.h"
#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"
#include "storage/startup/Startup.h"

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
    // The calculating commands only read: the shipped data files reach the
    // user's data folder through "darvenix-cli setup" or the desktop program.
    options.StageData = false;
    const TStartResult result = StartCore(options);
    started.SettingsFile = result.SettingsFile;
    for (const std::string& message : result.Messages) started.Warnings.push_back({"startup", message});
    // A stored temperature the liquid cannot take is named with its place in
    // the settings file; the liquid keeps its start temperature.
    try {
        SystemFluid->SetT(DefaultTemperature);
    } catch (const MathError& e) {
        started.Warnings.push_back(
            {"startup", AppSettings().Where(settings::WaterTemp.Section, settings::WaterTemp.Key) + ": " +
                            Abbreviate(AppSettings().Read(settings::WaterTemp), 60) + ": " + e.what()});
    }
    return started;
}

std::vector<std::string> StageDataFiles() {
    TStartOptions options;
    options.SettingsFile = DesktopSettingsFile();
    options.StartFluid = [] { StartFluidModule(DefaultTemperature); };
    return StartCore(options).Messages;
}

} // namespace dvx::cli
