// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/pump/RunningCost.h"

namespace dvx {

TRunningCost RunningCost(double shaftPower, double motorEfficiency, double driveEfficiency, double hoursPerYear,
                         double pricePerKWh) {
    TRunningCost cost;
    cost.InputPower = shaftPower / (motorEfficiency * driveEfficiency);
    cost.KWhPerYear = cost.InputPower * hoursPerYear / 1000;
    cost.CostPerYear = cost.KWhPerYear * pricePerKWh;
    return cost;
}

} // namespace dvx
