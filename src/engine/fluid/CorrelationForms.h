// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The closed-form curve shapes the liquid correlations are built from. Each
// takes the temperature T in °C and its coefficients; the units of the result
// are those of the coefficients. All powers with a non-integral exponent go
// through RealPower so that a base with no real power raises a MathError
// instead of quietly giving NaN.

#include <cstddef>
#include <initializer_list>

namespace dvx {

// x^y for a non-integral y, computed as exp(y·ln x). A zero base gives 0 (also
// for a negative y: the curves that reach their zero base treat it as the end
// of the curve). A negative base has no real value and raises MathError.
double RealPower(double x, double y);

// c0 + c1·T + … + cn·Tⁿ by Horner's rule from the highest coefficient down.
double Poly(double T, std::initializer_list<double> c);

// (a + b·T)^(-1/c).
double PowerCurve(double T, double a, double b, double c);

// k0 / (1 + exp(k1 − k2·T))^(1/k3).
double LogisticCurve(double T, double k0, double k1, double k2, double k3);

// (r0 + r1·T) / (1 + r2·T + r3·T²). A denominator of exactly zero raises
// MathError (division by zero) rather than returning an infinity.
double RationalCurve(double T, double r0, double r1, double r2, double r3);

// Temperature used by a curve clamped both ways (°C): min + 0.01 below the
// range, max − 0.01 above it, T itself inside (ends included).
double ClampBothWays(double T, double min, double max);

// Temperature used by a curve clamped below only (°C): T when T > min, else
// min + 0.01.
double ClampBelow(double T, double min);

// The out-of-range flag: 0 when min ≤ T ≤ max, 1 otherwise (also for a NaN T).
int OutOfRange(double T, double min, double max);

} // namespace dvx
