// SPDX-License-Identifier: GPL-3.0-or-later
// Standard input as the commands read it: a read that fails, an input that
// never ends and an input without items are refused with their exit code,
// and the output file a convert would replace keeps its content.

#include "CliRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace dvx::test {
namespace {

using testing::HasSubstr;

const std::string kCircuit = "p, 3, 'Main riser', 102, 25.0, 8.077, 'Pipe', 10.0\r\n"
                             "f, 4, 'Bends', 102, 25.0, 0, 'Std Elbow 90 deg', 0, 2\r\n";

class CliStandardInput : public testing::Test {
protected:
    CliStandardInput() {
        WriteText(cli_.WorkFile("circuit.txt"), kCircuit);
        EXPECT_EQ(cli_.Run({"convert", "circuit.txt", "keep.dvx"}).Exit, 0);
        kept_ = ReadText(cli_.WorkFile("keep.dvx"));
        EXPECT_FALSE(kept_.empty());
    }
    std::string Kept() const { return ReadText(cli_.WorkFile("keep.dvx")); }
    CliSandbox cli_;
    std::string kept_;
};

TEST_F(CliStandardInput, AReadThatFailsIsExitFiveAndWritesNothing) {
    std::filesystem::create_directories(cli_.WorkFile("folder"));
    struct Case {
        const char* what;
        CliSandbox::TStandardInput input;
        const char* reason;
    };
    const std::vector<Case> inputs = {
        {"a folder", {cli_.WorkFile("folder")}, "Is a directory"},
        {"a closed descriptor", {"", true}, "Bad file descriptor"},
    };
    const std::vector<std::vector<std::string>> commands = {
        {"convert", "-", "keep.dvx"},
        {"convert", "--builtin", "-", "keep.csv"},
        {"calc", "--builtin", "-"},
        {"curve", "--builtin", "-"},
    };
    for (const Case& c : inputs) {
        for (const auto& args : commands) {
            SCOPED_TRACE(std::string(c.what) + ": " + args[0] + " " + args.back());
            const TCliResult r = cli_.RunWithInput(args, c.input);
            EXPECT_EQ(r.Exit, 5) << r.Err;
            EXPECT_THAT(r.Err, HasSubstr(std::string("Error reading standard input: ") + c.reason));
            EXPECT_EQ(r.Out, "");
            EXPECT_EQ(Kept(), kept_);
            EXPECT_FALSE(std::filesystem::exists(cli_.WorkFile("keep.csv")));
        }
    }
}

TEST_F(CliStandardInput, AnInputBeyondTheCapIsRefusedInBoundedMemory) {
    // A project stream's cap is the project file's; other bytes have the
    // text item file's. A sparse file holds the project stream beyond its
    // cap without using the disk.
    const std::string sparse = cli_.WorkFile("huge.dvx");
    WriteText(sparse, "TPF0");
    std::filesystem::resize_file(sparse, (512ull << 20) + 4096);
    struct Case {
        std::string path;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"/dev/zero", "standard input is larger than 256 MB"},
        {sparse, "standard input is larger than 512 MB"},
    };
    for (const Case& c : cases) {
        for (const char* command : {"calc", "convert"}) {
            SCOPED_TRACE(c.path + " " + command);
            const bool convert = std::string(command) == "convert";
            std::vector<std::string> args = {command, "-"};
            if (convert) args.push_back("keep.dvx");
            else args.insert(args.begin() + 1, "--builtin");
            // Far below what the endless input would take, above what the
            // capped read needs.
            const TCliResult r = cli_.RunWithInput(args, {c.path, false, 2ull << 30});
            EXPECT_EQ(r.Exit, 5) << r.Err;
            EXPECT_THAT(r.Err, HasSubstr(c.message));
            EXPECT_EQ(Kept(), kept_);
        }
    }
}

TEST_F(CliStandardInput, ConvertWritesAnInputWithoutItemsOnlyWhenAllowed) {
    WriteText(cli_.WorkFile("nul.bin"), std::string(1000, '\0'));
    WriteText(cli_.WorkFile("empty.bin"), "");
    WriteText(cli_.WorkFile("comments.txt"), "# only a comment\r\n");
    struct Case {
        std::vector<std::string> args;
        std::string input; // standard input's file, or none
    };
    const std::vector<Case> cases = {
        {{"convert", "-", "keep.dvx"}, "nul.bin"},
        {{"convert", "-", "keep.dvx"}, "empty.bin"},
        {{"convert", "comments.txt", "keep.dvx"}, ""},
        {{"convert", "--builtin", "-", "keep.csv"}, "nul.bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.input + " -> " + c.args.back());
        const CliSandbox::TStandardInput input{c.input.empty() ? "/dev/null" : cli_.WorkFile(c.input)};
        const TCliResult refused = cli_.RunWithInput(c.args, input);
        EXPECT_EQ(refused.Exit, 3) << refused.Err;
        EXPECT_THAT(refused.Err, HasSubstr("holds no item line; nothing written"));
        EXPECT_EQ(Kept(), kept_);
        EXPECT_FALSE(std::filesystem::exists(cli_.WorkFile("keep.csv")));

        std::vector<std::string> allowed = c.args;
        allowed.insert(allowed.begin() + 1, "--allow-empty");
        const TCliResult written = cli_.RunWithInput(allowed, input);
        EXPECT_EQ(written.Exit, 0) << written.Err;
        EXPECT_THAT(written.Out, HasSubstr("0 items written"));
        std::filesystem::remove(cli_.WorkFile("keep.csv"));
        ASSERT_EQ(cli_.Run({"convert", "circuit.txt", "keep.dvx"}).Exit, 0);
    }
}

} // namespace
} // namespace dvx::test
