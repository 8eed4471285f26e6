// SPDX-License-Identifier: GPL-3.0-or-later
// The reading commands of darvenix-cli write nothing: the shipped data files
// are read where they are installed until "darvenix-cli setup" brings them
// into the user's data folder.

#include "CliRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace dvx::test;
using testing::HasSubstr;

namespace {

namespace fs = std::filesystem;

const char* const kDataFiles[] = {"SteelPipe.ini", "GalvIronPipe.ini", "DrawnTubePipe.ini", "PipeFittings.ini",
                                  "RefLib8.rdf"};

const std::string kCircuit = "p, 3, 'Main riser', 102, 25.0, 8.077, 'Pipe', 10.0\r\n"
                             "f, 4, 'Bends', 102, 25.0, 0, 'Std Elbow 90 deg', 0, 2\r\n";

// A sandbox installed as a package is: the program beside its merge
// configuration, the shipped data files in the install folder it names.
class CliWritesNothing : public testing::Test {
protected:
    void SetUp() override {
        const fs::path program = cli_.Program().parent_path();
        fs::create_directories(program / "install-data");
        std::string config = "[Data files]\n";
        for (const char* name : kDataFiles) {
            fs::copy_file(fs::path(DARVENIX_SOURCE_DIR "/data") / name, program / "install-data" / name);
            config += std::string(name) + "=%DATAFOLDER%, %PROGRAMFOLDER%install-data/, 1\n";
        }
        WriteText((program / "darvenix-cli.ini").string(), config);
        WriteText(cli_.WorkFile("circuit.txt"), kCircuit);
    }

    std::string DataFolder() const { return cli_.DataHome() + "/Quellstrand/Common Files/"; }

    CliSandbox cli_;
};

TEST_F(CliWritesNothing, ReadingCommandsLeaveAMissingHomeMissing) {
    ASSERT_FALSE(fs::exists(cli_.Home()));
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"calc", "--strict", "circuit.txt"},
             {"calc", "--json", "circuit.txt"},
             {"catalogue", "--json"},
             {"curve", "circuit.txt"},
             {"paths"}}) {
        SCOPED_TRACE(args.front());
        const TCliResult r = cli_.Run(args);
        EXPECT_EQ(r.Exit, 0) << r.Err;
        EXPECT_EQ(r.Err, "");
        EXPECT_FALSE(fs::exists(cli_.Home())) << "the command created the home folder";
    }
}

TEST_F(CliWritesNothing, AnUnwritableHomeGivesNoWarning) {
    // A file where the home folder should be: nothing can be created under
    // it, whoever runs the test (a read-only folder would not stop root).
    WriteText(cli_.Home(), "");
    const TCliResult r = cli_.Run({"calc", "--strict", "circuit.txt"});
    EXPECT_EQ(r.Exit, 0);
    EXPECT_EQ(r.Err, "");
    EXPECT_THAT(r.Out, HasSubstr("Main riser"));
}

TEST_F(CliWritesNothing, SetupStagesTheDataFilesAndChangesNoResult) {
    const TCliResult before = cli_.Run({"catalogue", "--json"});
    const TCliResult calcBefore = cli_.Run({"calc", "--json", "circuit.txt"});
    ASSERT_EQ(before.Exit, 0) << before.Err;

    const TCliResult setup = cli_.Run({"setup"});
    ASSERT_EQ(setup.Exit, 0) << setup.Err;
    EXPECT_EQ(setup.Err, "");
    for (const char* name : kDataFiles) EXPECT_TRUE(fs::is_regular_file(DataFolder() + name)) << name;
    // Every folder the program made is the user's alone.
    for (const std::string& folder : {cli_.Home(), cli_.DataHome(), cli_.DataHome() + "/Quellstrand", DataFolder()})
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all) << folder;

    // Read from the staged copies now, the tables are the same.
    EXPECT_EQ(cli_.Run({"catalogue", "--json"}).Out, before.Out);
    EXPECT_EQ(cli_.Run({"calc", "--json", "circuit.txt"}).Out, calcBefore.Out);

    // An edit in the user's copy is what the reading commands take from now on.
    std::string fittings = ReadText(DataFolder() + "PipeFittings.ini");
    const std::size_t globe = fittings.find("[Globe Valve]\nC=340");
    ASSERT_NE(globe, std::string::npos);
    fittings.replace(globe, 19, "[Globe Valve]\nC=345");
    WriteText(DataFolder() + "PipeFittings.ini", fittings);
    EXPECT_THAT(cli_.Run({"catalogue", "--json"}).Out, HasSubstr("{\"name\":\"Globe Valve\",\"C\":345.0,"));
}

TEST_F(CliWritesNothing, SetupIntoAnUnwritableHomeFails) {
    WriteText(cli_.Home(), "");
    const TCliResult r = cli_.Run({"setup"});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_THAT(r.Err, HasSubstr("darvenix-cli: "));
}

} // namespace
