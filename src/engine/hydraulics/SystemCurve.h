// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system curve of the index circuit: its pressure drop when every item
// carries s times its design flow. Pipes and fittings are solved again at
// the scaled flow by the same friction-factor rules and the same liquid, so a
// run that turns laminar at low flow follows the laminar law; a user item's
// fixed drop scales with s². Groups count as in the circuit calculation.
// An optional static head (open circuits) adds a constant.

#include "engine/hydraulics/Circuit.h"
#include "engine/hydraulics/PumpSettings.h"

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace dvx {

inline constexpr double kGravity = 9.80665; // m/s², standard gravity

// A system curve that cannot be formed; the message is for the user.
class CurveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TCurvePoint {
    double Ratio = 0;        // —, flow as a multiple of the design flow
    double Flow = 0;         // m³/s, Ratio × the design flow
    double PressureDrop = 0; // Pa, including the static head
    double Head = 0;         // m of the circuit's liquid, including the static head
};

struct TSystemCurve {
    double DesignFlow = 0;  // m³/s, the largest flow among the items counted in the index total
    double Density = 0;     // kg/m³, the liquid's density the heads are expressed in
    double StaticHead = 0;  // m
    TCurvePoint Design;     // ratio 1: the circuit's calculated total plus the static head
    std::vector<TCurvePoint> Points; // ratio 0 to the maximum ratio, evenly spaced

    // The point at flow ratio s, solved afresh from the circuit.
    TCurvePoint At(const TProjectContext& project, const TCircuit& circuit, bool groupsActive, double s) const;
    // The point at flow ratio s whose index drop (Pa, no static head) is dp.
    TCurvePoint PointOf(double s, double dp) const;
};

// Pa, the index-circuit pressure drop at flow ratio s, without static head.
// At s = 1 it is the sum of the items' calculated drops, which is exactly the
// circuit's TotalDP. A result that is not a finite number raises CalculationError.
double IndexDropAtRatio(const TProjectContext& project, const TCircuit& circuit, bool groupsActive, double s);
// The same for every ratio at once (drops has one slot per ratio).
void IndexDropsAtRatios(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                        std::span<const double> ratios, std::span<double> drops);

// The curve of a calculated circuit. Raises CurveError when the circuit is not
// calculated, carries no flow, the liquid has no density or the settings are
// outside their range; a fault in the calculation raises CalculationError.
TSystemCurve BuildSystemCurve(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                              const TCurveSettings& settings);

// m of liquid of density ro (kg/m³) for a pressure dp (Pa), and back.
inline double HeadOf(double dp, double ro) { return dp / (ro * kGravity); }
inline double PressureOf(double head, double ro) { return head * (ro * kGravity); }

} // namespace dvx
