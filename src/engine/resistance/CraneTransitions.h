// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Resistance coefficients of a change of bore by the Crane formulas:
// sudden or conical contraction and enlargement. Both are stated on the
// smaller of the two bores (K1) and carried to the larger one (K2 = K1 / β⁴)
// when the item that holds them has the larger bore.

#include <optional>
#include <string>

namespace dvx {

enum class TBoreChange { Contraction, Enlargement };

// θ: the included angle of the cone in degrees, 180 for a sudden change.
// β = d_small / d_large.
//   contraction,  θ ≤ 45°: K1 = 0.8·sin(θ/2)·(1 − β²)
//   contraction,  θ > 45°: K1 = 0.5·√sin(θ/2)·(1 − β²)
//   enlargement,  θ ≤ 45°: K1 = 2.6·sin(θ/2)·(1 − β²)²
//   enlargement,  θ > 45°: K1 = (1 − β²)²
// dSmall and dLarge in m, 0 < dSmall ≤ dLarge; θ in (0, 180].
double BoreChangeK1(TBoreChange change, double dSmall, double dLarge, double thetaDegrees);

// The coefficient of a bore change on the bore of the item that holds it:
// the item's inside diameter `itemD` (m) is one end of the change and
// `otherD` (m) the other end. A contraction runs from the larger to the
// smaller bore, an enlargement from the smaller to the larger; which of the
// two is the item's own decides whether K1 or K2 comes back.
struct TBoreChangeResult {
    double K = 0;           // —, on the item's bore; valid when Error is empty
    std::string Error;      // why the input was refused, for the dialog and the CLI
};
TBoreChangeResult BoreChangeK(TBoreChange change, double itemD, double otherD, double thetaDegrees,
                              bool itemIsUpstream);

} // namespace dvx
