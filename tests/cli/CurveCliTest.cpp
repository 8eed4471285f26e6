// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli curve run as a user runs it: the JSON agrees with calc's
// total and with itself (flows, heads, the duty point on the fitted pump),
// the CSV holds the same points, a stored pump is used unless --pump is
// given, and failures end with the documented exit codes.

#include "CliRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace dvx {
namespace {

using test::CliSandbox;
using test::TCliResult;

std::string Example(const char* name) { return std::string(DARVENIX_SOURCE_DIR) + "/examples/" + name; }

// darvenix-cli with the arguments (separated by blanks), in a sandbox of its own.
TCliResult Cli(const std::string& arguments) {
    static const CliSandbox sandbox;
    std::istringstream words(arguments);
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    return sandbox.Run(args);
}

constexpr double kG = 9.80665;

void ExpectNear(double a, double b, double rel) {
    EXPECT_NEAR(a, b, rel * std::max(std::fabs(b), 1e-300)) << a << " vs " << b;
}

TEST(CurveCli, JsonAgreesWithCalcAndWithItself) {
    const TCliResult calc = Cli("calc --builtin --json " + Example("heating-loop.txt"));
    ASSERT_EQ(calc.Exit, 0);
    const double totalDP = nlohmann::json::parse(calc.Out)["totals"]["totalDP"];

    const TCliResult run = Cli("curve --builtin --json --points 5 --max-ratio 2 --pump 0:8,2:7.5,4:6,6:3.5 " +
                        Example("heating-loop.txt"));
    ASSERT_EQ(run.Exit, 0) << run.Out;
    const auto doc = nlohmann::json::parse(run.Out);
    EXPECT_EQ(doc["version"], 1);
    EXPECT_EQ(doc["units"]["flow"], "m3/s");
    const double ro = doc["liquid"]["ro"];
    const double designFlow = doc["design"]["flow"];
    ExpectNear(doc["design"]["dp"], totalDP, 1e-15);
    ExpectNear(doc["design"]["head"], totalDP / (ro * kG), 1e-12);

    const auto& curve = doc["curve"];
    ASSERT_EQ(curve.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        const double ratio = curve[i]["ratio"];
        ExpectNear(ratio, 2 * static_cast<double>(i) / 4, 1e-15);
        ExpectNear(curve[i]["flow"], ratio * designFlow, 1e-15);
        ExpectNear(curve[i]["head"], curve[i]["dp"].get<double>() / (ro * kG), 1e-12);
    }
    EXPECT_EQ(curve[0]["dp"], 0.0);

    // The fit passes through the exact quadratic 8 − 125 000·Q², and the duty
    // point lies on it and on the circuit's curve between its neighbours.
    const auto& fit = doc["pump"]["fit"];
    ExpectNear(fit["a"], 8, 1e-12);
    ExpectNear(fit["c"], -125000, 1e-9);
    ASSERT_EQ(doc["pump"]["points"].size(), 4u);
    EXPECT_EQ(doc["pump"]["points"][1]["flow"], 0.002);
    const auto& duty = doc["duty"];
    const double q = duty["flow"];
    ExpectNear(duty["head"], 8 - 125000 * q * q, 1e-9);
    ExpectNear(duty["ratio"], q / designFlow, 1e-12);
    ExpectNear(duty["dp"], duty["head"].get<double>() * ro * kG, 1e-12);
    EXPECT_GT(duty["dp"].get<double>(), curve[3]["dp"].get<double>()); // ratio 1.5 …
    EXPECT_LT(duty["dp"].get<double>(), curve[4]["dp"].get<double>()); // … < duty < 2
    EXPECT_TRUE(doc["messages"].empty());
}

TEST(CurveCli, CsvHoldsTheCurveDesignAndDutyInSI) {
    const TCliResult json = Cli("curve --builtin --json --points 4 --pump 0:8,2:7.5,4:6,6:3.5 " + Example("heating-loop.txt"));
    const TCliResult csv = Cli("curve --builtin --csv --points 4 --pump 0:8,2:7.5,4:6,6:3.5 " + Example("heating-loop.txt"));
    ASSERT_EQ(csv.Exit, 0);
    const auto doc = nlohmann::json::parse(json.Out);
    std::istringstream lines(csv.Out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "point,ratio,flow [m3/s],dp [Pa],head [m]\r");
    std::vector<std::string> kinds;
    std::vector<double> dps;
    while (std::getline(lines, line)) {
        std::istringstream cells(line);
        std::string kind, ratio, flow, dp;
        std::getline(cells, kind, ',');
        std::getline(cells, ratio, ',');
        std::getline(cells, flow, ',');
        std::getline(cells, dp, ',');
        kinds.push_back(kind);
        dps.push_back(std::stod(dp)); // digits and "." only: no locale in play here
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"curve", "curve", "curve", "curve", "design", "duty"}));
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(dps[i], doc["curve"][i]["dp"].get<double>());
    EXPECT_EQ(dps[4], doc["design"]["dp"].get<double>());
    EXPECT_EQ(dps[5], doc["duty"]["dp"].get<double>());
}

TEST(CurveCli, StoredPumpIsUsedUnlessOneIsGiven) {
    const TCliResult stored = Cli("curve --builtin --json " + Example("chilled-water.dvx"));
    ASSERT_EQ(stored.Exit, 0);
    const auto a = nlohmann::json::parse(stored.Out);
    ASSERT_EQ(a["pump"]["points"].size(), 6u);
    EXPECT_EQ(a["curve"].size(), 41u);
    ASSERT_FALSE(a["duty"].is_null());
    EXPECT_GT(a["duty"]["shaftPower"].get<double>(), 0);

    const TCliResult given = Cli("curve --builtin --json --pump 0:30,10:28,20:20 " + Example("chilled-water.dvx"));
    const auto b = nlohmann::json::parse(given.Out);
    ASSERT_EQ(b["pump"]["points"].size(), 3u);
    EXPECT_EQ(b["pump"]["points"][2]["head"], 20.0);
    EXPECT_NE(a["duty"]["flow"], b["duty"]["flow"]);

    // Without any pump the curve alone.
    const TCliResult none = Cli("curve --builtin --json " + Example("heating-loop.txt"));
    const auto c = nlohmann::json::parse(none.Out);
    EXPECT_TRUE(c["pump"].is_null());
    EXPECT_TRUE(c["duty"].is_null());
}

TEST(CurveCli, NoDutyPointIsAnAnswerNotAFailure) {
    const TCliResult run = Cli("curve --builtin --json --pump 0:1,1:0.95,2:0.8 " + Example("chilled-water.dvx"));
    EXPECT_EQ(run.Exit, 0);
    const auto doc = nlohmann::json::parse(run.Out);
    EXPECT_TRUE(doc["duty"].is_null());
    ASSERT_EQ(doc["messages"].size(), 1u);
    EXPECT_EQ(doc["messages"][0], "The pump's head is still above the system curve at its largest flow of 2 l/s: "
                                  "the duty point lies beyond the pump's points.");
}

TEST(CurveCli, ExitCodes) {
    const test::TempFolder folder;
    const std::filesystem::path dir = folder.Path();
    std::ofstream(dir / "empty.txt").close();
    std::ofstream(dir / "zero.txt") << "u, 1, 'User', 50, 0, 10, 'User'\n";
    struct Case {
        std::string arguments;
        int exit;
    };
    const Case cases[] = {
        {"--pump 0:8,2 " + Example("heating-loop.txt"), 2},
        {"--pump 0:8,2:x " + Example("heating-loop.txt"), 2},
        {"--pump 0:8:101,1:7,2:6 " + Example("heating-loop.txt"), 2},
        {"--points 1 " + Example("heating-loop.txt"), 2},
        {"--max-ratio 0 " + Example("heating-loop.txt"), 2},
        {"--static-head 1e308 " + Example("heating-loop.txt"), 2},
        {"--static-head -10001 " + Example("heating-loop.txt"), 2},
        {"--static-head -10000 " + Example("heating-loop.txt"), 0},
        {"--repeat 1000001 " + Example("heating-loop.txt"), 2},
        {"--repeat 2147483647 " + Example("heating-loop.txt"), 2},
        {"--json --csv " + Example("heating-loop.txt"), 2},
        {"", 2},
        {"--pmup 0:1,1:1,2:1 " + Example("heating-loop.txt"), 2},
        {(dir / "missing.dvx").string(), 5},
        {(dir / "zero.txt").string(), 3},
        {(dir / "empty.txt").string(), 4}, // no items: no curve
    };
    for (const Case& c : cases) EXPECT_EQ(Cli("curve --builtin " + c.arguments).Exit, c.exit) << c.arguments;
}

} // namespace
} // namespace dvx
