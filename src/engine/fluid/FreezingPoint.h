// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Freezing points of water mixed with ethylene glycol, propylene glycol or
// calcium chloride, at the mixture's additive volume fraction (the
// fraction TLiquid::AdditiveVolume holds), interpolated linearly in
// published tables:
// - the glycols: ASHRAE Fundamentals 2001 (SecCool), which gives each
//   concentration by volume; ethylene glycol 0 to 57.8 %, propylene glycol
//   0 to 60 %;
// - calcium chloride: Melinder (2010), 9 to 29.4 % by mass. A volume
//   fraction is taken to its mass fraction with the program's own mixture
//   density at 20 °C, the water keeping its share of the volume:
//   w = (ro_mix(x) − (1 − x)·ro_mix(0)) / ro_mix(x); 9 to 29.4 % by mass
//   is then about 4.9 to 17.6 % by volume.
// Outside a table's range the freezing point is unknown: nothing is
// extrapolated.

#include <optional>

namespace dvx {

class TLiquid;

// °C, the freezing point of water with additive (WaterAdditive 1 to 3) at
// volume fraction x; nullopt when the table does not reach x or the additive
// is not one of the three.
std::optional<double> FreezingPoint(int additive, double x);

// The least volume fraction whose freezing point is at or below t (°C);
// nullopt when no concentration in the table protects that far, or the
// additive is not one of the three. 0 when water itself does (t ≤ 0 °C is
// needed for any additive).
std::optional<double> LeastProtectingFraction(int additive, double t);

// Mass fraction of the additive in a mixture of volume fraction x (the rule
// above; the glycols use the same rule, for display only).
double AdditiveMassFraction(int additive, double x);

// What a liquid's temperature means for freezing, with marginK (K) of
// safety above the freezing point.
struct TFreezeCheck {
    bool Applies = false;                 // water with one of the three additives
    std::optional<double> FreezingPoint;  // °C, when the table covers the concentration
    // °C, when the concentration lies below the table's range: the mixture
    // freezes at or above this (the first point of the table).
    std::optional<double> FreezesNotBelow;
    bool AtRisk = false; // t ≤ freezing point + margin (or the bound + margin)
};
TFreezeCheck CheckFreezing(const TLiquid& liquid, double marginK);

} // namespace dvx
