// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/PumpFit.h"

#include "base/Format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace dvx {

namespace {

using Matrix3 = std::array<std::array<double, 4>, 3>; // augmented 3 × 3 system

// Gaussian elimination with partial pivoting; false when singular.
bool Solve3(Matrix3 m, std::array<double, 3>& x) {
    for (int col = 0; col < 3; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 3; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
        if (!(std::fabs(m[pivot][col]) > 1e-14)) return false;
        std::swap(m[col], m[pivot]);
        for (int r = col + 1; r < 3; ++r) {
            const double k = m[r][col] / m[col][col];
            for (int c = col; c < 4; ++c) m[r][c] -= k * m[col][c];
        }
    }
    for (int r = 2; r >= 0; --r) {
        double sum = m[r][3];
        for (int c = r + 1; c < 3; ++c) sum -= m[r][c] * x[c];
        x[r] = sum / m[r][r];
    }
    return true;
}

std::string LitresPerSecond(double q) { return Format("%0.4g", {q * 1000}); }

} // namespace

TPumpFit FitPumpCurve(std::span<const TPumpPoint> points) {
    TPumpFit fit;
    if (static_cast<int>(points.size()) < kMinPumpPoints) {
        fit.Message = Format("A pump curve needs at least %d points.", {kMinPumpPoints});
        return fit;
    }
    std::set<double> flows;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TPumpPoint& p = points[i];
        const int row = static_cast<int>(i) + 1;
        if (!std::isfinite(p.Flow) || !std::isfinite(p.Head)) {
            fit.Message = Format("Pump point %d is not a number.", {row});
            return fit;
        }
        if (p.Flow < 0 || p.Head < 0) {
            fit.Message = Format("Pump point %d: flow and head may not be negative.", {row});
            return fit;
        }
        flows.insert(p.Flow);
    }
    if (static_cast<int>(flows.size()) < kMinPumpPoints) {
        fit.Message = Format("The pump points need at least %d different flows.", {kMinPumpPoints});
        return fit;
    }
    fit.MinFlow = *flows.begin();
    fit.MaxFlow = *flows.rbegin();

    // Normal equations in x = Q / MaxFlow, which keeps them well conditioned
    // whatever the unit of flow; the coefficients are scaled back afterwards.
    const double scale = fit.MaxFlow;
    std::array<double, 5> sx{};  // Σ x^k, k = 0..4
    std::array<double, 3> sxy{}; // Σ x^k · H, k = 0..2
    for (const TPumpPoint& p : points) {
        const double x = p.Flow / scale;
        double xk = 1;
        for (int k = 0; k < 5; ++k) {
            sx[k] += xk;
            if (k < 3) sxy[k] += xk * p.Head;
            xk *= x;
        }
    }
    Matrix3 m{};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) m[r][c] = sx[r + c];
        m[r][3] = sxy[r];
    }
    std::array<double, 3> coef{};
    if (!Solve3(m, coef)) {
        fit.Message = "No curve fits these pump points.";
        return fit;
    }
    fit.A = coef[0];
    fit.B = coef[1] / scale;
    fit.C = coef[2] / (scale * scale);

    double squares = 0;
    for (const TPumpPoint& p : points) {
        const double d = fit.Head(p.Flow) - p.Head;
        squares += d * d;
    }
    fit.Residual = std::sqrt(squares / static_cast<double>(points.size()));
    fit.Valid = true;

    // The slope B + 2·C·Q is linear in Q, so its largest value in the range is
    // at one end. A slope that is positive only by rounding does not count.
    const double tolerance = 1e-9 * std::max(std::fabs(fit.A), 1.0) / scale;
    const double slopeLow = fit.B + 2 * fit.C * fit.MinFlow;
    const double slopeHigh = fit.B + 2 * fit.C * fit.MaxFlow;
    if (slopeLow > tolerance || slopeHigh > tolerance) {
        fit.Falling = false;
        // Where the head rises: from the range's start to the top of the
        // parabola, or from there to the range's end.
        double from = fit.MinFlow;
        double to = fit.MaxFlow;
        if (fit.C != 0 && (slopeLow > tolerance) != (slopeHigh > tolerance)) {
            const double top = std::clamp(-fit.B / (2 * fit.C), fit.MinFlow, fit.MaxFlow);
            if (slopeLow > tolerance) to = top;
            else from = top;
        }
        fit.Message = Format("The fitted pump curve rises between %s and %s l/s.",
                             {LitresPerSecond(from), LitresPerSecond(to)});
    }
    return fit;
}

} // namespace dvx
