// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli paths: the program's folders and the settings file the
// calculating commands read (the desktop program's), one NAME=VALUE line
// each; SettingsInForce says whether that file exists and so is in force.

#include "Args.h"
#include "CliCommand.h"
#include "CoreStart.h"

#include "base/platform/Folders.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace dvx::cli {
namespace {

int RunPaths(const std::vector<std::string>& argv, std::ostream& out, std::ostream&) {
    Args args(argv);
    args.RequireAllUsed();
    TFolders folders = FoldersFor(ProgramFolder(), ProgramsFolder());
    const std::string settings = DesktopSettingsFile();
    std::error_code ec;
    out << "ProgramFolder=" << folders.ProgramFolder << "\n";
    out << "SuiteFolder=" << folders.SuiteFolder << "\n";
    out << "DataFolder=" << folders.DataFolder << "\n";
    out << "SettingsFile=" << settings << "\n";
    out << "SettingsInForce=" << (std::filesystem::is_regular_file(settings, ec) ? "yes" : "no (built-in values)")
        << "\n";
    return kExitOk;
}

CliCommandRegistrar registrar({
    "paths",
    "print the program's folders and the settings file in force",
    "Usage: darvenix-cli paths\n",
    "",
    RunPaths,
    TOutputOption::Accepted,
});

} // namespace
} // namespace dvx::cli
