// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/BitCast.h"
#include "base/Errors.h"
#include "storage/project/TagStream.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace dvx {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(TagWriter, IntegersTakeTheSmallestTag) {
    struct Case {
        std::int64_t value;
        Bytes bytes;
    };
    const Case cases[] = {
        {5, {0x02, 0x05}},
        {300, {0x03, 0x2C, 0x01}},
        {70000, {0x04, 0x70, 0x11, 0x01, 0x00}},
        {0, {0x02, 0x00}},
        {-1, {0x02, 0xFF}},
        {127, {0x02, 0x7F}},
        {128, {0x03, 0x80, 0x00}},
        {-128, {0x02, 0x80}},
        {-129, {0x03, 0x7F, 0xFF}},
        {32767, {0x03, 0xFF, 0x7F}},
        {32768, {0x04, 0x00, 0x80, 0x00, 0x00}},
        {-32769, {0x04, 0xFF, 0x7F, 0xFF, 0xFF}},
        {2147483647, {0x04, 0xFF, 0xFF, 0xFF, 0x7F}},
        {-2147483648LL, {0x04, 0x00, 0x00, 0x00, 0x80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        TTagWriter w;
        w.WriteInteger(c.value);
        EXPECT_EQ(w.Bytes(), c.bytes);
        TTagReader r(w.Bytes());
        EXPECT_EQ(r.ReadInteger(), c.value);
        EXPECT_EQ(r.Remaining(), 0u);
    }
    TTagWriter w;
    EXPECT_THROW(w.WriteInteger(2147483648LL), FileError);
}

TEST(TagWriter, StringTagsByContent) {
    struct Case {
        std::string text;
        std::uint8_t tag;
        std::size_t headerSize;
    };
    const Case cases[] = {
        {"", 0x06, 2},
        {"Main riser", 0x06, 2},
        {std::string(255, 'a'), 0x06, 2},
        {std::string(256, 'a'), 0x0C, 5},
        {std::string(300, 'x'), 0x0C, 5},
        {"Caf\xC3\xA9", 0x14, 5},                         // é
        {std::string(300, 'x') + "\xE2\x82\xAC", 0x14, 5}, // long with €
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        TTagWriter w;
        w.WriteString(c.text);
        const Bytes& b = w.Bytes();
        ASSERT_EQ(b.size(), c.headerSize + c.text.size());
        EXPECT_EQ(b[0], c.tag);
        if (c.headerSize == 2) {
            EXPECT_EQ(b[1], c.text.size());
        } else {
            const std::uint32_t len = b[1] | (b[2] << 8) | (b[3] << 16) | (std::uint32_t{b[4]} << 24);
            EXPECT_EQ(len, c.text.size());
        }
        EXPECT_EQ(std::string(b.begin() + c.headerSize, b.end()), c.text);
        TTagReader r(b);
        EXPECT_EQ(r.ReadString(), c.text);
    }
}

TEST(TagWriter, FloatsDatesBooleansNames) {
    TTagWriter w;
    w.WriteFloat(1.0);
    w.WriteDate(45000.5);
    w.WriteBoolean(true);
    w.WriteBoolean(false);
    w.WriteShortName("Pipe");
    w.WriteListBegin();
    w.WriteListEnd();
    const Bytes date = [] {
        Bytes b(8);
        const std::uint64_t bits = dvx::BitCast<std::uint64_t>(45000.5);
        for (int i = 0; i < 8; ++i) b[i] = static_cast<std::uint8_t>(bits >> (8 * i));
        return b;
    }();
    EXPECT_EQ(w.Bytes(), Concat({{0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F},
                                 {0x11}, date,
                                 {0x09, 0x08},
                                 {0x04}, Text("Pipe"),
                                 {0x01, 0x00}}));
    TTagReader r(w.Bytes());
    EXPECT_EQ(r.ReadFloat(), 1.0);
    EXPECT_EQ(r.ReadDate(), 45000.5);
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_FALSE(r.ReadBoolean());
    EXPECT_EQ(r.ReadShortName(), "Pipe");
    r.ReadListBegin();
    EXPECT_TRUE(r.EndOfList());
    EXPECT_EQ(r.Remaining(), 0u);
}

TEST(TagReader, FloatAndDateAcceptEveryNumericTag) {
    const double d = 0.1;
    const std::uint64_t bits = dvx::BitCast<std::uint64_t>(d);
    Bytes dbl = {0x15};
    for (int i = 0; i < 8; ++i) dbl.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    const Bytes i64 = {0x13, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}; // 2^32
    const Bytes stream = Concat({{0x02, 0xFB}, {0x03, 0x2C, 0x01}, {0x04, 0x70, 0x11, 0x01, 0x00}, i64, dbl});
    TTagReader floats(stream);
    EXPECT_EQ(floats.ReadFloat(), -5.0);
    EXPECT_EQ(floats.ReadFloat(), 300.0);
    EXPECT_EQ(floats.ReadFloat(), 70000.0);
    EXPECT_EQ(floats.ReadFloat(), 4294967296.0);
    EXPECT_EQ(floats.ReadFloat(), 0.1);

    const Bytes dates = Concat({{0x02, 0x07}, i64});
    TTagReader r(dates);
    EXPECT_EQ(r.ReadDate(), 7.0);
    EXPECT_EQ(r.ReadDate(), 4294967296.0);
}

TEST(TagReader, WrongTagsAreReadErrors) {
    struct Case {
        const char* what;
        Bytes bytes;
        int kind; // 0 integer, 1 float, 2 string, 3 date, 4 list begin
    };
    const Case cases[] = {
        {"int64 is not an integer value", {0x13, 1, 0, 0, 0, 0, 0, 0, 0}, 0},
        {"extended is not an integer", {0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}, 0},
        {"string is not a float", {0x06, 0x00}, 1},
        {"date is not a float", {0x11, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"integer is not a string", {0x02, 0x05}, 2},
        {"unknown tag 0x07", {0x07}, 2},
        {"double is not a date", {0x15, 0, 0, 0, 0, 0, 0, 0, 0}, 3},
        {"string is not a list", {0x06, 0x00}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TTagReader r(c.bytes);
        switch (c.kind) {
        case 0: EXPECT_THROW(r.ReadInteger(), FileError); break;
        case 1: EXPECT_THROW(r.ReadFloat(), FileError); break;
        case 2: EXPECT_THROW(r.ReadString(), FileError); break;
        case 3: EXPECT_THROW(r.ReadDate(), FileError); break;
        case 4: EXPECT_THROW(r.ReadListBegin(), FileError); break;
        }
    }
}

TEST(TagReader, BooleanConsumesOnlyTheTag) {
    const Bytes b = {0x09, 0x08, 0x02, 0x05};
    TTagReader r(b);
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_FALSE(r.ReadBoolean());
    EXPECT_FALSE(r.ReadBoolean()); // an int8 tag reads as false ...
    EXPECT_EQ(r.Remaining(), 1u);  // ... and leaves its payload behind
}

TEST(TagReader, TruncatedAndOversizedLengthsFail) {
    const Bytes cases[] = {
        {},                                        // nothing at all
        {0x06, 0x05, 'a', 'b'},                     // short string cut short
        {0x0C, 0xFF, 0xFF, 0xFF, 0x7F, 'a'},        // 2 GB long string in a tiny file
        {0x14, 0xFF, 0xFF, 0xFF, 0xFF},             // 4 GB UTF-8 string
        {0x12, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0},     // 4 G code units: 8 GB
    };
    for (const Bytes& b : cases) {
        TTagReader r(b);
        EXPECT_THROW(r.ReadString(), FileError);
    }
    const Bytes extended = {0x05, 0x00, 0x00};
    TTagReader e(extended);
    EXPECT_THROW(e.ReadFloat(), FileError);
    const Bytes int32 = {0x04, 0x01, 0x02};
    TTagReader i(int32);
    EXPECT_THROW(i.ReadInteger(), FileError);
    const Bytes name = {0x08, 'T', 'C'};
    TTagReader r(name);
    EXPECT_THROW(r.ReadShortName(), FileError);
}

TEST(TagReader, EightBitTextIsWindows1252) {
    // "Café – 5 €" in Windows-1252 under both 8-bit tags.
    const Bytes cp1252 = {'C', 'a', 'f', 0xE9, ' ', 0x96, ' ', '5', ' ', 0x80};
    const std::string utf8 = "Caf\xC3\xA9 \xE2\x80\x93 5 \xE2\x82\xAC";
    Bytes stream = {0x06, static_cast<std::uint8_t>(cp1252.size())};
    stream.insert(stream.end(), cp1252.begin(), cp1252.end());
    stream.insert(stream.end(), {0x0C, static_cast<std::uint8_t>(cp1252.size()), 0, 0, 0});
    stream.insert(stream.end(), cp1252.begin(), cp1252.end());
    TTagReader r(stream);
    EXPECT_EQ(r.ReadString(), utf8);
    EXPECT_EQ(r.ReadString(), utf8);
}

TEST(TagReader, WideAndUtf8Strings) {
    // "é" and U+1F600 as a surrogate pair, then a lone high surrogate.
    const Bytes wide = {0x12, 4, 0, 0, 0, 0xE9, 0x00, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xD8};
    TTagReader w(wide);
    EXPECT_EQ(w.ReadString(), "\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD");

    // Malformed UTF-8 under tag 0x14 is repaired, not passed on.
    const Bytes bad = {0x14, 4, 0, 0, 0, 'a', 0xC3, 'b', 0xFF};
    TTagReader u(bad);
    EXPECT_EQ(u.ReadString(), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(TagReader, SeekReadsAValueAgain) {
    TTagWriter w;
    w.WriteString("Project title");
    TTagReader r(w.Bytes());
    const std::size_t start = r.Position();
    EXPECT_EQ(r.ReadString(), "Project title");
    r.Seek(start);
    EXPECT_EQ(r.ReadString(), "Project title");
}

} // namespace
} // namespace dvx
