// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/LabelPlacement.h"

#include <algorithm>
#include <cmath>

namespace dvx {

bool TPlotBox::Overlaps(const TPlotBox& o) const {
    return Left < o.Right() && o.Left < Right() && Top < o.Bottom() && o.Top < Bottom();
}

bool TPlotBox::Contains(const TPlotBox& o) const {
    return o.Left >= Left && o.Right() <= Right() && o.Top >= Top && o.Bottom() <= Bottom();
}

bool TPlotBox::Crosses(TPlotPoint a, TPlotPoint b) const {
    // Liang–Barsky: clip the segment's parameter range to each edge.
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.X - Left, Right() - a.X, a.Y - Top, Bottom() - a.Y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false; // parallel to the edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

TPlotPoint NearestPoint(const TPlotBox& box, TPlotPoint anchor) {
    return {std::clamp(anchor.X, box.Left, box.Right()), std::clamp(anchor.Y, box.Top, box.Bottom())};
}

bool NeedsLeader(const TPlotBox& box, TPlotPoint anchor, double gap) {
    const TPlotPoint near = NearestPoint(box, anchor);
    return std::hypot(near.X - anchor.X, near.Y - anchor.Y) > 2.5 * gap;
}

TPlotBox MarkerBox(TPlotPoint at, double radius) { return {at.X - radius, at.Y - radius, 2 * radius, 2 * radius}; }

TPlotBox PlaceLabel(TPlotPoint anchor, double width, double height, double gap,
                    const std::vector<std::vector<TPlotPoint>>& lines, const std::vector<TPlotBox>& taken,
                    const TPlotBox& area) {
    const double x = anchor.X, y = anchor.Y;
    TPlotBox best{};
    int fewest = -1;
    // Nearest first: a label close to its point reads as its point's.
    for (double steps : {1, 2, 3, 4, 6, 8, 10, 13, 16, 20}) {
        const double distance = steps * gap;
        const TPlotBox places[] = {
            {x + distance, y - distance - height, width, height}, // right, above
            {x + distance, y + distance, width, height},          // right, below
            {x - distance - width, y - distance - height, width, height},
            {x - distance - width, y + distance, width, height},
            {x + distance, y - height / 2, width, height},         // right
            {x - distance - width, y - height / 2, width, height}, // left
            {x - width / 2, y - distance - height, width, height}, // above
            {x - width / 2, y + distance, width, height},          // below
        };
        for (const TPlotBox& box : places) {
            int meets = area.Contains(box) ? 0 : 4; // outside the plot is worse than a crossing
            for (const auto& line : lines)
                for (std::size_t i = 1; i < line.size(); ++i)
                    if (box.Crosses(line[i - 1], line[i])) {
                        ++meets;
                        break;
                    }
            for (const TPlotBox& other : taken)
                if (box.Overlaps(other)) ++meets;
            if (meets == 0) return box;
            if (fewest < 0 || meets < fewest) {
                fewest = meets;
                best = box;
            }
        }
    }
    return best;
}

} // namespace dvx
