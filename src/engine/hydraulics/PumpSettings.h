// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the user tells the program about the circuit's pump: points read off
// the maker's curve and the settings of the system curve drawn against it.
// Held by the circuit and stored with the project.

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

struct TPumpSettings {
    std::vector<TPumpPoint> Points; // in the order entered; empty when no pump is chosen
    TCurveSettings Curve;

    // True when nothing differs from a new project: no pump and the curve
    // settings at their defaults. Such a project stores no pump data.
    bool IsDefault() const { return Points.empty() && Curve == TCurveSettings{}; }
    bool operator==(const TPumpSettings&) const = default;
};

} // namespace dvx
