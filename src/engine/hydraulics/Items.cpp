// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/Items.h"

#include <limits>

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Friction.h"

#include <numbers>
#include <stdexcept>

namespace dvx {

std::int32_t ItemCounter = 0;

namespace {

void CheckFittingType(int t) {
    if (t < 0 || t >= FittingCount)
        throw std::out_of_range("fitting type " + std::to_string(t) + " is not in the fittings table");
}

} // namespace

// --- TBranch ---------------------------------------------------------------

TBranch::TBranch() : TypeName("Branch") {
    Description = TypeName;
    // A project file may hold the largest number there is; the counter then
    // stays there rather than overflowing.
    if (ItemCounter < std::numeric_limits<std::int32_t>::max()) ++ItemCounter;
    Number = ItemCounter;
    SetBore(BoreAtLeast(DefaultBore));
    Flow = DefaultFlow / 1000;
    Group = 0;
    InIndex = true;
}

bool TBranch::ValidData(int& column) const {
    if (!(Flow > 0)) {
        column = dcFlow;
        return false;
    }
    return true;
}

void TBranch::SetBore(int i) {
    if (i < 0 || i >= BoreCount)
        throw std::out_of_range("bore index " + std::to_string(i) + " is not in the bore table");
    BoreIndex = static_cast<std::uint8_t>(i);
    InsideDiameter = BoreTable[i].ID;
    Friction = BoreTable[i].ff;
}

void TBranch::SetBoreFromNominal(double d) { SetBore(NearestBore(d)); }

// --- TPipe -----------------------------------------------------------------

TPipe::TPipe() {
    TypeName = "Pipe";
    Description = TypeName;
    Length = DefaultLength;
    Warning = wnNone;
}

double TPipe::LabourHours() const { return Length * PipeLabourTime.at(BoreIndex).at(PipeMaterial); }

double TPipe::MaterialCost() const { return Length * PipeListPrice.at(BoreIndex).at(PipeMaterial); }

namespace {

const TLiquid& Liquid() {
    if (SystemFluid == nullptr) throw MathError("no system liquid");
    return *SystemFluid;
}

} // namespace

TDuctFlow SolveDuct(double flow, double d, double length, double eps, double f0, double ro, double mu) {
    TDuctFlow r;
    r.Area = d * d * std::numbers::pi / 4;
    r.Velocity = flow / r.Area;
    r.Reynolds = ro * r.Velocity * d / mu;
    r.Friction = FrictionFactor(f0, eps, d, r.Reynolds).f;
    r.PressureDrop = r.Velocity * r.Velocity * (0.5 * ro * r.Friction * length) / d;
    return r;
}

void TPipe::Solve(double eps) {
    const TLiquid& liquid = Liquid();
    const TDuctFlow r = SolveDuct(Flow, InsideDiameter, Length, eps, Friction, liquid.ro, liquid.mu);
    Area = r.Area;
    Velocity = r.Velocity;
    Reynolds = r.Reynolds;
    Friction = r.Friction;
    PressureDrop = r.PressureDrop;
    Gradient = PressureDrop / Length;
}

double TPipe::DropAtRatio(double s) const {
    const TLiquid& liquid = Liquid();
    return SolveDuct(s * Flow, InsideDiameter, Length, CurrentRoughness, Friction, liquid.ro, liquid.mu).PressureDrop;
}

void TPipe::Process() {
    Warning = wnNone;
    Solve(CurrentRoughness);
    // A pipe over both limits shows the gradient warning.
    if (Gradient > GradientLimit)
        Warning = wnGradient;
    else if (Velocity > VelocityLimit)
        Warning = wnVelocity;
    Volume = Area * Length;
}

bool TPipe::ValidData(int& column) const {
    if (!TBranch::ValidData(column)) return false;
    if (!(Length > 0)) {
        column = dcLengthOrQuantity;
        return false;
    }
    return true;
}

// --- TFitting --------------------------------------------------------------

TFitting::TFitting(int t) {
    CheckFittingType(t);
    FittingType = static_cast<std::uint8_t>(t);
    // Fresh copies moved in: a copy-assignment would grow the short-string
    // buffer to twice its size, and a million fittings feel every byte.
    TypeName = std::string(FittingTable[t].FittingName);
    C = FittingTable[t].C;
    Description = std::string(TypeName);
    Quantity = DefaultQuantity;
}

void TFitting::SetFittingType(int t) {
    CheckFittingType(t);
    FittingType = static_cast<std::uint8_t>(t);
    C = FittingTable[t].C;
}

double TFitting::LabourHours() const { return Quantity * FittingLabour.at(FittingType).at(BoreIndex); }

double TFitting::MaterialCost() const { return Quantity * FittingPrice.at(FittingType).at(BoreIndex); }

void TFitting::Process() {
    Warning = wnNone;
    // FittingType is a public field: never read past the table.
    if (FittingType >= FittingCount) throw MathError("fitting type outside the fittings table");
    // The coefficient in force now, so a changed catalogue applies at once.
    C = FittingTable[FittingType].C;
    EquivLength = C * InsideDiameter;
    Length = Quantity * EquivLength;
    // Fittings always have a smooth wall, whatever the pipe material.
    Solve(0);
    // A fitting over both limits shows the velocity warning.
    if (Velocity > VelocityLimit)
        Warning = wnVelocity;
    else if (Gradient > GradientLimit)
        Warning = wnGradient;
    Volume = Area * Length;
}

double TFitting::DropAtRatio(double s) const {
    if (FittingType >= FittingCount) throw MathError("fitting type outside the fittings table");
    const TLiquid& liquid = Liquid();
    // The equivalent length exactly as Process forms it.
    const double equivLength = FittingTable[FittingType].C * InsideDiameter;
    const double length = Quantity * equivLength;
    return SolveDuct(s * Flow, InsideDiameter, length, 0, Friction, liquid.ro, liquid.mu).PressureDrop;
}

bool TFitting::ValidData(int& column) const {
    if (!TPipe::ValidData(column)) return false;
    if (!(Quantity > 0)) {
        column = dcLengthOrQuantity;
        return false;
    }
    return true;
}

// --- TUser -----------------------------------------------------------------

TUser::TUser() {
    TypeName = "User";
    Description = TypeName;
}

void TUser::Process() { Volume = 0; }

double TUser::DropAtRatio(double s) const { return PressureDrop * (s * s); }

bool TUser::ValidData(int& column) const {
    if (!TBranch::ValidData(column)) return false;
    if (!(PressureDrop > 0)) {
        column = dcPressureDrop;
        return false;
    }
    return true;
}

// --- auto-size and auto-flow -----------------------------------------------

void AutoSize(TBranch& item) { item.SetBore(BoreForFlow(item.Flow * 1000)); }

void AutoFlow(TBranch& item) { item.Flow = BoreTable.at(item.BoreIndex).mf * 0.001; }

} // namespace dvx
