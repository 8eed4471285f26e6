// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The subcommands of darvenix-cli. Each Cmd*.cpp defines one and registers it
// with a static CliCommandRegistrar; main() looks it up by name.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace dvx::cli {

// Exit codes shared by every subcommand.
enum ExitCode : int {
    kExitOk = 0,
    kExitFailed = 1,   // the work itself failed (an evaluation error)
    kExitUsage = 2,    // bad arguments: usage on stderr
};

struct CliCommand {
    std::string name;
    std::string synopsis; // one usage line, shown by --help
    std::function<int(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)> run;
};

std::vector<CliCommand>& CliCommands();

struct CliCommandRegistrar {
    explicit CliCommandRegistrar(CliCommand command);
};

// The whole usage text: the program line and every subcommand's synopsis.
std::string UsageText();

} // namespace dvx::cli
