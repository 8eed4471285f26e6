// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/units/UnitView.h"

#include "base/Errors.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/fluid/Fluid.h"
#include "engine/units/NominalInches.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace dvx {

double LiquidDensity(const TLiquid* liquid) {
    if (liquid == nullptr || !(liquid->ro > 0)) return std::numeric_limits<double>::quiet_NaN();
    return liquid->ro;
}

std::string AdaptedFormat(std::string_view format, double scale) {
    // Only the plain fixed form "%0.Nf" / "%.Nf" is adapted.
    std::string_view rest = format;
    if (rest.substr(0, 1) != "%") return std::string(format);
    rest.remove_prefix(1);
    if (rest.substr(0, 1) == "0") rest.remove_prefix(1);
    if (rest.substr(0, 1) != ".") return std::string(format);
    rest.remove_prefix(1);
    if (rest.size() < 2 || rest.back() != 'f') return std::string(format);
    auto decimals = TryStrToInt(rest.substr(0, rest.size() - 1));
    if (!decimals || *decimals < 0 || !(scale > 0) || !std::isfinite(scale)) return std::string(format);
    // A small allowance keeps exact decades (1000, 0.001) on their own decade.
    const int decades = static_cast<int>(std::floor(std::log10(scale) + 1e-9));
    const int shown = std::clamp(*decimals - decades, 0, 9);
    return Format("%%0.%df", {shown});
}

TUnitView::TUnitView(const TUnitChoice& choice, TQuantity quantity, TMetricForm metric, double density)
    : unit_(choice.Unit(quantity)), metric_(metric), metric_form_(choice.IsSI(quantity)), density_(density) {
    if (metric_form_) {
        label_ = metric_.Label;
        format_ = metric_.Format;
    } else {
        label_ = unit_.Label;
        format_ = AdaptedFormat(metric_.Format, ScaleOf(unit_) / metric_.Out.PerSI());
    }
}

TUnitView::TUnitView(TQuantity quantity, TMetricForm metric, double density)
    : TUnitView(DisplayUnits(), quantity, metric, density) {}

namespace {
double WithoutHeadUnits(TQuantity quantity) {
    if (quantity == qtPressureDrop || quantity == qtGradient)
        throw std::logic_error("a pressure drop or gradient view needs the liquid's density");
    return std::numeric_limits<double>::quiet_NaN();
}
} // namespace

TUnitView::TUnitView(TQuantity quantity, TMetricForm metric)
    : TUnitView(DisplayUnits(), quantity, metric, WithoutHeadUnits(quantity)) {}

std::string TUnitView::Caption(std::string_view before, std::string_view after) const {
    return std::string(before) + label_ + std::string(after);
}

double TUnitView::ToShown(double si) const {
    return metric_form_ ? metric_.Out.Apply(si) : ToDisplay(unit_, si, density_);
}

double TUnitView::FromShown(double shown) const {
    return metric_form_ ? metric_.In.Apply(shown) : FromDisplay(unit_, shown, density_);
}

std::string TUnitView::Text(double si) const {
    if (!metric_form_ && unit_.Basis == ubNominalInch) return NominalInchText(si);
    return FormatFloat(format_, ToShown(si));
}

std::string TUnitView::ShortText(double si) const {
    if (!metric_form_ && unit_.Basis == ubNominalInch) return NominalInchText(si);
    return FloatToStr(ToShown(si));
}

double TUnitView::Parse(std::string_view typed) const {
    if (!metric_form_ && unit_.Basis == ubNominalInch) {
        auto inches = ParseInches(typed);
        if (!inches) throw ConvertError(Format("'%s' is not a pipe size in inches", {std::string(typed)}));
        return FromDisplay(unit_, *inches, density_);
    }
    return FromShown(StrToFloat(typed));
}

} // namespace dvx

namespace dvx {

double TUnitView::ShownFromMetric(double metricValue) const {
    return metric_form_ ? metricValue : ToShown(metric_.In.Apply(metricValue));
}

double TUnitView::MetricFromShown(double shown) const {
    return metric_form_ ? shown : metric_.Out.Apply(FromShown(shown));
}

std::string TUnitView::TextFromMetric(double metricValue) const {
    if (metric_form_) return FormatFloat(format_, metricValue);
    return Text(metric_.In.Apply(metricValue));
}

} // namespace dvx
