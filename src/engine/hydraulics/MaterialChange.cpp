// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/hydraulics/MaterialChange.h"

#include "engine/catalogue/ActiveBores.h"

#include <cmath>

namespace dvx {

std::optional<std::vector<TBoreMove>> ChangeCircuitMaterial(const TProjectContext& project, TCircuit& circuit, int m) {
    TCatalogueTables& tables = project.Tables;
    const bool fromBuiltIn = ExtraMaterial(tables, circuit.Material) == nullptr;
    if (!tables.SelectPipeMaterial(m)) return std::nullopt;
    circuit.Material = static_cast<std::uint8_t>(m);
    std::vector<TBoreMove> moves;
    if (fromBuiltIn && OwnBoreTable(tables) == nullptr) return moves;
    for (int i = 0; i < circuit.Count(); ++i) {
        TBranch& item = circuit.Item(i);
        const double before = item.InsideDiameter;
        item.SetBore(project, NearestBoreRow(tables, before));
        if (before > 0 && std::fabs(item.InsideDiameter - before) > kReportedBoreMove * before)
            moves.push_back({i, before, item.InsideDiameter});
    }
    return moves;
}

} // namespace dvx
