// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/resistance/CraneTransitions.h"

#include <cmath>
#include <numbers>

namespace dvx {

double BoreChangeK1(TBoreChange change, double dSmall, double dLarge, double thetaDegrees) {
    const double beta = dSmall / dLarge;
    const double area = 1 - beta * beta; // 1 − β²
    const double s = std::sin(thetaDegrees * std::numbers::pi / 360); // sin(θ/2)
    if (change == TBoreChange::Contraction) return thetaDegrees <= 45 ? 0.8 * s * area : 0.5 * std::sqrt(s) * area;
    return thetaDegrees <= 45 ? 2.6 * s * area * area : area * area;
}

TBoreChangeResult BoreChangeK(TBoreChange change, double itemD, double otherD, double thetaDegrees,
                              bool itemIsUpstream) {
    TBoreChangeResult result;
    if (!(itemD > 0) || !(otherD > 0) || !std::isfinite(itemD) || !std::isfinite(otherD)) {
        result.Error = "Both diameters must be positive numbers";
        return result;
    }
    if (!(thetaDegrees > 0 && thetaDegrees <= 180)) {
        result.Error = "The angle must lie above 0 and up to 180 degrees";
        return result;
    }
    const double upstream = itemIsUpstream ? itemD : otherD;
    const double downstream = itemIsUpstream ? otherD : itemD;
    if (change == TBoreChange::Contraction && !(downstream < upstream)) {
        result.Error = "A contraction must lead to a smaller bore";
        return result;
    }
    if (change == TBoreChange::Enlargement && !(downstream > upstream)) {
        result.Error = "An enlargement must lead to a larger bore";
        return result;
    }
    const double dSmall = std::fmin(itemD, otherD);
    const double dLarge = std::fmax(itemD, otherD);
    const double k1 = BoreChangeK1(change, dSmall, dLarge, thetaDegrees);
    const double beta2 = (dSmall / dLarge) * (dSmall / dLarge);
    // A coefficient on the larger bore refers to its slower velocity: K2 = K1/β⁴.
    result.K = itemD == dSmall ? k1 : k1 / (beta2 * beta2);
    return result;
}

} // namespace dvx
