// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/SystemCurve.h"

#include "base/Format.h"
#include "base/VectorState.h"
#include "engine/fluid/Fluid.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace dvx {

namespace {

bool Counts(const TBranch& item, bool groupsActive) { return item.InIndex || !groupsActive; }

void CheckSettings(const TCurveSettings& settings) {
    if (settings.Points < kMinCurvePoints || settings.Points > kMaxCurvePoints)
        throw CurveError(Format("The system curve needs %d to %d points.", {kMinCurvePoints, kMaxCurvePoints}));
    if (!(settings.MaxRatio > 0 && settings.MaxRatio <= kMaxCurveRatio))
        throw CurveError(Format("The largest flow ratio must be above 0 and at most %g.", {kMaxCurveRatio}));
    if (!std::isfinite(settings.StaticHead))
        throw CurveError("The static head is not a number.");
}

} // namespace

void IndexDropsAtRatios(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                        std::span<const double> ratios, std::span<double> drops) {
    if (drops.size() != ratios.size()) throw std::invalid_argument("one drop per flow ratio");
    ClearUpperVectorState();
    std::fill(drops.begin(), drops.end(), 0.0);
    // Item by item, every ratio at once: each item is fetched from memory
    // once instead of once per ratio, and every total still adds the items
    // in list order, as the circuit calculation does.
    for (const auto& entry : circuit.Items) {
        const TBranch& item = *entry;
        if (!Counts(item, groupsActive)) continue;
        for (std::size_t k = 0; k < ratios.size(); ++k) {
            const double s = ratios[k];
            // At the design flow the item's own result is its drop, so that
            // total is formed exactly as the circuit formed TotalDP.
            drops[k] += s == 1 ? item.PressureDrop : item.DropAtRatio(project, s);
        }
    }
    for (std::size_t k = 0; k < ratios.size(); ++k)
        if (!std::isfinite(drops[k]))
            throw CalculationError(Format("Pressure drop error at flow ratio %g", {ratios[k]}), -1);
}

double IndexDropAtRatio(const TProjectContext& project, const TCircuit& circuit, bool groupsActive, double s) {
    double drop = 0;
    IndexDropsAtRatios(project, circuit, groupsActive, std::span<const double>(&s, 1), std::span<double>(&drop, 1));
    return drop;
}

TCurvePoint TSystemCurve::PointOf(double s, double dp) const {
    TCurvePoint p;
    p.Ratio = s;
    p.Flow = s * DesignFlow;
    // The static head enters as a pressure of the same liquid; without one
    // the drop is the circuit's own figure, untouched.
    p.PressureDrop = StaticHead == 0 ? dp : dp + PressureOf(StaticHead, Density);
    p.Head = HeadOf(dp, Density) + StaticHead;
    return p;
}

TCurvePoint TSystemCurve::At(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                              double s) const {
    return PointOf(s, IndexDropAtRatio(project, circuit, groupsActive, s));
}

TSystemCurve BuildSystemCurve(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                              const TCurveSettings& settings) {
    const TLiquid* liquid = project.Liquid;
    CheckSettings(settings);
    if (circuit.Items.empty()) throw CurveError("The circuit has no items.");
    if (!circuit.Solved) throw CurveError("Calculate the circuit first.");
    if (liquid == nullptr || !(liquid->ro > 0) || !std::isfinite(liquid->ro))
        throw CurveError("The liquid has no density.");

    TSystemCurve curve;
    curve.Density = liquid->ro;
    curve.StaticHead = settings.StaticHead;
    bool any = false;
    for (const auto& item : circuit.Items) {
        if (!Counts(*item, groupsActive)) continue;
        if (!any || item->Flow > curve.DesignFlow) curve.DesignFlow = item->Flow;
        any = true;
    }
    if (!any) throw CurveError("No item counts towards the index circuit.");
    if (!(curve.DesignFlow > 0)) throw CurveError("The index circuit carries no flow.");

    curve.Design = curve.PointOf(1, circuit.TotalDP);

    const int n = settings.Points;
    std::vector<double> ratios(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        // The last point lands on the maximum exactly.
        ratios[static_cast<std::size_t>(i)] = i == n - 1 ? settings.MaxRatio : settings.MaxRatio * i / (n - 1);
    std::vector<double> drops(ratios.size());
    IndexDropsAtRatios(project, circuit, groupsActive, ratios, drops);
    curve.Points.reserve(ratios.size());
    for (std::size_t k = 0; k < ratios.size(); ++k) curve.Points.push_back(curve.PointOf(ratios[k], drops[k]));
    return curve;
}

} // namespace dvx
