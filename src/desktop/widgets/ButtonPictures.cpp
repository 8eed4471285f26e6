// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/ButtonPictures.h"

#include <QApplication>
#include <QPainter>
#include <QToolButton>
#include <functional>

namespace dvx {

namespace {

QPixmap Picture(int w, int h, const std::function<void(QPainter&)>& draw) {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(w, h) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QApplication::palette().color(QPalette::ButtonText));
    draw(painter);
    return pixmap;
}

} // namespace

QPixmap PullDownPicture() { // "PULLDNPIC"
    return Picture(10, 10, [](QPainter& p) {
        p.drawPolygon(QPolygonF({QPointF(1, 3), QPointF(9, 3), QPointF(5, 8)}));
    });
}

QPixmap PropEdPicture() { // "PROPEDPIC"
    return Picture(10, 10, [](QPainter& p) {
        for (int i = 0; i < 3; ++i) p.drawRect(QRectF(1 + i * 3, 6, 2, 2));
    });
}

QPixmap SpinPicture(bool up) { // "SPINUPPIC", "SPINDNPIC"
    return Picture(6, 4, [up](QPainter& p) {
        if (up)
            p.drawPolygon(QPolygonF({QPointF(0, 4), QPointF(6, 4), QPointF(3, 0)}));
        else
            p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(6, 0), QPointF(3, 4)}));
    });
}

QToolButton* MakeButton(QWidget* parent, const QPixmap& picture) {
    auto* button = new QToolButton(parent);
    button->setIcon(QIcon(picture));
    button->setIconSize(picture.size() / picture.devicePixelRatio());
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(false);
    button->resize(15, 15);
    button->hide();
    button->setEnabled(false);
    return button;
}

} // namespace dvx
