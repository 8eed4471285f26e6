// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/CorrelationForms.h"

#include "base/Errors.h"

#include <cmath>

namespace dvx {

double RealPower(double x, double y) {
    if (x == 0) return 0;
    if (x < 0 || std::isnan(x)) throw MathError("Invalid floating point operation");
    return std::exp(y * std::log(x));
}

double Poly(double T, std::initializer_list<double> c) {
    long double sum = 0;
    for (auto it = c.end(); it != c.begin();) {
        --it;
        sum = sum * T + *it;
    }
    return static_cast<double>(sum);
}

double PowerCurve(double T, double a, double b, double c) {
    return RealPower(a + b * T, -1.0 / c);
}

double LogisticCurve(double T, double k0, double k1, double k2, double k3) {
    return k0 / RealPower(1.0 + std::exp(k1 - k2 * T), 1.0 / k3);
}

double RationalCurve(double T, double r0, double r1, double r2, double r3) {
    const double denominator = 1.0 + r2 * T + r3 * T * T;
    if (denominator == 0) throw MathError("Floating point division by zero");
    return (r0 + r1 * T) / denominator;
}

double ClampBothWays(double T, double min, double max) {
    if (T < min) return min + 0.01;
    if (T > max) return max - 0.01;
    return T;
}

double ClampBelow(double T, double min) {
    return T > min ? T : min + 0.01;
}

int OutOfRange(double T, double min, double max) {
    return (min <= T && T <= max) ? 0 : 1;
}

} // namespace dvx
