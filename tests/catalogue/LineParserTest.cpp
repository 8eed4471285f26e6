// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/catalogue/LineParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dvx {
namespace {

// Every token of a line until the end of the text.
std::vector<std::string> Tokens(const std::string& line) {
    TLineParser parser;
    parser.SetText(line);
    std::vector<std::string> tokens;
    while (parser.Status() != TLineParser::psEnd) {
        std::string token = parser.GetToken();
        if (parser.Status() == TLineParser::psEnd && token.empty()) break;
        tokens.push_back(token);
        if (tokens.size() > 100) break; // a parser that stops advancing
    }
    return tokens;
}

TEST(LineParser, SplitsLinesIntoTokens) {
    struct Case {
        std::string line;
        std::vector<std::string> tokens;
    };
    const Case cases[] = {
        {"25, 135, 35", {"25", "135", "35"}},
        {"'a, b', 3", {"a, b", "3"}},
        {"p, 1, Pipe run 2, 3.5", {"p", "1", "Pipe run 2", "3.5"}},
        {"-1.5e-3", {"-1.5e-3"}},
        {"+2E5,x", {"+2E5", "x"}},
        {"12abc", {"12abc"}},
        {"Std Elbow 90 deg, 7", {"Std Elbow 90 deg", "7"}},
        {"\"quoted\", 'single'", {"quoted", "single"}},
        {"'open to the end", {"open to the end"}},
        {"'it''s', 4", {"it", "s", "4"}}, // the first quote ends the text
        {"%0.4g, %3d, %-8.2f, %s", {"%0.4g", "%3d", "%-8.2f", "%s"}},
        {"%12:-4.1e", {"%12:-4.1e"}},
        {"  \t 7  ", {"7  "}}, // trailing blanks are printable: they join the token
        {"f, 1, 'Bend', 102, 25.0, 1.5, 'Std Elbow 90 deg', 0, 2",
         {"f", "1", "Bend", "102", "25.0", "1.5", "Std Elbow 90 deg", "0", "2"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Tokens(c.line), c.tokens) << c.line;
}

TEST(LineParser, KindsOfTokens) {
    TLineParser parser;
    parser.SetText("word, 12, 12abc, 'text', %0.1f, %z");
    parser.GetToken();
    EXPECT_EQ(parser.Kind(), TLineParser::tkWord);
    parser.GetToken();
    EXPECT_EQ(parser.Kind(), TLineParser::tkNumber);
    parser.GetToken();
    EXPECT_EQ(parser.Kind(), TLineParser::tkText);
    parser.GetToken();
    EXPECT_EQ(parser.Kind(), TLineParser::tkText);
    parser.GetToken();
    EXPECT_EQ(parser.Kind(), TLineParser::tkFormat);
    parser.GetToken();
    EXPECT_EQ(parser.Kind(), TLineParser::tkNone);
    EXPECT_EQ(parser.Status(), TLineParser::psBadFormat);
}

TEST(LineParser, CommentLineGivesAnEmptyToken) {
    TLineParser parser;
    parser.SetText("; p, 1, 'not an item'");
    EXPECT_EQ(parser.GetToken(), "");
    EXPECT_EQ(parser.Status(), TLineParser::psEnd);
    EXPECT_EQ(parser.GetToken(), "");
}

TEST(LineParser, NumbersAndFailedConversions) {
    TLineParser parser;
    parser.SetText("12abc, 3.25, x, 0x1F, 7, 2.5");
    EXPECT_EQ(parser.NextInt(), 0);
    EXPECT_EQ(parser.Status(), TLineParser::psConvertFailed);
    EXPECT_EQ(parser.NextFloat(), 3.25);
    EXPECT_EQ(parser.NextFloat(), 0);
    EXPECT_EQ(parser.Status(), TLineParser::psConvertFailed);
    // A failed conversion does not stop the reading of the fields after it.
    EXPECT_EQ(parser.NextInt(), 31);
    EXPECT_EQ(parser.NextInt(), 7);
    EXPECT_EQ(parser.NextInt(), 0); // "2.5" is not an integer
    // Past the end: empty tokens and zeros.
    EXPECT_EQ(parser.GetToken(), "");
    EXPECT_EQ(parser.NextFloat(), 0);
    EXPECT_EQ(parser.NextInt(), 0);
}

TEST(LineParser, NotANumberAndOverflowReadAsZero) {
    TLineParser parser;
    parser.SetText("nan, inf, 1e999, -1e999, 1e-999");
    EXPECT_EQ(parser.NextFloat(), 0);
    EXPECT_EQ(parser.NextFloat(), 0);
    EXPECT_EQ(parser.NextFloat(), 0);
    EXPECT_EQ(parser.Status(), TLineParser::psConvertFailed);
    EXPECT_EQ(parser.NextFloat(), 0);
    EXPECT_EQ(parser.NextFloat(), 0);
}

TEST(LineParser, OtherDelimitersAndControlCharacters) {
    TLineParser parser;
    parser.SetDelimiters(";|");
    parser.SetText("a b|c,d");
    EXPECT_EQ(parser.GetToken(), "a b");
    EXPECT_EQ(parser.GetToken(), "c,d");
    // Bytes below 32 and 255 separate tokens like blanks; bytes above 127 are printable text.
    TLineParser bytes;
    std::string line = std::string("\x01\x02", 2) + "\xff" + "7" + std::string(1, '\0') + "\xe9t\xe9";
    bytes.SetText(line);
    EXPECT_EQ(bytes.NextInt(), 7);
    EXPECT_EQ(bytes.GetToken(), "\xe9t\xe9");
    EXPECT_EQ(bytes.GetToken(), "");
}

} // namespace
} // namespace dvx
