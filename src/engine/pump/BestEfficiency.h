// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pump's efficiency region: its best efficiency point, whether a duty
// flow lies in the preferred region around it, and the largest shaft power
// the motor must cover along the curve (run-out included).

#include "engine/hydraulics/PumpFit.h"
#include "engine/hydraulics/PumpSettings.h"

#include <optional>
#include <span>

namespace dvx {

struct TBestEfficiency {
    double Flow = 0;       // m³/s
    double Efficiency = 0; // —
};

// The point of highest efficiency among the points that give one (the
// efficiency between points is linear, so the best lies on a point); none
// when fewer than two points give an efficiency.
std::optional<TBestEfficiency> BestEfficiencyPoint(std::span<const TPumpPoint> points);

// The preferred operating region: 70 % to 120 % of the best efficiency flow.
inline constexpr double kPreferredLow = 0.70;
inline constexpr double kPreferredHigh = 1.20;
bool InPreferredRegion(const TBestEfficiency& best, double flow);

// W and m³/s: the largest shaft power ρ·g·Q·H/η along the fitted curve over
// the flows where an efficiency is known, up to the pump's last point;
// none when no efficiency is known anywhere.
struct TPowerPeak {
    double Flow = 0;  // m³/s
    double Power = 0; // W
};
std::optional<TPowerPeak> LargestShaftPower(const TPumpFit& fit, std::span<const TPumpPoint> points,
                                            double density);

} // namespace dvx
