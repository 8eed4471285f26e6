// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliUnits.h"

namespace dvx::cli {

TUnitChoice ReadUnitsOption(Args& args) {
    const auto value = args.Value("--units");
    if (!value || *value == "si") return TUnitChoice::FromPreset(upSI);
    if (*value == "us") return TUnitChoice::FromPreset(upUS);
    throw UsageError("--units: '" + *value + "' is not si or us");
}

std::string UnitsOptionHelp() {
    return "  --units si|us        units of the text table and CSV: si (the default) or US\n"
           "                       customary (gpm, psi, ft, in, ft/s, ft/100ft, US gal,\n"
           "                       degF); JSON is always SI\n";
}

std::optional<TQuantity> QuantityOfField(std::string_view field) {
    struct TField {
        std::string_view Name;
        TQuantity Quantity;
    };
    static constexpr TField kFields[] = {
        {"flow", qtFlow},          {"pressureDrop", qtPressureDrop}, {"totalDP", qtPressureDrop},
        {"velocity", qtVelocity},  {"gradient", qtGradient},         {"volume", qtVolume},
        {"totalVolume", qtVolume}, {"length", qtLength},             {"insideDiameter", qtLength},
        {"roughness", qtLength},   {"t", qtTemperature},             {"validTMin", qtTemperature},
        {"validTMax", qtTemperature}, {"ro", qtDensity},             {"mu", qtViscosity},
    };
    for (const TField& f : kFields)
        if (f.Name == field) return f.Quantity;
    return std::nullopt;
}

std::string CsvUnitLabel(const TUnitChoice& units, TQuantity quantity, std::string_view siLabel) {
    if (units.IsSI(quantity)) return std::string(siLabel);
    const TDisplayUnit& unit = units.Unit(quantity);
    // Keys are ASCII already; Fahrenheit reads "degF" like the SI "degC".
    if (quantity == qtTemperature && std::string_view(unit.Key) == "F") return "degF";
    return unit.Key;
}

double CsvValue(const TUnitChoice& units, TQuantity quantity, double si, double density) {
    if (units.IsSI(quantity)) return si;
    return ToDisplay(units.Unit(quantity), si, density);
}

} // namespace dvx::cli
