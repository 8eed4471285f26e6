// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A warning of a command: the calculation went on, but the result may not
// be what the user wanted. Printed on stderr, listed in the JSON document
// and, with --strict, the reason for exit 6.

#include <iosfwd>
#include <string>
#include <vector>

namespace dvx {
class TFluid;
}

namespace dvx::cli {

struct TCliWarning {
    std::string Code;    // one word: "temperatureOutOfRange", "noItems", "skippedLine", "startup"
    std::string Message; // the text for the user
};

// The warning for a liquid evaluated outside its valid range, or none.
std::vector<TCliWarning> RangeWarnings(const TFluid& fluid);

// Each warning on err as "warning: MESSAGE" (err puts "darvenix-cli: " first).
void PrintWarnings(const std::vector<TCliWarning>& warnings, std::ostream& err);

} // namespace dvx::cli
