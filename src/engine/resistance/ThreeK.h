// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 3-K method of a fitting's resistance coefficient (Darby): a laminar
// part that falls with the Reynolds number and a turbulent part that falls
// with the size, K = K1/Re + Ki·(1 + Kd / Dn^0.3).

namespace dvx {

struct TThreeKConstants {
    double K1 = 0; // —, laminar constant
    double Ki = 0; // —, turbulent constant of a 1 in fitting's limit
    double Kd = 0; // in^0.3, size constant
};

// Re the Reynolds number in the fitting (at Re ≤ 0, no flow, the laminar
// term is left out: its share of the drop vanishes with the velocity), nominalInches Dn the nominal
// size in inches (> 0). Correlated for Re from about 10 to 10⁷ and nominal
// sizes from ½" to 24"; used unclipped outside.
double ThreeKCoefficient(const TThreeKConstants& k, double Re, double nominalInches);

} // namespace dvx
