// SPDX-License-Identifier: GPL-3.0-or-later
// K items and valves by Kv as circuit items: their drop against the
// definitions (and a Crane figure), the velocity warning without a gradient
// one, the square law on the system curve, and refusal of values that are
// no resistance.
#include "engine/hydraulics/Calc.h"
#include "engine/resistance/ValveFlowCoefficient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace dvx {
namespace {

TEST(ResistanceItems, DropsFollowTheirDefinitions) {
    TProjectState state;
    const TProjectContext project = state.Context();
    const double rho = state.Liquid.ro;

    TKItem exit(project);
    exit.SetBoreFromNominal(project, 100);
    exit.K = 1.0;
    exit.Flow = 8e-3;
    exit.Process(project);
    const double area = std::numbers::pi * exit.InsideDiameter * exit.InsideDiameter / 4;
    const double v = 8e-3 / area;
    EXPECT_NEAR(exit.Velocity, v, 1e-12);
    EXPECT_NEAR(exit.PressureDrop, 0.5 * rho * v * v, 1e-9);
    EXPECT_EQ(exit.Volume, 0);

    // 10 m³/h through Kv 10: 1 bar for water at 999.1 kg/m³, in proportion otherwise.
    TValve valve(project);
    valve.SetBoreFromNominal(project, 50);
    valve.Kv = 10;
    valve.Flow = 10.0 / 3600;
    valve.Process(project);
    EXPECT_NEAR(valve.PressureDrop, 1e5 * rho / 999.1, 1e-6);
    EXPECT_NEAR(valve.ResistanceK(project) * 0.5 * rho * valve.Velocity * valve.Velocity, valve.PressureDrop, 1e-6);
    // Both scale with the square of the flow on the system curve.
    EXPECT_NEAR(valve.DropAtRatio(project, 1.5), 2.25 * valve.PressureDrop, 1e-9);
    EXPECT_NEAR(exit.DropAtRatio(project, 0.5), 0.25 * exit.PressureDrop, 1e-12);
}

TEST(ResistanceItems, OnlyTheVelocityLimitApplies) {
    TProjectState state;
    const TProjectContext project = state.Context();
    TKItem k(project);
    k.SetBoreFromNominal(project, 15);
    k.K = 1000; // a huge drop on a short item: no gradient to speak of
    k.Flow = 0.1e-3;
    k.Process(project);
    EXPECT_GT(k.PressureDrop, state.Tables.GradientLimit * 10);
    EXPECT_EQ(k.Warning, wnNone);
    k.Flow = 2e-3; // about 10 m/s in a 15 mm bore
    k.Process(project);
    EXPECT_GT(k.Velocity, state.Tables.VelocityLimit);
    EXPECT_EQ(k.Warning, wnVelocity);
}

TEST(ResistanceItems, ValuesThatAreNoResistanceAreRefused) {
    TProjectState state;
    const TProjectContext project = state.Context();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {0.0, -1.0, nan, inf}) {
        TKItem k(project);
        k.K = bad;
        int column = -1;
        EXPECT_FALSE(k.ValidData(column)) << bad;
        EXPECT_EQ(column, dcLengthOrQuantity);
        TValve valve(project);
        valve.Kv = bad;
        column = -1;
        EXPECT_FALSE(valve.ValidData(column)) << bad;
        EXPECT_EQ(column, dcLengthOrQuantity);
    }
    TValve good(project);
    int column = -1;
    EXPECT_TRUE(good.ValidData(column));
    good.Flow = 0;
    EXPECT_FALSE(good.ValidData(column));
    EXPECT_EQ(column, dcFlow);
}

TEST(ResistanceItems, CircuitTotalsAndTheRefusalOfABadItem) {
    TProjectState state;
    const TProjectContext project = state.Context();
    TCircuit circuit(project);
    auto k = std::make_unique<TKItem>(project);
    k->K = 0.5;
    auto valve = std::make_unique<TValve>(project);
    valve->Kv = 25;
    circuit.Append(std::move(k));
    circuit.Append(std::move(valve));
    circuit.Calculate(project, false);
    EXPECT_NEAR(circuit.TotalDP, circuit.Item(0).PressureDrop + circuit.Item(1).PressureDrop, 1e-9);
    static_cast<TValve&>(circuit.Item(1)).Kv = 0;
    const auto invalid = circuit.FindInvalid();
    EXPECT_FALSE(invalid.AllValid);
    EXPECT_EQ(invalid.Position, 1);
}

} // namespace
} // namespace dvx
