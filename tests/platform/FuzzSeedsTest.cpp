// SPDX-License-Identifier: GPL-3.0-or-later
// Replays the seeds of the INI, catalogue and refrigerant fuzz targets with
// the targets' own checks, so that the normal suite (no fuzzing compiler)
// holds every reader to the same properties.

#include "../../fuzz/FileFuzzChecks.h"
#include "base/platform/FileRead.h"
#include "common/SeedFiles.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace dvx {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Seeds(const char* corpus) { return test::SeedFiles(corpus); }

TEST(FuzzSeeds, EverySeedHoldsItsTargetsProperties) {
    struct Target {
        const char* corpus;
        std::string (*check)(std::string_view);
    } targets[] = {
        {"ini", fuzz::CheckIniDocument},
        {"catalogue", fuzz::CheckCatalogueLoader},
        {"refrigerant", fuzz::CheckRefrigerantLibrary},
        // Every INI seed is also a catalogue and a refrigerant file to the
        // other loaders.
        {"ini", fuzz::CheckCatalogueLoader},
        {"catalogue", fuzz::CheckIniDocument},
        {"refrigerant", fuzz::CheckIniDocument},
    };
    for (const Target& target : targets) {
        const auto files = Seeds(target.corpus);
        ASSERT_FALSE(files.empty()) << target.corpus;
        for (const fs::path& file : files) {
            SCOPED_TRACE(file.string());
            EXPECT_EQ(target.check(ReadFileText(file, kMaxIniFileBytes)), "");
        }
    }
}

// The checks themselves see a damaged library's record: the shipped seed
// loads R22 from the file, the damaged one falls back to the built-in record.
TEST(FuzzSeeds, RefrigerantSeedsLoadOrFallBack) {
    const fs::path corpus = fs::path(DARVENIX_SOURCE_DIR) / "fuzz" / "corpus" / "refrigerant";
    TRefrigLib shipped("shipped.rdf", IniDocument::Parse(ReadFileText(corpus / "shipped.rdf", kMaxIniFileBytes)));
    EXPECT_EQ(shipped.Status, rsLoaded);
    EXPECT_EQ(shipped.LoadedName, "R22");
    TRefrigLib damaged("damaged.rdf", IniDocument::Parse(ReadFileText(corpus / "damaged.rdf", kMaxIniFileBytes)));
    EXPECT_EQ(damaged.Status, rsLoadError);
    ASSERT_EQ(damaged.Errors.size(), 1u);
    EXPECT_EQ(damaged.Errors[0], "Error reading damaged.rdf [R22]: vh (line 4): 5 numbers expected in '1,2,3'");
}

} // namespace
} // namespace dvx
