// SPDX-License-Identifier: GPL-3.0-or-later
// A pipe material with its own bores in the project file: stored by name
// with its table and the items' inside diameters, absent for the three
// built-in materials (byte for byte as before), put back on this machine's
// material of that name, and kept from the file's own copy, with a message,
// when this machine has no such material. Damaged material data is refused.
#include "ProjectTestSupport.h"

#include "base/Errors.h"
#include "engine/catalogue/ActiveBores.h"
#include "engine/catalogue/Bores.h"
#include "engine/hydraulics/MaterialChange.h"
#include "storage/project/CircuitFiles.h"
#include "storage/project/ProjectFile.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace dvx {
namespace {

using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

constexpr double kInch = 0.0254;

// A small table in the shape of a copper catalogue file.
TMaterialTable TestCopper(const std::string& file = "TestCopper.ini") {
    TMaterialTable m;
    m.Name = "Test Copper";
    m.Roughness = 1.5e-6;
    m.File = file;
    m.Bores = {{"2\"", 1.985 * kInch, 0.019, 4.0, 12.5, 0.3},
               {"1\"", 1.025 * kInch, 0.022, 0.9, 6.25, 0.2},
               {"¾\"", 0.785 * kInch, 0.024, 0.5, 4.0, 0.15},
               {"½\"", 0.545 * kInch, 0.027, 0.2, 3.0, 0.1}};
    return m;
}

const Bytes kPropertyName = {0x0C, 'P', 'i', 'p', 'e', 'M', 'a', 't', 'e', 'r', 'i', 'a', 'l'};

bool ContainsMaterialProperty(const Bytes& bytes) {
    return std::search(bytes.begin(), bytes.end(), kPropertyName.begin(), kPropertyName.end()) != bytes.end();
}

class PipeMaterialFile : public test::ProjectFileFixture {
protected:
    void SetUp() override {
        test::ProjectFileFixture::SetUp();
        project.Tables.Materials.push_back(TestCopper());
    }

    static int CopperCode() { return MaterialCount; }

    // A pipe, a fitting and a user item in the test copper, the pipe on 1",
    // the fitting on ½", the user item on 2".
    void CopperCircuit(TCircuit& circuit) {
        circuit.Append(std::make_unique<TPipe>(project));
        circuit.Append(std::make_unique<TFitting>(project, 0));
        circuit.Append(std::make_unique<TUser>(project));
        ASSERT_TRUE(ChangeCircuitMaterial(project, circuit, CopperCode()));
        circuit.Item(0).SetBore(project, 1);
        circuit.Item(1).SetBore(project, 3);
        circuit.Item(2).SetBore(project, 0);
        static_cast<TPipe&>(circuit.Item(0)).Length = 12.5;
        circuit.Item(0).Flow = 0.0004;
    }
};

TEST_F(PipeMaterialFile, BuiltInMaterialsAreWrittenAsBeforeFurtherMaterialsExisted) {
    for (int m = 0; m < MaterialCount; ++m) {
        TCircuit circuit(project);
        circuit.Append(std::make_unique<TPipe>(project));
        circuit.Append(std::make_unique<TFitting>(project, 3));
        circuit.Material = static_cast<std::uint8_t>(m);
        const Bytes withFurther = EncodeProject(circuit, *project.Liquid, project.Tables);
        TCatalogueTables bare; // no further materials at all
        EXPECT_EQ(withFurther, EncodeProject(circuit, *project.Liquid, bare)) << m;
        EXPECT_FALSE(ContainsMaterialProperty(withFurther)) << m;
        const TProjectData data = ParseProject(withFurther, *project.Liquid, project);
        EXPECT_FALSE(data.Material.has_value());
        EXPECT_EQ(data.Circuit->Material, m);
    }
}

TEST_F(PipeMaterialFile, AFurtherMaterialRoundTripsByteForByte) {
    TCircuit circuit(project);
    CopperCircuit(circuit);
    const Bytes bytes = EncodeProject(circuit, *project.Liquid, project.Tables);
    EXPECT_TRUE(ContainsMaterialProperty(bytes));

    TProjectData data = ParseProject(bytes, *project.Liquid, project);
    ASSERT_TRUE(data.Material.has_value());
    EXPECT_EQ(data.Material->Table.Name, "Test Copper");
    EXPECT_EQ(ResolveStoredMaterial(data, project.Tables), "");
    EXPECT_EQ(project.Tables.Materials.size(), 1U); // this machine's own, not a second copy
    const TCircuit& back = *data.Circuit;
    EXPECT_EQ(back.Material, CopperCode());
    for (int i = 0; i < circuit.Count(); ++i) {
        EXPECT_EQ(back.Item(i).BoreIndex, circuit.Item(i).BoreIndex) << i;
        EXPECT_EQ(back.Item(i).InsideDiameter, circuit.Item(i).InsideDiameter) << i;
        EXPECT_EQ(back.Item(i).Friction, TestCopper().Bores[circuit.Item(i).BoreIndex].ff) << i;
    }
    EXPECT_EQ(EncodeProject(back, *project.Liquid, project.Tables), bytes);
}

TEST_F(PipeMaterialFile, ItemRecordsKeepABuiltInMaterialAndTheNearestBuiltInBore) {
    // What a reader without the material sees in the circuit data: the
    // 25 mm bore (26.64 mm inside) for 1" copper (26.04 mm), material 0.
    TCircuit circuit(project);
    CopperCircuit(circuit);
    TProjectData data = ParseProject(EncodeProject(circuit, *project.Liquid, project.Tables), *project.Liquid, project);
    EXPECT_EQ(data.Circuit->Material, 0);
    EXPECT_EQ(NominalOf(project.Tables, data.Circuit->Item(0).BoreIndex), 25);
    EXPECT_EQ(NominalOf(project.Tables, data.Circuit->Item(2).BoreIndex), 50);
}

TEST_F(PipeMaterialFile, AChangedCatalogueGivesItsOwnDiameters) {
    // This machine's copy of the material has other inside diameters: the
    // items take the nearest of them, as built-in bores follow project.Tables.BoreTable.
    TCircuit circuit(project);
    CopperCircuit(circuit);
    const Bytes bytes = EncodeProject(circuit, *project.Liquid, project.Tables);
    project.Tables.Materials[0].Bores[1].ID = 1.0 * kInch;
    TProjectData data = ParseProject(bytes, *project.Liquid, project);
    EXPECT_EQ(ResolveStoredMaterial(data, project.Tables), "");
    EXPECT_EQ(data.Circuit->Item(0).BoreIndex, 1);
    EXPECT_DOUBLE_EQ(data.Circuit->Item(0).InsideDiameter, 1.0 * kInch);
}

TEST_F(PipeMaterialFile, AMissingMaterialOpensFromTheFilesCopyWithAMessage) {
    TCircuit circuit(project);
    CopperCircuit(circuit);
    circuit.Calculate(project, false);
    const double drop = circuit.TotalDP;
    const Bytes bytes = EncodeProject(circuit, *project.Liquid, project.Tables);

    project.Tables.RestoreBuiltIn(); // a machine without the material
    TProjectData data = ParseProject(bytes, *project.Liquid, project);
    const std::string message = ResolveStoredMaterial(data, project.Tables);
    EXPECT_THAT(message, HasSubstr("\"Test Copper\""));
    EXPECT_THAT(message, HasSubstr("not in this computer's catalogues"));
    EXPECT_THAT(message, HasSubstr("keeps the inside diameters"));

    ASSERT_EQ(project.Tables.Materials.size(), 1U);
    const TMaterialTable& copy = project.Tables.Materials[0];
    EXPECT_TRUE(copy.File.empty()); // known from the project only
    EXPECT_EQ(copy.Roughness, TestCopper().Roughness);
    EXPECT_EQ(copy.Bores.size(), TestCopper().Bores.size());
    EXPECT_EQ(copy.Bores[0].ListPrice, -1); // prices are not carried
    TCircuit& back = *data.Circuit;
    EXPECT_EQ(back.Material, CopperCode());
    for (int i = 0; i < circuit.Count(); ++i)
        EXPECT_EQ(back.Item(i).InsideDiameter, circuit.Item(i).InsideDiameter) << i;

    // Calculated alike, and saved again without losing anything.
    ASSERT_TRUE(project.Tables.SelectPipeMaterial(back.Material));
    back.Calculate(project, false);
    EXPECT_DOUBLE_EQ(back.TotalDP, drop);
    EXPECT_EQ(EncodeProject(back, *project.Liquid, project.Tables), bytes);

    // A second opening replaces the copy rather than adding another.
    TProjectData again = ParseProject(bytes, *project.Liquid, project);
    EXPECT_FALSE(ResolveStoredMaterial(again, project.Tables).empty());
    EXPECT_EQ(project.Tables.Materials.size(), 1U);
}

TEST_F(PipeMaterialFile, LoadCircuitFilePutsTheMaterialInForce) {
    test::TempFolder dir;
    TCircuit circuit(project);
    CopperCircuit(circuit);
    WriteProject(dir / "copper.dvx", circuit, *project.Liquid, project.Tables);
    project.Tables.RestoreBuiltIn();
    project.Tables.Materials.push_back(TestCopper());

    const TLoadedCircuit loaded = LoadCircuitFile(dir / "copper.dvx", project);
    EXPECT_EQ(loaded.MaterialMessage, "");
    ApplyLoadedCircuit(loaded, project);
    EXPECT_EQ(project.Tables.ActiveMaterial, CopperCode());
    EXPECT_EQ(project.Tables.CurrentRoughness, TestCopper().Roughness);

    project.Tables.RestoreBuiltIn();
    const TLoadedCircuit without = LoadCircuitFile(dir / "copper.dvx", project);
    EXPECT_THAT(without.MaterialMessage, HasSubstr("\"Test Copper\""));
}

// The item inside diameters are the last list before the closing bytes:
// each is an extended float (tag and ten bytes).
constexpr std::size_t kFloatBytes = 11;

TEST_F(PipeMaterialFile, DamagedMaterialDataIsRefused) {
    struct Case {
        const char* name;
        void (*damage)(TMaterialTable&);
    };
    const Case cases[] = {
        {"no name", [](TMaterialTable& m) { m.Name.clear(); }},
        {"zero roughness", [](TMaterialTable& m) { m.Roughness = 0; }},
        {"negative roughness", [](TMaterialTable& m) { m.Roughness = -1e-6; }},
        {"zero inside diameter", [](TMaterialTable& m) { m.Bores[3].ID = 0; }},
        {"negative inside diameter", [](TMaterialTable& m) { m.Bores[2].ID = -0.02; }},
        {"inside diameter not a number", [](TMaterialTable& m) { m.Bores[1].ID = std::nan(""); }},
        {"bores out of order", [](TMaterialTable& m) { std::swap(m.Bores[0], m.Bores[1]); }},
        {"zero maximum flow", [](TMaterialTable& m) { m.Bores[0].mf = 0; }},
        {"empty label", [](TMaterialTable& m) { m.Bores[0].Label.clear(); }},
        {"no bores", [](TMaterialTable& m) { m.Bores.clear(); }},
    };
    for (const Case& c : cases) {
        TCircuit circuit(project);
        circuit.Append(std::make_unique<TPipe>(project));
        ASSERT_TRUE(ChangeCircuitMaterial(project, circuit, CopperCode()));
        TCatalogueTables tables;
        tables.Materials.push_back(TestCopper());
        c.damage(tables.Materials[0]);
        EXPECT_THROW(ParseProject(EncodeProject(circuit, *project.Liquid, tables), *project.Liquid, project), FileError) << c.name;
    }

    TCircuit circuit(project);
    CopperCircuit(circuit);
    const Bytes good = EncodeProject(circuit, *project.Liquid, project.Tables);
    const auto closing = good.end() - 3; // end of the diameter list, of the properties, of the children

    Bytes fewer(good.begin(), closing - kFloatBytes);
    fewer.insert(fewer.end(), closing, good.end());
    EXPECT_THROW(ParseProject(fewer, *project.Liquid, project), FileError);

    Bytes more(good.begin(), closing);
    more.insert(more.end(), closing - kFloatBytes, closing);
    more.insert(more.end(), closing, good.end());
    EXPECT_THROW(ParseProject(more, *project.Liquid, project), FileError);

    Bytes zero = good;
    TTagWriter z;
    z.WriteFloat(0);
    std::copy(z.Bytes().begin(), z.Bytes().end(), zero.end() - 3 - kFloatBytes);
    EXPECT_THROW(ParseProject(zero, *project.Liquid, project), FileError);

    Bytes twice(good.begin(), good.end() - 2);
    const auto property = std::search(good.begin(), good.end(), kPropertyName.begin(), kPropertyName.end());
    twice.insert(twice.end(), property, good.end());
    EXPECT_THROW(ParseProject(twice, *project.Liquid, project), FileError);
}

} // namespace
} // namespace dvx
