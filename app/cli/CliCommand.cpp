// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliCommand.h"

#include <algorithm>

namespace dvx::cli {

std::vector<CliCommand>& CliCommands() {
    static std::vector<CliCommand> commands;
    return commands;
}

const CliCommand* FindCliCommand(const std::string& name) {
    for (const CliCommand& c : CliCommands())
        if (c.name == name) return &c;
    return nullptr;
}

CliCommandRegistrar::CliCommandRegistrar(CliCommand command) {
    CliCommands().push_back(std::move(command));
    std::sort(CliCommands().begin(), CliCommands().end(),
              [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
}

std::string ExitCodesText() {
    return "Exit status:\n"
           "  0  success\n"
           "  1  an output file or standard output could not be written\n"
           "  2  bad arguments\n"
           "  3  an item is invalid (\"Data may not be zero\" or \"Data must be positive\"),\n"
           "     or the input of convert holds no item\n"
           "  4  the calculation or the liquid evaluation failed\n"
           "  5  an input file or standard input cannot be read or is refused\n"
           "  6  --strict and a warning was given\n";
}

std::string UsageText() {
    std::string text = "Usage: darvenix-cli COMMAND [OPTIONS]\n"
                       "  or:  darvenix-cli help COMMAND\n"
                       "Calculate the pressure drop of a liquid pipe circuit, convert circuit files and\n"
                       "look up liquid properties, with the desktop program's settings and catalogues.\n"
                       "\nCommands:\n";
    std::size_t width = 0;
    for (const CliCommand& c : CliCommands()) width = std::max(width, c.name.size());
    for (const CliCommand& c : CliCommands())
        text += "  " + c.name + std::string(width + 2 - c.name.size(), ' ') + c.synopsis + "\n";
    text += "\nOptions:\n"
            "  -h, --help     show this help, or a command's help after the command\n"
            "  -V, --version  show the program's version\n"
            "\nOptions take their value as \"--name value\" or \"--name=value\". Every command\n"
            "but convert takes -o FILE (--output FILE) to write to FILE instead of standard\n"
            "output; FILE is replaced only when the command succeeds.\n\n";
    return text + ExitCodesText();
}

std::string CommandHelp(const CliCommand& command) {
    std::string text = command.usage + command.synopsis + "\n";
    text += "\nOptions:\n" + command.options;
    if (command.output == TOutputOption::Accepted)
        text += "  -o, --output FILE    write to FILE instead of standard output\n";
    text += "  -h, --help           show this help\n"
            "\nThe exit status is listed in \"darvenix-cli --help\".\n";
    return text;
}

std::string TryHelpLine(const CliCommand* command) {
    return command ? "Try 'darvenix-cli " + command->name + " --help'.\n" : "Try 'darvenix-cli --help'.\n";
}

std::string OptionValueList(const std::vector<std::string>& values) {
    constexpr std::size_t kWidth = 80, kIndent = 23;
    std::string text(kIndent, ' ');
    std::size_t column = kIndent;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string value = values[i] + (i + 1 < values.size() ? "," : "");
        if (i > 0 && column + 1 + value.size() > kWidth) {
            text += "\n" + std::string(kIndent, ' ');
            column = kIndent;
        } else if (i > 0) {
            text += ' ';
            ++column;
        }
        text += value;
        column += value.size();
    }
    return text + "\n";
}

} // namespace dvx::cli
