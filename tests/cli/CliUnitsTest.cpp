// SPDX-License-Identifier: GPL-3.0-or-later
// "calc --units si|us": the text table and the CSV in the chosen units, the
// JSON document always SI, and the SI choice byte for byte what the command
// writes without the option.

#include "CliRunner.h"
#include "CsvRead.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <map>

using namespace dvx::test;
using Json = nlohmann::json;
using testing::HasSubstr;

namespace {

// A 15 mm pipe, a 15 mm elbow pair and a user item, 2 l/s each.
const std::string kCircuit = "p, 1, 'Riser', 16, 2.0, 0, 'Pipe', 25.0\r\n"
                             "f, 2, 'Bends', 16, 2.0, 0, 'Std Elbow 90 deg', 0, 2\r\n"
                             "u, 3, 'Coil', 16, 2.0, 30, 'User'\r\n";

// Header cell → the cell of the row of item number 1 (the pipe).
std::map<std::string, std::string> PipeRow(const std::string& text) {
    const std::vector<std::vector<std::string>> rows = ParseCsv(text);
    std::map<std::string, std::string> row;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        if (rows[r].size() < 2 || rows[r][1] != "1") continue;
        for (std::size_t c = 0; c < rows[0].size() && c < rows[r].size(); ++c) row[rows[0][c]] = rows[r][c];
        return row;
    }
    ADD_FAILURE() << "no row of item 1:\n" << text;
    return row;
}

double Number(const std::map<std::string, std::string>& row, const std::string& column) {
    auto it = row.find(column);
    if (it == row.end()) {
        ADD_FAILURE() << "no column " << column;
        return NAN;
    }
    return std::stod(it->second);
}

class CliUnits : public testing::Test {
protected:
    CliUnits() { WriteText(cli_.WorkFile("circuit.txt"), kCircuit); }
    TCliResult Run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"calc", "--builtin"});
        args.push_back("circuit.txt");
        return cli_.Run(args);
    }
    CliSandbox cli_;
};

TEST_F(CliUnits, SiIsWhatTheCommandAlwaysWroteAndJsonNeverChanges) {
    for (const std::vector<std::string>& form :
         {std::vector<std::string>{}, {"--csv"}, {"--json"}, {"--quiet"}}) {
        const TCliResult plain = Run(form);
        ASSERT_EQ(plain.Exit, 0) << plain.Err;
        std::vector<std::string> si = form, siJoined = form;
        si.insert(si.end(), {"--units", "si"});
        siJoined.push_back("--units=si");
        EXPECT_EQ(Run(si).Out, plain.Out);
        EXPECT_EQ(Run(siJoined).Out, plain.Out);
    }
    const TCliResult json = Run({"--json"});
    EXPECT_EQ(Run({"--json", "--units", "us"}).Out, json.Out);
    EXPECT_EQ(Json::parse(json.Out)["units"]["flow"], "m3/s");
}

TEST_F(CliUnits, UsCsvHoldsTheSameValuesInUsUnitsAtFullPrecision) {
    const auto si = PipeRow(Run({"--csv"}).Out);
    const TCliResult us = Run({"--csv", "--units", "us"});
    ASSERT_EQ(us.Exit, 0) << us.Err;
    const auto row = PipeRow(us.Out);
    const double foot = 0.3048, gallon = 3.785411784e-3, psi = 6894.757293168;
    // Each US column against the SI column and the exact definitions.
    const struct {
        const char* Us;
        const char* Si;
        double PerSi;
    } columns[] = {
        {"flow [gpm]", "flow [m3/s]", 60 / gallon},
        {"pressureDrop [psi]", "pressureDrop [Pa]", 1 / psi},
        {"velocity [ft/s]", "velocity [m/s]", 1 / foot},
        {"length [ft]", "length [m]", 1 / foot},
        {"volume [USgal]", "volume [m3]", 1 / gallon},
        {"insideDiameter [ft]", "insideDiameter [m]", 1 / foot},
    };
    for (const auto& c : columns) {
        SCOPED_TRACE(c.Us);
        const double expected = Number(si, c.Si) * c.PerSi;
        EXPECT_NEAR(Number(row, c.Us), expected, std::abs(expected) * 1e-14);
    }
    EXPECT_NEAR(Number(row, "t [degF]"), Number(si, "t [degC]") * 1.8 + 32, 1e-12);
    EXPECT_EQ(Number(row, "bore [in]"), 0.5); // the 15 mm bore
    // ft of head per 100 ft: the gradient over the liquid's weight per volume.
    const double ro = Json::parse(Run({"--json"}).Out)["liquid"]["ro"];
    EXPECT_NEAR(Number(row, "gradient [ft/100ft]"), Number(si, "gradient [Pa/m]") / (ro * 9.80665) * 100, 1e-12);
    // Counts and codes are not units.
    EXPECT_EQ(row.at("reynolds"), si.at("reynolds"));
}

TEST_F(CliUnits, UsTextTableNamesItsUnits) {
    const TCliResult us = Run({"--units", "us"});
    ASSERT_EQ(us.Exit, 0) << us.Err;
    for (const char* text : {"Bore in", "Q gpm", "v ft/s", "dP psi", "ft/100 ft", "Vol US gal", "½\"", "31.70",
                             "Index circuit dP: ", " psi\n", "Total volume: ", " US gal\n", " °F (valid 32 to "})
        EXPECT_THAT(us.Out, HasSubstr(text));
    // 2 l/s is 31.70 gpm; the user item's 30 kPa is 4.35113 psi.
    EXPECT_THAT(us.Out, HasSubstr("4.35113"));
    const TCliResult quiet = Run({"--quiet", "--units", "us"});
    EXPECT_THAT(quiet.Out, testing::StartsWith("Index circuit dP: "));
    EXPECT_THAT(quiet.Out, HasSubstr(" psi\nTotal volume: "));
}

TEST_F(CliUnits, UnknownUnitsAreABadArgument) {
    for (const char* value : {"metric", "US", ""}) {
        const TCliResult r = Run({"--units", value});
        EXPECT_EQ(r.Exit, 2) << value;
        EXPECT_THAT(r.Err, HasSubstr("--units")) << value;
    }
    EXPECT_THAT(cli_.Run({"help", "calc"}).Out, HasSubstr("--units si|us"));
}

TEST_F(CliUnits, ConvertToCsvTakesTheUnitsAndOtherOutputsRefuseThem) {
    ASSERT_EQ(cli_.Run({"convert", "--builtin", "--units", "us", "circuit.txt", "us.csv"}).Exit, 0);
    EXPECT_EQ(ReadText(cli_.WorkFile("us.csv")), Run({"--csv", "--units", "us"}).Out);
    const TCliResult refused = cli_.Run({"convert", "--units", "us", "circuit.txt", "out.dvx"});
    EXPECT_EQ(refused.Exit, 2);
    EXPECT_THAT(refused.Err, HasSubstr("--units applies only to a .csv output"));
    EXPECT_FALSE(std::filesystem::exists(cli_.WorkFile("out.dvx")));
}

} // namespace
