// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliWarning.h"

#include "OutputText.h"

#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/fluid/Fluid.h"
#include "engine/fluid/FreezingPoint.h"
#include "presentation/ui/FreezeText.h"

#include <ostream>

namespace dvx::cli {

std::vector<TCliWarning> RangeWarnings(const TFluid& fluid) {
    if (fluid.RangeStatus == 0) return {};
    return {{"temperatureOutOfRange", FloatToStr(fluid.t) + " °C is outside the valid range of " +
                                          Utf8Text(fluid.GetCaption()) + " (" + FloatToStr(fluid.ValidTMin) +
                                          " to " + FloatToStr(fluid.ValidTMax) + " °C)"}};
}

std::vector<TCliWarning> FreezeWarnings(const TLiquid& liquid, double marginK) {
    const TFreezeCheck check = CheckFreezing(liquid, marginK);
    if (!check.AtRisk) return {};
    const auto celsius = [](double t) { return FormatFloat("%0.1f", t) + " °C"; };
    return {{"freezingRisk", ui::FreezeWarningText(Utf8Text(liquid.GetCaption()), liquid.t, check, marginK, celsius),
             check.FreezingPoint}};
}

void PrintWarnings(const std::vector<TCliWarning>& warnings, std::ostream& err) {
    for (const TCliWarning& w : warnings) err << "warning: " << w.Message << "\n";
}

} // namespace dvx::cli
