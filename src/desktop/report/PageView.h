// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page shown in the report preview: one recorded page drawn at 100 %
// (its pixel size, at the left edge) or as a full page (scaled to the view's
// height and centred), with the dashed margin lines of margins mode that the
// user drags with the mouse.

#include "presentation/report/PageGeometry.h"

#include <QWidget>

#include <array>

namespace dvx {

class TPreviewPages;

class TPageView : public QWidget {
    Q_OBJECT
public:
    explicit TPageView(QWidget* parent = nullptr);

    void SetPages(const TPreviewPages* pages) { pages_ = pages; }
    void SetPage(int index);
    int Page() const { return page_; }
    // 0 = 100 %, 1 = full page; `viewport` is the size the full page fits.
    void SetZoom(int zoom, QSize viewport);
    int Zoom() const { return zoom_; }

    void SetMarginsMode(bool on);
    bool MarginsMode() const { return marginsMode_; }
    // Page positions (pixels) of the margin lines and which may be dragged.
    void SetMarginLines(const std::array<int, kMarginLineCount>& pagePositions,
                        const std::array<bool, kMarginLineCount>& active);

    // Page-to-view mapping of the current zoom.
    double Scale() const { return scale_; }
    QPoint PageOrigin() const { return origin_; }
    QPoint ViewPoint(QPoint pagePoint) const;
    // View position of a margin line.
    int LineViewPosition(int line) const;
    int Grabbed() const { return grabbed_; }

signals:
    // A dragged margin line was let go at `pagePosition` (page pixels).
    void MarginReleased(int line, int pagePosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateGeometry();
    std::array<int, kMarginLineCount> ViewPositions() const;

    const TPreviewPages* pages_ = nullptr;
    int page_ = 0;
    int zoom_ = 0;
    QSize viewport_;
    double scale_ = 1;
    QPoint origin_;
    bool marginsMode_ = false;
    std::array<int, kMarginLineCount> linePagePos_{};
    std::array<bool, kMarginLineCount> active_{};
    int grabbed_ = -1;
    int dragViewPos_ = 0;
};

} // namespace dvx
