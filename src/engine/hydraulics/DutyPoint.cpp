// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/DutyPoint.h"

#include "base/Errors.h"
#include "base/Format.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace dvx {

namespace {

// Trial flows spread over the range of a pump whose fitted curve rises
// somewhere: it may cross the system curve more than once, and the crossing
// from above is the stable one.
constexpr int kScanIntervals = 16;

struct Excess {
    const TProjectContext* project;
    const TCircuit* circuit;
    bool groupsActive;
    const TSystemCurve* curve;
    const TPumpFit* fit;

    // m, pump head minus the head the circuit needs at flow q.
    double operator()(double q) const {
        const double s = q / curve->DesignFlow;
        return fit->Head(q) - curve->At(*project, *circuit, groupsActive, s).Head;
    }
};

// Brent's method on [a, b], where f(a) ≥ 0 ≥ f(b): inverse quadratic
// interpolation and secant steps while they make progress, bisection when
// they do not, so the bracket always shrinks. The circuit's drop is smooth
// only piecewise (regime changes, and friction iterations that stop at a
// tolerance), which upsets methods that trust a derivative; this one
// needs none and ends within a bounded number of evaluations.
double Brent(const Excess& f, double a, double b, double fa, double fb, double tolerance) {
    double c = a, fc = fa, d = b - a, e = d;
    for (int iteration = 0; iteration < 200; ++iteration) {
        if ((fb > 0) == (fc > 0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol = 2 * std::numeric_limits<double>::epsilon() * std::fabs(b) + 0.5 * tolerance;
        const double m = 0.5 * (c - b);
        if (std::fabs(m) <= tol || fb == 0) return b;
        if (std::fabs(e) >= tol && std::fabs(fa) > std::fabs(fb)) {
            double p, q;
            const double s = fb / fa;
            if (a == c) {
                p = 2 * m * s;
                q = 1 - s;
            } else {
                const double qa = fa / fc, r = fb / fc;
                p = s * (2 * m * qa * (qa - r) - (b - a) * (r - 1));
                q = (qa - 1) * (r - 1) * (s - 1);
            }
            if (p > 0) q = -q;
            else p = -p;
            if (2 * p < std::min(3 * m * q - std::fabs(tol * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = m;
                e = m;
            }
        } else {
            d = m;
            e = m;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol ? d : (m > 0 ? tol : -tol);
        fb = f(b);
    }
    return b;
}

std::string LitresPerSecond(double q) { return Format("%0.4g", {q * 1000}); }

} // namespace

double EfficiencyAt(std::span<const TPumpPoint> points, double q) {
    std::vector<TPumpPoint> given;
    for (const TPumpPoint& p : points)
        if (p.Efficiency > 0 && std::isfinite(p.Efficiency) && std::isfinite(p.Flow)) given.push_back(p);
    if (given.size() < 2) return 0;
    std::sort(given.begin(), given.end(), [](const TPumpPoint& a, const TPumpPoint& b) { return a.Flow < b.Flow; });
    if (q < given.front().Flow || q > given.back().Flow) return 0;
    for (std::size_t i = 1; i < given.size(); ++i) {
        const TPumpPoint& a = given[i - 1];
        const TPumpPoint& b = given[i];
        if (q > b.Flow) continue;
        if (b.Flow == a.Flow) return std::max(a.Efficiency, b.Efficiency);
        return a.Efficiency + (b.Efficiency - a.Efficiency) * (q - a.Flow) / (b.Flow - a.Flow);
    }
    return 0;
}

TDutyPoint FindDutyPoint(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                         const TSystemCurve& curve, const TPumpFit& fit, std::span<const TPumpPoint> points) {
    TDutyPoint duty;
    if (!fit.Valid) {
        duty.Message = fit.Message;
        return duty;
    }
    const Excess excess{&project, &circuit, groupsActive, &curve, &fit};
    const double lo = fit.MinFlow;
    const double hi = fit.MaxFlow;

    // One scan of trial flows serves both searches below: each trial solves
    // the whole circuit, so no flow is tried twice.
    std::vector<double> scanQ(kScanIntervals + 1), scanE(kScanIntervals + 1);
    for (int i = 0; i <= kScanIntervals; ++i) {
        scanQ[i] = i == 0 ? lo : i == kScanIntervals ? hi : lo + (hi - lo) * i / kScanIntervals;
        scanE[i] = excess(scanQ[i]);
    }

    // The first crossing from above, scanning upwards in flow. Against a
    // pump whose head only falls, the two ends of the range decide.
    const int step = fit.Falling ? kScanIntervals : 1;
    double prevQ = lo;
    double prevE = scanE[0];
    double bracketLo = 0, bracketHi = 0, excessLo = 0, excessHi = 0;
    bool bracketed = false;
    bool everAbove = prevE >= 0;
    if (prevE == 0) {
        bracketLo = bracketHi = lo;
        bracketed = true;
    }
    for (int i = step; i <= kScanIntervals && !bracketed; i += step) {
        const double q = scanQ[i];
        const double e = scanE[i];
        if (prevE >= 0 && e <= 0) {
            bracketLo = prevQ;
            bracketHi = q;
            excessLo = prevE;
            excessHi = e;
            bracketed = true;
        }
        everAbove = everAbove || e >= 0;
        prevQ = q;
        prevE = e;
    }

    // The circuit's head need not rise everywhere: where the friction law
    // changes regime it can dip, and the curves can then cross more than
    // once even for a falling pump. The same scan finds every crossing.
    struct Crossing {
        double lo, hi, elo, ehi;
        bool fromAbove;
    };
    std::vector<Crossing> crossings;
    for (int i = 1; i <= kScanIntervals; ++i) {
        const double e0 = scanE[i - 1], e1 = scanE[i];
        if ((e0 > 0 && e1 <= 0) || (e0 < 0 && e1 >= 0)) crossings.push_back({scanQ[i - 1], scanQ[i], e0, e1, e0 > 0});
    }
    if (crossings.size() > 1) {
        // The first crossing from above is the duty point, as for a rising pump.
        const auto first = std::find_if(crossings.begin(), crossings.end(), [](const Crossing& c) { return c.fromAbove; });
        if (first != crossings.end()) {
            bracketLo = first->lo;
            bracketHi = first->hi;
            excessLo = first->elo;
            excessHi = first->ehi;
            bracketed = true;
        }
    } else if (!bracketed && crossings.size() == 1 && crossings.front().fromAbove) {
        const Crossing& c = crossings.front();
        bracketLo = c.lo;
        bracketHi = c.hi;
        excessLo = c.elo;
        excessHi = c.ehi;
        bracketed = true;
    }
    if (!bracketed) {
        if (!everAbove)
            duty.Message = Format("The pump's head is below the system curve over its whole range (%s to %s l/s): "
                                  "no duty point.",
                                  {LitresPerSecond(lo), LitresPerSecond(hi)});
        else
            duty.Message = Format("The pump's head is still above the system curve at its largest flow of %s l/s: "
                                  "the duty point lies beyond the pump's points.",
                                  {LitresPerSecond(hi)});
        return duty;
    }

    // A billionth of the pump's range: far finer than any curve is read.
    double q = bracketLo;
    if (excessHi == 0) q = bracketHi;
    else if (bracketHi > bracketLo && excessLo != 0)
        q = Brent(excess, bracketLo, bracketHi, excessLo, excessHi, (hi - lo) * 1e-9);
    const TCurvePoint p = curve.At(project, circuit, groupsActive, q / curve.DesignFlow);
    duty.Found = true;
    duty.Ratio = p.Ratio;
    duty.Flow = q;
    duty.Head = p.Head;
    duty.PressureDrop = p.PressureDrop;

    // The search ends where the excess changes sign. On a smooth curve the
    // two heads agree there; on a jump of the circuit's curve they do not,
    // and the pump runs at its own head on the jump.
    const double pumpHead = fit.Head(q);
    if (std::fabs(pumpHead - p.Head) > 1e-6 * std::fmax(1.0, std::fabs(pumpHead))) {
        const double below = curve.At(project, circuit, groupsActive, q * (1 - 1e-7) / curve.DesignFlow).Head;
        const double above = curve.At(project, circuit, groupsActive, q * (1 + 1e-7) / curve.DesignFlow).Head;
        duty.Head = pumpHead;
        duty.PressureDrop = PressureOf(pumpHead, curve.Density);
        duty.JumpMessage = Format("The system curve jumps at %s l/s, from %s m to %s m, where the flow changes "
                                  "between laminar and turbulent: the duty head given is the pump's, %s m.",
                                  {LitresPerSecond(q), Format("%0.4g", {below}), Format("%0.4g", {above}),
                                   Format("%0.4g", {pumpHead})});
    }

    // The other crossings, to the precision a flow is shown with.
    for (const Crossing& c : crossings) {
        if (q >= c.lo && q <= c.hi) continue;
        const double other = c.elo == 0 ? c.lo
                             : c.ehi == 0 ? c.hi
                                          : Brent(excess, c.lo, c.hi, c.elo, c.ehi, (hi - lo) * 1e-7);
        duty.OtherCrossings.push_back(other);
    }

    duty.Efficiency = EfficiencyAt(points, q);
    if (duty.Efficiency > 0) {
        duty.HasPower = true;
        duty.ShaftPower = curve.Density * kGravity * q * duty.Head / duty.Efficiency;
    } else {
        int withEfficiency = 0;
        for (const TPumpPoint& pt : points) withEfficiency += pt.Efficiency > 0 ? 1 : 0;
        // One efficiency makes no curve at all, wherever the duty lies.
        if (withEfficiency == 1)
            duty.Message = "Only one pump point gives an efficiency: an efficiency curve needs two or more, "
                           "so there is no shaft power.";
        else if (withEfficiency > 1)
            duty.Message = "The efficiency points do not reach the duty flow: no shaft power.";
    }
    return duty;
}

} // namespace dvx
