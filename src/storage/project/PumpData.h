// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pump and system-curve settings in a project file: a second property
// "Pump" of the root record, after "Circuit", written only when the project
// has a pump or curve settings other than the defaults. A project without
// them is therefore written exactly as before, and a file without the
// property reads as a project without a pump.
//
// Values, in order: the layout number (integer, 1); a list of points, each
// flow (m³/s), head (m) and efficiency (0 to 1, 0 = none) as floats; the
// static head (m, float); the number of curve points (integer); the largest
// flow ratio (float).

#include "engine/hydraulics/PumpSettings.h"
#include "storage/project/TagStream.h"

namespace dvx {

inline constexpr const char* kPumpProperty = "Pump";

// Writes the property name and its values.
void WritePumpData(TTagWriter& w, const TPumpSettings& pump);
// Reads the values after the property name. A layout other than 1, more
// points than a pump can have, or a value that is not a number or is outside
// its range raises FileError.
TPumpSettings ReadPumpData(TTagReader& r);

// The pump selection (speed, several pumps, suction side, running cost): a
// property "PumpSelection" of its own after "Pump", written only when the
// selection differs from the defaults, so that a project without one is
// written as before. A program that predates it refuses such a file
// ("Unexpected property") rather than dropping the selection unseen.
//
// Values, in order: the layout number (integer, 1); the speed ratio
// (float); the number of pumps (integer); the arrangement (integer, 0
// parallel, 1 series); standby (boolean); a list of NPSH-required points,
// each flow (m³/s) and NPSH (m) as floats; a list of suction item numbers
// (integers); the suction height (m), surface pressure (Pa), vapour pressure
// (Pa, negative: from the water table), NPSH margin (m), hours per year,
// price per kWh, motor and drive efficiencies, all floats.
inline constexpr const char* kPumpSelectionProperty = "PumpSelection";
void WritePumpSelection(TTagWriter& w, const TPumpSelection& selection);
// Reads the values after the property name; anything out of its range
// raises FileError naming it.
TPumpSelection ReadPumpSelection(TTagReader& r);

} // namespace dvx
