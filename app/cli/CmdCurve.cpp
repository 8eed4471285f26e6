// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli curve: the system curve of a circuit, the fit of the pump's
// points and the duty point, as a text table, JSON or CSV (SI units). The
// circuit is read and calculated exactly as calc does it; the pump stored in
// a project is used unless --pump gives one.

#include "Args.h"
#include "CircuitCalc.h"
#include "CliCommand.h"
#include "CsvOut.h"
#include "JsonOut.h"

#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/PumpAnalysis.h"
#include "presentation/ui/PumpChart.h"

#include <cmath>
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

namespace dvx::cli {
namespace {

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

Json CurvePointJson(const TCurvePoint& p) {
    return Json{{"ratio", JsonNumber(p.Ratio)}, {"flow", JsonNumber(p.Flow)}, {"dp", JsonNumber(p.PressureDrop)},
                {"head", JsonNumber(p.Head)}};
}

void WriteJson(const TPumpAnalysis& a, const TPumpSettings& pump, const TCalcSetting& setting, std::ostream& out) {
    TJsonDocument doc({{"flow", "m3/s"}, {"dp", "Pa"}, {"head", "m"}, {"staticHead", "m"}, {"t", "degC"},
                       {"ro", "kg/m3"}, {"mu", "Pa s"}, {"a", "m"}, {"b", "m/(m3/s)"}, {"c", "m/(m3/s)2"},
                       {"residual", "m"}, {"minFlow", "m3/s"}, {"maxFlow", "m3/s"}, {"shaftPower", "W"}});
    const TFluid& fluid = *setting.Fluid;
    doc.Set("liquid", Json{{"caption", JsonText(fluid.GetCaption())},
                           {"t", JsonNumber(fluid.t)},
                           {"ro", JsonNumber(fluid.ro)},
                           {"mu", JsonNumber(fluid.mu)}});
    if (a.Curve) {
        const TCurvePoint& d = a.Curve->Design;
        doc.Set("design", Json{{"flow", JsonNumber(d.Flow)}, {"dp", JsonNumber(d.PressureDrop)},
                               {"head", JsonNumber(d.Head)}});
    } else {
        doc.Set("design", nullptr);
    }
    doc.Set("staticHead", JsonNumber(pump.Curve.StaticHead));
    Json curve = Json::array();
    if (a.Curve)
        for (const TCurvePoint& p : a.Curve->Points) curve.push_back(CurvePointJson(p));
    doc.Set("curve", std::move(curve));
    if (a.Fit) {
        Json points = Json::array();
        for (const TPumpPoint& p : pump.Points) {
            Json point{{"flow", JsonNumber(p.Flow)}, {"head", JsonNumber(p.Head)}};
            if (p.Efficiency > 0) point["efficiency"] = JsonNumber(p.Efficiency);
            points.push_back(std::move(point));
        }
        Json fit = nullptr;
        if (a.Fit->Valid)
            fit = Json{{"form", "head = a + b*flow + c*flow^2"}, {"a", JsonNumber(a.Fit->A)},
                       {"b", JsonNumber(a.Fit->B)}, {"c", JsonNumber(a.Fit->C)},
                       {"residual", JsonNumber(a.Fit->Residual)}, {"minFlow", JsonNumber(a.Fit->MinFlow)},
                       {"maxFlow", JsonNumber(a.Fit->MaxFlow)}, {"falling", a.Fit->Falling}};
        doc.Set("pump", Json{{"points", std::move(points)}, {"fit", std::move(fit)}});
    } else {
        doc.Set("pump", nullptr);
    }
    if (a.Duty && a.Duty->Found) {
        const TDutyPoint& d = *a.Duty;
        Json duty{{"ratio", JsonNumber(d.Ratio)}, {"flow", JsonNumber(d.Flow)}, {"dp", JsonNumber(d.PressureDrop)},
                  {"head", JsonNumber(d.Head)}};
        if (d.HasPower) {
            duty["efficiency"] = JsonNumber(d.Efficiency);
            duty["shaftPower"] = JsonNumber(d.ShaftPower);
        }
        doc.Set("duty", std::move(duty));
    } else {
        doc.Set("duty", nullptr);
    }
    Json messages = Json::array();
    for (const std::string& m : a.Messages) messages.push_back(JsonText(m));
    doc.Set("messages", std::move(messages));
    for (const TCliWarning& w : setting.Warnings) doc.AddWarning(w);
    doc.Write(out);
}

// One table: a row per curve point, then the design and the duty point.
std::string Csv(const TPumpAnalysis& a) {
    TCsvTable table({{"point", ""}, {"ratio", ""}, {"flow", "m3/s"}, {"dp", "Pa"}, {"head", "m"}});
    auto row = [&table](const char* kind, double ratio, double flow, double dp, double head) {
        table.AddRow({CsvText(kind), CsvNumber(ratio), CsvNumber(flow), CsvNumber(dp), CsvNumber(head)});
    };
    if (a.Curve) {
        for (const TCurvePoint& p : a.Curve->Points) row("curve", p.Ratio, p.Flow, p.PressureDrop, p.Head);
        const TCurvePoint& d = a.Curve->Design;
        row("design", d.Ratio, d.Flow, d.PressureDrop, d.Head);
    }
    if (a.Duty && a.Duty->Found) row("duty", a.Duty->Ratio, a.Duty->Flow, a.Duty->PressureDrop, a.Duty->Head);
    return table.Text();
}

// In the display units: l/s, kPa, m.
void WriteTable(const TPumpAnalysis& a, std::ostream& out) {
    if (a.Curve) {
        out << Format("%8s %10s %12s %10s\n", {"Ratio", "Q l/s", "dP kPa", "H m"});
        for (const TCurvePoint& p : a.Curve->Points)
            out << Format("%8.4f %10.4f %12.4f %10.4f\n", {p.Ratio, p.Flow * 1000, p.PressureDrop / 1000, p.Head});
    }
    for (const std::string& line : SummaryLines(a)) out << line << "\n";
}

int RunCurve(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    Args args(argv);
    TCalcRequest request = ReadCalcOptions(args);
    const bool json = args.Flag("--json");
    const bool csv = args.Flag("--csv");
    const bool strict = args.Flag("--strict");
    const auto points = args.Integer("--points");
    const auto maxRatio = args.Number("--max-ratio");
    const auto pumpText = args.Value("--pump");
    const auto staticHead = args.Number("--static-head");
    const std::vector<std::string> files = args.Positionals();
    args.RequireAllUsed();
    if (files.size() != 1) throw UsageError("one circuit file (.txt or .dvx, or - for standard input) is needed");
    if (json && csv) throw UsageError("--json and --csv exclude each other");
    if (points && (*points < kMinCurvePoints || *points > kMaxCurvePoints))
        throw UsageError(Format("--points must be %d to %d", {kMinCurvePoints, kMaxCurvePoints}));
    if (maxRatio && !(*maxRatio > 0 && *maxRatio <= kMaxCurveRatio))
        throw UsageError(Format("--max-ratio must be above 0 and at most %g", {kMaxCurveRatio}));
    if (staticHead && !(std::abs(*staticHead) <= kMaxStaticHead))
        throw UsageError(Format("--static-head must be -%g to %g m", {kMaxStaticHead, kMaxStaticHead}));
    std::optional<std::vector<TPumpPoint>> pumpPoints;
    if (pumpText) pumpPoints = ParsePumpOption(*pumpText);
    request.Input = files[0];

    const TCalcRun run = RunCalculation("curve", request, err);
    if (run.Exit != kExitOk) return run.Exit;
    const TCircuit& circuit = *run.Setting.Circuit;
    TPumpSettings pump = circuit.Pump;
    if (pumpPoints) pump.Points = *pumpPoints;
    if (points) pump.Curve.Points = *points;
    if (maxRatio) pump.Curve.MaxRatio = *maxRatio;
    if (staticHead) pump.Curve.StaticHead = *staticHead;

    const TPumpAnalysis analysis = AnalysePump(ProgramContext(), circuit, request.Groups, pump);
    if (json)
        WriteJson(analysis, pump, run.Setting, out);
    else if (csv)
        out << Csv(analysis);
    else
        WriteTable(analysis, out);
    // A curve that cannot be formed is a failed calculation; a pump that
    // meets no curve is an answer, given in the messages.
    if (!analysis.Curve) {
        for (const std::string& m : analysis.Messages) err << m << "\n";
        return kExitCalculation;
    }
    return strict && !run.Setting.Warnings.empty() ? kExitStrictWarning : kExitOk;
}

const CliCommandRegistrar registrar({
    "curve",
    "the system curve, the pump's fitted curve and the duty point",
    "Usage: darvenix-cli curve [OPTIONS] FILE.dvx|FILE.txt|-\n",
    CalcOptionsHelp() +
        "  --points N           points of the curve, 2 to 10000 (default 41, or the\n"
        "                       project's)\n"
        "  --max-ratio R        largest flow as a multiple of the design flow, above 0,\n"
        "                       at most 100 (default 1.3, or the project's)\n"
        "  --pump Q:H[:E],...   the pump's points: flow l/s, head m, efficiency %\n"
        "                       (optional), at least 3; replaces a pump stored in the\n"
        "                       project\n"
        "  --static-head H      static head, m, -10000 to 10000, added at every flow\n"
        "                       (default 0, or the project's)\n"
        "  --json               print the versioned JSON document (units, liquid,\n"
        "                       design, curve, pump, duty, messages, warnings)\n"
        "  --csv                print one CSV row per curve point, then the design and\n"
        "                       duty points\n",
    RunCurve,
    TOutputOption::Accepted,
});

} // namespace
} // namespace dvx::cli
