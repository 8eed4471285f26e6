// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/pump/SelectionAnalysis.h"

#include "base/Format.h"
#include "engine/fluid/WaterVapourPressure.h"
#include "engine/hydraulics/Circuit.h"
#include "engine/pump/Affinity.h"
#include "engine/pump/Arrangement.h"
#include "engine/pump/Npsh.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace dvx {

namespace {

std::string Ls(double q) { return Format("%0.4g", {q * 1000}); }
std::string M(double h) { return Format("%0.3g", {h}); }

// Liquids whose vapour pressure is taken as water's: water with or without
// an additive, brine and condensate.
bool WaterBased(const TLiquid& liquid) {
    return liquid.LiquidSpec == 0 || liquid.LiquidSpec == 5 || liquid.LiquidSpec == 12;
}

// The flow through one pump of those in force, at rated speed, for flow q
// through all of them.
double RatedFlowPerPump(const TPumpSelection& s, double q) {
    const double share = s.Arrangement == TPumpArrangement::Parallel ? q / s.Pumps : q;
    return share / s.Speed;
}

} // namespace

std::vector<TPumpPoint> PointsInForce(std::span<const TPumpPoint> rated, const TPumpSelection& selection,
                                      int running) {
    if (selection.Speed == 1 && running == 1) return {rated.begin(), rated.end()};
    return CombinedPoints(PointsAtSpeed(rated, selection.Speed), selection.Arrangement, running);
}

std::optional<double> NpshRequiredAt(const TPumpSelection& s, double q) {
    const auto& pts = s.NpshRequired;
    if (pts.empty()) return std::nullopt;
    const double q1 = RatedFlowPerPump(s, q);
    if (q1 < pts.front().Flow || q1 > pts.back().Flow) return std::nullopt;
    double required = pts.front().Required;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        if (q1 > pts[i].Flow) continue;
        const TNpshPoint& a = pts[i - 1];
        const TNpshPoint& b = pts[i];
        required = b.Flow == a.Flow ? std::max(a.Required, b.Required)
                                    : a.Required + (b.Required - a.Required) * (q1 - a.Flow) / (b.Flow - a.Flow);
        break;
    }
    // Affinity: NPSH required goes with the square of the speed.
    return required * s.Speed * s.Speed;
}

TSelectionResult AnalyseSelection(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                                  const TPumpSettings& pump, const TSystemCurve& curve, const TPumpFit& fit,
                                  std::span<const TPumpPoint> points, const std::optional<TDutyPoint>& duty) {
    const TPumpSelection& s = pump.Selection;
    TSelectionResult r;

    // One pump fewer.
    if (s.Standby && s.Pumps >= 2) {
        const std::vector<TPumpPoint> fewer = PointsInForce(pump.Points, s, s.Pumps - 1);
        const TPumpFit fewerFit = FitPumpCurve(fewer);
        if (fewerFit.Valid) {
            r.StandbyDuty = FindDutyPoint(project, circuit, groupsActive, curve, fewerFit, fewer);
            if (!r.StandbyDuty->Message.empty())
                r.Messages.push_back("With one pump fewer: " + r.StandbyDuty->Message);
        }
    }

    // The speed that meets the design point, for the pumps at rated speed.
    {
        TPumpSelection rated = s;
        rated.Speed = 1;
        const TPumpFit ratedFit = FitPumpCurve(PointsInForce(pump.Points, rated, s.Pumps));
        const TSpeedForPoint speed = SpeedForPoint(ratedFit, curve.DesignFlow, curve.Design.Head);
        r.SpeedForDesign = speed.Ratio;
        r.SpeedMessage = speed.Message;
    }

    // Efficiency region and the motor's largest load.
    r.Bep = BestEfficiencyPoint(points);
    if (r.Bep && duty && duty->Found && !InPreferredRegion(*r.Bep, duty->Flow))
        r.Messages.push_back(Format("The duty flow of %s l/s lies outside 70 %% to 120 %% of the best efficiency "
                                    "flow of %s l/s.",
                                    {Ls(duty->Flow), Ls(r.Bep->Flow)}));
    const int running = s.Pumps;
    if (const auto peak = LargestShaftPower(fit, points, curve.Density))
        r.MaxShaftPower = TPowerPeak{peak->Flow, peak->Power / running};

    // NPSH.
    if (!s.NpshRequired.empty()) {
        std::optional<double> vapour;
        if (s.VapourPressure >= 0) vapour = s.VapourPressure;
        else if (project.Liquid != nullptr && WaterBased(*project.Liquid)) vapour = WaterVapourPressure(project.Liquid->t);
        std::vector<const TBranch*> suction;
        const std::unordered_set<std::int32_t> wanted(s.SuctionItems.begin(), s.SuctionItems.end());
        std::unordered_set<std::int32_t> found;
        for (const auto& item : circuit.Items)
            if (wanted.count(item->Number)) {
                suction.push_back(item.get());
                found.insert(item->Number);
            }
        for (std::int32_t n : s.SuctionItems)
            if (!found.count(n)) r.Messages.push_back(Format("Suction item %d is not in the circuit.", {n}));
        if (!vapour) {
            r.Messages.push_back("Enter the liquid's vapour pressure for the NPSH check.");
        } else {
            auto available = [&](double q) {
                double loss = 0;
                for (const TBranch* item : suction) loss += item->DropAtRatio(project, q / curve.DesignFlow);
                return NpshAvailable(s.SurfacePressure, *vapour, curve.Density, s.SuctionHeight, loss);
            };
            for (const TCurvePoint& p : curve.Points)
                if (p.Flow >= fit.MinFlow && p.Flow <= fit.MaxFlow)
                    r.NpshCurve.push_back({p.Flow, available(p.Flow), NpshRequiredAt(s, p.Flow)});
            if (duty && duty->Found) {
                TNpshPointResult at{duty->Flow, available(duty->Flow), NpshRequiredAt(s, duty->Flow)};
                r.NpshAtDuty = at;
                if (!at.Required)
                    r.Messages.push_back("The NPSH points do not reach the duty flow: no NPSH margin.");
                else if (at.Available - *at.Required < s.NpshMargin)
                    r.Messages.push_back(Format("NPSH available %s m against %s m required at the duty point: the "
                                                "margin is below %s m and the pump may cavitate.",
                                                {M(at.Available), M(*at.Required), M(s.NpshMargin)}));
            }
        }
    }

    // Running cost at the duty point.
    if (s.HoursPerYear > 0 && duty && duty->Found && duty->HasPower)
        r.Energy = RunningCost(duty->ShaftPower, s.MotorEfficiency, s.DriveEfficiency, s.HoursPerYear, s.PricePerKWh);
    return r;
}

} // namespace dvx
