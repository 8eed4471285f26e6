// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names --material, --liquid and --additive take besides their codes:
// "drawn-tubing", "water", "ethylene-glycol". A name is compared by its
// letters and digits only and without regard to case, so "Ethylene Glycol",
// "ethylene_glycol" and "EthyleneGlycol" all name the same additive.

#include <array>
#include <string>
#include <vector>

namespace dvx::cli {

// The additives as the fluid sheet lists them, by code.
extern const std::array<const char*, 4> kAdditiveCaptions;

// The names in code order (code 0 first), as the help lists them.
const std::vector<std::string>& MaterialOptionNames();
const std::vector<std::string>& LiquidOptionNames();
const std::vector<std::string>& AdditiveOptionNames();

// The code `text` gives: a whole number from 0 to names.size() - 1, or one
// of the names. Raises UsageError naming the option and what it accepts.
int CodeOrName(const std::string& option, const std::string& text, const std::vector<std::string>& names);

} // namespace dvx::cli
