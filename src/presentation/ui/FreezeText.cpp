// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/FreezeText.h"

#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/fluid/Fluid.h"
#include "engine/units/UnitView.h"

#include <cmath>

namespace dvx::ui {

std::string FreezingPointText(const TFreezeCheck& check, const TTemperatureText& text) {
    if (check.FreezingPoint) return text(*check.FreezingPoint);
    if (check.FreezesNotBelow) return "not below " + text(*check.FreezesNotBelow);
    return "unknown";
}

std::string FreezeWarningText(const std::string& caption, double t, const TFreezeCheck& check, double marginK,
                              const TTemperatureText& text) {
    if (!check.AtRisk) return {};
    const std::string point = check.FreezingPoint ? text(*check.FreezingPoint)
                                                  : "unknown, " + FreezingPointText(check, text);
    return text(t) + " is at or below the freezing point of " + caption + " (" + point + ") plus the " +
           FloatToStr(marginK) + " K margin";
}

std::string LiquidFreezeWarning(const TLiquid& liquid, double marginK) {
    const TUnitView temperature(qtTemperature, {"\u00B0C", "%0.1f", Times(1)});
    const auto text = [&](double t) { return temperature.Text(t) + " " + temperature.Label(); };
    return FreezeWarningText(liquid.GetCaption(), liquid.t, CheckFreezing(liquid, marginK), marginK, text);
}

std::string ProtectionText(const TLiquid& liquid, double t, double marginK) {
    const std::optional<double> x = LeastProtectingFraction(liquid.WaterAdditive, t - marginK);
    if (!x) return "beyond the table";
    // Rounded up to the tenth of a per cent shown, so the answer protects.
    return FormatFloat("at least %0.1f %%", std::ceil(*x * 1000 - 1e-9) / 10);
}

} // namespace dvx::ui
