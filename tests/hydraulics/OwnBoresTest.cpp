// SPDX-License-Identifier: GPL-3.0-or-later
// Items of a material with its own bore table: bores, auto-size and
// auto-flow, prices and labour, and the change of a circuit's material,
// which moves every item to the nearest bore of the new table.
#include "HydraulicsFixture.h"

#include "engine/catalogue/ActiveBores.h"
#include "engine/catalogue/Bores.h"
#include "engine/hydraulics/MaterialChange.h"

#include <gmock/gmock.h>

namespace dvx {
namespace {

constexpr double kInch = 0.0254;

// Three bores only: fewer rows than the built-in default bore's index (11).
TMaterialTable SmallTube() {
    TMaterialTable m;
    m.Name = "Small Tube";
    m.Roughness = 7e-6;
    m.File = "SmallTube.ini";
    m.Bores = {{"1\"", 0.995 * kInch, 0.021, 0.8, 10, 0.25},
               {"¾\"", 0.745 * kInch, 0.023, 0.45, 7, 0.2},
               {"½\"", 0.527 * kInch, 0.026, 0.2, -1, 0.1}};
    return m;
}

class OwnBores : public test::Hydraulics {
protected:
    void SetUp() override {
        test::Hydraulics::SetUp();
        project_.Tables.Materials.push_back(SmallTube());
    }
    TProjectState project_;
    TProjectContext Project() { return project_.Context(); }
    static constexpr int kTube = MaterialCount;
};

TEST_F(OwnBores, ItemsTakeTheirBoresFromTheActiveMaterialsTable) {
    ASSERT_TRUE(project_.Tables.SelectPipeMaterial(kTube));
    EXPECT_EQ(project_.Tables.CurrentRoughness, 7e-6);
    EXPECT_EQ(project_.Tables.PipeMaterial, pmSteel); // the built-in cost column stays
    EXPECT_EQ(BoreRowCount(project_.Tables), 3);

    // A new item's default bore (100 mm) is beyond this table's rows: it
    // takes the row nearest that bore's inside diameter, the largest.
    TPipe pipe(Project());
    EXPECT_EQ(pipe.BoreIndex, 0);
    EXPECT_DOUBLE_EQ(pipe.InsideDiameter, 0.995 * kInch);

    pipe.SetBore(Project(), 2);
    EXPECT_DOUBLE_EQ(pipe.InsideDiameter, 0.527 * kInch);
    EXPECT_EQ(pipe.Friction, 0.026);
    EXPECT_THROW(pipe.SetBore(Project(), 3), std::out_of_range);
    EXPECT_EQ(pipe.BoreIndex, 2);

    // A nominal size in mm names the built-in bore; then its nearest row.
    pipe.SetBoreFromNominal(Project(), 20); // 20.93 mm inside: ¾" (18.92 mm)
    EXPECT_EQ(pipe.BoreIndex, 1);
    EXPECT_EQ(BoreRowNominal(project_.Tables, 1), 20);
    EXPECT_EQ(BoreRow(project_.Tables, 1).Label, "¾\"");
}

TEST_F(OwnBores, AutoSizeAndAutoFlowUseTheMaterialsMaximumFlows) {
    ASSERT_TRUE(project_.Tables.SelectPipeMaterial(kTube));
    struct Case {
        double flow; // l/s
        int bore;
    };
    for (const Case c : {Case{0.1, 2}, Case{0.2, 2}, Case{0.21, 1}, Case{0.8, 0}, Case{5, 0}}) {
        TPipe pipe(Project());
        pipe.Flow = c.flow / 1000;
        AutoSize(Project(), pipe);
        EXPECT_EQ(pipe.BoreIndex, c.bore) << c.flow;
        AutoFlow(Project(), pipe);
        EXPECT_DOUBLE_EQ(pipe.Flow, SmallTube().Bores[static_cast<std::size_t>(c.bore)].mf / 1000) << c.flow;
    }
}

TEST_F(OwnBores, PricesComeFromTheMaterialAndFittingsFromTheNearestBuiltInBore) {
    TCatalogueTables& t = project_.Tables;
    ASSERT_TRUE(t.SelectPipeMaterial(kTube));
    t.FittingPrice[0].fill(-1);
    t.FittingPrice[0][17] = 3.5; // 25 mm: nearest to 1" tube (25.27 mm inside)
    t.FittingLabour[0][17] = 0.4;

    TPipe pipe(Project());
    pipe.Length = 4;
    EXPECT_DOUBLE_EQ(pipe.MaterialCost(Project()), 40);
    EXPECT_DOUBLE_EQ(pipe.LabourHours(Project()), 1);
    TFitting elbow(Project(), 0);
    elbow.Quantity = 2;
    EXPECT_DOUBLE_EQ(elbow.MaterialCost(Project()), 7);
    EXPECT_DOUBLE_EQ(elbow.LabourHours(Project()), 0.8);

    // The unpriced ½" tube: the estimate names the material's own label.
    TCircuit circuit(Project());
    circuit.Append(std::make_unique<TPipe>(Project()));
    circuit.Item(0).SetBore(Project(), 2);
    std::string message;
    EXPECT_FALSE(circuit.Estimate(Project(), message));
    EXPECT_EQ(message, "Pipe  ½\" dia");
}

TEST_F(OwnBores, AMaterialChangeMovesItemsToTheNearestBoreAndListsLargeMoves) {
    TCircuit circuit(Project());
    for (int bore : {17, 18, 19, 11}) { // 25, 20, 15 and 100 mm steel
        circuit.Append(std::make_unique<TPipe>(Project()));
        circuit.Item(circuit.Count() - 1).SetBore(Project(), bore);
    }
    const auto moves = ChangeCircuitMaterial(Project(), circuit, kTube);
    ASSERT_TRUE(moves);
    EXPECT_EQ(circuit.Material, kTube);
    EXPECT_EQ(project_.Tables.ActiveMaterial, kTube);
    const int expected[] = {0, 1, 2, 0};
    for (int i = 0; i < circuit.Count(); ++i) {
        EXPECT_EQ(circuit.Item(i).BoreIndex, expected[i]) << i;
        EXPECT_EQ(circuit.Item(i).InsideDiameter, SmallTube().Bores[static_cast<std::size_t>(expected[i])].ID) << i;
    }
    // 25 → 25.27 mm, 20.93 → 18.92 mm (9.6 %), 15.8 → 13.39 mm (15 %),
    // 102.3 → 25.27 mm (75 %).
    ASSERT_EQ(moves->size(), 2U);
    EXPECT_EQ((*moves)[0].Position, 2);
    EXPECT_EQ((*moves)[0].FromID, 0.0158);
    EXPECT_EQ((*moves)[1].Position, 3);
    EXPECT_DOUBLE_EQ((*moves)[1].ToID, 0.995 * kInch);

    // Back to steel: the nearest built-in bores of the tube's diameters.
    const auto back = ChangeCircuitMaterial(Project(), circuit, pmGalvIron);
    ASSERT_TRUE(back);
    EXPECT_EQ(circuit.Item(0).BoreIndex, 17);
    EXPECT_EQ(circuit.Item(1).BoreIndex, 18);
    EXPECT_EQ(circuit.Item(2).BoreIndex, 19);
    EXPECT_EQ(project_.Tables.CurrentRoughness, project_.Tables.MaterialRoughness[pmGalvIron]);
    // Measured from the tube: 18.92 → 20.93 mm (10.6 %), 13.39 → 15.8 mm.
    ASSERT_EQ(back->size(), 2U);
    EXPECT_EQ((*back)[0].Position, 1);
    EXPECT_EQ((*back)[1].Position, 2);
}

TEST_F(OwnBores, BuiltInMaterialsShareOneTableAndAnUnknownCodeChangesNothing) {
    TCircuit circuit(Project());
    circuit.Append(std::make_unique<TPipe>(Project()));
    circuit.Item(0).SetBore(Project(), 14);
    circuit.Item(0).InsideDiameter = 0.05; // as a catalogue file may leave it
    const auto moves = ChangeCircuitMaterial(Project(), circuit, pmDrawnTube);
    ASSERT_TRUE(moves);
    EXPECT_TRUE(moves->empty());
    EXPECT_EQ(circuit.Item(0).InsideDiameter, 0.05);
    EXPECT_EQ(project_.Tables.PipeMaterial, pmDrawnTube);

    EXPECT_FALSE(ChangeCircuitMaterial(Project(), circuit, kTube + 1));
    EXPECT_FALSE(ChangeCircuitMaterial(Project(), circuit, -1));
    EXPECT_EQ(circuit.Material, pmDrawnTube);
    EXPECT_EQ(project_.Tables.ActiveMaterial, pmDrawnTube);
}

} // namespace
} // namespace dvx
