// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/pump/PumpAnalysis.h"

#include "base/Errors.h"
#include "base/Format.h"

namespace dvx {

TPumpAnalysis AnalysePump(const TProjectContext& project, const TCircuit& circuit, bool groupsActive,
                          const TPumpSettings& pump) {
    TPumpAnalysis a;
    try {
        a.Curve = BuildSystemCurve(project, circuit, groupsActive, pump.Curve);
    } catch (const CurveError& e) {
        a.Messages.push_back(e.what());
    } catch (const MathError&) {
        a.Messages.push_back("Pressure drop error.");
    }
    // A circuit that falls from the pump's suction to its outlet side is real
    // (a tank that drains downhill); it is calculated and said.
    if (pump.Curve.StaticHead < 0)
        a.Messages.push_back(Format("The static head is negative (%s m): the circuit's outlet lies below its inlet, "
                                    "and the pump is helped by the fall.",
                                    {Format("%0.4g", {pump.Curve.StaticHead})}));
    if (!pump.Points.empty()) {
        a.Points = PointsInForce(pump.Points, pump.Selection, pump.Selection.Pumps);
        a.Fit = FitPumpCurve(a.Points);
        if (!a.Fit->Message.empty()) a.Messages.push_back(a.Fit->Message);
    }
    if (a.Curve && a.Fit && a.Fit->Valid) {
        try {
            a.Duty = FindDutyPoint(project, circuit, groupsActive, *a.Curve, *a.Fit, a.Points);
            if (!a.Duty->Message.empty()) a.Messages.push_back(a.Duty->Message);
            if (!a.Duty->JumpMessage.empty()) a.Messages.push_back(a.Duty->JumpMessage);
            if (!a.Duty->OtherCrossings.empty()) {
                std::string flows;
                for (double q : a.Duty->OtherCrossings)
                    flows += (flows.empty() ? "" : ", ") + Format("%0.4g", {q * 1000});
                a.Messages.push_back("The curves also cross at " + flows +
                                     " l/s; the duty point given is the first crossing from above.");
            }
            const TSystemCurve& curve = *a.Curve;
            if (a.Duty->Found && curve.DesignFlow >= a.Fit->MinFlow && curve.DesignFlow <= a.Fit->MaxFlow)
                a.ExtraDropForDesign =
                    PressureOf(a.Fit->Head(curve.DesignFlow), curve.Density) - curve.Design.PressureDrop;
            a.Selection = AnalyseSelection(project, circuit, groupsActive, pump, curve, *a.Fit, a.Points, a.Duty);
            for (const std::string& m : a.Selection->Messages) a.Messages.push_back(m);
        } catch (const MathError&) {
            a.Duty.reset();
            a.Messages.push_back("The duty point could not be found.");
        }
    }
    return a;
}

std::vector<TPumpPoint> SampleFit(const TPumpFit& fit, int samples) {
    std::vector<TPumpPoint> out;
    if (!fit.Valid || samples < 2) return out;
    out.reserve(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        const double q = i == samples - 1 ? fit.MaxFlow : fit.MinFlow + (fit.MaxFlow - fit.MinFlow) * i / (samples - 1);
        out.push_back({q, fit.Head(q), 0});
    }
    return out;
}

} // namespace dvx
