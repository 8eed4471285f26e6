// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report/QtPageCanvas.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace dvx {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QColor ColorFromStored(int color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int StoredFromColor(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

QFont QFontFromReportFont(const TReportFont& f) {
    QFont q = QApplication::font();
    if (!f.name.empty()) q.setFamily(QString::fromStdString(f.name));
    q.setBold(f.style & fsBold);
    q.setItalic(f.style & fsItalic);
    q.setUnderline(f.style & fsUnderline);
    q.setStrikeOut(f.style & fsStrikeOut);
    q.setPointSize(std::max(1, f.size));
    return q;
}

QFont MakePageFont(const TReportFont& f, double dpi) {
    QFont q = QFontFromReportFont(f);
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(f.size * dpi / 72.0))));
    // Positions are whole pixels as on the page; glyph outlines are not
    // nudged to the pixel grid of whatever device replays the page.
    q.setHintingPreference(QFont::PreferNoHinting);
    return q;
}

TReportFont ReportFontFromQFont(const QFont& q, const TReportFont& keep) {
    TReportFont f = keep;
    f.name = q.family().toStdString();
    f.style = (q.bold() ? fsBold : 0) | (q.italic() ? fsItalic : 0) |
              (q.underline() ? fsUnderline : 0) | (q.strikeOut() ? fsStrikeOut : 0);
    int points = q.pointSize() > 0 ? q.pointSize()
                                   : static_cast<int>(std::lround(q.pointSizeF()));
    if (points > 0) f.size = points;
    return f;
}

void TQtPageCanvas::Begin(QPainter* painter, QPaintDevice* device, double dpi,
                          const TReportFont& font) {
    painter_ = painter;
    device_ = device;
    dpi_ = dpi > 0 ? dpi : 96;
    // One display pixel's worth of line on any device (a hairline on a
    // 1200-dpi sheet would all but vanish).
    int width = std::max(1, static_cast<int>(std::lround(dpi_ / 96.0)));
    linePen_ = QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter_->setPen(linePen_);
    textPenActive_ = false;
    // A fresh painter knows nothing of the font in use: set it whatever it was.
    metrics_.reset();
    SetFont(font);
}

void TQtPageCanvas::End() {
    painter_ = nullptr;
    device_ = nullptr;
}

void TQtPageCanvas::SetFont(const TReportFont& font) {
    if (metrics_ && font == font_) return;
    font_ = font;
    qfont_ = MakePageFont(font, dpi_);
    textPen_ = QPen(ColorFromStored(font.color));
    if (painter_) painter_->setFont(qfont_);
    if (device_)
        metrics_.emplace(qfont_, device_);
    else
        metrics_.emplace(qfont_);
}

int TQtPageCanvas::TextWidth(std::string_view text) { return metrics_->horizontalAdvance(Text(text)); }

int TQtPageCanvas::TextHeight(std::string_view) { return metrics_->height(); }

void TQtPageCanvas::UsePen(const QPen& pen) {
    bool text = &pen == &textPen_;
    if (text == textPenActive_) return;
    painter_->setPen(pen);
    textPenActive_ = text;
}

void TQtPageCanvas::TextOut(int x, int y, std::string_view text) {
    UsePen(textPen_);
    painter_->drawText(x, y + metrics_->ascent(), Text(text));
}

void TQtPageCanvas::TextRect(int left, int top, int right, int bottom, int x, int y,
                             std::string_view text) {
    if (right <= left || bottom <= top) return;
    UsePen(textPen_);
    painter_->save();
    painter_->setClipRect(QRect(left, top, right - left, bottom - top));
    painter_->drawText(x, y + metrics_->ascent(), Text(text));
    painter_->restore();
}

void TQtPageCanvas::Line(int x1, int y1, int x2, int y2) {
    UsePen(linePen_);
    painter_->drawLine(x1, y1, x2, y2);
}

void TQtPageCanvas::Draw(const TPageImage& image, int x, int y, int width, int height) {
    const auto* qimage = dynamic_cast<const TQtPageImage*>(&image);
    if (qimage == nullptr || qimage->Image().isNull()) return;
    painter_->drawImage(QRect(x, y, width, height), qimage->ScaledTo(QSize(width, height)));
}

const QImage& TQtPageImage::ScaledTo(const QSize& size) const {
    if (size.isEmpty() || size == image_.size()) return image_;
    if (scaled_.size() != size)
        scaled_ = image_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled_;
}

} // namespace dvx
