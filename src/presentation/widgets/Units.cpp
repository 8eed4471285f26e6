// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/Units.h"

#include <array>
#include <fmt/format.h>

namespace dvx {

namespace {

const std::array<const char*, UnitsTypeCount> kTypeNames = {
    "utNone", "utAirFlowPrim", "utAirFlowSec", "utAirFlowSmall", "utAirFlowRate",
    "utAirPressDrop", "utAltitude", "utAngularSpeed", "utArea", "utCondensateRate",
    "utConductance", "utConductivity", "utDensity", "utDiameter", "utDutyPrim",
    "utDutySec", "utDutyRate", "utEnergy", "utEnthalpy", "utFinDensity",
    "utHeatOfRespir", "utHeatTransCoeff", "utHumidity", "utLengthBig", "utLengthMeasure",
    "utLengthPrim", "utLengthSec", "utLengthSmall", "utMass", "utMassFlow",
    "utMassFlowGas", "utMassFlux", "utMetRate", "utPeopleDensity", "utPower",
    "utPressure", "utPressureBar", "utPressureSteam", "utPressureRateGas",
    "utPressureRateLiquid", "utProportion", "utSpecificHeat", "utSpecificVol",
    "utTemperature", "utTemperatureChange", "utThermalCapacity", "utThermalResist",
    "utTime", "utVelocity", "utViscosity", "utVolume", "utVolumeFluid", "utWaterFlow",
    "utWaterPressDrop"};

// Internal units: °C, volume fraction, kg/m³, kJ/(kg·K), Pa·s, kW/(m·K).
const std::vector<TUnitDef> kTemperature = {
    {"°C", 1.0, 0.0, "%0.1f"},
    {"°F", 1.8, 32.0, "%0.1f"},
    {"K", 1.0, 273.15, "%0.2f"},
};
const std::vector<TUnitDef> kProportion = {
    {"fraction", 1.0, 0.0, "%0.3f"},
    {"%", 100.0, 0.0, "%0.1f"},
    {"ratio", 1.0, 0.0, "%0.3f"},
};
const std::vector<TUnitDef> kDensity = {
    {"kg/m³", 1.0, 0.0, "%0.5g"},
    {"mg/L", 1000.0, 0.0, "%0.1g"},
    {"lb/ft³", 0.06242796057614461, 0.0, "%0.4g"},
};
const std::vector<TUnitDef> kSpecificHeat = {
    {"kJ/kg·K", 1.0, 0.0, "%0.4g"},
    {"Btu/lb°F", 0.23883448770002388, 0.0, "%0.4g"},
};
const std::vector<TUnitDef> kViscosity = {
    {"kg/m·s", 1.0, 0.0, "%0.6g"},
    {"N·s/m²", 1.0, 0.0, "%0.6g"},
    {"µPa·s", 1000000.0, 0.0, "%0.6g"},
    {"cP", 1000.0, 0.0, "%0.6g"},
    // 1 lbm/(ft·s) = 0.45359237 kg / 0.3048 m·s = 1.488164 Pa·s.
    {"lbm/ft·s", 0.3048 / 0.45359237, 0.0, "%0.6g"},
    {"lbf·s/ft²", 0.020885, 0.0, "%0.6g"},
    {"lbf·hr/ft²", 5.8014e-06, 0.0, "%0.6g"},
};
const std::vector<TUnitDef> kConductivity = {
    {"kW/mK", 1.0, 0.0, "%0.6g"},
    {"W/mK", 1000.0, 0.0, "%0.6g"},
    {"mW/mK", 1000000.0, 0.0, "%0.6g"},
    {"Btu/hr·ft°F", 577.7, 0.0, "%0.6g"},
};
const std::vector<TUnitDef> kNoUnits;

} // namespace

std::string UnitsTypeName(int type) {
    if (type < 0 || type >= UnitsTypeCount) return {};
    return kTypeNames[static_cast<std::size_t>(type)];
}

const std::vector<TUnitDef>& UnitsOf(TUnitsType type) {
    switch (type) {
    case utTemperature: return kTemperature;
    case utProportion: return kProportion;
    case utDensity: return kDensity;
    case utSpecificHeat: return kSpecificHeat;
    case utViscosity: return kViscosity;
    case utConductivity: return kConductivity;
    default: return kNoUnits;
    }
}

std::vector<std::string> UnitLabels(TUnitsType type) {
    std::vector<std::string> labels;
    for (const auto& unit : UnitsOf(type)) labels.emplace_back(unit.Label);
    return labels;
}

void UnitsInfo(TUnitsType type, int value, int base, std::string& format, std::string& label,
               double& factor, double& zero) {
    if (type == utNone) return;
    const auto& units = UnitsOf(type);
    if (units.empty())
        throw UnitsError(fmt::format("No units are defined for {}", UnitsTypeName(type)));
    const int count = static_cast<int>(units.size());
    if (value < 0 || value >= count || base < 0 || base >= count)
        throw UnitsError(fmt::format("Unit {} of {} relative to unit {} does not exist", value,
                                     UnitsTypeName(type), base));
    const TUnitDef& shown = units[static_cast<std::size_t>(value)];
    const TUnitDef& held = units[static_cast<std::size_t>(base)];
    // held = internal × fb + zb and shown = internal × fv + zv, so
    // shown = (held − zb) × fv / fb + zv.
    factor = shown.Factor / held.Factor;
    zero = shown.Zero - held.Zero * factor;
    format = shown.Format;
    label = shown.Label;
}

} // namespace dvx
