// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli: the headless companion of the desktop program. It starts the
// core the way the program does and runs one subcommand.
//
// A command writes its output to standard output as it goes (a document of
// a million items is never held whole), or with -o FILE into a buffer that
// replaces FILE once the command has succeeded. main() checks that every
// byte arrived, so that a full disk or a closed pipe is exit 1 with a
// message and never a silent success. Every line on standard error starts
// with "darvenix-cli: "; a usage error is one such line and a hint where
// the help is.

#include "Args.h"
#include "CliCommand.h"
#include "CliStreams.h"

#include "base/platform/AtomicWrite.h"
#include "base/platform/StandardInput.h"
#include "base/platform/Version.h"

#include <cstring>
#include <iostream>
#include <optional>
#include <sstream>

namespace {

using namespace dvx::cli;

// Writes text to standard output; false (with a message on err) when it
// could not be written completely.
bool WriteStandardOutput(const std::string& text, std::ostream& err) {
    TDescriptorBuf buffer(1);
    buffer.sputn(text.data(), static_cast<std::streamsize>(text.size()));
    if (buffer.Flush()) return true;
    err << "error writing standard output: " << std::strerror(buffer.Error()) << "\n";
    return false;
}

int Print(const std::string& text, std::ostream& err) {
    return WriteStandardOutput(text, err) ? kExitOk : kExitWrite;
}

// The one line of a usage error and the hint (which is not a message of
// the program and so has no prefix).
int UsageFailure(const std::string& message, const CliCommand* command, std::ostream& err) {
    err << message << "\n";
    err.flush();
    std::cerr << TryHelpLine(command);
    return kExitUsage;
}

int Execute(const CliCommand& command, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        return command.run(args, out, err);
    } catch (const UsageError& e) {
        return UsageFailure(e.what(), &command, err);
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return kExitCalculation;
    }
}

int RunCommand(const CliCommand& command, std::vector<std::string> args, std::ostream& err) {
    if (AsksForHelp(args)) return Print(CommandHelp(command), err);
    std::optional<std::string> file;
    try {
        file = TakeOutputOption(args);
        if (file && command.output == TOutputOption::NotAccepted)
            throw UsageError(command.name + " names its output file itself; -o does not apply");
    } catch (const UsageError& e) {
        return UsageFailure(e.what(), &command, err);
    }

    if (file && *file != "-") {
        std::ostringstream out;
        const int rc = Execute(command, args, out, err);
        // The results stand (a warning under --strict included): only then
        // is the file replaced; after a failure it keeps what it held.
        if (rc != kExitOk && rc != kExitStrictWarning) return rc;
        try {
            dvx::WriteFileAtomically(*file, out.str());
        } catch (const std::exception& e) {
            err << "Error writing " << *file << "\n" << e.what() << "\n";
            return kExitWrite;
        }
        return rc;
    }

    TDescriptorBuf buffer(1);
    std::ostream out(&buffer);
    const int rc = Execute(command, args, out, err);
    if (buffer.Flush()) return rc;
    err << "error writing standard output: " << std::strerror(buffer.Error()) << "\n";
    return kExitWrite;
}

int Run(const std::vector<std::string>& args, std::ostream& err) {
    if (args.empty()) return UsageFailure("no command given", nullptr, err);
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") return Print(UsageText(), err);
    if (first == "--version" || first == "-V") return Print(dvx::VersionText("darvenix-cli"), err);
    if (first == "help") {
        if (args.size() == 1) return Print(UsageText(), err);
        if (const CliCommand* command = FindCliCommand(args[1]); command && args.size() == 2)
            return Print(CommandHelp(*command), err);
        return UsageFailure("no help for '" + args[1] + "'", nullptr, err);
    }
    if (const CliCommand* command = FindCliCommand(first))
        return RunCommand(*command, std::vector<std::string>(args.begin() + 1, args.end()), err);
    if (first.size() > 1 && first[0] == '-') return UsageFailure("unknown option '" + first + "'", nullptr, err);
    return UsageFailure("unknown command '" + first + "'", nullptr, err);
}

} // namespace

int main(int argc, char** argv) {
    dvx::ClaimStandardInput();
    TLinePrefixBuf prefixed(std::cerr.rdbuf(), "darvenix-cli: ");
    std::ostream err(&prefixed);
    const int rc = Run(std::vector<std::string>(argv + 1, argv + argc), err);
    err.flush();
    return rc;
}
