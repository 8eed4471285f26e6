// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one range check of a pump selection, used wherever a selection comes
// in: the project file, the command line and the pump window. Each says the
// same thing about the same value.

#include "engine/hydraulics/PumpSettings.h"

#include <string>

namespace dvx {

inline constexpr double kMaxNpshFlow = 1e6;        // m³/s, beyond any pump
inline constexpr double kMaxNpshMargin = 100;      // m
inline constexpr double kMaxPricePerKWh = 1e6;     // currency per kWh
inline constexpr double kMinMotorEfficiency = 1e-3; // —, 0.1 %
inline constexpr double kMinSurfacePressure = 1;   // Pa absolute

// The first value of the selection the program does not accept, as a
// sentence naming it in the units the user types it in (l/s, kPa, %);
// empty when every value is in range. Non-finite numbers are out of range.
std::string SelectionProblem(const TPumpSelection& selection);
// What SelectionProblem says of a vapour pressure out of range; also for a
// typed negative one, which in a field means a mistake, not "from the table".
std::string VapourPressureProblem();

} // namespace dvx
