// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the pump costs to run: the electrical input that delivers the shaft
// power through the motor and its drive, over the hours it runs in a year.

namespace dvx {

struct TRunningCost {
    double InputPower = 0; // W, electrical
    double KWhPerYear = 0; // kWh
    double CostPerYear = 0; // in the currency the price is given in
};

// shaftPower in W; motorEfficiency and driveEfficiency in (0, 1] (1 for a
// motor without a drive); hoursPerYear in h (0 to 8784); pricePerKWh per kWh.
TRunningCost RunningCost(double shaftPower, double motorEfficiency, double driveEfficiency, double hoursPerYear,
                         double pricePerKWh);

} // namespace dvx
