// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/PumpCurvePage.h"

#include "base/Format.h"
#include "engine/hydraulics/Circuit.h"

#include <algorithm>
#include <cmath>

namespace dvx {

namespace {

// Maps chart values (l/s, m) to page pixels inside the plot frame.
struct Frame {
    int left, top, right, bottom;
    double maxX, maxY;

    int X(double v) const { return left + static_cast<int>(std::lround((right - left) * v / maxX)); }
    int Y(double v) const { return bottom - static_cast<int>(std::lround((bottom - top) * v / maxY)); }
    bool Inside(const TChartPoint& p) const { return p.X >= 0 && p.X <= maxX && p.Y >= 0 && p.Y <= maxY; }
};

std::string AxisNumber(double v) { return Format("%0.4g", {v}); }

void Polyline(TPageCanvas& c, const Frame& f, const std::vector<TChartPoint>& points, bool dashed) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        // Every other segment of the finely sampled curve makes the dashes.
        if (dashed && i % 2 == 0) continue;
        const TChartPoint& a = points[i - 1];
        const TChartPoint& b = points[i];
        if (!f.Inside(a) || !f.Inside(b)) continue;
        c.Line(f.X(a.X), f.Y(a.Y), f.X(b.X), f.Y(b.Y));
    }
}

void Square(TPageCanvas& c, int x, int y, int r) {
    c.Line(x - r, y - r, x + r, y - r);
    c.Line(x + r, y - r, x + r, y + r);
    c.Line(x + r, y + r, x - r, y + r);
    c.Line(x - r, y + r, x - r, y - r);
}

void Cross(TPageCanvas& c, int x, int y, int r) {
    c.Line(x - r, y - r, x + r, y + r);
    c.Line(x - r, y + r, x + r, y - r);
}

void Diamond(TPageCanvas& c, int x, int y, int r) {
    c.Line(x, y - r, x + r, y);
    c.Line(x + r, y, x, y + r);
    c.Line(x, y + r, x - r, y);
    c.Line(x - r, y, x, y - r);
}

} // namespace

void DrawPumpCurvePage(TPageEngine& e, const TPumpChart& chart, const std::vector<std::string>& lines) {
    TPageCanvas& c = e.Canvas();
    e.TextBlock({kPumpPageTitle}, 2, 2);

    const int lineHeight = static_cast<int>(std::lround(e.LineHeight()));
    const double stepY = TickStep(chart.MaxY);
    const double stepX = TickStep(chart.MaxX);
    // Room at the left for the longest head number and the axis title.
    int labelWidth = 0;
    for (double v = 0; v <= chart.MaxY * (1 + 1e-9); v += stepY)
        labelWidth = std::max(labelWidth, c.TextWidth(AxisNumber(v)));
    Frame f{};
    f.left = e.LeftPx() + labelWidth + lineHeight;
    f.right = e.RightPx() - lineHeight;
    f.top = e.PenY() + 2 * lineHeight; // the head axis title above the frame
    // The plot takes two thirds of its width in height, less if the key and
    // the text lines below it would not fit on the page.
    const int below = (static_cast<int>(lines.size()) + 5) * lineHeight;
    f.bottom = std::min(f.top + (f.right - f.left) * 2 / 3, e.TextLimit() - below);
    f.bottom = std::max(f.bottom, f.top + 4 * lineHeight);
    f.maxX = chart.MaxX;
    f.maxY = chart.MaxY;

    c.TextOut(e.LeftPx(), e.PenY(), HeadAxisTitle());
    // Grid: short ticks outside the frame with their numbers.
    const int tick = std::max(2, lineHeight / 4);
    for (double v = 0; v <= chart.MaxX * (1 + 1e-9); v += stepX) {
        const int x = f.X(v);
        c.Line(x, f.bottom, x, f.bottom + tick);
        const std::string text = AxisNumber(v);
        c.TextOut(x - c.TextWidth(text) / 2, f.bottom + tick, text);
    }
    for (double v = 0; v <= chart.MaxY * (1 + 1e-9); v += stepY) {
        const int y = f.Y(v);
        c.Line(f.left - tick, y, f.left, y);
        const std::string text = AxisNumber(v);
        c.TextOut(f.left - tick - c.TextWidth(text) - 2, y - c.TextHeight(text) / 2, text);
    }
    c.Line(f.left, f.top, f.left, f.bottom);
    c.Line(f.left, f.bottom, f.right, f.bottom);
    c.TextOut((f.left + f.right - c.TextWidth(FlowAxisTitle())) / 2, f.bottom + tick + lineHeight, FlowAxisTitle());

    Polyline(c, f, chart.System, false);
    Polyline(c, f, chart.PumpCurve, true);
    const int r = std::max(2, lineHeight / 5);
    for (const TChartPoint& p : chart.PumpPoints)
        if (f.Inside(p)) Square(c, f.X(p.X), f.Y(p.Y), r);
    if (chart.Design && f.Inside(*chart.Design)) {
        const int x = f.X(chart.Design->X), y = f.Y(chart.Design->Y);
        Cross(c, x, y, r + 1);
        // Below and to the right, clear of the rising curve.
        c.TextOut(x + 2 * r, y + r, chart.DesignLabel);
    }
    if (chart.Duty && f.Inside(*chart.Duty)) {
        const int x = f.X(chart.Duty->X), y = f.Y(chart.Duty->Y);
        Diamond(c, x, y, r + 2);
        const int width = c.TextWidth(chart.DutyLabel);
        // To the left at the point's height: between the pump curve rising
        // to the left and the system curve falling away below it. Kept
        // inside the frame.
        c.TextOut(std::max(f.left + r, x - 3 * r - width), y - c.TextHeight(chart.DutyLabel) / 2, chart.DutyLabel);
    }

    // The pen below the plot: the key, then the lines.
    if (e.LineHeight() > 0)
        e.LineFeed(static_cast<int>(std::ceil((f.bottom + tick + 2 * lineHeight - e.PenY()) / e.LineHeight())));
    e.LineFeed(1);
    const int width = e.RightPx() - e.LeftPx();
    for (const std::string& line : WrapText(c, kPumpPageKey, width)) {
        c.TextOut(e.LeftPx(), e.PenY(), line);
        e.LineFeed(1);
    }
    e.LineFeed(1);
    for (const std::string& text : lines)
        for (const std::string& line : WrapText(c, text, width)) {
            c.TextOut(e.LeftPx(), e.PenY(), line);
            e.LineFeed(1);
        }
}

std::vector<std::string> WrapText(TPageCanvas& c, const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start < text.size()) {
        // The next word with the blanks before it.
        std::size_t end = text.find(' ', text.find_first_not_of(' ', start));
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && c.TextWidth(line + word) > width) {
            lines.push_back(line);
            line = word.substr(std::min(word.find_first_not_of(' '), word.size()));
        } else {
            line += word;
        }
        start = end;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

std::function<void(TPageEngine&)> PumpCurvePageFor(const TCircuit& circuit, bool groupsActive) {
    if (circuit.Pump.IsDefault()) return {};
    const TPumpAnalysis analysis = AnalysePump(circuit, groupsActive, circuit.Pump);
    TPumpChart chart = ChartOf(analysis, circuit.Pump);
    std::vector<std::string> lines = SummaryLines(analysis);
    return [chart = std::move(chart), lines = std::move(lines)](TPageEngine& e) {
        DrawPumpCurvePage(e, chart, lines);
    };
}

} // namespace dvx
