// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Properties of water mixed with ethylene glycol, propylene glycol or calcium
// chloride, as functions of the temperature T (°C) and the additive volume
// fraction x (0.3 for 30 %). Every property is exp(f(x, T)) of a
// two-variable quadratic f (Poly2D); the temperature range reported for the
// mixtures is -30 to 300 °C, but nothing here clamps T or x. Results are
// positive for any finite input (an overflowing exponent gives infinity).

#include <array>

namespace dvx {

// The nine coefficients c0 … c8 of one Poly2D set.
using TPoly2DCoeffs = std::array<double, 9>;

// f(x, T) = (c0 + c1·x + c2·x²) + (c3·T + c4·T²) + x·T·(c5 + c6·x + c7·T + c8·x·T).
double Poly2D(const TPoly2DCoeffs& c, double T, double x);

// Coefficient sets for one additive: exp(f) is ro in kg/m³, Cp in kJ/(kg·K),
// mu in mPa·s and Ko in W/(m·K).
struct TAdditiveCoeffs {
    TPoly2DCoeffs Cp;
    TPoly2DCoeffs ro;
    TPoly2DCoeffs mu;
    TPoly2DCoeffs Ko;
};

extern const TAdditiveCoeffs EthyleneGlycolCoeffs;   // WaterAdditive 1
extern const TAdditiveCoeffs PropyleneGlycolCoeffs;  // WaterAdditive 2
extern const TAdditiveCoeffs CalciumChlorideCoeffs;  // WaterAdditive 3

// Water with ethylene glycol.
double EthyleneGlycolMixDensity(double T, double x);      // kg/m³
double EthyleneGlycolMixSpecificHeat(double T, double x); // kJ/(kg·K)
double EthyleneGlycolMixViscosity(double T, double x);    // Pa·s
double EthyleneGlycolMixConductivity(double T, double x); // kW/(m·K)

// Water with propylene glycol.
double PropyleneGlycolMixDensity(double T, double x);      // kg/m³
double PropyleneGlycolMixSpecificHeat(double T, double x); // kJ/(kg·K)
double PropyleneGlycolMixViscosity(double T, double x);    // Pa·s
double PropyleneGlycolMixConductivity(double T, double x); // kW/(m·K)

// Water with calcium chloride.
double CalciumChlorideMixDensity(double T, double x);      // kg/m³
double CalciumChlorideMixSpecificHeat(double T, double x); // kJ/(kg·K)
double CalciumChlorideMixViscosity(double T, double x);    // Pa·s
double CalciumChlorideMixConductivity(double T, double x); // kW/(m·K)

} // namespace dvx
