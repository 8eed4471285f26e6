// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/ResistanceEntry.h"

#include "engine/resistance/ValveFlowCoefficient.h"

#include <cmath>

namespace dvx::ui {

namespace {

bool AboveZero(std::optional<double> v) { return v && *v > 0 && std::isfinite(*v); }

} // namespace

const std::array<TKPreset, KPresetCount>& KItemPresets() {
    static const std::array<TKPreset, KPresetCount> presets = {{
        {"Entrance, sharp-edged", 0.5, std::nullopt, false},
        {"Exit", 1.0, std::nullopt, false},
        {"Sudden contraction", 0, TBoreChange::Contraction, true},
        {"Gradual contraction", 0, TBoreChange::Contraction, false},
        {"Sudden enlargement", 0, TBoreChange::Enlargement, true},
        {"Gradual enlargement", 0, TBoreChange::Enlargement, false},
        {"Own value", 0, std::nullopt, false},
    }};
    return presets;
}

TBoreChangeResult PresetK(const TKPreset& preset, double itemD, double otherD, double angleDegrees,
                          bool itemIsOutlet) {
    if (!preset.Change) return {0, "Not a change of bore"};
    if (!preset.Sudden && !std::isfinite(angleDegrees)) return {0, "The angle must be a number"};
    return BoreChangeK(*preset.Change, itemD, otherD, preset.Sudden ? 180.0 : angleDegrees, !itemIsOutlet);
}

std::string KValueError(std::optional<double> k) {
    return AboveZero(k) ? std::string() : "K must be a number above zero";
}

std::string FlowCoefficientError(std::optional<double> value, const std::string& label) {
    return AboveZero(value) ? std::string() : label + " must be a number above zero";
}

TPresetting PresettingKv(std::optional<double> flow, std::optional<double> dp, double density) {
    if (!AboveZero(flow)) return {0, "The flow must be a number above zero"};
    if (!AboveZero(dp)) return {0, "The pressure drop to take must be a number above zero"};
    if (!(density > 0) || !std::isfinite(density)) return {0, "The liquid has no density"};
    return {KvForPressureDrop(*flow, *dp, density), {}};
}

} // namespace dvx::ui
