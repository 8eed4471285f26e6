// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The items of a circuit: a length of straight pipe (TPipe), a number of
// identical fittings of one type and bore (TFitting, calculated as an
// equivalent length of pipe) and a user item with a fixed pressure drop
// (TUser); ResistanceItems.h adds items stated by K or by Kv. The circuit
// owns them and calls them through TBranch.
//
// Fields are grouped by size rather than kept in file order so that an item
// stays small; the project file writes them in its own fixed order.

#include "engine/hydraulics/ProjectContext.h"

#include <cstdint>
#include <memory>
#include <string>

namespace dvx {

// KItem and Valve (ResistanceItems.h) are stated by a resistance rather
// than a length.
enum class TItemKind : std::uint8_t { Pipe, Fitting, User, KItem, Valve };

// Warning codes of pipes and fittings.
enum TWarning : std::uint8_t {
    wnNone = 0,
    wnGradient = 1, // pressure gradient above GradientLimit
    wnVelocity = 2, // velocity above VelocityLimit
};

// Grid columns a failed ValidData points at.
enum TDataColumn : int {
    dcLengthOrQuantity = 0,
    dcFlow = 1,
    dcPressureDrop = 2,
};

class TBranch {
public:
    virtual ~TBranch() = default;

    std::string Description;     // free text
    std::string TypeName;        // "Pipe", "User" or the fitting type's name
    double InsideDiameter = 0;   // m, the ID of bore BoreIndex when the bore was set
    double Friction = 0;         // —, Darcy factor: start of the next calculation and its result
    double Flow = 0;             // m³/s
    double PressureDrop = 0;     // Pa, computed (pipe, fitting) or entered (user item)
    double Volume = 0;           // m³, liquid volume attributed to the item
    std::int32_t Number = 0;     // reference number shown in the "#" column
    std::int32_t Group = 0;      // group number
    std::uint8_t BoreIndex = 0;  // row of the active material's bore table (BoreTable: 0 750 mm to 19 15 mm)
    bool InIndex = true;         // counts towards the index circuit when groups are active

    virtual TItemKind Kind() const = 0;
    // h, labour time for the item in the active material.
    virtual double LabourHours(const TProjectContext& project) const { (void)project; return 0; }
    // Price of the item's material; negative when the price table has no value yet.
    virtual double MaterialCost(const TProjectContext& project) const { (void)project; return 0; }
    // Computes the item's results from the project's liquid and tables.
    // Reports nothing itself; the circuit checks the results.
    virtual void Process(const TProjectContext& project) = 0;
    // True when the item can be calculated; otherwise column names the grid
    // column to correct (TDataColumn). Flow, length, quantity and a user
    // item's pressure drop must be above zero: a zero or a negative value
    // (which would lower the circuit's total) fails.
    virtual bool ValidData(int& column) const;
    // Pa, the pressure drop the item would have at s times its Flow, by the
    // rules of Process and starting from the Friction it holds now. The item
    // itself is not changed, so a whole circuit can be evaluated at other
    // flows without disturbing its results.
    virtual double DropAtRatio(const TProjectContext& project, double s) const = 0;

    // Bore i: BoreIndex, InsideDiameter and Friction from the active
    // material's bore table (BoreTable: 0 to 19). Any other index raises
    // std::out_of_range and changes nothing.
    void SetBore(const TProjectContext& project, int i);
    // Bore b of BoreTable (0 to 19) whatever material is active: what the
    // items of a project file start from. Any other b raises std::out_of_range.
    void SetBuiltInBore(const TCatalogueTables& tables, int b);
    // The bore nearest the nominal size d (mm).
    void SetBoreFromNominal(const TProjectContext& project, double d);

protected:
    // Next reference number of the project, its default bore and flow,
    // group 0 in the index.
    explicit TBranch(const TProjectContext& project);
};

class TPipe : public TBranch {
public:
    explicit TPipe(const TProjectContext& project);

    std::uint8_t Warning = wnNone; // TWarning of the last calculation
    double Area = 0;       // m², flow area
    double Reynolds = 0;   // —
    double Velocity = 0;   // m/s, mean velocity
    double Length = 0;     // m; for a fitting the total equivalent length of the last calculation
    double Gradient = 0;   // Pa/m, pressure drop per metre of Length

    TItemKind Kind() const override { return TItemKind::Pipe; }
    using TBranch::DropAtRatio;
    using TBranch::LabourHours;
    using TBranch::MaterialCost;
    using TBranch::Process;
    double LabourHours(const TProjectContext& project) const override;
    double MaterialCost(const TProjectContext& project) const override;
    void Process(const TProjectContext& project) override;
    bool ValidData(int& column) const override;
    double DropAtRatio(const TProjectContext& project, double s) const override;

protected:
    // Area, velocity, Reynolds number, friction factor (wall roughness eps
    // in m), pressure drop and gradient over Length, in the given liquid.
    void Solve(const TLiquid& liquid, double eps);
};

class TFitting : public TPipe {
public:
    // A fitting of type t (0 to 23); any other type raises std::out_of_range.
    TFitting(const TProjectContext& project, int t);

    std::uint8_t FittingType = 0; // row of FittingTable
    double EquivLength = 0;       // m, equivalent length of one fitting, C × InsideDiameter
    double Quantity = 0;          // —, number of fittings
    double C = 0;                 // —, FittingTable[FittingType].C when last taken

    TItemKind Kind() const override { return TItemKind::Fitting; }
    using TPipe::DropAtRatio;
    using TPipe::LabourHours;
    using TPipe::MaterialCost;
    using TPipe::Process;
    double LabourHours(const TProjectContext& project) const override;
    double MaterialCost(const TProjectContext& project) const override;
    void Process(const TProjectContext& project) override;
    bool ValidData(int& column) const override;
    double DropAtRatio(const TProjectContext& project, double s) const override;

    // Type t (0 to 23) and its coefficient; TypeName is left alone (a project
    // file keeps the name it stored). Any other type raises std::out_of_range.
    void SetFittingType(const TProjectContext& project, int t);

    // —, the resistance coefficient of one fitting on its bore as the last
    // calculation used it: Friction × C by equivalent length, n·fT by Crane
    // K, the 3-K value at the Reynolds number held. Derived on demand, so a
    // fitting stays as small as it was.
    double ResistanceK(const TProjectContext& project) const;
    // True when the project asks for 3-K and the fitting's type has no 3-K
    // constants, so Crane K stands in.
    bool ThreeKFallsBack(const TProjectContext& project) const;

private:
    // K of one fitting at Reynolds number Re by the project's method; not
    // for the equivalent-length method.
    double MethodK(const TProjectContext& project, double Re) const;
};

class TUser : public TBranch {
public:
    explicit TUser(const TProjectContext& project);

    TItemKind Kind() const override { return TItemKind::User; }
    using TBranch::DropAtRatio;
    using TBranch::Process;
    void Process(const TProjectContext& project) override;
    bool ValidData(int& column) const override;
    // The fixed drop scaled with s², as for a coil or a valve at a fixed opening.
    double DropAtRatio(const TProjectContext& project, double s) const override;
};

// Darcy–Weisbach flow through a straight run of circular duct.
struct TDuctFlow {
    double Area = 0;         // m²
    double Velocity = 0;     // m/s
    double Reynolds = 0;     // —
    double Friction = 0;     // —, Darcy factor
    double PressureDrop = 0; // Pa
};
// flow in m³/s, inside diameter d and length in m, wall roughness eps in m,
// f0 the friction factor to start from, ro in kg/m³, mu in Pa·s.
TDuctFlow SolveDuct(double flow, double d, double length, double eps, double f0, double ro, double mu);

// Auto-size: the smallest bore that carries the item's flow (resets Friction).
void AutoSize(const TProjectContext& project, TBranch& item);
// Auto-flow: the maximum flow of the item's bore.
void AutoFlow(const TProjectContext& project, TBranch& item);

} // namespace dvx
