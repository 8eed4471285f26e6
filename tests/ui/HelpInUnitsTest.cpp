// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/HelpInUnits.h"

#include "base/platform/FileRead.h"
#include "engine/units/Quantities.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

const std::string kPage = "<html><head><title>t</title></head><body><p>Units: <span id=\"units-in-force\">SI by "
                          "default</span>; files in SI. <a href=\"../Manual/Manual.htm\">manual</a></p></body></html>";

TEST(HelpInUnits, SiLeavesTheShippedPageAlone) {
    EXPECT_FALSE(HelpPageInUnits(kPage, TUnitChoice(), "file:///opt/Help/"));
}

TEST(HelpInUnits, OtherUnitsAreNamedAndLinksStillResolve) {
    const std::optional<std::string> us =
        HelpPageInUnits(kPage, TUnitChoice::FromPreset(upUS), "file:///opt/dar%20venix/Help/");
    ASSERT_TRUE(us);
    EXPECT_NE(us->find("<span id=\"units-in-force\">now US customary units (flow gpm, bore in, length ft, "
                       "pressure drop psi); SI, US customary units or a unit of your choice per quantity can be "
                       "chosen there</span>; files in SI."),
              std::string::npos)
        << *us;
    EXPECT_EQ(us->find("SI by default"), std::string::npos);
    EXPECT_NE(us->find("<head>\n<base href=\"file:///opt/dar%20venix/Help/\"><title>"), std::string::npos) << *us;

    // A choice of one's own: only the changed unit differs from SI.
    TUnitChoice mixed;
    mixed.Set(qtPressureDrop, UnitIndexOf(qtPressureDrop, "psi"));
    const std::optional<std::string> own = HelpPageInUnits(kPage, mixed, "file:///opt/Help/");
    ASSERT_TRUE(own);
    EXPECT_NE(own->find("now your own choice of units (flow l/s, bore mm, length m, pressure drop psi)"),
              std::string::npos)
        << *own;
}

TEST(HelpInUnits, APageWithoutTheMarkKeepsItsTextAndGetsItsBase) {
    const std::string plain = "<html><head></head><body>SI by default</body></html>";
    const std::optional<std::string> us = HelpPageInUnits(plain, TUnitChoice::FromPreset(upUS), "file:///a\"b/");
    ASSERT_TRUE(us);
    EXPECT_EQ(*us, "<html><head>\n<base href=\"file:///a&quot;b/\"></head><body>SI by default</body></html>");
}

// The shipped page carries the mark around its units sentence, and the
// sentence names the SI preset's units as the grid shows them.
TEST(HelpInUnits, TheShippedPageMarksItsUnitsSentence) {
    const std::string page = ReadFileText(DARVENIX_SOURCE_DIR "/Help/Darvenix.htm", 1u << 22);
    const std::size_t mark = page.find("<span id=\"units-in-force\">SI by default (");
    ASSERT_NE(mark, std::string::npos);
    std::string sentence = page.substr(mark, page.find("</span>", mark) - mark);
    for (char& c : sentence)
        if (c == '\n') c = ' ';
    EXPECT_NE(sentence.find("(" + GridUnitsText(TUnitChoice()) + ")"), std::string::npos) << sentence;
}

} // namespace
} // namespace dvx
