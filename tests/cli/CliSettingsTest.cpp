// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli calculates with the desktop program's settings file: a
// roughness, a fitting coefficient and a default temperature set there
// change calc's results exactly as they change the desktop program's, the
// file is never written, and --builtin leaves it aside.

#include "CliRunner.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "storage/project/TextItems.h"
#include "storage/startup/Startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>

using namespace dvx;
using namespace dvx::test;
using Json = nlohmann::json;

namespace {

// Pipe first in the file, so it is the last item after the import.
const std::string kCircuit = "p, 1, 'Riser', 102, 25.0, 0, 'Pipe', 10.0\r\n"
                             "f, 2, 'Bends', 102, 25.0, 0, 'Std Elbow 90 deg', 0, 2\r\n"
                             "u, 3, 'Chiller', 102, 25.0, 50, 'User'\r\n";

struct TResults {
    std::vector<double> ItemDP; // Pa, in list order
    double TotalDP = 0;         // Pa
    double Temperature = 0;     // °C
};

// The desktop program's way to the same numbers, in this process: its
// start-up (StartCore as the program starts it, named "darvenix" so that it
// reads darvenix.ini), the liquid taking the default temperature when the
// window first becomes active, "Read from Text File" into a new circuit with
// the circuit's material in force, and Calc.
TResults DesktopResults(const CliSandbox& cli, const std::string& textFile) {
    ::setenv("HOME", cli.Home().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", cli.ConfigHome().c_str(), 1);
    ::setenv("XDG_DATA_HOME", cli.DataHome().c_str(), 1);
    TProjectState project;
    const TProjectContext context = project.Context();
    TStartOptions options;
    options.ProgramName = "darvenix";
    options.ProgramFolder = cli.Program().parent_path().string() + "/";
    StartCore(options, context);
    project.Liquid.SetT(project.Tables.DefaultTemperature);

    TCircuit circuit(context);
    TTextImport import = ReadTextItems(ReadTextFileBytes(textFile), context);
    InsertImportedItems(circuit, import);
    project.Tables.SelectPipeMaterial(circuit.Material);
    circuit.Calculate(context, false);
    TResults r;
    for (const auto& item : circuit.Items) r.ItemDP.push_back(item->PressureDrop);
    r.TotalDP = circuit.TotalDP;
    r.Temperature = project.Liquid.t;
    return r;
}

TResults CliResults(const CliSandbox& cli, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"calc", "--json", "circuit.txt"};
    args.insert(args.end(), extra.begin(), extra.end());
    const TCliResult run = cli.Run(args);
    EXPECT_EQ(run.Exit, 0) << run.Err;
    const Json doc = Json::parse(run.Out);
    TResults r;
    for (const Json& item : doc["items"]) r.ItemDP.push_back(item["pressureDrop"].get<double>());
    r.TotalDP = doc["totals"]["totalDP"].get<double>();
    r.Temperature = doc["liquid"]["t"].get<double>();
    return r;
}

struct TSettingCase {
    const char* name;
    const char* settings;  // the desktop program's settings file
    bool pipeChanges;      // the pipe's pressure drop differs from the built-in one
    bool fittingChanges;   // the fitting's differs
    double temperature;    // °C the liquid is evaluated at
};

class CliDesktopSettings : public testing::TestWithParam<TSettingCase> {};

TEST_P(CliDesktopSettings, ChangeCalcAsTheyChangeTheDesktopProgram) {
    const TSettingCase& c = GetParam();
    CliSandbox cli;
    WriteText(cli.WorkFile("circuit.txt"), kCircuit);
    const TResults builtin = CliResults(cli, {"--builtin"});
    if (*c.settings) WriteText(cli.SettingsFile(), c.settings);
    const std::string before = ReadText(cli.SettingsFile());

    const TResults fromCli = CliResults(cli);
    const TResults fromDesktop = DesktopResults(cli, cli.WorkFile("circuit.txt"));
    // Bit for bit the desktop program's numbers (JSON keeps every digit).
    EXPECT_EQ(fromCli.ItemDP, fromDesktop.ItemDP);
    EXPECT_EQ(fromCli.TotalDP, fromDesktop.TotalDP);
    EXPECT_EQ(fromCli.Temperature, c.temperature);
    EXPECT_EQ(fromDesktop.Temperature, c.temperature);

    // The setting took effect where it should and nowhere else.
    ASSERT_EQ(fromCli.ItemDP.size(), 3u);
    EXPECT_EQ(fromCli.ItemDP[2] != builtin.ItemDP[2], c.pipeChanges);
    EXPECT_EQ(fromCli.ItemDP[1] != builtin.ItemDP[1], c.fittingChanges);
    EXPECT_EQ(fromCli.ItemDP[0], builtin.ItemDP[0]); // a user item's drop is its own

    // --builtin leaves the settings aside, and nothing wrote the file.
    const TResults again = CliResults(cli, {"--builtin"});
    EXPECT_EQ(again.TotalDP, builtin.TotalDP);
    EXPECT_EQ(ReadText(cli.SettingsFile()), before);
    EXPECT_EQ(std::filesystem::exists(cli.SettingsFile()), *c.settings != '\0');
    EXPECT_THAT(cli.Run({"paths"}).Out,
                testing::HasSubstr(std::string("SettingsFile=") + cli.SettingsFile() + "\nSettingsInForce=" +
                                   (*c.settings ? "yes\n" : "no")));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CliDesktopSettings,
    testing::Values(TSettingCase{"none", "", false, false, 9},
                    TSettingCase{"roughness", "[Pipe]\nShed40Steel=0.500000\n", true, false, 9},
                    TSettingCase{"fitting", "[Fittings]\nStd Elbow 90 deg=60.00\n", false, true, 9},
                    TSettingCase{"temperature", "[Default]\nWater Temp=60\n", true, true, 60}),
    [](const testing::TestParamInfo<TSettingCase>& info) { return std::string(info.param.name); });

} // namespace

namespace {

TEST(CliFreezingMargin, ComesFromTheDesktopSettings) {
    // 30 % propylene glycol freezes at −13.1 °C: at −9 °C only a margin of
    // more than 4.1 K warns. (The sandbox has no data files, so its start-up
    // warns too: the freezing warning is looked for by its text.)
    CliSandbox cli;
    WriteText(cli.WorkFile("circuit.txt"), kCircuit);
    const auto warnsAt = [&](const char* t, bool builtin = false) {
        std::vector<std::string> args = {"calc", "--additive", "2", "--volume", "0.3", "--t", t, "circuit.txt"};
        if (builtin) args.insert(args.begin() + 1, "--builtin");
        const TCliResult r = cli.Run(args);
        EXPECT_EQ(r.Exit, 0);
        return r.Err.find("freezing point") != std::string::npos;
    };
    EXPECT_FALSE(warnsAt("-9"));
    WriteText(cli.SettingsFile(), "[Limits]\nFreezeMargin=5.0\n");
    EXPECT_TRUE(warnsAt("-9"));
    EXPECT_THAT(cli.Run({"calc", "--additive", "2", "--volume", "0.3", "--t", "-9", "circuit.txt"}).Err,
                testing::HasSubstr("plus the 5 K margin"));
    // --builtin keeps the built-in 2 K.
    EXPECT_FALSE(warnsAt("-9", true));
    // A negative margin would hide the warning: the built-in one stays.
    WriteText(cli.SettingsFile(), "[Limits]\nFreezeMargin=-20\n");
    EXPECT_FALSE(warnsAt("-9"));
    EXPECT_TRUE(warnsAt("-12"));
}

} // namespace
