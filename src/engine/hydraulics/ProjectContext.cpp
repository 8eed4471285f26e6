// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/ProjectContext.h"

#include "base/Errors.h"
#include "engine/hydraulics/Items.h"
#include "engine/units/UnitView.h"

namespace dvx {

const TLiquid& CalculationLiquid(const TProjectContext& project) {
    if (project.Liquid == nullptr) throw MathError("no system liquid");
    return *project.Liquid;
}

TProjectState::TProjectState()
    : Liquid("Water", 0, 0.0, BuiltInDefaultTemperature, BuiltInDefaultTemperature) {}

} // namespace dvx
