// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up of the core for the commands that calculate, in the desktop
// program's order and with the desktop program's settings file, so that a
// project calculates alike in both programs. The settings file is only read:
// nothing the command-line program does is remembered in it.

#include "CliWarning.h"
#include "engine/hydraulics/ProjectContext.h"

#include <string>
#include <vector>

namespace dvx::cli {

// The desktop program's settings file, <config folder>/Quellstrand/darvenix.ini.
std::string DesktopSettingsFile();

struct TCliStart {
    std::string SettingsFile;          // empty with the built-in tables
    std::vector<TCliWarning> Warnings; // messages met while loading ("startup")
};

// Fills the command's project. builtinOnly: its tables take their built-in
// values and its liquid is clean water at the built-in default temperature;
// no file is read. Otherwise the whole core start-up without writing
// anything (liquid, refrigerant library, folders, the desktop program's
// settings, catalogue files), and the liquid then takes the default
// temperature read from the settings, as the desktop program's liquid does
// when its window first becomes active.
TCliStart StartCliCore(bool builtinOnly, TProjectState& project);

// The core start-up with the install-data merge ("Decide later" for every
// question), which brings the shipped data files into the user's data
// folder. Returns the messages met.
std::vector<std::string> StageDataFiles();

} // namespace dvx::cli
