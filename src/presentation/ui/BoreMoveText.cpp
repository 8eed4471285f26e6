// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/BoreMoveText.h"

#include "base/Format.h"

#include <cmath>

namespace dvx {

std::string BoreMoveText(const TCircuit& circuit, const std::string& material, const std::vector<TBoreMove>& moves) {
    if (moves.empty()) return {};
    std::string text = Format("In %s these items have an inside diameter more than %d %% from the one they had:\n",
                              {material, static_cast<int>(std::lround(kReportedBoreMove * 100))});
    for (const TBoreMove& m : moves) {
        if (m.Position < 0 || m.Position >= circuit.Count() || !(m.FromID > 0)) continue;
        const TBranch& item = circuit.Item(m.Position);
        const double change = (m.ToID - m.FromID) / m.FromID * 100;
        text += Format("#%d %s: %0.1f mm \u2192 %0.1f mm (%s%0.0f %%)\n",
                       {item.Number, item.Description, m.FromID * 1000, m.ToID * 1000,
                        change < 0 ? "\u2212" : "+", std::fabs(change)});
    }
    return text;
}

} // namespace dvx
