// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The saturation (vapour) pressure of water, by the IAPWS-IF97 equation of
// the saturation line (region 4, the basic equation solved for pressure).

#include <optional>

namespace dvx {

// Pa at temperature t in °C; valid from 0 °C (273.15 K) to the critical
// point (373.946 °C); nothing outside.
std::optional<double> WaterVapourPressure(double t);

} // namespace dvx
