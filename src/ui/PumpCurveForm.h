// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pump and system-curve window without its widgets: the point table's
// text read into pump points, and the analysis turned into what the plot and
// the labels show, in the program's display units (flow l/s, head m,
// pressure kPa, efficiency %, power kW). The report page and the window both
// draw from a TPumpChart.

#include "hydraulics/PumpAnalysis.h"

#include <optional>
#include <string>
#include <vector>

namespace dvx {

// One row of the point table as typed: flow (l/s), head (m), efficiency (%).
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
    double X = 0; // l/s
    double Y = 0; // m
};

struct TPumpChart {
    std::vector<TChartPoint> System;     // the system curve
    std::vector<TChartPoint> PumpCurve;  // the fitted pump curve over its range
    std::vector<TChartPoint> PumpPoints; // the points entered
    std::optional<TChartPoint> Design;
    std::optional<TChartPoint> Duty;
    std::string DesignLabel;   // e.g. "Design 5 l/s, 12.3 m"
    std::string DutyLabel;     // e.g. "Duty 5.62 l/s, 14.1 m"
    double MaxX = 1;           // l/s, axis ends that hold every series
    double MaxY = 1;           // m
};

inline constexpr const char* kFlowAxisTitle = "Flow (l/s)";
inline constexpr const char* kHeadAxisTitle = "Head (m)";

TPumpChart ChartOf(const TPumpAnalysis& analysis, const TPumpSpec& pump);

// The lines under the plot: the design point, the pump fit, the duty point
// (with the shaft power when known), then every message.
std::string DesignText(const TPumpAnalysis& analysis);
std::string FitText(const TPumpAnalysis& analysis);
std::string DutyText(const TPumpAnalysis& analysis);
std::vector<std::string> SummaryLines(const TPumpAnalysis& analysis);

// A round axis end at or above v (1, 2, 2.5 or 5 times a power of ten).
double NiceCeiling(double v);
// A round distance between the grid lines of an axis from 0 to end: four to
// ten of them.
double TickStep(double end);

} // namespace dvx
