// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Page devices of the engine on the toolkit.
//
// TPreviewPages keeps the preview's pages as recorded drawings (QPicture):
// a page costs the size of its drawing commands, not of a bitmap, so long
// reports stay small; a page is rasterised only when shown or exported.
// TPrinterPages writes straight onto a printer (or a PDF printer).

#include "presentation/report/PageCanvas.h"
#include "desktop/report/QtPageCanvas.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <memory>
#include <vector>

class QPrinter;

namespace dvx {

class TPreviewPages : public TPageDevice {
public:
    TPreviewPages() = default;
    TPreviewPages(const TPreviewPages&) = delete;
    TPreviewPages& operator=(const TPreviewPages&) = delete;
    ~TPreviewPages() override;

    // Frees every page and starts one empty page of the given size (pixels)
    // written with `font` at `dpi` dots per inch.
    void Begin(int widthPx, int heightPx, double dpi, const TReportFont& font);
    // Closes the page being written.
    void Finish();
    // Frees all pages.
    void Clear();

    TPageCanvas& Canvas() override { return canvas_; }
    void StartNewPage() override;
    int PageCount() const override { return static_cast<int>(pages_.size()); }

    int Width() const { return width_; }
    int Height() const { return height_; }
    const QPicture& Page(int index) const { return *pages_.at(index); }

    // Replays page `index` with `painter` (whose transform places and scales it).
    void Play(QPainter& painter, int index) const;
    // Page `index` as an image of the page's pixel size on white.
    QImage Render(int index) const;

private:
    void OpenPage();

    std::vector<std::unique_ptr<QPicture>> pages_;
    QPainter painter_;
    TQtPageCanvas canvas_;
    int width_ = 0;
    int height_ = 0;
    double dpi_ = 96;
    TReportFont font_;
};

class TPrinterPages : public TPageDevice {
public:
    // `painter` is already active on `printer`.
    TPrinterPages(QPrinter& printer, QPainter& painter, double dpi, const TReportFont& font);

    TPageCanvas& Canvas() override { return canvas_; }
    void StartNewPage() override;
    int PageCount() const override { return pages_; }

private:
    QPrinter& printer_;
    TQtPageCanvas canvas_;
    int pages_ = 1;
};

} // namespace dvx
