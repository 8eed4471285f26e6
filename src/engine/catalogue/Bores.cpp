// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/catalogue/Bores.h"

#include "engine/catalogue/Tables.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace dvx {

double NominalOf(const TCatalogueTables& tables, int boreIndex) {
    int i = boreIndex % 128;
    if (i < 0 || i >= BoreCount)
        throw std::out_of_range("bore index " + std::to_string(boreIndex) + " is not in the bore table");
    return tables.BoreTable[i].Nominal;
}

std::uint8_t BoreAtLeast(const TCatalogueTables& tables, double d) {
    for (int i = BoreCount - 1; i >= 0; --i)
        if (tables.BoreTable[i].Nominal >= d) return static_cast<std::uint8_t>(i);
    return 0;
}

std::uint8_t NearestBore(const TCatalogueTables& tables, double d) {
    if (d >= tables.BoreTable[0].Nominal) return 0;
    if (d <= tables.BoreTable[BoreCount - 1].Nominal) return BoreCount - 1;
    for (int i = 1; i < BoreCount; ++i) {
        if (tables.BoreTable[i].Nominal <= d) {
            double r = (d - tables.BoreTable[i].Nominal) / (tables.BoreTable[i - 1].Nominal - tables.BoreTable[i].Nominal);
            return static_cast<std::uint8_t>(r > 0.5 ? i - 1 : i);
        }
    }
    // Only a diameter that is not a number gets here.
    return BoreCount - 1;
}

std::uint8_t BoreForFlow(const TCatalogueTables& tables, double q) {
    for (int i = BoreCount - 1; i >= 1; --i)
        if (tables.BoreTable[i].mf >= q) return static_cast<std::uint8_t>(i);
    return 0;
}

std::uint8_t BoreForInsideDiameter(const TCatalogueTables& tables, double d) {
    for (int i = BoreCount - 1; i >= 0; --i) {
        double id = tables.BoreTable[i].ID;
        if (std::fabs(d - id) * 100 / id <= 10) return static_cast<std::uint8_t>(i);
    }
    return 0;
}

} // namespace dvx
