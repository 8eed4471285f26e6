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
#include <string>
#include <vector>

namespace dvx {

// One row of the point table as typed: flow and head in the display units
// (l/s and m with SI), efficiency (%).
struct TPumpRowText {
    std::string Flow;
    std::string Head;
    std::string Efficiency; // may be blank
};

struct TPumpRowsResult {
    std::vector<TPumpPoint> Points; // SI; rows left wholly blank are skipped
    std::string Error;              // the first row that does not read; empty when all do
};

// Reads the table. A row with a flow or head missing or not a number, or an
// efficiency outside 0 to 100 %, is an error naming the row ("Row 2: …");
// so are more points than a project file holds.
// `shown` are the points the table was filled with (PumpRowsOf): a row whose
// text is still what was shown for its point gives that point exactly, so
// reading an unedited table back never rounds a stored value.
TPumpRowsResult ReadPumpRows(const std::vector<TPumpRowText>& rows, const std::vector<TPumpPoint>& shown = {});
// The table's text for stored points ("%0.4g" in the display units; an
// efficiency of 0 shows blank).
std::vector<TPumpRowText> PumpRowsOf(const std::vector<TPumpPoint>& points);

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
    double MaxX = 1;           // axis ends that hold every series, display units
    double MaxY = 1;
};

// "Flow (l/s)" and "Head (m)" with the display units in force.
std::string FlowAxisTitle();
std::string HeadAxisTitle();
// The head of the point table and the static head field in the display unit
// in force (m of the circuit's liquid with SI).
TUnitView PumpHeadView();

TPumpChart ChartOf(const TPumpAnalysis& analysis, const TPumpSettings& pump);

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
