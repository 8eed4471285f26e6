// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/GridReport.h"

#include "base/Format.h"
#include "base/platform/FileRead.h"
#include "base/platform/Folders.h"
#include "presentation/report/LetterheadFiles.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numeric>
#include <system_error>

namespace dvx {

namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

// The column widths of a set of edges.
std::vector<int> WidthsOf(const std::vector<int>& edges) {
    std::vector<int> w;
    for (std::size_t i = 1; i < edges.size(); ++i) w.push_back(edges[i] - edges[i - 1]);
    return w;
}

} // namespace

std::string FontReducedMessage(int points) {
    return "Font size in table reduced to " + Format("%d", {points}) + " to fit all columns";
}

const std::string& GridCell(const TReportGrid& grid, int column, int row) {
    static const std::string empty;
    if (column < 0 || row < 0 || static_cast<std::size_t>(column) >= grid.size()) return empty;
    const auto& cells = grid[static_cast<std::size_t>(column)];
    if (static_cast<std::size_t>(row) >= cells.size()) return empty;
    return cells[static_cast<std::size_t>(row)];
}

bool NarrowColumns(std::vector<int>& widths, int available) {
    auto total = [&] { return std::accumulate(widths.begin(), widths.end(), 0); };
    while (total() > available) {
        if (widths.empty()) return false;
        const int b = *std::max_element(widths.begin(), widths.end());
        const int a = *std::min_element(widths.begin(), widths.end());
        int c = 0;
        for (int w : widths)
            if (w < b) c = std::max(c, w);
        if (b == a || c == 0 || b == c) return false;
        const int d = std::max(1, Round((b - c) / 5.0));
        for (int& w : widths)
            if (w >= b) w -= d;
    }
    return true;
}

int SummaryBlockLines(const std::vector<std::string>& lines) {
    if (lines.empty()) return 0;
    int n = lines[0].empty() ? 0 : 2;
    n += static_cast<int>(lines.size()) - 1;
    if (lines.size() > 1) n += 1;
    return n;
}

// ---------------------------------------------------------------- set-up

void TGridReport::SetLetterhead(const std::string& letterheadFile, const std::string& logoFile,
                                bool logoOnLeft, const std::string& firstLineFont,
                                const std::string& laterLinesFont, double logoWidthCm,
                                double letterheadOffsetCm) {
    const std::string letterhead =
        FileExists(letterheadFile) ? letterheadFile : DataFolder() + "Letterhead.txt";
    std::optional<std::vector<std::string>> lines;
    if (FileExists(letterhead)) lines = ReadLetterheadLines(letterhead);
    setup_.letterheadLines = lines ? *lines : std::vector<std::string>{" "};
    setup_.logoFile = FileExists(logoFile) ? logoFile : DataFolder() + "ReportLogo.gif";
    setup_.logoOnLeft = logoOnLeft;
    setup_.firstLineFont = firstLineFont;
    setup_.laterLinesFont = laterLinesFont;
    setup_.logoWidthCm = logoWidthCm;
    setup_.letterheadOffsetCm = letterheadOffsetCm;
    logo_.reset();
    logoTried_ = false;
}

void TGridReport::SetImageLoader(TImageLoader loader) {
    loader_ = std::move(loader);
    logo_.reset();
    logoTried_ = false;
}

void TGridReport::Prepare(TPageEngine& engine) {
    UseStyle(&CircuitReportStyle());
    engine.SetReport(this);
    std::array<bool, kMarginLineCount> active{};
    active[mlLeft] = active[mlRight] = active[mlTop] = active[mlBottom] = true;
    engine.SetActiveLines(active);
    setup_.showSizeMessage = true;
}

std::string TGridReport::JobTitle() const {
    return setup_.titleLines.empty() ? std::string("Report") : setup_.titleLines.front();
}

bool TGridReport::HasTable(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < setup_.tables.size() &&
           static_cast<std::size_t>(index) < setup_.ranges.size() &&
           setup_.ranges[static_cast<std::size_t>(index)].lastColumn >=
               setup_.ranges[static_cast<std::size_t>(index)].firstColumn;
}

const TPageImage* TGridReport::Logo() {
    // Read once: the file in force when the letterhead was set.
    if (!logoTried_ || logoLoadedFrom_ != setup_.logoFile) {
        logoTried_ = true;
        logoLoadedFrom_ = setup_.logoFile;
        logo_.reset();
        if (loader_ && FileExists(setup_.logoFile)) {
            try {
                logo_ = loader_(setup_.logoFile);
            } catch (const std::exception&) {
                logo_.reset(); // a logo that cannot be read is left out
            }
        }
    }
    if (logo_ && (logo_->Width() <= 0 || logo_->Height() <= 0)) return nullptr;
    return logo_.get();
}

// ----------------------------------------------------------------- hooks

void TGridReport::PageHeader(TPageEngine& e, bool firstPage) {
    // The engine has set the report font's size, the pen at the top-left
    // margin, line 0 and the body origin.
    if (firstPage) {
        const int headerLine = e.LineCounter();
        if (!setup_.letterheadLines.empty()) {
            int x = e.LeftPx();
            if (setup_.logoOnLeft)
                x += Round((setup_.logoWidthCm + setup_.letterheadOffsetCm) * e.PixelsPerCm().x);
            e.LetterheadBlock(setup_.letterheadLines, x, setup_.firstLineFont,
                              setup_.laterLinesFont, 10, 8);
        }
        if (const TPageImage* logo = Logo()) {
            const int width = Round(setup_.logoWidthCm * e.PixelsPerCm().x);
            e.SetPenX(setup_.logoOnLeft ? e.LeftPx() : e.RightPx() - width);
            // Beside the letterhead, from the header's first line; the pen
            // ends below whichever of the two is longer.
            e.Picture(*logo, setup_.logoWidthCm, headerLine);
            e.SetPenX(e.LeftPx());
            e.LineFeed(1);
        }
        e.TextBlock(setup_.titleLines, 4, 2);
    }
    if (firstPage) setup_.onClosingPage = false;
    e.DateLine(Today());
    e.TextBlock(setup_.headingLines, 2, 2);
    if (!setup_.onClosingPage) TableStart(e, firstPage);
}

void TGridReport::TableStart(TPageEngine& e, bool firstPage) {
    if (firstPage) {
        setup_.currentTable = 0;
        setup_.columnEdges.clear();
    }
    if (!HasTable(setup_.currentTable)) return;
    const auto t = static_cast<std::size_t>(setup_.currentTable);
    if (t < setup_.tableTitles.size()) e.TextBlock({setup_.tableTitles[t]}, 2, 2);
    // The table is framed from the top of its header row (vertical lines
    // starting half-way down the captions look unfinished on paper).
    setup_.tableTop = e.PenY();
    TPageCanvas& c = e.Canvas();
    if (firstPage) {
        FitColumns(e);
        setup_.fittedSize = c.FontSize();
        if ((setup_.showSizeMessage || e.FontChanged()) && setup_.fittedSize != e.ReportFont().size)
            e.Message(TMessageKind::Information, FontReducedMessage(setup_.fittedSize));
        setup_.showSizeMessage = false;
        e.SetFontChanged(false);
    }
    c.SetFontSize(setup_.fittedSize);

    const TReportGrid& grid = setup_.tables[t];
    const TCellRange& range = setup_.ranges[t];
    const bool wasBold = c.Bold();
    c.SetBold(true);
    for (int col = range.firstColumn, i = 0; col <= range.lastColumn; ++col, ++i) {
        if (static_cast<std::size_t>(i + 1) >= setup_.columnEdges.size()) break;
        e.CellText(setup_.columnEdges[static_cast<std::size_t>(i)],
                   setup_.columnEdges[static_cast<std::size_t>(i) + 1],
                   " " + GridCell(grid, col, 0), 1, false);
    }
    c.SetBold(wasBold);
    e.LineFeed(1);
    // Rules above and below the captions.
    if (setup_.columnEdges.size() >= 2) {
        const int left = setup_.columnEdges.front(), right = setup_.columnEdges.back();
        c.Line(left, setup_.tableTop, right, setup_.tableTop);
        c.Line(left, e.PenY(), right, e.PenY());
    }
}

void TGridReport::FitColumns(TPageEngine& e) {
    setup_.columnEdges.clear();
    if (!HasTable(setup_.currentTable)) return;
    const auto t = static_cast<std::size_t>(setup_.currentTable);
    const TReportGrid& grid = setup_.tables[t];
    const TCellRange& range = setup_.ranges[t];
    TPageCanvas& c = e.Canvas();
    const bool bold = c.Bold();

    auto measure = [&] {
        std::vector<int> edges{e.LeftPx()};
        const int blanks = c.TextWidth("  ");
        for (int col = range.firstColumn; col <= range.lastColumn; ++col) {
            c.SetBold(true);
            int w = c.TextWidth(GridCell(grid, col, 0));
            c.SetBold(bold);
            for (int row = range.firstRow; row <= range.lastRow; ++row)
                w = std::max(w, c.TextWidth(GridCell(grid, col, row)));
            edges.push_back(edges.back() + w + blanks);
        }
        return edges;
    };

    std::vector<int> edges = measure();
    // A smaller font first, but not below 10 points.
    while (edges.back() > e.RightPx() && c.FontSize() > 10) {
        c.SetFontSize(c.FontSize() - 1);
        edges = measure();
    }
    // Then the widest columns give way; their cells are clipped.
    if (edges.back() > e.RightPx()) {
        std::vector<int> widths = WidthsOf(edges);
        NarrowColumns(widths, e.RightPx() - e.LeftPx());
        for (std::size_t i = 0; i < widths.size(); ++i) edges[i + 1] = edges[i] + widths[i];
    }
    setup_.columnEdges = std::move(edges);
}

int TGridReport::LinesAfterLastRow() const {
    const bool rule = !setup_.summaryLines.empty();
    // Closing rule, a blank line, the summary, the rule and the bottom line.
    return 1 + 1 + SummaryBlockLines(setup_.summaryLines) + (rule ? 1 : 0) + 1;
}

void TGridReport::TableRows(TPageEngine& e, bool lastTable) {
    if (!HasTable(setup_.currentTable)) return;
    const auto t = static_cast<std::size_t>(setup_.currentTable);
    const TReportGrid& grid = setup_.tables[t];
    const TCellRange& range = setup_.ranges[t];
    const std::vector<int>& edges = setup_.columnEdges;
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        // The document's last row goes to the page that has room for the
        // summary below it, so the summary never runs into the footer.
        const bool lastRow = lastTable && row == range.lastRow;
        e.RowSpace(lastRow ? 1 + LinesAfterLastRow() : 1);
        for (int col = range.firstColumn, i = 0; col <= range.lastColumn; ++col, ++i) {
            if (static_cast<std::size_t>(i + 1) >= edges.size()) break;
            e.CellText(edges[static_cast<std::size_t>(i)], edges[static_cast<std::size_t>(i) + 1],
                       " " + GridCell(grid, col, row), 1, false);
        }
        e.LineFeed(1);
    }
}

void TGridReport::ReportBody(TPageEngine& e) {
    setup_.finished = false;
    const int tables = static_cast<int>(setup_.tables.size());
    TableRows(e, tables <= 1);
    for (int i = 1; i < tables; ++i) {
        PageEnd(e);
        e.LineFeed(1);
        setup_.currentTable = i;
        TPageCanvas& c = e.Canvas();
        // Each table is fitted from the report font, not from the font the
        // table before it was reduced to.
        c.SetFontSize(e.ReportFont().size);
        FitColumns(e);
        setup_.fittedSize = c.FontSize();
        c.SetFontSize(e.ReportFont().size + 2);
        int needed = c.TextHeight("X");
        c.SetFontSize(setup_.fittedSize);
        const bool wasBold = c.Bold();
        c.SetBold(true);
        needed += c.TextHeight("X");
        c.SetBold(wasBold);
        if (e.PenY() + needed + 5 * e.LineHeight() > e.TextLimit())
            e.NewPage(false); // the table before was closed above
        else
            TableStart(e, false);
        TableRows(e, i == tables - 1);
    }
    setup_.finished = true;
    if (setup_.closingPage) {
        // The tables' last page ends with its frame and the summary (PageEnd
        // then turns to the closing page), and the closing page follows.
        e.NewPage(true);
        setup_.closingPage(e);
    } else if (e.PageCount() == 1) {
        PageEnd(e);
    }
}

void TGridReport::PageEnd(TPageEngine& e) {
    if (setup_.onClosingPage) return;
    if (setup_.columnEdges.size() >= 2) {
        const int bottom = e.PenY() + e.HalfLine();
        e.Rule(setup_.columnEdges.front(), setup_.columnEdges.back());
        for (int x : setup_.columnEdges) e.VerticalLine(x, setup_.tableTop, bottom);
    }
    if (setup_.finished) {
        e.LineFeed(1);
        e.TextBlock(setup_.summaryLines, 2, 2);
        e.BottomLine(!setup_.summaryLines.empty(), setup_.versionText);
        // Whatever page comes next is the closing page.
        if (setup_.closingPage) setup_.onClosingPage = true;
    }
}

TGridReport& GridReport() {
    static TGridReport report;
    return report;
}

} // namespace dvx
