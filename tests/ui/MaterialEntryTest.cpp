// SPDX-License-Identifier: GPL-3.0-or-later
// The "Add Pipe Material" entry as typed: mm and l/s into SI, blank rows
// skipped, blank optional cells as "not entered", and a cell that is no
// number named by its row and column.
#include "presentation/ui/MaterialEntry.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(MaterialEntry, TypedValuesBecomeAMaterialInSIUnits) {
    TMaterialEntry entry;
    entry.Name = "  My Tube ";
    entry.RoughnessMm = "0.005";
    entry.Rows = {{"DN 32", "32.6", "1.2", "8", "0.2"}, {"", " ", "", "", ""}, {"DN 25", "26.2", "0.7", "", ""}};
    std::string error;
    const auto m = MaterialFromEntry(entry, error);
    ASSERT_TRUE(m) << error;
    EXPECT_EQ(m->Name, "My Tube");
    EXPECT_DOUBLE_EQ(m->Roughness, 5e-6);
    ASSERT_EQ(m->Bores.size(), 2U);
    EXPECT_DOUBLE_EQ(m->Bores[0].ID, 0.0326);
    EXPECT_EQ(m->Bores[0].mf, 1.2);
    EXPECT_EQ(m->Bores[0].ListPrice, 8);
    EXPECT_EQ(m->Bores[0].LabourTime, 0.2);
    EXPECT_EQ(m->Bores[1].Label, "DN 25");
    EXPECT_EQ(m->Bores[1].ListPrice, -1); // not entered
    EXPECT_EQ(m->Bores[1].LabourTime, 0);
}

TEST(MaterialEntry, ACellThatIsNoNumberIsNamed) {
    struct Case {
        std::string roughness;
        std::array<std::string, BoreEntryColumnCount> row;
        const char* error;
    };
    const Case cases[] = {
        {"0,005", {"1\"", "26", "1", "", ""}, "Roughness: '0,005' is not a number"},
        {"0.005", {"1\"", "26 mm", "1", "", ""}, "Row 1, Inside diameter mm: '26 mm' is not a number"},
        {"0.005", {"1\"", "26", "lots", "", ""}, "Row 1, Maximum flow l/s: 'lots' is not a number"},
        {"0.005", {"1\"", "26", "1", "$5", ""}, "Row 1, Price per m: '$5' is not a number"},
        {"0.005", {"1\"", "26", "1", "5", "x"}, "Row 1, Labour h/m: 'x' is not a number"},
    };
    for (const Case& c : cases) {
        TMaterialEntry entry{"Tube", c.roughness, {c.row}};
        std::string error;
        EXPECT_FALSE(MaterialFromEntry(entry, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

} // namespace
} // namespace dvx
