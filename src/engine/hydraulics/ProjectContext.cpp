// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/ProjectContext.h"

#include "engine/hydraulics/Items.h"

namespace dvx {

TProjectContext ProgramContext() { return {ProgramTables(), SystemFluid, ItemCounter}; }

TProjectState::TProjectState()
    : Liquid("Water", 0, 0.0, BuiltInDefaultTemperature, BuiltInDefaultTemperature) {}

} // namespace dvx
