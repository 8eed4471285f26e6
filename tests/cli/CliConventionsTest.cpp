// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli behaves like the command-line tools scripters know: a usage
// error is one line and a hint, every message names the program, the common
// options have short forms, -o FILE replaces FILE only after success, names
// stand for codes, and the help fits an 80-column terminal.

#include "CliRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace dvx::test;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

const std::string kCircuit = "p, 3, 'Main riser', 102, 25.0, 8.077, 'Pipe', 10.0\r\n"
                             "f, 4, 'Bends', 102, 25.0, 0, 'Std Elbow 90 deg', 0, 2\r\n"
                             "u, 5, 'Chiller', 102, 25.0, 50, 'User'\r\n";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Terminal columns of a UTF-8 line (the help holds no wide characters).
std::size_t Columns(const std::string& line) {
    std::size_t columns = 0;
    for (unsigned char c : line)
        if ((c & 0xC0) != 0x80) ++columns;
    return columns;
}

class CliConventions : public testing::Test {
protected:
    CliConventions() { WriteText(cli_.WorkFile("circuit.txt"), kCircuit); }
    TCliResult Run(const std::vector<std::string>& args, const std::string& in = "") const { return cli_.Run(args, in); }
    std::vector<std::string> Commands() const {
        std::vector<std::string> names;
        const std::string usage = Run({"--help"}).Out;
        std::istringstream lines(usage.substr(usage.find("Commands:\n") + 10));
        for (std::string line; std::getline(lines, line) && !line.empty();)
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
        return names;
    }
    CliSandbox cli_;
};

TEST_F(CliConventions, AUsageErrorIsOneLineAndAHint) {
    struct Case {
        std::vector<std::string> args;
        std::string message; // a part of the first line
        std::string hint;
    };
    const std::vector<Case> cases = {
        {{}, "no command given", "Try 'darvenix-cli --help'."},
        {{"nosuch"}, "unknown command 'nosuch'", "Try 'darvenix-cli --help'."},
        {{"--nosuch"}, "unknown option '--nosuch'", "Try 'darvenix-cli --help'."},
        {{"help", "nosuch"}, "no help for 'nosuch'", "Try 'darvenix-cli --help'."},
        {{"calc"}, "one circuit file", "Try 'darvenix-cli calc --help'."},
        {{"calc", "circuit.txt", "--fast"}, "unexpected argument '--fast'", "Try 'darvenix-cli calc --help'."},
        {{"calc", "circuit.txt", "--material", "-1"}, "--material: '-1'", "Try 'darvenix-cli calc --help'."},
        {{"calc", "circuit.txt", "--json", "--csv"}, "exclude each other", "Try 'darvenix-cli calc --help'."},
        {{"calc", "circuit.txt", "-o"}, "-o needs a file name", "Try 'darvenix-cli calc --help'."},
        {{"fluid", "--liquid", "14", "--t", "20"}, "--liquid: '14'", "Try 'darvenix-cli fluid --help'."},
        {{"convert", "circuit.txt", "out.doc"}, ".dvx, .txt or .csv", "Try 'darvenix-cli convert --help'."},
        {{"friction", "--eps", "0", "--d", "1"}, "--re is needed", "Try 'darvenix-cli friction --help'."},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& a : c.args) line += a + " ";
        SCOPED_TRACE(line);
        const TCliResult r = Run(c.args);
        EXPECT_EQ(r.Exit, 2);
        EXPECT_EQ(r.Out, "");
        const std::vector<std::string> lines = Lines(r.Err);
        ASSERT_EQ(lines.size(), 2u) << r.Err;
        EXPECT_THAT(lines[0], StartsWith("darvenix-cli: "));
        EXPECT_THAT(lines[0], HasSubstr(c.message));
        EXPECT_EQ(lines[1], c.hint);
    }
}

TEST_F(CliConventions, EveryMessageLineNamesTheProgram) {
    WriteText(cli_.WorkFile("zero_flow.txt"), "p, 1, 'still', 102, 0, 0, 'Pipe', 10.0\r\n");
    WriteText(cli_.WorkFile("flood.txt"), "p, 1, 'flood', 102, 1e200, 0, 'Pipe', 10.0\r\n");
    WriteText(cli_.WorkFile("broken.dvx"), "TPF0");
    WriteText(cli_.WorkFile("skipped.txt"), "f, 1, 'x', 102, 25.0, 0, 'Nothing', 99, 1\r\n" + kCircuit);
    const std::vector<std::vector<std::string>> runs = {
        {"convert", "circuit.txt", "missing/out.dvx"},                 // 1
        {"calc", "--builtin", "zero_flow.txt"},                        // 3
        {"convert", "--builtin", "zero_flow.txt", "out.csv"},          // 3
        {"calc", "--builtin", "flood.txt"},                            // 4
        {"fluid", "--liquid", "12", "--t", "-50"},                     // 4
        {"calc", "--builtin", "no_such.txt"},                          // 5
        {"calc", "--builtin", "broken.dvx"},                           // 5: two lines
        {"calc", "--builtin", "circuit.csv"},                          // 5: two lines
        {"calc", "--builtin", "--strict", "--t", "500", "circuit.txt"}, // 6
        {"calc", "--builtin", "skipped.txt"},                          // warning, 0
        {"calc", "--builtin", "circuit.txt", "-o", "missing/out.txt"}, // 1: two lines
    };
    for (const auto& args : runs) {
        SCOPED_TRACE(args[0] + " " + args[args.size() - 1]);
        const TCliResult r = Run(args);
        ASSERT_FALSE(r.Err.empty()) << "exit " << r.Exit;
        for (const std::string& line : Lines(r.Err)) EXPECT_THAT(line, StartsWith("darvenix-cli: "));
    }
}

TEST_F(CliConventions, HelpFitsEightyColumnsAndTheExitTableIsInTheTopLevelHelpOnly) {
    const std::string usage = Run({"--help"}).Out;
    EXPECT_THAT(usage, HasSubstr("Exit status:\n  0  success\n"));
    std::vector<std::pair<std::string, std::string>> texts = {{"--help", usage}};
    const std::vector<std::string> commands = Commands();
    ASSERT_GE(commands.size(), 8u);
    for (const std::string& name : commands) {
        const std::string help = Run({"help", name}).Out;
        EXPECT_THAT(help, testing::Not(HasSubstr("Exit status:"))) << name;
        EXPECT_THAT(help, HasSubstr("darvenix-cli --help")) << name; // where the table is
        texts.emplace_back("help " + name, help);
    }
    for (const auto& [what, text] : texts)
        for (const std::string& line : Lines(text)) EXPECT_LE(Columns(line), 80u) << what << ":\n" << line;
}

TEST_F(CliConventions, ShortOptionsMeanTheLongOnes) {
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> pairs = {
        {{"-h"}, {"--help"}},
        {{"-V"}, {"--version"}},
        {{"calc", "-h"}, {"calc", "--help"}},
        {{"calc", "--builtin", "-q", "circuit.txt"}, {"calc", "--builtin", "--quiet", "circuit.txt"}},
    };
    for (const auto& [shortForm, longForm] : pairs) {
        const TCliResult a = Run(shortForm), b = Run(longForm);
        EXPECT_EQ(a.Exit, 0) << a.Err;
        EXPECT_FALSE(a.Out.empty());
        EXPECT_EQ(a.Out, b.Out) << shortForm[0];
    }
    EXPECT_THAT(Run({"calc", "--builtin", "-q", "circuit.txt"}).Out, StartsWith("Index circuit dP: "));
}

TEST_F(CliConventions, OutputFileIsReplacedOnlyAfterSuccess) {
    // -o, --output and --output= write what standard output would show.
    const TCliResult shown = Run({"calc", "--builtin", "--json", "circuit.txt"});
    ASSERT_EQ(shown.Exit, 0);
    for (const std::vector<std::string>& spelling :
         {std::vector<std::string>{"-o", "a.json"}, {"--output", "a.json"}, {"--output=a.json"}}) {
        std::vector<std::string> args = {"calc", "--builtin", "--json", "circuit.txt"};
        args.insert(args.end(), spelling.begin(), spelling.end());
        std::filesystem::remove(cli_.WorkFile("a.json"));
        const TCliResult r = Run(args);
        EXPECT_EQ(r.Exit, 0) << r.Err;
        EXPECT_EQ(r.Out, "");
        EXPECT_EQ(ReadText(cli_.WorkFile("a.json")), shown.Out) << spelling[0];
    }
    // Results under --strict are still results: written, exit 6.
    const TCliResult strict = Run({"calc", "--builtin", "--strict", "--t", "500", "-o", "hot.txt", "circuit.txt"});
    EXPECT_EQ(strict.Exit, 6);
    EXPECT_THAT(ReadText(cli_.WorkFile("hot.txt")), HasSubstr("Index circuit dP"));

    // A failed command leaves the file as it was.
    WriteText(cli_.WorkFile("zero_flow.txt"), "p, 1, 'still', 102, 0, 0, 'Pipe', 10.0\r\n");
    WriteText(cli_.WorkFile("keep.json"), "earlier results");
    EXPECT_EQ(Run({"calc", "--builtin", "--json", "zero_flow.txt", "-o", "keep.json"}).Exit, 3);
    EXPECT_EQ(ReadText(cli_.WorkFile("keep.json")), "earlier results");
    // An output file that cannot be written is exit 1.
    const TCliResult unwritable = Run({"calc", "--builtin", "circuit.txt", "-o", "missing/out.txt"});
    EXPECT_EQ(unwritable.Exit, 1);
    EXPECT_THAT(unwritable.Err, HasSubstr("missing/out.txt"));
    // "-o -" is standard output; convert names its output itself.
    EXPECT_EQ(Run({"calc", "--builtin", "--json", "circuit.txt", "-o", "-"}).Out, shown.Out);
    EXPECT_EQ(Run({"convert", "circuit.txt", "x.dvx", "-o", "y.dvx"}).Exit, 2);
    EXPECT_FALSE(std::filesystem::exists(cli_.WorkFile("x.dvx")));
}

TEST_F(CliConventions, NamesStandForCodes) {
    struct Case {
        std::string option, name, code;
    };
    const std::vector<Case> cases = {
        {"--material", "schedule-40-steel", "0"}, {"--material", "Drawn Tubing", "2"},
        {"--material", "GALVANISED_IRON", "1"},   {"--liquid", "water", "0"},
        {"--liquid", "Ethylene Glycol", "4"},     {"--liquid", "freon-liquid-r12", "11"},
        {"--liquid", "Freon - Liquid R12", "11"}, {"--liquid", "compressed-air", "13"},
        {"--additive", "none", "0"},              {"--additive", "ethylene-glycol", "1"},
        {"--additive", "PropyleneGlycol", "2"},   {"--additive", "calcium chloride", "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option + " " + c.name);
        const std::vector<std::string> base = {"calc", "--builtin", "--json", "--t", "60", "circuit.txt"};
        std::vector<std::string> byName = base, byCode = base;
        byName.insert(byName.end(), {c.option, c.name});
        byCode.insert(byCode.end(), {c.option, c.code});
        const TCliResult a = Run(byName), b = Run(byCode);
        EXPECT_EQ(a.Exit, b.Exit) << a.Err;
        EXPECT_EQ(a.Out, b.Out);
        EXPECT_FALSE(a.Out.empty());
    }
    // The liquid really changed: ethylene glycol is not water.
    EXPECT_NE(Run({"fluid", "--liquid", "ethylene-glycol", "--t", "20"}).Out,
              Run({"fluid", "--liquid", "water", "--t", "20"}).Out);
    const TCliResult mixed = Run({"fluid", "--liquid", "water", "--additive", "ethylene-glycol", "--volume", "0.3",
                                  "--t", "5"});
    EXPECT_EQ(mixed.Exit, 0) << mixed.Err;
    EXPECT_EQ(mixed.Out, Run({"fluid", "--liquid", "0", "--additive", "1", "--volume", "0.3", "--t", "5"}).Out);

    // What is neither is refused with the accepted names.
    const TCliResult unknown = Run({"calc", "--builtin", "--liquid", "juice", "circuit.txt"});
    EXPECT_EQ(unknown.Exit, 2);
    EXPECT_THAT(unknown.Err, HasSubstr("'juice' is neither a code 0 to 13 nor a name (water, thermal-oil,"));
    for (const char* bad : {"-1", "3", "1.5", ""})
        EXPECT_EQ(Run({"calc", "--builtin", "--material", bad, "circuit.txt"}).Exit, 2) << bad;

    // The help lists every accepted name.
    const std::string help = Run({"help", "calc"}).Out;
    for (const char* name : {"schedule-40-steel", "drawn-tubing", "water", "freon-liquid-r12", "compressed-air",
                             "propylene-glycol", "calcium-chloride"})
        EXPECT_THAT(help, HasSubstr(name));
}

TEST_F(CliConventions, BothProgramsShowOneVersionForm) {
    const TCliResult cli = Run({"--version"});
    ASSERT_EQ(cli.Exit, 0);
    EXPECT_THAT(cli.Out, StartsWith("darvenix-cli " DARVENIX_VERSION "\nCopyright "));
    EXPECT_THAT(cli.Out, HasSubstr("GNU General Public License, version 3 or later"));
    const std::filesystem::path desktop = DARVENIX_BINARY_DIR "/darvenix";
    if (!std::filesystem::exists(desktop)) GTEST_SKIP() << "the desktop program is not built";
    const std::string out = cli_.WorkFile("desktop-version");
    ASSERT_EQ(std::system((desktop.string() + " --version > " + out).c_str()), 0);
    const std::string gui = ReadText(out);
    EXPECT_THAT(gui, StartsWith("darvenix " DARVENIX_VERSION "\n"));
    // Past the program's name, the same text.
    EXPECT_EQ(gui.substr(gui.find(' ')), cli.Out.substr(cli.Out.find(' ')));
}

} // namespace
