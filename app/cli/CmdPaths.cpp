// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli paths: the program's folders and its settings file, one
// NAME=VALUE line each.

#include "Args.h"
#include "CliCommand.h"

#include "platform/Folders.h"
#include "settings/SettingsStore.h"

#include <ostream>

namespace dvx::cli {
namespace {

int RunPaths(const std::vector<std::string>& argv, std::ostream& out, std::ostream&) {
    Args args(argv);
    args.RequireAllUsed();
    TFolders folders = FoldersFor(ProgramFolder(), ProgramsFolder());
    out << "ProgramFolder=" << folders.ProgramFolder << "\n";
    out << "SuiteFolder=" << folders.SuiteFolder << "\n";
    out << "DataFolder=" << folders.DataFolder << "\n";
    out << "SettingsFile=" << SettingsStore::FileNameFor(ProgramFileName()) << "\n";
    return kExitOk;
}

CliCommandRegistrar registrar({"paths", "paths                 the program's folders and settings file", RunPaths});

} // namespace
} // namespace dvx::cli
