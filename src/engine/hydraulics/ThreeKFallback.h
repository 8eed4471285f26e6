// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which fitting types of a circuit the 3-K method cannot calculate (no 3-K
// constants) and so calculates by Crane K: said once, by type, wherever
// the results are shown.

#include "engine/hydraulics/ProjectContext.h"

#include <string>
#include <vector>

namespace dvx {

class TCircuit;

// The names of those types in the order they first occur in the circuit;
// empty unless the project's method is 3-K.
std::vector<std::string> ThreeKFallbackTypes(const TCircuit& circuit, const TProjectContext& project);

// The names joined: "Angle Check Valve, Butterfly Valve".
std::string JoinedTypeNames(const std::vector<std::string>& types);

} // namespace dvx
