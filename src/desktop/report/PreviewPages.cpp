// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report/PreviewPages.h"

#include <QPrinter>

#include <stdexcept>

namespace dvx {

TPreviewPages::~TPreviewPages() { Finish(); }

void TPreviewPages::Clear() {
    Finish();
    pages_.clear();
}

void TPreviewPages::Begin(int widthPx, int heightPx, double dpi, const TReportFont& font) {
    Clear();
    width_ = widthPx;
    height_ = heightPx;
    dpi_ = dpi;
    font_ = font;
    OpenPage();
}

void TPreviewPages::OpenPage() {
    auto page = std::make_unique<QPicture>();
    // The page's extent, also where nothing is drawn.
    page->setBoundingRect(QRect(0, 0, width_, height_));
    pages_.push_back(std::move(page));
    painter_.begin(pages_.back().get());
    canvas_.Begin(&painter_, pages_.back().get(), dpi_, font_);
}

void TPreviewPages::Finish() {
    if (painter_.isActive()) painter_.end();
    canvas_.End();
}

void TPreviewPages::StartNewPage() {
    // The new page continues in the font the canvas has now.
    font_ = canvas_.Font();
    Finish();
    OpenPage();
}

void TPreviewPages::Play(QPainter& painter, int index) const {
    painter.drawPicture(0, 0, *pages_.at(index));
}

QImage TPreviewPages::Render(int index) const {
    QImage image(width_, height_, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    QPainter p(&image);
    Play(p, index);
    return image;
}

TPrinterPages::TPrinterPages(QPrinter& printer, QPainter& painter, double dpi,
                             const TReportFont& font)
    : printer_(printer) {
    canvas_.Begin(&painter, &printer, dpi, font);
}

void TPrinterPages::StartNewPage() {
    if (!printer_.newPage()) throw std::runtime_error("the printer refused a new page");
    ++pages_;
}

} // namespace dvx
