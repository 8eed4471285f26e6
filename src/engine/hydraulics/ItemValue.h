// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one number that states an item besides its flow and bore, shown in
// the grid's quantity column: a pipe's length (m), a fitting's quantity, a
// K item's K and a valve's Kv (m³/h). A user item has none.

#include "engine/hydraulics/Items.h"

#include <optional>

namespace dvx {

std::optional<double> ItemValue(const TBranch& item);

} // namespace dvx
