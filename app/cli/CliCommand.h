// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The subcommands of darvenix-cli. Each Cmd*.cpp defines one and registers it
// with a static CliCommandRegistrar; main() looks it up by name, answers
// "help CMD" and "CMD --help" from its help text, and writes what the command
// put into `out` to standard output (a failed write is exit 1).

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace dvx::cli {

// Exit codes shared by every subcommand (the table is in UsageText()).
enum ExitCode : int {
    kExitOk = 0,
    kExitWrite = 1,         // an output file or standard output could not be written
    kExitUsage = 2,         // bad arguments: usage on stderr
    kExitInvalidItem = 3,   // an item fails the check ("Data may not be zero" or "Data must be positive"),
                            // or convert's input holds no item
    kExitCalculation = 4,   // the calculation or the liquid evaluation failed
    kExitInput = 5,         // an input file or standard input cannot be read or is refused
    kExitStrictWarning = 6, // --strict: a warning was given
};

// The exit-code table of the whole usage text.
std::string ExitCodesText();

// Whether "-o FILE" may stand in for standard output: not for a command that
// names its output file itself (convert).
enum class TOutputOption { Accepted, NotAccepted };

struct CliCommand {
    std::string name;
    std::string synopsis; // one line after the name in the command list
    std::string usage;    // "Usage: darvenix-cli NAME ..." lines
    std::string options;  // option lines, "  --name VALUE   what it does", within 80 columns
    std::function<int(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)> run;
    TOutputOption output;
};

std::vector<CliCommand>& CliCommands();
const CliCommand* FindCliCommand(const std::string& name);

struct CliCommandRegistrar {
    explicit CliCommandRegistrar(CliCommand command);
};

// The whole usage text: the program line, every subcommand and the exit codes.
std::string UsageText();
// One command's help: its usage, its options and where the exit codes are.
std::string CommandHelp(const CliCommand& command);
// The second line of a usage error: where the help is.
std::string TryHelpLine(const CliCommand* command);

// The values an option accepts for its help: joined by ", " and wrapped to
// lines of at most 80 columns, each indented to the option texts' column
// and ended by a line end.
std::string OptionValueList(const std::vector<std::string>& values);

} // namespace dvx::cli
