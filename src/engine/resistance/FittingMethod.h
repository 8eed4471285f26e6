// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a project turns a fitting into a pressure drop.
//  - Equivalent length: the fitting is C inside diameters of smooth pipe at
//    the fitting's own friction factor (what every project file without a
//    method means).
//  - Crane K: K = n·fT, n the Crane multiplier of the fitting type and fT the
//    fully turbulent factor of clean steel of the fitting's bore.
//  - 3-K: K = K1/Re + Ki·(1 + Kd/Dn^0.3) for the types that have constants;
//    the others fall back to Crane K.

#include "engine/catalogue/Tables.h"
#include "engine/resistance/ThreeK.h"

#include <array>
#include <optional>
#include <string_view>

namespace dvx {

// "Equivalent length", "Crane K", "3-K": the names the window and the report show.
std::string_view FittingMethodName(TFittingMethod method);
// The CLI's words: "length", "crane", "3k".
std::string_view FittingMethodKey(TFittingMethod method);
std::optional<TFittingMethod> FittingMethodFromKey(std::string_view key);

// What the Crane and 3-K methods know of one standard fitting type.
struct TFittingResistanceData {
    // —, the Crane multiplier of fT; empty where the type has no Crane row, in
    // which case the type's C (as in force in the catalogue) serves as n.
    std::optional<double> CraneN;
    // The 3-K constants; empty where the type has none (3-K falls back to Crane K).
    std::optional<TThreeKConstants> ThreeK;
};

// Indexed like FittingTable.
const std::array<TFittingResistanceData, FittingCount>& StandardFittingResistance();

// The Crane multiplier in force for type t with coefficient C in force.
double CraneMultiplier(int fittingType, double C);

// The resistance coefficient of one fitting by the Crane K or 3-K method.
struct TFittingK {
    double K = 0;          // —, on the fitting's bore
    bool FellBack = false; // 3-K asked, but the type has no constants: Crane K used
};
// D inside diameter in m, Re the Reynolds number in the fitting, nominalMm
// the bore's nominal size in mm, C the type's coefficient in force. method
// must be CraneK or ThreeK.
TFittingK FittingResistanceK(TFittingMethod method, int fittingType, double C, double D, double Re,
                             double nominalMm);

} // namespace dvx
