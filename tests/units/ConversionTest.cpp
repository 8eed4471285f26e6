// SPDX-License-Identifier: GPL-3.0-or-later
// Every display unit against the standard definitions it is built on
// (1 ft = 0.3048 m, 1 US gal = 3.785411784 L, 1 lb = 0.45359237 kg,
// 1 psi = 6894.757293168 Pa, g = 9.80665 m/s²), both ways.
#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "engine/units/NominalInches.h"
#include "engine/units/UnitView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace dvx {
namespace {

struct TConversionCase {
    TQuantity Quantity;
    const char* Key;
    double Si;
    double Shown;
    double Density; // kg/m³, for head units
};

// The SI side of each row is one whole unit of the shown side written out
// from the definitions, so a wrong factor cannot match by accident.
const TConversionCase kCases[] = {
    {qtFlow, "l/s", 0.001, 1, 0},
    {qtFlow, "m3/h", 1.0 / 3600, 1, 0},
    {qtFlow, "m3/s", 2.5, 2.5, 0},
    {qtFlow, "l/min", 0.001, 60, 0},
    {qtFlow, "gpm", 3.785411784e-3 / 60, 1, 0},
    {qtFlow, "gpm", 0.001, 15.850323141488903, 0},
    {qtPressureDrop, "kPa", 1000, 1, 0},
    {qtPressureDrop, "Pa", 8077, 8077, 0},
    {qtPressureDrop, "bar", 100000, 1, 0},
    {qtPressureDrop, "psi", 6894.757293168, 1, 0},
    {qtPressureDrop, "m-head", 9806.65, 1, 1000},
    {qtPressureDrop, "m-head", 9806.65, 0.5, 2000},
    {qtPressureDrop, "ft-head", 0.3048 * 9806.65, 1, 1000},
    {qtHead, "m", 12, 12, 0},
    {qtHead, "ft", 0.3048, 1, 0},
    {qtLength, "m", 12.5, 12.5, 0},
    {qtLength, "ft", 0.3048, 1, 0},
    {qtLength, "ft", 100, 328.0839895013123, 0},
    {qtPipeSize, "mm", 80, 80, 0},
    {qtPipeSize, "in", 32, 1.25, 0},
    {qtPipeSize, "in", 15, 0.5, 0},
    {qtPipeSize, "in", 750, 30, 0},
    {qtVelocity, "m/s", 3.5, 3.5, 0},
    {qtVelocity, "ft/s", 0.3048, 1, 0},
    {qtGradient, "Pa/m", 1500, 1500, 0},
    {qtGradient, "kPa/m", 1500, 1.5, 0},
    {qtGradient, "m/100m", 98.0665, 1, 1000},
    {qtGradient, "ft/100ft", 98.0665, 1, 1000},
    {qtGradient, "psi/100ft", 6894.757293168 / 30.48, 1, 0},
    {qtVolume, "litre", 0.001, 1, 0},
    {qtVolume, "m3", 0.5, 0.5, 0},
    {qtVolume, "USgal", 3.785411784e-3, 1, 0},
    {qtTemperature, "C", 9, 9, 0},
    {qtTemperature, "F", 100, 212, 0},
    {qtTemperature, "F", -40, -40, 0},
    {qtTemperature, "F", 0, 32, 0},
    {qtTemperature, "K", 0, 273.15, 0},
    {qtDensity, "kg/m3", 998.2, 998.2, 0},
    {qtDensity, "lb/ft3", 0.45359237 / (0.3048 * 0.3048 * 0.3048), 1, 0},
    {qtViscosity, "Pa.s", 0.0013, 0.0013, 0},
    {qtViscosity, "cP", 0.001, 1, 0},
    {qtViscosity, "lb/ft.s", 0.45359237 / 0.3048, 1, 0},
    {qtFlowCoefficient, "Kv", 6.3, 6.3, 0},
    // Cv: US gal/min at 1 psi. 1 Kv passes 1 m³/h at 1 bar; at 1 psi that is
    // √(6894.757/10⁵) m³/h = 1.156 gpm, the textbook factor.
    {qtFlowCoefficient, "Cv", 1, 1000.0 / 60 / 3.785411784 * std::sqrt(6894.757293168 / 1e5), 0},
};

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-12 * std::max(1.0, std::fabs(b)); }

TEST(DisplayUnits, EveryUnitConvertsByItsStandardFactorBothWays) {
    std::set<std::pair<int, std::string>> covered;
    for (const TConversionCase& c : kCases) {
        SCOPED_TRACE(std::string(QuantityName(c.Quantity)) + " in " + c.Key);
        const int index = UnitIndexOf(c.Quantity, c.Key);
        ASSERT_GE(index, 0);
        const TDisplayUnit& unit = UnitAt(c.Quantity, index);
        EXPECT_TRUE(Near(ToDisplay(unit, c.Si, c.Density), c.Shown)) << ToDisplay(unit, c.Si, c.Density);
        EXPECT_TRUE(Near(FromDisplay(unit, c.Shown, c.Density), c.Si)) << FromDisplay(unit, c.Shown, c.Density);
        covered.insert({c.Quantity, c.Key});
    }
    // A unit added to a quantity must be added to the table above too.
    for (int q = 0; q < QuantityCount; ++q)
        for (const TDisplayUnit& unit : DisplayUnitsOf(static_cast<TQuantity>(q)))
            EXPECT_TRUE(covered.count({q, unit.Key})) << QuantityName(static_cast<TQuantity>(q)) << " " << unit.Key;
}

TEST(DisplayUnits, HeadUnitsRefuseAMissingDensity) {
    const TDisplayUnit& head = UnitAt(qtPressureDrop, UnitIndexOf(qtPressureDrop, "ft-head"));
    EXPECT_THROW(ToDisplay(head, 1000, 0), DisplayUnitsError);
    EXPECT_THROW(FromDisplay(head, 1, std::nan("")), DisplayUnitsError);
    EXPECT_THROW(UnitAt(qtFlow, 99), DisplayUnitsError);
    EXPECT_EQ(UnitIndexOf(qtFlow, "furlongs/fortnight"), -1);
}

// Head of a 10 kPa drop in the system liquid at its current temperature:
// the density the liquid library gives for that temperature is used.
TEST(DisplayUnits, HeadFollowsTheLiquidDensityAtItsTemperature) {
    struct TCase {
        double Temperature; // °C
        int Additive;
        double Volume;
        double Metres; // 10000 Pa / (ρ × 9.80665)
    };
    const TCase cases[] = {
        {10, 0, 0, 1.02017},   // water, ρ = 999.55 kg/m³ from the library
        {80, 0, 0, 1.04950},   // water, ρ = 971.62 kg/m³
        {20, 1, 0.3, 0.97560}, // 30 % ethylene glycol, ρ = 1045.22 kg/m³
    };
    TLiquid liquid("Water", 0, 0.0, 9, 9);
    TUnitChoice choice;
    choice.Set(qtPressureDrop, UnitIndexOf(qtPressureDrop, "m-head"));
    SetDisplayUnits(choice);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Temperature);
        liquid.WaterAdditive = static_cast<std::uint8_t>(c.Additive);
        liquid.AdditiveVolume = c.Volume;
        liquid.SetT(c.Temperature);
        const TUnitView metres(qtPressureDrop, {"kPa", "%0.4g", Times(1e-3)}, LiquidDensity(&liquid));
        EXPECT_NEAR(metres.ToShown(10000), c.Metres, 2e-5);
        EXPECT_NEAR(metres.Parse(metres.Text(10000)), 10000, 10000 * 1e-3);
        choice.Set(qtPressureDrop, UnitIndexOf(qtPressureDrop, "ft-head"));
        const TUnitView feet(choice, qtPressureDrop, {"kPa", "%0.4g", Times(1e-3)}, LiquidDensity(&liquid));
        EXPECT_NEAR(feet.ToShown(10000), c.Metres / 0.3048, 1e-4);
        choice.Set(qtPressureDrop, UnitIndexOf(qtPressureDrop, "m-head"));
    }
    SetDisplayUnits(TUnitChoice());
}

// What a view shows must read back to a value that shows the same, for
// every unit of every quantity, so an entry typed as shown is stored as shown.
TEST(DisplayUnits, ShownTextsReadBackToTheSameText) {
    const struct {
        TQuantity Quantity;
        TMetricForm Metric;
        double Values[3];
    } places[] = {
        {qtFlow, {"l/s", "%0.2f", Times(1000)}, {0.025, 0.0001234, 1.3}},
        {qtFlow, {"l/s", "%0.1f", Times(1000)}, {0.025, 0.0001, 0.3333}},
        {qtPressureDrop, {"kPa", "%0.4g", Times(1e-3)}, {8077, 12.5, 123456}},
        {qtPressureDrop, {"kPa", "%0.1f", Times(1e-3)}, {50000, 1234.5, 0}},
        {qtHead, {"m", "%0.2f", Times(1)}, {12.34, 0.5, 100}},
        {qtLength, {"m", "%0.1f", Times(1)}, {10, 0.3, 99.9}},
        {qtPipeSize, {"mm", "%0.0f", Times(1)}, {15, 32, 750}},
        {qtVelocity, {"m/s", "%0.1f", Times(1)}, {3.5, 0.05, 1.234}},
        {qtGradient, {"Pa/m", "%0.1f", Times(1)}, {1500, 12.3, 3000}},
        {qtGradient, {"kPa/m", "%0.4g", Times(1e-3)}, {1500, 12.3, 3000}},
        {qtVolume, {"l", "%0.1f", Times(1000)}, {0.25, 0.0012, 3}},
        {qtTemperature, {"°C", "%0.1f", Times(1)}, {9, -10, 90}},
        {qtDensity, {"kg/m³", "%0.4f", Times(1)}, {998.2, 1045.2, 0.01}},
        {qtViscosity, {"Pa·s", "%0.4g", Times(1)}, {0.0013, 1e-5, 0.5}},
    };
    for (const auto& place : places) {
        for (std::size_t u = 0; u < DisplayUnitsOf(place.Quantity).size(); ++u) {
            TUnitChoice choice;
            choice.Set(place.Quantity, static_cast<int>(u));
            const TUnitView view(choice, place.Quantity, place.Metric, 998.2);
            for (double si : place.Values) {
                const std::string shown = view.Text(si);
                SCOPED_TRACE(std::string(QuantityName(place.Quantity)) + " " + DisplayUnitsOf(place.Quantity)[u].Key +
                             " " + view.NumberFormat() + " shows " + shown);
                EXPECT_EQ(view.Text(view.Parse(shown)), shown);
            }
        }
    }
}

TEST(DisplayUnits, MetricFormIsKeptExactlyAndOtherUnitsKeepItsResolution) {
    const TUnitChoice si;
    const TUnitChoice us = TUnitChoice::FromPreset(upUS);
    const TMetricForm gridFlow{"l/s", "%0.2f", Times(1000)};
    const TUnitView siFlow(si, qtFlow, gridFlow, 1000);
    EXPECT_TRUE(siFlow.IsMetric());
    EXPECT_EQ(siFlow.Caption("Q, "), "Q, l/s");
    EXPECT_EQ(siFlow.Text(0.025), "25.00");
    EXPECT_DOUBLE_EQ(siFlow.Parse("2.6"), 0.0026);

    const TUnitView usFlow(us, qtFlow, gridFlow, 1000);
    EXPECT_EQ(usFlow.Caption("Q, "), "Q, gpm");
    EXPECT_EQ(usFlow.NumberFormat(), "%0.1f"); // a gpm is 1/15.85 l/s: one decimal fewer
    EXPECT_EQ(usFlow.Text(0.025), "396.3");
    EXPECT_NEAR(usFlow.Parse("100"), 100 * 3.785411784e-3 / 60, 1e-15);

    // The gradient shown in kPa/m in one place and Pa/m in another stays so.
    EXPECT_EQ(TUnitView(si, qtGradient, {"kPa/m", "%0.4g", Times(1e-3)}, 1000).Text(1500), "1.5");
    EXPECT_EQ(TUnitView(si, qtGradient, {"Pa/m", "%0.1f", Times(1)}, 1000).Text(1500), "1500.0");
    EXPECT_EQ(TUnitView(us, qtGradient, {"Pa/m", "%0.1f", Times(1)}, 1000).Caption("", " limit"), "ft/100 ft limit");

    const TUnitView usSize(us, qtPipeSize, {"mm", "%0.0f", Times(1)}, 1000);
    EXPECT_EQ(usSize.Text(32), "1¼\"");
    EXPECT_EQ(usSize.Text(42), "1.65\""); // not a standard bore: plain inches
    EXPECT_DOUBLE_EQ(usSize.Parse("3"), 80);
    EXPECT_THROW(usSize.Parse("three"), ConvertError);
    EXPECT_THROW(usFlow.Parse("12,5"), ConvertError);
}

TEST(DisplayUnits, FixedFormatsGainOrLoseDecimalsByWholeDecades) {
    const struct {
        const char* Format;
        double Scale;
        const char* Adapted;
    } cases[] = {
        {"%0.2f", 15.85, "%0.1f"},   // gpm from l/s
        {"%0.1f", 0.145, "%0.2f"},   // psi from kPa
        {"%0.1f", 3.28, "%0.1f"},    // ft from m: less than a decade
        {"%0.1f", 1000, "%0.0f"},    // never below no decimals
        {"%0.1f", 1e-3, "%0.4f"},    // an exact decade
        {"%.3f", 0.01, "%0.5f"},
        {"%0.4g", 0.145, "%0.4g"},   // significant digits need no change
        {"%d", 10, "%d"},
        {"%0.1f", 0, "%0.1f"},       // no sensible scale: left alone
    };
    for (const auto& c : cases) EXPECT_EQ(AdaptedFormat(c.Format, c.Scale), c.Adapted) << c.Format << " " << c.Scale;
}

TEST(NominalInches, EveryStandardBoreHasItsDesignationAndReadsBack) {
    const struct {
        double Mm;
        const char* Text;
    } bores[] = {{15, "½\""},  {20, "¾\""},  {25, "1\""},  {32, "1¼\""}, {40, "1½\""}, {50, "2\""},  {65, "2½\""},
                 {80, "3\""},  {100, "4\""}, {125, "5\""}, {150, "6\""}, {200, "8\""}, {250, "10\""}, {300, "12\""},
                 {350, "14\""}, {400, "16\""}, {450, "18\""}, {500, "20\""}, {600, "24\""}, {750, "30\""}};
    for (const auto& b : bores) {
        EXPECT_EQ(NominalInchText(b.Mm), b.Text);
        auto inches = ParseInches(b.Text);
        ASSERT_TRUE(inches) << b.Text;
        EXPECT_EQ(NominalMmForInches(*inches), b.Mm) << b.Text;
    }
    EXPECT_FALSE(InchDesignation(42));
}

TEST(NominalInches, TypedSizesInTheirUsualForms) {
    const struct {
        const char* Typed;
        double Inches; // 0: refused
    } cases[] = {
        {"1.25", 1.25}, {"1 1/4", 1.25}, {"1-1/4", 1.25}, {"1¼", 1.25}, {"1 ¼\"", 1.25}, {"3/4", 0.75},
        {"¾", 0.75},    {"3\"", 3},      {" 6 in", 6},   {"30", 30},    {"", 0},         {"\"", 0},
        {"abc", 0},     {"1/0", 0},      {"-2", 0},      {"0", 0},      {"1 1/", 0},     {"x¼", 0},
    };
    for (const auto& c : cases) {
        auto inches = ParseInches(c.Typed);
        if (c.Inches == 0) EXPECT_FALSE(inches) << c.Typed;
        else EXPECT_EQ(inches.value_or(-1), c.Inches) << c.Typed;
    }
    // Between two designations the nearer wins; half-way the smaller bore.
    EXPECT_EQ(NominalMmForInches(1.3), 32);
    EXPECT_EQ(NominalMmForInches(1.375), 32);
    EXPECT_EQ(NominalMmForInches(27), 600);
    EXPECT_EQ(NominalMmForInches(100), 750);
}

} // namespace
} // namespace dvx
