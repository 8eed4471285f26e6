// SPDX-License-Identifier: GPL-3.0-or-later
// The one-buffer line list: every line comes back byte for byte and in
// order, whatever its length or content.

#include "base/TextLines.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dvx {
namespace {

using namespace std::string_literals;

TEST(TextLines, LinesComeBackExactlyAndInOrder) {
    // Lengths around the steps of the stored length (one byte up to 127,
    // two up to 16383, three beyond), and bytes a line may hold.
    const std::vector<std::string> lines = {
        "",
        "plain",
        "line\nbreak\r\nand NUL\0inside"s,
        std::string(127, 'a'),
        std::string(128, 'b'),
        "",
        std::string(16383, 'c'),
        std::string(16384, 'd'),
        std::string(300000, '\x80'),
        "R\xC3\xA9seau",
        "",
    };
    const TTextLines list(lines);
    EXPECT_EQ(list.Count(), lines.size());
    EXPECT_EQ(list.Lines(), lines);
    std::size_t i = 0;
    for (std::string_view line : list) {
        ASSERT_LT(i, lines.size());
        EXPECT_EQ(line, lines[i]) << i;
        ++i;
    }
    EXPECT_EQ(i, lines.size());
}

TEST(TextLines, EmptyListsAndComparison) {
    TTextLines none;
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(none.begin(), none.end());
    EXPECT_TRUE(none.Lines().empty());

    // One empty line is a line: not the same as no line at all.
    const TTextLines oneEmpty = {""};
    EXPECT_FALSE(oneEmpty.Empty());
    EXPECT_EQ(oneEmpty.Count(), 1u);
    EXPECT_NE(oneEmpty, none);
    EXPECT_EQ(oneEmpty.Lines(), std::vector<std::string>{""});

    // The same bytes split into other lines are another list.
    EXPECT_NE((TTextLines{"ab", "c"}), (TTextLines{"a", "bc"}));
    EXPECT_EQ((TTextLines{"ab", "c"}), TTextLines(std::vector<std::string>{"ab", "c"}));

    TTextLines cleared = {"x", "y"};
    cleared.Clear();
    EXPECT_EQ(cleared, none);
    cleared.Append("z");
    EXPECT_EQ(cleared.Lines(), std::vector<std::string>{"z"});
}

} // namespace
} // namespace dvx
