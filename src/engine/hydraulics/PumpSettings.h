// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the user tells the program about the circuit's pump: points read off
// the maker's curve and the settings of the system curve drawn against it.
// Held by the circuit and stored with the project.

#include <cstdint>
#include <vector>

namespace dvx {

// One point of a pump's characteristic.
struct TPumpPoint {
    double Flow = 0;       // m³/s
    double Head = 0;       // m of the circuit's liquid
    double Efficiency = 0; // —, 0 to 1; 0 when the point gives none

    bool operator==(const TPumpPoint&) const = default;
};

// How the system curve is sampled, and the lift of an open circuit.
struct TCurveSettings {
    int Points = 41;        // samples, evenly spaced from flow ratio 0 to MaxRatio
    double MaxRatio = 1.3;  // —, the largest flow as a multiple of the design flow
    double StaticHead = 0;  // m of the circuit's liquid, added at every flow

    bool operator==(const TCurveSettings&) const = default;
};

inline constexpr int kMinCurvePoints = 2;
inline constexpr int kMaxCurvePoints = 10000;
inline constexpr double kMaxCurveRatio = 100;
// m, either way: far beyond any building or well, small enough that the
// pressure it stands for stays a finite number for every liquid.
inline constexpr double kMaxStaticHead = 10000;
inline constexpr int kMinPumpPoints = 3;
inline constexpr int kMaxPumpPoints = 1000;

// How several identical pumps share the duty.
enum class TPumpArrangement : std::uint8_t { Parallel = 0, Series = 1 };

// One point of the pump's NPSH-required curve, at rated speed, one pump.
struct TNpshPoint {
    double Flow = 0;     // m³/s
    double Required = 0; // m
    bool operator==(const TNpshPoint&) const = default;
};

inline constexpr int kMaxPumps = 10;
inline constexpr double kMinSpeed = 0.1;            // —, slowest speed ratio accepted
inline constexpr int kMaxSuctionItems = 100000;
inline constexpr double kMaxAbsolutePressure = 1e8; // Pa, 1000 bar
inline constexpr double kHoursPerYear = 8784;       // h, a leap year

// The choices of a pump selection beyond the rated curve: speed, number of
// pumps, the suction side and running cost. The defaults describe one pump
// at its rated speed with nothing more asked, which is what a project
// without these settings means.
struct TPumpSelection {
    double Speed = 1;            // —, running speed / rated speed of the points
    int Pumps = 1;               // identical pumps running together (1 to kMaxPumps)
    TPumpArrangement Arrangement = TPumpArrangement::Parallel;
    bool Standby = false;        // also show the duty with one pump fewer running
    std::vector<TNpshPoint> NpshRequired;   // ascending flows; empty: no NPSH check
    std::vector<std::int32_t> SuctionItems; // Numbers of the items on the suction side
    double SuctionHeight = 0;    // m, liquid surface above the pump inlet (negative: below)
    double SurfacePressure = 101325; // Pa absolute, on the liquid surface
    double VapourPressure = -1;  // Pa absolute; negative: from the water table (water-based liquids)
    double NpshMargin = 0.5;     // m, the least acceptable NPSHa − NPSHr
    double HoursPerYear = 0;     // h; 0: no running cost
    double PricePerKWh = 0;      // currency per kWh
    double MotorEfficiency = 1;  // —, (0, 1]
    double DriveEfficiency = 1;  // —, (0, 1]; 1 for a motor without a drive
    bool IsDefault() const { return *this == TPumpSelection{}; }
    bool operator==(const TPumpSelection&) const = default;
};

struct TPumpSettings {
    std::vector<TPumpPoint> Points; // in the order entered; empty when no pump is chosen
    TCurveSettings Curve;
    TPumpSelection Selection;

    // True when nothing differs from a new project: no pump, the curve
    // settings at their defaults and no selection. Such a project stores no
    // pump data.
    bool IsDefault() const { return HasNoCurveData() && Selection.IsDefault(); }
    // No points and the curve settings at their defaults.
    bool HasNoCurveData() const { return Points.empty() && Curve == TCurveSettings{}; }
    bool operator==(const TPumpSettings&) const = default;
};

} // namespace dvx
