// SPDX-License-Identifier: GPL-3.0-or-later
// "convert IN - --to FORM" writes the converted circuit to standard output,
// byte for byte what the file of that form holds, and an output that names
// no form is a usage error that says which forms there are.

#include "CliRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace dvx::test;
using testing::HasSubstr;

namespace {

const std::string kCircuit = "p, 3, 'Main riser', 102, 25.0, 8.077, 'Pipe', 10.0\r\n"
                             "f, 4, 'B\xc3\xa9nds, long', 102, 25.0, 0, 'Std Elbow 90 deg', 0, 2\r\n"
                             "u, 5, 'Chiller', 102, 25.0, 50, 'User'\r\n";

class CliConvertOutput : public testing::Test {
protected:
    CliConvertOutput() { WriteText(cli_.WorkFile("circuit.txt"), kCircuit); }
    TCliResult Run(const std::vector<std::string>& args, const std::string& in = "") const { return cli_.Run(args, in); }
    CliSandbox cli_;
};

TEST_F(CliConvertOutput, StandardOutputHoldsWhatTheFileWouldHold) {
    ASSERT_EQ(Run({"convert", "circuit.txt", "project.dvx"}).Exit, 0);
    struct Case {
        std::string input, form;
        std::vector<std::string> extra;
    };
    const std::vector<Case> cases = {
        {"circuit.txt", "dvx", {}}, {"circuit.txt", "txt", {}}, {"circuit.txt", "csv", {"--builtin"}},
        {"project.dvx", "txt", {}}, {"project.dvx", "dvx", {}}, {"project.dvx", "csv", {"--builtin", "--units", "us"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input + " to " + c.form);
        const std::string file = "out." + c.form;
        std::vector<std::string> toFile = {"convert", c.input, file};
        std::vector<std::string> toOutput = {"convert", c.input, "-", "--to", c.form};
        toFile.insert(toFile.end(), c.extra.begin(), c.extra.end());
        toOutput.insert(toOutput.end(), c.extra.begin(), c.extra.end());
        const TCliResult written = Run(toFile);
        ASSERT_EQ(written.Exit, 0) << written.Err;
        EXPECT_EQ(written.Out, "3 items written to " + file + "\n");
        const TCliResult shown = Run(toOutput);
        EXPECT_EQ(shown.Exit, 0) << shown.Err;
        EXPECT_EQ(shown.Err, "");
        EXPECT_EQ(shown.Out, ReadText(cli_.WorkFile(file))); // the data and nothing else
        // --to may also name the form a file's extension gives.
        toFile.insert(toFile.end(), {"--to", c.form});
        EXPECT_EQ(Run(toFile).Exit, 0);
    }
    // Larger than the output buffer: written whole, in order.
    {
        std::string large;
        for (int i = 1; i <= 4000; ++i) large += "p, " + std::to_string(i) + ", 'Riser', 102, 25.0, 0, 'Pipe', 10.0\r\n";
        WriteText(cli_.WorkFile("large.txt"), large);
        for (const char* form : {"dvx", "csv"}) {
            SCOPED_TRACE(form);
            const std::string file = std::string("large.") + form;
            ASSERT_EQ(Run({"convert", "large.txt", file}).Exit, 0);
            const std::string written = ReadText(cli_.WorkFile(file));
            EXPECT_GT(written.size(), 128u * 1024u);
            EXPECT_EQ(Run({"convert", "large.txt", "-", "--to", form}).Out, written);
        }
    }
    // Standard input to standard output: the project read back calculates
    // like the file it came from.
    const TCliResult piped = Run({"convert", "-", "-", "--to", "dvx"}, kCircuit);
    ASSERT_EQ(piped.Exit, 0) << piped.Err;
    EXPECT_EQ(Run({"calc", "--builtin", "--json", "-"}, piped.Out).Out,
              Run({"calc", "--builtin", "--json", "project.dvx"}).Out);
    // A full standard output is a failed write.
    const TCliResult full = cli_.Run({"convert", "circuit.txt", "-", "--to", "dvx"}, "", "/dev/full");
    EXPECT_EQ(full.Exit, 1);
    EXPECT_THAT(full.Err, HasSubstr("error writing standard output"));
}

TEST_F(CliConvertOutput, AnOutputWithoutAFormIsAUsageError) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"convert", "circuit.txt", "out.doc"}, "'out.doc': the output must end in .dvx, .txt or .csv"},
        {{"convert", "circuit.txt", "out"}, "'out': the output must end in .dvx, .txt or .csv"},
        {{"convert", "circuit.txt", "-"}, "--to dvx|txt|csv is needed to write to standard output"},
        {{"convert", "circuit.txt", "-", "--to", "xml"}, "--to: 'xml' is not dvx, txt or csv"},
        {{"convert", "circuit.txt", "out.dvx", "--to", "csv"}, "--to csv does not match 'out.dvx'"},
        {{"convert", "circuit.txt", "-", "--to", "dvx", "--t", "20"}, "apply only to a .csv output"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const TCliResult r = Run(c.args);
        EXPECT_EQ(r.Exit, 2);
        EXPECT_THAT(r.Err, HasSubstr(c.message));
        EXPECT_EQ(r.Out, "");
    }
    for (const char* name : {"out.doc", "out", "out.dvx"})
        EXPECT_FALSE(std::filesystem::exists(cli_.WorkFile(name))) << name;
    // Upper-case extensions are the same forms.
    EXPECT_EQ(Run({"convert", "circuit.txt", "OUT.DVX"}).Exit, 0);
}

} // namespace
