// SPDX-License-Identifier: GPL-3.0-or-later
// The item list as spreadsheet rows: copied rows read back into the same
// items, rows in the text item order, header rows in any order, bad rows
// reported and skipped, and CSV quoting.

#include "storage/project/ItemTable.h"
#include "engine/hydraulics/ProjectContext.h"

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "base/Numbers.h"
#include "engine/fluid/Fluid.h"
#include "engine/units/UnitChoice.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dvx {
namespace {

class ItemTableTest : public ::testing::Test {
protected:
    TProjectState state_; // the test's own tables, liquid and item counter
    const TProjectContext project = state_.Context();
};

// The values a user enters: what must survive a copy and paste.
void ExpectSameInputs(const TBranch& a, const TBranch& b, int row) {
    SCOPED_TRACE(row);
    ASSERT_EQ(a.Kind(), b.Kind());
    EXPECT_EQ(a.Number, b.Number);
    EXPECT_EQ(a.Description, b.Description);
    EXPECT_EQ(a.TypeName, b.TypeName);
    EXPECT_EQ(a.BoreIndex, b.BoreIndex);
    EXPECT_NEAR(a.Flow, b.Flow, std::abs(a.Flow) * 1e-15);
    EXPECT_EQ(a.Group, b.Group);
    EXPECT_EQ(a.InIndex, b.InIndex);
    if (a.Kind() == TItemKind::User) {
        EXPECT_NEAR(a.PressureDrop, b.PressureDrop, std::abs(a.PressureDrop) * 1e-15);
    }
    if (a.Kind() == TItemKind::Pipe) {
        EXPECT_EQ(static_cast<const TPipe&>(a).Length, static_cast<const TPipe&>(b).Length);
    }
    if (a.Kind() == TItemKind::Fitting) {
        EXPECT_EQ(static_cast<const TFitting&>(a).FittingType, static_cast<const TFitting&>(b).FittingType);
        EXPECT_EQ(static_cast<const TFitting&>(a).Quantity, static_cast<const TFitting&>(b).Quantity);
    }
}

TEST_F(ItemTableTest, TwentyCopiedRowsPasteAsTheSameItems) {
    TCircuit circuit(project);
    for (int i = 0; i < 20; ++i) {
        std::unique_ptr<TBranch> item;
        if (i % 3 == 0) {
            auto pipe = std::make_unique<TPipe>(project);
            pipe->Length = 0.1 * i + 0.07;
            item = std::move(pipe);
        } else if (i % 3 == 1) {
            auto fitting = std::make_unique<TFitting>(project, i % FittingCount);
            fitting->Quantity = i;
            item = std::move(fitting);
        } else {
            item = std::make_unique<TUser>(project);
            item->PressureDrop = 1234.5678 * i;
        }
        item->Description = "Item, \"" + std::to_string(i) + "\"\tend"; // comma, quotes and a tab
        item->SetBore(project, i % BoreCount);
        item->Flow = 0.000123 * (i + 1);
        item->Group = i / 4;
        item->InIndex = i % 2 == 0;
        circuit.Append(std::move(item));
    }
    circuit.Calculate(project, false);
    std::vector<const TBranch*> items;
    for (const auto& item : circuit.Items) items.push_back(item.get());

    const TPastedItems pasted = ReadPastedItems(ItemsAsTabSeparated(items, project), project);
    EXPECT_TRUE(pasted.Messages.empty()) << pasted.Messages.front();
    ASSERT_EQ(pasted.Items.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        TBranch& original = circuit.Item(i);
        // A tab in a text cannot travel inside one cell; it becomes a blank.
        original.Description.replace(original.Description.find('\t'), 1, " ");
        ExpectSameInputs(original, *pasted.Items[static_cast<std::size_t>(i)], i);
    }
}

TEST_F(ItemTableTest, CopiedRowsAreInTheShownUnitsAndPasteBackByTheirCaptions) {
    TCircuit circuit(project);
    auto pipe = std::make_unique<TPipe>(project);
    pipe->Length = 30.48; // 100 ft
    pipe->SetBoreFromNominal(project, 32);
    pipe->Flow = 6.30901964e-3; // 100 gpm
    circuit.Append(std::move(pipe));
    auto user = std::make_unique<TUser>(project);
    user->PressureDrop = 6894.757293168; // 1 psi
    user->SetBoreFromNominal(project, 50);
    user->Flow = 0.001;
    circuit.Append(std::move(user));
    const std::vector<const TBranch*> items{&circuit.Item(0), &circuit.Item(1)};

    SetDisplayUnits(TUnitChoice::FromPreset(upUS));
    const std::string copied = ItemsAsTabSeparated(items, project);
    SetDisplayUnits(TUnitChoice());

    const std::string header = copied.substr(0, copied.find('\r'));
    for (const char* caption : {"\tSize, in\t", "\tQ, gpm\t", "\tdP, psi\t", "\tLength, ft\t", "\tVelocity, ft/s\t"})
        EXPECT_NE(header.find(caption), std::string::npos) << caption << " in " << header;
    // The pipe's row: size, flow and length in the shown units.
    std::vector<std::string> cells;
    const std::size_t rowStart = copied.find('\n') + 1;
    const std::string row = copied.substr(rowStart, copied.find('\r', rowStart) - rowStart);
    for (std::size_t at = 0, tab; at <= row.size(); at = tab + 1) {
        tab = row.find('\t', at);
        if (tab == std::string::npos) tab = row.size();
        cells.push_back(row.substr(at, tab - at));
    }
    ASSERT_EQ(cells.size(), static_cast<std::size_t>(TableColumnCount));
    EXPECT_EQ(cells[tcSize], "1\u00BC\""); // 32 mm is 1¼"
    EXPECT_NEAR(StrToFloat(cells[tcFlow]), 100, 1e-12);
    EXPECT_NEAR(StrToFloat(cells[tcLength]), 100, 1e-12);

    // Pasted with the SI units in force, the captions still say what the
    // numbers are in.
    const TPastedItems pasted = ReadPastedItems(copied, project);
    EXPECT_TRUE(pasted.Messages.empty()) << pasted.Messages.front();
    ASSERT_EQ(pasted.Items.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const TBranch& a = circuit.Item(i);
        const TBranch& b = *pasted.Items[static_cast<std::size_t>(i)];
        EXPECT_EQ(a.BoreIndex, b.BoreIndex) << i;
        EXPECT_NEAR(a.Flow, b.Flow, a.Flow * 1e-14) << i;
    }
    EXPECT_NEAR(static_cast<const TPipe&>(*pasted.Items[0]).Length, 30.48, 1e-12);
    EXPECT_NEAR(pasted.Items[1]->PressureDrop, 6894.757293168, 1e-9);

    // A spreadsheet of its own in US units.
    const TPastedItems typed = ReadPastedItems("Type\tSize, in\tQ, gpm\tLength, ft\nPipe\t2\t50\t10\n", project);
    EXPECT_TRUE(typed.Messages.empty()) << typed.Messages.front();
    ASSERT_EQ(typed.Items.size(), 1u);
    EXPECT_EQ(NominalOf(project.Tables, typed.Items[0]->BoreIndex), 50);
    EXPECT_NEAR(typed.Items[0]->Flow, 50 * 3.785411784e-3 / 60, 1e-15);
    EXPECT_NEAR(static_cast<const TPipe&>(*typed.Items[0]).Length, 3.048, 1e-12);
}

TEST_F(ItemTableTest, RowsInTextItemOrderWithOneBadRow) {
    const char* text = "p\t3\tMain riser\t102\t25\t8.077\tPipe\t10\r\n"
                       "p\t4\tBroken\t102\tabc\t0\tPipe\t10\r\n"
                       "u\t5\tCoil\t52\t2.5\t40\tUser\n";
    const TPastedItems pasted = ReadPastedItems(text, project);
    ASSERT_EQ(pasted.Items.size(), 2u);
    ASSERT_EQ(pasted.Messages.size(), 1u);
    EXPECT_EQ(pasted.Messages[0], "Row 2, Q (l/s): 'abc' is not a number");
    const auto& pipe = static_cast<const TPipe&>(*pasted.Items[0]);
    EXPECT_EQ(pipe.Number, 3);
    EXPECT_EQ(pipe.Description, "Main riser");
    EXPECT_EQ(NominalOf(project.Tables, pipe.BoreIndex), 100); // 102 mm inside: the 100 mm bore
    EXPECT_DOUBLE_EQ(pipe.Flow, 0.025);
    EXPECT_EQ(pipe.Length, 10);
    EXPECT_EQ(pasted.Items[1]->Kind(), TItemKind::User);
    EXPECT_DOUBLE_EQ(pasted.Items[1]->PressureDrop, 40000);
}

TEST_F(ItemTableTest, BadRowsAreNamedAndSkipped) {
    struct Case {
        std::string row;
        std::string message;
    };
    const Case cases[] = {
        {"x\t1\tA\t102\t1\t0\tPipe\t10", "Row 1: 'x' is not a kind of item (p, f, u, k or v)"},
        // A cell quoted in a message is cut and its unprintable bytes escaped.
        {std::string(5000, 'k') + "\t1\tA\t102\t1\t0\tPipe\t10",
         "Row 1: '" + std::string(57, 'k') + "...' is not a kind of item (p, f, u, k or v)"},
        {"p\t1\tA\t1\x01" "02\t1\t0\tPipe\t10", "Row 1, ID (mm): '1\\x0102' is not a number"},
        {"p\t\x1b[2J\xff\tA\t102\t1\t0\tPipe\t10", "Row 1, #: '\\x1B[2J\\xFF' is not a number"},
        {"p\t1\tA\t102\t1\t0\tPipe", "Row 1: too few fields"},
        {"f\t1\tA\t102\t1\t0\tElbow\t24\t2", "Row 1: fitting type 24 is not in the fittings table"},
        {"p\t1\tA\t102\t-1\t0\tPipe\t10", "Row 1: Q, l/s may not be negative"},
        {"p\t1.5\tA\t102\t1\t0\tPipe\t10", "Row 1: '1.5' is no whole number for #"},
        // A cell that is no number names its row and column.
        {"p\tone\tA\t102\t1\t0\tPipe\t10", "Row 1, #: 'one' is not a number"},
        {"p\t1\tA\t102\t1\t0\tPipe\t10 m", "Row 1, Length (m): '10 m' is not a number"},
        {"f\t1\tA\t102\t1\t0\tElbow\t2\ttwo", "Row 1, Qty: 'two' is not a number"},
        {"Type\tQ, gpm\tLength, ft\n\nPipe\tabc\t10", "Row 3, Q (gpm): 'abc' is not a number"},
        {"Type\tSize, mm\nPipe\twide", "Row 2, Size (mm): 'wide' is not a number"},
    };
    for (const Case& c : cases) {
        const TPastedItems pasted = ReadPastedItems(c.row, project);
        EXPECT_TRUE(pasted.Items.empty()) << c.row;
        ASSERT_EQ(pasted.Messages.size(), 1u) << c.row;
        EXPECT_EQ(pasted.Messages[0], c.message);
    }
}

TEST_F(ItemTableTest, HeaderRowNamesColumnsInAnyOrder) {
    // A spreadsheet of its own: columns reordered, one unknown, quoted
    // cells, no "Kind" column (the type tells it), a blank line.
    const std::string fitting = project.Tables.FittingTable[5].FittingName;
    const std::string text = "Remark\tType\tQ, l/s\tdescription\tSize, mm\tqty\tLength, m\n"
                             "x\tPipe\t2.5\t\"Riser\t1\"\t100\t\t12\n"
                             "\n"
                             "y\t" + fitting + "\t1\tBend\t50\t3\t\n"
                             "z\tWidget\t1\tOdd\t50\t\t\n";
    const TPastedItems pasted = ReadPastedItems(text, project);
    ASSERT_EQ(pasted.Items.size(), 2u);
    EXPECT_EQ(pasted.Items[0]->Description, "Riser\t1");
    EXPECT_EQ(NominalOf(project.Tables, pasted.Items[0]->BoreIndex), 100);
    EXPECT_EQ(static_cast<const TPipe&>(*pasted.Items[0]).Length, 12);
    ASSERT_EQ(pasted.Items[1]->Kind(), TItemKind::Fitting);
    EXPECT_EQ(static_cast<const TFitting&>(*pasted.Items[1]).FittingType, 5);
    EXPECT_EQ(static_cast<const TFitting&>(*pasted.Items[1]).Quantity, 3);
    ASSERT_EQ(pasted.Messages.size(), 1u);
    EXPECT_EQ(pasted.Messages[0], "Row 5: no kind of item (a \"Kind\" or \"Type\" column)");
}

TEST_F(ItemTableTest, CsvQuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(CommaSeparated({{"a", "b,c", "say \"hi\"", "two\nlines", ""}}),
              "a,\"b,c\",\"say \"\"hi\"\"\",\"two\nlines\",\r\n");
    // Blanks at an end are part of a description: quoted, so that a reader
    // that trims unquoted fields keeps them.
    EXPECT_EQ(CommaSeparated({{" riser", "coil ", "in between"}}), "\" riser\",\"coil \",in between\r\n");
    TCircuit circuit(project);
    circuit.Append(std::make_unique<TUser>(project));
    const std::string csv = CircuitAsCsv(circuit, project);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "Kind,#,Description,\"Size, mm\",\"Q, l/s\",\"dP, kPa\",Type,\"Length, m\",Fitting,Qty,Group,Index,"
              "\"Velocity, m/s\",\"Gradient, Pa/m\",Reynolds,Friction factor,\"Volume, m\u00B3\"");
    // A user item has no length, fitting or flow results: those cells are empty.
    EXPECT_NE(csv.find("\r\nu,1,User,"), std::string::npos);
    EXPECT_EQ(csv.substr(csv.size() - 7), ",,,,,\r\n");
}

} // namespace
} // namespace dvx
