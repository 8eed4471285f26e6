// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProjectTestSupport.h"

#include "base/Errors.h"
#include "storage/project/CircuitFiles.h"
#include "storage/project/FileIO.h"
#include "storage/project/ProjectFile.h"

namespace dvx {
namespace {

namespace fs = std::filesystem;

class CircuitFiles : public test::ProjectFileFixture {};

TEST_F(CircuitFiles, ProjectBringsItsLiquidAndMaterialAsStored) {
    test::TempFolder dir;
    TCircuit circuit(project);
    circuit.Material = 2;
    auto pipe = std::make_unique<TPipe>(project);
    pipe->Number = 41;
    circuit.Append(std::move(pipe));
    TLiquid stored = *project.Liquid;
    stored.ro = 500;    // not what an evaluation would give: must stay as stored
    stored.mu = 0.002;
    stored.Caption = "Stored liquid";
    const fs::path path = dir / "JOB.DVX"; // the extension in any case
    SaveCircuitFile(path, circuit, stored, project.Tables);

    const TLoadedCircuit loaded = LoadCircuitFile(path, project);
    ASSERT_TRUE(loaded.Fluid.has_value());
    EXPECT_EQ(loaded.Circuit->Count(), 1);
    EXPECT_EQ(project.Liquid->Caption, "Water"); // nothing in force yet
    ApplyLoadedCircuit(loaded, project);
    EXPECT_EQ(project.Liquid->ro, 500);
    EXPECT_EQ(project.Liquid->mu, 0.002);
    EXPECT_EQ(project.Liquid->Caption, "Stored liquid");
    EXPECT_EQ(project.Tables.PipeMaterial, 2);
    EXPECT_EQ(project.Tables.CurrentRoughness, project.Tables.MaterialRoughness[2]);
    EXPECT_EQ(project.ItemCounter, 41);
}

TEST_F(CircuitFiles, TextFileBuildsTheCircuitAsTheImportDoes) {
    test::TempFolder dir;
    const fs::path path = dir / "items.txt";
    const std::string content =
        "p, 3, 'Main riser', 102, 25.0, 8.077, 'Pipe', 10.0\r\n"
        "u, 5, 'Chiller', 102, 25.0, 50, 'User'\r\n";
    WriteFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
    const double roBefore = project.Liquid->ro;

    const TLoadedCircuit loaded = LoadCircuitFile(path, project);
    EXPECT_FALSE(loaded.Fluid.has_value());
    ASSERT_EQ(loaded.Circuit->Count(), 2);
    EXPECT_EQ(loaded.Circuit->Item(0).Number, 5); // reverse of the file's order
    EXPECT_EQ(loaded.Circuit->Item(1).Number, 3);
    EXPECT_EQ(loaded.Circuit->Material, 0);
    EXPECT_EQ(loaded.ItemCounter, 2); // one per constructed item
    ApplyLoadedCircuit(loaded, project);
    EXPECT_EQ(project.Liquid->ro, roBefore);

    // Back to text: the export lines in list order.
    const fs::path out = dir / "out.txt";
    SaveCircuitFile(out, *loaded.Circuit, *project.Liquid, project.Tables);
    const auto bytes = ReadWholeFile(out);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "u, 5, 'Chiller', 102, 25.0, 50, 'User'");
}

TEST_F(CircuitFiles, OtherExtensionsAreRefusedWithTheProgramsMessages) {
    test::TempFolder dir;
    TCircuit circuit(project);
    for (const char* name : {"job.doc", "job", "job.dvx.bak"}) {
        SCOPED_TRACE(name);
        try {
            (void)LoadCircuitFile(dir / name, project);
            FAIL() << "read";
        } catch (const FileError& e) {
            EXPECT_STREQ(e.what(), "File extension must be \"dvx\".");
        }
        try {
            SaveCircuitFile(dir / name, circuit, *project.Liquid, project.Tables);
            FAIL() << "written";
        } catch (const FileError& e) {
            EXPECT_STREQ(e.what(), "File not saved.  Extension must be \"dvx\".");
        }
    }
    EXPECT_TRUE(fs::is_empty(dir.Path()));
    EXPECT_THROW((void)LoadCircuitFile(dir / "missing.txt", project), FileError);
}

} // namespace
} // namespace dvx
