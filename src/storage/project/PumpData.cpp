// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/PumpData.h"

#include "base/Errors.h"
#include "base/Format.h"
#include "engine/pump/SelectionCheck.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dvx {

namespace {

constexpr int kPumpLayout = 1;

[[noreturn]] void Bad(const TTagReader& r, const std::string& what) {
    throw FileError(Format("%s at offset %d", {what, static_cast<long long>(r.Position())}));
}

double ReadFinite(TTagReader& r, const char* what) {
    const double v = r.ReadFloat();
    if (!std::isfinite(v)) Bad(r, Format("Pump data: %s is not a number", {what}));
    return v;
}

} // namespace

void WritePumpData(TTagWriter& w, const TPumpSettings& pump) {
    w.WriteShortName(kPumpProperty);
    w.WriteInteger(kPumpLayout);
    w.WriteListBegin();
    for (const TPumpPoint& p : pump.Points) {
        w.WriteFloat(p.Flow);
        w.WriteFloat(p.Head);
        w.WriteFloat(p.Efficiency);
    }
    w.WriteListEnd();
    w.WriteFloat(pump.Curve.StaticHead);
    w.WriteInteger(pump.Curve.Points);
    w.WriteFloat(pump.Curve.MaxRatio);
}

TPumpSettings ReadPumpData(TTagReader& r) {
    TPumpSettings pump;
    const std::int64_t layout = r.ReadInteger();
    if (layout != kPumpLayout) Bad(r, Format("Pump data layout %d is not known", {static_cast<long long>(layout)}));
    r.ReadListBegin();
    while (!r.EndOfList()) {
        if (static_cast<int>(pump.Points.size()) >= kMaxPumpPoints)
            Bad(r, Format("More than %d pump points", {kMaxPumpPoints}));
        TPumpPoint p;
        p.Flow = ReadFinite(r, "a flow");
        p.Head = ReadFinite(r, "a head");
        p.Efficiency = ReadFinite(r, "an efficiency");
        if (p.Efficiency < 0 || p.Efficiency > 1) Bad(r, "Pump data: an efficiency is outside 0 to 1");
        pump.Points.push_back(p);
    }
    pump.Curve.StaticHead = ReadFinite(r, "the static head");
    if (std::abs(pump.Curve.StaticHead) > kMaxStaticHead)
        Bad(r, Format("Pump data: the static head is beyond %g m", {kMaxStaticHead}));
    const std::int64_t points = r.ReadInteger();
    if (points < kMinCurvePoints || points > kMaxCurvePoints)
        Bad(r, Format("Pump data: %d curve points", {static_cast<long long>(points)}));
    pump.Curve.Points = static_cast<int>(points);
    pump.Curve.MaxRatio = ReadFinite(r, "the largest flow ratio");
    if (!(pump.Curve.MaxRatio > 0 && pump.Curve.MaxRatio <= kMaxCurveRatio))
        Bad(r, "Pump data: the largest flow ratio is outside its range");
    return pump;
}

namespace {
constexpr int kSelectionLayout = 1;

// A stored whole number as the int the selection holds; one beyond any
// accepted value when it does not fit, so that the range check names it.
int ToInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
} // namespace

void WritePumpSelection(TTagWriter& w, const TPumpSelection& s) {
    w.WriteShortName(kPumpSelectionProperty);
    w.WriteInteger(kSelectionLayout);
    w.WriteFloat(s.Speed);
    w.WriteInteger(s.Pumps);
    w.WriteInteger(static_cast<int>(s.Arrangement));
    w.WriteBoolean(s.Standby);
    w.WriteListBegin();
    for (const TNpshPoint& p : s.NpshRequired) {
        w.WriteFloat(p.Flow);
        w.WriteFloat(p.Required);
    }
    w.WriteListEnd();
    w.WriteListBegin();
    for (std::int32_t n : s.SuctionItems) w.WriteInteger(n);
    w.WriteListEnd();
    for (double v : {s.SuctionHeight, s.SurfacePressure, s.VapourPressure, s.NpshMargin, s.HoursPerYear,
                     s.PricePerKWh, s.MotorEfficiency, s.DriveEfficiency})
        w.WriteFloat(v);
}

TPumpSelection ReadPumpSelection(TTagReader& r) {
    TPumpSelection s;
    const std::int64_t layout = r.ReadInteger();
    if (layout != kSelectionLayout)
        Bad(r, Format("Pump selection layout %d is not known", {static_cast<long long>(layout)}));
    // Read as stored; the values are checked together below, by the same
    // check the command line and the pump window use.
    s.Speed = r.ReadFloat();
    s.Pumps = ToInt(r.ReadInteger());
    const std::int64_t arrangement = r.ReadInteger();
    if (arrangement != 0 && arrangement != 1)
        Bad(r, Format("Pump data: arrangement %d is not known", {static_cast<long long>(arrangement)}));
    s.Arrangement = static_cast<TPumpArrangement>(arrangement);
    s.Standby = r.ReadBoolean();
    r.ReadListBegin();
    while (!r.EndOfList()) {
        if (static_cast<int>(s.NpshRequired.size()) >= kMaxPumpPoints)
            Bad(r, Format("More than %d NPSH points", {kMaxPumpPoints}));
        TNpshPoint p;
        p.Flow = r.ReadFloat();
        p.Required = r.ReadFloat();
        s.NpshRequired.push_back(p);
    }
    r.ReadListBegin();
    while (!r.EndOfList()) {
        if (static_cast<int>(s.SuctionItems.size()) >= kMaxSuctionItems)
            Bad(r, Format("More than %d suction items", {kMaxSuctionItems}));
        s.SuctionItems.push_back(ToInt(r.ReadInteger()));
    }
    for (double* v : {&s.SuctionHeight, &s.SurfacePressure, &s.VapourPressure, &s.NpshMargin, &s.HoursPerYear,
                      &s.PricePerKWh, &s.MotorEfficiency, &s.DriveEfficiency})
        *v = r.ReadFloat();
    if (const std::string problem = SelectionProblem(s); !problem.empty()) Bad(r, "Pump data: " + problem);
    return s;
}

} // namespace dvx
