// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/resistance/ThreeK.h"

#include <cmath>

namespace dvx {

double ThreeKCoefficient(const TThreeKConstants& k, double Re, double nominalInches) {
    // At no flow the laminar term contributes no drop (K1/Re · ρV²/2 → 0 as V → 0).
    const double laminar = Re > 0 ? k.K1 / Re : 0;
    return laminar + k.Ki * (1 + k.Kd / std::pow(nominalInches, 0.3));
}

} // namespace dvx
