// SPDX-License-Identifier: GPL-3.0-or-later
// Two projects in one process: each calculates from its own tables, liquid
// and item counter, also when both run at the same time in two threads.

#include "base/BitCast.h"
#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "engine/hydraulics/SystemCurve.h"
#include "base/Errors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace dvx {
namespace {

// Every result a calculation produces, as bit patterns so that equality
// means bit-identical (a NaN compares equal to itself here).
struct TOutcome {
    std::vector<std::uint64_t> Bits;
    std::vector<int> Numbers;  // reference numbers the items were given
    std::vector<int> Warnings; // pipe and fitting warnings
    bool Priced = false;
    std::string Unpriced;
    std::string Liquid; // caption of the liquid after its evaluation

    void Add(double v) { Bits.push_back(dvx::BitCast<std::uint64_t>(v)); }
    bool operator==(const TOutcome&) const = default;
};

// The same list of items for every project; what differs is the project.
std::unique_ptr<TCircuit> BuildCircuit(const TProjectContext& project) {
    auto circuit = std::make_unique<TCircuit>(project);
    for (int i = 0; i < 12; ++i) {
        auto pipe = std::make_unique<TPipe>(project);
        pipe->SetBore(project, 8 + i % 10);
        pipe->Flow = 0.002 + 0.004 * i;
        pipe->Length = 5 + 3.5 * i;
        circuit->Append(std::move(pipe));
        auto fitting = std::make_unique<TFitting>(project, (3 * i) % FittingCount);
        fitting->SetBore(project, 8 + i % 10);
        fitting->Flow = 0.002 + 0.004 * i;
        fitting->Quantity = 1 + i % 4;
        circuit->Append(std::move(fitting));
    }
    auto user = std::make_unique<TUser>(project);
    user->Flow = 0.01;
    user->PressureDrop = 12000;
    circuit->Append(std::move(user));
    // A pipe at the project's defaults: bore, flow and length from its tables.
    circuit->Append(std::make_unique<TPipe>(project));
    return circuit;
}

TOutcome Calculated(const TProjectContext& project) {
    // The liquid is evaluated afresh, as after the temperature was entered.
    project.Liquid->SetT(project.Liquid->t);
    std::unique_ptr<TCircuit> circuit = BuildCircuit(project);
    circuit->Calculate(project, false);
    TOutcome out;
    out.Liquid = project.Liquid->GetCaption();
    out.Add(project.Liquid->ro);
    out.Add(project.Liquid->mu);
    for (const auto& item : circuit->Items) {
        out.Numbers.push_back(item->Number);
        out.Add(item->InsideDiameter);
        out.Add(item->Flow);
        out.Add(item->Friction);
        out.Add(item->PressureDrop);
        out.Add(item->Volume);
        if (const auto* pipe = dynamic_cast<const TPipe*>(item.get())) {
            out.Add(pipe->Velocity);
            out.Add(pipe->Reynolds);
            out.Add(pipe->Length);
            out.Warnings.push_back(pipe->Warning);
        }
    }
    out.Add(circuit->TotalDP);
    out.Add(circuit->TotalVolume);
    out.Priced = circuit->Estimate(project, out.Unpriced);
    out.Add(circuit->TotalCost);
    out.Add(circuit->LabourHoursTotal);
    const TSystemCurve curve = BuildSystemCurve(project, *circuit, false, TCurveSettings{});
    out.Add(curve.Density);
    for (const TCurvePoint& p : curve.Points) out.Add(p.Head);
    circuit->ResizeAll(project);
    circuit->ResetAllFlows(project);
    for (const auto& item : circuit->Items) out.Add(item->Flow);
    return out;
}

// Project A: warm thermal oil in galvanised iron, its own bores, fitting
// coefficients, limits, defaults and prices.
void MakeProjectA(TProjectState& a) {
    TCatalogueTables& t = a.Tables;
    t.MaterialRoughness[pmGalvIron] = 0.0002;
    t.SelectPipeMaterial(pmGalvIron);
    for (TBoreRec& b : t.BoreTable) {
        b.ID *= 0.97;
        b.ff *= 1.1;
        b.mf *= 0.8;
    }
    for (TFittingRec& f : t.FittingTable) f.C *= 1.5;
    t.GradientLimit = 400;
    t.VelocityLimit = 1.2;
    t.DefaultBore = 65;
    t.DefaultFlow = 3;
    t.DefaultLength = 42;
    for (auto& row : t.PipeListPrice) row.fill(17.5);
    for (auto& row : t.FittingPrice) row.fill(33);
    t.LabourRate = 61;
    a.Liquid.LiquidSpec = 1;
    a.Liquid.SetT(80);
}

// Project B: cold ethylene glycol in drawn tubing, with other changes to
// the tables. Both liquids come from the property library, so both threads
// evaluate it.
void MakeProjectB(TProjectState& b) {
    TCatalogueTables& t = b.Tables;
    t.SelectPipeMaterial(pmDrawnTube);
    t.BoreTable[10].ID = 0.118;
    t.BoreTable[12].ff = 0.03;
    t.FittingTable[0].C = 55;
    t.FittingTable[12].C = 4;
    t.GradientLimit = 2500;
    t.VelocityLimit = 5;
    t.DefaultBore = 25;
    t.DefaultFlow = 0.4;
    for (auto& row : t.PipeListPrice) row.fill(8);
    for (auto& row : t.FittingPrice) row.fill(12.25);
    t.LabourRate = 140;
    b.Liquid.LiquidSpec = 4;
    b.Liquid.SetT(-5);
    b.ItemCounter = 1000; // a project file read earlier left its numbering here
}

TEST(ProjectContext, TwoProjectsInTwoThreadsMatchTheirSingleThreadedResults) {
    TProjectState a;
    MakeProjectA(a);
    TProjectState b;
    MakeProjectB(b);
    const std::int32_t aStart = a.ItemCounter;
    const std::int32_t bStart = b.ItemCounter;

    const TOutcome aAlone = Calculated(a.Context());
    a.ItemCounter = aStart;
    const TOutcome bAlone = Calculated(b.Context());
    b.ItemCounter = bStart;

    // The projects really differ, and so do their results: a calculation
    // that read anything but its own project would give the same numbers
    // for both.
    ASSERT_NE(aAlone.Bits, bAlone.Bits);
    ASSERT_NE(aAlone.Warnings, bAlone.Warnings);
    EXPECT_EQ(aAlone.Numbers.front(), 1);
    EXPECT_EQ(bAlone.Numbers.front(), 1); // the new circuit restarts its project's numbering
    EXPECT_EQ(aAlone.Liquid, "Shell Thermia B");
    EXPECT_FALSE(bAlone.Liquid.empty());
    EXPECT_NE(bAlone.Liquid, aAlone.Liquid);
    EXPECT_TRUE(aAlone.Priced);
    EXPECT_TRUE(bAlone.Priced);

    // The same calculations again, both projects at once, many times each,
    // started together so that the runs overlap.
    constexpr int kRounds = 40;
    std::atomic<int> ready{0};
    std::vector<TOutcome> aRuns(kRounds), bRuns(kRounds);
    auto work = [&ready](TProjectState& project, std::vector<TOutcome>& runs) {
        ++ready;
        while (ready.load() < 2) std::this_thread::yield();
        for (TOutcome& out : runs) out = Calculated(project.Context());
    };
    std::thread ta(work, std::ref(a), std::ref(aRuns));
    std::thread tb(work, std::ref(b), std::ref(bRuns));
    ta.join();
    tb.join();

    for (int r = 0; r < kRounds; ++r) {
        EXPECT_EQ(aRuns[r], aAlone) << "project A, round " << r;
        EXPECT_EQ(bRuns[r], bAlone) << "project B, round " << r;
    }
}

TEST(ProjectContext, ItemsTakeDefaultsAndNumbersFromTheirOwnProject) {
    TProjectState a;
    TProjectState b;
    b.Tables.DefaultBore = 40;
    b.Tables.DefaultFlow = 1.5;
    b.Tables.DefaultLength = 7;
    b.Tables.DefaultQuantity = 3;
    b.Tables.FittingTable[5].C = 99;
    b.ItemCounter = 7;

    const TPipe pa(a.Context());
    const TPipe pb(b.Context());
    const TFitting fb(b.Context(), 5);
    EXPECT_EQ(pa.Number, 1);
    EXPECT_EQ(pb.Number, 8);
    EXPECT_EQ(fb.Number, 9);
    EXPECT_EQ(a.ItemCounter, 1);
    EXPECT_EQ(b.ItemCounter, 9);
    EXPECT_EQ(NominalOf(a.Tables, pa.BoreIndex), BuiltInDefaultBore);
    EXPECT_EQ(NominalOf(b.Tables, pb.BoreIndex), 40);
    EXPECT_EQ(pa.Length, BuiltInDefaultLength);
    EXPECT_EQ(pb.Length, 7);
    EXPECT_DOUBLE_EQ(pb.Flow, 0.0015);
    EXPECT_EQ(fb.C, 99);
    EXPECT_EQ(fb.Quantity, 3);

    // A project without a liquid cannot be calculated.
    TCatalogueTables tables;
    TLiquid* none = nullptr;
    std::int32_t counter = 0;
    const TProjectContext empty{tables, none, counter};
    TPipe pipe(empty);
    EXPECT_THROW(pipe.Process(empty), MathError);
}

TEST(ProjectContext, TheCalculationReadsTheProjectItIsGiven) {
    // The program's own project holds the built-in tables and clean water;
    // project A differs in every value the calculation reads.
    TProjectState a;
    MakeProjectA(a);
    const TProjectContext project = a.Context();

    TPipe pipe(project);
    pipe.SetBore(project, 12);
    pipe.Flow = 0.011;
    pipe.Length = 30;
    pipe.Process(project);
    const TDuctFlow expected = SolveDuct(0.011, a.Tables.BoreTable[12].ID, 30, 0.0002, a.Tables.BoreTable[12].ff,
                                         a.Liquid.ro, a.Liquid.mu);
    EXPECT_EQ(pipe.InsideDiameter, a.Tables.BoreTable[12].ID);
    EXPECT_EQ(pipe.PressureDrop, expected.PressureDrop);
    EXPECT_EQ(pipe.Warning, wnGradient); // above A's 400 Pa/m, below the built-in 1500
    ASSERT_GT(pipe.Gradient, 400);
    ASSERT_LT(pipe.Gradient, BuiltInGradientLimit);
    EXPECT_EQ(pipe.DropAtRatio(project, 2),
              SolveDuct(0.022, pipe.InsideDiameter, 30, 0.0002, pipe.Friction, a.Liquid.ro, a.Liquid.mu).PressureDrop);

    TFitting fitting(project, 0);
    fitting.SetBore(project, 12);
    fitting.Flow = 0.004;
    fitting.Quantity = 2;
    fitting.Process(project);
    EXPECT_EQ(fitting.C, a.Tables.FittingTable[0].C);
    EXPECT_EQ(fitting.Length, 2 * a.Tables.FittingTable[0].C * a.Tables.BoreTable[12].ID);

    TCircuit circuit(project);
    circuit.Append(std::make_unique<TPipe>(pipe));
    std::string unpriced;
    ASSERT_TRUE(circuit.Estimate(project, unpriced));
    const double hours = 30 * a.Tables.PipeLabourTime[12][pmGalvIron];
    EXPECT_EQ(circuit.MaterialTotal, 30 * 17.5);
    EXPECT_EQ(circuit.LabourTotal, hours * 61);

    AutoFlow(project, pipe);
    EXPECT_EQ(pipe.Flow, a.Tables.BoreTable[12].mf * 0.001);
}

} // namespace
} // namespace dvx
