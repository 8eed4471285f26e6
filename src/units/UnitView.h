// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One quantity as one place of the program shows it. Every window has
// always shown its quantities in a metric form of its own (the grid's flow
// as "%0.2f" l/s, the warnings list's gradient in kPa/m, the limits
// dialog's in Pa/m). With the SI unit chosen a view shows exactly that
// form; with another unit it shows that unit, with at least the resolution
// the metric form had (so gpm gets one decimal fewer than l/s and psi one
// more than kPa), and reads typed values in it.

#include "units/UnitChoice.h"

#include <string>
#include <string_view>

namespace dvx {

// How a place shows a quantity when the SI unit is chosen.
struct TMetricForm {
    const char* Label;  // "l/s"
    double Factor;      // shown = SI × Factor (1000 for l/s from m³/s)
    const char* Format; // "%0.2f"
};

class TUnitView {
public:
    // `density` (kg/m³) converts head units; LiquidDensity() gives the
    // system liquid's at its current temperature.
    TUnitView(const TUnitChoice& choice, TQuantity quantity, TMetricForm metric, double density);
    // With the choice in force and the system liquid's density.
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

private:
    TDisplayUnit unit_;
    TMetricForm metric_;
    bool metric_form_;
    double density_;
    std::string label_;
    std::string format_;
};

// The system liquid's density at its current temperature, kg/m³; NaN when
// there is no liquid yet (head units then refuse to convert).
double LiquidDensity();

// A "%0.Nf" format made no coarser for a unit `scale` times finer than the
// format's own: N grows by the decades the unit is coarser and shrinks (not
// below 0) by the whole decades it is finer. Other formats ("%0.4g") are
// returned as they are: significant digits need no change.
std::string AdaptedFormat(std::string_view format, double scale);

} // namespace dvx
