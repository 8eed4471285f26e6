// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of a mixture's freezing point and of the warning that its
// temperature is too close to it, shared by the fluid sheet, the status
// bar, the warnings list, the report and the command-line program. Each
// caller says how a temperature (°C) is written, with its unit.

#include "engine/fluid/FreezingPoint.h"

#include <functional>
#include <string>

namespace dvx {
class TLiquid;
}

namespace dvx::ui {

using TTemperatureText = std::function<std::string(double celsius)>;

// "−3.7 °C", "not below −5.0 °C" (weaker than the table) or "unknown".
std::string FreezingPointText(const TFreezeCheck& check, const TTemperatureText& text);

// "−20.0 °C is at or below the freezing point of CAPTION (−3.7 °C) plus
// the 2 K margin"; empty when the check is not at risk.
std::string FreezeWarningText(const std::string& caption, double t, const TFreezeCheck& check, double marginK,
                              const TTemperatureText& text);

// The warning for liquid with marginK (K), temperatures in the display
// units in force; empty when it is not at risk.
std::string LiquidFreezeWarning(const TLiquid& liquid, double marginK);

// The inverse question: the least additive volume fraction that keeps
// liquid's additive frozen-free down to t (°C) with marginK to spare, as
// "at least 27.7 %" (of volume, as the sheet's volume row), or "beyond the
// table" when no concentration of the table protects that far.
std::string ProtectionText(const TLiquid& liquid, double t, double marginK);

} // namespace dvx::ui
