// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/FreezingPoint.h"

#include "engine/fluid/Fluid.h"
#include "engine/fluid/WaterAdditives.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace dvx {

namespace {

// One table point: the concentration in % (by volume for the glycols, by
// mass for calcium chloride) and the freezing point in °C. Each table rises
// in concentration and falls in freezing point.
struct TFreezeRow {
    double Percent;
    double FreezeC;
};

// ASHRAE Fundamentals 2001 (SecCool), % by volume.
constexpr std::array<TFreezeRow, 45> kEthyleneGlycol = {{
    {0, 0}, {4.4, -1.4}, {8.9, -3.2}, {13.6, -5.4}, {18.1, -7.8}, {19.2, -8.4},
    {20.1, -8.9}, {21, -9.5}, {22, -10.2}, {22.9, -10.7}, {23.9, -11.4}, {24.8, -12},
    {25.8, -12.7}, {26.7, -13.3}, {27.7, -14.1}, {28.7, -14.8}, {29.6, -15.4}, {30.6, -16.2},
    {31.6, -17}, {32.6, -17.9}, {33.5, -18.6}, {34.5, -19.4}, {35.5, -20.3}, {36.5, -21.3},
    {37.5, -22.3}, {38.5, -23.2}, {39.5, -24.3}, {40.5, -25.3}, {41.5, -26.4}, {42.5, -27.5},
    {43.5, -28.8}, {44.5, -29.8}, {45.5, -31.1}, {46.6, -32.6}, {47.6, -33.8}, {48.6, -35.1},
    {49.6, -36.4}, {50.6, -37.9}, {51.6, -39.3}, {52.7, -41.1}, {53.7, -42.6}, {54.7, -44.2},
    {55.7, -45.6}, {56.8, -47.1}, {57.8, -48.3},
}};

// ASHRAE Fundamentals 2001 (SecCool), % by volume.
constexpr std::array<TFreezeRow, 45> kPropyleneGlycol = {{
    {0, 0}, {4.8, -1.6}, {9.6, -3.3}, {14.5, -5.1}, {19.4, -7.1}, {20.4, -7.6},
    {21.4, -8}, {22.4, -8.6}, {23.4, -9.1}, {24.4, -9.6}, {25.3, -10.2}, {26.4, -10.8},
    {27.4, -11.4}, {28.4, -12}, {29.4, -12.7}, {30.4, -13.4}, {31.4, -14.1}, {32.4, -14.8},
    {33.5, -15.6}, {34.4, -16.4}, {35.5, -17.3}, {36.5, -18.2}, {37.5, -19.1}, {38.5, -20.1},
    {39.6, -21.1}, {40.6, -22.1}, {41.6, -23.2}, {42.6, -24.3}, {43.7, -25.5}, {44.7, -26.7},
    {45.7, -27.9}, {46.8, -29.3}, {47.8, -30.6}, {48.9, -32.1}, {49.9, -33.5}, {50.9, -35},
    {51.9, -36.6}, {53, -38.2}, {54, -39.8}, {55, -41.6}, {56, -43.3}, {57, -45.2},
    {58, -47.1}, {59, -49}, {60, -51.1},
}};

// Melinder (2010), % by mass.
constexpr std::array<TFreezeRow, 6> kCalciumChloride = {{
    {9, -4.99}, {14, -9.77}, {19, -16.66}, {24, -26.35}, {29, -43.08}, {29.4, -45.00},
}};

// °C, the reference temperature of the volume-to-mass conversion.
constexpr double kConversionT = 20;

std::span<const TFreezeRow> TableOf(int additive) {
    switch (additive) {
    case 1: return kEthyleneGlycol;
    case 2: return kPropyleneGlycol;
    case 3: return kCalciumChloride;
    default: return {};
    }
}

// The table's concentration basis: true for % by mass.
bool ByMass(int additive) { return additive == 3; }

double MixtureDensity(int additive, double x) {
    switch (additive) {
    case 1: return EthyleneGlycolMixDensity(kConversionT, x);
    case 2: return PropyleneGlycolMixDensity(kConversionT, x);
    default: return CalciumChlorideMixDensity(kConversionT, x);
    }
}

// The table's concentration (%) of volume fraction x.
double TablePercent(int additive, double x) {
    const double percent = 100 * (ByMass(additive) ? AdditiveMassFraction(additive, x) : x);
    // A typed 0.277 is 27.700000000000003 % in binary; rounded to 1e-9 % it
    // lands on the table's point, so the margin's edge is where it reads.
    return std::round(percent * 1e9) / 1e9;
}

// The volume fraction of a table concentration (%): the inverse of
// TablePercent, by bisection (the mass fraction rises with x).
double VolumeFraction(int additive, double percent) {
    if (!ByMass(additive)) return percent / 100;
    double lo = 0, hi = 1;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (TablePercent(additive, mid) < percent ? lo : hi) = mid;
    }
    return hi;
}

double Between(double a, double b, double fa, double fb, double v) {
    return fa + (fb - fa) * (v - a) / (b - a);
}

} // namespace

double AdditiveMassFraction(int additive, double x) {
    const double mixture = MixtureDensity(additive, x);
    return (mixture - (1 - x) * MixtureDensity(additive, 0)) / mixture;
}

std::optional<double> FreezingPoint(int additive, double x) {
    const std::span<const TFreezeRow> table = TableOf(additive);
    if (table.empty() || !std::isfinite(x)) return std::nullopt;
    const double p = TablePercent(additive, x);
    if (p < table.front().Percent || p > table.back().Percent) return std::nullopt;
    for (std::size_t i = 1; i < table.size(); ++i)
        if (p <= table[i].Percent)
            return Between(table[i - 1].Percent, table[i].Percent, table[i - 1].FreezeC, table[i].FreezeC, p);
    return table.front().FreezeC; // a one-point table: p equals its point
}

std::optional<double> LeastProtectingFraction(int additive, double t) {
    const std::span<const TFreezeRow> table = TableOf(additive);
    if (table.empty() || !std::isfinite(t)) return std::nullopt;
    // Water itself freezes at 0 °C.
    if (t >= 0) return 0.0;
    if (t > table.front().FreezeC) {
        // Between water and the table's first point the curve is not known
        // (calcium chloride below 9 % by mass): its first point protects.
        return table.front().Percent == 0 ? std::optional<double>{} : VolumeFraction(additive, table.front().Percent);
    }
    for (std::size_t i = 1; i < table.size(); ++i)
        if (t >= table[i].FreezeC)
            return VolumeFraction(additive,
                                  Between(table[i - 1].FreezeC, table[i].FreezeC, table[i - 1].Percent, table[i].Percent, t));
    return std::nullopt;
}

TFreezeCheck CheckFreezing(const TLiquid& liquid, double marginK) {
    TFreezeCheck check;
    if (liquid.UserProps || liquid.LiquidSpec != 0 || liquid.AdditiveVolume == 0) return check;
    const std::span<const TFreezeRow> table = TableOf(liquid.WaterAdditive);
    if (table.empty()) return check;
    check.Applies = true;
    check.FreezingPoint = FreezingPoint(liquid.WaterAdditive, liquid.AdditiveVolume);
    if (check.FreezingPoint) {
        check.AtRisk = liquid.t <= *check.FreezingPoint + marginK;
    } else if (TablePercent(liquid.WaterAdditive, liquid.AdditiveVolume) < table.front().Percent) {
        // Weaker than the table's first point: the mixture freezes between
        // that point and 0 °C.
        check.FreezesNotBelow = table.front().FreezeC;
        check.AtRisk = liquid.t <= table.front().FreezeC + marginK;
    }
    return check;
}

} // namespace dvx
