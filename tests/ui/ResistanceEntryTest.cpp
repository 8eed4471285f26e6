// SPDX-License-Identifier: GPL-3.0-or-later
// The insert dialog's K item and valve pages without the window: presets,
// changes of bore, the checks of typed values and the valve presetting.

#include "presentation/ui/ResistanceEntry.h"

#include "engine/resistance/ValveFlowCoefficient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace dvx::ui {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const TKPreset& Preset(const char* name) {
    for (const TKPreset& p : KItemPresets())
        if (std::string(p.Name) == name) return p;
    throw std::invalid_argument(name);
}

TEST(ResistanceEntry, FixedPresetsAndTheOwnValue) {
    EXPECT_EQ(Preset("Entrance, sharp-edged").K, 0.5);
    EXPECT_EQ(Preset("Exit").K, 1.0);
    EXPECT_STREQ(KItemPresets()[KPresetOwnValue].Name, "Own value");
    EXPECT_FALSE(KItemPresets()[KPresetOwnValue].Change);
}

// K on the item's bore; β = 0.5 throughout (50 and 100 mm).
TEST(ResistanceEntry, ChangesOfBoreFollowTheCraneFormulas) {
    const double s15 = std::sin(15 * std::acos(-1.0) / 180); // sin(θ/2) at θ = 30°
    const struct {
        const char* Preset;
        double ItemD, OtherD, Angle;
        bool ItemIsOutlet;
        double K;
    } cases[] = {
        // Sudden contraction on the small outlet: 0.5·(1 − β²); the angle is not read.
        {"Sudden contraction", 0.05, 0.1, kNaN, true, 0.375},
        // The same change held by the large inlet: K2 = K1/β⁴.
        {"Sudden contraction", 0.1, 0.05, 0, false, 0.375 * 16},
        {"Gradual contraction", 0.05, 0.1, 30, true, 0.8 * s15 * 0.75},
        {"Sudden enlargement", 0.05, 0.1, 0, false, 0.75 * 0.75},
        {"Gradual enlargement", 0.05, 0.1, 30, false, 2.6 * s15 * 0.75 * 0.75},
        {"Gradual enlargement", 0.1, 0.05, 180, true, 0.75 * 0.75 * 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Preset) + " " + std::to_string(c.ItemD));
        const TBoreChangeResult r = PresetK(Preset(c.Preset), c.ItemD, c.OtherD, c.Angle, c.ItemIsOutlet);
        EXPECT_EQ(r.Error, "");
        EXPECT_NEAR(r.K, c.K, 1e-12);
    }
}

TEST(ResistanceEntry, ChangesOfBoreThatCannotBeAreRefusedWithTheReason) {
    const struct {
        const char* Preset;
        double ItemD, OtherD, Angle;
        bool ItemIsOutlet;
        const char* Error;
    } cases[] = {
        {"Gradual contraction", 0.05, 0.1, 0, true, "The angle must lie above 0 and up to 180 degrees"},
        {"Gradual contraction", 0.05, 0.1, 190, true, "The angle must lie above 0 and up to 180 degrees"},
        {"Gradual enlargement", 0.05, 0.1, kNaN, false, "The angle must be a number"},
        // The liquid leaves through the larger bore: no contraction.
        {"Sudden contraction", 0.1, 0.05, 180, true, "A contraction must lead to a smaller bore"},
        {"Sudden contraction", 0.05, 0.05, 180, true, "A contraction must lead to a smaller bore"},
        {"Sudden enlargement", 0.05, 0.1, 180, true, "An enlargement must lead to a larger bore"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Error);
        EXPECT_EQ(PresetK(Preset(c.Preset), c.ItemD, c.OtherD, c.Angle, c.ItemIsOutlet).Error, c.Error);
    }
}

TEST(ResistanceEntry, TypedCoefficientsMustBeNumbersAboveZero) {
    const std::optional<double> refused[] = {std::nullopt, 0.0, -0.5, kNaN,
                                             std::numeric_limits<double>::infinity()};
    for (const auto& v : refused) {
        EXPECT_EQ(KValueError(v), "K must be a number above zero");
        EXPECT_EQ(FlowCoefficientError(v, "Cv"), "Cv must be a number above zero");
    }
    EXPECT_EQ(KValueError(0.04), "");
    EXPECT_EQ(FlowCoefficientError(2.5, "Kv"), "");
}

TEST(ResistanceEntry, PresettingGivesTheKvThatTakesTheDrop) {
    // 1 l/s = 3.6 m³/h through 10 kPa = 0.1 bar of reference water: Kv = 3.6/√0.1.
    const TPresetting water = PresettingKv(0.001, 10000, KvReferenceDensity);
    EXPECT_EQ(water.Error, "");
    EXPECT_NEAR(water.Kv, 3.6 / std::sqrt(0.1), 1e-12);
    // The valve so set takes exactly that drop back.
    EXPECT_NEAR(KvPressureDrop(0.001, water.Kv, KvReferenceDensity), 10000, 1e-8);
    // A denser liquid needs a larger Kv for the same drop.
    EXPECT_NEAR(PresettingKv(0.001, 10000, 4 * KvReferenceDensity).Kv, 2 * water.Kv, 1e-12);

    EXPECT_EQ(PresettingKv(0.0, 10000, 1000).Error, "The flow must be a number above zero");
    EXPECT_EQ(PresettingKv(std::nullopt, 10000, 1000).Error, "The flow must be a number above zero");
    EXPECT_EQ(PresettingKv(0.001, 0.0, 1000).Error, "The pressure drop to take must be a number above zero");
    EXPECT_EQ(PresettingKv(0.001, -5.0, 1000).Error, "The pressure drop to take must be a number above zero");
    EXPECT_EQ(PresettingKv(0.001, 10000, kNaN).Error, "The liquid has no density");
}

} // namespace
} // namespace dvx::ui
