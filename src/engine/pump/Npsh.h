// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Net positive suction head available at the pump inlet: the head by which
// the liquid's total pressure there exceeds its vapour pressure.

namespace dvx {

// m: (p_surface − p_vapour)/(ρ·g) + z − suction loss/(ρ·g).
// surfacePressure and vapourPressure absolute in Pa; density in kg/m³;
// staticHeight in m, the liquid surface above the pump inlet (negative when
// the pump lifts from below); suctionLoss in Pa, the drop of the items
// between the surface and the inlet at the flow in question.
double NpshAvailable(double surfacePressure, double vapourPressure, double density, double staticHeight,
                     double suctionLoss);

// Pa, the standard atmosphere: the default pressure on an open surface.
inline constexpr double StandardAtmosphere = 101325;

} // namespace dvx
