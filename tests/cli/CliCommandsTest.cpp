// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli as a script sees it: help texts, both option spellings,
// standard input, the JSON document's shape, CSV read back by an independent
// CSV reader against the JSON values, warnings, every exit code and a full
// standard output.

#include "CliRunner.h"
#include "CsvRead.h"

#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/MaterialChange.h"
#include "storage/catalogue/MaterialFiles.h"
#include "storage/project/CircuitFiles.h"
#include "storage/project/ProjectFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <set>

using namespace dvx::test;
using Json = nlohmann::json;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

const char* const kCommands[] = {"calc", "catalogue", "convert", "fluid", "friction", "paths"};

// A pipe, a fitting and a user item; descriptions in UTF-8, in 8-bit
// Windows-1252 ("Chill\xe9r" is "Chillér"), and with a comma that CSV must
// quote.
const std::string kCircuit = "p, 3, 'Main riser \xce\xa9', 102, 25.0, 8.077, 'Pipe', 10.0\r\n"
                             "f, 4, 'B\xc3\xa9nds, long', 102, 25.0, 0, 'Std Elbow 90 deg', 0, 2\r\n"
                             "u, 5, 'Chill\xe9r', 102, 25.0, 50, 'User'\r\n";


class CliCommands : public testing::Test {
protected:
    CliCommands() { WriteText(cli_.WorkFile("circuit.txt"), kCircuit); }
    TCliResult Run(const std::vector<std::string>& args, const std::string& in = "") const { return cli_.Run(args, in); }
    CliSandbox cli_;
};

TEST_F(CliCommands, EveryCommandHasItsHelpThreeWays) {
    for (const char* name : kCommands) {
        SCOPED_TRACE(name);
        const TCliResult viaHelp = Run({"help", name});
        EXPECT_EQ(viaHelp.Exit, 0);
        EXPECT_EQ(viaHelp.Err, "");
        EXPECT_THAT(viaHelp.Out, StartsWith(std::string("Usage: darvenix-cli ") + name));
        for (const char* flag : {"--help", "-h"}) {
            const TCliResult direct = Run({name, flag});
            EXPECT_EQ(direct.Exit, 0);
            EXPECT_EQ(direct.Out, viaHelp.Out);
        }
        // The whole usage lists the command.
        EXPECT_THAT(Run({"--help"}).Out, HasSubstr(std::string("\n  ") + name + " "));
    }
    // Every option the calc help names is one calc accepts (none is refused
    // as unexpected).
    const std::string help = Run({"help", "calc"}).Out;
    EXPECT_THAT(help, HasSubstr("--csv"));
    EXPECT_THAT(help, HasSubstr("--strict"));
    EXPECT_EQ(Run({"help", "nosuch"}).Exit, 2);
    // The exit codes are listed once, in the whole usage.
    for (const char* code : {"  1  ", "  2  ", "  3  ", "  4  ", "  5  ", "  6  "})
        EXPECT_THAT(Run({"--help"}).Out, HasSubstr(code));
    const TCliResult version = Run({"--version"});
    EXPECT_EQ(version.Exit, 0);
    EXPECT_THAT(version.Out, StartsWith("darvenix-cli "));
}

TEST_F(CliCommands, KeyEqualsValueMeansTheSameAsKeyValue) {
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
        {{"calc", "circuit.txt", "--builtin", "--t=60", "--material=1", "--sort=number", "--json"},
         {"calc", "circuit.txt", "--builtin", "--t", "60", "--material", "1", "--sort", "number", "--json"}},
        {{"fluid", "--liquid=8", "--t=-10", "--json"}, {"fluid", "--liquid", "8", "--t", "-10", "--json"}},
        {{"friction", "--re=1e5", "--eps=0.0001", "--d=0.1"}, {"friction", "--re", "1e5", "--eps", "0.0001", "--d", "0.1"}},
    };
    for (const auto& [joined, separate] : cases) {
        const TCliResult a = Run(joined), b = Run(separate);
        EXPECT_EQ(a.Exit, 0) << a.Err;
        EXPECT_EQ(a.Out, b.Out);
        EXPECT_FALSE(a.Out.empty());
    }
    // The temperature really arrived.
    EXPECT_EQ(Json::parse(Run(cases[0].first).Out)["liquid"]["t"], 60.0);
    // A flag given a value is refused.
    const TCliResult flag = Run({"calc", "circuit.txt", "--builtin", "--json=yes"});
    EXPECT_EQ(flag.Exit, 2);
    EXPECT_THAT(flag.Err, HasSubstr("--json takes no value"));
}

TEST_F(CliCommands, StandardInputTakesTextItemsAndProjectsByTheirHeader) {
    const TCliResult fromFile = Run({"calc", "--builtin", "--json", "circuit.txt"});
    ASSERT_EQ(fromFile.Exit, 0) << fromFile.Err;
    EXPECT_EQ(Run({"calc", "--builtin", "--json", "-"}, kCircuit).Out, fromFile.Out);

    // A project on standard input, told apart by its header, not a name.
    ASSERT_EQ(Run({"convert", "circuit.txt", "project.dvx"}).Exit, 0);
    const std::string project = ReadText(cli_.WorkFile("project.dvx"));
    const TCliResult projectIn = Run({"calc", "--builtin", "--json", "-"}, project);
    EXPECT_EQ(projectIn.Exit, 0) << projectIn.Err;
    EXPECT_EQ(projectIn.Out, Run({"calc", "--builtin", "--json", "project.dvx"}).Out);

    // convert reads standard input too; the 8-bit description arrives as UTF-8.
    ASSERT_EQ(Run({"convert", "-", "again.txt"}, kCircuit).Exit, 0);
    EXPECT_THAT(ReadText(cli_.WorkFile("again.txt")), HasSubstr("'Chill\xc3\xa9r'"));

    // Nothing at all on standard input is said, and --strict fails on it.
    const TCliResult empty = Run({"calc", "--builtin", "--strict", "-"}, "");
    EXPECT_EQ(empty.Exit, 6);
    EXPECT_THAT(empty.Err, HasSubstr("warning: standard input is empty"));
    // A damaged project on standard input is unreadable input.
    const TCliResult broken = Run({"calc", "--builtin", "-"}, "TPF0\x08TCircuit");
    EXPECT_EQ(broken.Exit, 5);
    EXPECT_THAT(broken.Err, StartsWith("darvenix-cli: Error reading standard input"));
}

TEST_F(CliCommands, JsonDocumentHasItsDocumentedShape) {
    const TCliResult r = Run({"calc", "--builtin", "--json", "circuit.txt"});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    const Json doc = Json::parse(r.Out); // throws on invalid UTF-8 or syntax
    std::vector<std::string> keys;
    for (const auto& [key, value] : doc.items()) keys.push_back(key);
    // nlohmann::json sorts members; the document's order is checked on the text.
    EXPECT_THAT(r.Out, testing::MatchesRegex(
                           "\\{\"version\":1,\"units\":\\{.*\\},\"liquid\":\\{.*\\},\"material\":\\{.*\\},"
                           "\"items\":\\[.*\\],\"totals\":\\{.*\\},\"warnings\":\\[\\]\\}\n"));
    EXPECT_EQ(keys.size(), 7u);
    for (const char* key : {"caption", "t", "ro", "mu", "rangeStatus", "validTMin", "validTMax"})
        EXPECT_TRUE(doc["liquid"].contains(key)) << key;
    EXPECT_EQ(doc["liquid"]["caption"], "Clean Water");
    EXPECT_EQ(doc["material"]["name"], "Schedule 40 steel");
    EXPECT_EQ(doc["material"]["roughness"], 4.6e-05);
    EXPECT_EQ(doc["units"]["flow"], "m3/s");
    EXPECT_EQ(doc["units"]["pressureDrop"], "Pa");

    const Json& items = doc["items"];
    ASSERT_EQ(items.size(), 3u);
    std::set<std::string> fieldNames;
    for (const auto& [key, value] : items[0].items()) fieldNames.insert(key);
    const std::set<std::string> dimensionless = {"quantity", "coefficient", "reynolds", "friction", "resistanceK"};
    for (const Json& item : items) {
        std::set<std::string> names;
        for (const auto& [key, value] : item.items()) {
            names.insert(key);
            // A measured number always has its unit named once in "units".
            if (value.is_number_float() && !dimensionless.count(key)) {
                EXPECT_TRUE(doc["units"].contains(key)) << key;
            }
        }
        EXPECT_EQ(names, fieldNames);
    }
    // Items arrive in the reverse of the file's order, as the import does.
    EXPECT_EQ(items[0]["description"], "Chill\xc3\xa9r"); // decoded from 8-bit
    EXPECT_EQ(items[1]["description"], "B\xc3\xa9nds, long");
    EXPECT_EQ(items[2]["description"], "Main riser \xce\xa9");
    EXPECT_EQ(items[0]["kind"], "user");
    EXPECT_TRUE(items[0]["velocity"].is_null());
    EXPECT_EQ(items[2]["warning"], 0);
    EXPECT_EQ(items[2]["warningText"], "Flow OK");
    EXPECT_NEAR(doc["totals"]["totalDP"].get<double>(), 62476.2, 0.05);

    // The other commands' documents share the frame.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"fluid", "--liquid", "0", "--t", "20", "--json"},
          {"fluid", "--list", "--json"}, {"catalogue", "--builtin", "--json"},
          {"friction", "--re", "1e5", "--eps", "0", "--d", "0.1", "--json"}}) {
        const TCliResult other = Run(args);
        ASSERT_EQ(other.Exit, 0) << other.Err;
        const Json d = Json::parse(other.Out);
        EXPECT_EQ(d["version"], 1) << args[0];
        EXPECT_TRUE(d["units"].is_object()) << args[0];
        EXPECT_TRUE(d["warnings"].is_array()) << args[0];
    }
}

TEST_F(CliCommands, CsvReadBackEqualsTheJsonValues) {
    // The text items plus one with double quotes and blanks at its ends, which
    // only a project file can carry.
    {
        dvx::TProjectState project;
        dvx::TLoadedCircuit loaded = dvx::LoadCircuitFile(cli_.WorkFile("circuit.txt"), project.Context());
        auto pipe = std::make_unique<dvx::TPipe>(project.Context());
        pipe->Description = " say \"hi\", twice ";
        pipe->SetBore(project.Context(), 11);
        pipe->Flow = 0.01;
        pipe->Length = 4;
        loaded.Circuit->Append(std::move(pipe));
        dvx::WriteProject(cli_.WorkFile("quoted.dvx"), *loaded.Circuit, project.Liquid, project.Tables);
    }
    const TCliResult json = Run({"calc", "--builtin", "--json", "quoted.dvx"});
    const TCliResult csv = Run({"calc", "--builtin", "--csv", "quoted.dvx"});
    ASSERT_EQ(csv.Exit, 0) << csv.Err;
    EXPECT_NE(csv.Out.find("\r\n"), std::string::npos);
    const Json doc = Json::parse(json.Out);
    const auto rows = ParseCsv(csv.Out);
    ASSERT_EQ(rows.size(), 1 + 4 + 1u); // header, items, totals

    // Header: "name [unit]" with the unit the JSON document names.
    std::vector<std::string> names;
    for (const std::string& cell : rows[0]) {
        const std::size_t bracket = cell.find(" [");
        const std::string name = cell.substr(0, bracket);
        names.push_back(name);
        if (bracket != std::string::npos)
            EXPECT_EQ(cell.substr(bracket + 2, cell.size() - bracket - 3), doc["units"][name].get<std::string>());
        else
            EXPECT_FALSE(doc["units"].contains(name)) << name << " has a unit in JSON but none in CSV";
    }
    EXPECT_EQ(doc["items"][3]["description"], " say \"hi\", twice ");
    for (std::size_t i = 0; i < 4; ++i) {
        const Json& item = doc["items"][i];
        const auto& row = rows[1 + i];
        ASSERT_EQ(row.size(), names.size());
        EXPECT_EQ(row[0], "item");
        for (const auto& [key, value] : item.items()) {
            const auto col = std::find(names.begin(), names.end(), key) - names.begin();
            ASSERT_LT(static_cast<std::size_t>(col), names.size()) << key << " is not a CSV column";
            const std::string& cell = row[static_cast<std::size_t>(col)];
            SCOPED_TRACE(key);
            if (value.is_null()) {
                EXPECT_EQ(cell, "");
            } else if (value.is_string()) {
                EXPECT_EQ(cell, value.get<std::string>());
            } else if (value.is_boolean()) {
                EXPECT_EQ(cell, value.get<bool>() ? "true" : "false");
            } else {
                EXPECT_EQ(std::stod(cell), value.get<double>()); // exact: both round-trip
            }
        }
    }
    const auto& total = rows[5];
    EXPECT_EQ(total[0], "total");
    const auto col = [&](const char* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
    EXPECT_EQ(std::stod(total[static_cast<std::size_t>(col("totalDP"))]), doc["totals"]["totalDP"].get<double>());
    EXPECT_EQ(std::stod(total[static_cast<std::size_t>(col("totalVolume"))]),
              doc["totals"]["totalVolume"].get<double>());
    EXPECT_EQ(total[static_cast<std::size_t>(col("liquid"))], "Clean Water");
    EXPECT_EQ(total[static_cast<std::size_t>(col("rangeStatus"))], "0");

    // convert IN OUT.csv writes the same table.
    ASSERT_EQ(Run({"convert", "--builtin", "quoted.dvx", "table.csv"}).Exit, 0);
    EXPECT_EQ(ReadText(cli_.WorkFile("table.csv")), csv.Out);
}

TEST_F(CliCommands, TemperatureOutsideTheRangeWarnsAndStrictFails) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"calc", "--builtin", "--t", "500", "--json", "circuit.txt"},
         "500 °C is outside the valid range of Clean Water (0 to 300 °C)"},
        {{"calc", "--builtin", "--t", "-80", "--csv", "circuit.txt"},
         "-80 °C is outside the valid range of Clean Water (0 to 300 °C)"},
        {{"fluid", "--liquid", "0", "--t", "400", "--json"},
         "400 °C is outside the valid range of Clean Water (0 to 300 °C)"},
        {{"fluid", "--liquid", "13", "--t", "20"}, "20 °C is outside the valid range of Compressed Air (5.0-bar) (50 to 400 °C)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.message);
        const TCliResult lenient = Run(c.args);
        EXPECT_EQ(lenient.Exit, 0);
        EXPECT_THAT(lenient.Err, HasSubstr("warning: " + c.message));
        std::vector<std::string> strict = c.args;
        strict.push_back("--strict");
        const TCliResult r = Run(strict);
        EXPECT_EQ(r.Exit, 6);
        EXPECT_EQ(r.Out, lenient.Out); // the results are still printed
    }
    const Json doc = Json::parse(Run(cases[0].args).Out);
    EXPECT_EQ(doc["liquid"]["rangeStatus"], 1);
    ASSERT_EQ(doc["warnings"].size(), 1u);
    EXPECT_EQ(doc["warnings"][0]["code"], "temperatureOutOfRange");
    EXPECT_EQ(doc["warnings"][0]["message"], cases[0].message);
    const auto rows = ParseCsv(Run(cases[1].args).Out);
    const auto col = std::find(rows[0].begin(), rows[0].end(), "rangeStatus") - rows[0].begin();
    EXPECT_EQ(rows.back()[static_cast<std::size_t>(col)], "1");
    // Inside the range: no warning, and --strict passes.
    const TCliResult inside = Run({"calc", "--builtin", "--t", "20", "--strict", "circuit.txt"});
    EXPECT_EQ(inside.Exit, 0);
    EXPECT_EQ(inside.Err, "");
}

TEST_F(CliCommands, MixtureNearItsFreezingPointWarnsAndStrictFails) {
    // 10 % ethylene glycol by volume freezes at −3.7 °C; 27.7 % at −14.1 °C.
    struct Case {
        std::vector<std::string> args;
        std::string message; // empty: no warning
    };
    const std::vector<Case> cases = {
        {{"fluid", "--liquid", "0", "--additive", "1", "--volume", "0.1", "--t", "-20", "--json"},
         "-20.0 °C is at or below the freezing point of Water (10% Ethylene Glycol) (-3.7 °C) plus the 2 K margin"},
        {{"calc", "--builtin", "--additive", "1", "--volume", "0.1", "--t", "-20", "--json", "circuit.txt"},
         "-20.0 °C is at or below the freezing point of Water (10% Ethylene Glycol) (-3.7 °C) plus the 2 K margin"},
        // The margin's edge: −14.1 + 2 warns, a tenth above does not.
        {{"fluid", "--liquid", "0", "--additive", "1", "--volume", "0.277", "--t", "-12.1"},
         "-12.1 °C is at or below the freezing point of Water (28% Ethylene Glycol) (-14.1 °C) plus the 2 K margin"},
        {{"fluid", "--liquid", "0", "--additive", "1", "--volume", "0.277", "--t", "-12"}, ""},
        // Weaker than the calcium chloride table reaches: a bound, not a point.
        {{"fluid", "--liquid", "0", "--additive", "3", "--volume", "0.02", "--t", "-10"},
         "-10.0 °C is at or below the freezing point of Water (2% Calcium Chloride) (unknown, not below -5.0 °C) "
         "plus the 2 K margin"},
        {{"calc", "--builtin", "--additive", "2", "--volume", "0.3", "--t", "5", "circuit.txt"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[c.args.size() - 2]);
        const TCliResult lenient = Run(c.args);
        EXPECT_EQ(lenient.Exit, 0);
        std::vector<std::string> strict = c.args;
        strict.push_back("--strict");
        const TCliResult r = Run(strict);
        if (c.message.empty()) {
            EXPECT_EQ(lenient.Err, "");
            EXPECT_EQ(r.Exit, 0);
        } else {
            EXPECT_THAT(lenient.Err, HasSubstr("warning: " + c.message + "\n"));
            EXPECT_EQ(r.Exit, 6);
            EXPECT_EQ(r.Out, lenient.Out);
        }
    }
    // The JSON names the freezing point in the liquid and in the warning.
    const Json fluid = Json::parse(Run(cases[0].args).Out);
    EXPECT_NEAR(fluid["liquid"]["freezingPoint"].get<double>(), -3.7149, 1e-4);
    EXPECT_EQ(fluid["units"]["freezingPoint"], "degC");
    ASSERT_EQ(fluid["warnings"].size(), 1u);
    EXPECT_EQ(fluid["warnings"][0]["code"], "freezingRisk");
    EXPECT_EQ(fluid["warnings"][0]["freezingPoint"], fluid["liquid"]["freezingPoint"]);
    const Json calc = Json::parse(Run(cases[1].args).Out);
    ASSERT_EQ(calc["warnings"].size(), 1u);
    EXPECT_EQ(calc["warnings"][0]["code"], "freezingRisk");
    // Null where no table point applies: water, and a mixture beyond its table.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"fluid", "--liquid", "0", "--t", "5", "--json"},
          {"fluid", "--liquid", "0", "--additive", "3", "--volume", "0.25", "--t", "-20", "--json"}}) {
        const Json doc = Json::parse(Run(args).Out);
        EXPECT_TRUE(doc["liquid"]["freezingPoint"].is_null());
        EXPECT_TRUE(doc["warnings"].empty());
    }
}

// The sandbox's data folder with the shipped catalogue files.
void StageShippedData(const CliSandbox& cli) {
    const std::filesystem::path folder = cli.DataHome() + "/Quellstrand/Common Files";
    std::filesystem::create_directories(folder);
    for (const auto& entry : std::filesystem::directory_iterator(std::string(DARVENIX_SOURCE_DIR) + "/data"))
        if (entry.path().extension() == ".ini" || entry.path().extension() == ".rdf")
            std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
}

TEST_F(CliCommands, MaterialWithItsOwnBoresByNameOrCode) {
    StageShippedData(cli_);
    // A 25 mm steel pipe (ID 26.64 mm) moves to 1" Type L copper (26.035 mm).
    WriteText(cli_.WorkFile("copper.txt"), "p, 1, 'Copper', 25, 0.5, 0, 'Pipe', 10.0\r\n");
    const TCliResult byName = Run({"calc", "--material", "Copper Type L", "--json", "copper.txt"});
    ASSERT_EQ(byName.Exit, 0) << byName.Err;
    const Json doc = Json::parse(byName.Out);
    EXPECT_EQ(doc["material"]["name"], "Copper Type L");
    EXPECT_EQ(doc["material"]["roughness"], 1.5e-6);
    const Json& item = doc["items"][0];
    EXPECT_EQ(item["bore"], "1\"");
    EXPECT_EQ(item["insideDiameter"], 0.026035);
    // Darcy–Weisbach with Colebrook, computed independently (python3-fluids).
    EXPECT_NEAR(item["pressureDrop"].get<double>(), 4498.117948944481, 4.5);
    // By code, and in any letter case, the same document.
    const int code = doc["material"]["code"];
    EXPECT_GE(code, 3);
    EXPECT_EQ(Run({"calc", "--material", std::to_string(code), "--json", "copper.txt"}).Out, byName.Out);
    EXPECT_EQ(Run({"calc", "--material=copper type l", "--json", "copper.txt"}).Out, byName.Out);
    // Resize All in the material's own bores: 0.3 l/s fits ¾" Type L copper
    // (0.38 l/s at most); Reset All Flows then gives it those 0.38 l/s.
    WriteText(cli_.WorkFile("small.txt"), "p, 1, 'Copper', 25, 0.3, 0, 'Pipe', 10.0\r\n");
    const Json resized = Json::parse(
        Run({"calc", "--material", "Copper Type L", "--resize-all", "--reset-flows", "--json", "small.txt"}).Out);
    EXPECT_EQ(resized["items"][0]["bore"], "\u00be\"");
    EXPECT_EQ(resized["items"][0]["insideDiameter"], 0.019939);
    EXPECT_DOUBLE_EQ(resized["items"][0]["flow"].get<double>(), 0.38e-3);
    // The text table and the CSV name the material and its bore.
    const TCliResult table = Run({"calc", "--material", "Copper Type L", "copper.txt"});
    EXPECT_THAT(table.Out, HasSubstr("Material: Copper Type L"));
    EXPECT_THAT(table.Out, HasSubstr("1\"  "));
    const auto rows = ParseCsv(Run({"calc", "--material", "Copper Type L", "--csv", "copper.txt"}).Out);
    const auto bore = std::find(rows[0].begin(), rows[0].end(), "bore [mm]") - rows[0].begin();
    ASSERT_LT(bore, static_cast<std::ptrdiff_t>(rows[1].size()));
    EXPECT_EQ(rows[1][static_cast<std::size_t>(bore)], "1\"");
    // A name no file gives, and a code beyond the list, are bad arguments.
    const TCliResult unknown = Run({"calc", "--material", "Unobtainium", "copper.txt"});
    EXPECT_EQ(unknown.Exit, 2);
    EXPECT_THAT(unknown.Err, HasSubstr("no material 'Unobtainium'"));
    EXPECT_EQ(Run({"calc", "--material", "99", "copper.txt"}).Exit, 2);
    EXPECT_EQ(Run({"calc", "--material", "-1", "copper.txt"}).Exit, 2);
    // --builtin reads no file: only the three built-in materials are there.
    EXPECT_EQ(Run({"calc", "--builtin", "--material", "Copper Type L", "copper.txt"}).Exit, 2);
    EXPECT_EQ(Run({"calc", "--builtin", "--material", "Galvanised iron", "copper.txt"}).Exit, 0);
}

TEST_F(CliCommands, AProjectInAMaterialOfItsOwnKeepsItWithOrWithoutTheCatalogue) {
    StageShippedData(cli_);
    // A project saved in 1" Type L copper, as the desktop program saves it.
    std::string saved;
    {
        dvx::TProjectState project;
        project.Tables.Materials =
            dvx::LoadMaterialFiles(cli_.DataHome() + "/Quellstrand/Common Files/").Materials;
        const std::optional<int> code = dvx::MaterialCodeOf(project.Tables, "Copper Type L");
        ASSERT_TRUE(code);
        WriteText(cli_.WorkFile("copper.txt"), "p, 1, 'Copper', 25, 0.5, 0, 'Pipe', 10.0\r\n");
        dvx::TLoadedCircuit loaded = dvx::LoadCircuitFile(cli_.WorkFile("copper.txt"), project.Context());
        ASSERT_TRUE(dvx::ChangeCircuitMaterial(project.Context(), *loaded.Circuit, *code));
        dvx::WriteProject(cli_.WorkFile("copper.dvx"), *loaded.Circuit, project.Liquid, project.Tables);
        saved = ReadText(cli_.WorkFile("copper.dvx"));
    }
    const TCliResult withFiles = Run({"calc", "--json", "copper.dvx"});
    ASSERT_EQ(withFiles.Exit, 0) << withFiles.Err;
    const Json doc = Json::parse(withFiles.Out);
    EXPECT_EQ(doc["material"]["name"], "Copper Type L");
    EXPECT_EQ(doc["items"][0]["bore"], "1\"");
    EXPECT_EQ(doc["items"][0]["insideDiameter"], 0.026035);
    EXPECT_TRUE(doc["warnings"].empty());

    // Without the catalogue files: the project's own copy, the same result,
    // and a warning that says what the project keeps.
    const TCliResult without = Run({"calc", "--builtin", "--json", "copper.dvx"});
    ASSERT_EQ(without.Exit, 0) << without.Err;
    const Json kept = Json::parse(without.Out);
    EXPECT_EQ(kept["material"]["name"], "Copper Type L");
    EXPECT_EQ(kept["material"]["roughness"], 1.5e-6);
    EXPECT_EQ(kept["items"][0]["bore"], "1\"");
    EXPECT_EQ(kept["items"][0]["pressureDrop"], doc["items"][0]["pressureDrop"]);
    ASSERT_EQ(kept["warnings"].size(), 1u);
    EXPECT_EQ(kept["warnings"][0]["code"], "missingMaterial");
    EXPECT_THAT(kept["warnings"][0]["message"].get<std::string>(), HasSubstr("keeps the inside diameters"));
    EXPECT_THAT(without.Err, HasSubstr("\"Copper Type L\" of this project is not in this computer's catalogues"));
    EXPECT_EQ(Run({"calc", "--builtin", "--strict", "copper.dvx"}).Exit, 6);

    // Converted to another project file, nothing is lost; text lines carry
    // the inside diameter in mm.
    ASSERT_EQ(Run({"convert", "copper.dvx", "again.dvx"}).Exit, 0);
    EXPECT_EQ(ReadText(cli_.WorkFile("again.dvx")), saved);
    ASSERT_EQ(Run({"convert", "copper.dvx", "again.txt"}).Exit, 0);
    EXPECT_THAT(ReadText(cli_.WorkFile("again.txt")), HasSubstr("'Copper', 26,"));

    // Another material over the project's moves it to that material's bores.
    const Json steel = Json::parse(Run({"calc", "--material", "0", "--json", "copper.dvx"}).Out);
    EXPECT_EQ(steel["material"]["code"], 0);
    EXPECT_EQ(steel["items"][0]["bore"], "25");
    EXPECT_EQ(steel["items"][0]["insideDiameter"], 0.02664);
}

TEST_F(CliCommands, CatalogueListsEveryMaterialWithItsBores) {
    StageShippedData(cli_);
    const TCliResult r = Run({"catalogue", "--json"});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    const Json doc = Json::parse(r.Out);
    const Json& materials = doc["materials"];
    ASSERT_EQ(materials.size(), 10u);
    EXPECT_EQ(materials[0]["name"], "Schedule 40 steel");
    EXPECT_EQ(materials[1]["roughness"], 0.00015);
    // The built-in three share the bore table.
    EXPECT_EQ(materials[2]["bores"], doc["bores"]);
    for (const Json& m : materials) {
        SCOPED_TRACE(m["name"].get<std::string>());
        ASSERT_FALSE(m["bores"].empty());
        for (const Json& b : m["bores"]) {
            for (const char* key : {"name", "ID", "ff", "mf"}) EXPECT_TRUE(b.contains(key)) << key;
            EXPECT_GT(b["ID"].get<double>(), 0);
        }
    }
    const Json& copper = materials[4];
    EXPECT_EQ(copper["name"], "Copper Type L");
    EXPECT_EQ(copper["bores"].back()["name"], "\u00bc\"");
    EXPECT_EQ(copper["bores"].back()["ID"], 0.008001);
}

TEST_F(CliCommands, InputWithoutItemsIsAWarning) {
    WriteText(cli_.WorkFile("comments.txt"), "# only a comment\r\nx, not an item\r\n");
    WriteText(cli_.WorkFile("empty.txt"), "");
    const TCliResult r = Run({"calc", "--builtin", "--json", "comments.txt"});
    EXPECT_EQ(r.Exit, 0);
    EXPECT_THAT(r.Err, HasSubstr("warning: comments.txt holds no item line"));
    EXPECT_EQ(Json::parse(r.Out)["warnings"][0]["code"], "noItems");
    EXPECT_EQ(Run({"calc", "--builtin", "--strict", "comments.txt"}).Exit, 6);
    EXPECT_EQ(Run({"convert", "--allow-empty", "--strict", "comments.txt", "out.dvx"}).Exit, 6);
    // An empty file is no result either: warned like the file without items.
    const TCliResult empty = Run({"calc", "--builtin", "--json", "empty.txt"});
    EXPECT_EQ(empty.Exit, 0);
    EXPECT_THAT(empty.Err, HasSubstr("warning: empty.txt is empty"));
    EXPECT_EQ(Json::parse(empty.Out)["warnings"][0]["code"], "noItems");
    EXPECT_EQ(Run({"calc", "--builtin", "--strict", "empty.txt"}).Exit, 6);
}

TEST_F(CliCommands, EveryExitCode) {
    WriteText(cli_.WorkFile("zero_flow.txt"), "p, 1, 'still', 102, 0, 0, 'Pipe', 10.0\r\n");
    WriteText(cli_.WorkFile("flood.txt"), "p, 1, 'flood', 102, 1e200, 0, 'Pipe', 10.0\r\n");
    WriteText(cli_.WorkFile("circuit.csv"), kCircuit);
    WriteText(cli_.WorkFile("broken.dvx"), "TPF0");
    std::filesystem::create_directories(cli_.WorkFile("folder.txt"));
    struct Case {
        std::vector<std::string> args;
        int exit;
        std::string err; // a part of stderr
    };
    const std::vector<Case> cases = {
        {{"calc", "--builtin", "circuit.txt"}, 0, ""},
        {{"convert", "circuit.txt", "missing/out.dvx"}, 1, "Error writing missing/out.dvx"},
        {{"convert", "--builtin", "circuit.txt", "missing/out.csv"}, 1, "Error writing missing/out.csv"},
        {{"convert", "circuit.txt", "out.doc"}, 2, "the output must end in .dvx, .txt or .csv"},
        {{"calc", "--builtin", "circuit.txt", "--material", "3"}, 2, "Try 'darvenix-cli calc --help'."},
        {{"calc"}, 2, "Try 'darvenix-cli calc --help'."},
        {{"fluid", "--liquid", "14", "--t", "20"}, 2, "Try 'darvenix-cli fluid --help'."},
        {{"convert", "circuit.txt", "out.dvx", "--t", "20"}, 2, "apply only to a .csv output"},
        {{"nosuch"}, 2, "unknown command"},
        {{"calc", "--builtin", "zero_flow.txt"}, 3, "Data may not be zero: item 1 (number 1), the flow"},
        {{"convert", "--builtin", "zero_flow.txt", "z.csv"}, 3, "Data may not be zero"},
        {{"calc", "--builtin", "flood.txt"}, 4, "Pressure drop error."},
        {{"fluid", "--liquid", "12", "--t", "-50"}, 4, "cannot be evaluated at -50"},
        {{"calc", "--builtin", "--liquid", "12", "--t", "-50", "circuit.txt"}, 4, "cannot be evaluated at -50"},
        {{"calc", "--builtin", "no_such.txt"}, 5, "Error reading no_such.txt"},
        {{"calc", "--builtin", "folder.txt"}, 5, "Error reading folder.txt"},
        {{"calc", "--builtin", "circuit.csv"}, 5, "File extension must be \"dvx\"."},
        {{"calc", "--builtin", "broken.dvx"}, 5, "Error reading broken.dvx"},
        {{"convert", "no_such.txt", "out.dvx"}, 5, "Error reading no_such.txt"},
        {{"convert", "broken.dvx", "out.txt"}, 5, "Error reading broken.dvx"},
        {{"convert", "circuit.csv", "out.dvx"}, 5, "File extension must be \"dvx\"."},
        {{"calc", "--builtin", "--strict", "--t", "500", "circuit.txt"}, 6, "outside the valid range"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& a : c.args) line += a + " ";
        SCOPED_TRACE(line);
        const TCliResult r = Run(c.args);
        EXPECT_EQ(r.Exit, c.exit) << r.Err;
        EXPECT_THAT(r.Err, HasSubstr(c.err));
    }
    EXPECT_FALSE(std::filesystem::exists(cli_.WorkFile("out.doc")));
    EXPECT_FALSE(std::filesystem::exists(cli_.WorkFile("z.csv")));
}

TEST_F(CliCommands, AFullStandardOutputIsExitOne) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"calc", "--builtin", "circuit.txt"},
          {"calc", "--builtin", "--json", "circuit.txt"},
          {"calc", "--builtin", "--csv", "circuit.txt"},
          {"fluid", "--list"}, {"paths"}, {"help", "calc"}, {"--help"}}) {
        SCOPED_TRACE(args[0]);
        const TCliResult r = cli_.Run(args, "", "/dev/full");
        EXPECT_EQ(r.Exit, 1);
        EXPECT_THAT(r.Err, HasSubstr("error writing standard output"));
    }
}

TEST_F(CliCommands, TextTableNamesItsSettingAndAlignsByDisplayWidth) {
    const TCliResult r = Run({"calc", "--builtin", "--t", "20", "--material", "2", "circuit.txt"});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    EXPECT_THAT(r.Out, StartsWith("Liquid: Clean Water at 20.0 °C (valid 0 to 300 °C)\n"
                                  "Material: Drawn tubing (roughness 0.0015 mm)\n"));
    // The type column starts at the same character position in every item
    // row, whatever the description's bytes.
    std::istringstream lines(r.Out);
    std::string line;
    std::set<std::size_t> typeColumns;
    for (const char* type : {"User", "Std Elbow 90 deg", "Pipe"}) {
        lines.clear();
        lines.seekg(0);
        while (std::getline(lines, line)) {
            const std::size_t at = line.find(std::string("  ") + type + "  ");
            if (at == std::string::npos || line.rfind("#", 0) == 0) continue;
            std::size_t characters = 0;
            for (std::size_t i = 0; i < at; ++i)
                if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++characters;
            typeColumns.insert(characters);
            break;
        }
    }
    EXPECT_EQ(typeColumns.size(), 1u) << r.Out;
    EXPECT_THAT(r.Out, HasSubstr("Chill\xc3\xa9r"));

    // CJK characters take two terminal columns each: "配管" lines up with
    // "abcd", not with "ab".
    const TCliResult wide = Run({"calc", "--builtin", "-"},
                                "u, 1, '\xe9\x85\x8d\xe7\xae\xa1', 102, 25.0, 5, 'User'\r\n"
                                "u, 2, 'abcd', 102, 25.0, 5, 'User'\r\n");
    ASSERT_EQ(wide.Exit, 0) << wide.Err;
    std::istringstream wideLines(wide.Out);
    std::vector<std::size_t> userColumns;
    while (std::getline(wideLines, line)) {
        const std::size_t at = line.find("  User");
        if (at == std::string::npos) continue;
        std::size_t columns = 0;
        for (std::size_t i = 0; i < at; ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            if ((c & 0xC0) != 0x80) columns += c >= 0xE0 ? 2 : 1; // the two CJK characters are 3-byte
        }
        userColumns.push_back(columns);
    }
    ASSERT_EQ(userColumns.size(), 2u) << wide.Out;
    EXPECT_EQ(userColumns[0], userColumns[1]) << wide.Out;
}

TEST_F(CliCommands, FluidListNamesEveryCode) {
    const Json doc = Json::parse(Run({"fluid", "--list", "--json"}).Out);
    ASSERT_EQ(doc["liquids"].size(), 14u);
    ASSERT_EQ(doc["additives"].size(), 4u);
    EXPECT_EQ(doc["liquids"][13]["name"], "Compressed Air");
    EXPECT_EQ(doc["liquids"][13]["validTMin"], 50.0);
    EXPECT_EQ(doc["liquids"][3]["validTMax"], 50.0);
    EXPECT_EQ(doc["additives"][2]["name"], "Propylene Glycol");
    EXPECT_EQ(doc["additives"][2]["validTMin"], -30.0);
    // Each listed range is the one the evaluation reports.
    for (int code : {0, 5, 9, 13}) {
        const Json liquid =
            Json::parse(Run({"fluid", "--liquid", std::to_string(code), "--t", "20", "--json"}).Out)["liquid"];
        EXPECT_EQ(liquid["validTMin"], doc["liquids"][static_cast<std::size_t>(code)]["validTMin"]);
        EXPECT_EQ(liquid["validTMax"], doc["liquids"][static_cast<std::size_t>(code)]["validTMax"]);
    }
    EXPECT_EQ(Run({"fluid", "--list", "--t", "20"}).Exit, 2);
}

} // namespace
