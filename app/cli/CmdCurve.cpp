// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli curve: the system curve of a circuit file, the fit of the
// pump's points and the duty point, as a table, as JSON (SI units) or as CSV.
// The pump stored in a project is used unless --pump gives one.

#include "Args.h"
#include "CliCommand.h"
#include "settings/Startup.h"

#include "catalogue/Tables.h"
#include "common/Errors.h"
#include "common/Format.h"
#include "common/Numbers.h"
#include "fluid/Fluid.h"
#include "hydraulics/Calc.h"
#include "hydraulics/PumpAnalysis.h"
#include "project/CircuitFiles.h"
#include "ui/PumpCurveForm.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace dvx::cli {
namespace {

// Exit codes beyond the shared ones, as calc uses them.
constexpr int kExitInvalidItem = 3; // "Data may not be zero"
constexpr int kExitCalculation = 4; // "Pressure drop error."
constexpr int kExitFile = 5;        // "Error reading <path>"

constexpr int kJsonVersion = 1;

// Start-up as calc does it: the built-in tables and the liquid module alone
// (builtinOnly), or the whole core start-up with the user's catalogues.
void StartCore(bool builtinOnly, std::ostream& err) {
    RestoreBuiltInTables();
    if (builtinOnly) {
        StartFluidModule(DefaultTemperature);
        return;
    }
    TStartOptions options;
    options.StartFluid = [] { StartFluidModule(DefaultTemperature); };
    for (const std::string& message : dvx::StartCore(options).Messages) err << message << "\n";
    SystemFluid->SetT(DefaultTemperature);
}

// "Q:H[:E],…" with Q in l/s, H in m and the optional efficiency E in %.
std::vector<TPumpPoint> ParsePumpOption(const std::string& text) {
    std::vector<TPumpPoint> points;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string point = text.substr(start, end - start);
        std::vector<std::string> parts;
        std::size_t from = 0;
        for (std::size_t colon; (colon = point.find(':', from)) != std::string::npos; from = colon + 1)
            parts.push_back(point.substr(from, colon - from));
        parts.push_back(point.substr(from));
        std::optional<double> q, h, e = 0.0;
        if (parts.size() == 2 || parts.size() == 3) {
            q = TryStrToFloat(parts[0]);
            h = TryStrToFloat(parts[1]);
            if (parts.size() == 3) e = TryStrToFloat(parts[2]);
        }
        if (!q || !h || !e || !std::isfinite(*q) || !std::isfinite(*h) || !(*e >= 0 && *e <= 100))
            throw UsageError("--pump: '" + point + "' is not FLOW:HEAD or FLOW:HEAD:EFFICIENCY (l/s, m, %)");
        points.push_back({*q / 1000, *h, *e / 100});
        start = end + 1;
    }
    return points;
}

nlohmann::json CurvePointJson(const TCurvePoint& p) {
    return {{"ratio", p.Ratio}, {"flow", p.Flow}, {"dp", p.PressureDrop}, {"head", p.Head}};
}

nlohmann::json Json(const TPumpAnalysis& a, const TPumpSpec& pump) {
    using nlohmann::json;
    json doc = {{"version", kJsonVersion},
                {"units", {{"flow", "m3/s"}, {"dp", "Pa"}, {"head", "m"}, {"ro", "kg/m3"}, {"power", "W"},
                           {"efficiency", "fraction"}}}};
    doc["liquid"] = {{"description", SystemFluid->GetDescription()}, {"ro", SystemFluid->ro}, {"mu", SystemFluid->mu}};
    if (a.Curve) {
        const TCurvePoint& d = a.Curve->Design;
        doc["design"] = {{"flow", d.Flow}, {"dp", d.PressureDrop}, {"head", d.Head}};
        doc["staticHead"] = a.Curve->StaticHead;
        json curve = json::array();
        for (const TCurvePoint& p : a.Curve->Points) curve.push_back(CurvePointJson(p));
        doc["curve"] = std::move(curve);
    } else {
        doc["design"] = nullptr;
        doc["staticHead"] = pump.Curve.StaticHead;
        doc["curve"] = json::array();
    }
    if (a.Fit) {
        json points = json::array();
        for (const TPumpPoint& p : pump.Points) {
            json point = {{"flow", p.Flow}, {"head", p.Head}};
            if (p.Efficiency > 0) point["efficiency"] = p.Efficiency;
            points.push_back(std::move(point));
        }
        json fit = nullptr;
        if (a.Fit->Valid)
            fit = {{"form", "head = a + b*flow + c*flow^2"}, {"a", a.Fit->A}, {"b", a.Fit->B}, {"c", a.Fit->C},
                   {"residual", a.Fit->Residual}, {"minFlow", a.Fit->MinFlow}, {"maxFlow", a.Fit->MaxFlow},
                   {"falling", a.Fit->Falling}};
        doc["pump"] = {{"points", std::move(points)}, {"fit", std::move(fit)}};
    } else {
        doc["pump"] = nullptr;
    }
    if (a.Duty && a.Duty->Found) {
        const TDutyPoint& d = *a.Duty;
        doc["duty"] = {{"ratio", d.Ratio}, {"flow", d.Flow}, {"dp", d.PressureDrop}, {"head", d.Head}};
        if (d.HasPower) {
            doc["duty"]["efficiency"] = d.Efficiency;
            doc["duty"]["shaftPower"] = d.ShaftPower;
        }
    } else {
        doc["duty"] = nullptr;
    }
    doc["messages"] = a.Messages;
    return doc;
}

// One table, SI units: the curve's points, then the design and duty points.
void PrintCsv(const TPumpAnalysis& a, std::ostream& out) {
    auto row = [&out](const char* kind, double ratio, double flow, double dp, double head) {
        out << kind << "," << FloatToStr17(ratio) << "," << FloatToStr17(flow) << "," << FloatToStr17(dp) << ","
            << FloatToStr17(head) << "\n";
    };
    out << "point,ratio,flow_m3s,dp_pa,head_m\n";
    if (a.Curve) {
        for (const TCurvePoint& p : a.Curve->Points) row("curve", p.Ratio, p.Flow, p.PressureDrop, p.Head);
        const TCurvePoint& d = a.Curve->Design;
        row("design", d.Ratio, d.Flow, d.PressureDrop, d.Head);
    }
    if (a.Duty && a.Duty->Found) row("duty", a.Duty->Ratio, a.Duty->Flow, a.Duty->PressureDrop, a.Duty->Head);
}

void PrintTable(const TPumpAnalysis& a, std::ostream& out) {
    if (a.Curve) {
        out << Format("%8s %10s %12s %10s\n", {"Ratio", "Q l/s", "dP kPa", "H m"});
        for (const TCurvePoint& p : a.Curve->Points)
            out << Format("%8.4f %10.4f %12.4f %10.4f\n", {p.Ratio, p.Flow * 1000, p.PressureDrop / 1000, p.Head});
    }
    for (const std::string& line : SummaryLines(a)) out << line << "\n";
}

int RunCurve(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    Args args(argv);
    const bool builtin = args.Flag("--builtin");
    const bool groups = args.Flag("--groups");
    const bool json = args.Flag("--json");
    const bool csv = args.Flag("--csv");
    const auto points = args.Integer("--points");
    const auto maxRatio = args.Number("--max-ratio");
    const auto pumpText = args.Value("--pump");
    const auto staticHead = args.Number("--static-head");
    const std::vector<std::string> files = args.Positionals();
    args.RequireAllUsed();
    if (json && csv) throw UsageError("--json and --csv exclude each other");
    if (files.size() != 1) throw UsageError("one circuit file (.txt or .dvx) is needed");
    if (points && (*points < kMinCurvePoints || *points > kMaxCurvePoints))
        throw UsageError(Format("--points must be %d to %d", {kMinCurvePoints, kMaxCurvePoints}));
    if (maxRatio && !(*maxRatio > 0 && *maxRatio <= kMaxCurveRatio))
        throw UsageError(Format("--max-ratio must be above 0 and at most %g", {kMaxCurveRatio}));
    if (staticHead && !std::isfinite(*staticHead)) throw UsageError("--static-head: not a head");
    std::optional<std::vector<TPumpPoint>> pumpPoints;
    if (pumpText) pumpPoints = ParsePumpOption(*pumpText);

    StartCore(builtin, err);
    const std::string& path = files[0];
    TLoadedCircuit loaded;
    try {
        loaded = LoadCircuitFile(path);
    } catch (const FileError& e) {
        err << e.what() << "\n";
        return kExitFile;
    }
    for (const std::string& message : loaded.Messages) err << path << ": " << message << "\n";
    ApplyLoadedCircuit(loaded);
    TCircuit& circuit = *loaded.Circuit;
    SelectPipeMaterial(circuit.Material);

    TPumpSpec pump = circuit.Pump;
    if (pumpPoints) pump.Points = *pumpPoints;
    if (points) pump.Curve.Points = *points;
    if (maxRatio) pump.Curve.MaxRatio = *maxRatio;
    if (staticHead) pump.Curve.StaticHead = *staticHead;

    const TInvalidItem invalid = circuit.FindInvalid();
    if (!invalid.AllValid) {
        err << Format("Data may not be zero: item %d (number %d), column %d\n",
                      {invalid.Position + 1, circuit.Item(invalid.Position).Number, invalid.Column});
        return kExitInvalidItem;
    }
    try {
        circuit.Calculate(groups);
    } catch (const MathError&) {
        err << "Pressure drop error.\n";
        return kExitCalculation;
    }

    const TPumpAnalysis analysis = AnalysePump(circuit, groups, pump);
    if (json)
        out << Json(analysis, pump).dump() << "\n";
    else if (csv)
        PrintCsv(analysis, out);
    else
        PrintTable(analysis, out);
    // A curve that cannot be formed is a failure; a pump that meets no curve
    // is an answer, given in the messages.
    if (!analysis.Curve) {
        if (!json)
            for (const std::string& m : analysis.Messages) err << m << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

const CliCommandRegistrar registrar({
    "curve",
    "curve FILE.txt|FILE.dvx [--points N] [--max-ratio R] [--pump Q:H[:E],Q:H[:E],...] [--static-head H] "
    "[--groups] [--builtin] [--json|--csv]   (pump points in l/s, m, %; JSON and CSV in SI; exit 1 no curve, "
    "3 invalid item, 4 calculation error, 5 unreadable file)",
    RunCurve,
});

} // namespace
} // namespace dvx::cli
