// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/pump/Npsh.h"

#include "engine/hydraulics/SystemCurve.h"

namespace dvx {

double NpshAvailable(double surfacePressure, double vapourPressure, double density, double staticHeight,
                     double suctionLoss) {
    return HeadOf(surfacePressure - vapourPressure - suctionLoss, density) + staticHeight;
}

} // namespace dvx
