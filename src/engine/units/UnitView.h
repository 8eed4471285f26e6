// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One quantity as one place of the program shows it. Every window has
// always shown its quantities in a metric form of its own (the grid's flow
// as "%0.2f" l/s, the warnings list's gradient in kPa/m, the limits
// dialog's in Pa/m). With the SI unit chosen a view shows exactly that
// form; with another unit it shows that unit, with at least the resolution
// the metric form had (so gpm gets one decimal fewer than l/s and psi one
// more than kPa), and reads typed values in it.

#include "engine/units/UnitChoice.h"

#include <limits>
#include <string>
#include <string_view>

namespace dvx {

// Multiplying or dividing by a constant. A place that has always divided
// Pa by 1000 keeps dividing, so its numbers stay the same to the last bit.
struct TScale {
    double Value = 1;
    bool Divides = false;
    double Apply(double x) const { return Divides ? x / Value : x * Value; }
    TScale Inverse() const { return {Value, !Divides}; }
    // How many shown units make one SI unit.
    double PerSI() const { return Divides ? 1 / Value : Value; }
};
constexpr TScale Times(double value) { return {value, false}; }
constexpr TScale Over(double value) { return {value, true}; }

// How a place shows a quantity when the SI unit is chosen.
struct TMetricForm {
    TMetricForm(const char* label, const char* format, TScale out) : TMetricForm(label, format, out, out.Inverse()) {}
    TMetricForm(const char* label, const char* format, TScale out, TScale in)
        : Label(label), Format(format), Out(out), In(in) {}
    const char* Label;  // "l/s"
    const char* Format; // "%0.2f"
    TScale Out;         // SI → shown (Times(1000) for l/s from m³/s)
    TScale In;          // shown → SI (Times(0.001) for l/s)
};

// The density to give a view of a quantity none of whose units is a liquid
// head (all but pressure drop and gradient): it is never used.
inline constexpr double kNoHeadDensity = std::numeric_limits<double>::quiet_NaN();

class TUnitView {
public:
    // `density` (kg/m³) converts head units; LiquidDensity(liquid) gives a
    // liquid's at its current temperature.
    TUnitView(const TUnitChoice& choice, TQuantity quantity, TMetricForm metric, double density);
    // With the choice in force and the given density.
    TUnitView(TQuantity quantity, TMetricForm metric, double density);
    // With the choice in force, for a quantity none of whose units is a
    // liquid head (not pressure drop, not gradient): those need the density
    // of the project's liquid, and asking for one here is a programming
    // error (std::logic_error).
    TUnitView(TQuantity quantity, TMetricForm metric);

    bool IsMetric() const { return metric_form_; }
    const TDisplayUnit& Unit() const { return unit_; }
    const std::string& Label() const { return label_; }
    // The number format for this place ("%0.1f"); a nominal-inch size is
    // shown as its designation instead (Text).
    const std::string& NumberFormat() const { return format_; }
    // The place's own texts with the unit label put in: Caption("Q, ") → "Q, gpm".
    std::string Caption(std::string_view before, std::string_view after = {}) const;

    double ToShown(double si) const;
    double FromShown(double shown) const;
    // The value as shown: formatted, or a pipe size's inch designation.
    std::string Text(double si) const;
    // A shown value written in the shortest general form (no fixed decimals).
    std::string ShortText(double si) const;
    // Reads a typed value in this unit and gives it in SI. Raises
    // ConvertError for text that is not a value of the unit.
    double Parse(std::string_view typed) const;

    // For values the program keeps in the metric form's unit (the item
    // defaults in l/s and kPa, the limits in Pa/m, the bore table's maximum
    // flows in l/s): the same operations without a detour through SI, so
    // that with the SI unit chosen they are exactly what they always were.
    double ShownFromMetric(double metricValue) const;
    double MetricFromShown(double shown) const;
    std::string TextFromMetric(double metricValue) const;

private:
    TDisplayUnit unit_;
    TMetricForm metric_;
    bool metric_form_;
    double density_;
    std::string label_;
    std::string format_;
};

// The liquid's density at its current temperature, kg/m³; NaN when there is
// no liquid (null) or it has no density (head units then refuse to convert).
class TLiquid;
double LiquidDensity(const TLiquid* liquid);

// A "%0.Nf" format made no coarser for a unit `scale` times finer than the
// format's own: N grows by the decades the unit is coarser and shrinks (not
// below 0) by the whole decades it is finer. Other formats ("%0.4g") are
// returned as they are: significant digits need no change.
std::string AdaptedFormat(std::string_view format, double scale);

} // namespace dvx
