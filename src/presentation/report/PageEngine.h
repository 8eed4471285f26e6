// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page-output engine. A report routine (TReportRoutine) writes its
// document through the operations below; the engine keeps the pen, counts
// lines from the page's body origin, decides page breaks and numbers the
// pages. It draws on a TPageCanvas supplied by a TPageDevice, so the same
// routine fills the preview's pages or the printer's sheets.
//
// Vertical positions are whole multiples of the line height counted from
// the body origin (normally the top margin); horizontal positions are pixels
// derived from the margins and tabs in cm.

#include "presentation/report/PageCanvas.h"
#include "presentation/report/PageGeometry.h"
#include "presentation/report/ReportRoutine.h"
#include "presentation/report/ReportStyle.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

enum class TMessageKind { Information, Warning, Error, Plain };
using TMessageSink = std::function<void(TMessageKind, const std::string&)>;
using TDateFormatter = std::function<std::string(const std::chrono::year_month_day&)>;

// The device facts a layout starts from.
struct TDeviceSetup {
    TPixelsPerCm ppcm;
    int pageWidthPx = 0;
    int pageHeightPx = 0;
    double lineHeight = 0; // pixels, may be fractional
};

// The program's name as the last line of a report shows it.
inline constexpr std::string_view kApplicationTitle = "Darvenix";

// "10 December 2026": the long date used when the toolkit gives none.
std::string PlainLongDate(const std::chrono::year_month_day& date);
std::chrono::year_month_day Today();

class TPageEngine {
public:
    TPageEngine();

    // ---- values in force (copied from and to a style by the routine's
    //      LoadStyle / SaveStyle hooks)
    const TMarginValues& Margins() const { return margins_; }
    void SetMargins(const TMarginValues& m) { margins_ = m; }
    void SetMargin(int line, double cm) { margins_.at(line) = cm; }
    const TMarginValues& DefaultMargins() const { return defaults_; }
    void SetDefaultMargins(const TMarginValues& m) { defaults_ = m; }
    void ResetMargins() { margins_ = defaults_; }
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom) { zoom_ = zoom == 1 ? 1 : 0; }
    const TReportFont& ReportFont() const { return reportFont_; }
    void SetReportFont(const TReportFont& font) { reportFont_ = font; }
    // Set when the user picks a font in the preview; the circuit report reads
    // and clears it.
    bool FontChanged() const { return fontChanged_; }
    void SetFontChanged(bool changed) { fontChanged_ = changed; }

    // Which margin lines the user may drag (TMarginLine order), set by the report.
    const std::array<bool, kMarginLineCount>& ActiveLines() const { return activeLines_; }
    void SetActiveLines(const std::array<bool, kMarginLineCount>& a) { activeLines_ = a; }

    bool Printing() const { return printing_; }
    void SetPrinting(bool printing) { printing_ = printing; }

    void SetReport(TReportRoutine* report) { report_ = report; }
    TReportRoutine* Report() const { return report_; }

    // ---- a layout
    // Lays the whole document out on `device`: pixel layout from the margins,
    // first page header, body, and the last page's footer when there are two
    // or more pages. Exceptions from the routine pass through; the pages
    // written so far stay on the device.
    void WriteDocument(TPageDevice& device, const TDeviceSetup& setup);

    const TDeviceSetup& Setup() const { return setup_; }
    const TPixelLayout& Layout() const { return layout_; }
    // Recomputes the pixel layout from the margins and the set-up.
    void ComputeLayout();
    // Takes a device's facts (e.g. the preview's again after printing) and
    // recomputes the pixel layout.
    void UseSetup(const TDeviceSetup& setup) {
        setup_ = setup;
        ComputeLayout();
    }
    const TPixelsPerCm& PixelsPerCm() const { return setup_.ppcm; }
    double LineHeight() const { return setup_.lineHeight; }
    int HalfLine() const;
    int LeftPx() const { return layout_.leftPx; }
    int RightPx() const { return layout_.rightPx; }
    int TopPx() const { return layout_.topPx; }
    int BottomPx() const { return layout_.bottomPx; }
    int TextLimit() const { return layout_.textLimit; }
    int TabPx(int i) const { return layout_.tabPx.at(i - 1); } // i = 1 … 8

    // Canvas and page count of the layout in progress (only inside WriteDocument).
    TPageCanvas& Canvas();
    int PageCount() const;

    // ---- the pen
    int PenX() const { return penX_; }
    int PenY() const { return penY_; }
    void SetPenX(int x) { penX_ = x; }
    int LineCounter() const { return lineCounter_; }
    int BodyOrigin() const { return bodyOrigin_; }
    // Puts the pen at the top-left margin with the report font's size, line
    // counter 0 and the body origin at the top margin: how every page header
    // starts.
    void StartPageHeader();

    // ---- page operations
    void LineFeed(int n);
    void EnsureSpace(int n);
    // Room for the next row of a table, n lines: EnsureSpace, and the page
    // the row lands on is recorded. While the pages of an earlier layout are
    // followed, each row goes to the page it had there instead, so that the
    // printer and PDF pages hold the same rows as the preview's whatever
    // their fonts measure.
    void RowSpace(int n);
    // Page (1-based) of each row of the last layout, in the order written.
    const std::vector<int>& RowPages() const { return rowPages_; }
    // The row pages to follow in the next layouts; empty: break by space.
    void FollowRowPages(std::vector<int> pages) { followPages_ = std::move(pages); }
    // Footer, a fresh page, its header. `withPageEnd` false leaves out the
    // routine's PageEnd (used when the page was already finished).
    void NewPage(bool withPageEnd = true);
    void PageFooter(bool withPageEnd = true);
    void TextBlock(const std::vector<std::string>& lines, int sizeStep, int advance);
    void LetterheadBlock(const std::vector<std::string>& lines, int x,
                         const std::string& firstLineFont, const std::string& laterLinesFont,
                         int firstLineSize, int laterLinesSize);
    void DateLine(const std::chrono::year_month_day& date);
    void Rule(int x1, int x2);
    void VerticalLine(int x, int y1, int y2);
    // align 0 = right-aligned at x2, 1 = left-aligned at x1.
    void CellText(int x1, int x2, std::string_view text, int align, bool markOverflow);
    void BottomLine(bool withRule, std::string_view version);
    // The image `widthCm` wide (height by its aspect ratio) with its top-left
    // at the pen's x and at line `fromLine` of the page body. The pen ends
    // below the image (whole lines, rounded up) unless it is already lower,
    // as when a letterhead beside the image used more lines.
    void Picture(const TPageImage& image, double widthCm, int fromLine);

    // ---- services the toolkit supplies
    void SetMessageSink(TMessageSink sink) { message_ = std::move(sink); }
    void Message(TMessageKind kind, const std::string& text) const;
    void SetDateFormatter(TDateFormatter f) { dateFormatter_ = std::move(f); }
    std::string LongDate(const std::chrono::year_month_day& date) const;
    // What the standard PrintReport hook calls: prints every copy.
    void SetPrintHandler(std::function<void(const std::string& jobTitle)> h) {
        printHandler_ = std::move(h);
    }
    void PrintDocument(const std::string& jobTitle);

private:
    void CallPageHeader(bool firstPage);
    void MoveToLine();

    TMarginValues margins_;
    TMarginValues defaults_;
    int zoom_ = 0;
    TReportFont reportFont_;
    bool fontChanged_ = false;
    std::array<bool, kMarginLineCount> activeLines_{};
    bool printing_ = false;
    TReportRoutine* report_ = nullptr;

    TPageDevice* device_ = nullptr;
    TDeviceSetup setup_;
    TPixelLayout layout_;

    int penX_ = 0;
    int penY_ = 0;
    int lineCounter_ = 0;
    int bodyOrigin_ = 0;

    // Where the last continuation page's header ended: a line that does not
    // fit below it would not fit on any fresh page either.
    bool headerGuard_ = false;
    int headerEndY_ = 0;
    int headerEndPage_ = 0;

    std::vector<int> rowPages_;
    std::vector<int> followPages_;

    TMessageSink message_;
    TDateFormatter dateFormatter_;
    std::function<void(const std::string&)> printHandler_;
};

} // namespace dvx
