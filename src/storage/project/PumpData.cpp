// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/PumpData.h"

#include "base/Errors.h"
#include "base/Format.h"

#include <cmath>

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

} // namespace dvx
