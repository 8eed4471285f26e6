// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small option reader for the subcommands: "--name value" and
// "--name=value" pairs, flags, and positional arguments ("-" alone is a
// positional argument: standard input).

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace dvx::cli {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Args {
public:
    // "--name=value" is taken apart into "--name" and "value" here, so every
    // reader below sees both spellings alike.
    explicit Args(const std::vector<std::string>& args);

    // The arguments after "--name=value" was taken apart, in order.
    const std::vector<std::string>& Normalised() const { return args_; }

    // True when the flag is present; consumes it.
    bool Flag(const std::string& name);
    // The value after "--name", or nothing; a missing value raises UsageError.
    std::optional<std::string> Value(const std::string& name);
    // Every value after each "--name", in order.
    std::vector<std::string> Values(const std::string& name);
    std::optional<double> Number(const std::string& name);
    std::optional<int> Integer(const std::string& name);
    // Arguments that are not options, in order; consumes them.
    std::vector<std::string> Positionals();
    // Raises UsageError naming the first argument nothing consumed.
    void RequireAllUsed() const;

private:
    std::vector<std::string> args_;
    std::vector<bool> used_;
    std::vector<bool> joined_; // the value came from "--name=value"
};

// True when the arguments ask for the command's help ("--help" or "-h").
bool AsksForHelp(const std::vector<std::string>& args);

// Takes "-o FILE", "--output FILE" and "--output=FILE" out of args and
// returns FILE (the last one given), or nothing; a missing FILE raises
// UsageError.
std::optional<std::string> TakeOutputOption(std::vector<std::string>& args);

} // namespace dvx::cli
