// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/pump/BestEfficiency.h"

#include "engine/hydraulics/DutyPoint.h"
#include "engine/hydraulics/SystemCurve.h"

#include <algorithm>
#include <cmath>

namespace dvx {

std::optional<TBestEfficiency> BestEfficiencyPoint(std::span<const TPumpPoint> points) {
    std::optional<TBestEfficiency> best;
    int withEfficiency = 0;
    for (const TPumpPoint& p : points) {
        if (!(p.Efficiency > 0)) continue;
        ++withEfficiency;
        if (!best || p.Efficiency > best->Efficiency) best = TBestEfficiency{p.Flow, p.Efficiency};
    }
    if (withEfficiency < 2) return std::nullopt;
    return best;
}

bool InPreferredRegion(const TBestEfficiency& best, double flow) {
    return flow >= kPreferredLow * best.Flow && flow <= kPreferredHigh * best.Flow;
}

std::optional<TPowerPeak> LargestShaftPower(const TPumpFit& fit, std::span<const TPumpPoint> points,
                                            double density) {
    if (!fit.Valid) return std::nullopt;
    double low = INFINITY, high = -INFINITY;
    for (const TPumpPoint& p : points)
        if (p.Efficiency > 0) {
            low = std::fmin(low, p.Flow);
            high = std::fmax(high, p.Flow);
        }
    if (!(high > low)) return std::nullopt;
    // The power between efficiency points is a smooth function of flow;
    // 2000 samples resolve its peak far below any reading error of a chart.
    std::optional<TPowerPeak> peak;
    constexpr int kSamples = 2000;
    for (int i = 0; i <= kSamples; ++i) {
        const double q = low + (high - low) * i / kSamples;
        const double eta = EfficiencyAt(points, q);
        if (!(eta > 0)) continue;
        const double power = density * kGravity * q * fit.Head(q) / eta;
        if (!peak || power > peak->Power) peak = TPowerPeak{q, power};
    }
    return peak;
}

} // namespace dvx
