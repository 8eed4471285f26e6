// SPDX-License-Identifier: GPL-3.0-or-later
// The bash completion of darvenix-cli, run in bash as the shell runs it:
// it offers the commands, each command's options as its help names them,
// the accepted names of the options that take one, and every name it
// offers is one the program accepts.

#include "CliRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

using namespace dvx::test;
using testing::IsSupersetOf;

namespace {

class CliCompletion : public testing::Test {
protected:
    CliCompletion() {
        WriteText(cli_.WorkFile("circuit.txt"), "p, 3, 'Main riser', 102, 25.0, 8.077, 'Pipe', 10.0\r\n");
    }

    // What the completion offers for the words typed, the last one being
    // completed ("" for a new word).
    std::set<std::string> Complete(std::vector<std::string> words) const {
        words.insert(words.begin(), cli_.Program().string());
        const std::string script = cli_.WorkFile("complete.sh"), out = cli_.WorkFile("complete.out");
        std::string text = "source '" DARVENIX_SOURCE_DIR "/app/cli/darvenix-cli.bash'\nCOMP_WORDS=(";
        for (const std::string& w : words) text += " '" + w + "'";
        text += " )\nCOMP_CWORD=" + std::to_string(words.size() - 1) +
                "\n_darvenix_cli\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n";
        WriteText(script, text);
        const std::string command = "cd '" + cli_.Work() + "' && HOME='" + cli_.Home() + "' bash --norc --noprofile '" +
                                    script + "' > '" + out + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << text;
        std::set<std::string> offered;
        std::istringstream lines(ReadText(out));
        for (std::string line; std::getline(lines, line);)
            if (!line.empty()) offered.insert(line);
        return offered;
    }

    CliSandbox cli_;
};

TEST_F(CliCompletion, OffersCommandsOptionsAndNames) {
    struct Case {
        std::vector<std::string> words;
        std::set<std::string> offered;
    };
    const std::vector<Case> cases = {
        {{"ca"}, {"calc", "catalogue"}},
        {{"--v"}, {"--version"}},
        {{"help", "fl"}, {"fluid"}},
        {{"calc", "--mat"}, {"--material"}},
        {{"calc", "--material", "dr"}, {"drawn-tubing"}},
        {{"calc", "--liquid", "liquid-"}, {"liquid-ammonia", "liquid-carbon-dioxide"}},
        {{"fluid", "--additive", ""}, {"none", "ethylene-glycol", "propylene-glycol", "calcium-chloride"}},
        {{"calc", "--sort", "d"}, {"description", "dp"}},
        {{"calc", "circuit.txt", "--units", ""}, {"si", "us"}},
        {{"convert", "circuit.txt", "-", "--to", ""}, {"dvx", "txt", "csv"}},
        {{"calc", "circ"}, {"circuit.txt"}},
        {{"calc", "--t", ""}, {}},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& w : c.words) line += w + " ";
        SCOPED_TRACE(line);
        EXPECT_EQ(Complete(c.words), c.offered);
    }
}

TEST_F(CliCompletion, EveryOptionOfEveryCommandIsOffered) {
    const std::set<std::string> commands = Complete({""});
    EXPECT_THAT(commands, IsSupersetOf({"calc", "catalogue", "convert", "curve", "fluid", "friction", "paths",
                                        "setup", "help", "--help", "-V"}));
    for (const std::string& command : commands) {
        if (command.front() == '-' || command == "help") continue;
        SCOPED_TRACE(command);
        // The options as the help text shows them, read here independently.
        std::set<std::string> options;
        std::istringstream help(cli_.Run({"help", command}).Out);
        for (std::string line; std::getline(help, line);) {
            if (line.rfind("  -", 0) != 0) continue;
            std::istringstream words(line);
            for (std::string word; words >> word && word[0] == '-';) {
                if (word.back() == ',') word.pop_back();
                options.insert(word);
            }
        }
        EXPECT_TRUE(options.count("--help"));
        EXPECT_EQ(Complete({command, "-"}), options);
    }
    EXPECT_THAT(Complete({"calc", "-"}), IsSupersetOf({"-q", "--quiet", "-o", "--output", "--material", "--json"}));
}

TEST_F(CliCompletion, EveryOfferedNameIsAccepted) {
    for (const char* option : {"--material", "--liquid", "--additive", "--sort", "--units"}) {
        const std::set<std::string> names = Complete({"calc", option, ""});
        EXPECT_FALSE(names.empty()) << option;
        for (const std::string& name : names) {
            const TCliResult r = cli_.Run({"calc", "--builtin", "--quiet", "--t", "60", option, name, "circuit.txt"});
            EXPECT_NE(r.Exit, 2) << option << " " << name << ": " << r.Err;
        }
    }
    for (const std::string& form : Complete({"convert", "circuit.txt", "-", "--to", ""}))
        EXPECT_EQ(cli_.Run({"convert", "circuit.txt", "-", "--to", form}).Exit, 0) << form;
}

} // namespace
