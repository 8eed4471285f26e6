// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace dvx {

namespace {

// What a window manager's frame usually takes before the window is mapped
// and the real frame is known.
const QMargins kFrameEstimate(4, 28, 4, 4);

QMargins FrameOf(const QWidget* window) {
    if (const QWindow* handle = window->windowHandle()) {
        const QMargins m = handle->frameMargins();
        if (!m.isNull()) return m;
    }
    // Nothing known yet: on a desktop with a window manager, allow for one.
    return QGuiApplication::platformName() == "xcb" ? kFrameEstimate : QMargins();
}

constexpr const char* kRefitPending = "dvxRefitPending";

bool HasRealFrame(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle != nullptr && !handle->frameMargins().isNull();
}

class ShowFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type kind = event->type();
        if ((kind != QEvent::Show && kind != QEvent::Move && kind != QEvent::WindowActivate) || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (!widget->isWindow() || (type != Qt::Window && type != Qt::Dialog && type != Qt::Tool)) return false;
        if (kind == QEvent::Show) {
            FitOnScreen(widget);
            // A window manager frames the window only once it is mapped, and
            // its frame may be larger than the one allowed for: fit again
            // when the window first moves or is activated with its real frame.
            if (!HasRealFrame(widget)) widget->setProperty(kRefitPending, true);
        } else if (widget->property(kRefitPending).toBool() && HasRealFrame(widget)) {
            widget->setProperty(kRefitPending, QVariant());
            FitOnScreen(widget);
        }
        return false;
    }
};

} // namespace

QRect FittedGeometry(const QRect& wanted, const QMargins& frame, const QRect& area, const QSize& minimum) {
    if (!area.isValid()) return wanted;
    const int maxWidth = area.width() - frame.left() - frame.right();
    const int maxHeight = area.height() - frame.top() - frame.bottom();
    const int width = std::max(std::min(wanted.width(), maxWidth), minimum.width());
    const int height = std::max(std::min(wanted.height(), maxHeight), minimum.height());
    const int left = area.left() + frame.left();
    const int top = area.top() + frame.top();
    // The far edges where the frame still fits; a window too big for the
    // area keeps its top-left corner (and its title bar) inside it.
    const int right = std::max(left, area.right() - frame.right() - width + 1);
    const int bottom = std::max(top, area.bottom() - frame.bottom() - height + 1);
    return {std::clamp(wanted.x(), left, right), std::clamp(wanted.y(), top, bottom), width, height};
}

QRect BesideGeometry(const QRect& beside, const QSize& wanted, const QSize& minimum, const QMargins& frame,
                     const QRect& area) {
    const int frameWidth = frame.left() + frame.right();
    const int roomRight = area.right() - beside.right() - frameWidth;   // inside width that fits to the right
    const int roomLeft = beside.left() - area.left() - frameWidth;      // and to the left
    const int height = std::min(wanted.height(), area.height() - frame.top() - frame.bottom());
    const int top = std::max(beside.top(), area.top()) + frame.top();
    int width = 0;
    int left = 0;
    if (roomRight >= minimum.width() || (roomLeft < minimum.width() && roomRight >= roomLeft)) {
        width = std::clamp(roomRight, minimum.width(), std::max(minimum.width(), wanted.width()));
        // Against the first window, or as far right as the area lets it be.
        left = std::min(beside.right() + 1, area.right() - width - frameWidth + 1) + frame.left();
    } else {
        width = std::clamp(roomLeft, minimum.width(), std::max(minimum.width(), wanted.width()));
        left = std::max(beside.left() - width - frameWidth, area.left()) + frame.left();
    }
    return FittedGeometry(QRect(left, top, width, height), frame, area, minimum);
}

QMargins FrameMargins(const QWidget* window) { return FrameOf(window); }

QRect AvailableArea(const QWidget* window) {
    QScreen* screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

void FitOnScreen(QWidget* window) {
    if (window == nullptr || (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) return;
    // pos() is the frame's corner, as the placement was restored by move();
    // the inside lies the frame's margins further in.
    const QMargins frame = FrameOf(window);
    const QPoint corner = window->pos();
    const QRect now(corner + QPoint(frame.left(), frame.top()), window->size());
    const QRect fitted = FittedGeometry(now, frame, AvailableArea(window), window->minimumSize());
    if (fitted.size() != now.size()) window->resize(fitted.size());
    if (fitted.topLeft() != now.topLeft()) window->move(fitted.topLeft() - QPoint(frame.left(), frame.top()));
}

void FitWindowsOnScreen() {
    static ShowFilter* filter = nullptr;
    if (filter != nullptr || QCoreApplication::instance() == nullptr) return;
    filter = new ShowFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

} // namespace dvx
