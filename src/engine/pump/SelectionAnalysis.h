// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pump selection worked out on a calculated circuit: the points in
// force (speed and several pumps), the duty with one pump fewer, the speed
// that meets the design point, the efficiency region, the motor's largest
// load, NPSH and the running cost.

#include "engine/hydraulics/DutyPoint.h"
#include "engine/hydraulics/PumpFit.h"
#include "engine/hydraulics/PumpSettings.h"
#include "engine/hydraulics/SystemCurve.h"
#include "engine/pump/BestEfficiency.h"
#include "engine/pump/RunningCost.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dvx {

// The points of `running` pumps at the selection's speed; the rated points
// themselves when one pump runs at rated speed.
std::vector<TPumpPoint> PointsInForce(std::span<const TPumpPoint> rated, const TPumpSelection& selection,
                                      int running);

// m: NPSH required at flow q (m³/s) of the pumps in force, from one pump's
// rated-speed points (linear between them); none outside them.
std::optional<double> NpshRequiredAt(const TPumpSelection& selection, double q);

struct TNpshPointResult {
    double Flow = 0;                  // m³/s, through the pumps in force
    double Available = 0;             // m
    std::optional<double> Required;   // m; none outside the NPSH points
};

struct TSelectionResult {
    std::optional<TDutyPoint> StandbyDuty;  // with one pump fewer running
    std::optional<double> SpeedForDesign;   // —, the speed ratio that meets the design point
    std::string SpeedMessage;               // why there is no such speed
    std::optional<TBestEfficiency> Bep;     // of the points in force
    std::optional<TPowerPeak> MaxShaftPower; // per pump, W, along the curve in force
    std::optional<TNpshPointResult> NpshAtDuty;
    std::vector<TNpshPointResult> NpshCurve; // at the system curve's flows within the pump's range
    std::optional<TRunningCost> Energy;
    std::vector<std::string> Messages;
};

// fit and duty: those of the points in force (duty may be empty). Never
// raises for a selection that cannot be evaluated: the reason goes into
// Messages. An item-level calculation failure (MathError) propagates.
TSelectionResult AnalyseSelection(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                                  const TPumpSettings& pump, const TSystemCurve& curve, const TPumpFit& fit,
                                  std::span<const TPumpPoint> points, const std::optional<TDutyPoint>& duty);

} // namespace dvx
