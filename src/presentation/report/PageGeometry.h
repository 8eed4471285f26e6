// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page arithmetic of the page engine: device resolution in pixels per cm,
// the page size chosen for the preview, and the pixel positions of margins
// and tabs. Everything here is plain numbers so that it can be checked
// without a display or a printer.

#include "presentation/report/ReportStyle.h"

#include <array>
#include <optional>
#include <string>

namespace dvx {

// Resolution of the device a report is written to.
struct TPixelsPerCm {
    double x = 32;   // exact, pixels per cm across
    double y = 32;   // exact, pixels per cm down
    int xr = 32;     // x rounded to an integer
    int yr = 32;     // y rounded to an integer
};

TPixelsPerCm MakePixelsPerCm(double x, double y);

// From a display's size in pixels and millimetres; nothing when the
// physical size is unknown (zero or negative).
std::optional<TPixelsPerCm> DisplayPixelsPerCm(int widthPx, int heightPx, double widthMm,
                                               double heightMm);

// The resolution used when the display cannot be read.
inline constexpr double kFallbackPixelsPerCm = 32;

struct TPageSizeCm {
    double width = 21;   // cm
    double height = 29.7; // cm
};

// A4 portrait, or turned on its side for a landscape report.
TPageSizeCm DefaultPage(bool landscape);

// What the printer reports about its printable page.
struct TPrinterFacts {
    std::string name;
    int pageWidthPx = 0;   // printer pixels
    int pageHeightPx = 0;  // printer pixels
    double dpiX = 0;       // printer dots per inch across
    double dpiY = 0;       // printer dots per inch down
};

// A printer length converted to whole centimetres.
int PrinterLengthInWholeCm(int pixels, double dpi);

// The printer page in whole cm, or nothing when the printer's page is below
// 20 % of the default page in either direction (or its numbers are unusable):
// such a printer is treated as no printer.
std::optional<TPageSizeCm> UsablePrinterPage(const TPrinterFacts& printer,
                                             const TPageSizeCm& defaultPage);

// Size of the preview's page images.
struct TPreviewPage {
    int widthPx = 0;
    int heightPx = 0;
    bool hasPrinter = false;
};

TPreviewPage PlanPreviewPage(const TPixelsPerCm& ppcm, const TPageSizeCm& defaultPage,
                             const std::optional<TPageSizeCm>& printerPage);

// Line height of the preview taken from the printer so that lines break on
// screen where they break on paper: the printer's height of "X" scaled from
// the printer's page height to the preview page height (pixels).
double PreviewLineHeightFromPrinter(double printerTextHeightPx, int previewPageHeightPx,
                                    int printerPageHeightPx);

// Pixel positions of the margins and tabs on a page.
struct TPixelLayout {
    int leftPx = 0;
    int rightPx = 0;
    int topPx = 0;
    int bottomPx = 0;
    int textLimit = 0;              // no line starts below this y
    std::array<int, kTabCount> tabPx{}; // X1 … X8 from the page's left edge
};

TPixelLayout ComputePixelLayout(const TMarginValues& margins, const TPixelsPerCm& ppcm,
                                int pageWidthPx, int pageHeightPx, double lineHeight);

// Page position (pixels) of every margin line in TMarginLine order: x for
// vertical lines, y for the top and bottom margins.
std::array<int, kMarginLineCount> MarginLinePositions(const TPixelLayout& layout);

constexpr bool IsHorizontalLine(int line) { return line == mlTop || line == mlBottom; }

// Range a dragged margin line may move in (page pixels).
struct TDragRange {
    int low = 0;
    int high = 0;
};

TDragRange MarginDragRange(int line, const std::array<int, kMarginLineCount>& positions,
                           const std::array<bool, kMarginLineCount>& active, int pageWidthPx,
                           int pageHeightPx);

// Keeps a dragged position inside its range: at or beyond the upper end it
// is put `inset` pixels inside it, below the lower end `inset` inside that.
int ClampDragPosition(int position, int low, int high, int inset = 5);

// The first active line (in index order) within `tolerance` pixels of the
// point, or -1. Positions are in the same (view) pixels as the point.
int HitMarginLine(int x, int y, const std::array<int, kMarginLineCount>& positions,
                  const std::array<bool, kMarginLineCount>& active, int tolerance = 5);

// The stored value of a margin line released at a page position (pixels):
// left, top and tabs measure from the page's left or top edge, right and
// bottom from the page's right or bottom edge. Result in cm.
double MarginValueCm(int line, int positionPx, int pageWidthPx, int pageHeightPx,
                     const TPixelsPerCm& ppcm);

} // namespace dvx
