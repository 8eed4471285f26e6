// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/DutyPoint.h"

#include "common/Errors.h"
#include "common/Format.h"
#include "fluid/Root.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dvx {

namespace {

// Trial flows spread over the pump's range to find where the pump's head
// first drops below the circuit's; a pump whose fitted curve rises may cross
// the system curve more than once, and the crossing from above is the
// stable one.
constexpr int kScanIntervals = 16;

struct Excess {
    const TCircuit* circuit;
    bool groupsActive;
    const TSystemCurve* curve;
    const TPumpFit* fit;

    // m, pump head minus the head the circuit needs at flow q.
    double operator()(double q) const {
        const double s = q / curve->DesignFlow;
        return fit->Head(q) - curve->At(*circuit, groupsActive, s).Head;
    }
};

double ExcessAt(double q, void* context) { return (*static_cast<const Excess*>(context))(q); }

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

TDutyPoint FindDutyPoint(const TCircuit& circuit, bool groupsActive, const TSystemCurve& curve,
                         const TPumpFit& fit, std::span<const TPumpPoint> points) {
    TDutyPoint duty;
    if (!fit.Valid) {
        duty.Message = fit.Message;
        return duty;
    }
    const Excess excess{&circuit, groupsActive, &curve, &fit};
    const double lo = fit.MinFlow;
    const double hi = fit.MaxFlow;

    // The first crossing from above, scanning upwards in flow.
    double prevQ = lo;
    double prevE = excess(lo);
    double bracketLo = 0, bracketHi = 0;
    bool bracketed = false;
    bool everAbove = prevE >= 0;
    if (prevE == 0) {
        bracketLo = bracketHi = lo;
        bracketed = true;
    }
    for (int i = 1; i <= kScanIntervals && !bracketed; ++i) {
        const double q = i == kScanIntervals ? hi : lo + (hi - lo) * i / kScanIntervals;
        const double e = excess(q);
        if (prevE >= 0 && e <= 0) {
            bracketLo = prevQ;
            bracketHi = q;
            bracketed = true;
        }
        everAbove = everAbove || e >= 0;
        prevQ = q;
        prevE = e;
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

    double q = bracketLo;
    if (bracketHi > bracketLo) {
        TRoot root(&ExcessAt, const_cast<Excess*>(&excess));
        // A billionth of the pump's range: far finer than any curve is read.
        root.SetTolerance((hi - lo) * 1e-9, 200);
        q = root.Solve(bracketLo, bracketHi);
    }
    const TCurvePoint p = curve.At(circuit, groupsActive, q / curve.DesignFlow);
    duty.Found = true;
    duty.Ratio = p.Ratio;
    duty.Flow = q;
    duty.Head = p.Head;
    duty.PressureDrop = p.PressureDrop;

    duty.Efficiency = EfficiencyAt(points, q);
    if (duty.Efficiency > 0) {
        duty.HasPower = true;
        duty.ShaftPower = curve.Density * kGravity * q * duty.Head / duty.Efficiency;
    } else {
        bool anyEfficiency = false;
        for (const TPumpPoint& pt : points) anyEfficiency = anyEfficiency || pt.Efficiency > 0;
        if (anyEfficiency) duty.Message = "The efficiency points do not reach the duty flow: no shaft power.";
    }
    return duty;
}

} // namespace dvx
