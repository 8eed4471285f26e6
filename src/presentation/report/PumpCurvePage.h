// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pump and system curve as a page of the circuit report, drawn with the
// page engine's lines and texts so that it looks the same in the preview, on
// paper and in a PDF: axes with round divisions in l/s and m, the system
// curve as a full line, the pump curve dashed, the pump's points as small
// squares, the design point as a cross and the duty point as a diamond, each
// of the two labelled; below the plot a key and the design, pump and duty
// lines with any message.

#include "presentation/report/PageEngine.h"
#include "presentation/ui/PumpChart.h"

#include <string>
#include <vector>

namespace dvx {

class TCircuit;
struct TProjectContext;

inline constexpr const char* kPumpPageTitle = "Pump and System Curve";
inline constexpr const char* kPumpPageKey =
    "Full line: system curve.  Dashed line: pump curve.  Squares: pump points.  "
    "Cross: design point.  Diamond: duty point.";

// Draws the page from the pen downwards.
void DrawPumpCurvePage(TPageEngine& engine, const TPumpChart& chart, const std::vector<std::string>& lines);

// The text in lines no wider than width pixels, broken at blanks; a word
// longer than the width stands on a line of its own.
std::vector<std::string> WrapText(TPageCanvas& canvas, const std::string& text, int width);

// The closing page of the circuit report for a project that uses the pump
// settings, analysed with project; empty (no page) for one that does not.
std::function<void(TPageEngine&)> PumpCurvePageFor(const TProjectContext& project, const TCircuit& circuit,
                                                   bool groupsActive);

} // namespace dvx
