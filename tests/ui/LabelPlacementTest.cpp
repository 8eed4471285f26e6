// SPDX-License-Identifier: GPL-3.0-or-later
// Labels of plotted points: beside their point, clear of curves, markers
// and other labels, inside the plot.

#include "presentation/ui/LabelPlacement.h"

#include <gtest/gtest.h>

using namespace dvx;

namespace {

const TPlotBox kArea{0, 0, 400, 300};

bool Meets(const TPlotBox& box, const std::vector<std::vector<TPlotPoint>>& lines, const std::vector<TPlotBox>& taken) {
    for (const auto& line : lines)
        for (std::size_t i = 1; i < line.size(); ++i)
            if (box.Crosses(line[i - 1], line[i])) return true;
    for (const TPlotBox& other : taken)
        if (box.Overlaps(other)) return true;
    return false;
}

} // namespace

TEST(LabelPlacement, SegmentsCrossingABox) {
    const TPlotBox box{10, 10, 20, 10}; // x 10…30, y 10…20
    struct Case {
        TPlotPoint a, b;
        bool crosses;
        const char* what;
    };
    const Case cases[] = {
        {{0, 15}, {40, 15}, true, "straight through"},
        {{0, 0}, {40, 30}, true, "diagonally through"},
        {{15, 12}, {20, 18}, true, "wholly inside"},
        {{0, 0}, {40, 0}, false, "above it"},
        {{0, 30}, {5, 0}, false, "beside it, slanting"},
        {{35, 0}, {35, 40}, false, "vertical, to its right"},
        {{0, 0}, {9, 9}, false, "stopping short of its corner"},
    };
    for (const Case& c : cases) EXPECT_EQ(box.Crosses(c.a, c.b), c.crosses) << c.what;
}

TEST(LabelPlacement, FirstFreePlaceAroundThePoint) {
    const TPlotPoint at{200, 150};
    // Nothing in the way: right and above.
    TPlotBox box = PlaceLabel(at, 60, 12, 5, {}, {}, kArea);
    EXPECT_DOUBLE_EQ(box.Left, 205);
    EXPECT_DOUBLE_EQ(box.Top, 133);
    // A curve falling through the place above right: right and below.
    const std::vector<std::vector<TPlotPoint>> falling = {{{180, 100}, {300, 160}}};
    box = PlaceLabel(at, 60, 12, 5, falling, {}, kArea);
    EXPECT_FALSE(Meets(box, falling, {}));
    EXPECT_DOUBLE_EQ(box.Left, 205);
    EXPECT_DOUBLE_EQ(box.Top, 155);
    // A label already right and below as well: left and above.
    const std::vector<TPlotBox> taken = {{205, 150, 80, 30}};
    box = PlaceLabel(at, 60, 12, 5, falling, taken, kArea);
    EXPECT_FALSE(Meets(box, falling, taken));
    EXPECT_DOUBLE_EQ(box.Right(), 195);
}

TEST(LabelPlacement, StaysInsideThePlot) {
    // A point at the right edge and the top: its label goes left and below.
    const TPlotBox box = PlaceLabel({395, 5}, 60, 12, 5, {}, {}, kArea);
    EXPECT_TRUE(kArea.Contains(box));
    EXPECT_LT(box.Left, 395);
    EXPECT_GT(box.Top, 5);
}

TEST(LabelPlacement, TwoCrossingCurvesAndTwoLabels) {
    // A pump curve falling and a system curve rising meet at the duty point;
    // the design point sits on the system curve below it. Neither label may
    // cover a curve, a marker or the other label.
    std::vector<TPlotPoint> pump, system;
    for (int i = 0; i <= 40; ++i) {
        const double x = 10 * i;
        pump.push_back({x, 40 + 0.0015 * x * x});
        system.push_back({x, 290 - 0.0016 * x * x});
    }
    const std::vector<std::vector<TPlotPoint>> lines = {pump, system};
    const TPlotPoint duty{300, 40 + 0.0015 * 300 * 300};
    const TPlotPoint design{250, 290 - 0.0016 * 250 * 250};
    std::vector<TPlotBox> taken = {MarkerBox(duty, 7), MarkerBox(design, 6)};
    const TPlotBox dutyLabel = PlaceLabel(duty, 110, 14, 9, lines, taken, kArea);
    EXPECT_FALSE(Meets(dutyLabel, lines, taken));
    taken.push_back(dutyLabel);
    const TPlotBox designLabel = PlaceLabel(design, 120, 14, 8, lines, taken, kArea);
    EXPECT_FALSE(Meets(designLabel, lines, taken));
    EXPECT_TRUE(kArea.Contains(dutyLabel) && kArea.Contains(designLabel));
}

TEST(LabelPlacement, CrowdedPlotTakesThePlaceMeetingLeast) {
    // Every place meets the wide box around the point; the label still
    // stays inside the plot.
    const std::vector<TPlotBox> taken = {{100, 50, 250, 200}};
    const TPlotBox box = PlaceLabel({200, 150}, 40, 10, 3, {}, taken, kArea);
    EXPECT_TRUE(kArea.Contains(box));
}

TEST(LabelPlacement, ALabelAwayFromItsPointIsJoinedToIt) {
    const TPlotBox box{100, 50, 60, 12};
    EXPECT_DOUBLE_EQ(NearestPoint(box, {90, 56}).X, 100);  // level with it: its left edge
    EXPECT_DOUBLE_EQ(NearestPoint(box, {130, 80}).Y, 62);  // below it: its bottom edge
    EXPECT_DOUBLE_EQ(NearestPoint(box, {130, 80}).X, 130);
    EXPECT_FALSE(NeedsLeader(box, {95, 65}, 5)); // beside it, as placed at the first gap
    EXPECT_TRUE(NeedsLeader(box, {60, 100}, 5));
}
