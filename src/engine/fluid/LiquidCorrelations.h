// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Property correlations of the fourteen library liquids, one pure function
// per property. Every function takes the temperature T in °C as passed by the
// caller; where a curve is clamped the function applies the clamp itself
// (the clamp keeps the base of the power curve positive). Units of the
// results: density kg/m³, specific heat kJ/(kg·K), dynamic viscosity Pa·s,
// thermal conductivity kW/(m·K). Outside the valid range (°C, given per
// liquid) the values are computed all the same and may be meaningless.

namespace dvx {

// Valid temperature ranges, °C.
struct TValidRange {
    double min; // °C
    double max; // °C
};

inline constexpr TValidRange WaterRange{0, 300};
inline constexpr TValidRange ThermalOilRange{0, 300};
inline constexpr TValidRange EngineOilRange{0, 300};
inline constexpr TValidRange GlycerinRange{0, 50};
inline constexpr TValidRange EthyleneGlycolRange{0, 100};
inline constexpr TValidRange CalciumChlorideRange{-50, 50};
inline constexpr TValidRange SulphurDioxideRange{-50, 50};
inline constexpr TValidRange MercuryRange{0, 316};
inline constexpr TValidRange AmmoniaRange{-50, 50};
inline constexpr TValidRange CarbonDioxideRange{-50, 30};
inline constexpr TValidRange MethylChlorideRange{-50, 50};
inline constexpr TValidRange R12Range{-50, 50};
inline constexpr TValidRange CondensedSteamRange{0, 300};
inline constexpr TValidRange CompressedAirRange{50, 400}; // +50, not -50

// Clean water, valid 0 to 300 °C.
double WaterDensity(double T);       // kg/m³, cubic polynomial
double WaterSpecificHeat(double T);  // kJ/(kg·K), quartic polynomial
double WaterViscosity(double T);     // Pa·s, power curve, T clamped both ways
double WaterConductivity(double T);  // kW/(m·K), logistic curve, T clamped both ways

// Thermal oil (Shell Thermia B), valid 0 to 300 °C.
double ThermalOilDensity(double T);      // kg/m³, linear
double ThermalOilSpecificHeat(double T); // kJ/(kg·K), linear
double ThermalOilViscosity(double T);    // Pa·s, 1/(4.9 + 0.03·T²)
double ThermalOilConductivity(double T); // kW/(m·K), linear

// Engine oil, valid 0 to 300 °C.
double EngineOilDensity(double T);      // kg/m³, quadratic
double EngineOilSpecificHeat(double T); // kJ/(kg·K), linear
double EngineOilViscosity(double T);    // Pa·s, power curve, T clamped below
double EngineOilConductivity(double T); // kW/(m·K), linear

// Glycerin, valid 0 to 50 °C.
double GlycerinDensity(double T);      // kg/m³, linear
double GlycerinSpecificHeat(double T); // kJ/(kg·K), linear
double GlycerinViscosity(double T);    // Pa·s, power curve, T clamped below
double GlycerinConductivity(double T); // kW/(m·K), linear

// Pure ethylene glycol, valid 0 to 100 °C.
double EthyleneGlycolDensity(double T);      // kg/m³, linear
double EthyleneGlycolSpecificHeat(double T); // kJ/(kg·K), linear
double EthyleneGlycolViscosity(double T);    // Pa·s, power curve, T clamped below
double EthyleneGlycolConductivity(double T); // kW/(m·K), quadratic

// Pure calcium chloride brine, valid -50 to 50 °C.
double CalciumChlorideDensity(double T);      // kg/m³, linear
double CalciumChlorideSpecificHeat(double T); // kJ/(kg·K), linear
double CalciumChlorideViscosity(double T);    // Pa·s, power curve, T clamped below
double CalciumChlorideConductivity(double T); // kW/(m·K), linear

// Sulphur dioxide, valid -50 to 50 °C.
double SulphurDioxideDensity(double T);      // kg/m³, linear
double SulphurDioxideSpecificHeat(double T); // kJ/(kg·K), linear
double SulphurDioxideViscosity(double T);    // Pa·s, quadratic
double SulphurDioxideConductivity(double T); // kW/(m·K), quadratic

// Mercury, valid 0 to 316 °C.
double MercuryDensity(double T);      // kg/m³, linear
double MercurySpecificHeat(double T); // kJ/(kg·K), linear
double MercuryViscosity(double T);    // Pa·s, linear
double MercuryConductivity(double T); // kW/(m·K), linear

// Liquid ammonia, valid -50 to 50 °C.
double AmmoniaDensity(double T);      // kg/m³, linear
double AmmoniaSpecificHeat(double T); // kJ/(kg·K), quadratic
double AmmoniaViscosity(double T);    // Pa·s, linear
double AmmoniaConductivity(double T); // kW/(m·K), quadratic

// Liquid carbon dioxide, valid -50 to 30 °C.
double CarbonDioxideDensity(double T);      // kg/m³, quadratic
// kJ/(kg·K), rational curve; its denominator reaches zero near 31.6 °C, just
// above the range, where the curve raises MathError instead of an infinity.
double CarbonDioxideSpecificHeat(double T);
double CarbonDioxideViscosity(double T);    // Pa·s, quadratic
double CarbonDioxideConductivity(double T); // kW/(m·K), quadratic

// Methyl chloride, valid -50 to 50 °C.
double MethylChlorideDensity(double T);      // kg/m³, linear
double MethylChlorideSpecificHeat(double T); // kJ/(kg·K), quadratic
double MethylChlorideViscosity(double T);    // Pa·s, linear
double MethylChlorideConductivity(double T); // kW/(m·K), linear

// Liquid R12, valid -50 to 50 °C.
double R12Density(double T);      // kg/m³, linear
double R12SpecificHeat(double T); // kJ/(kg·K), linear
double R12Viscosity(double T);    // Pa·s, quadratic
double R12Conductivity(double T); // kW/(m·K), quadratic

// Condensed steam, valid 0 to 300 °C.
double CondensedSteamDensity(double T);      // kg/m³, quadratic
double CondensedSteamSpecificHeat(double T); // kJ/(kg·K), quadratic
// Pa·s, 0.53155084·(T + 42.970681)^(-1.5171238). No real value below
// -42.970681 °C: raises MathError there; exactly at it gives 0.
double CondensedSteamViscosity(double T);
double CondensedSteamConductivity(double T); // kW/(m·K), cubic

// Compressed air, valid 50 to 400 °C; the correlations do not depend on the
// pressure.
double CompressedAirDensity(double T);      // kg/m³, quadratic
double CompressedAirSpecificHeat(double T); // kJ/(kg·K), quadratic
double CompressedAirViscosity(double T);    // Pa·s, quadratic
double CompressedAirConductivity(double T); // kW/(m·K), quadratic

} // namespace dvx
