// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Nominal pipe sizes in inches. A bore is known by its nominal size in mm
// (the bore table and the files keep it so); engineers who work in inches
// know the same bore by its inch designation: 15 mm is ½", 32 mm is 1¼",
// 750 mm is 30". These are trade names, not conversions: 32 mm is 1¼" even
// though 1.25 in is 31.75 mm.

#include <optional>
#include <string>
#include <string_view>

namespace dvx {

// The designation of a nominal size in mm ("1¼\""), or nothing when the
// size is not one of the twenty standard bores.
std::optional<std::string> InchDesignation(double nominalMm);

// The inch value of a nominal size: the designation's value (32 → 1.25), or
// mm / 25.4 for a size without a designation.
double NominalInches(double nominalMm);

// The nominal size in mm of the standard bore whose designation is nearest
// `inches` (half-way gives the smaller bore).
double NominalMmForInches(double inches);

// The shown form of a nominal size: its designation, or for a size without
// one the inch value with two decimals and the inch mark ("3.94\"").
std::string NominalInchText(double nominalMm);

// Reads what an engineer types for a size in inches: "1.25", "1 1/4",
// "1-1/4", "1¼", "3/4" or "¾", each with or without a trailing '"' or "in".
// Gives the value in inches, or nothing when the text is none of these or
// is not positive.
std::optional<double> ParseInches(std::string_view text);

} // namespace dvx
