// SPDX-License-Identifier: GPL-3.0-or-later
// The system curve against circuits recalculated at scaled flows, the
// laminar law, user items, groups and static head.
#include "HydraulicsFixture.h"

#include "engine/hydraulics/SystemCurve.h"

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

namespace dvx {
namespace {

using test::Hydraulics;

std::unique_ptr<TBranch> Clone(const TBranch& item) {
    switch (item.Kind()) {
    case TItemKind::Pipe: return std::make_unique<TPipe>(static_cast<const TPipe&>(item));
    case TItemKind::Fitting: return std::make_unique<TFitting>(static_cast<const TFitting&>(item));
    case TItemKind::KItem: return std::make_unique<TKItem>(static_cast<const TKItem&>(item));
    case TItemKind::Valve: return std::make_unique<TValve>(static_cast<const TValve&>(item));
    case TItemKind::User: break;
    }
    return std::make_unique<TUser>(static_cast<const TUser&>(item));
}

// The circuit's index total when every item carries s times its flow,
// found the ordinary way: a copy with scaled flows, calculated once. User
// items get their drop scaled by s² by hand.
double Recalculated(const TProjectContext& project, const TCircuit& circuit, bool groupsActive, double s) {
    TCircuit copy(project);
    for (const auto& item : circuit.Items) {
        auto c = Clone(*item);
        c->Flow = s * item->Flow;
        if (c->Kind() == TItemKind::User) c->PressureDrop = item->PressureDrop * s * s;
        copy.Append(std::move(c));
    }
    copy.Calculate(project, groupsActive);
    return copy.TotalDP;
}

std::unique_ptr<TPipe> Pipe(const TProjectContext& project, double nominalMm, double flowLs, double length) {
    auto p = std::make_unique<TPipe>(project);
    p->SetBoreFromNominal(project, nominalMm);
    p->Flow = flowLs / 1000;
    p->Length = length;
    return p;
}

std::unique_ptr<TFitting> Fitting(const TProjectContext& project, int type, double nominalMm, double flowLs, double quantity) {
    auto f = std::make_unique<TFitting>(project, type);
    f->SetBoreFromNominal(project, nominalMm);
    f->Flow = flowLs / 1000;
    f->Quantity = quantity;
    return f;
}

std::unique_ptr<TUser> User(const TProjectContext& project, double dpPa, double flowLs, std::int32_t group = 0, bool inIndex = true) {
    auto u = std::make_unique<TUser>(project);
    u->PressureDrop = dpPa;
    u->Flow = flowLs / 1000;
    u->Group = group;
    u->InIndex = inIndex;
    return u;
}

TEST_F(Hydraulics, CurveMatchesTheCircuitRecalculatedAtScaledFlows) {
    struct Case {
        const char* name;
        bool groupsActive;
    };
    for (const Case& c : {Case{"groups off", false}, Case{"groups on", true}}) {
        SCOPED_TRACE(c.name);
        TCircuit circuit(project);
        circuit.Append(Pipe(project, 50, 2.0, 30));
        circuit.Append(Fitting(project, 0, 50, 2.0, 4));
        circuit.Append(Pipe(project, 25, 0.6, 12));
        auto branch = Pipe(project, 80, 9.0, 40); // the largest flow, outside the index
        branch->Group = 3;
        branch->InIndex = false;
        circuit.Append(std::move(branch));
        circuit.Append(User(project, 15000, 2.0));
        circuit.Calculate(project, c.groupsActive);

        const TSystemCurve curve = BuildSystemCurve(project, circuit, c.groupsActive, {});
        ASSERT_EQ(curve.Points.size(), 41u);
        EXPECT_DOUBLE_EQ(curve.DesignFlow, c.groupsActive ? 0.002 : 0.009);
        EXPECT_EQ(curve.Design.PressureDrop, circuit.TotalDP); // exactly, not nearly
        EXPECT_EQ(curve.Points.front().Ratio, 0);
        EXPECT_EQ(curve.Points.front().PressureDrop, 0);
        EXPECT_EQ(curve.Points.back().Ratio, 1.3);
        for (const TCurvePoint& p : curve.Points) {
            SCOPED_TRACE(p.Ratio);
            const double expected = Recalculated(project, circuit, c.groupsActive, p.Ratio);
            EXPECT_NEAR(p.PressureDrop, expected, 1e-9 * std::max(expected, 1.0));
            EXPECT_DOUBLE_EQ(p.Flow, p.Ratio * curve.DesignFlow);
            EXPECT_NEAR(p.Head, p.PressureDrop / (1000 * 9.80665), 1e-12 * p.Head + 1e-15);
        }
        // Rises with flow, through the design point.
        for (std::size_t i = 1; i < curve.Points.size(); ++i)
            EXPECT_GT(curve.Points[i].PressureDrop, curve.Points[i - 1].PressureDrop);
        EXPECT_LT(curve.Points[30].PressureDrop, circuit.TotalDP);
        EXPECT_GT(curve.Points[31].PressureDrop, circuit.TotalDP);
    }
}

TEST_F(Hydraulics, CurveFollowsTheLaminarLawAtLowFlow) {
    // A thick liquid makes the low end of the curve laminar; there the drop
    // is Hagen–Poiseuille's 128·mu·L·Q / (pi·D^4), while at the design flow
    // the pipe is turbulent.
    project.Liquid->mu = 0.02;
    TCircuit circuit(project);
    circuit.Append(Pipe(project, 50, 3.0, 25));
    circuit.Calculate(project, false);
    const auto& pipe = static_cast<const TPipe&>(circuit.Item(0));
    ASSERT_GT(pipe.Reynolds, 2300);

    TCurveSettings settings;
    settings.Points = 27; // every 0.05, so ratio 1 is sampled too
    settings.MaxRatio = 1.3;
    const TSystemCurve curve = BuildSystemCurve(project, circuit, false, settings);
    const double d = pipe.InsideDiameter;
    int laminar = 0, turbulent = 0;
    for (const TCurvePoint& p : curve.Points) {
        if (p.Ratio == 0) continue;
        const double velocity = p.Flow / (d * d * std::numbers::pi / 4);
        const double re = 1000 * velocity * d / 0.02;
        if (re < 2300) {
            ++laminar;
            const double poiseuille = 128 * 0.02 * 25 * p.Flow / (std::numbers::pi * std::pow(d, 4));
            EXPECT_NEAR(p.PressureDrop, poiseuille, 1e-9 * poiseuille) << "ratio " << p.Ratio;
        } else {
            ++turbulent;
            // The design point is the calculated total itself; elsewhere the
            // circuit is solved again.
            const double expected = p.Ratio == 1 ? circuit.TotalDP : Recalculated(project, circuit, false, p.Ratio);
            EXPECT_NEAR(p.PressureDrop, expected, 1e-9 * p.PressureDrop) << "ratio " << p.Ratio;
        }
    }
    EXPECT_GT(laminar, 3);
    EXPECT_GT(turbulent, 3);
}

TEST_F(Hydraulics, UserItemsScaleWithTheSquareOfTheFlowRatio) {
    TCircuit circuit(project);
    circuit.Append(User(project, 10000, 2.0));
    circuit.Append(User(project, 4000, 1.0));
    circuit.Calculate(project, false);
    TCurveSettings settings;
    settings.Points = 5;
    settings.MaxRatio = 2;
    const TSystemCurve curve = BuildSystemCurve(project, circuit, false, settings);
    const double expected[] = {0, 3500, 14000, 31500, 56000}; // 14 kPa × s², s = 0, 0.5, …, 2
    for (std::size_t i = 0; i < 5; ++i) EXPECT_NEAR(curve.Points[i].PressureDrop, expected[i], 1e-9);
    EXPECT_DOUBLE_EQ(curve.DesignFlow, 0.002);
}

TEST_F(Hydraulics, StaticHeadAddsAConstantInHeadAndPressure) {
    TCircuit circuit(project);
    circuit.Append(User(project, 20000, 1.5));
    circuit.Calculate(project, false);
    TCurveSettings settings;
    settings.StaticHead = 6;
    const TSystemCurve curve = BuildSystemCurve(project, circuit, false, settings);
    const double rhoG = 1000 * 9.80665;
    EXPECT_NEAR(curve.Points.front().Head, 6, 1e-12);
    EXPECT_NEAR(curve.Points.front().PressureDrop, 6 * rhoG, 1e-9);
    EXPECT_NEAR(curve.Design.PressureDrop, 20000 + 6 * rhoG, 1e-9);
    EXPECT_NEAR(curve.Design.Head, 20000 / rhoG + 6, 1e-12);
    EXPECT_NEAR(curve.Points.back().PressureDrop, 20000 * 1.69 + 6 * rhoG, 1e-8);
}

TEST_F(Hydraulics, CurveRefusesWhatItCannotDraw) {
    struct Case {
        const char* name;
        std::function<void(TCircuit&, TCurveSettings&)> change;
        const char* message;
    };
    const Case cases[] = {
        {"not calculated", [](TCircuit& c, TCurveSettings&) { c.Solved = false; }, "Calculate the circuit first."},
        {"empty", [](TCircuit& c, TCurveSettings&) { c.Items.clear(); }, "The circuit has no items."},
        {"nothing in the index",
         [](TCircuit& c, TCurveSettings&) { c.Item(0).InIndex = false; },
         "No item counts towards the index circuit."},
        {"reverse flow only", [](TCircuit& c, TCurveSettings&) { c.Item(0).Flow = -0.001; },
         "The index circuit carries no flow."},
        {"one point", [](TCircuit&, TCurveSettings& s) { s.Points = 1; }, "The system curve needs 2 to 10000 points."},
        {"ratio 0", [](TCircuit&, TCurveSettings& s) { s.MaxRatio = 0; },
         "The largest flow ratio must be above 0 and at most 100."},
        {"ratio not a number", [](TCircuit&, TCurveSettings& s) { s.MaxRatio = std::nan(""); },
         "The largest flow ratio must be above 0 and at most 100."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCircuit circuit(project);
        circuit.Append(User(project, 1000, 1));
        circuit.Calculate(project, false);
        TCurveSettings settings;
        c.change(circuit, settings);
        try {
            BuildSystemCurve(project, circuit, true, settings);
            ADD_FAILURE() << "no error";
        } catch (const CurveError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST_F(Hydraulics, DropAtRatioLeavesTheItemAlone) {
    TCircuit circuit(project);
    circuit.Append(Pipe(project, 50, 2.0, 30));
    circuit.Append(Fitting(project, 3, 50, 2.0, 2));
    circuit.Calculate(project, false);
    for (const auto& item : circuit.Items) {
        const auto& pipe = static_cast<const TPipe&>(*item);
        const double friction = pipe.Friction, dp = pipe.PressureDrop, velocity = pipe.Velocity;
        EXPECT_GT(item->DropAtRatio(project, 0.5), 0);
        EXPECT_EQ(pipe.Friction, friction);
        EXPECT_EQ(pipe.PressureDrop, dp);
        EXPECT_EQ(pipe.Velocity, velocity);
    }
}

} // namespace
} // namespace dvx
