// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/pump/Affinity.h"

#include <cmath>

namespace dvx {

std::vector<TPumpPoint> PointsAtSpeed(std::span<const TPumpPoint> rated, double n) {
    std::vector<TPumpPoint> points;
    points.reserve(rated.size());
    for (const TPumpPoint& p : rated) points.push_back({p.Flow * n, p.Head * n * n, p.Efficiency});
    return points;
}

TSpeedForPoint SpeedForPoint(const TPumpFit& rated, double q, double h) {
    if (!rated.Valid) return {std::nullopt, "no pump curve"};
    if (!(q > 0) || !(h > 0) || !std::isfinite(q) || !std::isfinite(h))
        return {std::nullopt, "the design point needs a flow and a head above zero"};
    // At speed n the pump covers flows n·MinFlow to n·MaxFlow; the point's
    // flow q is inside that range for n from q/MaxFlow to q/MinFlow.
    const double lowest = q / rated.MaxFlow;
    const double highest = rated.MinFlow > 0 ? std::fmin(1.0, q / rated.MinFlow) : 1.0;
    if (lowest > 1) return {std::nullopt, "the design flow is beyond the pump's range at rated speed"};
    if (lowest > highest) return {std::nullopt, "the design flow is outside the pump's range at every speed"};
    // g(n) = n²·H(q/n) − h rises with n on a falling curve (a smaller flow
    // share and a larger n² both add head), so one bisection finds the root.
    auto g = [&](double n) { return n * n * rated.Head(q / n) - h; };
    if (g(highest) < 0)
        return {std::nullopt, highest < 1 ? "the pump gives too little head at this flow within its range"
                                          : "the pump gives too little head at this flow even at rated speed"};
    if (g(lowest) > 0) return {std::nullopt, "the pump gives too much head at this flow at every speed within its range"};
    double lo = lowest, hi = highest;
    for (int i = 0; i < 200 && hi - lo > 1e-13; ++i) {
        const double mid = 0.5 * (lo + hi);
        (g(mid) < 0 ? lo : hi) = mid;
    }
    return {0.5 * (lo + hi), {}};
}

} // namespace dvx
