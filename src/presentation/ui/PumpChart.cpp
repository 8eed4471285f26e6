// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/PumpChart.h"

#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/units/UnitView.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dvx {

namespace {

constexpr double kPercent = 100;

// The window's quantities in the units in force; with SI chosen they read
// l/s, m of the circuit's liquid and kPa, to four significant digits.
TUnitView FlowView() { return TUnitView(qtFlow, {"l/s", "%0.4g", Times(1000)}); }
TUnitView HeadView() { return TUnitView(qtHead, {"m", "%0.4g", Times(1)}); }
// Drops shown as head take the density the analysis' heads are in.
TUnitView DropView(const TPumpAnalysis& a) {
    return TUnitView(qtPressureDrop, {"kPa", "%0.4g", Over(1000)},
                     a.Curve ? a.Curve->Density : std::numeric_limits<double>::quiet_NaN());
}

bool Blank(const std::string& text) { return TrimBlanks(text).empty(); }

std::string Num(double v) { return Format("%0.4g", {v}); }

// A value and its unit label, "5 l/s".
std::string WithUnit(const TUnitView& view, double si) { return view.Text(si) + " " + view.Label(); }

TChartPoint Display(double flow, double head) { return {FlowView().ToShown(flow), HeadView().ToShown(head)}; }

// The standby duty, the best efficiency point with its preferred region and
// the NPSH curves, where the analysis gives them.
void AddSelectionPart(TPumpChart& chart, const TPumpAnalysis& a, const TPumpSettings& pump) {
    if (!a.Selection || !a.Fit || !a.Fit->Valid) return;
    const TSelectionResult& s = *a.Selection;
    const TPumpSelection& sel = pump.Selection;
    if (sel.Standby && sel.Pumps >= 2) {
        const TPumpFit fewer = FitPumpCurve(PointsInForce(pump.Points, sel, sel.Pumps - 1));
        for (const TPumpPoint& p : SampleFit(fewer, 41)) chart.StandbyCurve.push_back(Display(p.Flow, p.Head));
        if (s.StandbyDuty && s.StandbyDuty->Found) {
            chart.StandbyDuty = Display(s.StandbyDuty->Flow, s.StandbyDuty->Head);
            chart.StandbyLabel = Format("%d running ", {sel.Pumps - 1}) + WithUnit(FlowView(), s.StandbyDuty->Flow) +
                                 ", " + WithUnit(HeadView(), s.StandbyDuty->Head);
        }
    }
    const TPumpFit& fit = *a.Fit;
    if (s.Bep && s.Bep->Flow >= fit.MinFlow && s.Bep->Flow <= fit.MaxFlow) {
        chart.Bep = Display(s.Bep->Flow, fit.Head(s.Bep->Flow));
        chart.BepLabel = "BEP " + Format("%0.3g", {s.Bep->Efficiency * kPercent}) + " %";
        const double low = std::max(fit.MinFlow, s.Bep->Flow * kPreferredLow);
        const double high = std::min(fit.MaxFlow, s.Bep->Flow * kPreferredHigh);
        if (low < high) chart.PreferredRegion = std::pair{FlowView().ToShown(low), FlowView().ToShown(high)};
    }
    for (const TNpshPointResult& p : s.NpshCurve) {
        chart.NpshAvailable.push_back(Display(p.Flow, p.Available));
        if (p.Required) chart.NpshRequired.push_back(Display(p.Flow, *p.Required));
    }
}

} // namespace

void DropSelectionPart(TPumpChart& chart) {
    chart.StandbyCurve.clear();
    chart.StandbyDuty.reset();
    chart.StandbyLabel.clear();
    chart.Bep.reset();
    chart.BepLabel.clear();
    chart.PreferredRegion.reset();
    chart.NpshAvailable.clear();
    chart.NpshRequired.clear();
}

bool HasSelectionPart(const TPumpChart& c) {
    return !c.StandbyCurve.empty() || c.StandbyDuty || c.Bep || c.PreferredRegion || !c.NpshAvailable.empty() ||
           !c.NpshRequired.empty();
}

TPumpRowsResult ReadPumpRows(const std::vector<TPumpRowText>& rows, const std::vector<TPumpPoint>& shown,
                             const std::vector<TNpshPoint>& shownNpsh) {
    TPumpRowsResult result;
    // Which shown row each shown point and NPSH point went into.
    const std::vector<TPumpRowText> shownRows = PumpRowsOf(shown, shownNpsh);
    std::vector<std::optional<TPumpPoint>> shownPoint(shownRows.size());
    std::vector<std::optional<TNpshPoint>> shownRequired(shownRows.size());
    for (std::size_t j = 0; j < shown.size(); ++j) shownPoint[j] = shown[j];
    {
        std::size_t extra = shown.size();
        for (const TNpshPoint& n : shownNpsh) {
            const auto same = std::find_if(shown.begin(), shown.end(), [&](const TPumpPoint& p) { return p.Flow == n.Flow; });
            const std::size_t row = same != shown.end() ? static_cast<std::size_t>(same - shown.begin()) : extra++;
            if (row < shownRequired.size() && !shownRequired[row]) shownRequired[row] = n;
        }
    }
    std::vector<bool> used(shownRows.size(), false);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TPumpRowText& row = rows[i];
        if (Blank(row.Flow) && Blank(row.Head) && Blank(row.Efficiency) && Blank(row.Npsh)) continue;
        // The project file holds at most this many; more could not be read back.
        if (static_cast<int>(std::max(result.Points.size(), result.Npsh.size())) >= kMaxPumpPoints) {
            result.Error = Format("At most %d pump points.", {kMaxPumpPoints});
            return result;
        }
        // Rows may have moved up when one above was deleted: match by text.
        bool matched = false;
        for (std::size_t j = 0; j < shownRows.size() && !matched; ++j) {
            if (used[j] || row.Flow != shownRows[j].Flow || row.Head != shownRows[j].Head ||
                row.Efficiency != shownRows[j].Efficiency || row.Npsh != shownRows[j].Npsh)
                continue;
            used[j] = true;
            matched = true;
            if (shownPoint[j]) result.Points.push_back(*shownPoint[j]);
            if (shownRequired[j]) result.Npsh.push_back(*shownRequired[j]);
        }
        if (matched) continue;
        const std::string where = Format("Row %d: ", {static_cast<int>(i) + 1});
        const std::optional<double> flow = TryStrToFloat(row.Flow);
        if (!flow || !std::isfinite(*flow)) {
            result.Error = where + "the flow is not a number.";
            return result;
        }
        const bool npshOnly = Blank(row.Head) && Blank(row.Efficiency) && !Blank(row.Npsh);
        if (!Blank(row.Npsh)) {
            const std::optional<double> required = TryStrToFloat(row.Npsh);
            if (!required || !std::isfinite(*required) || *required < 0) {
                result.Error = where + "the NPSH required is not a number of 0 or more.";
                return result;
            }
            result.Npsh.push_back({FlowView().FromShown(*flow), HeadView().FromShown(*required)});
        }
        if (npshOnly) continue;
        const std::optional<double> head = TryStrToFloat(row.Head);
        if (!head || !std::isfinite(*head)) {
            result.Error = where + "the head is not a number.";
            return result;
        }
        double efficiency = 0;
        if (!Blank(row.Efficiency)) {
            const std::optional<double> e = TryStrToFloat(row.Efficiency);
            if (!e || !(*e >= 0 && *e <= 100)) {
                result.Error = where + "the efficiency must be 0 to 100 %.";
                return result;
            }
            efficiency = *e / kPercent;
        }
        result.Points.push_back({FlowView().FromShown(*flow), HeadView().FromShown(*head), efficiency});
    }
    // The NPSH curve is read by flow; two points at one flow say two things.
    std::stable_sort(result.Npsh.begin(), result.Npsh.end(),
                     [](const TNpshPoint& a, const TNpshPoint& b) { return a.Flow < b.Flow; });
    for (std::size_t i = 1; i < result.Npsh.size(); ++i)
        if (result.Npsh[i].Flow == result.Npsh[i - 1].Flow) {
            result.Error = "Two NPSH required values are given at the flow " + FlowView().Text(result.Npsh[i].Flow) +
                           " " + FlowView().Label() + ".";
            return result;
        }
    return result;
}

std::vector<TPumpRowText> PumpRowsOf(const std::vector<TPumpPoint>& points, const std::vector<TNpshPoint>& npsh) {
    std::vector<TPumpRowText> rows;
    const TUnitView flow = FlowView();
    const TUnitView head = HeadView();
    for (const TPumpPoint& p : points)
        rows.push_back({flow.Text(p.Flow), head.Text(p.Head),
                        p.Efficiency > 0 ? Num(p.Efficiency * kPercent) : std::string()});
    for (const TNpshPoint& n : npsh) {
        const auto same = std::find_if(points.begin(), points.end(), [&](const TPumpPoint& p) { return p.Flow == n.Flow; });
        if (same != points.end() && rows[static_cast<std::size_t>(same - points.begin())].Npsh.empty())
            rows[static_cast<std::size_t>(same - points.begin())].Npsh = head.Text(n.Required);
        else
            rows.push_back({flow.Text(n.Flow), "", "", head.Text(n.Required)});
    }
    return rows;
}

std::string PumpCellText(int column, const std::string& typed) {
    const std::optional<double> v = TryStrToFloat(typed);
    if (!v || !std::isfinite(*v)) return typed;
    switch (column) {
    case 0: return FlowView().Text(FlowView().FromShown(*v));
    case 1:
    case 3: return HeadView().Text(HeadView().FromShown(*v));
    default: return Num(*v);
    }
}

TUnitView PumpHeadView() { return HeadView(); }
TUnitView PumpDropView(const TPumpAnalysis& analysis) { return DropView(analysis); }

std::string FlowAxisTitle() { return "Flow (" + FlowView().Label() + ")"; }
std::string HeadAxisTitle() { return "Head (" + HeadView().Label() + ")"; }

double NiceCeiling(double v) {
    if (!(v > 0) || !std::isfinite(v)) return 1;
    const double decade = std::pow(10.0, std::floor(std::log10(v)));
    for (double step : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (step * decade >= v * (1 - 1e-12)) return step * decade;
    return 10 * decade;
}

double TickStep(double end) { return NiceCeiling(end / 8); }

double AxisEnd(double v) {
    if (!(v > 0) || !std::isfinite(v)) return 1;
    const double step = TickStep(v);
    // The next grid line at or above v; a v on a line ends there.
    return std::ceil(v / step * (1 - 1e-12)) * step;
}

TPumpChart ChartOf(const TPumpAnalysis& a, const TPumpSettings& pump) {
    TPumpChart chart;
    if (a.Curve) {
        for (const TCurvePoint& p : a.Curve->Points) chart.System.push_back(Display(p.Flow, p.Head));
        chart.Design = Display(a.Curve->Design.Flow, a.Curve->Design.Head);
        chart.DesignLabel = "Design " + WithUnit(FlowView(), a.Curve->Design.Flow) + ", " +
                            WithUnit(HeadView(), a.Curve->Design.Head);
    }
    if (a.Fit && a.Fit->Valid)
        for (const TPumpPoint& p : SampleFit(*a.Fit, 41)) chart.PumpCurve.push_back(Display(p.Flow, p.Head));
    // The points in force: the entered ones at the speed and number of
    // pumps chosen (the entered ones themselves for one pump at rated speed),
    // so that they lie on the curve drawn through them.
    const std::vector<TPumpPoint>& points = a.Points.empty() ? pump.Points : a.Points;
    for (const TPumpPoint& p : points)
        if (std::isfinite(p.Flow) && std::isfinite(p.Head)) chart.PumpPoints.push_back(Display(p.Flow, p.Head));
    for (const TPumpPoint& p : points)
        if (std::isfinite(p.Flow) && p.Efficiency > 0)
            chart.Efficiency.push_back({FlowView().ToShown(p.Flow), p.Efficiency * kPercent});
    std::sort(chart.Efficiency.begin(), chart.Efficiency.end(),
              [](const TChartPoint& a, const TChartPoint& b) { return a.X < b.X; });
    if (a.Duty && a.Duty->Found) {
        chart.Duty = Display(a.Duty->Flow, a.Duty->Head);
        chart.DutyLabel = "Duty " + WithUnit(FlowView(), a.Duty->Flow) + ", " + WithUnit(HeadView(), a.Duty->Head);
    }
    AddSelectionPart(chart, a, pump);
    double maxX = 0, maxY = 0;
    for (const auto* series : {&chart.System, &chart.PumpCurve, &chart.PumpPoints, &chart.StandbyCurve,
                               &chart.NpshAvailable, &chart.NpshRequired})
        for (const TChartPoint& p : *series) {
            maxX = std::max(maxX, p.X);
            maxY = std::max(maxY, p.Y);
        }
    for (const TChartPoint& p : chart.Efficiency) maxX = std::max(maxX, p.X);
    chart.MaxX = AxisEnd(maxX);
    chart.MaxY = AxisEnd(maxY * 1.05); // room for the labels above the highest point
    return chart;
}

std::string DesignText(const TPumpAnalysis& a) {
    if (!a.Curve) return {};
    const TCurvePoint& d = a.Curve->Design;
    return "Design point: " + WithUnit(FlowView(), d.Flow) + ", " + WithUnit(HeadView(), d.Head) + " (" +
           WithUnit(DropView(a), d.PressureDrop) + ")";
}

std::string FitText(const TPumpAnalysis& a) {
    if (!a.Fit || !a.Fit->Valid) return {};
    // Coefficients for H and Q in the units of the chart, as the engineer
    // reads it: H' = kH·H and Q' = kQ·Q turn H = A + B·Q + C·Q² into
    // H' = kH·A + (kH·B/kQ)·Q' + (kH·C/kQ²)·Q'².
    const TPumpFit& f = *a.Fit;
    const TUnitView flow = FlowView();
    const TUnitView head = HeadView();
    const double kQ = flow.ToShown(1);
    const double kH = head.ToShown(1);
    const double a0 = kH * f.A;
    const double b = kH * f.B / kQ;
    const double c = kH * f.C / (kQ * kQ);
    const double qMax = f.MaxFlow * kQ;
    const double scale = std::max({std::fabs(a0), std::fabs(b) * qMax, std::fabs(c) * qMax * qMax});
    // A term worth less than a billionth of the head over the range is
    // rounding left by the fit, not part of the curve.
    auto term = [&](double v, double qPower, const char* power) {
        if (std::fabs(v) * qPower <= 1e-9 * scale) return std::string();
        return std::string(v < 0 ? " - " : " + ") + Num(std::fabs(v)) + power;
    };
    return "Pump: H = " + Num(a0) + term(b, qMax, " Q") + term(c, qMax * qMax, " Q²") + " (H in " + head.Label() +
           ", Q in " + flow.Label() + "), residual " + Format("%0.3f", {kH * f.Residual}) + " " + head.Label();
}

std::string DutyText(const TPumpAnalysis& a) {
    if (!a.Duty || !a.Duty->Found) return {};
    const TDutyPoint& d = *a.Duty;
    std::string text = "Duty point: " + WithUnit(FlowView(), d.Flow) + ", " + WithUnit(HeadView(), d.Head) + " (" +
                       WithUnit(DropView(a), d.PressureDrop) + "), " + Format("%0.3f", {d.Ratio}) + " × design flow";
    if (d.HasPower) {
        // Power follows the head: kW beside metres, horsepower beside feet.
        constexpr double kWattsPerHorsepower = 745.69987158227022; // mechanical horsepower, W
        const bool metric = HeadView().IsMetric();
        text += "; efficiency " + Format("%0.1f", {d.Efficiency * kPercent}) + " %, shaft power " +
                Format("%0.3g", {d.ShaftPower / (metric ? 1000 : kWattsPerHorsepower)}) + (metric ? " kW" : " hp");
    }
    return text;
}

std::vector<std::string> SummaryLines(const TPumpAnalysis& a) {
    std::vector<std::string> lines;
    for (const std::string& line : {DesignText(a), FitText(a), DutyText(a)})
        if (!line.empty()) lines.push_back(line);
    for (const std::string& m : a.Messages) lines.push_back(m);
    return lines;
}

} // namespace dvx
