// SPDX-License-Identifier: GPL-3.0-or-later
// The pump selection and the fitting method on the command line: answers
// that must agree with each other whatever the numbers (the duty with one
// pump fewer is the duty of that many pumps; the speed for the design point
// puts the duty on it; a method stored by convert is the one calc uses),
// and every bad value refused with exit 2.

#include "CliRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace dvx {
namespace {

using test::CliSandbox;
using test::TCliResult;
using Json = nlohmann::json;

std::string Example(const char* name) { return std::string(DARVENIX_SOURCE_DIR) + "/examples/" + name; }

const CliSandbox& Sandbox() {
    static const CliSandbox sandbox;
    return sandbox;
}

TCliResult Cli(const std::string& arguments) {
    std::istringstream words(arguments);
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    return Sandbox().Run(args);
}

Json CurveJson(const std::string& options) {
    const TCliResult r = Cli("curve --builtin --json " + options + " " + Example("chilled-water.dvx"));
    EXPECT_EQ(r.Exit, 0) << r.Err;
    return Json::parse(r.Out);
}

TEST(SelectionCli, AnswersAgreeWithEachOther) {
    // The standby duty of two pumps in parallel is the duty of one.
    const Json one = CurveJson("");
    const Json two = CurveJson("--pumps 2 --standby");
    ASSERT_TRUE(two["standbyDuty"].is_object());
    EXPECT_NEAR(two["standbyDuty"]["flow"].get<double>(), one["duty"]["flow"].get<double>(), 1e-12);
    EXPECT_GT(two["duty"]["flow"].get<double>(), one["duty"]["flow"].get<double>());
    EXPECT_TRUE(one["standbyDuty"].is_null());

    // Run at the speed for the design point, the duty lies on the design point.
    const double speed = one["speedForDesign"];
    ASSERT_GT(speed, 0.5);
    ASSERT_LT(speed, 1.0);
    const Json slowed = CurveJson("--speed " + std::to_string(speed));
    EXPECT_NEAR(slowed["duty"]["flow"].get<double>(), one["design"]["flow"].get<double>(), 1e-6 * 0.015);
    EXPECT_NEAR(slowed["extraDropForDesign"].get<double>(), 0, 5); // Pa, from the 6-digit speed text

    // The throttling that meets the design flow, on the rated pump.
    EXPECT_NEAR(one["extraDropForDesign"].get<double>(), 14.6e3, 0.05e3);

    // Running cost from the duty's shaft power.
    const Json cost = CurveJson("--hours 3000 --price 0.25 --motor-efficiency 90 --drive-efficiency 95");
    const double shaft = cost["duty"]["shaftPower"];
    EXPECT_NEAR(cost["energy"]["inputPower"].get<double>(), shaft / (0.9 * 0.95), 1e-9 * shaft);
    EXPECT_NEAR(cost["energy"]["costPerYear"].get<double>(), shaft / (0.9 * 0.95) * 3 * 0.25, 1e-6);
}

TEST(SelectionCli, NpshFromTheSuctionSide) {
    const Json none = CurveJson("");
    EXPECT_TRUE(none["npsh"].is_null());
    // The same suction side with the tank raised by 5 m: 5 m more NPSH available.
    const std::string suction = "--npsh-required 0:2,10:2.5,20:4,30:6 --suction-items 22,23,24 ";
    const Json low = CurveJson(suction + "--suction-height -1");
    const Json high = CurveJson(suction + "--suction-height 4");
    ASSERT_TRUE(low["npsh"].is_object());
    EXPECT_NEAR(high["npsh"]["available"].get<double>() - low["npsh"]["available"].get<double>(), 5, 1e-9);
    EXPECT_NEAR(low["npsh"]["margin"].get<double>(),
                low["npsh"]["available"].get<double>() - low["npsh"]["required"].get<double>(), 1e-12);
    // Along the curve: NPSH available falls as the flow (and the suction loss) rises.
    const Json& along = low["npsh"]["curve"];
    ASSERT_GT(along.size(), 2u);
    for (std::size_t i = 1; i < along.size(); ++i)
        EXPECT_LT(along[i]["available"].get<double>(), along[i - 1]["available"].get<double>());
}

TEST(SelectionCli, BadValuesAreUsageErrors) {
    const std::string file = " " + Example("chilled-water.dvx");
    for (const char* options :
         {"--pump 0:20,5:18", "--pump 0:20,-5:18,10:10", "--pump 5:20,5:18,5:10", "--speed 0", "--speed 1.2",
          "--pumps 0", "--pumps 11", "--arrangement serial", "--npsh-required 0:2,0:3", "--npsh-required 5",
          "--npsh-required 1:-2", "--suction-items 3,x", "--surface-pressure 0", "--hours 9000", "--price -1",
          "--motor-efficiency 0", "--drive-efficiency 101", "--vapour-pressure -5", "--npsh-margin nan",
          "--fitting-method crane-k"}) {
        const TCliResult r = Cli(std::string("curve --builtin ") + options + file);
        EXPECT_EQ(r.Exit, 2) << options << "\n" << r.Err;
        EXPECT_EQ(r.Err.rfind("darvenix-cli: ", 0), 0u) << options;
    }
}

TEST(SelectionCli, FittingMethodOverridesAndIsKept) {
    const auto total = [](const TCliResult& r) { return Json::parse(r.Out)["totals"]["totalDP"].get<double>(); };
    const TCliResult byLength = Cli("calc --builtin --json " + Example("chilled-water.dvx"));
    const TCliResult byCrane = Cli("calc --builtin --json --fitting-method crane " + Example("chilled-water.dvx"));
    ASSERT_EQ(byLength.Exit, 0);
    ASSERT_EQ(byCrane.Exit, 0);
    EXPECT_NE(total(byLength), total(byCrane));
    // convert keeps the method in a project file; calc then uses it unasked.
    const std::string stored = Sandbox().WorkFile("crane.dvx");
    ASSERT_EQ(Cli("convert --fitting-method crane " + Example("chilled-water.dvx") + " " + stored).Exit, 0);
    const TCliResult again = Cli("calc --builtin --json " + stored);
    ASSERT_EQ(again.Exit, 0);
    EXPECT_EQ(total(again), total(byCrane));
    // A text item file has no place for it.
    EXPECT_EQ(Cli("convert --fitting-method crane " + Example("chilled-water.dvx") + " " + Sandbox().WorkFile("items.txt"))
                  .Exit,
              2);
    // 3-K names the types it had no constants for, once, as a warning.
    const TCliResult threeK = Cli("calc --builtin --strict --fitting-method 3k " + Example("chilled-water.dvx"));
    EXPECT_EQ(threeK.Exit, 6);
    EXPECT_NE(threeK.Err.find("no 3-K constants for VibroFlex, Butterfly Valve, Clean Strainer: calculated by Crane K"),
              std::string::npos)
        << threeK.Err;
    EXPECT_EQ(Cli("calc --builtin --strict --fitting-method crane " + Example("chilled-water.dvx")).Exit, 0);
    // Every fitting says the K it was calculated with.
    const Json document = Json::parse(byCrane.Out);
    for (const Json& item : document["items"])
        if (item["kind"] == "fitting") {
            EXPECT_GT(item["resistanceK"].get<double>(), 0) << item["description"];
        }
}

double Number(const std::string& text) {
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_TRUE(ec == std::errc{} && end == text.data() + text.size()) << text;
    return v;
}

// The CSV of the curve in US units holds the SI values converted.
TEST(SelectionCli, CurveCsvInUsUnits) {
    const std::string file = " " + Example("chilled-water.dvx");
    const TCliResult si = Cli("curve --builtin --csv --points 5" + file);
    const TCliResult us = Cli("curve --builtin --csv --points 5 --units us" + file);
    ASSERT_EQ(si.Exit, 0);
    ASSERT_EQ(us.Exit, 0);
    auto rows = [](const std::string& text) {
        std::vector<std::vector<std::string>> table;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::vector<std::string> cells;
            std::istringstream fields(line);
            for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
            table.push_back(cells);
        }
        return table;
    };
    const auto a = rows(si.Out), b = rows(us.Out);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(b[0][2], "flow [gpm]");
    EXPECT_EQ(b[0][3], "dp [psi]");
    EXPECT_EQ(b[0][4], "head [ft]");
    for (std::size_t i = 1; i < a.size(); ++i) {
        EXPECT_NEAR(Number(b[i][2]), Number(a[i][2]) / (3.785411784e-3 / 60), 1e-9 * Number(b[i][2]) + 1e-12);
        EXPECT_NEAR(Number(b[i][3]), Number(a[i][3]) / 6894.757293168361, 1e-9 * Number(b[i][3]) + 1e-12);
        EXPECT_NEAR(Number(b[i][4]), Number(a[i][4]) / 0.3048, 1e-9 * Number(b[i][4]) + 1e-12);
    }
}

} // namespace
} // namespace dvx
