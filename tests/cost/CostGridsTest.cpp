// SPDX-License-Identifier: GPL-3.0-or-later
// The editors' grids as text: what each cell shows, the order and the stop
// rule of reading them back, and the catalogue files written after a read.

#include "storage/catalogue/CatalogueFiles.h"
#include "engine/catalogue/Tables.h"
#include "engine/cost/CostGrids.h"
#include "storage/settings/IniFiles.h"
#include "settings/TempFolder.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

class CostGrids : public ::testing::Test {
protected:
    void SetUp() override { RestoreBuiltInTables(); }
    void TearDown() override { RestoreBuiltInTables(); }
};

TEST_F(CostGrids, PipeGridShowsHeadingsAndTheTableOfItsEditor) {
    PipeListPrice[11][1] = 12.5;  // 100 mm, galvanised iron
    PipeLabourTime[11][1] = 0.626;
    PipeListPrice[0][0] = 1234.567;

    const TTextGrid prices = MakePipeGrid(TCostTables::Prices);
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

    const TTextGrid hours = MakePipeGrid(TCostTables::LabourTimes);
    EXPECT_EQ(hours.At(2, 12), "0.63");
}

TEST_F(CostGrids, FittingGridHasEveryTypeIncludingTheLastInRow24) {
    FittingPrice[23][0] = 3;
    FittingLabour[23][19] = 0.25;
    const TTextGrid prices = MakeFittingGrid(TCostTables::Prices);
    ASSERT_EQ(prices.Cols(), 21);
    ASSERT_EQ(prices.Rows(), 25);
    EXPECT_EQ(prices.At(1, 0), "750");
    EXPECT_EQ(prices.At(20, 0), "15");
    for (int r = 1; r < 25; ++r) EXPECT_EQ(prices.At(0, r), FittingTable[static_cast<std::size_t>(r - 1)].FittingName);
    EXPECT_EQ(prices.At(1, 24), "3.00");
    EXPECT_EQ(MakeFittingGrid(TCostTables::LabourTimes).At(20, 24), "0.25");
    EXPECT_THROW((void)prices.At(21, 0), std::out_of_range);
    EXPECT_THROW((void)prices.At(0, 25), std::out_of_range);
}

TEST_F(CostGrids, ReadingPutsEachCellIntoItsOwnTable) {
    const double labourBefore = PipeLabourTime[11][1];
    TTextGrid pipes = MakePipeGrid(TCostTables::Prices);
    pipes.At(2, 12) = "12.5";
    TTextGrid fittings = MakeFittingGrid(TCostTables::LabourTimes);
    fittings.At(20, 24) = "1.75"; // last type, 15 mm
    fittings.At(1, 1) = "4";      // first type, 750 mm

    ReadPipeGrid(pipes, TCostTables::Prices);
    ReadFittingGrid(fittings, TCostTables::LabourTimes);

    EXPECT_DOUBLE_EQ(PipeListPrice[11][1], 12.5);
    EXPECT_DOUBLE_EQ(PipeListPrice[11][0], -1);
    EXPECT_DOUBLE_EQ(PipeLabourTime[11][1], labourBefore);
    EXPECT_DOUBLE_EQ(FittingLabour[23][19], 1.75);
    EXPECT_DOUBLE_EQ(FittingLabour[0][0], 4);
    EXPECT_DOUBLE_EQ(FittingPrice[23][19], -1);
}

TEST_F(CostGrids, ABadCellStopsTheReadThereAndKeepsWhatWasReadBefore) {
    TTextGrid pipes = MakePipeGrid(TCostTables::Prices);
    for (int c = 1; c < 4; ++c)
        for (int r = 1; r < 21; ++r) pipes.At(c, r) = "2";
    pipes.At(2, 5) = "abc";

    try {
        ReadPipeGrid(pipes, TCostTables::Prices);
        FAIL() << "no conversion error";
    } catch (const TCostCellError& e) {
        EXPECT_EQ(e.Col, 2);
        EXPECT_EQ(e.Row, 5);
        EXPECT_NE(std::string(e.what()).find("abc"), std::string::npos);
    }
    // Columns are read one after the other: the whole steel column and the
    // galvanised-iron rows above the bad cell are in the table.
    EXPECT_DOUBLE_EQ(PipeListPrice[19][0], 2);
    EXPECT_DOUBLE_EQ(PipeListPrice[3][1], 2);
    EXPECT_DOUBLE_EQ(PipeListPrice[4][1], -1);
    EXPECT_DOUBLE_EQ(PipeListPrice[0][2], -1);

    TTextGrid fittings = MakeFittingGrid(TCostTables::Prices);
    fittings.At(1, 2) = "";
    EXPECT_THROW(ReadFittingGrid(fittings, TCostTables::Prices), TCostCellError);
}

TEST_F(CostGrids, SavedPriceReachesTheGalvanisedIronFileOnly) {
    test::TempFolder data;
    TTextGrid pipes = MakePipeGrid(TCostTables::Prices);
    pipes.At(2, 12) = "12.50";
    ReadPipeGrid(pipes, TCostTables::Prices);
    SaveCatalogues(data.Path());

    TIniFile galv(data / kGalvIronPipeFile);
    EXPECT_EQ(galv.ReadString("100", "ListPrice", ""), "12.5");
    TIniFile steel(data / kSteelPipeFile);
    EXPECT_EQ(steel.ReadString("100", "ListPrice", ""), "-1");

    RestoreBuiltInTables();
    LoadCatalogues(data.Path());
    EXPECT_DOUBLE_EQ(PipeListPrice[11][1], 12.5);
}

} // namespace
} // namespace dvx
