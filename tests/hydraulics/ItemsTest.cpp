// SPDX-License-Identifier: GPL-3.0-or-later
#include "HydraulicsFixture.h"

#include "engine/catalogue/Bores.h"

#include <cmath>
#include <memory>

namespace dvx {
namespace {

using test::Hydraulics;

TEST_F(Hydraulics, NewItemsTakeTheDefaults) {
    TPipe pipe(project);
    EXPECT_EQ(pipe.Number, 1);
    EXPECT_EQ(pipe.TypeName, "Pipe");
    EXPECT_EQ(pipe.Description, "Pipe");
    EXPECT_EQ(pipe.BoreIndex, 11);
    EXPECT_EQ(pipe.InsideDiameter, 0.1023);
    EXPECT_EQ(pipe.Friction, 0.017);
    EXPECT_EQ(pipe.Flow, 0.025);
    EXPECT_EQ(pipe.Length, 10);
    EXPECT_EQ(pipe.Group, 0);
    EXPECT_TRUE(pipe.InIndex);
    EXPECT_EQ(pipe.PressureDrop, 0);
    EXPECT_EQ(pipe.Kind(), TItemKind::Pipe);

    project.Tables.DefaultQuantity = 3;
    project.Tables.DefaultBore = 35; // not a nominal size: the next larger bore
    TFitting fitting(project, 15);
    EXPECT_EQ(fitting.Number, 2);
    EXPECT_EQ(fitting.TypeName, "Lift Check Valve");
    EXPECT_EQ(fitting.Description, "Lift Check Valve");
    EXPECT_EQ(fitting.C, 600);
    EXPECT_EQ(fitting.Quantity, 3);
    EXPECT_EQ(fitting.Length, 10); // the pipe default until the first calculation
    EXPECT_STREQ(BoreName[fitting.BoreIndex], "40");

    TUser user(project);
    EXPECT_EQ(user.Number, 3);
    EXPECT_EQ(user.TypeName, "User");
    EXPECT_EQ(user.Kind(), TItemKind::User);
    EXPECT_EQ(project.ItemCounter, 3);
}

// A project file can bring the largest item number there is; new items
// then share it instead of overflowing into negative numbers.
TEST_F(Hydraulics, CounterStopsAtTheLargestNumber) {
    project.ItemCounter = std::numeric_limits<std::int32_t>::max() - 1;
    TPipe first(project);
    TPipe second(project);
    EXPECT_EQ(first.Number, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(second.Number, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(project.ItemCounter, std::numeric_limits<std::int32_t>::max());
}

TEST_F(Hydraulics, FittingTypeOutsideTheTableIsRefused) {
    EXPECT_THROW(TFitting(project, 24), std::out_of_range);
    EXPECT_THROW(TFitting(project, -1), std::out_of_range);
    TFitting fitting(project, 0);
    EXPECT_THROW(fitting.SetFittingType(project, 99), std::out_of_range);
    EXPECT_EQ(fitting.FittingType, 0);
    fitting.SetFittingType(project, 23);
    EXPECT_EQ(fitting.C, 8);
    EXPECT_EQ(fitting.TypeName, "Std Elbow 90 deg"); // the name stays
    // A type written into the field directly never reads past the table.
    fitting.FittingType = 200;
    EXPECT_THROW(fitting.Process(project), MathError);
}

TEST_F(Hydraulics, HundredMillimetreSteelPipe) {
    TPipe pipe(project);
    pipe.Process(project);
    EXPECT_NEAR(pipe.Area, 0.0082194, 1e-7);
    EXPECT_NEAR(pipe.Velocity, 3.0416, 1e-4);
    EXPECT_NEAR(pipe.Reynolds, 311153, 1);
    EXPECT_NEAR(pipe.Friction, 0.017864, 1e-6);
    EXPECT_NEAR(pipe.PressureDrop, 8077, 1);
    EXPECT_NEAR(pipe.Gradient, 808, 1);
    EXPECT_EQ(pipe.Warning, wnNone);
    EXPECT_NEAR(pipe.Volume, 0.082194, 1e-6);
}

TEST_F(Hydraulics, PairOfElbowsIsSmoothWallEquivalentLength) {
    TFitting fitting(project, 0);
    fitting.Quantity = 2;
    project.Tables.CurrentRoughness = 0.01; // fittings never see the pipe roughness
    fitting.Process(project);
    EXPECT_NEAR(fitting.EquivLength, 3.069, 1e-3);
    EXPECT_NEAR(fitting.Length, 6.138, 1e-3);
    EXPECT_NEAR(fitting.Friction, 0.014366, 1e-6);
    EXPECT_NEAR(fitting.PressureDrop, 3987, 1);
    EXPECT_NEAR(fitting.Volume, fitting.Area * 6.138, 1e-6);
    // A changed catalogue coefficient applies at the next calculation.
    project.Tables.FittingTable[0].C = 60;
    fitting.Process(project);
    EXPECT_EQ(fitting.C, 60);
    EXPECT_NEAR(fitting.Length, 12.276, 1e-3);
}

TEST_F(Hydraulics, WarningOrderOfPipesAndFittings) {
    struct Case {
        const char* what;
        double gradientLimit, velocityLimit;
        int pipeWarning, fittingWarning;
    };
    // The pipe runs at 3.04 m/s and 808 Pa/m, the fitting at 3.04 m/s and 650 Pa/m.
    const Case cases[] = {
        {"under both", 1500, 3.5, wnNone, wnNone},
        {"over both", 100, 1, wnGradient, wnVelocity},
        {"gradient only", 100, 3.5, wnGradient, wnGradient},
        {"velocity only", 1500, 1, wnVelocity, wnVelocity},
    };
    for (const Case& c : cases) {
        project.Tables.GradientLimit = c.gradientLimit;
        project.Tables.VelocityLimit = c.velocityLimit;
        TPipe pipe(project);
        TFitting fitting(project, 0);
        fitting.Quantity = 2;
        pipe.Process(project);
        fitting.Process(project);
        EXPECT_EQ(pipe.Warning, c.pipeWarning) << c.what;
        EXPECT_EQ(fitting.Warning, c.fittingWarning) << c.what;
    }
}

TEST_F(Hydraulics, LimitItselfGivesNoWarning) {
    TPipe pipe(project);
    pipe.Flow = 0.0001; // laminar: the factor does not depend on the last one
    pipe.Process(project);
    project.Tables.GradientLimit = pipe.Gradient;
    project.Tables.VelocityLimit = pipe.Velocity;
    pipe.Process(project);
    EXPECT_EQ(pipe.Warning, wnNone);
    project.Tables.GradientLimit = std::nextafter(pipe.Gradient, 0.0);
    pipe.Process(project);
    EXPECT_EQ(pipe.Warning, wnGradient);
}

TEST_F(Hydraulics, ValidationCodes) {
    int column = -1;
    TPipe pipe(project);
    EXPECT_TRUE(pipe.ValidData(column));
    pipe.Length = 0;
    pipe.Flow = 0;
    EXPECT_FALSE(pipe.ValidData(column));
    EXPECT_EQ(column, dcFlow); // flow is checked first
    pipe.Flow = 0.01;
    EXPECT_FALSE(pipe.ValidData(column));
    EXPECT_EQ(column, dcLengthOrQuantity);

    TUser user(project);
    user.Flow = 0;
    EXPECT_FALSE(user.ValidData(column));
    EXPECT_EQ(column, dcFlow);
    user.Flow = 0.01;
    EXPECT_FALSE(user.ValidData(column));
    EXPECT_EQ(column, dcPressureDrop);
    user.PressureDrop = 5000;
    EXPECT_TRUE(user.ValidData(column));

    TFitting fitting(project, 0);
    fitting.Process(project);
    ASSERT_NE(fitting.Length, 0);
    fitting.Quantity = 0;
    column = -1;
    EXPECT_FALSE(fitting.ValidData(column));
    EXPECT_EQ(column, dcLengthOrQuantity);
}

// A value below zero would lower the total; it fails like a zero.
TEST_F(Hydraulics, NegativeValuesFailTheCheck) {
    const struct {
        const char* what;
        std::function<std::unique_ptr<TBranch>()> make;
        int column;
    } cases[] = {
        {"pipe length", [this] { auto p = std::make_unique<TPipe>(project); p->Length = -5; return p; }, dcLengthOrQuantity},
        {"pipe flow", [this] { auto p = std::make_unique<TPipe>(project); p->Flow = -0.001; return p; }, dcFlow},
        {"fitting quantity",
         [this] {
             auto f = std::make_unique<TFitting>(project, 3);
             f->Quantity = -2;
             return f;
         },
         dcLengthOrQuantity},
        {"user flow", [this] { auto u = std::make_unique<TUser>(project); u->Flow = -0.001; u->PressureDrop = 1; return u; }, dcFlow},
        {"user pressure drop", [this] { auto u = std::make_unique<TUser>(project); u->PressureDrop = -5000; return u; },
         dcPressureDrop},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int column = -1;
        auto item = c.make();
        EXPECT_FALSE(item->ValidData(column));
        EXPECT_EQ(column, c.column);
    }
}

TEST_F(Hydraulics, BoreChangeResetsTheFrictionFactor) {
    TPipe pipe(project);
    pipe.Process(project);
    ASSERT_NE(pipe.Friction, 0.017);
    pipe.SetBore(project, 12);
    EXPECT_EQ(pipe.BoreIndex, 12);
    EXPECT_EQ(pipe.InsideDiameter, 0.07792);
    EXPECT_EQ(pipe.Friction, 0.018);
    pipe.SetBoreFromNominal(project, 90.1);
    EXPECT_EQ(pipe.BoreIndex, 11);
    EXPECT_EQ(pipe.Friction, 0.017);
    EXPECT_THROW(pipe.SetBore(project, 20), std::out_of_range);
    EXPECT_EQ(pipe.BoreIndex, 11);
}

TEST_F(Hydraulics, PreviousFactorDecidesTheRegime) {
    // A rough pipe near the fully-rough limit: the catalogue value puts it
    // over the limit, its own result puts it under.
    project.Tables.MaterialRoughness[pmGalvIron] = 0.001 * 0.1023;
    project.Tables.SelectPipeMaterial(pmGalvIron);
    project.Tables.BoreTable[11].ff = 0.05;
    TPipe pipe(project);
    pipe.Flow = 900000 * 0.001 / (1000 * 0.1023) * (0.1023 * 0.1023 * 3.141592653589793 / 4);
    pipe.Process(project);
    EXPECT_NEAR(pipe.Reynolds, 900000, 1e-3);
    EXPECT_DOUBLE_EQ(pipe.Friction, FullyRoughFactor(0.001));
    const double rough = pipe.Friction;
    pipe.Process(project);
    EXPECT_NEAR(pipe.Friction, FrictionFactor(rough, 0.001, 1, 900000).f, 1e-9);
    EXPECT_EQ(FrictionFactor(rough, 0.001, 1, 900000).Regime, frColebrook);
    // A bore change brings the catalogue value, and with it the rough regime.
    pipe.SetBore(project, 11);
    pipe.Process(project);
    EXPECT_DOUBLE_EQ(pipe.Friction, rough);
}

TEST_F(Hydraulics, UserItemKeepsItsPressureDrop) {
    TUser user(project);
    user.PressureDrop = 50000;
    user.Volume = 3;
    user.Process(project);
    EXPECT_EQ(user.PressureDrop, 50000);
    EXPECT_EQ(user.Volume, 0);
    EXPECT_EQ(user.LabourHours(project), 0);
    EXPECT_EQ(user.MaterialCost(project), 0);
}

TEST_F(Hydraulics, LabourAndMaterialFromTheActiveMaterial) {
    TPipe pipe(project);
    pipe.Length = 4;
    project.Tables.PipeLabourTime[11][pmDrawnTube] = 0.5;
    project.Tables.PipeListPrice[11][pmDrawnTube] = 20;
    EXPECT_DOUBLE_EQ(pipe.LabourHours(project), 4 * 0.6);
    EXPECT_EQ(pipe.MaterialCost(project), -4);
    project.Tables.SelectPipeMaterial(pmDrawnTube);
    EXPECT_DOUBLE_EQ(pipe.LabourHours(project), 2);
    EXPECT_DOUBLE_EQ(pipe.MaterialCost(project), 80);
    TFitting fitting(project, 5);
    fitting.Quantity = 2;
    project.Tables.FittingPrice[5][11] = 7.5;
    EXPECT_DOUBLE_EQ(fitting.LabourHours(project), 2 * 1.8);
    EXPECT_DOUBLE_EQ(fitting.MaterialCost(project), 15);
}

TEST_F(Hydraulics, AutoSizeAndAutoFlow) {
    TPipe pipe(project);
    AutoFlow(project, pipe);
    EXPECT_EQ(pipe.Flow, 0.025);
    AutoSize(project, pipe);
    EXPECT_EQ(pipe.BoreIndex, 11);
    pipe.Flow = 0.0251;
    pipe.Friction = 0.5;
    AutoSize(project, pipe);
    EXPECT_STREQ(BoreName[pipe.BoreIndex], "125");
    EXPECT_EQ(pipe.Friction, 0.016);
    pipe.Flow = -1;
    AutoSize(project, pipe);
    EXPECT_STREQ(BoreName[pipe.BoreIndex], "15");
    TUser user(project); // user items too
    user.Flow = 0.8;
    AutoSize(project, user);
    EXPECT_STREQ(BoreName[user.BoreIndex], "750");
}

} // namespace
} // namespace dvx
