// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/WaterVapourPressure.h"

#include <array>
#include <cmath>

namespace dvx {

namespace {
// The ten coefficients of the saturation-line equation.
constexpr std::array<double, 10> n = {
    0.11670521452767e4,  -0.72421316703206e6, -0.17073846940092e2, 0.12020824702470e5,
    -0.32325550322333e7, 0.14915108613530e2,  -0.48232657361591e4, 0.40511340542057e6,
    -0.23855557567849,   0.65017534844798e3,
};
constexpr double kCriticalTemperature = 647.096; // K
} // namespace

std::optional<double> WaterVapourPressure(double t) {
    const double T = t + 273.15;
    if (!(T >= 273.15 && T <= kCriticalTemperature)) return std::nullopt;
    const double theta = T + n[8] / (T - n[9]);
    const double A = theta * theta + n[0] * theta + n[1];
    const double B = n[2] * theta * theta + n[3] * theta + n[4];
    const double C = n[5] * theta * theta + n[6] * theta + n[7];
    const double x = 2 * C / (-B + std::sqrt(B * B - 4 * A * C));
    return x * x * x * x * 1e6; // the equation gives MPa
}

} // namespace dvx
