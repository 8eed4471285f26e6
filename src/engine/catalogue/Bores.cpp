// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/catalogue/Bores.h"

#include "engine/catalogue/Tables.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace dvx {

double NominalOf(int boreIndex) {
    int i = boreIndex % 128;
    if (i < 0 || i >= BoreCount)
        throw std::out_of_range("bore index " + std::to_string(boreIndex) + " is not in the bore table");
    return BoreTable[i].Nominal;
}

std::uint8_t BoreAtLeast(double d) {
    for (int i = BoreCount - 1; i >= 0; --i)
        if (BoreTable[i].Nominal >= d) return static_cast<std::uint8_t>(i);
    return 0;
}

std::uint8_t NearestBore(double d) {
    if (d >= BoreTable[0].Nominal) return 0;
    if (d <= BoreTable[BoreCount - 1].Nominal) return BoreCount - 1;
    for (int i = 1; i < BoreCount; ++i) {
        if (BoreTable[i].Nominal <= d) {
            double r = (d - BoreTable[i].Nominal) / (BoreTable[i - 1].Nominal - BoreTable[i].Nominal);
            return static_cast<std::uint8_t>(r > 0.5 ? i - 1 : i);
        }
    }
    // Only a diameter that is not a number gets here.
    return BoreCount - 1;
}

std::uint8_t BoreForFlow(double q) {
    for (int i = BoreCount - 1; i >= 1; --i)
        if (BoreTable[i].mf >= q) return static_cast<std::uint8_t>(i);
    return 0;
}

std::uint8_t BoreForInsideDiameter(double d) {
    for (int i = BoreCount - 1; i >= 0; --i) {
        double id = BoreTable[i].ID;
        if (std::fabs(d - id) * 100 / id <= 10) return static_cast<std::uint8_t>(i);
    }
    return 0;
}

} // namespace dvx
