// SPDX-License-Identifier: GPL-3.0-or-later
// The INI document on its own: bytes kept exactly, lookups through the index
// agreeing with the reading rules, edits touching only their lines.

#include "base/IniDocument.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

// Loading and writing back without a change gives the same bytes, whatever
// the line ends; an edit changes only its own line.
TEST(IniDocument, LineEndsSurviveLoadAndSaveByteForByte) {
    struct Case {
        const char* name;
        std::string text;
        std::string afterEdit; // after Set("S", "A", "9")
    } cases[] = {
        {"LF", "[S]\nA=1\nB=2\n", "[S]\nA=9\nB=2\n"},
        {"CR LF", "[S]\r\nA=1\r\nB=2\r\n", "[S]\r\nA=9\r\nB=2\r\n"},
        {"CR CR LF", "[S]\nA=1\r\r\nB=2\r\r\n", "[S]\nA=9\r\r\nB=2\r\r\n"},
        {"last line with a bare CR", "[S]\nB=2\nA=1\r", "[S]\nB=2\nA=9\r"},
        {"no final line end", "[S]\nA=1", "[S]\nA=9"},
        {"mixed", "[S]\r\nA=1\nB=2\r\n", "[S]\r\nA=9\nB=2\r\n"},
        {"byte-order mark", "\xEF\xBB\xBF[S]\nA=1\n", "\xEF\xBB\xBF[S]\nA=9\n"},
        {"NUL and high bytes", std::string("[S]\nA=1\n\xFF\0x\n", 13), std::string("[S]\nA=9\n\xFF\0x\n", 13)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IniDocument doc = IniDocument::Parse(c.text);
        EXPECT_EQ(doc.Text(), c.text);
        EXPECT_EQ(doc.Value("s", "a"), "1");
        EXPECT_EQ(IniDocument::Parse(IniDocument::Parse(c.text).Text()).Text(), c.text);
        doc.Set("S", "A", "9");
        EXPECT_EQ(doc.Text(), c.afterEdit);
    }
}

// Lines added after a last line without a line end start on a line of their
// own, with the file's line end.
TEST(IniDocument, AddedLinesTakeTheFilesLineEnd) {
    IniDocument doc = IniDocument::Parse(std::string_view("[S]\r\nA=1"));
    doc.Set("S", "B", "2");
    doc.Set("T", "C", "3");
    EXPECT_EQ(doc.Text(), "[S]\r\nA=1\r\nB=2\r\n\r\n[T]\r\nC=3\r\n");
    IniDocument empty;
    empty.Set("S", "K", "V");
    EXPECT_EQ(empty.Text(), "[S]\nK=V\n");
}

// Repeated sections and keys, letter case, stray lines: the index gives what
// reading the lines in order gives.
TEST(IniDocument, IndexFollowsTheReadingRules) {
    IniDocument doc = IniDocument::Parse(std::string_view(
        "k=before any section\n"
        "[A]\n"
        "x=1\n"
        "X=2\n"
        "[]\n"
        "lost=1\n"
        "[b]\n"
        "y=3\n"
        "[a]\n"
        "z=4\n"
        "x=5\n"
        "[B]\n"
        "y=6\n"));
    EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(doc.Value("a", "X"), "1");  // the first occurrence in file order
    EXPECT_EQ(doc.Value("A", "z"), "4");  // the later occurrence of the section is read too
    EXPECT_EQ(doc.Value("B", "y"), "3");
    EXPECT_EQ(doc.Value("", "lost"), std::nullopt);
    EXPECT_EQ(doc.Value("A", "k"), std::nullopt);
    EXPECT_EQ(doc.Keys("a"), (std::vector<std::string>{"x", "z"}));
    EXPECT_EQ(doc.LineOf("a", "z"), 10u);
    EXPECT_EQ(doc.LineOf("a", "missing"), 0u);

    // After an edit the index is that of the new text.
    doc.EraseSection("A");
    EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"b"}));
    EXPECT_EQ(doc.Value("A", "x"), std::nullopt);
    EXPECT_EQ(doc.Keys("B"), (std::vector<std::string>{"y"}));
    EXPECT_EQ(doc.LineOf("B", "y"), 5u);
}

// Many sections and keys: every one is found (hash collisions and table
// growth included).
TEST(IniDocument, EveryKeyOfALargeDocumentIsFound) {
    std::string text;
    for (int s = 0; s < 300; ++s) {
        text += "[R" + std::to_string(s) + "]\n";
        for (int k = 0; k < 20; ++k) text += "Key" + std::to_string(k) + "=" + std::to_string(s * 100 + k) + "\n";
    }
    IniDocument doc = IniDocument::Parse(text);
    ASSERT_EQ(doc.Sections().size(), 300u);
    for (int s = 0; s < 300; s += 7)
        for (int k = 0; k < 20; ++k)
            EXPECT_EQ(doc.Value("r" + std::to_string(s), "KEY" + std::to_string(k)), std::to_string(s * 100 + k));
    EXPECT_EQ(doc.Value("R1", "Key20"), std::nullopt);
}

} // namespace
} // namespace dvx
