// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli setup: brings the shipped data files (catalogues, refrigerant
// library) into the user's data folder, as the desktop program does at its
// start. It is the one command that writes there; the others only read.

#include "Args.h"
#include "CliCommand.h"
#include "CoreStart.h"

#include "base/platform/Folders.h"

#include <ostream>

namespace dvx::cli {
namespace {

int RunSetup(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    Args args(argv);
    args.RequireAllUsed();
    const std::vector<std::string> messages = StageDataFiles();
    for (const std::string& message : messages) err << message << "\n";
    if (!messages.empty()) return kExitWrite;
    out << "DataFolder=" << DataFolder() << "\n";
    return kExitOk;
}

CliCommandRegistrar registrar({
    "setup",
    "bring the shipped data files into the user's data folder",
    "Usage: darvenix-cli setup\n",
    "",
    RunSetup,
    TOutputOption::Accepted,
});

} // namespace
} // namespace dvx::cli
