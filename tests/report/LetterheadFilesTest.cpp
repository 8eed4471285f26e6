// SPDX-License-Identifier: GPL-3.0-or-later
// Both reports read the same letterhead file the same way, whatever editor
// wrote it.
#include "presentation/report/PriceReport.h"
#include "presentation/report/GridReport.h"
#include "presentation/report/LetterheadFiles.h"
#include "settings/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dvx {
namespace {

struct LetterheadCase {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
};

const std::vector<LetterheadCase>& LetterheadCases() {
    static const std::vector<LetterheadCase> cases = {
        {"Windows-1252 with CR LF, incl. the euro sign and curly quotes",
         "M\xFC" "ller \x80 Co\r\n\x93Pumps\x94 K\xF6ln\r\n",
         {"M\u00FCller \u20AC Co", "\u201CPumps\u201D K\u00F6ln"}},
        {"UTF-8 after a byte-order mark",
         "\xEF\xBB\xBF" "K\xC3\xB6ln GmbH\nTel. 1\n", {"K\u00F6ln GmbH", "Tel. 1"}},
        {"UTF-16LE after its byte-order mark",
         std::string("\xFF\xFE" "A\0\xFC\0\r\0\n\0B\0", 12), {"A\u00FC", "B"}},
        {"plain UTF-8, a blank line kept, no last line end",
         "Stra\xC3\x9F" "e 1\n\nThird", {"Stra\u00DFe 1", "", "Third"}},
    };
    return cases;
}

TEST(Letterhead, CircuitAndPriceReportsReadEveryEncodingAlike) {
    for (const LetterheadCase& c : LetterheadCases()) {
        SCOPED_TRACE(c.what);
        test::TempFolder data;
        test::TempFolder program;
        test::WriteText(data / kLetterheadName, c.bytes);
        test::WriteText(data / kReportLogoName, "GIF89a");

        EXPECT_EQ(ReadLetterheadLines(data / kLetterheadName), c.lines);
        EXPECT_EQ(LoadPriceLetterhead(data.Path(), program.Path()), c.lines);

        TGridReport circuit;
        circuit.SetLetterhead(data / kLetterheadName, data / kReportLogoName, false, "", "", 4, 4);
        EXPECT_EQ(circuit.Setup().letterheadLines, c.lines);
    }
}

TEST(Letterhead, AnUnreadableFileGivesNothing) {
    test::TempFolder data;
    EXPECT_FALSE(ReadLetterheadLines(data / "missing.txt").has_value());
    EXPECT_FALSE(ReadLetterheadLines(data.Path()).has_value()); // a folder, not a file
}

} // namespace
} // namespace dvx
