// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The duty point: the flow at which the pump's head equals the head the
// circuit needs. Only the pump's range (its smallest to its largest point
// flow) is searched; where the curves do not meet there the result says so
// and gives no point.

#include "engine/hydraulics/PumpFit.h"
#include "engine/hydraulics/SystemCurve.h"

#include <span>
#include <string>
#include <vector>

namespace dvx {

struct TDutyPoint {
    bool Found = false;      // false: Message says why there is none
    double Ratio = 0;        // —, flow as a multiple of the design flow
    double Flow = 0;         // m³/s
    double Head = 0;         // m of the circuit's liquid
    double PressureDrop = 0; // Pa, the circuit's drop at this flow, static head included
    bool HasPower = false;   // an efficiency is known at this flow
    double Efficiency = 0;   // —, 0 to 1
    double ShaftPower = 0;   // W, ρ·g·Q·H / efficiency
    std::string Message;     // why there is no point, or why no power; empty when all is given
    // Where the circuit's curve jumps (the friction law changes between
    // laminar and turbulent flow) right at the duty flow, Head is the pump's
    // head there and this says so; empty otherwise.
    std::string JumpMessage;
    // m³/s, the flows of every other crossing of the two curves in the
    // pump's range, ascending; Flow is the first crossing from above.
    std::vector<double> OtherCrossings;
};

// The duty point of the fitted pump on the curve of the calculated circuit.
// The circuit is solved afresh at every trial flow, so the point does not
// depend on how finely the curve is sampled. Efficiencies come from the
// points that give one, interpolated linearly in flow between them.
TDutyPoint FindDutyPoint(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                         const TSystemCurve& curve, const TPumpFit& fit, std::span<const TPumpPoint> points);

// —, the efficiency at flow q (m³/s) from the points that give one, linear
// between neighbours; 0 when fewer than two give one or q is outside them.
double EfficiencyAt(std::span<const TPumpPoint> points, double q);

} // namespace dvx
