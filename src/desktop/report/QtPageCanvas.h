// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page canvas on a QPainter: a preview page (recorded QPicture), a
// printer sheet or a PDF page. Fonts are sized in device pixels from the
// page's own resolution, so a recorded page replays identically on any
// device it is drawn on.

#include "presentation/report/PageCanvas.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPen>

#include <optional>

class QPainter;
class QPaintDevice;

namespace dvx {

// 0x00BBGGRR as stored in the settings, to and from a toolkit colour.
QColor ColorFromStored(int color);
int StoredFromColor(const QColor& color);

// A report font at `dpi` dots per inch (its size in points becomes a pixel size).
QFont MakePageFont(const TReportFont& font, double dpi);
// The report font described by a font the user picked (size in points).
TReportFont ReportFontFromQFont(const QFont& font, const TReportFont& keep);
QFont QFontFromReportFont(const TReportFont& font);

class TQtPageImage : public TPageImage {
public:
    explicit TQtPageImage(QImage image) : image_(std::move(image)) {}
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    const QImage& Image() const { return image_; }
    // The picture at the size it is drawn (pixels), scaled once and kept
    // for the next layout: a page records only what it shows, not a large
    // source picture.
    const QImage& ScaledTo(const QSize& size) const;

private:
    QImage image_;
    mutable QImage scaled_;
};

class TQtPageCanvas : public TPageCanvas {
public:
    // Draws with `painter` on `device` at `dpi` (dots per inch of the page).
    void Begin(QPainter* painter, QPaintDevice* device, double dpi, const TReportFont& font);
    void End();

    const TReportFont& Font() const override { return font_; }
    void SetFont(const TReportFont& font) override;
    int TextWidth(std::string_view text) override;
    int TextHeight(std::string_view text) override;
    void TextOut(int x, int y, std::string_view text) override;
    void TextRect(int left, int top, int right, int bottom, int x, int y,
                  std::string_view text) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void Draw(const TPageImage& image, int x, int y, int width, int height) override;

private:
    void UsePen(const QPen& pen);

    QPainter* painter_ = nullptr;
    QPaintDevice* device_ = nullptr;
    double dpi_ = 96;
    TReportFont font_;
    QFont qfont_;
    std::optional<QFontMetrics> metrics_;
    QPen linePen_;
    QPen textPen_;
    bool textPenActive_ = false;
};

} // namespace dvx
