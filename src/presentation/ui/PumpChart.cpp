// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/PumpChart.h"

#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/units/UnitView.h"

#include <algorithm>
#include <cmath>

namespace dvx {

namespace {

constexpr double kPercent = 100;

// The window's quantities in the units in force; with SI chosen they read
// l/s, m of the circuit's liquid and kPa, to four significant digits.
TUnitView FlowView() { return TUnitView(qtFlow, {"l/s", "%0.4g", Times(1000)}); }
TUnitView HeadView() { return TUnitView(qtHead, {"m", "%0.4g", Times(1)}); }
TUnitView DropView() { return TUnitView(qtPressureDrop, {"kPa", "%0.4g", Over(1000)}); }

bool Blank(const std::string& text) { return TrimBlanks(text).empty(); }

std::string Num(double v) { return Format("%0.4g", {v}); }

// A value and its unit label, "5 l/s".
std::string WithUnit(const TUnitView& view, double si) { return view.Text(si) + " " + view.Label(); }

TChartPoint Display(double flow, double head) { return {FlowView().ToShown(flow), HeadView().ToShown(head)}; }

} // namespace

TPumpRowsResult ReadPumpRows(const std::vector<TPumpRowText>& rows, const std::vector<TPumpPoint>& shown) {
    TPumpRowsResult result;
    const std::vector<TPumpRowText> shownRows = PumpRowsOf(shown);
    std::vector<bool> used(shownRows.size(), false);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TPumpRowText& row = rows[i];
        if (Blank(row.Flow) && Blank(row.Head) && Blank(row.Efficiency)) continue;
        // The project file holds at most this many; more could not be read back.
        if (static_cast<int>(result.Points.size()) >= kMaxPumpPoints) {
            result.Error = Format("At most %d pump points.", {kMaxPumpPoints});
            return result;
        }
        // Rows may have moved up when one above was deleted: match by text.
        bool matched = false;
        for (std::size_t j = 0; j < shownRows.size() && !matched; ++j) {
            if (used[j] || row.Flow != shownRows[j].Flow || row.Head != shownRows[j].Head ||
                row.Efficiency != shownRows[j].Efficiency)
                continue;
            used[j] = true;
            matched = true;
            result.Points.push_back(shown[j]);
        }
        if (matched) continue;
        const std::string where = Format("Row %d: ", {static_cast<int>(i) + 1});
        const std::optional<double> flow = TryStrToFloat(row.Flow);
        const std::optional<double> head = TryStrToFloat(row.Head);
        if (!flow || !std::isfinite(*flow)) {
            result.Error = where + "the flow is not a number.";
            return result;
        }
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
    return result;
}

std::vector<TPumpRowText> PumpRowsOf(const std::vector<TPumpPoint>& points) {
    std::vector<TPumpRowText> rows;
    const TUnitView flow = FlowView();
    const TUnitView head = HeadView();
    for (const TPumpPoint& p : points)
        rows.push_back({flow.Text(p.Flow), head.Text(p.Head),
                        p.Efficiency > 0 ? Num(p.Efficiency * kPercent) : std::string()});
    return rows;
}

TUnitView PumpHeadView() { return HeadView(); }

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
    for (const TPumpPoint& p : pump.Points)
        if (std::isfinite(p.Flow) && std::isfinite(p.Head)) chart.PumpPoints.push_back(Display(p.Flow, p.Head));
    for (const TPumpPoint& p : pump.Points)
        if (std::isfinite(p.Flow) && p.Efficiency > 0)
            chart.Efficiency.push_back({FlowView().ToShown(p.Flow), p.Efficiency * kPercent});
    std::sort(chart.Efficiency.begin(), chart.Efficiency.end(),
              [](const TChartPoint& a, const TChartPoint& b) { return a.X < b.X; });
    if (a.Duty && a.Duty->Found) {
        chart.Duty = Display(a.Duty->Flow, a.Duty->Head);
        chart.DutyLabel = "Duty " + WithUnit(FlowView(), a.Duty->Flow) + ", " + WithUnit(HeadView(), a.Duty->Head);
    }
    double maxX = 0, maxY = 0;
    for (const auto* series : {&chart.System, &chart.PumpCurve, &chart.PumpPoints})
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
           WithUnit(DropView(), d.PressureDrop) + ")";
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
                       WithUnit(DropView(), d.PressureDrop) + "), " + Format("%0.3f", {d.Ratio}) + " × design flow";
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
