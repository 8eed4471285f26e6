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

TCliStart StartCliCore(bool builtinOnly, TProjectState& project) {
    TCliStart started;
    project.Tables.RestoreBuiltIn();
    if (builtinOnly) {
        const double t = project.Tables.DefaultTemperature;
        project.Liquid = TLiquid("Water", 0, 0.0, t, t);
        return started;
    }
    TStartOptions options;
    options.SettingsFile = DesktopSettingsFile();
    // The calculating commands only read: the shipped data files reach the
    // user's data folder through "darvenix-cli setup" or the desktop program.
    options.StageData = false;
    const TStartResult result = StartCore(options, project.Context());
    started.SettingsFile = result.SettingsFile;
    for (const std::string& message : result.Messages) started.Warnings.push_back({"startup", message});
    // A stored temperature the liquid cannot take is named with its place in
    // the settings file; the liquid keeps its start temperature.
    try {
        project.Liquid.SetT(project.Tables.DefaultTemperature);
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
    // The files are only staged; the project they are read into is not used.
    TProjectState project;
    return StartCore(options, project.Context()).Messages;
}

} // namespace dvx::cli
