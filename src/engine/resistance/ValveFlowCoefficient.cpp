// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/resistance/ValveFlowCoefficient.h"

#include <cmath>
#include <numbers>

namespace dvx {

namespace {
constexpr double kSecondsPerHour = 3600;
constexpr double kPaPerBar = 1e5;
} // namespace

double KvPressureDrop(double flow, double kv, double density) {
    const double ratio = flow * kSecondsPerHour / kv;
    return density / KvReferenceDensity * ratio * ratio * kPaPerBar;
}

double KvForPressureDrop(double flow, double dp, double density) {
    return std::fabs(flow) * kSecondsPerHour * std::sqrt(density / KvReferenceDensity * kPaPerBar / dp);
}

double KvToResistanceK(double kv, double d) {
    // Δp at any flow Q divided by ρ·(Q/A)²/2, with A = π·d²/4.
    const double area = std::numbers::pi * d * d / 4;
    const double perFlow2 = kSecondsPerHour * kSecondsPerHour / (kv * kv) * kPaPerBar / KvReferenceDensity; // Δp/(ρ·Q²)
    return 2 * perFlow2 * area * area;
}

} // namespace dvx
