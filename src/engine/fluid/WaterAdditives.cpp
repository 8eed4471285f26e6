// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/WaterAdditives.h"

#include <cmath>

namespace dvx {

const TAdditiveCoeffs EthyleneGlycolCoeffs{
    {1.406849, -0.3410291, -0.2904647, 0.0003312435, -2.551485e-07, 0.001121364, 0.001249707,
     1.306799e-06, -4.120158e-06},
    {6.908832, 0.1794889, -0.0507766, -0.0001837594, -2.623705e-06, -0.0002260728,
     -4.543736e-05, 3.226073e-07, 3.241066e-09},
    {0.2724536, 3.992438, -0.2251732, -0.02101816, 5.641053e-05, -0.03548088, -0.008420715,
     0.0001645189, 3.188547e-05},
    {-0.5757472, -0.9424482, 0.1380524, 0.003464035, -1.589163e-05, -0.001089505,
     -0.001871467, 4.213576e-06, 1.134046e-05},
};

const TAdditiveCoeffs PropyleneGlycolCoeffs{
    {1.41445, -0.1445615, -0.4128028, 0.0003135204, -3.779987e-07, 0.0009113963, 0.00138883,
     2.183251e-06, -5.01317e-06},
    {6.908573, 0.1366206, -0.07043926, -0.0001767706, -2.507884e-06, -0.0004839677,
     3.138708e-05, -1.325173e-06, 1.622499e-06},
    {0.3524547, 5.306361, 0.04665734, -0.02054708, 4.146016e-05, -0.07402468, 0.007216168,
     0.0004348032, -0.0001283622},
    {-0.5802013, -0.9180157, -0.05295051, 0.003521125, -1.630104e-05, -0.001783947,
     -0.00256973, 5.672269e-06, 1.020785e-05},
};

const TAdditiveCoeffs CalciumChlorideCoeffs{
    {1.47304, -2.16854, 1.99074, -0.000861589, 4.40557e-05, 0.0165115, -0.0361895,
     -0.000477273, 0.00112324},
    {6.90516, 0.874903, 0.0408444, -0.000293198, -4.18535e-06, 0.000269838, -0.00249498,
     2.36169e-05, -5.71633e-05},
    {0.63204, 0.165707, 12.2757, -0.0512627, 0.00119454, 0.150601, -0.348387, -0.00360417,
     0.000846518},
    {-0.572066, -0.165657, -0.148247, 0.00282036, -1.26764e-06, 0.00183451, -0.00849362,
     -4.6045e-05, 0.000134983},
};

double Poly2D(const TPoly2DCoeffs& c, double T, double x) {
    // Extended precision for the sum; the grouping keeps the terms of
    // similar size together.
    const long double X = x;
    const long double t = T;
    const long double inX = c[0] + c[1] * X + c[2] * X * X;
    const long double inT = c[3] * t + c[4] * t * t;
    const long double cross = X * t * (c[5] + c[6] * X + c[7] * t + c[8] * X * t);
    return static_cast<double>(inX + inT + cross);
}

namespace {
double Density(const TAdditiveCoeffs& k, double T, double x) { return std::exp(Poly2D(k.ro, T, x)); }
double SpecificHeat(const TAdditiveCoeffs& k, double T, double x) { return std::exp(Poly2D(k.Cp, T, x)); }
// exp(f) is in mPa·s.
double Viscosity(const TAdditiveCoeffs& k, double T, double x) { return std::exp(Poly2D(k.mu, T, x)) / 1000; }
// exp(f) is in W/(m·K).
double Conductivity(const TAdditiveCoeffs& k, double T, double x) { return std::exp(Poly2D(k.Ko, T, x)) * 0.001; }
} // namespace

double EthyleneGlycolMixDensity(double T, double x) { return Density(EthyleneGlycolCoeffs, T, x); }
double EthyleneGlycolMixSpecificHeat(double T, double x) { return SpecificHeat(EthyleneGlycolCoeffs, T, x); }
double EthyleneGlycolMixViscosity(double T, double x) { return Viscosity(EthyleneGlycolCoeffs, T, x); }
double EthyleneGlycolMixConductivity(double T, double x) { return Conductivity(EthyleneGlycolCoeffs, T, x); }

double PropyleneGlycolMixDensity(double T, double x) { return Density(PropyleneGlycolCoeffs, T, x); }
double PropyleneGlycolMixSpecificHeat(double T, double x) { return SpecificHeat(PropyleneGlycolCoeffs, T, x); }
double PropyleneGlycolMixViscosity(double T, double x) { return Viscosity(PropyleneGlycolCoeffs, T, x); }
double PropyleneGlycolMixConductivity(double T, double x) { return Conductivity(PropyleneGlycolCoeffs, T, x); }

double CalciumChlorideMixDensity(double T, double x) { return Density(CalciumChlorideCoeffs, T, x); }
double CalciumChlorideMixSpecificHeat(double T, double x) { return SpecificHeat(CalciumChlorideCoeffs, T, x); }
double CalciumChlorideMixViscosity(double T, double x) { return Viscosity(CalciumChlorideCoeffs, T, x); }
double CalciumChlorideMixConductivity(double T, double x) { return Conductivity(CalciumChlorideCoeffs, T, x); }

} // namespace dvx
