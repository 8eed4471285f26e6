// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/catalogue/CatalogueFiles.h"
#include "engine/catalogue/Tables.h"
#include "catalogue/TablesFixture.h"
#include "base/Errors.h"
#include "base/platform/AtomicWrite.h"
#include "storage/settings/IniFiles.h"
#include "storage/settings/SettingsStore.h"
#include "settings/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dvx {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempFolder;
using test::WriteText;

const std::string kShippedData = std::string(DARVENIX_SOURCE_DIR) + "/data/";

// Every value the catalogue files can set.
struct Snapshot {
    std::array<TBoreRec, BoreCount> bores;
    decltype(TCatalogueTables::PipeListPrice) pipePrice;
    decltype(TCatalogueTables::PipeLabourTime) pipeLabour;
    std::array<double, FittingCount> c;
    decltype(TCatalogueTables::FittingPrice) fittingPrice;
    decltype(TCatalogueTables::FittingLabour) fittingLabour;

    static Snapshot Take(const TCatalogueTables& tables) {
        Snapshot s{tables.BoreTable, tables.PipeListPrice, tables.PipeLabourTime, {}, tables.FittingPrice, tables.FittingLabour};
        for (std::size_t t = 0; t < FittingCount; ++t) s.c[t] = tables.FittingTable[t].C;
        return s;
    }
};

bool SameBore(const TBoreRec& a, const TBoreRec& b) {
    return a.Nominal == b.Nominal && a.ID == b.ID && a.ff == b.ff && a.mf == b.mf;
}

bool Same(const Snapshot& a, const Snapshot& b) {
    for (std::size_t i = 0; i < BoreCount; ++i)
        if (!SameBore(a.bores[i], b.bores[i])) return false;
    return a.pipePrice == b.pipePrice && a.pipeLabour == b.pipeLabour && a.c == b.c &&
           a.fittingPrice == b.fittingPrice && a.fittingLabour == b.fittingLabour;
}

class CatalogueFilesTest : public test::BuiltInTables {
protected:
    void SetUp() override {
        BuiltInTables::SetUp();
        builtIn = Snapshot::Take(project.Tables);
        for (const char* name : {kSteelPipeFile, kGalvIronPipeFile, kDrawnTubePipeFile, kPipeFittingsFile})
            fs::copy_file(kShippedData + name, data / name);
    }
    void Edit(const char* file, const std::string& section, const std::string& key, const std::string& value) {
        TIniFile(data / file).WriteString(section, key, value);
    }

    TempFolder data;
    Snapshot builtIn;
};

TEST_F(CatalogueFilesTest, ShippedFilesHoldExactlyTheBuiltInTables) {
    // Overwrite everything the files set, so that each value must come from them.
    for (auto& bore : project.Tables.BoreTable) bore.ID = bore.ff = bore.mf = 99;
    for (auto& row : project.Tables.PipeListPrice) row.fill(99);
    for (auto& row : project.Tables.PipeLabourTime) row.fill(99);
    for (auto& fitting : project.Tables.FittingTable) fitting.C = 99;
    for (auto& row : project.Tables.FittingPrice) row.fill(99);
    for (auto& row : project.Tables.FittingLabour) row.fill(99);

    EXPECT_TRUE(LoadCatalogues(kShippedData, project.Tables).empty());
    Snapshot loaded = Snapshot::Take(project.Tables);
    for (std::size_t i = 0; i < BoreCount; ++i) EXPECT_TRUE(SameBore(loaded.bores[i], builtIn.bores[i])) << BoreName[i];
    EXPECT_EQ(loaded.pipePrice, builtIn.pipePrice);
    EXPECT_EQ(loaded.pipeLabour, builtIn.pipeLabour);
    EXPECT_EQ(loaded.c, builtIn.c);
    EXPECT_EQ(loaded.fittingPrice, builtIn.fittingPrice);
    EXPECT_EQ(loaded.fittingLabour, builtIn.fittingLabour);
}

TEST_F(CatalogueFilesTest, EachMissingFileGivesOneMessageWithItsFullPath) {
    fs::remove(data / kSteelPipeFile);
    std::vector<std::string> messages = LoadCatalogues(data.Path(), project.Tables);
    EXPECT_EQ(messages, (std::vector<std::string>{"Error reading " + (data / kSteelPipeFile)}));
    EXPECT_TRUE(Same(Snapshot::Take(project.Tables), builtIn));

    fs::remove(data / kPipeFittingsFile);
    fs::remove(data / kDrawnTubePipeFile);
    EXPECT_EQ(LoadCatalogues(data.Path(), project.Tables),
              (std::vector<std::string>{"Error reading " + (data / kSteelPipeFile),
                                        "Error reading " + (data / kDrawnTubePipeFile),
                                        "Error reading " + (data / kPipeFittingsFile)}));
}

TEST_F(CatalogueFilesTest, ValuesThatDoNotReadKeepTheValueInMemory) {
    Edit(kSteelPipeFile, "100", "ID", "");        // present but empty
    Edit(kSteelPipeFile, "100", "ff", "fast");    // not a number
    Edit(kSteelPipeFile, "80", "ID", "0");        // cannot be calculated with
    Edit(kSteelPipeFile, "80", "ff", "-0.02");
    Edit(kSteelPipeFile, "65", "ID", "0.0627");   // read
    Edit(kSteelPipeFile, "65", "mf", "8.5");
    Edit(kSteelPipeFile, "15", "LabourTime", "0.12");
    Edit(kGalvIronPipeFile, "15", "ListPrice", "3.25");
    Edit(kDrawnTubePipeFile, "750", "LabourTime", "5");
    EXPECT_TRUE(LoadCatalogues(data.Path(), project.Tables).empty());
    EXPECT_EQ(project.Tables.BoreTable[11].ID, 0.1023);
    EXPECT_EQ(project.Tables.BoreTable[11].ff, 0.017);
    EXPECT_EQ(project.Tables.BoreTable[12].ID, 0.07792);
    EXPECT_EQ(project.Tables.BoreTable[12].ff, 0.018);
    EXPECT_EQ(project.Tables.BoreTable[13].ID, 0.0627);
    EXPECT_EQ(project.Tables.BoreTable[13].mf, 8.5);
    EXPECT_EQ(project.Tables.PipeLabourTime[19][pmSteel], 0.12);
    EXPECT_EQ(project.Tables.PipeLabourTime[19][pmGalvIron], 0.1);
    EXPECT_EQ(project.Tables.PipeListPrice[19][pmGalvIron], 3.25);
    EXPECT_EQ(project.Tables.PipeListPrice[19][pmSteel], -1);
    EXPECT_EQ(project.Tables.PipeLabourTime[0][pmDrawnTube], 5);
    EXPECT_EQ(project.Tables.PipeLabourTime[0][pmSteel], 4.92);
}

TEST_F(CatalogueFilesTest, PriceAndLabourLists) {
    struct Case {
        const char* key;
        std::string list;
        std::vector<std::pair<int, double>> expected; // BoreIndex, value
        bool error;
    } cases[] = {
        {"Price", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21", {{0, 1}, {19, 20}}, false},
        {"Price", "1,2,3", {{0, 1}, {1, 2}, {2, 3}, {3, -1}, {19, -1}}, false},
        {"LabourTime", "1,x,3", {{0, 1}, {1, 6.0}, {2, 5.0}}, true},
        {"Price", "1.5 2.5,\"3.5\"", {{0, 1.5}, {1, 2.5}, {2, 3.5}, {3, -1}}, false},
        {"Price", "", {{0, -1}}, false},
        {"Price", "\"4 5\",6", {{0, -1}, {1, -1}}, true},
    };
    for (const Case& c : cases) {
        project.Tables.RestoreBuiltIn();
        fs::copy_file(kShippedData + kPipeFittingsFile, data / kPipeFittingsFile,
                      fs::copy_options::overwrite_existing);
        Edit(kPipeFittingsFile, "Std Elbow 90 deg", c.key, c.list);
        std::vector<std::string> messages = LoadCatalogues(data.Path(), project.Tables);
        const auto& row = std::string(c.key) == "Price" ? project.Tables.FittingPrice[0] : project.Tables.FittingLabour[0];
        for (auto [bore, value] : c.expected) EXPECT_EQ(row[bore], value) << c.list << " @" << bore;
        EXPECT_EQ(messages.size(), c.error ? 1u : 0u) << c.list;
    }
}

TEST_F(CatalogueFilesTest, BadListItemsInSeveralTypesGiveOneMessageAfterTheWholeFile) {
    Edit(kPipeFittingsFile, "Reducer", "LabourTime", "1,bad,3");
    Edit(kPipeFittingsFile, "Gate Valve", "Price", "oops");
    Edit(kPipeFittingsFile, "VibroFlex", "C", "9");        // after both errors, still read
    Edit(kPipeFittingsFile, "VibroFlex", "Price", "7");
    EXPECT_EQ(LoadCatalogues(data.Path(), project.Tables), (std::vector<std::string>{"Error reading " + (data / kPipeFittingsFile)}));
    EXPECT_EQ(project.Tables.FittingLabour[2][0], 1);
    EXPECT_EQ(project.Tables.FittingLabour[2][1], 3.0); // keeps the profile value
    EXPECT_EQ(project.Tables.FittingLabour[2][2], 2.5);
    EXPECT_EQ(project.Tables.FittingTable[23].C, 9);
    EXPECT_EQ(project.Tables.FittingPrice[23][0], 7);
}

TEST(CatalogueListTest, SplitsAtCommasAndBlanksWithQuotedItems) {
    struct Case {
        const char* text;
        std::vector<std::string> items;
    } cases[] = {
        {"7.50,6.00,", {"7.50", "6.00", ""}},
        {"1 2\t3", {"1", "2", "3"}},
        {"  1 , 2 ,3  ", {"1", "2", "3"}},
        {"1,,3", {"1", "", "3"}},
        {"\"a b\",\"say \"\"hi\"\"\"", {"a b", "say \"hi\""}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCatalogueList(c.text), c.items) << c.text;
    const double values[] = {7.5, 0.155, -1};
    EXPECT_EQ(FormatCatalogueList(values, 3), "7.50,0.15,-1.00,");
}

TEST_F(CatalogueFilesTest, SaveWritesOnlyTheCostKeys) {
    project.Tables.PipeListPrice[0][pmSteel] = 120.5;
    project.Tables.PipeLabourTime[19][pmDrawnTube] = 0.125;
    project.Tables.FittingPrice[16][0] = 2500;
    project.Tables.BoreTable[0].ID = 0.5;     // never written
    project.Tables.FittingTable[16].C = 999;  // never written
    SaveCatalogues(data.Path(), project.Tables);

    TIniFile steel(data / kSteelPipeFile);
    EXPECT_EQ(steel.ReadString("750", "ListPrice", ""), "120.5");
    EXPECT_EQ(steel.ReadString("750", "LabourTime", ""), "4.92");
    EXPECT_EQ(steel.ReadString("750", "ID", ""), "0.73025");
    EXPECT_EQ(TIniFile(data / kDrawnTubePipeFile).ReadString("15", "LabourTime", ""), "0.125");
    TIniFile fittings(data / kPipeFittingsFile);
    EXPECT_EQ(fittings.ReadString("Globe Valve", "C", ""), "340");
    EXPECT_EQ(fittings.ReadString("Globe Valve", "Price", ""),
              "2500.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,"
              "-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,-1.00,");
    EXPECT_EQ(ReadText(data / kSteelPipeFile).substr(0, 1), ";"); // comments survive

    // Read back: the same costs.
    Snapshot saved = Snapshot::Take(project.Tables);
    project.Tables.RestoreBuiltIn();
    EXPECT_TRUE(LoadCatalogues(data.Path(), project.Tables).empty());
    EXPECT_EQ(project.Tables.PipeListPrice, saved.pipePrice);
    EXPECT_EQ(project.Tables.PipeLabourTime, saved.pipeLabour);
    EXPECT_EQ(project.Tables.FittingPrice, saved.fittingPrice);
    EXPECT_EQ(project.Tables.FittingLabour, saved.fittingLabour);
    EXPECT_EQ(project.Tables.FittingTable[16].C, 340);
}

TEST_F(CatalogueFilesTest, SaveCreatesMissingFilesAndReportsAFailedWrite) {
    TempFolder empty;
    const std::string folder = empty / "new/";
    SaveCatalogues(folder, project.Tables);
    project.Tables.RestoreBuiltIn();
    EXPECT_TRUE(LoadCatalogues(folder, project.Tables).empty());
    EXPECT_EQ(project.Tables.PipeLabourTime[0][pmGalvIron], 4.92);

    const std::string before = ReadText(data / kGalvIronPipeFile);
    project.Tables.PipeListPrice[0][pmGalvIron] = 1;
    SetWriteFaultHook([](const std::string& path, std::size_t) { return path.find("GalvIron") == std::string::npos; });
    try {
        SaveCatalogues(data.Path(), project.Tables);
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + (data / kGalvIronPipeFile));
    }
    SetWriteFaultHook({});
    EXPECT_EQ(ReadText(data / kGalvIronPipeFile), before);
}

TEST_F(CatalogueFilesTest, RoughnessSettings) {
    TempFolder dir;
    SettingsStore store(dir / "s.ini");
    project.Tables.MaterialRoughness = {1, 1, 1};
    LoadRoughnessSettings(store, project.Tables);
    EXPECT_DOUBLE_EQ(project.Tables.MaterialRoughness[pmSteel], 0.000046);
    EXPECT_DOUBLE_EQ(project.Tables.MaterialRoughness[pmGalvIron], 0.00015);
    EXPECT_DOUBLE_EQ(project.Tables.MaterialRoughness[pmDrawnTube], 0.0000015);

    store.WriteString("Pipe", "Shed40Steel", "0.1");
    store.WriteString("Pipe", "GalvIron", "rough");
    project.Tables.MaterialRoughness = {1, 1, 1};
    EXPECT_THROW(LoadRoughnessSettings(store, project.Tables), ConvertError);
    EXPECT_DOUBLE_EQ(project.Tables.MaterialRoughness[pmSteel], 0.0001); // taken before the failure
    EXPECT_EQ(project.Tables.MaterialRoughness[pmGalvIron], 1);
    EXPECT_EQ(project.Tables.MaterialRoughness[pmDrawnTube], 1);

    project.Tables.MaterialRoughness = {0.000046, 0.00015, 0.0000015};
    SaveRoughnessSettings(store, project.Tables);
    EXPECT_EQ(store.ReadString("Pipe", "Shed40Steel", ""), "0.046000");
    EXPECT_EQ(store.ReadString("Pipe", "GalvIron", ""), "0.150000");
    EXPECT_EQ(store.ReadString("Pipe", "DrawnTubing", ""), "0.001500");
}

TEST_F(CatalogueFilesTest, FittingsSettingsOverrideTheCatalogue) {
    TempFolder dir;
    SettingsStore store(dir / "s.ini");
    store.WriteString("Fittings", "Globe Valve", "300.00");
    Edit(kPipeFittingsFile, "Reducer", "C", "38.456");
    ASSERT_TRUE(LoadCatalogues(data.Path(), project.Tables).empty());
    EXPECT_EQ(project.Tables.FittingTable[16].C, 340);
    EXPECT_EQ(project.Tables.FittingTable[2].C, 38.456);
    LoadFittingsSettings(store, project.Tables);
    EXPECT_EQ(project.Tables.FittingTable[16].C, 300);
    EXPECT_EQ(project.Tables.FittingTable[2].C, 38.46); // a missing key comes back rounded to two decimals
    EXPECT_EQ(project.Tables.FittingTable[0].C, 30);

    store.WriteString("Fittings", "Gate Valve", "twelve");
    store.WriteString("Fittings", "Dirty Strainer", "700");
    project.Tables.FittingTable[16].C = 1;
    EXPECT_THROW(LoadFittingsSettings(store, project.Tables), ConvertError);
    EXPECT_EQ(project.Tables.FittingTable[16].C, 1);   // after the failing type: unchanged
    EXPECT_EQ(project.Tables.FittingTable[20].C, 650);

    project.Tables.RestoreBuiltIn();
    SaveFittingsSettings(store, project.Tables);
    EXPECT_EQ(store.ReadString("Fittings", "Std Elbow 90 deg", ""), "30.00");
    EXPECT_EQ(store.ReadString("Fittings", "Gate Valve", ""), "12.00");
}

} // namespace
} // namespace dvx
