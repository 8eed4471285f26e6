// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quantities the program shows to the engineer and the display units
// each can be shown in. Every value is held and calculated in SI (m³/s, Pa,
// m, m/s, Pa/m, m³, °C, kg/m³, Pa·s); a display unit only converts at the
// edge, when a value is shown or read from what the user typed.
//
// Conversion rule: display = SI × factor + offset. Units of liquid head
// (m or ft of head, m or ft per 100 m/ft) divide by ρ·g first, with ρ the
// liquid's density at the current temperature (kg/m³) and g = 9.80665 m/s²
// (standard gravity). Nominal pipe sizes in inches are a lookup of the
// bore's inch designation, not a factor (see NominalInches.h).
//
// Exact factors used (all definitions, not measurements):
//   1 ft     = 0.3048 m                 (international foot, 1959)
//   1 in     = 0.0254 m
//   1 US gal = 231 in³ = 3.785411784 L
//   1 lb     = 0.45359237 kg            (international avoirdupois pound)
//   1 psi    = 6894.757293168 Pa        (1 lbf/in², lbf = lb × g)
//   1 bar    = 100000 Pa
//   g        = 9.80665 m/s²             (standard gravity)
//   °F       = °C × 1.8 + 32;  K = °C + 273.15
//   1 cP     = 0.001 Pa·s
//   Cv       = Kv × 1.156…              (from the gallon and the psi, ValveFlowCoefficient.h)

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

enum TQuantity : int {
    qtFlow,         // SI m³/s
    qtPressureDrop, // SI Pa
    qtHead,         // SI m of liquid column
    qtLength,       // SI m
    qtPipeSize,     // SI nominal bore, mm
    qtVelocity,     // SI m/s
    qtGradient,     // SI Pa/m
    qtVolume,       // SI m³
    qtTemperature,  // SI °C
    qtDensity,      // SI kg/m³
    qtViscosity,    // SI Pa·s
    qtFlowCoefficient, // a valve's Kv, m³/h at 1 bar (the stored value; Cv in gpm at 1 psi)
};
inline constexpr int QuantityCount = 12;

// How a display unit relates to the SI value.
enum TUnitBasis : int {
    ubLinear,       // display = SI × Factor + Offset
    ubHead,         // display = SI / (ρ·g) × Factor
    ubNominalInch,  // the bore's inch designation (pipe size only)
};

struct TDisplayUnit {
    const char* Key;    // name stored in the settings ("gpm")
    const char* Label;  // text shown after a value or in a caption ("gpm")
    TUnitBasis Basis;
    double Factor;      // see TUnitBasis
    double Offset;      // ubLinear only
    const char* Format; // display format where a window has none of its own
};

class DisplayUnitsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Standard gravity, m/s².
inline constexpr double StandardGravity = 9.80665;

// The quantity's name as the Units dialog shows it and the settings key it
// is saved under ("Flow", "Pressure drop" …).
const char* QuantityName(TQuantity quantity);

// The units of a quantity; index 0 is the unit the SI preset shows.
const std::vector<TDisplayUnit>& DisplayUnitsOf(TQuantity quantity);

// The index of the unit with the given key, or -1.
int UnitIndexOf(TQuantity quantity, std::string_view key);

// The unit at `index`; raises DisplayUnitsError outside the quantity's list.
const TDisplayUnit& UnitAt(TQuantity quantity, int index);

// SI → display and back. `density` (kg/m³) is used by head units only and
// must then be positive and finite, else DisplayUnitsError. Nominal-inch units
// convert the nominal millimetres to inches by their designation and back
// (NominalInches.h).
double ToDisplay(const TDisplayUnit& unit, double si, double density);
double FromDisplay(const TDisplayUnit& unit, double shown, double density);

// Density at which the display precision of a head unit is judged, kg/m³.
// Only the number of decimals depends on it, never a converted value.
inline constexpr double NominalHeadDensity = 1000.0;

// How many display units make one SI unit, for judging display precision
// (offsets ignored; head units at NominalHeadDensity; inches as 1/25.4 mm).
double ScaleOf(const TDisplayUnit& unit);

} // namespace dvx
