// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report/PageView.h"

#include "desktop/report/PreviewPages.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace dvx {

namespace {

constexpr int kGrabTolerance = 5; // view pixels
const QColor kBackground(128, 128, 128);

int Round(double v) { return static_cast<int>(std::lround(v)); }

} // namespace

TPageView::TPageView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void TPageView::SetPage(int index) {
    page_ = index;
    UpdateGeometry();
    update();
}

void TPageView::SetZoom(int zoom, QSize viewport) {
    zoom_ = zoom == 1 ? 1 : 0;
    viewport_ = viewport;
    UpdateGeometry();
    update();
}

void TPageView::UpdateGeometry() {
    int w = pages_ ? pages_->Width() : 0;
    int h = pages_ ? pages_->Height() : 0;
    if (zoom_ == 0 || w <= 0 || h <= 0) {
        scale_ = 1;
        origin_ = QPoint(0, 0);
        QSize size(std::max(w, 1), std::max(h, 1));
        setFixedSize(size);
        return;
    }
    QSize vp = viewport_.isValid() ? viewport_ : QSize(w, h);
    scale_ = static_cast<double>(vp.height()) / h;
    int shownWidth = Round(w * scale_);
    origin_ = QPoint(std::max(0, (vp.width() - shownWidth) / 2), 0);
    setFixedSize(std::max(vp.width(), shownWidth), vp.height());
}

void TPageView::SetMarginsMode(bool on) {
    marginsMode_ = on;
    grabbed_ = -1;
    if (!on) unsetCursor();
    update();
}

void TPageView::SetMarginLines(const std::array<int, kMarginLineCount>& pagePositions,
                               const std::array<bool, kMarginLineCount>& active) {
    linePagePos_ = pagePositions;
    active_ = active;
    update();
}

QPoint TPageView::ViewPoint(QPoint p) const {
    return QPoint(origin_.x() + Round(p.x() * scale_), origin_.y() + Round(p.y() * scale_));
}

int TPageView::LineViewPosition(int line) const {
    if (line == grabbed_) return dragViewPos_;
    return IsHorizontalLine(line) ? origin_.y() + Round(linePagePos_[line] * scale_)
                                  : origin_.x() + Round(linePagePos_[line] * scale_);
}

std::array<int, kMarginLineCount> TPageView::ViewPositions() const {
    std::array<int, kMarginLineCount> p{};
    for (int i = 0; i < kMarginLineCount; ++i) p[i] = LineViewPosition(i);
    return p;
}

void TPageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    if (pages_ == nullptr || pages_->PageCount() == 0 || page_ >= pages_->PageCount()) return;

    const int w = Round(pages_->Width() * scale_);
    const int h = Round(pages_->Height() * scale_);
    p.fillRect(QRect(origin_, QSize(w, h)), Qt::white);
    p.save();
    p.setClipRect(QRect(origin_, QSize(w, h)));
    p.translate(origin_);
    p.scale(scale_, scale_);
    p.setRenderHint(QPainter::Antialiasing, scale_ < 1);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    pages_->Play(p, page_);
    p.restore();

    if (!marginsMode_) return;
    // Dashed lines in inverted colours across the whole page.
    p.setCompositionMode(QPainter::CompositionMode_Difference);
    QPen pen(Qt::white, 1, Qt::DashLine);
    p.setPen(pen);
    for (int i = 0; i < kMarginLineCount; ++i) {
        if (!active_[i]) continue;
        int v = LineViewPosition(i);
        if (IsHorizontalLine(i))
            p.drawLine(origin_.x(), v, origin_.x() + w, v);
        else
            p.drawLine(v, origin_.y(), v, origin_.y() + h);
    }
}

void TPageView::mousePressEvent(QMouseEvent* e) {
    if (!marginsMode_ || e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    QPoint pos = e->position().toPoint();
    grabbed_ = -1;
    int line = HitMarginLine(pos.x(), pos.y(), ViewPositions(), active_, kGrabTolerance);
    if (line < 0) return;
    dragViewPos_ = LineViewPosition(line);
    grabbed_ = line;
}

void TPageView::mouseMoveEvent(QMouseEvent* e) {
    if (!marginsMode_) return QWidget::mouseMoveEvent(e);
    QPoint pos = e->position().toPoint();
    if (grabbed_ < 0) {
        int near = HitMarginLine(pos.x(), pos.y(), ViewPositions(), active_, kGrabTolerance);
        if (near < 0)
            unsetCursor();
        else
            setCursor(IsHorizontalLine(near) ? Qt::SplitVCursor : Qt::SplitHCursor);
        return;
    }
    // The line follows the mouse inside its range (converted to the view).
    const bool horizontal = IsHorizontalLine(grabbed_);
    const int offset = horizontal ? origin_.y() : origin_.x();
    TDragRange r = MarginDragRange(grabbed_, linePagePos_, active_,
                                   pages_ ? pages_->Width() : 0, pages_ ? pages_->Height() : 0);
    int low = offset + Round(r.low * scale_);
    int high = offset + Round(r.high * scale_);
    dragViewPos_ = ClampDragPosition(horizontal ? pos.y() : pos.x(), low, high);
    update();
}

void TPageView::mouseReleaseEvent(QMouseEvent* e) {
    if (!marginsMode_ || grabbed_ < 0) return QWidget::mouseReleaseEvent(e);
    int line = grabbed_;
    const int offset = IsHorizontalLine(line) ? origin_.y() : origin_.x();
    int pagePos = Round((dragViewPos_ - offset) / scale_);
    grabbed_ = -1;
    linePagePos_[line] = pagePos;
    update();
    emit MarginReleased(line, pagePos);
}

} // namespace dvx
