// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/PumpSelectionFields.h"

#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/pump/SelectionCheck.h"
#include "engine/units/UnitView.h"

#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace dvx {

namespace {

constexpr double kPercent = 100;

TUnitView HeadView() { return TUnitView(qtHead, {"m", "%0.4g", Times(1)}); }
// Pressures shown as head take the density (kg/m³) of the project's liquid.
TUnitView PressureView(double density) { return TUnitView(qtPressureDrop, {"kPa", "%0.4g", Over(1000)}, density); }

std::string Num(double v) { return Format("%0.4g", {v}); }

std::string ItemsText(const std::vector<std::int32_t>& items) {
    std::string text;
    for (std::int32_t n : items) text += (text.empty() ? "" : ", ") + Format("%d", {n});
    return text;
}

// A field's value in SI: the shown value when the text is unchanged, else
// the typed number converted; none when it does not read.
std::optional<double> Value(const std::string& typed, const std::string& shownText, double shownValue,
                            const std::function<double(double)>& fromShown) {
    const std::string text(TrimBlanks(typed));
    if (text == shownText) return shownValue;
    const std::optional<double> v = TryStrToFloat(text);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return fromShown(*v);
}

double Same(double v) { return v; }
double FromPercent(double v) { return v / kPercent; }
double FromHead(double v) { return HeadView().FromShown(v); }

} // namespace

std::string SelectionHeadUnit() { return HeadView().Label(); }
// A label names the unit only: no density is needed for it.
std::string SelectionPressureUnit() { return PressureView(std::numeric_limits<double>::quiet_NaN()).Label(); }

TSelectionFields SelectionFieldsOf(const TPumpSelection& s, double density) {
    TSelectionFields f;
    f.Speed = Num(s.Speed * kPercent);
    f.Pumps = Format("%d", {s.Pumps});
    f.Arrangement = s.Arrangement;
    f.Standby = s.Standby;
    f.SuctionItems = ItemsText(s.SuctionItems);
    f.SuctionHeight = HeadView().Text(s.SuctionHeight);
    f.SurfacePressure = PressureView(density).Text(s.SurfacePressure);
    f.VapourPressure = s.VapourPressure < 0 ? std::string() : PressureView(density).Text(s.VapourPressure);
    f.NpshMargin = HeadView().Text(s.NpshMargin);
    f.Hours = Num(s.HoursPerYear);
    f.Price = Num(s.PricePerKWh);
    f.MotorEfficiency = Num(s.MotorEfficiency * kPercent);
    f.DriveEfficiency = Num(s.DriveEfficiency * kPercent);
    return f;
}

TSelectionRead ReadSelectionFields(const TSelectionFields& f, const TPumpSelection& shown, double density) {
    const TSelectionFields was = SelectionFieldsOf(shown, density);
    const auto FromPressure = [density](double v) { return PressureView(density).FromShown(v); };
    TSelectionRead read{shown, {}};
    TPumpSelection s = shown;
    auto fail = [&](const std::string& error) {
        read.Error = error;
        return read;
    };
    struct Number {
        const std::string& typed;
        const std::string& shownText;
        double shownValue;
        std::function<double(double)> fromShown;
        double* into;
        const char* name;
    };
    const Number numbers[] = {
        {f.Speed, was.Speed, shown.Speed, FromPercent, &s.Speed, "The speed"},
        {f.SuctionHeight, was.SuctionHeight, shown.SuctionHeight, FromHead, &s.SuctionHeight, "The suction height"},
        {f.SurfacePressure, was.SurfacePressure, shown.SurfacePressure, FromPressure, &s.SurfacePressure,
         "The surface pressure"},
        {f.NpshMargin, was.NpshMargin, shown.NpshMargin, FromHead, &s.NpshMargin, "The NPSH margin"},
        {f.Hours, was.Hours, shown.HoursPerYear, Same, &s.HoursPerYear, "The hours per year"},
        {f.Price, was.Price, shown.PricePerKWh, Same, &s.PricePerKWh, "The price per kWh"},
        {f.MotorEfficiency, was.MotorEfficiency, shown.MotorEfficiency, FromPercent, &s.MotorEfficiency,
         "The motor efficiency"},
        {f.DriveEfficiency, was.DriveEfficiency, shown.DriveEfficiency, FromPercent, &s.DriveEfficiency,
         "The drive efficiency"},
    };
    for (const Number& n : numbers) {
        const std::optional<double> v = Value(n.typed, n.shownText, n.shownValue, n.fromShown);
        if (!v) return fail(std::string(n.name) + " is not a number.");
        *n.into = *v;
    }
    // A blank vapour pressure is taken from the water table.
    if (TrimBlanks(f.VapourPressure).empty()) {
        s.VapourPressure = -1;
    } else {
        const std::optional<double> v = Value(f.VapourPressure, was.VapourPressure, shown.VapourPressure, FromPressure);
        if (!v) return fail("The vapour pressure is not a number (leave it blank for water).");
        if (*v < 0) return fail(VapourPressureProblem());
        s.VapourPressure = *v;
    }
    const std::optional<int> pumps = TryStrToInt(std::string(TrimBlanks(f.Pumps)));
    if (!pumps) return fail("The number of pumps is not a whole number.");
    s.Pumps = *pumps;
    s.Arrangement = f.Arrangement;
    s.Standby = f.Standby;
    if (TrimBlanks(f.SuctionItems) != TrimBlanks(was.SuctionItems)) {
        s.SuctionItems.clear();
        std::string word;
        const std::string text = f.SuctionItems + ",";
        for (char c : text) {
            if (c != ',' && c != ' ' && c != ';') {
                word += c;
                continue;
            }
            if (word.empty()) continue;
            const std::optional<int> n = TryStrToInt(word);
            if (!n) return fail("Suction items: '" + word + "' is not an item number.");
            s.SuctionItems.push_back(*n);
            word.clear();
        }
    }
    if (const std::string problem = SelectionProblem(s); !problem.empty()) return fail(problem);
    read.Selection = s;
    return read;
}

} // namespace dvx
