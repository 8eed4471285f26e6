// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the pump window, the report page and the command line show
// about a calculated circuit and its pump: the system curve, the pump fit,
// the duty point and the messages that explain anything missing.

#include "engine/hydraulics/DutyPoint.h"
#include "engine/hydraulics/PumpFit.h"
#include "engine/hydraulics/SystemCurve.h"
#include "engine/pump/SelectionAnalysis.h"

#include <optional>
#include <string>
#include <vector>

namespace dvx {

struct TPumpAnalysis {
    std::optional<TSystemCurve> Curve; // none when the curve cannot be formed
    std::optional<TPumpFit> Fit;       // none when no pump points are given
    std::vector<TPumpPoint> Points;    // the pump points in force: at the speed, all pumps running
    std::optional<TDutyPoint> Duty;    // none without a curve and a valid fit
    std::optional<TSelectionResult> Selection; // with a duty search: speed, pumps, NPSH, energy
    std::vector<std::string> Messages; // for the user, in the order they arose
    // Pa: the extra pressure drop (a balancing valve closed further) that
    // brings the duty flow down to the design flow: the pump's pressure at
    // the design flow minus the circuit's. Negative when the pump gives less
    // than the circuit needs there. None without a duty point, or when the
    // design flow lies outside the pump's points.
    std::optional<double> ExtraDropForDesign;
};

// Never raises for a circuit or pump that cannot be evaluated: the reason
// goes into Messages and the parts that depend on it stay empty.
TPumpAnalysis AnalysePump(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                          const TPumpSettings& pump);

// The fitted pump curve sampled evenly over the pump's range, for drawing.
std::vector<TPumpPoint> SampleFit(const TPumpFit& fit, int samples);

} // namespace dvx
