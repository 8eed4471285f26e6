// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a plot puts the label of a marked point: beside the point, clear of
// the curves, the markers and the labels already placed, and inside the
// plot. Coordinates are the drawing's (pixels, y downwards), so the window
// and the printed page place their labels alike.

#include <vector>

namespace dvx {

struct TPlotPoint {
    double X = 0;
    double Y = 0;
};

struct TPlotBox {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;

    double Right() const { return Left + Width; }
    double Bottom() const { return Top + Height; }
    bool Overlaps(const TPlotBox& other) const;
    bool Contains(const TPlotBox& other) const;
    // Whether the segment from a to b passes through the box.
    bool Crosses(TPlotPoint a, TPlotPoint b) const;
};

// The box of a width × height label for the point at `anchor`: the first of
// the places around it (right and above first, then right and below, left
// above, left below, right, left, above, below; each at `gap`, then ever
// further out, up to twenty times it) that lies inside `area` and meets
// none of `lines` (each
// a polyline) and none of `taken`. Where every place meets something, the
// one meeting the fewest.
TPlotBox PlaceLabel(TPlotPoint anchor, double width, double height, double gap,
                    const std::vector<std::vector<TPlotPoint>>& lines, const std::vector<TPlotBox>& taken,
                    const TPlotBox& area);

// Where a leader from `anchor` meets the label's box: the box's nearest
// point. A label placed further than two gaps from its point is joined to it
// by such a line, so it cannot be read as another point's.
TPlotPoint NearestPoint(const TPlotBox& box, TPlotPoint anchor);
bool NeedsLeader(const TPlotBox& box, TPlotPoint anchor, double gap);

// The square box a marker of `radius` covers around a point.
TPlotBox MarkerBox(TPlotPoint at, double radius);

} // namespace dvx
