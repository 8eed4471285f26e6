// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pump's characteristic as a least-squares quadratic H = A + B·Q + C·Q².
//
// A quadratic is the shape the affinity laws give a centrifugal pump, so it
// needs no more than the three points a maker's chart readily yields, passes
// through them exactly when there are three, and smooths the reading errors
// of more points instead of following them; the root-mean-square residual
// says how well the points agree with it. It is used only between the
// smallest and the largest flow entered (the pump's range). A fit that rises
// anywhere in that range is reported, since a duty point on a rising part is
// not stable.

#include "engine/hydraulics/PumpSettings.h"

#include <span>
#include <string>

namespace dvx {

struct TPumpFit {
    bool Valid = false;     // false: Message says why no curve could be fitted
    double A = 0;           // m, head at zero flow
    double B = 0;           // m per m³/s
    double C = 0;           // m per (m³/s)²
    double Residual = 0;    // m, root-mean-square difference between the points and the curve
    double MinFlow = 0;     // m³/s, the pump's range: smallest flow entered
    double MaxFlow = 0;     // m³/s, largest flow entered
    bool Falling = true;    // the head does not rise anywhere in the range
    std::string Message;    // why the fit is not valid, or a warning; empty when all is well

    // m, the fitted head at flow q (m³/s).
    double Head(double q) const { return A + q * (B + q * C); }
};

// Fits the points. Fewer than three points, fewer than three different flows,
// a negative flow or head, or a value that is not a number gives an invalid fit.
TPumpFit FitPumpCurve(std::span<const TPumpPoint> points);

} // namespace dvx
