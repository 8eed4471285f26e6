// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/catalogue/Materials.h"

#include "base/IniDocument.h"
#include "base/Numbers.h"
#include "engine/catalogue/Tables.h"

#include <array>
#include <cmath>

namespace dvx {

std::optional<TNearestMaterialBore> NearestMaterialBore(const TMaterialTable& table, double d) {
    if (table.Bores.empty()) return std::nullopt;
    TNearestMaterialBore best{0, std::fabs(table.Bores[0].ID - d) / d};
    for (std::size_t i = 1; i < table.Bores.size(); ++i) {
        const double deviation = std::fabs(table.Bores[i].ID - d) / d;
        if (deviation < best.Deviation) best = {i, deviation};
    }
    return best;
}

std::size_t MaterialBoreForFlow(const TMaterialTable& table, double q) {
    for (std::size_t i = table.Bores.size(); i-- > 0;)
        if (table.Bores[i].mf >= q) return i;
    return 0;
}

std::string_view BuiltInMaterialName(int code) {
    static constexpr std::array<std::string_view, MaterialCount> kNames = {"Schedule 40 steel", "Galvanised iron",
                                                                           "Drawn tubing"};
    return code >= 0 && code < MaterialCount ? kNames[static_cast<std::size_t>(code)] : std::string_view{};
}

std::optional<int> MaterialCodeOf(const TCatalogueTables& tables, std::string_view name) {
    const int count = MaterialCount + static_cast<int>(tables.Materials.size());
    if (const std::optional<double> number = TryStrToFloat(name)) {
        if (*number >= 0 && *number < count && *number == std::floor(*number)) return static_cast<int>(*number);
        return std::nullopt;
    }
    for (int code = 0; code < MaterialCount; ++code)
        if (SameIniName(BuiltInMaterialName(code), name)) return code;
    for (std::size_t i = 0; i < tables.Materials.size(); ++i)
        if (SameIniName(tables.Materials[i].Name, name)) return MaterialCount + static_cast<int>(i);
    return std::nullopt;
}

const TMaterialTable* ExtraMaterial(const TCatalogueTables& tables, int code) {
    const int i = code - MaterialCount;
    if (i < 0 || i >= static_cast<int>(tables.Materials.size())) return nullptr;
    return &tables.Materials[static_cast<std::size_t>(i)];
}

} // namespace dvx
