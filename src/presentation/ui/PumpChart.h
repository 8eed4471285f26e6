// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pump and system-curve window without its widgets: the point table's
// text read into pump points, and the analysis turned into what the plot and
// the labels show, in the display units in force (with SI: flow l/s, head m,
// pressure kPa; always efficiency % and power kW). The report page and the window both
// draw from a TPumpChart.

#include "engine/pump/PumpAnalysis.h"
#include "engine/units/UnitView.h"

#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace dvx {

// One row of the point table as typed: flow and head in the display units
// (l/s and m with SI), efficiency (%).
struct TPumpRowText {
    std::string Flow;
    std::string Head;
    std::string Efficiency; // may be blank
    std::string Npsh = {};  // NPSH required at the row's flow, head unit; may be blank
};

struct TPumpRowsResult {
    std::vector<TPumpPoint> Points; // SI; rows left wholly blank are skipped
    std::vector<TNpshPoint> Npsh;   // SI, by rising flow: the rows that give an NPSH required
    std::string Error;              // the first row that does not read; empty when all do
};

// Reads the table. A row with a flow or head missing or not a number, or an
// efficiency outside 0 to 100 %, is an error naming the row ("Row 2: …");
// so are more points than a project file holds. A row with a flow and an
// NPSH required but no head and no efficiency gives an NPSH point only.
// `shown` are the points the table was filled with (PumpRowsOf): a row whose
// text is still what was shown for its point gives that point exactly, so
// reading an unedited table back never rounds a stored value.
TPumpRowsResult ReadPumpRows(const std::vector<TPumpRowText>& rows, const std::vector<TPumpPoint>& shown = {},
                             const std::vector<TNpshPoint>& shownNpsh = {});
// The table's text for stored points ("%0.4g" in the display units; an
// efficiency of 0 shows blank). An NPSH point goes into the row of the pump
// point at its flow, else into a row of its own after the pump points.
std::vector<TPumpRowText> PumpRowsOf(const std::vector<TPumpPoint>& points, const std::vector<TNpshPoint>& npsh = {});
// A number typed into the point table as the table shows it: "%0.4g" in the
// column's unit, as PumpRowsOf writes stored points. Column 0 flow, 1 head,
// 2 efficiency (%), 3 NPSH required (head unit). Text that is no number
// comes back as it is.
std::string PumpCellText(int column, const std::string& typed);

struct TChartPoint {
    double X = 0; // flow in the display unit (l/s with SI)
    double Y = 0; // head in the display unit (m with SI)
};

struct TPumpChart {
    std::vector<TChartPoint> System;     // the system curve
    std::vector<TChartPoint> PumpCurve;  // the fitted pump curve over its range
    std::vector<TChartPoint> PumpPoints; // the points entered
    // The points that give an efficiency, by flow: X the flow in the display
    // unit, Y the efficiency in % (drawn against an axis of its own).
    std::vector<TChartPoint> Efficiency;
    std::optional<TChartPoint> Design;
    std::optional<TChartPoint> Duty;
    std::string DesignLabel;   // e.g. "Design 5 l/s, 12.3 m"
    std::string DutyLabel;     // e.g. "Duty 5.62 l/s, 14.1 m"
    // The pump selection's part of the plot, empty without it.
    std::vector<TChartPoint> StandbyCurve; // the pump curve with one pump fewer running
    std::optional<TChartPoint> StandbyDuty;
    std::string StandbyLabel;              // e.g. "1 pump: 9.8 l/s, 16.2 m"
    std::optional<TChartPoint> Bep;        // the best efficiency point on the pump curve
    std::string BepLabel;                  // e.g. "BEP 78 %"
    // The flows (display unit) of 70 % and 120 % of the best efficiency
    // flow, within the pump curve's range: the preferred region.
    std::optional<std::pair<double, double>> PreferredRegion;
    // NPSH available and required against flow, Y in the head's display unit.
    std::vector<TChartPoint> NpshAvailable;
    std::vector<TChartPoint> NpshRequired;
    double MaxX = 1;           // axis ends that hold every series, display units
    double MaxY = 1;
};

// "Flow (l/s)" and "Head (m)" with the display units in force.
std::string FlowAxisTitle();
std::string HeadAxisTitle();
// The head of the point table and the static head field in the display unit
// in force (m of the circuit's liquid with SI).
TUnitView PumpHeadView();
// A pressure drop of the analysis in the display unit in force; shown as
// head it takes the density the analysis' heads are in.
TUnitView PumpDropView(const TPumpAnalysis& analysis);

TPumpChart ChartOf(const TPumpAnalysis& analysis, const TPumpSettings& pump);
// The chart without the selection's part (what a project that uses no
// selection has always shown).
void DropSelectionPart(TPumpChart& chart);
// Whether the chart holds any of the selection's part.
bool HasSelectionPart(const TPumpChart& chart);

// The lines under the plot: the design point, the pump fit, the duty point
// (with the shaft power when known), then every message.
std::string DesignText(const TPumpAnalysis& analysis);
std::string FitText(const TPumpAnalysis& analysis);
std::string DutyText(const TPumpAnalysis& analysis);
std::vector<std::string> SummaryLines(const TPumpAnalysis& analysis);

// A round axis end at or above v (1, 2, 2.5 or 5 times a power of ten).
double NiceCeiling(double v);
// A round distance between the grid lines of an axis from 0 to end: at most
// eight of them.
double TickStep(double end);
// The end of an axis that holds v: the first grid line at or above it, so
// that the data fills the plot (a head of 33.6 m ends the axis at 35 m).
double AxisEnd(double v);

} // namespace dvx
