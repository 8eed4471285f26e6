// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/PumpSelectionLines.h"

#include "base/Format.h"
#include "base/Money.h"
#include "engine/units/UnitView.h"
#include "presentation/ui/PumpChart.h"

namespace dvx {

namespace {

constexpr double kPercent = 100;
constexpr double kWattsPerHorsepower = 745.69987158227022; // mechanical horsepower, W

TUnitView FlowView() { return TUnitView(qtFlow, {"l/s", "%0.4g", Times(1000)}); }
TUnitView HeadView() { return TUnitView(qtHead, {"m", "%0.4g", Times(1)}); }

std::string WithUnit(const TUnitView& view, double si) { return view.Text(si) + " " + view.Label(); }
std::string Percent(double ratio) { return Format("%0.1f", {ratio * kPercent}) + " %"; }

} // namespace

std::string PowerText(double watts) {
    const bool metric = HeadView().IsMetric();
    return Format("%0.3g", {watts / (metric ? 1000 : kWattsPerHorsepower)}) + (metric ? " kW" : " hp");
}

std::vector<std::string> SelectionLines(const TPumpAnalysis& a, const TPumpSettings& pump) {
    std::vector<std::string> lines;
    if (!a.Selection) return lines;
    const TSelectionResult& r = *a.Selection;
    const TPumpSelection& s = pump.Selection;
    const bool duty = a.Duty && a.Duty->Found;

    if (s.Pumps > 1 || s.Speed != 1) {
        std::string text = s.Pumps > 1 ? Format("Pumps: %d in ", {s.Pumps}) +
                                             (s.Arrangement == TPumpArrangement::Series ? "series" : "parallel")
                                       : std::string("Pump: one");
        lines.push_back(text + ", at " + Percent(s.Speed) + " of the rated speed");
    }
    if (r.SpeedForDesign)
        lines.push_back("Speed that puts the duty point on the design point: " + Percent(*r.SpeedForDesign) +
                        " of the rated speed");
    else if (!r.SpeedMessage.empty())
        lines.push_back("Speed for the design point: " + r.SpeedMessage);
    if (s.Standby && s.Pumps >= 2) {
        if (r.StandbyDuty && r.StandbyDuty->Found)
            lines.push_back(Format("With one pump fewer (%d running): duty ", {s.Pumps - 1}) +
                            WithUnit(FlowView(), r.StandbyDuty->Flow) + ", " +
                            WithUnit(HeadView(), r.StandbyDuty->Head));
        else
            lines.push_back("With one pump fewer: no duty point");
    }
    if (r.Bep) {
        std::string text = "Best efficiency: " + Percent(r.Bep->Efficiency) + " at " + WithUnit(FlowView(), r.Bep->Flow);
        if (duty && r.Bep->Flow > 0)
            text += "; the duty flow is " + Format("%0.0f", {a.Duty->Flow / r.Bep->Flow * kPercent}) +
                    " % of it (preferred 70 % to 120 %)";
        lines.push_back(text);
    }
    if (r.MaxShaftPower)
        lines.push_back("Largest shaft power per pump along the curve: " + PowerText(r.MaxShaftPower->Power) + " at " +
                        WithUnit(FlowView(), r.MaxShaftPower->Flow) + " (the motor must cover it)");
    if (r.NpshAtDuty) {
        const TNpshPointResult& n = *r.NpshAtDuty;
        std::string text = "NPSH at the duty point: available " + WithUnit(HeadView(), n.Available);
        if (n.Required)
            text += ", required " + WithUnit(HeadView(), *n.Required) + ", margin " +
                    WithUnit(HeadView(), n.Available - *n.Required);
        lines.push_back(text);
    }
    if (r.Energy)
        lines.push_back("Running cost: input power " + PowerText(r.Energy->InputPower) + ", " +
                        Format("%0.0f", {r.Energy->KWhPerYear}) + " kWh a year, " + FormatMoney(r.Energy->CostPerYear) +
                        " a year");
    if (a.ExtraDropForDesign) {
        if (*a.ExtraDropForDesign >= 0)
            lines.push_back("Extra pressure drop that brings the duty flow to the design flow: " +
                            WithUnit(PumpDropView(a), *a.ExtraDropForDesign));
        else
            lines.push_back("At the design flow the pump gives " + WithUnit(PumpDropView(a), -*a.ExtraDropForDesign) +
                            " less than the circuit needs");
    }
    return lines;
}

} // namespace dvx
