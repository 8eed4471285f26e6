// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli fluid: evaluates a liquid the way the program evaluates its
// system fluid and prints the captions, the properties and the valid range.
//
//   darvenix-cli fluid --liquid CODE --t CELSIUS [--additive 0-3 --volume FRACTION]
//                      [--user RO,CP,MU,KO] [--json] [--strict]
//   darvenix-cli fluid --list [--json]
//
// Values are printed in the program's internal units: °C, kg/m³, kJ/(kg·K),
// Pa·s and kW/(m·K).

#include "Args.h"
#include "CliCommand.h"
#include "CliWarning.h"
#include "CodeNames.h"
#include "JsonOut.h"
#include "OutputText.h"

#include "base/Errors.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/ProjectContext.h"
#include "engine/fluid/FreezingPoint.h"

#include <array>
#include <optional>
#include <cmath>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dvx::cli {
namespace {

constexpr int LiquidCodeMax = 13;
constexpr int AdditiveCodeMax = 3;

// Accepted user values, internal units: the same limits the fluid sheet puts
// on its entry fields, so the Prandtl number always has a finite value.
struct UserLimit {
    const char* name;
    double min, max;
};
constexpr std::array<UserLimit, 4> UserLimits = {{
    {"density (kg/m3)", 0.01, 5000},
    {"specific heat (kJ/(kg K))", 0.01, 100},
    {"viscosity (Pa s)", 1e-9, 10},
    {"conductivity (kW/(m K))", 1e-9, 10},
}};

std::array<double, 4> ParseUserList(const std::string& text) {
    std::vector<std::string> parts{""};
    for (char c : text) {
        if (c == ',') parts.emplace_back();
        else parts.back() += c;
    }
    if (parts.size() != 4)
        throw UsageError("--user needs four numbers RO,CP,MU,KO, not '" + text + "'");
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < 4; ++i) {
        auto v = TryStrToFloat(parts[i]);
        if (!v) throw UsageError("--user: '" + parts[i] + "' is not a number");
        if (*v < UserLimits[i].min || *v > UserLimits[i].max)
            throw UsageError(Format("--user: %s must lie between %g and %g",
                                    {FmtArg(UserLimits[i].name), FmtArg(UserLimits[i].min),
                                     FmtArg(UserLimits[i].max)}));
        values[i] = *v;
    }
    return values;
}

const std::vector<std::pair<std::string, std::string>> kFluidUnits = {
    {"t", "degC"},      {"ro", "kg/m3"},    {"Cp", "kJ/(kg K)"}, {"mu", "Pa s"},
    {"Ko", "kW/(m K)"}, {"validTMin", "degC"}, {"validTMax", "degC"}, {"freezingPoint", "degC"},
};


struct TListedRange {
    int Code;
    std::string Name;
    std::string Caption;
    double TMin, TMax; // °C
};

// Every liquid code and additive with the valid range its evaluation gives.
// Each is evaluated at 20 °C; the range does not depend on the temperature.
std::vector<TListedRange> ListedLiquids() {
    std::vector<TListedRange> list;
    for (int code = 0; code <= LiquidCodeMax; ++code) {
        TLiquid liquid("", static_cast<std::uint8_t>(code), 0, 20, 20);
        list.push_back({code, LiquidNames[static_cast<std::size_t>(code)], liquid.GetCaption(), liquid.ValidTMin,
                        liquid.ValidTMax});
    }
    return list;
}

std::vector<TListedRange> ListedAdditives() {
    std::vector<TListedRange> list;
    for (int code = 1; code <= AdditiveCodeMax; ++code) {
        TLiquid liquid("", 0, 0, 20, 20);
        liquid.WaterAdditive = static_cast<std::uint8_t>(code);
        liquid.AdditiveVolume = 0.3;
        liquid.Evaluate();
        list.push_back({code, kAdditiveCaptions[code], AdditiveNames[static_cast<std::size_t>(code)],
                        liquid.ValidTMin, liquid.ValidTMax});
    }
    return list;
}

int PrintList(bool json, std::ostream& out) {
    const std::vector<TListedRange> liquids = ListedLiquids();
    const std::vector<TListedRange> additives = ListedAdditives();
    if (json) {
        TJsonDocument doc({{"validTMin", "degC"}, {"validTMax", "degC"}});
        Json l = Json::array(), a = Json::array();
        for (const TListedRange& r : liquids)
            l.push_back(Json{{"code", r.Code}, {"name", r.Name}, {"caption", JsonText(r.Caption)},
                             {"validTMin", JsonNumber(r.TMin)}, {"validTMax", JsonNumber(r.TMax)}});
        a.push_back(Json{{"code", 0}, {"name", kAdditiveCaptions[0]}, {"caption", AdditiveNames[0]},
                         {"validTMin", nullptr}, {"validTMax", nullptr}});
        for (const TListedRange& r : additives)
            a.push_back(Json{{"code", r.Code}, {"name", r.Name}, {"caption", r.Caption},
                             {"validTMin", JsonNumber(r.TMin)}, {"validTMax", JsonNumber(r.TMax)}});
        doc.Set("liquids", std::move(l));
        doc.Set("additives", std::move(a));
        doc.Write(out);
        return kExitOk;
    }
    out << "Liquids (--liquid CODE), valid range in °C:\n";
    for (const TListedRange& r : liquids)
        out << Format("%4d  %-22s %s to %s\n", {r.Code, r.Name, FloatToStr(r.TMin), FloatToStr(r.TMax)});
    out << "\nAdditives to water (--liquid 0 --additive CODE --volume FRACTION), valid range in °C:\n";
    out << Format("%4d  %s\n", {0, kAdditiveCaptions[0]});
    for (const TListedRange& r : additives)
        out << Format("%4d  %-22s %s to %s\n", {r.Code, r.Name, FloatToStr(r.TMin), FloatToStr(r.TMax)});
    return kExitOk;
}

int RunFluid(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    Args args(arguments);
    const bool json = args.Flag("--json");
    const bool list = args.Flag("--list");
    const bool strict = args.Flag("--strict");
    const auto liquidText = args.Value("--liquid");
    const auto t = args.Number("--t");
    const auto additiveText = args.Value("--additive");
    const auto volume = args.Number("--volume");
    const auto user = args.Value("--user");
    args.RequireAllUsed();

    if (list) {
        if (liquidText || t || additiveText || volume || user) throw UsageError("--list takes no liquid options");
        return PrintList(json, out);
    }
    if (!liquidText) throw UsageError("--liquid NAME is required");
    const int liquid = CodeOrName("--liquid", *liquidText, LiquidOptionNames());
    std::optional<int> additive;
    if (additiveText) additive = CodeOrName("--additive", *additiveText, AdditiveOptionNames());
    if (!t) throw UsageError("--t CELSIUS is required");
    if (!std::isfinite(*t)) throw UsageError("--t: not a temperature");
    if (volume && (*volume < 0 || *volume > 1))
        throw UsageError("--volume: the fraction must lie between 0 and 1");
    std::array<double, 4> userValues{};
    if (user) userValues = ParseUserList(*user);

    // Clean water at the built-in default temperature, with the options over it.
    TProjectState project;
    TLiquid& fluid = project.Liquid;
    fluid.LiquidSpec = static_cast<std::uint8_t>(liquid);
    if (additive) fluid.WaterAdditive = static_cast<std::uint8_t>(*additive);
    if (volume) fluid.AdditiveVolume = *volume;
    if (user) {
        fluid.UserProps = true;
        fluid.UserRo = userValues[0];
        fluid.UserCp = userValues[1];
        fluid.UserMu = userValues[2];
        fluid.UserKo = userValues[3];
    }
    try {
        fluid.SetT(*t);
    } catch (const MathError& e) {
        err << "the liquid cannot be evaluated at "
            << FloatToStr(*t) << " °C: " << e.what() << "\n";
        return kExitCalculation;
    }
    std::vector<TCliWarning> warnings = RangeWarnings(fluid);
    const double margin = project.Tables.FreezingMargin;
    for (const TCliWarning& w : FreezeWarnings(fluid, margin)) warnings.push_back(w);
    const TFreezeCheck freezing = CheckFreezing(fluid, margin);
    PrintWarnings(warnings, err);

    const std::vector<std::pair<const char*, double>> numbers = {
        {"t", fluid.t},       {"ro", fluid.ro},   {"Cp", fluid.Cp},
        {"mu", fluid.mu},     {"Ko", fluid.Ko},   {"Pr", fluid.Pr},
        {"validTMin", fluid.ValidTMin}, {"validTMax", fluid.ValidTMax},
    };
    if (json) {
        TJsonDocument doc(kFluidUnits);
        Json l = Json::object();
        l["caption"] = JsonText(fluid.GetCaption());
        l["shortCaption"] = JsonText(fluid.GetShortCaption());
        l["description"] = JsonText(fluid.GetDescription());
        for (const auto& [name, value] : numbers) {
            // °C, beside the properties; null where the liquid is no mixture
            // or its table does not reach it.
            if (std::string_view(name) == "validTMin")
                l["freezingPoint"] = freezing.FreezingPoint ? JsonNumber(*freezing.FreezingPoint) : Json(nullptr);
            l[name] = JsonNumber(value);
        }
        l["rangeStatus"] = fluid.RangeStatus;
        doc.Set("liquid", std::move(l));
        for (const TCliWarning& w : warnings) doc.AddWarning(w);
        doc.Write(out);
    } else {
        std::string text;
        text += "caption = " + Utf8Text(fluid.GetCaption()) + "\n";
        text += "shortCaption = " + Utf8Text(fluid.GetShortCaption()) + "\n";
        text += "description = " + Utf8Text(fluid.GetDescription()) + "\n";
        for (const auto& [name, value] : numbers) {
            // The text form names the range ends as the fluid does.
            std::string key = name;
            if (key == "validTMin") key = "ValidTMin";
            if (key == "validTMax") key = "ValidTMax";
            text += key + " = " + FloatToStr(value) + "\n";
        }
        text += "RangeStatus = " + Format("%d", {fluid.RangeStatus}) + "\n";
        if (freezing.Applies)
            text += "FreezingPoint = " +
                    (freezing.FreezingPoint ? FloatToStr(*freezing.FreezingPoint) : std::string("unknown")) + "\n";
        out << text;
    }
    return strict && !warnings.empty() ? kExitStrictWarning : kExitOk;
}

const CliCommandRegistrar registrar(CliCommand{
    "fluid",
    "evaluate a liquid at a temperature, or list the liquids",
    "Usage: darvenix-cli fluid --liquid NAME --t CELSIUS [OPTIONS]\n"
    "  or:  darvenix-cli fluid --list [--json]\n",
    "  --liquid NAME        liquid, by name or code 0 to 13 (see --list):\n" +
        OptionValueList(LiquidOptionNames()) +
        "  --t CELSIUS          temperature\n"
        "  --additive NAME      additive to water, by name or code 0 to 3:\n" +
        OptionValueList(AdditiveOptionNames()) +
        "  --volume FRACTION    additive volume fraction, 0 to 1\n"
        "  --user RO,CP,MU,KO   the user's own density (kg/m3), specific heat\n"
        "                       (kJ/(kg K)), viscosity (Pa s) and conductivity\n"
        "                       (kW/(m K))\n"
        "  --list               list the liquid and additive codes with their valid\n"
        "                       ranges\n"
        "  --json               print the versioned JSON document\n"
        "  --strict             exit 6 when the temperature is outside the valid range,\n"
        "                       or a water mixture is within the freezing margin (2 K)\n"
        "                       of its freezing point\n",
    RunFluid,
    TOutputOption::Accepted,
});

} // namespace
} // namespace dvx::cli
