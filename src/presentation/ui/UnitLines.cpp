// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/UnitLines.h"

#include "base/Format.h"
#include "base/Numbers.h"

namespace dvx {

namespace {
// A limit written for the line: as given in the metric unit, or converted
// and kept to 6 significant digits so the line stays readable.
std::string LimitText(const TUnitView& view, double metricLimit) {
    if (view.IsMetric()) return FloatToStr(metricLimit);
    const double shown = view.ShownFromMetric(metricLimit);
    return FloatToStr(StrToFloat(Format("%0.6g", {shown})));
}
} // namespace

std::string QuantityLine(std::string_view caption, const TUnitView& view, double low, double high,
                         std::string_view tail) {
    return std::string(caption) + "; " + view.NumberFormat() + "; " + view.Label() + "; NPE; " +
           LimitText(view, low) + "; " + LimitText(view, high) + std::string(tail);
}

} // namespace dvx
