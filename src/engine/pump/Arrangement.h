// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several identical pumps as one: in parallel they share the flow at equal
// head, in series they share the head at equal flow. Each pump runs at the
// same point of its own curve, so the efficiency of each combined point is
// the single pump's, and the combined shaft power is N times one pump's.

#include "engine/hydraulics/PumpSettings.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace dvx {

// "parallel", "series": the words of the CLI and the project file.
std::string_view ArrangementKey(TPumpArrangement arrangement);
std::optional<TPumpArrangement> ArrangementFromKey(std::string_view key);

// The points of `running` (≥ 1) identical pumps with the given single-pump points.
std::vector<TPumpPoint> CombinedPoints(std::span<const TPumpPoint> single, TPumpArrangement arrangement,
                                       int running);

} // namespace dvx
