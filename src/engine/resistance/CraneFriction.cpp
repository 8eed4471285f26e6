// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/resistance/CraneFriction.h"

#include <cmath>

namespace dvx {

double CraneFullyTurbulentFactor(double D) {
    const double x = std::log10(CraneSteelRoughness / (3.7 * D));
    return 0.25 / (x * x);
}

} // namespace dvx
