// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/ResistanceItems.h"

#include "base/Errors.h"
#include "engine/resistance/ValveFlowCoefficient.h"

#include <cmath>
#include <numbers>

namespace dvx {

namespace {

bool PositiveNumber(double v) { return v > 0 && std::isfinite(v); }

} // namespace

void TResistanceItem::Process(const TProjectContext& project) {
    const TLiquid& liquid = CalculationLiquid(project);
    Warning = wnNone;
    Area = InsideDiameter * InsideDiameter * std::numbers::pi / 4;
    Velocity = Flow / Area;
    Reynolds = liquid.ro * Velocity * InsideDiameter / liquid.mu;
    PressureDrop = ResistanceK(project) * (0.5 * liquid.ro * Velocity * Velocity);
    if (Velocity > project.Tables.VelocityLimit) Warning = wnVelocity;
    Volume = 0;
}

double TResistanceItem::DropAtRatio(const TProjectContext&, double s) const { return PressureDrop * (s * s); }

TKItem::TKItem(const TProjectContext& project) : TResistanceItem(project) {
    TypeName = "K item";
    Description = TypeName;
}

bool TKItem::ValidData(int& column) const {
    if (!TBranch::ValidData(column)) return false;
    if (!PositiveNumber(K)) {
        column = dcLengthOrQuantity;
        return false;
    }
    return true;
}

TValve::TValve(const TProjectContext& project) : TResistanceItem(project) {
    TypeName = "Valve";
    Description = TypeName;
}

double TValve::ResistanceK(const TProjectContext&) const {
    return KvToResistanceK(Kv, InsideDiameter);
}

bool TValve::ValidData(int& column) const {
    if (!TBranch::ValidData(column)) return false;
    if (!PositiveNumber(Kv)) {
        column = dcLengthOrQuantity;
        return false;
    }
    return true;
}

} // namespace dvx
