// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/WarningList.h"

#include "base/Format.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ThreeKFallback.h"
#include "engine/units/UnitView.h"
#include "presentation/ui/FreezeText.h"

namespace dvx::ui {

const char* WarningText(int warning) {
    switch (warning) {
    case wnNone: return "Flow OK";
    case wnGradient: return "High dP Rate";
    case wnVelocity: return "High Velocity";
    default: return "";
    }
}

std::vector<TWarningLine> BuildWarningList(const TCircuit& circuit) {
    std::vector<TWarningLine> lines;
    for (const auto& item : circuit.Items) {
        const int warning = WarningOf(*item);
        if (warning == wnNone) continue;
        lines.push_back({Format("%3d: %s %s", {item->Number, item->Description, WarningText(warning)}), item.get()});
    }
    return lines;
}

std::string ThreeKFallbackNote(const TCircuit& circuit, const TProjectContext& project) {
    const std::vector<std::string> types = ThreeKFallbackTypes(circuit, project);
    if (types.empty()) return {};
    return "No 3-K constants for " + JoinedTypeNames(types) + ": calculated by Crane K";
}

std::vector<TWarningLine> BuildWarningList(const TCircuit& circuit, const TLiquid& liquid, double marginK,
                                           const TProjectContext& project) {
    std::vector<TWarningLine> lines;
    const std::string freezing = LiquidFreezeWarning(liquid, marginK);
    if (!freezing.empty()) lines.push_back({"Freezing risk: " + freezing, nullptr});
    const std::string fallback = ThreeKFallbackNote(circuit, project);
    if (!fallback.empty()) lines.push_back({fallback, nullptr});
    for (TWarningLine& line : BuildWarningList(circuit)) lines.push_back(std::move(line));
    return lines;
}

std::string WarningDetail(const TPipe& item, double density) {
    // Each value with its unit, in the display units in force; in SI the
    // line reads "%3d: %s %0.4g kPa %0.1f m/s %0.1f m %0.4g kPa/m".
    auto part = [](const TUnitView& view, double si) { return " " + view.Text(si) + " " + view.Label(); };
    return Format("%3d: %s", {item.Number, item.Description}) +
           part(TUnitView(qtPressureDrop, {"kPa", "%0.4g", Times(0.001)}, density), item.PressureDrop) +
           part(TUnitView(qtVelocity, {"m/s", "%0.1f", Times(1)}), item.Velocity) +
           part(TUnitView(qtLength, {"m", "%0.1f", Times(1)}), item.Length) +
           part(TUnitView(qtGradient, {"kPa/m", "%0.4g", Times(0.001)}, density), item.Gradient);
}

int WarningOf(const TBranch& item) {
    switch (item.Kind()) {
    case TItemKind::Pipe:
    case TItemKind::Fitting: return static_cast<const TPipe&>(item).Warning;
    case TItemKind::KItem:
    case TItemKind::Valve: return static_cast<const TResistanceItem&>(item).Warning;
    case TItemKind::User: break;
    }
    return wnNone;
}

std::string WarningDetail(const TBranch& item, double density) {
    if (item.Kind() == TItemKind::Pipe || item.Kind() == TItemKind::Fitting)
        return WarningDetail(static_cast<const TPipe&>(item), density);
    auto part = [](const TUnitView& view, double si) { return " " + view.Text(si) + " " + view.Label(); };
    std::string line = Format("%3d: %s", {item.Number, item.Description}) +
                       part(TUnitView(qtPressureDrop, {"kPa", "%0.4g", Times(0.001)}, density), item.PressureDrop);
    if (item.Kind() == TItemKind::KItem || item.Kind() == TItemKind::Valve)
        line += part(TUnitView(qtVelocity, {"m/s", "%0.1f", Times(1)}),
                     static_cast<const TResistanceItem&>(item).Velocity);
    return line;
}

} // namespace dvx::ui
