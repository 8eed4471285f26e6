// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A centrifugal pump at another speed, by the affinity laws: at speed ratio
// n (running speed / rated speed) every point of the rated curve moves to
// flow Q·n and head H·n², keeping its efficiency (it moves along the
// parabola H ∝ Q² through the origin, on which the flow pattern is similar);
// the shaft power goes with n³.

#include "engine/hydraulics/PumpFit.h"
#include "engine/hydraulics/PumpSettings.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dvx {

// The pump's points at speed ratio n (> 0).
std::vector<TPumpPoint> PointsAtSpeed(std::span<const TPumpPoint> rated, double n);

// W: a shaft power at rated speed carried to speed ratio n.
inline double ShaftPowerAtSpeed(double ratedPower, double n) { return ratedPower * n * n * n; }

// The speed ratio, at most 1 (rated speed), at which the fitted pump passes
// through flow q (m³/s) and head h (m), within the flow range the pump's
// points cover at that speed.
struct TSpeedForPoint {
    std::optional<double> Ratio; // —, in (0, 1]; empty when no such speed exists
    std::string Message;         // why there is none; empty when found
};
TSpeedForPoint SpeedForPoint(const TPumpFit& rated, double q, double h);

} // namespace dvx
