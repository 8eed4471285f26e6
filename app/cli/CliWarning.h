// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A warning of a command: the calculation went on, but the result may not
// be what the user wanted. Printed on stderr, listed in the JSON document
// and, with --strict, the reason for exit 6.

#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dvx {
class TFluid;
class TLiquid;
} // namespace dvx

namespace dvx::cli {

struct TCliWarning {
    TCliWarning() = default;
    TCliWarning(std::string code, std::string message) : Code(std::move(code)), Message(std::move(message)) {}
    // A "freezingRisk" warning and the freezing point it names.
    TCliWarning(std::string code, std::string message, std::optional<double> freezingPoint)
        : Code(std::move(code)), Message(std::move(message)), CarriesFreezingPoint(true), FreezingPoint(freezingPoint) {}

    std::string Code;    // one word: "temperatureOutOfRange", "freezingRisk", "noItems", "skippedLine", "startup"
    std::string Message; // the text for the user
    // "freezingRisk" only: the JSON warning names the freezing point (°C;
    // null when the mixture is weaker than its table reaches).
    bool CarriesFreezingPoint = false;
    std::optional<double> FreezingPoint;
};

// The warning for a liquid evaluated outside its valid range, or none.
std::vector<TCliWarning> RangeWarnings(const TFluid& fluid);

// The warning for a water mixture at or below its freezing point plus
// marginK (K), or none.
std::vector<TCliWarning> FreezeWarnings(const TLiquid& liquid, double marginK);

// Each warning on err as "warning: MESSAGE" (err puts "darvenix-cli: " first).
void PrintWarnings(const std::vector<TCliWarning>& warnings, std::ostream& err);

} // namespace dvx::cli
