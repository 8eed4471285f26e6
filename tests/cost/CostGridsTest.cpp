// SPDX-License-Identifier: GPL-3.0-or-later
// The editors' grids as text: what each cell shows, the order and the stop
// rule of reading them back, and the catalogue files written after a read.

#include "storage/catalogue/CatalogueFiles.h"
#include "engine/hydraulics/ProjectContext.h"
#include "engine/catalogue/Tables.h"
#include "engine/cost/CostGrids.h"
#include "storage/settings/IniFiles.h"
#include "settings/TempFolder.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

class CostGrids : public ::testing::Test {
protected:
    TProjectState state_; // the test's own tables, liquid and item counter
    const TProjectContext project = state_.Context();
};

TEST_F(CostGrids, PipeGridShowsHeadingsAndTheTableOfItsEditor) {
    project.Tables.PipeListPrice[11][1] = 12.5;  // 100 mm, galvanised iron
    project.Tables.PipeLabourTime[11][1] = 0.626;
    project.Tables.PipeListPrice[0][0] = 1234.567;

    const TTextGrid prices = MakePipeGrid(project.Tables, TCostTables::Prices);
    ASSERT_EQ(prices.Cols(), 4);
    ASSERT_EQ(prices.Rows(), 21);
    EXPECT_EQ(prices.At(1, 0), "Shed40");
    EXPECT_EQ(prices.At(2, 0), "GI Pipe");
    EXPECT_EQ(prices.At(3, 0), "Tube");
    EXPECT_EQ(prices.At(0, 1), "750");
    EXPECT_EQ(prices.At(0, 12), "100");
    EXPECT_EQ(prices.At(0, 20), "15");
    EXPECT_EQ(prices.At(2, 12), "12.50");
    EXPECT_EQ(prices.At(1, 1), "1234.57");
    EXPECT_EQ(prices.At(3, 20), "-1.00"); // not entered yet

    const TTextGrid hours = MakePipeGrid(project.Tables, TCostTables::LabourTimes);
    EXPECT_EQ(hours.At(2, 12), "0.63");
}

TEST_F(CostGrids, FittingGridHasEveryTypeIncludingTheLastInRow24) {
    project.Tables.FittingPrice[23][0] = 3;
    project.Tables.FittingLabour[23][19] = 0.25;
    const TTextGrid prices = MakeFittingGrid(project.Tables, TCostTables::Prices);
    ASSERT_EQ(prices.Cols(), 21);
    ASSERT_EQ(prices.Rows(), 25);
    EXPECT_EQ(prices.At(1, 0), "750");
    EXPECT_EQ(prices.At(20, 0), "15");
    for (int r = 1; r < 25; ++r) EXPECT_EQ(prices.At(0, r), project.Tables.FittingTable[static_cast<std::size_t>(r - 1)].FittingName);
    EXPECT_EQ(prices.At(1, 24), "3.00");
    EXPECT_EQ(MakeFittingGrid(project.Tables, TCostTables::LabourTimes).At(20, 24), "0.25");
    EXPECT_THROW((void)prices.At(21, 0), std::out_of_range);
    EXPECT_THROW((void)prices.At(0, 25), std::out_of_range);
}

TEST_F(CostGrids, ReadingPutsEachCellIntoItsOwnTable) {
    const double labourBefore = project.Tables.PipeLabourTime[11][1];
    TTextGrid pipes = MakePipeGrid(project.Tables, TCostTables::Prices);
    pipes.At(2, 12) = "12.5";
    TTextGrid fittings = MakeFittingGrid(project.Tables, TCostTables::LabourTimes);
    fittings.At(20, 24) = "1.75"; // last type, 15 mm
    fittings.At(1, 1) = "4";      // first type, 750 mm

    ReadPipeGrid(pipes, project.Tables, TCostTables::Prices);
    ReadFittingGrid(fittings, project.Tables, TCostTables::LabourTimes);

    EXPECT_DOUBLE_EQ(project.Tables.PipeListPrice[11][1], 12.5);
    EXPECT_DOUBLE_EQ(project.Tables.PipeListPrice[11][0], -1);
    EXPECT_DOUBLE_EQ(project.Tables.PipeLabourTime[11][1], labourBefore);
    EXPECT_DOUBLE_EQ(project.Tables.FittingLabour[23][19], 1.75);
    EXPECT_DOUBLE_EQ(project.Tables.FittingLabour[0][0], 4);
    EXPECT_DOUBLE_EQ(project.Tables.FittingPrice[23][19], -1);
}

TEST_F(CostGrids, ABadCellStopsTheReadThereAndKeepsWhatWasReadBefore) {
    TTextGrid pipes = MakePipeGrid(project.Tables, TCostTables::Prices);
    for (int c = 1; c < 4; ++c)
        for (int r = 1; r < 21; ++r) pipes.At(c, r) = "2";
    pipes.At(2, 5) = "abc";

    try {
        ReadPipeGrid(pipes, project.Tables, TCostTables::Prices);
        FAIL() << "no conversion error";
    } catch (const TCostCellError& e) {
        EXPECT_EQ(e.Col, 2);
        EXPECT_EQ(e.Row, 5);
        EXPECT_NE(std::string(e.what()).find("abc"), std::string::npos);
    }
    // Columns are read one after the other: the whole steel column and the
    // galvanised-iron rows above the bad cell are in the table.
    EXPECT_DOUBLE_EQ(project.Tables.PipeListPrice[19][0], 2);
    EXPECT_DOUBLE_EQ(project.Tables.PipeListPrice[3][1], 2);
    EXPECT_DOUBLE_EQ(project.Tables.PipeListPrice[4][1], -1);
    EXPECT_DOUBLE_EQ(project.Tables.PipeListPrice[0][2], -1);

    TTextGrid fittings = MakeFittingGrid(project.Tables, TCostTables::Prices);
    fittings.At(1, 2) = "";
    EXPECT_THROW(ReadFittingGrid(fittings, project.Tables, TCostTables::Prices), TCostCellError);
}

TEST_F(CostGrids, SavedPriceReachesTheGalvanisedIronFileOnly) {
    test::TempFolder data;
    TTextGrid pipes = MakePipeGrid(project.Tables, TCostTables::Prices);
    pipes.At(2, 12) = "12.50";
    ReadPipeGrid(pipes, project.Tables, TCostTables::Prices);
    SaveCatalogues(data.Path(), project.Tables);

    TIniFile galv(data / kGalvIronPipeFile);
    EXPECT_EQ(galv.ReadString("100", "ListPrice", ""), "12.5");
    TIniFile steel(data / kSteelPipeFile);
    EXPECT_EQ(steel.ReadString("100", "ListPrice", ""), "-1");

    project.Tables.RestoreBuiltIn();
    LoadCatalogues(data.Path(), project.Tables);
    EXPECT_DOUBLE_EQ(project.Tables.PipeListPrice[11][1], 12.5);
}

} // namespace
} // namespace dvx
