// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/ThreeKFallback.h"

#include "engine/hydraulics/Circuit.h"
#include "engine/hydraulics/Items.h"

#include <algorithm>

namespace dvx {

std::vector<std::string> ThreeKFallbackTypes(const TCircuit& circuit, const TProjectContext& project) {
    std::vector<std::string> types;
    if (project.Tables.FittingMethod != TFittingMethod::ThreeK) return types;
    for (const auto& item : circuit.Items) {
        if (item->Kind() != TItemKind::Fitting) continue;
        const auto& fitting = static_cast<const TFitting&>(*item);
        if (!fitting.ThreeKFallsBack(project)) continue;
        const std::string& name = project.Tables.FittingTable[fitting.FittingType].FittingName;
        if (std::find(types.begin(), types.end(), name) == types.end()) types.push_back(name);
    }
    return types;
}

std::string JoinedTypeNames(const std::vector<std::string>& types) {
    std::string list;
    for (const std::string& t : types) list += (list.empty() ? "" : ", ") + t;
    return list;
}

} // namespace dvx
