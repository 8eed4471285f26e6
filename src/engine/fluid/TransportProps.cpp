// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/TransportProps.h"

#include "base/Format.h"
#include "engine/fluid/CorrelationForms.h"
#include "engine/fluid/LiquidCorrelations.h"

namespace dvx {


namespace {

using Correlation = double (*)(double);

// The common steps of every evaluation: names, range, then the four
// properties into locals so that a failing curve leaves the previous
// properties in the buffer, then the flag for the T passed in.
int Evaluate(TTransportProps& p, std::string name, const char* shortName, TValidRange range,
             double T, Correlation density, Correlation specificHeat, Correlation viscosity,
             Correlation conductivity) {
    p.Name = std::move(name);
    p.ShortName = shortName;
    p.ValidTMin = range.min;
    p.ValidTMax = range.max;
    const double ro = density(T);
    const double Cp = specificHeat(T);
    const double mu = viscosity(T);
    const double Ko = conductivity(T);
    p.ro = ro;
    p.Cp = Cp;
    p.mu = mu;
    p.Ko = Ko;
    return OutOfRange(T, range.min, range.max);
}

} // namespace

int TTransportProps::EvalWater(double T) {
    return Evaluate(*this, "Clean Water", "Water", WaterRange, T, WaterDensity,
                    WaterSpecificHeat, WaterViscosity, WaterConductivity);
}

int TTransportProps::EvalThermalOil(double T) {
    return Evaluate(*this, "Shell Thermia B", "Thermal Oil", ThermalOilRange, T,
                    ThermalOilDensity, ThermalOilSpecificHeat, ThermalOilViscosity,
                    ThermalOilConductivity);
}

int TTransportProps::EvalEngineOil(double T) {
    return Evaluate(*this, "Engine Oil", "Eng Oil", EngineOilRange, T, EngineOilDensity,
                    EngineOilSpecificHeat, EngineOilViscosity, EngineOilConductivity);
}

int TTransportProps::EvalGlycerin(double T) {
    return Evaluate(*this, "Glycerin", "Glycerin", GlycerinRange, T, GlycerinDensity,
                    GlycerinSpecificHeat, GlycerinViscosity, GlycerinConductivity);
}

int TTransportProps::EvalEthyleneGlycol(double T) {
    return Evaluate(*this, "Pure Ethylene Glycol", "Eth Glycol", EthyleneGlycolRange, T,
                    EthyleneGlycolDensity, EthyleneGlycolSpecificHeat, EthyleneGlycolViscosity,
                    EthyleneGlycolConductivity);
}

int TTransportProps::EvalCalciumChloride(double T) {
    return Evaluate(*this, "Pure Calcium Chloride", "CaCl", CalciumChlorideRange, T,
                    CalciumChlorideDensity, CalciumChlorideSpecificHeat,
                    CalciumChlorideViscosity, CalciumChlorideConductivity);
}

int TTransportProps::EvalSulphurDioxide(double T) {
    return Evaluate(*this, "Sulphur Dioxide", "SO2", SulphurDioxideRange, T,
                    SulphurDioxideDensity, SulphurDioxideSpecificHeat, SulphurDioxideViscosity,
                    SulphurDioxideConductivity);
}

int TTransportProps::EvalMercury(double T) {
    return Evaluate(*this, "Mercury", "Mercury", MercuryRange, T, MercuryDensity,
                    MercurySpecificHeat, MercuryViscosity, MercuryConductivity);
}

int TTransportProps::EvalAmmonia(double T) {
    return Evaluate(*this, "Liquid Ammonia", "Liq NH3", AmmoniaRange, T, AmmoniaDensity,
                    AmmoniaSpecificHeat, AmmoniaViscosity, AmmoniaConductivity);
}

int TTransportProps::EvalCarbonDioxide(double T) {
    return Evaluate(*this, "Liquid Carbon Dioxide", "Liq CO2", CarbonDioxideRange, T,
                    CarbonDioxideDensity, CarbonDioxideSpecificHeat, CarbonDioxideViscosity,
                    CarbonDioxideConductivity);
}

int TTransportProps::EvalMethylChloride(double T) {
    return Evaluate(*this, "Methylchloride", "CH3Cl", MethylChlorideRange, T,
                    MethylChlorideDensity, MethylChlorideSpecificHeat, MethylChlorideViscosity,
                    MethylChlorideConductivity);
}

int TTransportProps::EvalR12(double T) {
    return Evaluate(*this, "liquid Freon R12", "Liq R12", R12Range, T, R12Density,
                    R12SpecificHeat, R12Viscosity, R12Conductivity);
}

int TTransportProps::EvalCondensedSteam(double T) {
    return Evaluate(*this, "Condensed steam", "Liq Steam", CondensedSteamRange, T,
                    CondensedSteamDensity, CondensedSteamSpecificHeat, CondensedSteamViscosity,
                    CondensedSteamConductivity);
}

int TTransportProps::EvalCompressedAir(double T, double P) {
    return Evaluate(*this, FormatFloat("Compressed Air (%0.1f-bar)", P / 100), "Comp Air",
                    CompressedAirRange, T, CompressedAirDensity, CompressedAirSpecificHeat,
                    CompressedAirViscosity, CompressedAirConductivity);
}

int TTransportProps::EvalByCode(int code, double T) {
    switch (code) {
    case 0: return EvalWater(T);
    case 1: return EvalThermalOil(T);
    case 2: return EvalEngineOil(T);
    case 3: return EvalGlycerin(T);
    case 4: return EvalEthyleneGlycol(T);
    case 5: return EvalCalciumChloride(T);
    case 6: return EvalSulphurDioxide(T);
    case 7: return EvalMercury(T);
    case 8: return EvalAmmonia(T);
    case 9: return EvalCarbonDioxide(T);
    case 10: return EvalMethylChloride(T);
    case 11: return EvalR12(T);
    case 12: return EvalCondensedSteam(T);
    case 13: return EvalCompressedAir(T, CompressedAirPressure);
    default: return -1;
    }
}

} // namespace dvx
