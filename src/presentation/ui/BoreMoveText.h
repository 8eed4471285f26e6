// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The note after a change of pipe material that moved items to bores whose
// inside diameter differs by more than 10 %: one line per item, so the
// engineer can check the sizes that changed most.

#include "engine/hydraulics/MaterialChange.h"

#include <string>
#include <vector>

namespace dvx {

// Empty when no item moved that far. Otherwise a heading naming the
// material and a line per item: "#7 Riser: 102.3 mm → 25.3 mm (−75 %)".
std::string BoreMoveText(const TCircuit& circuit, const std::string& material, const std::vector<TBoreMove>& moves);

} // namespace dvx
