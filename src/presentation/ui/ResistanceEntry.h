// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the insert dialog's K item and valve pages calculate and check,
// without any toolkit: the K item presets (entrance, exit, changes of bore
// by the Crane formulas), the checks of a typed K or flow coefficient, and
// a balancing valve's presetting (the Kv that takes a given drop).

#include "engine/resistance/CraneTransitions.h"

#include <array>
#include <optional>
#include <string>

namespace dvx::ui {

struct TKPreset {
    const char* Name;                  // the list's text and the new item's description
    double K;                          // —, the preset's value; 0 where it is calculated or typed
    std::optional<TBoreChange> Change; // a change of bore: K from the two bores
    bool Sudden;                       // a sudden change: the angle is 180°
};

inline constexpr int KPresetCount = 7;
inline constexpr int KPresetOwnValue = KPresetCount - 1; // "Own value": K as typed
// Entrance, exit, sudden and gradual contraction and enlargement, own value.
const std::array<TKPreset, KPresetCount>& KItemPresets();

// The K of a change of bore on the item's bore: itemD and otherD inside
// diameters in m, the angle in degrees (ignored for a sudden change: 180),
// itemIsOutlet when the liquid leaves the change through the item's bore.
// The error names what to correct (an angle outside 0–180°, a contraction
// to a larger bore …). preset must be a change of bore.
TBoreChangeResult PresetK(const TKPreset& preset, double itemD, double otherD, double angleDegrees,
                          bool itemIsOutlet);

// Empty when `k` is a resistance coefficient an item can hold (a number
// above zero), else the message for the user.
std::string KValueError(std::optional<double> k);
// The same for a valve's flow coefficient as typed; `label` is "Kv" or "Cv".
std::string FlowCoefficientError(std::optional<double> value, const std::string& label);

// A balancing valve's presetting: the Kv (m³/h) that takes the drop `dp`
// (Pa) at `flow` (m³/s) in a liquid of `density` (kg/m³).
struct TPresetting {
    double Kv = 0;     // m³/h; valid when Error is empty
    std::string Error; // what to correct
};
TPresetting PresettingKv(std::optional<double> flow, std::optional<double> dp, double density);

} // namespace dvx::ui
