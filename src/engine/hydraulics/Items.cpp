// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/Items.h"

#include <limits>

#include "engine/catalogue/ActiveBores.h"
#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Friction.h"
#include "engine/resistance/FittingMethod.h"

#include <numbers>
#include <stdexcept>

namespace dvx {


namespace {

void CheckFittingType(int t) {
    if (t < 0 || t >= FittingCount)
        throw std::out_of_range("fitting type " + std::to_string(t) + " is not in the fittings table");
}

} // namespace

// --- TBranch ---------------------------------------------------------------

TBranch::TBranch(const TProjectContext& project) : TypeName("Branch") {
    Description = TypeName;
    // A project file may hold the largest number there is; the counter then
    // stays there rather than overflowing.
    std::int32_t& counter = project.ItemCounter;
    if (counter < std::numeric_limits<std::int32_t>::max()) ++counter;
    Number = counter;
    SetBore(project, BoreRowForBuiltIn(project.Tables, BoreAtLeast(project.Tables, project.Tables.DefaultBore)));
    Flow = project.Tables.DefaultFlow / 1000;
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

void TBranch::SetBore(const TProjectContext& project, int i) {
    const TBoreRow row = BoreRow(project.Tables, i); // raises for a row outside the table
    BoreIndex = static_cast<std::uint8_t>(i);
    InsideDiameter = row.ID;
    Friction = row.ff;
}

void TBranch::SetBoreFromNominal(const TProjectContext& project, double d) {
    // A nominal size in mm names a built-in bore; a material with its own
    // bores takes the one nearest that bore's inside diameter.
    SetBore(project, BoreRowForBuiltIn(project.Tables, NearestBore(project.Tables, d)));
}

void TBranch::SetBuiltInBore(const TCatalogueTables& tables, int b) {
    const TBoreRec& rec = tables.BoreTable.at(static_cast<std::size_t>(b));
    BoreIndex = static_cast<std::uint8_t>(b);
    InsideDiameter = rec.ID;
    Friction = rec.ff;
}

// --- TPipe -----------------------------------------------------------------

TPipe::TPipe(const TProjectContext& project) : TBranch(project) {
    TypeName = "Pipe";
    Description = TypeName;
    Length = project.Tables.DefaultLength;
    Warning = wnNone;
}

double TPipe::LabourHours(const TProjectContext& project) const {
    const TCatalogueTables& t = project.Tables;
    if (const TMaterialTable* own = OwnBoreTable(t)) return Length * own->Bores.at(BoreIndex).LabourTime;
    return Length * t.PipeLabourTime.at(BoreIndex).at(t.PipeMaterial);
}

double TPipe::MaterialCost(const TProjectContext& project) const {
    const TCatalogueTables& t = project.Tables;
    if (const TMaterialTable* own = OwnBoreTable(t)) return Length * own->Bores.at(BoreIndex).ListPrice;
    return Length * t.PipeListPrice.at(BoreIndex).at(t.PipeMaterial);
}

TDuctFlow SolveDuct(double flow, double d, double length, double eps, double f0, double ro, double mu) {
    TDuctFlow r;
    r.Area = d * d * std::numbers::pi / 4;
    r.Velocity = flow / r.Area;
    r.Reynolds = ro * r.Velocity * d / mu;
    r.Friction = FrictionFactor(f0, eps, d, r.Reynolds).f;
    r.PressureDrop = r.Velocity * r.Velocity * (0.5 * ro * r.Friction * length) / d;
    return r;
}

void TPipe::Solve(const TLiquid& liquid, double eps) {
    const TDuctFlow r = SolveDuct(Flow, InsideDiameter, Length, eps, Friction, liquid.ro, liquid.mu);
    Area = r.Area;
    Velocity = r.Velocity;
    Reynolds = r.Reynolds;
    Friction = r.Friction;
    PressureDrop = r.PressureDrop;
    Gradient = PressureDrop / Length;
}

double TPipe::DropAtRatio(const TProjectContext& project, double s) const {
    const TLiquid& liquid = CalculationLiquid(project);
    return SolveDuct(s * Flow, InsideDiameter, Length, project.Tables.CurrentRoughness, Friction, liquid.ro,
                     liquid.mu)
        .PressureDrop;
}

void TPipe::Process(const TProjectContext& project) {
    const TCatalogueTables& t = project.Tables;
    Warning = wnNone;
    Solve(CalculationLiquid(project), t.CurrentRoughness);
    // A pipe over both limits shows the gradient warning.
    if (Gradient > t.GradientLimit)
        Warning = wnGradient;
    else if (Velocity > t.VelocityLimit)
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

TFitting::TFitting(const TProjectContext& project, int t) : TPipe(project) {
    CheckFittingType(t);
    const auto& FittingTable = project.Tables.FittingTable;
    FittingType = static_cast<std::uint8_t>(t);
    // Fresh copies moved in: a copy-assignment would grow the short-string
    // buffer to twice its size, and a million fittings feel every byte.
    TypeName = std::string(FittingTable[t].FittingName);
    C = FittingTable[t].C;
    Description = std::string(TypeName);
    Quantity = project.Tables.DefaultQuantity;
}

void TFitting::SetFittingType(const TProjectContext& project, int t) {
    CheckFittingType(t);
    FittingType = static_cast<std::uint8_t>(t);
    C = project.Tables.FittingTable[t].C;
}

namespace {

// The column of the fitting price and labour tables: the built-in bore
// itself, or for a material's own bore the built-in bore nearest in size.
std::size_t FittingCostColumn(const TCatalogueTables& t, const TBranch& item) {
    if (OwnBoreTable(t) == nullptr) return item.BoreIndex;
    return static_cast<std::size_t>(NearestBuiltInBore(t, BoreRow(t, item.BoreIndex).ID));
}

} // namespace

double TFitting::LabourHours(const TProjectContext& project) const {
    return Quantity * project.Tables.FittingLabour.at(FittingType).at(FittingCostColumn(project.Tables, *this));
}

double TFitting::MaterialCost(const TProjectContext& project) const {
    return Quantity * project.Tables.FittingPrice.at(FittingType).at(FittingCostColumn(project.Tables, *this));
}

void TFitting::Process(const TProjectContext& project) {
    const TCatalogueTables& t = project.Tables;
    Warning = wnNone;
    // FittingType is a public field: never read past the table.
    if (FittingType >= FittingCount) throw MathError("fitting type outside the fittings table");
    // The coefficient in force now, so a changed catalogue applies at once.
    C = t.FittingTable[FittingType].C;
    EquivLength = C * InsideDiameter;
    Length = Quantity * EquivLength;
    // Fittings always have a smooth wall, whatever the pipe material.
    const TLiquid& liquid = CalculationLiquid(project);
    Solve(liquid, 0);
    if (t.FittingMethod != TFittingMethod::EquivalentLength) {
        // The same velocity and Reynolds number; the drop from K instead of
        // from the pipe's friction factor over the equivalent length.
        PressureDrop = Quantity * MethodK(project, Reynolds) * (0.5 * liquid.ro * Velocity * Velocity);
        Gradient = Length > 0 ? PressureDrop / Length : 0;
    }
    // A fitting over both limits shows the velocity warning.
    if (Velocity > t.VelocityLimit)
        Warning = wnVelocity;
    else if (Gradient > t.GradientLimit)
        Warning = wnGradient;
    Volume = Area * Length;
}

double TFitting::DropAtRatio(const TProjectContext& project, double s) const {
    if (FittingType >= FittingCount) throw MathError("fitting type outside the fittings table");
    const TLiquid& liquid = CalculationLiquid(project);
    // The equivalent length exactly as Process forms it.
    const double equivLength = project.Tables.FittingTable[FittingType].C * InsideDiameter;
    const double length = Quantity * equivLength;
    const TDuctFlow r = SolveDuct(s * Flow, InsideDiameter, length, 0, Friction, liquid.ro, liquid.mu);
    if (project.Tables.FittingMethod == TFittingMethod::EquivalentLength) return r.PressureDrop;
    // Crane K is the same K at every flow; 3-K's K1/Re term follows the flow.
    return Quantity * MethodK(project, r.Reynolds) * (0.5 * liquid.ro * r.Velocity * r.Velocity);
}

double TFitting::MethodK(const TProjectContext& project, double Re) const {
    const TCatalogueTables& t = project.Tables;
    return FittingResistanceK(t.FittingMethod, FittingType, t.FittingTable[FittingType].C, InsideDiameter, Re,
                              BoreRowNominal(t, BoreIndex))
        .K;
}

double TFitting::ResistanceK(const TProjectContext& project) const {
    if (FittingType >= FittingCount) throw MathError("fitting type outside the fittings table");
    if (project.Tables.FittingMethod == TFittingMethod::EquivalentLength) return Friction * C;
    return MethodK(project, Reynolds);
}

bool TFitting::ThreeKFallsBack(const TProjectContext& project) const {
    return project.Tables.FittingMethod == TFittingMethod::ThreeK && FittingType < FittingCount &&
           !StandardFittingResistance()[FittingType].ThreeK;
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

TUser::TUser(const TProjectContext& project) : TBranch(project) {
    TypeName = "User";
    Description = TypeName;
}

void TUser::Process(const TProjectContext&) { Volume = 0; }

double TUser::DropAtRatio(const TProjectContext&, double s) const { return PressureDrop * (s * s); }

bool TUser::ValidData(int& column) const {
    if (!TBranch::ValidData(column)) return false;
    if (!(PressureDrop > 0)) {
        column = dcPressureDrop;
        return false;
    }
    return true;
}

// --- auto-size and auto-flow -----------------------------------------------

void AutoSize(const TProjectContext& project, TBranch& item) {
    item.SetBore(project, BoreRowForFlow(project.Tables, item.Flow * 1000));
}

void AutoFlow(const TProjectContext& project, TBranch& item) {
    item.Flow = BoreRow(project.Tables, item.BoreIndex).mf * 0.001;
}

} // namespace dvx
