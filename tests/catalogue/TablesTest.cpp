// SPDX-License-Identifier: GPL-3.0-or-later
#include "TablesFixture.h"

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace dvx {
namespace {

using test::BuiltInTables;

TEST_F(BuiltInTables, BoreRowsInOrderFromLargestToSmallest) {
    EXPECT_EQ(std::string(BoreName[0]), "750");
    EXPECT_EQ(std::string(BoreName[11]), "100");
    EXPECT_EQ(std::string(BoreName[19]), "15");
    for (int i = 1; i < BoreCount; ++i) EXPECT_LT(project.Tables.BoreTable[i].Nominal, project.Tables.BoreTable[i - 1].Nominal) << i;
    for (int i = 0; i < BoreCount; ++i)
        EXPECT_EQ(std::to_string(static_cast<int>(project.Tables.BoreTable[i].Nominal)), BoreName[i]) << i;
    EXPECT_EQ(project.Tables.BoreTable[11].ID, 0.1023);
    EXPECT_EQ(project.Tables.BoreTable[11].ff, 0.017);
    EXPECT_EQ(project.Tables.BoreTable[11].mf, 25);
    EXPECT_EQ(project.Tables.BoreTable[14].ID, 0.05251); // larger than the 50 mm nominal
    EXPECT_EQ(project.Tables.BoreTable[13].mf, 7.5);
    EXPECT_EQ(project.Tables.BoreTable[0].mf, 1250);
    EXPECT_EQ(project.Tables.BoreTable[19].ID, 0.0158);
    EXPECT_EQ(project.Tables.BoreTable[19].ff, 0.027);
}

TEST_F(BuiltInTables, MaterialsFittingsAndDefaults) {
    EXPECT_EQ(project.Tables.MaterialRoughness[pmSteel], 0.000046);
    EXPECT_EQ(project.Tables.MaterialRoughness[pmGalvIron], 0.00015);
    EXPECT_EQ(project.Tables.MaterialRoughness[pmDrawnTube], 0.0000015);
    EXPECT_EQ(project.Tables.CurrentRoughness, 0.000046);
    EXPECT_EQ(project.Tables.FittingTable[0].FittingName, "Std Elbow 90 deg");
    EXPECT_EQ(project.Tables.FittingTable[0].C, 30);
    EXPECT_EQ(project.Tables.FittingTable[15].FittingName, "Lift Check Valve");
    EXPECT_EQ(project.Tables.FittingTable[15].C, 600);
    EXPECT_EQ(project.Tables.FittingTable[23].FittingName, "VibroFlex");
    EXPECT_EQ(project.Tables.FittingTable[23].C, 8);
    EXPECT_EQ(project.Tables.DefaultBore, 100);
    EXPECT_EQ(project.Tables.DefaultLength, 10);
    EXPECT_EQ(project.Tables.DefaultFlow, 25);
    EXPECT_EQ(project.Tables.DefaultFittingType, 1);
    EXPECT_EQ(project.Tables.DefaultQuantity, 1);
    EXPECT_EQ(project.Tables.DefaultUserDP, 50);
    EXPECT_EQ(project.Tables.DefaultTemperature, 9);
    EXPECT_EQ(project.Tables.GradientLimit, 1500);
    EXPECT_EQ(project.Tables.VelocityLimit, 3.5);
    EXPECT_EQ(project.Tables.LabourRate, 100);
}

TEST_F(BuiltInTables, CostTablesAndLabourProfiles) {
    for (int b = 0; b < BoreCount; ++b) {
        for (int m = 0; m < MaterialCount; ++m) {
            EXPECT_EQ(project.Tables.PipeListPrice[b][m], -1);
            EXPECT_EQ(project.Tables.PipeLabourTime[b][m], project.Tables.PipeLabourTime[b][0]);
        }
        for (int t = 0; t < FittingCount; ++t) EXPECT_EQ(project.Tables.FittingPrice[t][b], -1);
    }
    EXPECT_EQ(project.Tables.PipeLabourTime[0][0], 4.92);
    EXPECT_EQ(project.Tables.PipeLabourTime[18][2], 0.14);
    // One probe per profile, and the two bores where C and D differ.
    EXPECT_EQ(project.Tables.FittingLabour[9][9], 1.65);   // A
    EXPECT_EQ(project.Tables.FittingLabour[23][18], 0.1);  // B
    EXPECT_EQ(project.Tables.FittingLabour[3][9], 0.83);   // B
    EXPECT_EQ(project.Tables.FittingLabour[5][9], 2.48);   // C
    EXPECT_EQ(project.Tables.FittingLabour[5][10], 2.1);   // C
    EXPECT_EQ(project.Tables.FittingLabour[10][9], 2.44);  // D
    EXPECT_EQ(project.Tables.FittingLabour[20][10], 2.08); // D
    EXPECT_EQ(project.Tables.FittingLabour[20][0], 11.25); // D
    for (int b = 0; b < BoreCount; ++b) {
        EXPECT_EQ(project.Tables.FittingLabour[21][b], 0.2);
        EXPECT_EQ(project.Tables.FittingLabour[22][b], 0.2);
    }
}

TEST_F(BuiltInTables, RestoreUndoesEveryOverride) {
    project.Tables.BoreTable[11].mf = 99;
    project.Tables.MaterialRoughness[1] = 1;
    ASSERT_TRUE(project.Tables.SelectPipeMaterial(1));
    EXPECT_EQ(project.Tables.CurrentRoughness, 1);
    project.Tables.FittingTable[0].C = 0;
    project.Tables.FittingPrice[3][4] = 12;
    project.Tables.PipeLabourTime[0][2] = 7;
    project.Tables.VelocityLimit = 9;
    project.Tables.RestoreBuiltIn();
    EXPECT_EQ(project.Tables.BoreTable[11].mf, 25);
    EXPECT_EQ(project.Tables.MaterialRoughness[1], 0.00015);
    EXPECT_EQ(project.Tables.PipeMaterial, pmSteel);
    EXPECT_EQ(project.Tables.CurrentRoughness, 0.000046);
    EXPECT_EQ(project.Tables.FittingTable[0].C, StandardFittingTable[0].C);
    EXPECT_EQ(project.Tables.FittingPrice[3][4], -1);
    EXPECT_EQ(project.Tables.PipeLabourTime[0][2], 4.92);
    EXPECT_EQ(project.Tables.VelocityLimit, 3.5);
}

TEST_F(BuiltInTables, SelectPipeMaterialIgnoresUnknownMaterials) {
    EXPECT_TRUE(project.Tables.SelectPipeMaterial(2));
    EXPECT_EQ(project.Tables.CurrentRoughness, 0.0000015);
    EXPECT_FALSE(project.Tables.SelectPipeMaterial(3));
    EXPECT_FALSE(project.Tables.SelectPipeMaterial(-1));
    EXPECT_EQ(project.Tables.PipeMaterial, pmDrawnTube);
    EXPECT_EQ(project.Tables.CurrentRoughness, 0.0000015);
}

struct LookupCase {
    const char* what;
    std::uint8_t (*lookup)(const TCatalogueTables&, double);
    double argument;
    const char* bore;
};

TEST_F(BuiltInTables, BoreLookups) {
    const LookupCase cases[] = {
        {"NearestBore half-way gives the smaller", NearestBore, 90, "80"},
        {"NearestBore just past half-way", NearestBore, 90.1, "100"},
        {"NearestBore above the table", NearestBore, 800, "750"},
        {"NearestBore 750 exactly", NearestBore, 750, "750"},
        {"NearestBore below the table", NearestBore, 10, "15"},
        {"NearestBore 15 exactly", NearestBore, 15, "15"},
        {"NearestBore on a row", NearestBore, 65, "65"},
        {"NearestBore 676 near 750", NearestBore, 676, "750"},
        {"NearestBore 675 half-way", NearestBore, 675, "600"},
        {"BoreAtLeast between rows", BoreAtLeast, 35, "40"},
        {"BoreAtLeast on a row", BoreAtLeast, 100, "100"},
        {"BoreAtLeast above the table", BoreAtLeast, 1000, "750"},
        {"BoreAtLeast zero", BoreAtLeast, 0, "15"},
        {"BoreAtLeast not stored nominal", BoreAtLeast, 90, "100"},
        {"BoreForFlow equal to mf", BoreForFlow, 0.25, "15"},
        {"BoreForFlow just above", BoreForFlow, 0.26, "20"},
        {"BoreForFlow 25", BoreForFlow, 25, "100"},
        {"BoreForFlow 25.1", BoreForFlow, 25.1, "125"},
        {"BoreForFlow 780 fits 600", BoreForFlow, 780, "600"},
        {"BoreForFlow 800", BoreForFlow, 800, "750"},
        {"BoreForFlow 5000 beyond every mf", BoreForFlow, 5000, "750"},
        {"BoreForFlow zero", BoreForFlow, 0, "15"},
        {"BoreForFlow negative", BoreForFlow, -3, "15"},
        {"BoreForInsideDiameter 2 % off", BoreForInsideDiameter, 0.0205, "20"},
        {"BoreForInsideDiameter matches nothing", BoreForInsideDiameter, 0.018, "750"},
        {"BoreForInsideDiameter exported 102 mm", BoreForInsideDiameter, 0.102, "100"},
        {"BoreForInsideDiameter exact ID", BoreForInsideDiameter, 0.0158, "15"},
        {"BoreForInsideDiameter 9.5 % above 15 mm", BoreForInsideDiameter, 0.0173, "15"},
        {"BoreForInsideDiameter zero", BoreForInsideDiameter, 0, "750"},
        {"BoreForInsideDiameter 750 row tested", BoreForInsideDiameter, 0.75, "750"},
    };
    for (const LookupCase& c : cases) {
        std::uint8_t index = c.lookup(project.Tables, c.argument);
        ASSERT_LT(index, BoreCount) << c.what;
        EXPECT_STREQ(BoreName[index], c.bore) << c.what;
    }
}

TEST_F(BuiltInTables, BoreForFlowFollowsTheMaxFlowsInForce) {
    project.Tables.BoreTable[1].mf = 100000; // the 600 mm bore now carries everything
    EXPECT_STREQ(BoreName[BoreForFlow(project.Tables, 5000)], "600");
    project.Tables.BoreTable[0].mf = 0; // the 750 mm row is never compared
    project.Tables.BoreTable[1].mf = 1;
    EXPECT_STREQ(BoreName[BoreForFlow(project.Tables, 5000)], "750");
}

TEST_F(BuiltInTables, NotANumberNeverLeavesTheTable) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_LT(NearestBore(project.Tables, nan), BoreCount);
    EXPECT_LT(BoreAtLeast(project.Tables, nan), BoreCount);
    EXPECT_LT(BoreForFlow(project.Tables, nan), BoreCount);
    EXPECT_LT(BoreForInsideDiameter(project.Tables, nan), BoreCount);
}

TEST_F(BuiltInTables, NominalOfTakesTheIndexModulo128) {
    EXPECT_EQ(NominalOf(project.Tables, 11), 100);
    EXPECT_EQ(NominalOf(project.Tables, 128 + 11), 100);
    EXPECT_EQ(NominalOf(project.Tables, 0), 750);
    EXPECT_THROW(NominalOf(project.Tables, 20), std::out_of_range);
    EXPECT_THROW(NominalOf(project.Tables, 127), std::out_of_range);
}

} // namespace
} // namespace dvx
