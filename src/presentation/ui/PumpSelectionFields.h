// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pump window's selection fields without their widgets: the speed,
// the number of pumps and how they share the duty, the suction side and the
// running cost, as the fields show them (in the display units in force) and
// read back into a selection.

#include "engine/hydraulics/PumpSettings.h"

#include <string>

namespace dvx {

struct TSelectionFields {
    std::string Speed;           // % of rated
    std::string Pumps;           // a count
    TPumpArrangement Arrangement = TPumpArrangement::Parallel;
    bool Standby = false;
    std::string SuctionItems;    // item numbers, "3, 4, 5"
    std::string SuctionHeight;   // head unit (m with SI)
    std::string SurfacePressure; // pressure unit (kPa with SI), absolute
    std::string VapourPressure;  // pressure unit; blank: from the water table
    std::string NpshMargin;      // head unit
    std::string Hours;           // h per year
    std::string Price;           // currency per kWh
    std::string MotorEfficiency; // %
    std::string DriveEfficiency; // %
    bool operator==(const TSelectionFields&) const = default;
};

struct TSelectionRead {
    TPumpSelection Selection;
    std::string Error; // the first field that does not read or is out of range; empty when all are good
};

// The unit labels the fields' captions carry: "m" or "ft", "kPa" or "psi".
std::string SelectionHeadUnit();
std::string SelectionPressureUnit();

TSelectionFields SelectionFieldsOf(const TPumpSelection& selection, double density);
// Reads the fields over `shown` (the selection they were filled with); a
// field still showing what it was filled with keeps that value exactly.
// The NPSH points are kept from `shown` (the point table gives them). An
// error changes nothing: Selection is then `shown`.
TSelectionRead ReadSelectionFields(const TSelectionFields& fields, const TPumpSelection& shown, double density);

} // namespace dvx
