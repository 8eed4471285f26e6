// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Valves given by their flow coefficient. Kv is the flow in m³/h that passes
// with a pressure difference of 1 bar of water; Cv the flow in US gal/min at
// 1 psi. For another liquid the drop scales with its density.

namespace dvx {

// kg/m³, the density of the water Kv is referred to (about 15 °C).
inline constexpr double KvReferenceDensity = 999.1;
// Cv per Kv, from the definitions of the US gallon and the psi (≈ 1.156).
inline constexpr double CvPerKv = 1.1560992283536566;

// Pa: Δp = (ρ / 999.1) · (Q / Kv)² · 10⁵ with Q in m³/h.
// flow in m³/s, kv in m³/h (> 0), density in kg/m³.
double KvPressureDrop(double flow, double kv, double density);

// m³/h: the Kv that passes `flow` (m³/s) with the drop `dp` (Pa, > 0) in a
// liquid of `density` (kg/m³); the presetting of a balancing valve.
double KvForPressureDrop(double flow, double dp, double density);

// —: the resistance coefficient on inside diameter d (m) equivalent to kv:
// K = Δp / (ρ·V²/2). The liquid's density cancels (the drop of a valve by
// Kv goes with it as ρV²/2 does), and so does the flow.
double KvToResistanceK(double kv, double d);

inline double KvFromCv(double cv) { return cv / CvPerKv; }
inline double CvFromKv(double kv) { return kv * CvPerKv; }

} // namespace dvx
