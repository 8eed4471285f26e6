// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings/UnitSettings.h"

#include "storage/settings/SettingsStore.h"

#include <string>
#include <vector>

namespace dvx {

TUnitChoice ReadUnitChoice(const SettingsStore& store) {
    TUnitChoice choice;
    for (int q = 0; q < QuantityCount; ++q) {
        const auto quantity = static_cast<TQuantity>(q);
        std::string key = store.ReadString(kUnitsSection, QuantityName(quantity), "");
        // Earlier versions listed litres first and saved "l" for the SI
        // choice, which every place showed in m³: it keeps meaning m³.
        if (quantity == qtVolume && key == "l") key = "m3";
        const int index = UnitIndexOf(quantity, key);
        if (index >= 0) choice.Set(quantity, index);
    }
    // Settings saved before valves were shown by Cv or Kv have no such key:
    // a saved US customary choice then stays that preset (Cv), anything
    // else keeps Kv.
    if (store.ReadString(kUnitsSection, QuantityName(qtFlowCoefficient), "").empty()) {
        TUnitChoice withCv = choice;
        withCv.Set(qtFlowCoefficient, UnitIndexOf(qtFlowCoefficient, "Cv"));
        if (withCv.MatchingPreset() == upUS) choice = withCv;
    }
    return choice;
}

void WriteUnitChoice(SettingsStore& store, const TUnitChoice& choice) {
    std::vector<std::string> lines;
    for (int q = 0; q < QuantityCount; ++q) {
        const auto quantity = static_cast<TQuantity>(q);
        lines.push_back(std::string(QuantityName(quantity)) + "=" + choice.Unit(quantity).Key);
    }
    store.ReplaceSection(kUnitsSection, lines);
}

} // namespace dvx
