// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lookups on the BoreTable of the tables a caller gives (a project's own:
// there is no program-wide table). All read the values in force, so a
// catalogue file or the "MaxFlows" setting changes their answers.


#include "engine/catalogue/Tables.h"

#include <cstdint>

namespace dvx {

// mm, Nominal of the row (index taken modulo 128). An index that is still
// outside the table raises std::out_of_range.
double NominalOf(const TCatalogueTables& tables, int boreIndex);
// The smallest bore whose Nominal is at least d (mm); 0 (750 mm) when none is.
std::uint8_t BoreAtLeast(const TCatalogueTables& tables, double d);
// The bore whose Nominal is nearest d (mm); half-way gives the smaller bore.
std::uint8_t NearestBore(const TCatalogueTables& tables, double d);
// The smallest bore whose mf is at least q (l/s); the 750 mm row is never
// compared: it is the answer when no smaller bore qualifies.
std::uint8_t BoreForFlow(const TCatalogueTables& tables, double q);
// The smallest bore whose ID is within 10 % of d (m); 0 (750 mm) when none is.
std::uint8_t BoreForInsideDiameter(const TCatalogueTables& tables, double d);

} // namespace dvx
