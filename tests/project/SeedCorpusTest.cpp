// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the readers over every seed of the fuzz corpus: each file must read or
// fail with a FileError, never crash. Runs in the normal test suite, without
// the fuzzing compiler.

#include "ProjectTestSupport.h"
#include "common/SeedFiles.h"

#include "base/Errors.h"
#include "storage/project/FileIO.h"
#include "storage/project/ProjectFile.h"
#include "storage/project/TextItems.h"

#include <filesystem>

namespace dvx {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Seeds(const char* corpus) { return test::SeedFiles(corpus); }

class SeedCorpus : public test::ProjectFileFixture {};

TEST_F(SeedCorpus, ProjectReaderReadsOrRejectsEverySeed) {
    const auto files = Seeds("project");
    ASSERT_FALSE(files.empty());
    int read = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::vector<std::uint8_t> bytes = ReadWholeFile(file);
        try {
            const TProjectData data = ParseProject(bytes, *project.Liquid, project);
            // Whatever reads must also write and read back.
            const auto again = ParseProject(EncodeProject(*data.Circuit, data.Fluid, project.Tables), *project.Liquid, project);
            EXPECT_EQ(again.Circuit->Count(), data.Circuit->Count());
            ++read;
        } catch (const FileError&) {
        }
    }
    // The seeds made by the writer and by hand are all readable projects.
    EXPECT_GT(read, 0);
}

TEST_F(SeedCorpus, TextImportTakesEverySeed) {
    const auto files = Seeds("text");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::vector<std::uint8_t> bytes = ReadWholeFile(file);
        TCircuit circuit(project);
        TTextImport import =
            ReadTextItems(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), project);
        InsertImportedItems(circuit, import);
        // The imported items are valid project items.
        const auto back = ParseProject(EncodeProject(circuit, *project.Liquid, project.Tables), *project.Liquid, project);
        EXPECT_EQ(back.Circuit->Count(), circuit.Count());
        EXPECT_GT(circuit.Count(), 0);
    }
}

} // namespace
} // namespace dvx
