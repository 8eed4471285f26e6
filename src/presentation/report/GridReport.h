// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid report: letterhead and logo, title, date, headings, then any
// number of grid tables, each fitted to the page width (by a smaller font
// and then by narrowing the widest columns), ruled, and continued over as
// many pages as needed, and finally the summary lines and the program's
// name and version. The circuit report is a grid report with one table.
//
// The routine writes through the page engine only; the toolkit supplies the
// logo decoder (SetImageLoader).

#include "presentation/report/PageEngine.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dvx {

// A table's cell texts by column, then row: grid[column][row]. Row 0 holds
// the column captions.
using TReportGrid = std::vector<std::vector<std::string>>;

// The cells of a grid a table prints (inclusive bounds).
struct TCellRange {
    int firstColumn = 0;
    int firstRow = 1;
    int lastColumn = 0;
    int lastRow = 0;
};

// The report set-up, filled by the program before each report; the layout
// state below it is kept by the routine while it writes.
struct TReportSetup {
    std::vector<TReportGrid> tables;
    std::vector<TCellRange> ranges;        // one per table
    std::vector<std::string> tableTitles;  // one per table, may be empty
    std::vector<std::string> titleLines;
    std::vector<std::string> headingLines;
    std::vector<std::string> summaryLines;
    std::vector<std::string> letterheadLines;
    std::string logoFile;
    bool logoOnLeft = false;
    double logoWidthCm = 4;           // cm
    double letterheadOffsetCm = 4;    // cm, gap between a left logo and the letterhead
    std::string firstLineFont;        // empty: the report font
    std::string laterLinesFont;       // empty: the report font
    std::string versionText;
    // A page drawn after the tables and the summary (the pump and system
    // curve); none when empty. It gets the page below its header's date
    // and headings, and no table frame or summary.
    std::function<void(TPageEngine&)> closingPage;

    // ---- layout state
    int currentTable = 0;
    int tableTop = 0;                 // y, pixels
    int fittedSize = 0;               // points
    std::vector<int> columnEdges;     // x, pixels; one more than the columns
    bool finished = false;            // the body has been written
    bool showSizeMessage = false;
    bool onClosingPage = false;       // the pen is on the closing page
};

// Decodes a picture file for the page; nothing when it cannot be read.
using TImageLoader = std::function<std::unique_ptr<TPageImage>(const std::string& path)>;

// The message shown when a table's font had to be made smaller.
std::string FontReducedMessage(int points);

// The cell of a grid, or "" when the grid has no such cell.
const std::string& GridCell(const TReportGrid& grid, int column, int row);

// Narrows the widest columns until the widths add up to at most
// `available` pixels: every column as wide as the widest loses a fifth of
// the difference to the next widest (at least one pixel), again and again.
// Stops when all columns are equally wide. True when the columns fit.
bool NarrowColumns(std::vector<int>& widths, int available);

// Lines a TextBlock(lines, step, 2) of summary lines advances the pen.
int SummaryBlockLines(const std::vector<std::string>& lines);

class TGridReport : public TReportRoutine {
public:
    TReportSetup& Setup() { return setup_; }
    const TReportSetup& Setup() const { return setup_; }

    // The letterhead text file and the logo, read once. A letterhead file
    // that does not exist is looked for as DataFolder + "Letterhead.txt";
    // when neither can be read the letterhead is one blank line. A logo
    // that does not exist becomes DataFolder + "ReportLogo.gif".
    void SetLetterhead(const std::string& letterheadFile, const std::string& logoFile,
                       bool logoOnLeft, const std::string& firstLineFont,
                       const std::string& laterLinesFont, double logoWidthCm,
                       double letterheadOffsetCm);
    void SetImageLoader(TImageLoader loader);

    // Installs the routine in the engine for the style "Report": only the
    // four page margins can be dragged, and a reduced table font is
    // announced once.
    void Prepare(TPageEngine& engine);

    // ---- hooks
    void PageHeader(TPageEngine& engine, bool firstPage) override;
    void ReportBody(TPageEngine& engine) override;
    void PageEnd(TPageEngine& engine) override;
    std::string JobTitle() const override;

    // ---- the steps of a table, for the hooks and for tests
    void TableStart(TPageEngine& engine, bool firstPage);
    // Column edges for the current table from the measured widths of its
    // captions (bold) and cells, with a smaller font down to 10 points and
    // then narrowed columns when the table is wider than the margins.
    void FitColumns(TPageEngine& engine);
    void TableRows(TPageEngine& engine, bool lastTable);

private:
    bool HasTable(int index) const;
    const TPageImage* Logo();
    // Lines the pen moves after the last row of the document until the end
    // of the bottom line: the closing rule, the summary and the bottom line.
    int LinesAfterLastRow() const;

    TReportSetup setup_;
    TImageLoader loader_;
    std::unique_ptr<TPageImage> logo_;
    std::string logoLoadedFrom_;
    bool logoTried_ = false;
};

// The program's one report set-up and routine.
TGridReport& GridReport();

} // namespace dvx
