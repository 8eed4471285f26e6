// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV writer quotes exactly the fields a reader would otherwise take
// apart or trim, and leaves every other byte as it is.

#include "base/CsvWriter.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(CsvWriter, QuotesWhatAReaderWouldSplitOrTrim) {
    struct Case {
        const char* what;
        std::string text;
        std::string field;
    };
    const Case cases[] = {
        {"plain text", "Main riser", "Main riser"},
        {"empty", "", ""},
        {"blank inside", "two words", "two words"},
        {"comma", "Bends, long", "\"Bends, long\""},
        {"quote", "say \"hi\"", "\"say \"\"hi\"\"\""},
        {"quote alone", "\"", "\"\"\"\""},
        {"line feed", "two\nlines", "\"two\nlines\""},
        {"carriage return", "two\rlines", "\"two\rlines\""},
        {"CR LF", "two\r\nlines", "\"two\r\nlines\""},
        {"leading blank", " riser", "\" riser\""},
        {"trailing blank", "riser ", "\"riser \""},
        {"blank alone", " ", "\" \""},
        {"everything", " a, \"b\"\n", "\" a, \"\"b\"\"\n\""},
        {"UTF-8", "Chill\xc3\xa9r \xce\xa9", "Chill\xc3\xa9r \xce\xa9"},
        {"wide characters", "\xe9\x85\x8d\xe7\xae\xa1", "\xe9\x85\x8d\xe7\xae\xa1"},
        {"UTF-8 and a comma", "\xce\xa9, \xe9\x85\x8d", "\"\xce\xa9, \xe9\x85\x8d\""},
        {"8-bit byte", "Chill\xe9r", "Chill\xe9r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CsvField(c.text), c.field);
        // A record of one field is that field and the line end.
        std::string record;
        AppendCsvRecord(record, {c.text});
        EXPECT_EQ(record, c.field + "\r\n");
    }
}

TEST(CsvWriter, RecordsJoinFieldsAndEndInCrLf) {
    std::string out;
    AppendCsvRecord(out, {"a", "", "b,c", " d", ""});
    AppendCsvRecord(out, {});
    AppendCsvRecord(out, {"", ""});
    EXPECT_EQ(out, "a,,\"b,c\",\" d\",\r\n\r\n,\r\n");
}

} // namespace
} // namespace dvx
