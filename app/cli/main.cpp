// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli: the headless companion of the desktop program. It starts the
// core the way the program does and runs one subcommand.

#include "Args.h"
#include "CliCommand.h"

#include <iostream>

int main(int argc, char** argv) {
    using namespace dvx::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << UsageText();
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << UsageText();
        return kExitOk;
    }
    if (args[0] == "--version") {
        std::cout << "darvenix-cli " << DARVENIX_VERSION << "\n";
        return kExitOk;
    }
    for (const CliCommand& command : CliCommands()) {
        if (command.name != args[0]) continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        try {
            return command.run(rest, std::cout, std::cerr);
        } catch (const UsageError& e) {
            std::cerr << "darvenix-cli " << command.name << ": " << e.what() << "\n\n" << UsageText();
            return kExitUsage;
        } catch (const std::exception& e) {
            std::cerr << e.what() << "\n";
            return kExitFailed;
        }
    }
    std::cerr << "darvenix-cli: unknown command '" << args[0] << "'\n\n" << UsageText();
    return kExitUsage;
}
