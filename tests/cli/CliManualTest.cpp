// SPDX-License-Identifier: GPL-3.0-or-later
// The manual's command-line section and the program agree: every block
// <pre class="cli-help" data-args="ARGS"> in Manual/Manual.htm is exactly
// what "darvenix-cli ARGS" prints, and every command the program lists has
// its help there, as has the list of liquid and additive codes.

#include "CliRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

using namespace dvx::test;

namespace {

std::string HtmlText(std::string html) {
    const std::pair<const char*, const char*> entities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto& [entity, text] : entities)
        for (std::size_t at = html.find(entity); at != std::string::npos; at = html.find(entity, at + 1))
            html.replace(at, std::string(entity).size(), text);
    return html;
}

// data-args → the block's text, in the manual's order.
std::map<std::string, std::string> ManualHelpBlocks() {
    const std::string manual = ReadText(DARVENIX_SOURCE_DIR "/Manual/Manual.htm");
    std::map<std::string, std::string> blocks;
    static const std::regex block("<pre class=\"cli-help\" data-args=\"([^\"]*)\">([^<]*)</pre>");
    for (std::sregex_iterator it(manual.begin(), manual.end(), block), end; it != end; ++it)
        blocks[(*it)[1]] = HtmlText((*it)[2]) + "\n";
    return blocks;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

TEST(CliManual, HelpBlocksAreTheProgramsOwnOutput) {
    CliSandbox cli;
    const auto blocks = ManualHelpBlocks();
    ASSERT_FALSE(blocks.empty()) << "no cli-help block in the manual";
    for (const auto& [args, text] : blocks) {
        SCOPED_TRACE("darvenix-cli " + args);
        const TCliResult r = cli.Run(Words(args));
        EXPECT_EQ(r.Exit, 0);
        EXPECT_EQ(text, r.Out) << "the manual's block differs from the program's output";
    }

    // Every command in the program's list is documented, and so are the codes.
    const std::string usage = cli.Run({"--help"}).Out;
    EXPECT_TRUE(blocks.count("--help"));
    EXPECT_TRUE(blocks.count("fluid --list"));
    const std::size_t from = usage.find("Commands:\n");
    ASSERT_NE(from, std::string::npos);
    std::istringstream lines(usage.substr(from + 10));
    int commands = 0;
    for (std::string line; std::getline(lines, line) && !line.empty(); ++commands) {
        const std::string name = Words(line).at(0);
        EXPECT_TRUE(blocks.count("help " + name)) << "the manual has no help block for " << name;
    }
    EXPECT_GT(commands, 0);
}

} // namespace
