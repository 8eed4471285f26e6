// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/pump/Arrangement.h"

#include <stdexcept>

namespace dvx {

std::string_view ArrangementKey(TPumpArrangement arrangement) {
    return arrangement == TPumpArrangement::Series ? "series" : "parallel";
}

std::optional<TPumpArrangement> ArrangementFromKey(std::string_view key) {
    if (key == "parallel") return TPumpArrangement::Parallel;
    if (key == "series") return TPumpArrangement::Series;
    return std::nullopt;
}

std::vector<TPumpPoint> CombinedPoints(std::span<const TPumpPoint> single, TPumpArrangement arrangement,
                                       int running) {
    if (running < 1) throw std::invalid_argument("at least one pump must run");
    std::vector<TPumpPoint> points;
    points.reserve(single.size());
    const double n = running;
    for (const TPumpPoint& p : single) {
        if (arrangement == TPumpArrangement::Parallel)
            points.push_back({p.Flow * n, p.Head, p.Efficiency});
        else
            points.push_back({p.Flow, p.Head * n, p.Efficiency});
    }
    return points;
}

} // namespace dvx
