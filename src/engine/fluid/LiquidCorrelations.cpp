// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/LiquidCorrelations.h"

#include "engine/fluid/CorrelationForms.h"

namespace dvx {

namespace {
// Curves in µPa·s and mW/(m·K) are scaled to Pa·s and kW/(m·K) by this.
constexpr double Micro = 1e-6;
} // namespace

// Clean water ---------------------------------------------------------------

double WaterDensity(double T) {
    return Poly(T, {1000.0118, 0.0090785827, -0.0056365427, 1.3593032e-05});
}
double WaterSpecificHeat(double T) {
    return Poly(T, {4.2113407, -0.0022883491, 5.3389636e-05, -4.8856259e-07, 1.9154158e-09});
}
double WaterViscosity(double T) {
    const double t = ClampBothWays(T, WaterRange.min, WaterRange.max);
    return PowerCurve(t, 0.013345143, 0.0002569035, 0.57775001) * Micro;
}
double WaterConductivity(double T) {
    const double t = ClampBothWays(T, WaterRange.min, WaterRange.max);
    return LogisticCurve(t, 703.7, 0.24865794, 0.022435538, 3.8824647) * Micro;
}

// Thermal oil ---------------------------------------------------------------

double ThermalOilDensity(double T) { return 880 - 11 * T / 17; }
double ThermalOilSpecificHeat(double T) { return 1.8 + 0.00375 * T; }
double ThermalOilViscosity(double T) { return 1 / (4.9 + 0.03 * T * T); }
double ThermalOilConductivity(double T) { return (134.5 - 24.5 * T / 330) * Micro; }

// Engine oil ----------------------------------------------------------------

double EngineOilDensity(double T) { return Poly(T, {899.60424, -0.59924134, 7.49e-05}); }
double EngineOilSpecificHeat(double T) { return Poly(T, {1.7914, 0.004286667}); }
double EngineOilViscosity(double T) {
    const double t = ClampBelow(T, EngineOilRange.min);
    return PowerCurve(t, 0.075668047, 0.00117007, 0.17023116) * Micro;
}
double EngineOilConductivity(double T) { return Poly(T, {146.89533, -0.0994}) * Micro; }

// Glycerin ------------------------------------------------------------------

double GlycerinDensity(double T) { return Poly(T, {1276.2381, -0.61485714}); }
double GlycerinSpecificHeat(double T) { return Poly(T, {2.2555238, 0.006425714}); }
double GlycerinViscosity(double T) {
    const double t = ClampBelow(T, GlycerinRange.min);
    return PowerCurve(t, 0.097799216, 0.001575554, 0.14369868) * Micro;
}
double GlycerinConductivity(double T) { return Poly(T, {282.57905, 0.088971429}) * Micro; }

// Pure ethylene glycol ------------------------------------------------------

double EthyleneGlycolDensity(double T) { return Poly(T, {1130.5381, -0.70242857}); }
double EthyleneGlycolSpecificHeat(double T) { return Poly(T, {2.2926667, 0.00447}); }
double EthyleneGlycolViscosity(double T) {
    const double t = ClampBelow(T, EthyleneGlycolRange.min);
    return PowerCurve(t, 0.018701052, 0.000459611, 0.35903647) * Micro;
}
double EthyleneGlycolConductivity(double T) {
    return Poly(T, {242.07821, 0.41365536, -0.002085268}) * Micro;
}

// Calcium chloride brine ----------------------------------------------------

double CalciumChlorideDensity(double T) { return Poly(T, {1296.0818, -0.47190909}); }
double CalciumChlorideSpecificHeat(double T) { return Poly(T, {2.736, 0.002561818}); }
double CalciumChlorideViscosity(double T) {
    const double t = ClampBelow(T, CalciumChlorideRange.min);
    return PowerCurve(t, 0.028212904, 0.000289641, 0.39683377) * Micro;
}
double CalciumChlorideConductivity(double T) {
    return Poly(T, {469.97364, 1.3380636}) * Micro;
}

// Sulphur dioxide -----------------------------------------------------------

double SulphurDioxideDensity(double T) { return Poly(T, {1435.2182, -2.5948182}); }
double SulphurDioxideSpecificHeat(double T) { return Poly(T, {1.3629091, 7.64e-05}); }
double SulphurDioxideViscosity(double T) {
    return Poly(T, {369.40375, -5.2715, 0.04496352}) * Micro;
}
double SulphurDioxideConductivity(double T) {
    return Poly(T, {211.54107, -0.64466364, -0.000847436}) * Micro;
}

// Mercury -------------------------------------------------------------------

double MercuryDensity(double T) { return 13626.224 - 2.4519293 * T; }
double MercurySpecificHeat(double T) { return 0.13919108 - 1.61e-05 * T; }
double MercuryViscosity(double T) { return (1570.9765 - 2.4330312 * T) * Micro; }
double MercuryConductivity(double T) { return (8440.346 + 18.537967 * T) * Micro; }

// Liquid ammonia ------------------------------------------------------------

double AmmoniaDensity(double T) { return Poly(T, {637.7, -1.3871818}); }
double AmmoniaSpecificHeat(double T) { return Poly(T, {4.6275455, 0.006693636, 6.32e-05}); }
double AmmoniaViscosity(double T) { return Poly(T, {239.25455, -1.0751818}) * Micro; }
double AmmoniaConductivity(double T) {
    return Poly(T, {538.13832, -0.68874545, -0.011087413}) * Micro;
}

// Liquid carbon dioxide -----------------------------------------------------

double CarbonDioxideDensity(double T) {
    return Poly(T, {921.19351, -7.6733983, -0.066253247});
}
double CarbonDioxideSpecificHeat(double T) {
    return RationalCurve(T, 2.4451618, 0.000675234, -0.021276186, -0.000326264);
}
double CarbonDioxideViscosity(double T) {
    return Poly(T, {99.405221, -1.2968578, -0.01153539}) * Micro;
}
double CarbonDioxideConductivity(double T) {
    return Poly(T, {107.38586, -0.65246472, -0.020789069}) * Micro;
}

// Methyl chloride -----------------------------------------------------------

double MethylChlorideDensity(double T) { return Poly(T, {959.9, -1.8997273}); }
double MethylChlorideSpecificHeat(double T) { return Poly(T, {1.5368485, 0.0021, 1.79e-05}); }
double MethylChlorideViscosity(double T) { return Poly(T, {288.97364, -0.99627273}) * Micro; }
double MethylChlorideConductivity(double T) { return Poly(T, {177.36, -0.81449091}) * Micro; }

// Liquid R12 ----------------------------------------------------------------

double R12Density(double T) { return Poly(T, {1391.3909, -3.2812727}); }
double R12SpecificHeat(double T) { return Poly(T, {0.93936364, 0.001465455}); }
double R12Viscosity(double T) {
    return Poly(T, {294.44893, -2.3197818, 0.023815618}) * Micro;
}
double R12Conductivity(double T) {
    return Poly(T, {72.555315, 0.007863636, -0.002117133}) * Micro;
}

// Condensed steam -----------------------------------------------------------

double CondensedSteamDensity(double T) { return 1002.018 - 0.17232 * T - 0.0025928 * T * T; }
double CondensedSteamSpecificHeat(double T) {
    return 4.2079 - 0.0012618 * T + 1.3547e-05 * T * T;
}
double CondensedSteamViscosity(double T) {
    return 0.53155084 * RealPower(T + 42.970681, -1.5171238);
}
double CondensedSteamConductivity(double T) {
    return (569.8519 + 1.817 * T - 0.0074308 * T * T + 3.5535e-06 * T * T * T) * Micro;
}

// Compressed air ------------------------------------------------------------

double CompressedAirDensity(double T) { return Poly(T, {5.9465, -0.014073, 1.45674e-05}); }
double CompressedAirSpecificHeat(double T) {
    return Poly(T, {1.0014, 6.31899e-05, 2.67673e-07});
}
double CompressedAirViscosity(double T) {
    return Poly(T, {17.6874, 0.058335, -4.57116e-05}) * Micro;
}
double CompressedAirConductivity(double T) {
    return Poly(T, {24.2432, 0.077467, -2.75949e-05}) * Micro;
}

} // namespace dvx
