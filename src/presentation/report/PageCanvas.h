// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the page engine draws on: one page of the preview or the printer.
// Coordinates are device pixels of that page with (0, 0) at its top-left;
// text is placed by the top-left corner of its line box.

#include "presentation/report/ReportStyle.h"

#include <string>
#include <string_view>

namespace dvx {

// A picture a report places on the page (the report logo).
class TPageImage {
public:
    virtual ~TPageImage() = default;
    virtual int Width() const = 0;  // pixels
    virtual int Height() const = 0; // pixels
};

class TPageCanvas {
public:
    virtual ~TPageCanvas() = default;

    virtual const TReportFont& Font() const = 0;
    virtual void SetFont(const TReportFont& font) = 0;

    // Width and height (ascent + descent) of a text in the current font, pixels.
    virtual int TextWidth(std::string_view text) = 0;
    virtual int TextHeight(std::string_view text) = 0;

    virtual void TextOut(int x, int y, std::string_view text) = 0;
    // Text at (x, y) clipped to the box left … right, top … bottom.
    virtual void TextRect(int left, int top, int right, int bottom, int x, int y,
                          std::string_view text) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    virtual void Draw(const TPageImage& image, int x, int y, int width, int height) = 0;

    // Conveniences on the current font.
    int FontSize() const { return Font().size; }
    void SetFontSize(int points) {
        TReportFont f = Font();
        f.size = points;
        SetFont(f);
    }
    bool Bold() const { return (Font().style & fsBold) != 0; }
    void SetBold(bool bold) {
        TReportFont f = Font();
        f.style = bold ? (f.style | fsBold) : (f.style & ~fsBold);
        SetFont(f);
    }
    void SetFontName(const std::string& name) {
        TReportFont f = Font();
        f.name = name;
        SetFont(f);
    }
};

// Where the pages of a layout go: page images of the preview or sheets of
// the printer.
class TPageDevice {
public:
    virtual ~TPageDevice() = default;
    virtual TPageCanvas& Canvas() = 0;
    // Ends the current page and makes a fresh one the canvas.
    virtual void StartNewPage() = 0;
    // Pages begun so far; the current page is the last of them.
    virtual int PageCount() const = 0;
};

} // namespace dvx
