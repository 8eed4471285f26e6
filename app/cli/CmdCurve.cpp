// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli curve: the system curve of a circuit, the fit of the pump's
// points and the duty point, as a text table, JSON or CSV (SI units). The
// circuit is read and calculated exactly as calc does it; the pump stored in
// a project is used unless --pump gives one.

#include "Args.h"
#include "CircuitCalc.h"
#include "CliUnits.h"
#include "CliCommand.h"
#include "CsvOut.h"
#include "JsonOut.h"

#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/fluid/Fluid.h"
#include "engine/pump/PumpAnalysis.h"
#include "engine/pump/SelectionCheck.h"
#include "presentation/ui/PumpChart.h"

#include <cmath>
#include <cstdint>
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
        if (*q < 0 || *h < 0) throw UsageError("--pump: '" + point + "' has a negative flow or head");
        points.push_back({*q / 1000, *h, *e / 100});
        start = end + 1;
    }
    // A pump the fit refuses (too few points, too few different flows) is a
    // bad argument like any other, not a result with a message.
    const TPumpFit fit = FitPumpCurve(points);
    if (!fit.Valid) throw UsageError("--pump: " + fit.Message);
    return points;
}

// "Q:H,…": NPSH required (m) at flows (l/s), rising flows.
std::vector<TNpshPoint> ParseNpshOption(const std::string& text) {
    std::vector<TNpshPoint> points;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string point = text.substr(start, end - start);
        const std::size_t colon = point.find(':');
        std::optional<double> q, h;
        if (colon != std::string::npos) {
            q = TryStrToFloat(point.substr(0, colon));
            h = TryStrToFloat(point.substr(colon + 1));
        }
        if (!q || !h) throw UsageError("--npsh-required: '" + point + "' is not FLOW:NPSH (l/s, m)");
        if (points.size() >= static_cast<std::size_t>(kMaxPumpPoints))
            throw UsageError(Format("--npsh-required: at most %d points", {kMaxPumpPoints}));
        points.push_back({*q / 1000, *h});
        start = end + 1;
    }
    return points;
}

// "N,N,…": item numbers.
std::vector<std::int32_t> ParseItemNumbers(const std::string& text) {
    std::vector<std::int32_t> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        const std::optional<int> n = TryStrToInt(word);
        if (!n) throw UsageError("--suction-items: '" + word + "' is not an item number");
        if (numbers.size() >= static_cast<std::size_t>(kMaxSuctionItems))
            throw UsageError(Format("--suction-items: at most %d items", {kMaxSuctionItems}));
        numbers.push_back(*n);
        start = end + 1;
    }
    return numbers;
}

// The selection options that are given, over the selection s; the values
// are then checked as a project file's are.
void ReadSelectionOptions(Args& args, TPumpSelection& s) {
    if (auto v = args.Number("--speed")) s.Speed = *v;
    if (auto n = args.Integer("--pumps")) s.Pumps = *n;
    if (auto a = args.Value("--arrangement")) {
        if (*a == "parallel") s.Arrangement = TPumpArrangement::Parallel;
        else if (*a == "series") s.Arrangement = TPumpArrangement::Series;
        else throw UsageError("--arrangement: '" + *a + "' is neither parallel nor series");
    }
    if (args.Flag("--standby")) s.Standby = true;
    if (auto t = args.Value("--npsh-required")) s.NpshRequired = ParseNpshOption(*t);
    if (auto t = args.Value("--suction-items")) s.SuctionItems = ParseItemNumbers(*t);
    if (auto v = args.Number("--suction-height")) s.SuctionHeight = *v;
    if (auto v = args.Number("--surface-pressure")) s.SurfacePressure = *v * 1000;
    if (auto v = args.Number("--vapour-pressure")) {
        // Typed, a negative pressure is a mistake, not "from the table".
        if (*v < 0) throw UsageError(VapourPressureProblem());
        s.VapourPressure = *v * 1000;
    }
    if (auto v = args.Number("--npsh-margin")) s.NpshMargin = *v;
    if (auto v = args.Number("--hours")) s.HoursPerYear = *v;
    if (auto v = args.Number("--price")) s.PricePerKWh = *v;
    if (auto v = args.Number("--motor-efficiency")) s.MotorEfficiency = *v / 100;
    if (auto v = args.Number("--drive-efficiency")) s.DriveEfficiency = *v / 100;
    if (const std::string problem = SelectionProblem(s); !problem.empty()) throw UsageError(problem);
}

Json CurvePointJson(const TCurvePoint& p) {
    return Json{{"ratio", JsonNumber(p.Ratio)}, {"flow", JsonNumber(p.Flow)}, {"dp", JsonNumber(p.PressureDrop)},
                {"head", JsonNumber(p.Head)}};
}

void WriteJson(const TPumpAnalysis& a, const TPumpSettings& pump, const TCalcSetting& setting, std::ostream& out) {
    TJsonDocument doc({{"flow", "m3/s"}, {"dp", "Pa"}, {"head", "m"}, {"staticHead", "m"}, {"t", "degC"},
                       {"ro", "kg/m3"}, {"mu", "Pa s"}, {"a", "m"}, {"b", "m/(m3/s)"}, {"c", "m/(m3/s)2"},
                       {"residual", "m"}, {"minFlow", "m3/s"}, {"maxFlow", "m3/s"}, {"shaftPower", "W"},
                       {"maxShaftPower", "W"}, {"extraDropForDesign", "Pa"}, {"available", "m"}, {"required", "m"},
                       {"margin", "m"}, {"inputPower", "W"}, {"kWhPerYear", "kWh"}});
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
    // The pump selection.
    const TPumpSelection& sel = pump.Selection;
    const TSelectionResult* r = a.Selection ? &*a.Selection : nullptr;
    doc.Set("speed", JsonNumber(sel.Speed));
    doc.Set("speedForDesign", r && r->SpeedForDesign ? JsonNumber(*r->SpeedForDesign) : Json(nullptr));
    doc.Set("pumps", sel.Pumps);
    doc.Set("arrangement", sel.Arrangement == TPumpArrangement::Series ? "series" : "parallel");
    if (r && r->StandbyDuty && r->StandbyDuty->Found) {
        const TDutyPoint& d = *r->StandbyDuty;
        Json standby{{"flow", JsonNumber(d.Flow)}, {"dp", JsonNumber(d.PressureDrop)}, {"head", JsonNumber(d.Head)}};
        if (d.HasPower) standby["shaftPower"] = JsonNumber(d.ShaftPower);
        doc.Set("standbyDuty", std::move(standby));
    } else {
        doc.Set("standbyDuty", nullptr);
    }
    doc.Set("bep", r && r->Bep ? Json{{"flow", JsonNumber(r->Bep->Flow)}, {"efficiency", JsonNumber(r->Bep->Efficiency)}}
                              : Json(nullptr));
    doc.Set("maxShaftPower", r && r->MaxShaftPower ? JsonNumber(r->MaxShaftPower->Power) : Json(nullptr));
    doc.Set("extraDropForDesign", a.ExtraDropForDesign ? JsonNumber(*a.ExtraDropForDesign) : Json(nullptr));
    auto orNull = [](const std::optional<double>& v) { return v ? JsonNumber(*v) : Json(nullptr); };
    if (r && r->NpshAtDuty) {
        const TNpshPointResult& n = *r->NpshAtDuty;
        Json curve = Json::array();
        for (const TNpshPointResult& p : r->NpshCurve)
            curve.push_back(Json{{"flow", JsonNumber(p.Flow)}, {"available", JsonNumber(p.Available)},
                                 {"required", orNull(p.Required)}});
        doc.Set("npsh", Json{{"available", JsonNumber(n.Available)},
                             {"required", orNull(n.Required)},
                             {"margin", n.Required ? JsonNumber(n.Available - *n.Required) : Json(nullptr)},
                             {"curve", std::move(curve)}});
    } else {
        doc.Set("npsh", nullptr);
    }
    doc.Set("energy", r && r->Energy ? Json{{"inputPower", JsonNumber(r->Energy->InputPower)},
                                            {"kWhPerYear", JsonNumber(r->Energy->KWhPerYear)},
                                            {"costPerYear", JsonNumber(r->Energy->CostPerYear)}}
                                     : Json(nullptr));
    Json messages = Json::array();
    for (const std::string& m : a.Messages) messages.push_back(JsonText(m));
    doc.Set("messages", std::move(messages));
    for (const TCliWarning& w : setting.Warnings) doc.AddWarning(w);
    doc.Write(out);
}

// One table: a row per curve point, then the design and the duty point;
// base SI, or the chosen units with --units.
std::string Csv(const TPumpAnalysis& a, const TUnitChoice& units, double density) {
    TCsvTable table({{"point", ""},
                     {"ratio", ""},
                     {"flow", CsvUnitLabel(units, qtFlow, "m3/s")},
                     {"dp", CsvUnitLabel(units, qtPressureDrop, "Pa")},
                     {"head", CsvUnitLabel(units, qtHead, "m")}});
    auto row = [&](const char* kind, double ratio, double flow, double dp, double head) {
        table.AddRow({CsvText(kind), CsvNumber(ratio), CsvNumber(CsvValue(units, qtFlow, flow, density)),
                      CsvNumber(CsvValue(units, qtPressureDrop, dp, density)),
                      CsvNumber(CsvValue(units, qtHead, head, density))});
    };
    if (a.Curve) {
        for (const TCurvePoint& p : a.Curve->Points) row("curve", p.Ratio, p.Flow, p.PressureDrop, p.Head);
        const TCurvePoint& d = a.Curve->Design;
        row("design", d.Ratio, d.Flow, d.PressureDrop, d.Head);
    }
    if (a.Duty && a.Duty->Found) row("duty", a.Duty->Ratio, a.Duty->Flow, a.Duty->PressureDrop, a.Duty->Head);
    return table.Text();
}

// In the display units: l/s, kPa, m, or the US units with --units us.
void WriteTable(const TPumpAnalysis& a, const TUnitChoice& units, double density, std::ostream& out) {
    if (a.Curve) {
        if (units.IsSI(qtFlow) && units.IsSI(qtPressureDrop) && units.IsSI(qtHead)) {
            out << Format("%8s %10s %12s %10s\n", {"Ratio", "Q l/s", "dP kPa", "H m"});
            for (const TCurvePoint& p : a.Curve->Points)
                out << Format("%8.4f %10.4f %12.4f %10.4f\n",
                              {p.Ratio, p.Flow * 1000, p.PressureDrop / 1000, p.Head});
        } else {
            const TDisplayUnit& q = units.Unit(qtFlow);
            const TDisplayUnit& dp = units.Unit(qtPressureDrop);
            const TDisplayUnit& h = units.Unit(qtHead);
            out << Format("%8s %10s %12s %10s\n", {"Ratio", std::string("Q ") + q.Label,
                                                     std::string("dP ") + dp.Label, std::string("H ") + h.Label});
            for (const TCurvePoint& p : a.Curve->Points)
                out << Format("%8.4f %10.4f %12.4f %10.4f\n",
                              {p.Ratio, ToDisplay(q, p.Flow, density), ToDisplay(dp, p.PressureDrop, density),
                               ToDisplay(h, p.Head, density)});
        }
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
    const TUnitChoice units = ReadUnitsOption(args);
    // The selection options are checked here, and read again over the
    // project's own selection once the project is read.
    Args selectionArgs(args.Normalised());
    TPumpSelection checked;
    ReadSelectionOptions(args, checked);
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
    ReadSelectionOptions(selectionArgs, pump.Selection);

    const TPumpAnalysis analysis = AnalysePump(run.Project->Context(), circuit, request.Groups, pump);
    const double density = run.Setting.Fluid->ro;
    if (json)
        WriteJson(analysis, pump, run.Setting, out);
    else if (csv)
        out << Csv(analysis, units, density);
    else
        WriteTable(analysis, units, density, out);
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
    CalcOptionsHelp() + UnitsOptionHelp() +
        "  --points N           points of the curve, 2 to 10000 (default 41, or the\n"
        "                       project's)\n"
        "  --max-ratio R        largest flow as a multiple of the design flow, above 0,\n"
        "                       at most 100 (default 1.3, or the project's)\n"
        "  --pump Q:H[:E],...   the pump's points: flow l/s, head m, efficiency %\n"
        "                       (optional), at least 3; replaces a pump stored in the\n"
        "                       project\n"
        "  --static-head H      static head, m, -10000 to 10000, added at every flow\n"
        "                       (default 0, or the project's)\n"
        "  --speed R            running speed as a fraction of the rated speed of the\n"
        "                       pump's points, 0.1 to 1 (affinity laws)\n"
        "  --pumps N            identical pumps running together, 1 to 10\n"
        "  --arrangement A      parallel (flows add) or series (heads add)\n"
        "  --standby            also find the duty with one pump fewer running\n"
        "  --npsh-required Q:H,...\n"
        "                       NPSH required of one pump at rated speed: flow l/s,\n"
        "                       NPSH m, rising flows\n"
        "  --suction-items N,...\n"
        "                       numbers of the items between the liquid surface and\n"
        "                       the pump inlet\n"
        "  --suction-height M   liquid surface above the pump inlet, m (below: negative)\n"
        "  --surface-pressure KPA\n"
        "                       absolute pressure on the surface (default 101.325)\n"
        "  --vapour-pressure KPA\n"
        "                       the liquid's vapour pressure (default: water's at the\n"
        "                       liquid's temperature, for water-based liquids)\n"
        "  --npsh-margin M      least NPSH margin before a warning (default 0.5)\n"
        "  --hours H            running hours per year, for the running cost\n"
        "  --price P            price of a kWh\n"
        "  --motor-efficiency E motor efficiency, % (default 100)\n"
        "  --drive-efficiency E drive efficiency, % (default 100: no drive)\n"
        "  --json               print the versioned JSON document (units, liquid,\n"
        "                       design, curve, pump, duty, selection, NPSH, energy,\n"
        "                       messages, warnings)\n"
        "  --csv                print one CSV row per curve point, then the design and\n"
        "                       duty points\n",
    RunCurve,
    TOutputOption::Accepted,
});

} // namespace
} // namespace dvx::cli
