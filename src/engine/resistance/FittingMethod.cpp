// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/resistance/FittingMethod.h"

#include "engine/resistance/CraneFriction.h"
#include "engine/units/NominalInches.h"

#include <stdexcept>

namespace dvx {

std::string_view FittingMethodName(TFittingMethod method) {
    switch (method) {
    case TFittingMethod::EquivalentLength: return "Equivalent length";
    case TFittingMethod::CraneK: return "Crane K";
    case TFittingMethod::ThreeK: return "3-K";
    }
    return "Equivalent length";
}

std::string_view FittingMethodKey(TFittingMethod method) {
    switch (method) {
    case TFittingMethod::EquivalentLength: return "length";
    case TFittingMethod::CraneK: return "crane";
    case TFittingMethod::ThreeK: return "3k";
    }
    return "length";
}

std::optional<TFittingMethod> FittingMethodFromKey(std::string_view key) {
    for (auto m : {TFittingMethod::EquivalentLength, TFittingMethod::CraneK, TFittingMethod::ThreeK})
        if (key == FittingMethodKey(m)) return m;
    return std::nullopt;
}

namespace {

using K3 = TThreeKConstants;

// The standard fitting types matched to the Crane (TP-410) multipliers and
// the Darby 3-K constants. Where a type is a family in those tables the
// choice is the usual building-services fitting:
//  - welded elbow: long-radius butt-welding elbow, r/D = 1.5 (Crane 14 fT);
//  - pipe bend: bent pipe of r/D = 4 (Crane 14 fT);
//  - equal tees: threaded tee through the run / through the branch;
//    the welded tee: flanged tee through the run;
//  - ball valve (CB): full bore (Crane 3 fT); 3-K Ki 0.017 as Darby prints it;
//  - butterfly valve: centric, 2–8" (Crane 45 fT);
//  - angle check valve: angle stop-check with restriction (Crane 350 fT).
// Reducer, expander, reduced-bore valves, strainers, the flow switch, the
// gauge socket and the flexible connector have no fixed Crane multiplier
// (the reduced-bore ones depend on β and θ): their C stands in for n.
const std::array<TFittingResistanceData, FittingCount> kResistance = {{
    /* Std Elbow 90 deg    */ {30, K3{800, 0.14, 4.0}},
    /* Std Elbow 45 deg    */ {16, K3{500, 0.071, 4.2}},
    /* Reducer             */ {std::nullopt, std::nullopt},
    /* Expander            */ {std::nullopt, std::nullopt},
    /* Std Equal T Str     */ {20, K3{200, 0.091, 4.0}},
    /* Std Equal T Side    */ {60, K3{500, 0.274, 4.0}},
    /* Welded T Thru Flo   */ {20, K3{150, 0.05, 4.0}},
    /* Welded Elbow 90 deg */ {14, K3{800, 0.071, 4.2}},
    /* Pipe Bend 90 deg    */ {14, K3{800, 0.066, 3.9}},
    /* Mitre Bend 45 deg   */ {15, K3{500, 0.086, 4.0}},
    /* CB Ball Valve       */ {3, K3{300, 0.017, 3.5}},
    /* RB Ball Valve       */ {std::nullopt, std::nullopt},
    /* Gate Valve          */ {8, K3{300, 0.037, 3.9}},
    /* RB Gate Valve       */ {std::nullopt, std::nullopt},
    /* Swing Check Valve   */ {100, K3{1500, 0.46, 4.0}},
    /* Lift Check Valve    */ {600, K3{2000, 2.85, 3.8}},
    /* Globe Valve         */ {340, K3{1500, 1.7, 3.6}},
    /* Angle Check Valve   */ {350, std::nullopt},
    /* Butterfly Valve     */ {45, std::nullopt},
    /* Clean Strainer      */ {std::nullopt, std::nullopt},
    /* Dirty Strainer      */ {std::nullopt, std::nullopt},
    /* Flow Switch         */ {std::nullopt, std::nullopt},
    /* Gauge Socket        */ {std::nullopt, std::nullopt},
    /* VibroFlex           */ {std::nullopt, std::nullopt},
}};

} // namespace

const std::array<TFittingResistanceData, FittingCount>& StandardFittingResistance() { return kResistance; }

double CraneMultiplier(int fittingType, double C) {
    if (fittingType < 0 || fittingType >= FittingCount)
        throw std::out_of_range("fitting type outside the fittings table");
    return kResistance[fittingType].CraneN.value_or(C);
}

TFittingK FittingResistanceK(TFittingMethod method, int fittingType, double C, double D, double Re,
                             double nominalMm) {
    const double n = CraneMultiplier(fittingType, C);
    if (method == TFittingMethod::ThreeK) {
        if (const auto& k = kResistance[fittingType].ThreeK)
            return {ThreeKCoefficient(*k, Re, NominalInches(nominalMm)), false};
        return {n * CraneFullyTurbulentFactor(D), true};
    }
    if (method != TFittingMethod::CraneK) throw std::invalid_argument("no resistance coefficient by equivalent length");
    return {n * CraneFullyTurbulentFactor(D), false};
}

} // namespace dvx
