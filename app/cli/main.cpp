// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli: the headless companion of the desktop program. It starts the
// core the way the program does and runs one subcommand.
//
// A command writes its output into a buffer; main() writes the buffer to
// standard output and checks that it arrived, so that a full disk or a
// closed pipe is exit 1 with a message and never a silent success.

#include "Args.h"
#include "CliCommand.h"

#include "base/platform/StandardInput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>

namespace {

using namespace dvx::cli;

// Writes text to standard output; false (with a message on stderr) when it
// could not be written completely.
bool WriteStandardOutput(const std::string& text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    const bool flushed = std::fflush(stdout) == 0;
    if (written && flushed) return true;
    const int error = errno;
    std::cerr << "darvenix-cli: error writing standard output"
              << (error ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return false;
}

int Finish(int rc, const std::string& text) {
    if (!WriteStandardOutput(text)) return kExitWrite;
    return rc;
}

int RunCommand(const CliCommand& command, const std::vector<std::string>& rest) {
    if (AsksForHelp(rest)) return Finish(kExitOk, CommandHelp(command));
    std::ostringstream out;
    int rc = kExitOk;
    try {
        rc = command.run(rest, out, std::cerr);
    } catch (const UsageError& e) {
        std::cerr << "darvenix-cli " << command.name << ": " << e.what() << "\n\n" << CommandHelp(command);
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "darvenix-cli " << command.name << ": " << e.what() << "\n";
        rc = kExitCalculation;
    }
    return Finish(rc, out.str());
}

} // namespace

int main(int argc, char** argv) {
    dvx::ClaimStandardInput();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << UsageText();
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") return Finish(kExitOk, UsageText());
    if (args[0] == "help") {
        if (args.size() == 1) return Finish(kExitOk, UsageText());
        if (const CliCommand* command = FindCliCommand(args[1]); command && args.size() == 2)
            return Finish(kExitOk, CommandHelp(*command));
        std::cerr << "darvenix-cli: no help for '" << args[1] << "'\n\n" << UsageText();
        return kExitUsage;
    }
    if (args[0] == "--version") return Finish(kExitOk, std::string("darvenix-cli ") + DARVENIX_VERSION + "\n");
    if (const CliCommand* command = FindCliCommand(args[0]))
        return RunCommand(*command, std::vector<std::string>(args.begin() + 1, args.end()));
    std::cerr << "darvenix-cli: unknown command '" << args[0] << "'\n\n" << UsageText();
    return kExitUsage;
}
