// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli fluid: evaluates a liquid the way the program evaluates its
// system fluid and prints the captions, the properties and the valid range.
//
//   darvenix-cli fluid --liquid CODE --t CELSIUS [--additive 0-3 --volume FRACTION]
//                      [--user RO,CP,MU,KO] [--json]
//
// Values are printed in the program's internal units: °C, kg/m³, kJ/(kg·K),
// Pa·s and kW/(m·K).

#include "Args.h"
#include "CliCommand.h"

#include "common/Errors.h"
#include "common/Format.h"
#include "common/Numbers.h"
#include "fluid/Fluid.h"

#include <array>
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

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (u < 0x20) out += Format("\\u%04x", {FmtArg(static_cast<int>(u))});
            else out += c; // UTF-8 passes through
        }
    }
    return out + "\"";
}

// JSON has no NaN or infinity; such a value (not expected after a
// successful evaluation) is written as null.
std::string JsonNumber(double value) {
    return std::isfinite(value) ? FloatToStr17(value) : "null";
}

int RunFluid(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    Args args(arguments);
    const bool json = args.Flag("--json");
    const auto liquid = args.Integer("--liquid");
    const auto t = args.Number("--t");
    const auto additive = args.Integer("--additive");
    const auto volume = args.Number("--volume");
    const auto user = args.Value("--user");
    args.RequireAllUsed();

    if (!liquid) throw UsageError("--liquid CODE is required");
    if (!t) throw UsageError("--t CELSIUS is required");
    if (*liquid < 0 || *liquid > LiquidCodeMax)
        throw UsageError(Format("--liquid: the code must lie between 0 and %d", {LiquidCodeMax}));
    if (additive && (*additive < 0 || *additive > AdditiveCodeMax))
        throw UsageError(Format("--additive: the code must lie between 0 and %d", {AdditiveCodeMax}));
    if (volume && (*volume < 0 || *volume > 1))
        throw UsageError("--volume: the fraction must lie between 0 and 1");
    std::array<double, 4> userValues{};
    if (user) userValues = ParseUserList(*user);

    StartFluidModule();
    TLiquid& fluid = *SystemFluid;
    fluid.LiquidSpec = static_cast<std::uint8_t>(*liquid);
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
        err << "darvenix-cli fluid: the liquid cannot be evaluated at "
            << FloatToStr(*t) << " °C: " << e.what() << "\n";
        return kExitFailed;
    }

    const std::vector<std::pair<const char*, double>> numbers = {
        {"t", fluid.t},       {"ro", fluid.ro},   {"Cp", fluid.Cp},
        {"mu", fluid.mu},     {"Ko", fluid.Ko},   {"Pr", fluid.Pr},
        {"validTMin", fluid.ValidTMin}, {"validTMax", fluid.ValidTMax},
    };
    if (json) {
        std::string text = "{";
        text += "\"caption\": " + JsonString(fluid.GetCaption());
        text += ", \"shortCaption\": " + JsonString(fluid.GetShortCaption());
        text += ", \"description\": " + JsonString(fluid.GetDescription());
        for (const auto& [name, value] : numbers)
            text += std::string(", \"") + name + "\": " + JsonNumber(value);
        text += ", \"rangeStatus\": " + Format("%d", {fluid.RangeStatus});
        out << text << "}\n";
    } else {
        std::string text;
        text += "caption = " + fluid.GetCaption() + "\n";
        text += "shortCaption = " + fluid.GetShortCaption() + "\n";
        text += "description = " + fluid.GetDescription() + "\n";
        for (const auto& [name, value] : numbers) {
            // The text form names the range ends as the fluid does.
            std::string key = name;
            if (key == "validTMin") key = "ValidTMin";
            if (key == "validTMax") key = "ValidTMax";
            text += key + " = " + FloatToStr(value) + "\n";
        }
        text += "RangeStatus = " + Format("%d", {fluid.RangeStatus}) + "\n";
        out << text;
    }
    return kExitOk;
}

const CliCommandRegistrar registrar(CliCommand{
    "fluid",
    "fluid --liquid CODE(0-13) --t CELSIUS [--additive 0-3 --volume FRACTION] "
    "[--user RO,CP,MU,KO] [--json]",
    RunFluid,
});

} // namespace
} // namespace dvx::cli
