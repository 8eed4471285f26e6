// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Darcy friction factor of a circular duct. FrictionFactor picks the
// flow regime and one of four laws; the iterative laws start from the factor
// the caller already holds, so the regime chosen for a pipe can depend on its
// previous result.

namespace dvx {

// Regime codes returned beside the factor.
enum TFlowRegime : int {
    frNoFlow = -1,     // Reynolds number 0 or negative: the starting value comes back
    frSmooth = 0,      // turbulent, hydraulically smooth wall (roughness exactly 0)
    frColebrook = 1,   // turbulent, transitional roughness
    frFullyRough = 2,  // turbulent, fully rough
    frLaminar = 3,     // laminar
};

struct TFrictionResult {
    double f = 0;      // —, Darcy friction factor
    int Regime = frNoFlow;
};

// f0: the factor the caller holds (starting value, may be 0); eps: absolute
// wall roughness and D: inside diameter (same length unit, D > 0); Re: Reynolds number.
TFrictionResult FrictionFactor(double f0, double eps, double D, double Re);

// 64 / Re.
double LaminarFactor(double Re);
// Rough-wall law 1/√f = 1.14 − 2·log10(r), r = eps / D.
double FullyRoughFactor(double r);
// Smooth-wall law 1/√f = 2·log10(Re·√f) − 0.8 by fixed-point iteration on 1/√f.
double SmoothPipeFactor(double f0, double Re);
// Colebrook–White by a Newton step with a secant-corrected slope on 1/√f; f0 > 0.
double ColebrookFactor(double f0, double r, double Re);

} // namespace dvx
