// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/PumpAnalysis.h"

#include "base/Errors.h"

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
    if (!pump.Points.empty()) {
        a.Fit = FitPumpCurve(pump.Points);
        if (!a.Fit->Message.empty()) a.Messages.push_back(a.Fit->Message);
    }
    if (a.Curve && a.Fit && a.Fit->Valid) {
        try {
            a.Duty = FindDutyPoint(project, circuit, groupsActive, *a.Curve, *a.Fit, pump.Points);
            if (!a.Duty->Message.empty()) a.Messages.push_back(a.Duty->Message);
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
