// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/PageGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace dvx {

namespace {

constexpr double kCmPerInch = 2.54;
// A printer page smaller than this share of the default page is not a page.
constexpr double kSmallestPageShare = 0.2;

int Round(double v) { return static_cast<int>(std::lround(v)); }

} // namespace

TPixelsPerCm MakePixelsPerCm(double x, double y) {
    return TPixelsPerCm{x, y, Round(x), Round(y)};
}

std::optional<TPixelsPerCm> DisplayPixelsPerCm(int widthPx, int heightPx, double widthMm,
                                               double heightMm) {
    if (widthPx <= 0 || heightPx <= 0 || !(widthMm > 0) || !(heightMm > 0)) return std::nullopt;
    return MakePixelsPerCm(widthPx / (widthMm / 10.0), heightPx / (heightMm / 10.0));
}

TPageSizeCm DefaultPage(bool landscape) {
    return landscape ? TPageSizeCm{29.7, 21} : TPageSizeCm{21, 29.7};
}

int PrinterLengthInWholeCm(int pixels, double dpi) {
    if (!(dpi > 0)) return 0;
    return Round(pixels / dpi * kCmPerInch);
}

std::optional<TPageSizeCm> UsablePrinterPage(const TPrinterFacts& printer,
                                             const TPageSizeCm& defaultPage) {
    double w = PrinterLengthInWholeCm(printer.pageWidthPx, printer.dpiX);
    double h = PrinterLengthInWholeCm(printer.pageHeightPx, printer.dpiY);
    if (w < kSmallestPageShare * defaultPage.width || h < kSmallestPageShare * defaultPage.height)
        return std::nullopt;
    return TPageSizeCm{w, h};
}

TPreviewPage PlanPreviewPage(const TPixelsPerCm& ppcm, const TPageSizeCm& defaultPage,
                             const std::optional<TPageSizeCm>& printerPage) {
    const TPageSizeCm& page = printerPage ? *printerPage : defaultPage;
    return TPreviewPage{Round(page.width * ppcm.x), Round(page.height * ppcm.y),
                        printerPage.has_value()};
}

double PreviewLineHeightFromPrinter(double printerTextHeightPx, int previewPageHeightPx,
                                    int printerPageHeightPx) {
    if (printerPageHeightPx <= 0) return printerTextHeightPx;
    return printerTextHeightPx * previewPageHeightPx / printerPageHeightPx;
}

TPixelLayout ComputePixelLayout(const TMarginValues& m, const TPixelsPerCm& ppcm,
                                int pageWidthPx, int pageHeightPx, double lineHeight) {
    TPixelLayout l;
    l.leftPx = Round(m[mlLeft] * ppcm.x);
    l.rightPx = Round(pageWidthPx - m[mlRight] * ppcm.x);
    l.topPx = Round(m[mlTop] * ppcm.y);
    l.bottomPx = Round(pageHeightPx - m[mlBottom] * ppcm.y);
    l.textLimit = Round(l.bottomPx - 2 * lineHeight);
    for (int i = 0; i < kTabCount; ++i) l.tabPx[i] = Round(ppcm.xr * m[mlX1 + i]);
    return l;
}

std::array<int, kMarginLineCount> MarginLinePositions(const TPixelLayout& l) {
    std::array<int, kMarginLineCount> p{};
    p[mlLeft] = l.leftPx;
    p[mlRight] = l.rightPx;
    p[mlTop] = l.topPx;
    p[mlBottom] = l.bottomPx;
    for (int i = 0; i < kTabCount; ++i) p[mlX1 + i] = l.tabPx[i];
    return p;
}

TDragRange MarginDragRange(int line, const std::array<int, kMarginLineCount>& pos,
                           const std::array<bool, kMarginLineCount>& active, int pageWidthPx,
                           int pageHeightPx) {
    switch (line) {
    case mlLeft:
        return {0, active[mlX2] ? pos[mlX2] : pos[mlRight]};
    case mlRight: {
        // From the largest active tab; with no active tab, from the left margin.
        int low = pos[mlLeft];
        bool anyTab = false;
        for (int i = mlX1; i <= mlX8; ++i) {
            if (!active[i]) continue;
            low = anyTab ? std::max(low, pos[i]) : pos[i];
            anyTab = true;
        }
        return {low, pageWidthPx};
    }
    case mlTop:
        return {0, pageHeightPx / 2};
    case mlBottom:
        return {pageHeightPx / 2, pageHeightPx};
    case mlX1:
        return {0, pos[mlRight]};
    default: {
        int high = (line < mlX8 && active[line + 1]) ? pos[line + 1] : pos[mlRight];
        return {pos[line - 1], high};
    }
    }
}

int ClampDragPosition(int position, int low, int high, int inset) {
    if (position >= high) return high - inset;
    if (position < low) return low + inset;
    return position;
}

int HitMarginLine(int x, int y, const std::array<int, kMarginLineCount>& pos,
                  const std::array<bool, kMarginLineCount>& active, int tolerance) {
    for (int i = 0; i < kMarginLineCount; ++i) {
        if (!active[i]) continue;
        int d = IsHorizontalLine(i) ? std::abs(y - pos[i]) : std::abs(x - pos[i]);
        if (d <= tolerance) return i;
    }
    return -1;
}

double MarginValueCm(int line, int positionPx, int pageWidthPx, int pageHeightPx,
                     const TPixelsPerCm& ppcm) {
    switch (line) {
    case mlRight:
        return (pageWidthPx - positionPx) / ppcm.x;
    case mlBottom:
        return (pageHeightPx - positionPx) / ppcm.y;
    case mlTop:
        return positionPx / ppcm.y;
    case mlLeft:
        return positionPx / ppcm.x;
    default:
        // Tabs are laid out with the rounded resolution; convert back with it.
        return ppcm.xr > 0 ? static_cast<double>(positionPx) / ppcm.xr : 0.0;
    }
}

} // namespace dvx
