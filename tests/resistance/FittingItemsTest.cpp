// SPDX-License-Identifier: GPL-3.0-or-later
// Fittings calculated by each method: the drop the calculation reports, the
// drop the system curve asks for at the same flow, and the coefficient the
// outputs quote must tell one story; the method is the project's, not the
// program's.
#include "engine/catalogue/Bores.h"
#include "engine/hydraulics/Items.h"
#include "engine/resistance/CraneFriction.h"
#include "engine/resistance/FittingMethod.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace dvx {
namespace {

struct Case {
    TFittingMethod method;
    int type;
    double nominalMm;
    double flow; // m³/s
    double quantity;
};

// Shown by name in failure messages and test listings, not as raw bytes.
void PrintTo(const Case& c, std::ostream* out) {
    *out << FittingMethodName(c.method) << ", type " << c.type << ", " << c.nominalMm << " mm, " << c.flow
         << " m³/s, ×" << c.quantity;
}

class FittingItems : public ::testing::TestWithParam<Case> {};

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    const Case& c = info.param;
    return std::string(FittingMethodKey(c.method) == "3k" ? "ThreeK" : FittingMethodKey(c.method)) + "_type" +
           std::to_string(c.type) + "_" + std::to_string(static_cast<int>(c.nominalMm)) + "mm";
}

TEST_P(FittingItems, ReportedDropCurveDropAndCoefficientAgree) {
    const Case c = GetParam();
    TProjectState state;
    state.Tables.FittingMethod = c.method;
    const TProjectContext project = state.Context();
    TFitting fitting(project, c.type);
    fitting.SetBoreFromNominal(project, c.nominalMm);
    fitting.Flow = c.flow;
    fitting.Quantity = c.quantity;
    fitting.Process(project);
    const double head = 0.5 * state.Liquid.ro * fitting.Velocity * fitting.Velocity; // Pa per unit K
    ASSERT_GT(fitting.PressureDrop, 0);
    EXPECT_NEAR(fitting.Quantity * fitting.ResistanceK(project) * head, fitting.PressureDrop,
                1e-12 * fitting.PressureDrop);
    // The equivalent length iterates its friction factor again from the one
    // held, to the iteration's own tolerance; K is direct.
    const double sameFlow = c.method == TFittingMethod::EquivalentLength ? 1e-6 : 1e-12;
    EXPECT_NEAR(fitting.DropAtRatio(project, 1), fitting.PressureDrop, sameFlow * fitting.PressureDrop);
    EXPECT_NEAR(fitting.Gradient * fitting.Length, fitting.PressureDrop, 1e-9 * fitting.PressureDrop);
    // At twice the flow: the same K by Crane, a smaller laminar share by 3-K,
    // and the equivalent length's friction factor falling with Re.
    const double twice = fitting.DropAtRatio(project, 2);
    if (c.method == TFittingMethod::CraneK || fitting.ThreeKFallsBack(project))
        EXPECT_NEAR(twice, 4 * fitting.PressureDrop, 1e-9 * twice);
    else
        EXPECT_LT(twice, 4 * fitting.PressureDrop);
}

INSTANTIATE_TEST_SUITE_P(
    EachMethod, FittingItems,
    ::testing::Values(Case{TFittingMethod::EquivalentLength, 0, 50, 2e-3, 3},
                      Case{TFittingMethod::EquivalentLength, 16, 15, 1e-4, 1},
                      Case{TFittingMethod::CraneK, 0, 50, 2e-3, 3},
                      Case{TFittingMethod::CraneK, 19, 200, 30e-3, 1},
                      Case{TFittingMethod::ThreeK, 0, 50, 2e-3, 3},
                      Case{TFittingMethod::ThreeK, 16, 15, 2e-5, 2},
                      Case{TFittingMethod::ThreeK, 20, 100, 8e-3, 1}),
    CaseName);

// The two projects differ only in their method; each fitting follows its own.
TEST(FittingMethod, EachProjectCalculatesByItsOwnMethod) {
    TProjectState byLength, byCrane;
    byCrane.Tables.FittingMethod = TFittingMethod::CraneK;
    auto drop = [](TProjectState& state) {
        const TProjectContext project = state.Context();
        TFitting gate(project, 12);
        gate.SetBoreFromNominal(project, 80);
        gate.Flow = 6e-3;
        gate.Quantity = 1;
        gate.Process(project);
        return std::pair{gate.PressureDrop, gate.ResistanceK(project)};
    };
    const auto [lengthDrop, lengthK] = drop(byLength);
    const auto [craneDrop, craneK] = drop(byCrane);
    // The gate valve: C = 12 of smooth pipe at its own factor, against 8·fT.
    EXPECT_NEAR(craneK, 8 * CraneFullyTurbulentFactor(byCrane.Tables.BoreTable[NearestBore(byCrane.Tables, 80)].ID),
                1e-15);
    EXPECT_NE(lengthK, craneK);
    EXPECT_NEAR(lengthDrop / craneDrop, lengthK / craneK, 1e-12);
    // Restoring the catalogue is no change of method.
    byCrane.Tables.RestoreBuiltIn();
    EXPECT_EQ(byCrane.Tables.FittingMethod, TFittingMethod::CraneK);
}

} // namespace
} // namespace dvx
