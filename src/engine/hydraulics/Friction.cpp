// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/Friction.h"

#include <cmath>

namespace dvx {

namespace {
constexpr double kLaminarLimit = 2300;     // Re below this is laminar
constexpr double kFullyRoughLimit = 200;   // √f0·Re·r above this is fully rough
constexpr double kTolerance = 1e-6;
constexpr double kSecantFloor = 1e-12;     // smallest magnitude of the secant denominator
constexpr int kMaxPass = 20;               // the loops stop once the count exceeds this
// log10(e), the slope factor of the Colebrook step.
const double kLog10e = std::log10(std::exp(1.0));
} // namespace

double LaminarFactor(double Re) { return 64 / Re; }

double FullyRoughFactor(double r) {
    const double x = 1.14 - 2 * std::log10(r);
    return 1 / (x * x);
}

double SmoothPipeFactor(double f0, double Re) {
    double x = f0 == 0 ? 7.0 : 1 / std::sqrt(f0);
    int n = 0;
    for (;;) {
        const double previous = x;
        x = 2 * std::log10(Re / x) - 0.8;
        ++n;
        if (std::fabs(x - previous) <= kTolerance || n > kMaxPass) break;
    }
    return 1 / (x * x);
}

double ColebrookFactor(double f0, double r, double Re) {
    const double A = r / 3.71;
    const double B = 2.51 / Re;
    const double K = kLog10e;
    double x = 1 / std::sqrt(f0);
    // R estimates 1/G'(x) and is corrected to the secant slope after every step.
    double R = (A + 2 * K * B * x) / (A + B * x);
    double G = x + 2 * std::log10(A + B * x);
    int n = 0;
    for (;;) {
        const double d = -R * G;
        x += d;
        const double Gnew = x + 2 * std::log10(A + B * x);
        double S = d * R * (Gnew - G);
        if (std::fabs(S) < kSecantFloor) S = S < 0 ? -kSecantFloor : kSecantFloor;
        R = R + (-R * (S - d * d) / S);
        G = Gnew;
        ++n;
        if (std::fabs(Gnew) <= kTolerance || n > kMaxPass) break;
    }
    return 1 / (x * x);
}

TFrictionResult FrictionFactor(double f0, double eps, double D, double Re) {
    if (Re < kLaminarLimit) {
        if (Re > 0) return {LaminarFactor(Re), frLaminar};
        return {f0, frNoFlow};
    }
    if (eps == 0) return {SmoothPipeFactor(f0, Re), frSmooth};
    const double r = eps / D;
    if (f0 == 0) f0 = FullyRoughFactor(r);
    // The test uses the starting value, not the factor being computed.
    if (std::sqrt(f0) * Re * r > kFullyRoughLimit) return {FullyRoughFactor(r), frFullyRough};
    return {ColebrookFactor(f0, r, Re), frColebrook};
}

} // namespace dvx
