// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/Root.h"

#include "base/Errors.h"
#include "base/Format.h"

#include <cmath>

namespace dvx {

double TRoot::Value(double x) const {
    if (f_ == nullptr) throw MathError("Root finder has no function");
    double v = f_(x, context_);
    if (!std::isfinite(v)) throw MathError(Format("Root finder: no value at %g", {x}));
    return v;
}

double TRoot::ForwardDifference(double x) {
    double step = std::fabs(x) * 0.000344;
    if (step == 0) step = 0.000344;
    volatile double ahead = x + step; // keep the rounding of x + step
    step = ahead - x;
    LastValue = Value(x);
    return (Value(x + step) - LastValue) / step;
}

double TRoot::Derivative(double x) {
    if (derivative_) return derivative_(x);
    return ForwardDifference(x);
}

double TRoot::Solve(double lo, double hi) {
    iterations_ = 0;
    if (lo > hi) std::swap(lo, hi);
    double flo = Value(lo);
    double fhi = Value(hi);
    if (flo == 0) return lo;
    if (fhi == 0) return hi;
    if ((flo < 0) == (fhi < 0)) throw MathError(Format("Root finder: no sign change between %g and %g", {lo, hi}));

    double x = 0.5 * (lo + hi);
    while (iterations_ < MaxIterations) {
        ++iterations_;
        double fx = Value(x);
        if (fx == 0) return x;
        // Keep the sign change inside [lo, hi].
        if ((fx < 0) == (flo < 0)) {
            lo = x;
            flo = fx;
        } else {
            hi = x;
        }
        double d = Derivative(x);
        double next = (d != 0 && std::isfinite(d)) ? x - fx / d : lo - 1; // lo - 1: not inside
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (std::fabs(next - x) <= Tolerance) return next;
        x = next;
    }
    throw MathError(Format("Root finder: no solution within %d iterations", {MaxIterations}));
}

double TRoot::SolveAbove(double lo) {
    double flo = Value(lo);
    if (flo == 0) return lo;
    double width = Step > 0 ? Step : 0.1;
    for (int k = 0; k < MaxIterations; ++k, width *= 2) {
        double hi = lo + width;
        double fhi = Value(hi);
        if (fhi == 0 || (fhi < 0) != (flo < 0)) return Solve(lo, hi);
    }
    throw MathError(Format("Root finder: no sign change above %g", {lo}));
}

} // namespace dvx
