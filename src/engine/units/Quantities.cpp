// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/units/Quantities.h"

#include "base/Format.h"
#include "engine/units/NominalInches.h"

#include <array>
#include <cmath>

namespace dvx {

namespace {

// The exact definitions every factor below is built from.
constexpr double kFoot = 0.3048;                // m
constexpr double kUsGallon = 3.785411784e-3;    // m³
constexpr double kPound = 0.45359237;           // kg
constexpr double kPsi = 6894.757293168;         // Pa
constexpr double kCubicFoot = kFoot * kFoot * kFoot; // m³

// Index 0 of every list is what the program has always shown.
const std::vector<TDisplayUnit> kFlow = {
    {"l/s", "l/s", ubLinear, 1000.0, 0, "%0.2f"},
    {"m3/h", "m³/h", ubLinear, 3600.0, 0, "%0.2f"},
    {"m3/s", "m³/s", ubLinear, 1.0, 0, "%0.5f"},
    {"l/min", "l/min", ubLinear, 60000.0, 0, "%0.1f"},
    {"gpm", "gpm", ubLinear, 60.0 / kUsGallon, 0, "%0.1f"}, // US gal per minute
};
const std::vector<TDisplayUnit> kPressureDrop = {
    {"kPa", "kPa", ubLinear, 1e-3, 0, "%0.4g"},
    {"Pa", "Pa", ubLinear, 1.0, 0, "%0.4g"},
    {"bar", "bar", ubLinear, 1e-5, 0, "%0.4g"},
    {"psi", "psi", ubLinear, 1.0 / kPsi, 0, "%0.4g"},
    {"m-head", "m head", ubHead, 1.0, 0, "%0.4g"},
    {"ft-head", "ft head", ubHead, 1.0 / kFoot, 0, "%0.4g"},
};
const std::vector<TDisplayUnit> kHead = {
    {"m", "m", ubLinear, 1.0, 0, "%0.2f"},
    {"ft", "ft", ubLinear, 1.0 / kFoot, 0, "%0.2f"},
};
const std::vector<TDisplayUnit> kLength = {
    {"m", "m", ubLinear, 1.0, 0, "%0.1f"},
    {"ft", "ft", ubLinear, 1.0 / kFoot, 0, "%0.1f"},
};
const std::vector<TDisplayUnit> kPipeSize = {
    {"mm", "mm", ubLinear, 1.0, 0, "%0.0f"},
    {"in", "in", ubNominalInch, 1.0, 0, "%0.2f"},
};
const std::vector<TDisplayUnit> kVelocity = {
    {"m/s", "m/s", ubLinear, 1.0, 0, "%0.2f"},
    {"ft/s", "ft/s", ubLinear, 1.0 / kFoot, 0, "%0.2f"},
};
const std::vector<TDisplayUnit> kGradient = {
    {"Pa/m", "Pa/m", ubLinear, 1.0, 0, "%0.1f"},
    {"kPa/m", "kPa/m", ubLinear, 1e-3, 0, "%0.4g"},
    {"m/100m", "m/100 m", ubHead, 100.0, 0, "%0.3f"},
    {"ft/100ft", "ft/100 ft", ubHead, 100.0, 0, "%0.3f"}, // a ratio: same number as m/100 m
    {"psi/100ft", "psi/100 ft", ubLinear, 100.0 * kFoot / kPsi, 0, "%0.4g"},
};
// m³ first: the grid's and the report's volume have always been in m³, so the
// SI preset names the unit they show.
const std::vector<TDisplayUnit> kVolume = {
    {"m3", "m³", ubLinear, 1.0, 0, "%0.4f"},
    {"litre", "l", ubLinear, 1000.0, 0, "%0.1f"},
    {"USgal", "US gal", ubLinear, 1.0 / kUsGallon, 0, "%0.1f"},
};
const std::vector<TDisplayUnit> kTemperature = {
    {"C", "°C", ubLinear, 1.0, 0, "%0.1f"},
    {"F", "°F", ubLinear, 1.8, 32.0, "%0.1f"},
    {"K", "K", ubLinear, 1.0, 273.15, "%0.2f"},
};
const std::vector<TDisplayUnit> kDensity = {
    {"kg/m3", "kg/m³", ubLinear, 1.0, 0, "%0.1f"},
    {"lb/ft3", "lb/ft³", ubLinear, kCubicFoot / kPound, 0, "%0.3f"},
};
const std::vector<TDisplayUnit> kViscosity = {
    {"Pa.s", "Pa·s", ubLinear, 1.0, 0, "%0.4g"},
    {"cP", "cP", ubLinear, 1000.0, 0, "%0.4g"},
    {"lb/ft.s", "lb/(ft·s)", ubLinear, kFoot / kPound, 0, "%0.4g"},
};

// A valve's flow coefficient: Kv (m³/h at 1 bar) is what is stored; Cv
// (US gal/min at 1 psi) is the US makers' form of the same valve. A valve
// of Kv 1 passes √(psi/bar) m³/h at 1 psi, so Cv = Kv · √(psi/bar) in gpm
// per m³/h (≈ 1.156).
const double kCvPerKv = std::sqrt(kPsi / 1e5) / (60.0 * kUsGallon);
const std::vector<TDisplayUnit> kFlowCoefficient = {
    {"Kv", "Kv", ubLinear, 1.0, 0, "%0.4g"},
    {"Cv", "Cv", ubLinear, kCvPerKv, 0, "%0.4g"},
};

constexpr std::array<const char*, QuantityCount> kNames = {
    "Flow", "Pressure drop", "Head", "Length", "Pipe size", "Velocity",
    "Gradient", "Volume", "Temperature", "Density", "Viscosity", "Flow coefficient",
};

double WeightPerVolume(double density) {
    if (!(density > 0) || !std::isfinite(density))
        throw DisplayUnitsError(Format("A liquid head needs a positive density, not %g kg/m³", {density}));
    return density * StandardGravity; // Pa per m of liquid column
}

} // namespace

const char* QuantityName(TQuantity quantity) {
    if (quantity < 0 || quantity >= QuantityCount) return "";
    return kNames[static_cast<std::size_t>(quantity)];
}

const std::vector<TDisplayUnit>& DisplayUnitsOf(TQuantity quantity) {
    switch (quantity) {
    case qtFlow: return kFlow;
    case qtPressureDrop: return kPressureDrop;
    case qtHead: return kHead;
    case qtLength: return kLength;
    case qtPipeSize: return kPipeSize;
    case qtVelocity: return kVelocity;
    case qtGradient: return kGradient;
    case qtVolume: return kVolume;
    case qtTemperature: return kTemperature;
    case qtDensity: return kDensity;
    case qtViscosity: return kViscosity;
    case qtFlowCoefficient: return kFlowCoefficient;
    }
    throw DisplayUnitsError(Format("No quantity %d", {static_cast<int>(quantity)}));
}

int UnitIndexOf(TQuantity quantity, std::string_view key) {
    const auto& units = DisplayUnitsOf(quantity);
    for (std::size_t i = 0; i < units.size(); ++i)
        if (key == units[i].Key) return static_cast<int>(i);
    return -1;
}

const TDisplayUnit& UnitAt(TQuantity quantity, int index) {
    const auto& units = DisplayUnitsOf(quantity);
    if (index < 0 || static_cast<std::size_t>(index) >= units.size())
        throw DisplayUnitsError(Format("No unit %d for %s", {index, QuantityName(quantity)}));
    return units[static_cast<std::size_t>(index)];
}

double ToDisplay(const TDisplayUnit& unit, double si, double density) {
    switch (unit.Basis) {
    case ubLinear: return si * unit.Factor + unit.Offset;
    case ubHead: return si / WeightPerVolume(density) * unit.Factor;
    case ubNominalInch: return NominalInches(si);
    }
    return si;
}

double FromDisplay(const TDisplayUnit& unit, double shown, double density) {
    switch (unit.Basis) {
    case ubLinear: return (shown - unit.Offset) / unit.Factor;
    case ubHead: return shown / unit.Factor * WeightPerVolume(density);
    case ubNominalInch: return NominalMmForInches(shown);
    }
    return shown;
}

double ScaleOf(const TDisplayUnit& unit) {
    switch (unit.Basis) {
    case ubLinear: return unit.Factor;
    case ubHead: return unit.Factor / (NominalHeadDensity * StandardGravity);
    case ubNominalInch: return 1 / 25.4;
    }
    return 1;
}

} // namespace dvx
