// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fully turbulent friction factor fT of the Crane K method: the factor a
// clean commercial steel pipe of the fitting's inside diameter reaches at
// very high Reynolds numbers. Crane resistance coefficients are multiples of
// it (K = n·fT), whatever the material of the pipe around the fitting.

namespace dvx {

// m, the wall roughness the Crane method defines fT with (clean commercial steel, 0.0018 in).
inline constexpr double CraneSteelRoughness = 0.045e-3;

// fT = 0.25 / [log10(ε / (3.7·D))]², ε = CraneSteelRoughness; D the inside
// diameter in m, D > 0. Range: the formula holds for any D above ε; for the
// program's bores (15–750 mm) fT runs from about 0.027 down to 0.010.
double CraneFullyTurbulentFactor(double D);

} // namespace dvx
