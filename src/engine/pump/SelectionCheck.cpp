// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/pump/SelectionCheck.h"

#include "base/Format.h"

namespace dvx {

namespace {

// NaN fails both comparisons and so is out of range.
bool Within(double v, double low, double high) { return v >= low && v <= high; }

std::string Range(const char* what, double low, double high, const char* unit) {
    return Format("%s must be %g to %g%s.", {std::string(what), low, high, std::string(unit)});
}

} // namespace

std::string VapourPressureProblem() { return Range("The vapour pressure", 0, kMaxAbsolutePressure / 1000, " kPa"); }

std::string SelectionProblem(const TPumpSelection& s) {
    if (!Within(s.Speed, kMinSpeed, 1)) return Range("The speed ratio", kMinSpeed, 1, "");
    if (s.Pumps < 1 || s.Pumps > kMaxPumps) return Format("The number of pumps must be 1 to %d.", {kMaxPumps});
    if (s.Arrangement != TPumpArrangement::Parallel && s.Arrangement != TPumpArrangement::Series)
        return "The arrangement must be parallel or series.";
    if (s.NpshRequired.size() > static_cast<std::size_t>(kMaxPumpPoints))
        return Format("At most %d NPSH points.", {kMaxPumpPoints});
    for (std::size_t i = 0; i < s.NpshRequired.size(); ++i) {
        const TNpshPoint& p = s.NpshRequired[i];
        if (!Within(p.Flow, 0, kMaxNpshFlow)) return Range("An NPSH point's flow", 0, kMaxNpshFlow * 1000, " l/s");
        if (!Within(p.Required, 0, kMaxStaticHead)) return Range("The NPSH required", 0, kMaxStaticHead, " m");
        // The NPSH curve is read between neighbours by flow.
        if (i > 0 && !(p.Flow > s.NpshRequired[i - 1].Flow))
            return "The NPSH points' flows must rise from point to point.";
    }
    if (s.SuctionItems.size() > static_cast<std::size_t>(kMaxSuctionItems))
        return Format("At most %d suction items.", {kMaxSuctionItems});
    for (std::int32_t n : s.SuctionItems)
        if (n < 0) return Format("%d is not an item number.", {n});
    if (!Within(s.SuctionHeight, -kMaxStaticHead, kMaxStaticHead))
        return Range("The suction height", -kMaxStaticHead, kMaxStaticHead, " m");
    if (!Within(s.SurfacePressure, kMinSurfacePressure, kMaxAbsolutePressure))
        return Range("The surface pressure", kMinSurfacePressure / 1000, kMaxAbsolutePressure / 1000, " kPa");
    // A negative vapour pressure (down to -1 Pa) stands for "from the water
    // table"; anything further below is no value at all.
    if (!Within(s.VapourPressure, -1, kMaxAbsolutePressure)) return VapourPressureProblem();
    if (!Within(s.NpshMargin, 0, kMaxNpshMargin)) return Range("The NPSH margin", 0, kMaxNpshMargin, " m");
    if (!Within(s.HoursPerYear, 0, kHoursPerYear)) return Range("The hours per year", 0, kHoursPerYear, " h");
    if (!Within(s.PricePerKWh, 0, kMaxPricePerKWh)) return Range("The price per kWh", 0, kMaxPricePerKWh, "");
    if (!Within(s.MotorEfficiency, kMinMotorEfficiency, 1))
        return Range("The motor efficiency", kMinMotorEfficiency * 100, 100, " %");
    if (!Within(s.DriveEfficiency, kMinMotorEfficiency, 1))
        return Range("The drive efficiency", kMinMotorEfficiency * 100, 100, " %");
    return {};
}

} // namespace dvx
