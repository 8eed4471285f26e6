// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliCommand.h"

#include <algorithm>

namespace dvx::cli {

std::vector<CliCommand>& CliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

CliCommandRegistrar::CliCommandRegistrar(CliCommand command) {
    CliCommands().push_back(std::move(command));
    std::sort(CliCommands().begin(), CliCommands().end(),
              [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
}

std::string UsageText() {
    std::string text = "Usage: darvenix-cli [--help | --version] COMMAND [OPTIONS]\n\nCommands:\n";
    for (const CliCommand& c : CliCommands()) text += "  " + c.synopsis + "\n";
    return text;
}

} // namespace dvx::cli
