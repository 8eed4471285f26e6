// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/PumpCurvePage.h"

#include "base/Format.h"
#include "engine/hydraulics/Circuit.h"
#include "presentation/ui/LabelPlacement.h"
#include "presentation/ui/PumpSelectionLines.h"

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

void Triangle(TPageCanvas& c, int x, int y, int r) {
    c.Line(x, y - r, x + r, y + r);
    c.Line(x + r, y + r, x - r, y + r);
    c.Line(x - r, y + r, x, y - r);
}

// A line drawn as short dashes of `dash` pixels with gaps as long.
void DottedLine(TPageCanvas& c, double x1, double y1, double x2, double y2, int dash) {
    const int parts = std::max(2, static_cast<int>(std::hypot(x2 - x1, y2 - y1) / std::max(1, dash)) & ~1);
    for (int part = 0; part < parts; part += 2)
        c.Line(static_cast<int>(std::lround(x1 + (x2 - x1) * part / parts)),
               static_cast<int>(std::lround(y1 + (y2 - y1) * part / parts)),
               static_cast<int>(std::lround(x1 + (x2 - x1) * (part + 1) / parts)),
               static_cast<int>(std::lround(y1 + (y2 - y1) * (part + 1) / parts)));
}

void DottedPolyline(TPageCanvas& c, const Frame& f, const std::vector<TChartPoint>& points, int dash) {
    for (std::size_t i = 1; i < points.size(); ++i)
        if (f.Inside(points[i - 1]) && f.Inside(points[i]))
            DottedLine(c, f.X(points[i - 1].X), f.Y(points[i - 1].Y), f.X(points[i].X), f.Y(points[i].Y), dash);
}

// The key's sentences for the pump selection's part of the plot.
std::string SelectionKey(const TPumpChart& chart) {
    std::string key;
    if (!chart.StandbyCurve.empty()) key += "  Long dashes: pump curve with one pump fewer (small diamond: its duty).";
    if (chart.Bep) key += "  Triangle: best efficiency point.";
    if (chart.PreferredRegion) key += "  Dotted uprights: 70 % and 120 % of its flow.";
    if (!chart.NpshAvailable.empty()) key += "  Dotted lines: NPSH available (NPSHa) and required (NPSHr).";
    return key;
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
    // Efficiency points get an axis of their own at the right, 0 to 100 %.
    const bool efficiency = !chart.Efficiency.empty();
    const std::string efficiencyTitle = "Efficiency (%)";
    const int efficiencyWidth = efficiency ? c.TextWidth("100") + lineHeight : 0;
    Frame f{};
    f.left = e.LeftPx() + labelWidth + lineHeight;
    f.right = e.RightPx() - lineHeight - efficiencyWidth;
    f.top = e.PenY() + 2 * lineHeight; // the head axis title above the frame
    // The plot takes two thirds of its width in height, less if the key and
    // the text lines below it would not fit on the page.
    const int below = (static_cast<int>(lines.size()) + 5) * lineHeight;
    f.bottom = std::min(f.top + (f.right - f.left) * 2 / 3, e.TextLimit() - below);
    f.bottom = std::max(f.bottom, f.top + 4 * lineHeight);
    f.maxX = chart.MaxX;
    f.maxY = chart.MaxY;

    c.TextOut(e.LeftPx(), e.PenY(), HeadAxisTitle());
    if (efficiency) c.TextOut(e.RightPx() - c.TextWidth(efficiencyTitle), e.PenY(), efficiencyTitle);
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
    // The efficiency: its axis at the right, its points joined by a dashed line.
    std::vector<TPlotPoint> efficiencyLine;
    if (efficiency) {
        Frame percent = f;
        percent.maxY = 100;
        c.Line(f.right, f.top, f.right, f.bottom);
        for (int v = 0; v <= 100; v += 20) {
            const int y = percent.Y(v);
            c.Line(f.right, y, f.right + tick, y);
            const std::string text = std::to_string(v);
            c.TextOut(f.right + tick + 2, y - c.TextHeight(text) / 2, text);
        }
        for (const TChartPoint& p : chart.Efficiency)
            if (percent.Inside(p)) efficiencyLine.push_back({double(percent.X(p.X)), double(percent.Y(p.Y))});
        const int r = std::max(2, lineHeight / 5);
        for (std::size_t i = 0; i < efficiencyLine.size(); ++i) {
            const int x = static_cast<int>(efficiencyLine[i].X), y = static_cast<int>(efficiencyLine[i].Y);
            c.Line(x - r, y, x + r, y); // a small plus at each point
            c.Line(x, y - r, x, y + r);
            if (i == 0) continue;
            // Dotted, unlike the dashed pump curve: every other of many short parts.
            const TPlotPoint a = efficiencyLine[i - 1], b = efficiencyLine[i];
            const int parts = std::max(2, static_cast<int>(std::hypot(b.X - a.X, b.Y - a.Y) / std::max(1, r)) & ~1);
            for (int part = 0; part < parts; part += 2)
                c.Line(static_cast<int>(a.X + (b.X - a.X) * part / parts), static_cast<int>(a.Y + (b.Y - a.Y) * part / parts),
                       static_cast<int>(a.X + (b.X - a.X) * (part + 1) / parts),
                       static_cast<int>(a.Y + (b.Y - a.Y) * (part + 1) / parts));
        }
    }
    c.TextOut((f.left + f.right - c.TextWidth(FlowAxisTitle())) / 2, f.bottom + tick + lineHeight, FlowAxisTitle());

    Polyline(c, f, chart.System, false);
    Polyline(c, f, chart.PumpCurve, true);
    const int r = std::max(2, lineHeight / 5);
    // The pump selection's part: the preferred region's edges, the curve with
    // one pump fewer, the NPSH curves.
    if (chart.PreferredRegion)
        for (double x : {chart.PreferredRegion->first, chart.PreferredRegion->second})
            if (x >= 0 && x <= chart.MaxX) DottedLine(c, f.X(x), f.bottom, f.X(x), f.top, r);
    for (std::size_t i = 1; i < chart.StandbyCurve.size(); ++i) {
        const TChartPoint& a = chart.StandbyCurve[i - 1];
        const TChartPoint& b = chart.StandbyCurve[i];
        if (f.Inside(a) && f.Inside(b)) DottedLine(c, f.X(a.X), f.Y(a.Y), f.X(b.X), f.Y(b.Y), 3 * r);
    }
    DottedPolyline(c, f, chart.NpshAvailable, r);
    DottedPolyline(c, f, chart.NpshRequired, r);
    for (const TChartPoint& p : chart.PumpPoints)
        if (f.Inside(p)) Square(c, f.X(p.X), f.Y(p.Y), r);
    // The labels go beside their points, clear of the curves, the markers
    // and each other, inside the frame.
    auto onPage = [&](const std::vector<TChartPoint>& points) {
        std::vector<TPlotPoint> page;
        for (const TChartPoint& p : points)
            if (f.Inside(p)) page.push_back({static_cast<double>(f.X(p.X)), static_cast<double>(f.Y(p.Y))});
        return page;
    };
    const std::vector<std::vector<TPlotPoint>> curves = {onPage(chart.System),       onPage(chart.PumpCurve),
                                                         efficiencyLine,               onPage(chart.StandbyCurve),
                                                         onPage(chart.NpshAvailable), onPage(chart.NpshRequired)};
    std::vector<TPlotBox> taken;
    for (const TPlotPoint& p : onPage(chart.PumpPoints)) taken.push_back(MarkerBox(p, r));
    const bool design = chart.Design && f.Inside(*chart.Design);
    const bool duty = chart.Duty && f.Inside(*chart.Duty);
    if (design) taken.push_back(MarkerBox(onPage({*chart.Design}).front(), r + 1));
    if (duty) taken.push_back(MarkerBox(onPage({*chart.Duty}).front(), r + 2));
    const bool standby = chart.StandbyDuty && f.Inside(*chart.StandbyDuty);
    const bool bep = chart.Bep && f.Inside(*chart.Bep);
    if (standby) taken.push_back(MarkerBox(onPage({*chart.StandbyDuty}).front(), r));
    if (bep) taken.push_back(MarkerBox(onPage({*chart.Bep}).front(), r + 1));
    const TPlotBox area{static_cast<double>(f.left), static_cast<double>(f.top), static_cast<double>(f.right - f.left),
                        static_cast<double>(f.bottom - f.top)};
    auto label = [&](const TChartPoint& point, const std::string& text, int radius) {
        const TPlotPoint at = onPage({point}).front();
        const double gap = radius + r;
        const TPlotBox box = PlaceLabel(at, c.TextWidth(text), c.TextHeight(text), gap, curves, taken, area);
        c.TextOut(static_cast<int>(std::lround(box.Left)), static_cast<int>(std::lround(box.Top)), text);
        if (NeedsLeader(box, at, gap)) {
            // From the marker's edge to the label, so the label is read as this point's.
            const TPlotPoint to = NearestPoint(box, at);
            const double length = std::hypot(to.X - at.X, to.Y - at.Y);
            const double from = (radius + 1) / length;
            c.Line(static_cast<int>(std::lround(at.X + (to.X - at.X) * from)),
                   static_cast<int>(std::lround(at.Y + (to.Y - at.Y) * from)), static_cast<int>(std::lround(to.X)),
                   static_cast<int>(std::lround(to.Y)));
        }
        taken.push_back(box);
    };
    if (duty) {
        Diamond(c, f.X(chart.Duty->X), f.Y(chart.Duty->Y), r + 2);
        label(*chart.Duty, chart.DutyLabel, r + 2);
    }
    if (design) {
        Cross(c, f.X(chart.Design->X), f.Y(chart.Design->Y), r + 1);
        label(*chart.Design, chart.DesignLabel, r + 1);
    }
    if (standby) {
        Diamond(c, f.X(chart.StandbyDuty->X), f.Y(chart.StandbyDuty->Y), r);
        label(*chart.StandbyDuty, chart.StandbyLabel, r);
    }
    if (bep) {
        Triangle(c, f.X(chart.Bep->X), f.Y(chart.Bep->Y), r + 1);
        label(*chart.Bep, chart.BepLabel, r + 1);
    }
    // The NPSH curves named at their last point.
    for (const auto& [curve, name] : {std::pair{&chart.NpshAvailable, "NPSHa"}, std::pair{&chart.NpshRequired, "NPSHr"}}) {
        const std::vector<TPlotPoint> page = onPage(*curve);
        if (page.empty()) continue;
        const TChartPoint& last = *std::find_if(curve->rbegin(), curve->rend(), [&](const TChartPoint& p) { return f.Inside(p); });
        label(last, name, 1);
    }

    // The pen below the plot: the key, then the lines.
    if (e.LineHeight() > 0)
        e.LineFeed(static_cast<int>(std::ceil((f.bottom + tick + 2 * lineHeight - e.PenY()) / e.LineHeight())));
    e.LineFeed(1);
    const int width = e.RightPx() - e.LeftPx();
    const std::string key = std::string(kPumpPageKey) +
                            (efficiency ? "  Dotted line with pluses: efficiency (right axis)." : "") + SelectionKey(chart);
    for (const std::string& line : WrapText(c, key, width)) {
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

std::function<void(TPageEngine&)> PumpCurvePageFor(const TProjectContext& project, const TCircuit& circuit,
                                                   bool groupsActive) {
    if (circuit.Pump.IsDefault()) return {};
    const TPumpAnalysis analysis = AnalysePump(project, circuit, groupsActive, circuit.Pump);
    TPumpChart chart = ChartOf(analysis, circuit.Pump);
    std::vector<std::string> lines = SummaryLines(analysis);
    // A project that uses no pump selection prints the page it always has;
    // one that does gets the selection's curves and figures too.
    if (circuit.Pump.Selection.IsDefault()) {
        DropSelectionPart(chart);
    } else {
        const std::vector<std::string> figures = SelectionLines(analysis, circuit.Pump);
        // After the duty line, before the messages.
        const std::size_t messages = analysis.Messages.size();
        lines.insert(lines.end() - static_cast<std::ptrdiff_t>(messages), figures.begin(), figures.end());
    }
    return [chart = std::move(chart), lines = std::move(lines)](TPageEngine& e) {
        DrawPumpCurvePage(e, chart, lines);
    };
}

} // namespace dvx
