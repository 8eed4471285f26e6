// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-variable root finder: f(x) = 0 by Newton's method, the step taken
// from the derivative, with bisection whenever a Newton step would leave the
// bracket that holds the sign change. Without a derivative of its own, the
// finder uses a forward difference.

#include <functional>

namespace dvx {

// The function to be solved, with the caller's context.
using TRootFunction = double (*)(double x, void* context);

class TRoot {
public:
    TRoot() = default;
    TRoot(TRootFunction f, void* context) : f_(f), context_(context) {}

    void SetFunction(TRootFunction f, void* context) {
        f_ = f;
        context_ = context;
    }
    // The derivative of f; an empty function selects the forward difference.
    void SetDerivative(std::function<double(double)> derivative) { derivative_ = std::move(derivative); }
    void SetTolerance(double tolerance, int maxIterations) {
        Tolerance = tolerance;
        MaxIterations = maxIterations;
    }
    void SetStep(double step) { Step = step; }

    double Tolerance = 1e-6; // in units of x: the solution is found when a step is no larger
    double Step = 0.1;       // in units of x: first width of the search for a bracket
    int MaxIterations = 50;
    double LastValue = 0;    // f at the last point the forward difference evaluated

    double Value(double x) const;
    // The given derivative, or the forward difference.
    double Derivative(double x);
    // (f(x + h) − f(x)) / h with h = |x|·0.000344 (0.000344 at x = 0), h taken
    // as (x + h) − x so that it is exact; stores f(x) as LastValue.
    double ForwardDifference(double x);

    // The root inside [lo, hi]; f(lo) and f(hi) must differ in sign (or one
    // be zero). Raises MathError when they do not, when f gives no number, or
    // when MaxIterations steps do not reach Tolerance.
    double Solve(double lo, double hi);
    // The root above lo: the bracket [lo, lo + Step·2^k] is widened until f
    // changes sign (at most MaxIterations times), then Solve.
    double SolveAbove(double lo);
    // Iterations the last Solve took.
    int Iterations() const { return iterations_; }

private:
    TRootFunction f_ = nullptr;
    void* context_ = nullptr;
    std::function<double(double)> derivative_;
    int iterations_ = 0;
};

} // namespace dvx
