// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The liquid property library: one evaluation per liquid type, each filling
// the result buffer with the liquid's names, valid range and the four
// transport properties at a temperature, and returning the out-of-range flag
// for that temperature. Each evaluation owns its buffer; an evaluation and
// the copy of its results belong together.

#include <cstdint>
#include <string>

namespace dvx {

class TTransportProps {
public:
    std::string Name;       // long name of the liquid last evaluated
    std::string ShortName;  // short name of the liquid last evaluated
    double ValidTMin = 0;   // °C, lower end of the valid range
    double ValidTMax = 0;   // °C, upper end of the valid range
    double ro = 0;          // kg/m³, density
    double Cp = 0;          // kJ/(kg·K), specific heat
    double mu = 0;          // Pa·s, dynamic viscosity
    double Ko = 0;          // kW/(m·K), thermal conductivity

    // Each takes T in °C and returns 0 when ValidTMin ≤ T ≤ ValidTMax, else 1.
    // A correlation with no real value at T raises MathError; the names and
    // the range are then already set, the four properties are not.
    int EvalWater(double T);           // code 0
    int EvalThermalOil(double T);      // code 1
    int EvalEngineOil(double T);       // code 2
    int EvalGlycerin(double T);        // code 3
    int EvalEthyleneGlycol(double T);  // code 4
    int EvalCalciumChloride(double T); // code 5
    int EvalSulphurDioxide(double T);  // code 6
    int EvalMercury(double T);         // code 7
    int EvalAmmonia(double T);         // code 8
    int EvalCarbonDioxide(double T);   // code 9
    int EvalMethylChloride(double T);  // code 10
    int EvalR12(double T);             // code 11
    int EvalCondensedSteam(double T);  // code 12 (raises MathError below -42.970681 °C)
    // Code 13. P in kPa enters only the long name ("Compressed Air (5.0-bar)"
    // for 500).
    int EvalCompressedAir(double T, double P);

    // The evaluation for a LiquidSpec code 0 to 13 (compressed air at
    // 500 kPa); returns -1 and changes nothing for any other code.
    int EvalByCode(int code, double T);

    // The pressure (kPa) at which TLiquid evaluates compressed air.
    static constexpr double CompressedAirPressure = 500; // kPa
};

} // namespace dvx
