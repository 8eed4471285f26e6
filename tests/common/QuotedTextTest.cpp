// SPDX-License-Identifier: GPL-3.0-or-later
// File content quoted in a message: unprintable bytes escaped, long content
// cut on a character or escape boundary.

#include "base/QuotedText.h"

#include <gtest/gtest.h>
#include <string>

namespace dvx {
namespace {

using namespace std::string_literals;

TEST(QuotedText, EscapesWhatIsNotPrintable) {
    struct Case {
        std::string text;
        std::string quoted;
    } cases[] = {
        {"", ""},
        {"R22 vh=1,2", "R22 vh=1,2"},
        {"tab\there\r\n", "tab\\x09here\\x0D\\x0A"},
        {"a\0b"s, "a\\x00b"},
        {"\x7f\x1b[0m", "\\x7F\\x1B[0m"},
        {"\xc3\xa9t\xc3\xa9 \xe2\x82\xac \xf0\x9f\x94\xa7", "\xc3\xa9t\xc3\xa9 \xe2\x82\xac \xf0\x9f\x94\xa7"},
        {"\xc2\x85", "\\xC2\\x85"},                     // a control character of the second set
        {"\xff\xfe", "\\xFF\\xFE"},                     // never UTF-8
        {"\xc0\xaf", "\\xC0\\xAF"},                     // overlong '/'
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},            // a surrogate
        {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},   // beyond U+10FFFF
        {"x\xe2\x82", "x\\xE2\\x82"},                   // a character cut off at the end
        {"\x80" "abc", "\\x80abc"},                     // a stray continuation byte
    };
    for (const Case& c : cases) EXPECT_EQ(QuotedText(c.text), c.quoted) << c.quoted;
}

TEST(QuotedText, CutsLongContentWithinTheLimit) {
    struct Case {
        std::string text;
        std::size_t limit;
        std::string quoted;
    } cases[] = {
        {std::string(60, 'a'), 60, std::string(60, 'a')},       // exactly the limit: whole
        {std::string(61, 'a'), 60, std::string(57, 'a') + "..."},
        {std::string(100000, 'a'), 10, "aaaaaaa..."},
        // Never inside a character: "é" is two bytes.
        {"abcdef\xc3\xa9xyz", 10, "abcdef..."},
        {"abcde\xc3\xa9xyzw", 10, "abcde\xc3\xa9..."},
        // Never inside an escape: each NUL takes four bytes.
        {std::string(5, '\0'), 10, "\\x00..."},
        {std::string(2, '\0'), 8, "\\x00\\x00"},
        {"ab", 2, "ab"},
        {"abc", 2, ""},
    };
    for (const Case& c : cases) {
        const std::string quoted = QuotedText(c.text, c.limit);
        EXPECT_EQ(quoted, c.quoted) << c.limit;
        EXPECT_LE(quoted.size(), c.limit);
    }
}

} // namespace
} // namespace dvx
