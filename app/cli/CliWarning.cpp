// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliWarning.h"

#include "OutputText.h"

#include "base/Numbers.h"
#include "engine/fluid/Fluid.h"

#include <ostream>

namespace dvx::cli {

std::vector<TCliWarning> RangeWarnings(const TFluid& fluid) {
    if (fluid.RangeStatus == 0) return {};
    return {{"temperatureOutOfRange", FloatToStr(fluid.t) + " °C is outside the valid range of " +
                                          Utf8Text(fluid.GetCaption()) + " (" + FloatToStr(fluid.ValidTMin) +
                                          " to " + FloatToStr(fluid.ValidTMax) + " °C)"}};
}

void PrintWarnings(const std::vector<TCliWarning>& warnings, std::ostream& err) {
    for (const TCliWarning& w : warnings) err << "warning: " << w.Message << "\n";
}

} // namespace dvx::cli
