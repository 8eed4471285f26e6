// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pump selection's figures as lines under the plot and on the report
// page, in the display units in force: the pumps and speed, the speed for
// the design point, the duty with one pump fewer, the best efficiency, the
// largest shaft power, the NPSH margin, the running cost and the extra drop
// that brings the duty flow to the design flow.

#include "engine/pump/PumpAnalysis.h"

#include <string>
#include <vector>

namespace dvx {

// Only the lines the analysis has figures for; none without a duty search.
std::vector<std::string> SelectionLines(const TPumpAnalysis& analysis, const TPumpSettings& pump);

// A shaft or input power (W) as the head is shown: kW beside metres,
// horsepower beside feet.
std::string PowerText(double watts);

} // namespace dvx
