// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/catalogue/MaterialFiles.h"

#include "base/IniDocument.h"
#include "catalogue/TablesFixture.h"
#include "engine/catalogue/Materials.h"
#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Items.h"
#include "settings/TempFolder.h"
#include "storage/catalogue/CatalogueFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>

namespace dvx {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempFolder;
using test::WriteText;

const std::string kShippedData = std::string(DARVENIX_SOURCE_DIR) + "/data/";
constexpr double kInch = 0.0254; // m
constexpr double kMm = 0.001;    // m

// The published inside diameters: copper tube ASTM B88 Types K, L, M (OD
// less two walls, CDA Table 14.2f; Type L 4" with the 0.110 in wall of CDA
// and FIELDPM, Type L 6" as OD − 2·wall), PEX SDR 9 (CTS, 3/8 to 1 in), and
// ASME B36.10M Schedule 80 and B36.19M 10S / 40S.
struct CitedBore {
    const char* material;
    const char* label;
    double id; // m
};
const CitedBore kCited[] = {
    {"Copper Type K", "¼\"", 0.305 * kInch},
    {"Copper Type K", "⅜\"", 0.402 * kInch},
    {"Copper Type K", "½\"", 0.527 * kInch},
    {"Copper Type K", "⅝\"", 0.652 * kInch},
    {"Copper Type K", "¾\"", 0.745 * kInch},
    {"Copper Type K", "1\"", 0.995 * kInch},
    {"Copper Type K", "1¼\"", 1.245 * kInch},
    {"Copper Type K", "1½\"", 1.481 * kInch},
    {"Copper Type K", "2\"", 1.959 * kInch},
    {"Copper Type K", "2½\"", 2.435 * kInch},
    {"Copper Type K", "3\"", 2.907 * kInch},
    {"Copper Type K", "3½\"", 3.385 * kInch},
    {"Copper Type K", "4\"", 3.857 * kInch},
    {"Copper Type K", "5\"", 4.805 * kInch},
    {"Copper Type K", "6\"", 5.741 * kInch},
    {"Copper Type L", "¼\"", 0.315 * kInch},
    {"Copper Type L", "⅜\"", 0.43 * kInch},
    {"Copper Type L", "½\"", 0.545 * kInch},
    {"Copper Type L", "⅝\"", 0.666 * kInch},
    {"Copper Type L", "¾\"", 0.785 * kInch},
    {"Copper Type L", "1\"", 1.025 * kInch},
    {"Copper Type L", "1¼\"", 1.265 * kInch},
    {"Copper Type L", "1½\"", 1.505 * kInch},
    {"Copper Type L", "2\"", 1.985 * kInch},
    {"Copper Type L", "2½\"", 2.465 * kInch},
    {"Copper Type L", "3\"", 2.945 * kInch},
    {"Copper Type L", "3½\"", 3.425 * kInch},
    {"Copper Type L", "4\"", 3.905 * kInch},
    {"Copper Type L", "5\"", 4.875 * kInch},
    {"Copper Type L", "6\"", 5.845 * kInch},
    {"Copper Type M", "⅜\"", 0.45 * kInch},
    {"Copper Type M", "½\"", 0.569 * kInch},
    {"Copper Type M", "¾\"", 0.811 * kInch},
    {"Copper Type M", "1\"", 1.055 * kInch},
    {"Copper Type M", "1¼\"", 1.291 * kInch},
    {"Copper Type M", "1½\"", 1.527 * kInch},
    {"Copper Type M", "2\"", 2.009 * kInch},
    {"Copper Type M", "2½\"", 2.495 * kInch},
    {"Copper Type M", "3\"", 2.981 * kInch},
    {"Copper Type M", "4\"", 3.935 * kInch},
    {"PEX SDR 9", "⅜\"", 0.36 * kInch},
    {"PEX SDR 9", "½\"", 0.485 * kInch},
    {"PEX SDR 9", "⅝\"", 0.584 * kInch},
    {"PEX SDR 9", "¾\"", 0.681 * kInch},
    {"PEX SDR 9", "1\"", 0.875 * kInch},
    {"Schedule 80 steel", "½\"", 13.84 * kMm},
    {"Schedule 80 steel", "¾\"", 18.88 * kMm},
    {"Schedule 80 steel", "1\"", 24.3 * kMm},
    {"Schedule 80 steel", "1¼\"", 32.5 * kMm},
    {"Schedule 80 steel", "1½\"", 38.14 * kMm},
    {"Schedule 80 steel", "2\"", 49.22 * kMm},
    {"Schedule 80 steel", "2½\"", 58.98 * kMm},
    {"Schedule 80 steel", "3\"", 73.66 * kMm},
    {"Schedule 80 steel", "3½\"", 85.44 * kMm},
    {"Schedule 80 steel", "4\"", 97.18 * kMm},
    {"Schedule 80 steel", "5\"", 122.24 * kMm},
    {"Schedule 80 steel", "6\"", 146.36 * kMm},
    {"Schedule 80 steel", "8\"", 193.7 * kMm},
    {"Schedule 80 steel", "10\"", 242.82 * kMm},
    {"Schedule 80 steel", "12\"", 288.84 * kMm},
    {"Stainless steel 10S", "½\"", 17.08 * kMm},
    {"Stainless steel 10S", "¾\"", 22.48 * kMm},
    {"Stainless steel 10S", "1\"", 27.86 * kMm},
    {"Stainless steel 10S", "1¼\"", 36.66 * kMm},
    {"Stainless steel 10S", "1½\"", 42.76 * kMm},
    {"Stainless steel 10S", "2\"", 54.76 * kMm},
    {"Stainless steel 10S", "2½\"", 66.9 * kMm},
    {"Stainless steel 10S", "3\"", 82.8 * kMm},
    {"Stainless steel 10S", "3½\"", 95.5 * kMm},
    {"Stainless steel 10S", "4\"", 108.2 * kMm},
    {"Stainless steel 10S", "5\"", 134.5 * kMm},
    {"Stainless steel 10S", "6\"", 161.5 * kMm},
    {"Stainless steel 10S", "8\"", 211.58 * kMm},
    {"Stainless steel 10S", "10\"", 264.72 * kMm},
    {"Stainless steel 10S", "12\"", 314.76 * kMm},
    {"Stainless steel 40S", "½\"", 15.76 * kMm},
    {"Stainless steel 40S", "¾\"", 20.96 * kMm},
    {"Stainless steel 40S", "1\"", 26.64 * kMm},
    {"Stainless steel 40S", "1¼\"", 35.08 * kMm},
    {"Stainless steel 40S", "1½\"", 40.94 * kMm},
    {"Stainless steel 40S", "2\"", 52.48 * kMm},
    {"Stainless steel 40S", "2½\"", 62.68 * kMm},
    {"Stainless steel 40S", "3\"", 77.92 * kMm},
    {"Stainless steel 40S", "3½\"", 90.12 * kMm},
    {"Stainless steel 40S", "4\"", 102.26 * kMm},
    {"Stainless steel 40S", "5\"", 128.2 * kMm},
    {"Stainless steel 40S", "6\"", 154.08 * kMm},
    {"Stainless steel 40S", "8\"", 202.74 * kMm},
    {"Stainless steel 40S", "10\"", 254.56 * kMm},
    {"Stainless steel 40S", "12\"", 304.84 * kMm},
};

TMaterialLoad Shipped() { return LoadMaterialFiles(kShippedData); }

TEST(ShippedMaterials, LoadWithoutMessages) {
    const TMaterialLoad load = Shipped();
    EXPECT_TRUE(load.Messages.empty()) << load.Messages.front();
    std::vector<std::string> names;
    for (const TMaterialTable& m : load.Materials) names.push_back(m.Name);
    // In file-name order.
    EXPECT_EQ(names, (std::vector<std::string>{"Copper Type K", "Copper Type L", "Copper Type M", "PEX SDR 9",
                                               "Schedule 80 steel", "Stainless steel 10S", "Stainless steel 40S"}));
}

TEST(ShippedMaterials, InsideDiametersAreThePublishedOnes) {
    std::map<std::string, std::map<std::string, double>> shipped;
    std::map<std::string, std::size_t> counts;
    for (const TMaterialTable& m : Shipped().Materials) {
        for (const TMaterialBore& b : m.Bores) shipped[m.Name][b.Label] = b.ID;
        counts[m.Name] = m.Bores.size();
    }
    std::map<std::string, std::size_t> cited;
    for (const CitedBore& c : kCited) {
        SCOPED_TRACE(std::string(c.material) + " " + c.label);
        ++cited[c.material];
        ASSERT_EQ(shipped[c.material].count(c.label), 1u);
        EXPECT_NEAR(shipped[c.material][c.label], c.id, 5e-10);
    }
    // No bore beyond the published ones.
    EXPECT_EQ(counts, cited);
}

// The rule the maximum flows follow, as the built-in bores do: the flow at
// which water at the default 9 °C reaches 3 m/s or 1000 Pa/m in the
// material, whichever comes first, rounded down to two significant digits.
TEST(ShippedMaterials, MaximumFlowsKeepToTheVelocityAndGradientLimits) {
    TLiquid water("Water", 0, 0, 9, 9);
    for (const TMaterialTable& m : Shipped().Materials) {
        for (const TMaterialBore& b : m.Bores) {
            SCOPED_TRACE(m.Name + " " + b.Label);
            const auto gradient = [&](double q) {
                return SolveDuct(q, b.ID, 1, m.Roughness, 0.02, water.ro, water.mu).PressureDrop;
            };
            const double atVelocity = 3.0 * std::numbers::pi / 4 * b.ID * b.ID; // m³/s
            double lo = 0, hi = atVelocity;
            if (gradient(hi) > 1000) {
                for (int i = 0; i < 80; ++i) ((gradient((lo + hi) / 2) < 1000) ? lo : hi) = (lo + hi) / 2;
                hi = lo;
            }
            const double limit = hi * 1000; // l/s
            EXPECT_LE(b.mf, limit * 1.001);
            // Two significant digits lose at most a tenth of the value.
            EXPECT_GE(b.mf, limit * 0.9);
        }
    }
}

// A 1" Type L copper pipe against Darcy–Weisbach with the Colebrook factor
// computed independently (python3-fluids 1.0.22: friction_factor(Re, eD,
// Method='Colebrook')): D = 1.025 in, 10 m, 0.5 l/s of water at 9 °C
// (999.646856605928 kg/m³, 0.0013325388641582947 Pa·s), ε = 1.5 µm.
TEST(ShippedMaterials, OneInchTypeLCopperMatchesDarcyWeisbach) {
    const TMaterialTable* copper = nullptr;
    const TMaterialLoad load = Shipped();
    for (const TMaterialTable& m : load.Materials)
        if (m.Name == "Copper Type L") copper = &m;
    ASSERT_NE(copper, nullptr);
    const TMaterialBore* inch = nullptr;
    for (const TMaterialBore& b : copper->Bores)
        if (b.Label == "1\"") inch = &b;
    ASSERT_NE(inch, nullptr);
    TLiquid water("Water", 0, 0, 9, 9);
    ASSERT_DOUBLE_EQ(water.ro, 999.646856605928);
    const TDuctFlow r = SolveDuct(0.0005, inch->ID, 10, copper->Roughness, inch->ff, water.ro, water.mu);
    EXPECT_NEAR(r.Velocity, 0.9392148680023726, 1e-12);
    EXPECT_NEAR(r.Reynolds, 18343.79808463293, 1e-8);
    EXPECT_NEAR(r.Friction, 0.02656084542183588, 0.02656 * 1e-3);
    EXPECT_NEAR(r.PressureDrop, 4498.117948944481, 4498 * 1e-3);
}

class MaterialFileFaults : public test::BuiltInTables {
protected:
    TempFolder folder;
    std::string data = folder.Path();
    const std::string good = ReadText(kShippedData + "CopperTypeL.ini");
};

TEST_F(MaterialFileFaults, AFileWithABadValueIsNotUsedAndNamesFileSectionAndKey) {
    struct Case {
        const char* what;
        const char* section;
        const char* key;
        const char* line;      // the line replaced in the good file ("" removes it)
        const char* message;   // after "Pipe material not used: "
    };
    const Case cases[] = {
        {"missing ID", "Bore3", "ID", "", "Bad.ini [Bore3] ID: missing"},
        {"zero ID", "Bore3", "ID", "ID=0", "Bad.ini [Bore3] ID: 0 is not above zero"},
        {"negative ID", "Bore3", "ID", "ID=-0.09", "Bad.ini [Bore3] ID: -0.09 is not above zero"},
        {"text ID", "Bore3", "ID", "ID=wide", "Bad.ini [Bore3] ID: 'wide' is not a number"},
        {"missing roughness", "Material", "Roughness", "", "Bad.ini [Material] Roughness: missing"},
        {"zero roughness", "Material", "Roughness", "Roughness=0", "Bad.ini [Material] Roughness: 0 is not above zero"},
        {"negative roughness", "Material", "Roughness", "Roughness=-1e-6",
         "Bad.ini [Material] Roughness: -1e-6 is not above zero"},
        {"text roughness", "Material", "Roughness", "Roughness=smooth",
         "Bad.ini [Material] Roughness: 'smooth' is not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IniDocument ini = IniDocument::Parse(good);
        // A name of its own, so only the bad value can keep it out.
        ini.Set("Material", "Name", "Bad copper");
        std::vector<std::string> lines = ini.SectionLines(c.section);
        for (std::string& line : lines)
            if (line.rfind(std::string(c.key) + "=", 0) == 0) line = c.line;
        std::erase(lines, std::string());
        ini.ReplaceSection(c.section, lines);
        WriteText(data + "Bad.ini", ini.Text());
        fs::copy_file(kShippedData + "Sch80Steel.ini", data + "Sch80Steel.ini", fs::copy_options::overwrite_existing);

        const TMaterialLoad load = LoadMaterialFiles(data);
        ASSERT_EQ(load.Messages.size(), 1u);
        EXPECT_EQ(load.Messages[0], std::string("Pipe material not used: ") + c.message);
        // The good file beside it is used, the bad one not at all.
        ASSERT_EQ(load.Materials.size(), 1u);
        EXPECT_EQ(load.Materials[0].Name, "Schedule 80 steel");
        // Nothing was written back.
        EXPECT_EQ(ReadText(data + "Bad.ini"), ini.Text());
    }
}

TEST_F(MaterialFileFaults, NamesAreTakenOnce) {
    fs::copy_file(kShippedData + "CopperTypeL.ini", data + "A.ini");
    fs::copy_file(kShippedData + "CopperTypeL.ini", data + "B.ini");
    WriteText(data + "C.ini", "[Material]\nName=GALVANISED IRON\nRoughness=0.00015\n[Bore1]\nLabel=1\"\nID=0.027\nmf=1\n");
    const TMaterialLoad load = LoadMaterialFiles(data);
    ASSERT_EQ(load.Materials.size(), 1u);
    EXPECT_EQ(load.Materials[0].File, "A.ini");
    EXPECT_EQ(load.Messages, (std::vector<std::string>{
                                 "Pipe material not used: B.ini [Material] Name: 'Copper Type L' is taken",
                                 "Pipe material not used: C.ini [Material] Name: 'GALVANISED IRON' is taken"}));
}

TEST_F(MaterialFileFaults, BoresRunFromLargestToSmallestWithoutAGap) {
    WriteText(data + "Up.ini",
              "[Material]\nName=Up\nRoughness=1e-6\n[Bore1]\nLabel=a\nID=0.02\nmf=1\n[Bore2]\nLabel=b\nID=0.03\nmf=2\n");
    WriteText(data + "Gap.ini", "[Material]\nName=Gap\nRoughness=1e-6\n[Bore1]\nLabel=a\nID=0.03\nmf=1\n[Bore3]\nLabel=b\nID=0.02\nmf=2\n");
    WriteText(data + "None.ini", "[Material]\nName=None\nRoughness=1e-6\n");
    const TMaterialLoad load = LoadMaterialFiles(data);
    ASSERT_EQ(load.Materials.size(), 1u);
    EXPECT_EQ(load.Materials[0].Name, "Gap"); // Bore3 after a gap is not read
    EXPECT_EQ(load.Materials[0].Bores.size(), 1u);
    EXPECT_EQ(load.Messages, (std::vector<std::string>{"Pipe material not used: None.ini [Bore1]: missing",
                                                       "Pipe material not used: Up.ini [Bore2] ID: not smaller than the bore before it"}));
}

TEST_F(MaterialFileFaults, WrittenFileReadsBack) {
    TMaterialTable m{"My tube", 2e-6, {{"DN 32", 0.0327, 0.022, 1.6, 12.5, 0.2}, {"DN 25", 0.0263, 0.024, 0.8, -1, 0.15}}, ""};
    std::string error;
    const std::optional<TMaterialTable> back = ReadMaterialFile(IniDocument::Parse(MaterialFileText(m)), "My.ini", error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->Name, m.Name);
    EXPECT_EQ(back->Roughness, m.Roughness);
    ASSERT_EQ(back->Bores.size(), 2u);
    EXPECT_EQ(back->Bores[0].Label, "DN 32");
    EXPECT_EQ(back->Bores[1].ID, 0.0263);
    EXPECT_EQ(back->Bores[0].ListPrice, 12.5);
    EXPECT_EQ(back->Bores[1].LabourTime, 0.15);
}

TEST_F(MaterialFileFaults, LoadCataloguesFillsTheProjectsMaterials) {
    for (const char* name : {kSteelPipeFile, kGalvIronPipeFile, kDrawnTubePipeFile, kPipeFittingsFile, "PexSdr9.ini"})
        fs::copy_file(kShippedData + name, data + name);
    const TCatalogueTables before = project.Tables;
    EXPECT_TRUE(LoadCatalogues(data, project.Tables).empty());
    ASSERT_EQ(project.Tables.Materials.size(), 1u);
    EXPECT_EQ(MaterialCodeOf(project.Tables, "pex sdr 9"), 3);
    EXPECT_EQ(MaterialCodeOf(project.Tables, "Drawn tubing"), 2);
    EXPECT_EQ(MaterialCodeOf(project.Tables, "3"), 3);
    EXPECT_FALSE(MaterialCodeOf(project.Tables, "4"));
    EXPECT_FALSE(MaterialCodeOf(project.Tables, "Copper Type L"));
    // The built-in materials' table is what the shipped files always gave.
    for (std::size_t i = 0; i < BoreCount; ++i) EXPECT_EQ(project.Tables.BoreTable[i].ID, before.BoreTable[i].ID);
}

TEST(MaterialBores, NearestByInsideDiameterAndForFlow) {
    const TMaterialTable m{"T", 1e-6, {{"2\"", 0.050, 0.02, 5, -1, 0}, {"1\"", 0.026, 0.02, 0.9, -1, 0}, {"½\"", 0.013, 0.03, 0.2, -1, 0}}, ""};
    struct Case {
        double d;
        std::size_t index;
    };
    for (const Case c : {Case{0.02664, 1}, Case{0.0158, 2}, Case{0.2, 0}, Case{0.001, 2}, Case{0.039, 0}, Case{0.037, 1}}) {
        const auto nearest = NearestMaterialBore(m, c.d);
        ASSERT_TRUE(nearest);
        EXPECT_EQ(nearest->Index, c.index) << c.d;
        EXPECT_NEAR(nearest->Deviation, std::fabs(m.Bores[c.index].ID - c.d) / c.d, 1e-15);
    }
    EXPECT_FALSE(NearestMaterialBore(TMaterialTable{}, 0.02));
    EXPECT_EQ(MaterialBoreForFlow(m, 0.1), 2u);
    EXPECT_EQ(MaterialBoreForFlow(m, 0.9), 1u);
    EXPECT_EQ(MaterialBoreForFlow(m, 0.95), 0u);
    EXPECT_EQ(MaterialBoreForFlow(m, 50), 0u);
}

} // namespace
} // namespace dvx
