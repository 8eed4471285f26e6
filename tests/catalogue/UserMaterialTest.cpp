// SPDX-License-Identifier: GPL-3.0-or-later
// A material the user adds: written as a new catalogue file that the next
// start reads back, usable by a project at once; a bad value or a taken
// name writes nothing, and an existing file is never replaced.
#include "storage/catalogue/UserMaterial.h"

#include "base/platform/AtomicWrite.h"
#include "engine/catalogue/ActiveBores.h"
#include "storage/catalogue/MaterialFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace dvx {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

class UserMaterial : public ::testing::Test {
protected:
    UserMaterial() {
        std::random_device rd;
        folder_ = fs::temp_directory_path() / ("darvenix-user-material-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(folder_);
    }
    ~UserMaterial() override {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    std::string Folder() const { return folder_.string() + "/"; }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static TMaterialTable Tube() {
        TMaterialTable m;
        m.Name = "My Tube";
        m.Roughness = 5e-6;
        m.Bores = {{"DN 32", 0.0326, 0, 1.2, 8, 0.2}, {"DN 25", 0.0262, 0.023, 0.7, -1, 0.15}};
        return m;
    }

    fs::path folder_;
    TCatalogueTables tables_;
};

TEST_F(UserMaterial, IsWrittenReadBackAfterARestartAndUsableAtOnce) {
    const TUserMaterialResult added = AddUserMaterial(Folder(), Tube(), tables_);
    ASSERT_TRUE(added.Added) << added.Message;
    EXPECT_EQ(added.FileName, "UserMaterial-My_Tube.ini");
    ASSERT_EQ(tables_.Materials.size(), 1U);
    EXPECT_EQ(tables_.Materials[0].File, added.FileName);
    // A bore without a starting friction factor gets the fully rough one.
    EXPECT_NEAR(tables_.Materials[0].Bores[0].ff, 0.25 / std::pow(std::log10(5e-6 / 0.0326 / 3.7), 2), 1e-12);
    EXPECT_EQ(tables_.Materials[0].Bores[1].ff, 0.023);

    // In use at once: by name, with its own bores.
    const std::optional<int> code = MaterialCodeOf(tables_, "my tube");
    ASSERT_TRUE(code);
    ASSERT_TRUE(tables_.SelectPipeMaterial(*code));
    EXPECT_EQ(BoreRow(tables_, 1).Label, "DN 25");
    EXPECT_EQ(tables_.CurrentRoughness, 5e-6);

    // The next start reads the same material from the data folder.
    const TMaterialLoad load = LoadMaterialFiles(Folder());
    EXPECT_TRUE(load.Messages.empty());
    ASSERT_EQ(load.Materials.size(), 1U);
    EXPECT_EQ(load.Materials[0].Name, "My Tube");
    EXPECT_EQ(load.Materials[0].Bores[0].ID, 0.0326);
    EXPECT_EQ(load.Materials[0].Bores[0].ListPrice, 8);
    EXPECT_EQ(load.Materials[0].Bores[0].ff, tables_.Materials[0].Bores[0].ff);
}

TEST_F(UserMaterial, ABadValueOrATakenNameWritesNothing) {
    struct Case {
        const char* what;
        void (*change)(TMaterialTable&);
        const char* message;
    };
    const Case cases[] = {
        {"no name", [](TMaterialTable& m) { m.Name.clear(); }, "[Material] Name: missing"},
        {"zero roughness", [](TMaterialTable& m) { m.Roughness = 0; }, "[Material] Roughness: 0 is not above zero"},
        {"negative roughness", [](TMaterialTable& m) { m.Roughness = -1e-6; }, "[Material] Roughness"},
        {"roughness not a number", [](TMaterialTable& m) { m.Roughness = std::nan(""); }, "[Material] Roughness"},
        {"zero inside diameter", [](TMaterialTable& m) { m.Bores[1].ID = 0; }, "[Bore2] ID"},
        {"negative inside diameter", [](TMaterialTable& m) { m.Bores[0].ID = -0.03; }, "[Bore1] ID"},
        {"no maximum flow", [](TMaterialTable& m) { m.Bores[1].mf = 0; }, "[Bore2] mf"},
        {"no label", [](TMaterialTable& m) { m.Bores[0].Label.clear(); }, "[Bore1] Label: missing"},
        {"bores not largest first", [](TMaterialTable& m) { std::swap(m.Bores[0], m.Bores[1]); }, "[Bore2] ID"},
        {"no bores", [](TMaterialTable& m) { m.Bores.clear(); }, "[Bore1]: missing"},
        {"a built-in name", [](TMaterialTable& m) { m.Name = "drawn TUBING"; }, "is taken"},
        {"a line break in the name", [](TMaterialTable& m) { m.Name = "Tube\nRoughness=1"; }, "line break"},
    };
    for (const Case& c : cases) {
        TMaterialTable m = Tube();
        c.change(m);
        const TUserMaterialResult r = AddUserMaterial(Folder(), m, tables_);
        EXPECT_FALSE(r.Added) << c.what;
        EXPECT_THAT(r.Message, HasSubstr(c.message)) << c.what;
        EXPECT_TRUE(Files().empty()) << c.what;
        EXPECT_TRUE(tables_.Materials.empty()) << c.what;
    }
    // A name already in the tables, in any letter case.
    ASSERT_TRUE(AddUserMaterial(Folder(), Tube(), tables_).Added);
    TMaterialTable again = Tube();
    again.Name = "MY TUBE";
    const TUserMaterialResult r = AddUserMaterial(Folder(), again, tables_);
    EXPECT_FALSE(r.Added);
    EXPECT_THAT(r.Message, HasSubstr("is taken"));
    EXPECT_EQ(Files().size(), 1U);
}

TEST_F(UserMaterial, AnExistingFileIsNeverReplaced) {
    const fs::path existing = folder_ / "UserMaterial-My_Tube.ini";
    WriteFileAtomically(existing, std::string_view("; somebody's notes\n"));
    const TUserMaterialResult r = AddUserMaterial(Folder(), Tube(), tables_);
    ASSERT_TRUE(r.Added) << r.Message;
    EXPECT_EQ(r.FileName, "UserMaterial-My_Tube-2.ini");
    EXPECT_EQ(Read(existing), "; somebody's notes\n");
}

} // namespace
} // namespace dvx
