// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace dvx {

namespace {

// The freedesktop.org names the themes use for these commands; the pump
// curve has no standard name and takes a chart's.
const char* ThemeName(TToolPicture picture) {
    switch (picture) {
    case TToolPicture::New: return "document-new";
    case TToolPicture::Open: return "document-open";
    case TToolPicture::Save: return "document-save";
    case TToolPicture::Renumber: return "view-sort-ascending";
    case TToolPicture::Calculate: return "accessories-calculator";
    case TToolPicture::Report: return "document-print-preview";
    case TToolPicture::Pump: return "office-chart-line";
    }
    return "";
}

const QColor kInk(0x30, 0x30, 0x30);
const QColor kPaper(0xfa, 0xfa, 0xfa);
const QColor kBlue(0x2a, 0x6f, 0xb8);
const QColor kFolder(0xe0, 0xb0, 0x40);

// A sheet of paper with a folded corner, in a 16-unit square.
void Sheet(QPainter& p) {
    QPainterPath sheet;
    sheet.moveTo(3, 1);
    sheet.lineTo(10, 1);
    sheet.lineTo(13, 4);
    sheet.lineTo(13, 15);
    sheet.lineTo(3, 15);
    sheet.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({QPointF(10, 1), QPointF(10, 4), QPointF(13, 4)}));
}

// Draws the picture in a 16-unit square.
void Draw(QPainter& p, TToolPicture picture) {
    p.setPen(QPen(kInk, 0.8));
    switch (picture) {
    case TToolPicture::New:
        Sheet(p);
        p.setPen(QPen(kBlue, 1.6));
        p.drawLine(QPointF(8, 7), QPointF(8, 13));
        p.drawLine(QPointF(5, 10), QPointF(11, 10));
        break;
    case TToolPicture::Open: {
        p.setBrush(kFolder.darker(115));
        p.drawRect(QRectF(1, 3, 6, 3));
        p.drawRect(QRectF(1, 5, 13, 9));
        p.setBrush(kFolder);
        p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(15, 8), QPointF(13, 14), QPointF(1, 14)}));
        break;
    }
    case TToolPicture::Save:
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.drawRect(QRectF(3.5, 9, 9, 5.5));
        break;
    case TToolPicture::Renumber: {
        QFont font = p.font();
        font.setPixelSize(5);
        font.setBold(true);
        p.setFont(font);
        for (int i = 0; i < 3; ++i) {
            const qreal y = 1.5 + 5 * i;
            p.setPen(kBlue);
            p.drawText(QRectF(0, y - 0.5, 5, 5), Qt::AlignCenter, QString::number(i + 1));
            p.setPen(QPen(kInk, 1.4));
            p.drawLine(QPointF(6, y + 2), QPointF(15, y + 2));
        }
        break;
    }
    case TToolPicture::Calculate:
        p.setBrush(kPaper);
        p.drawRoundedRect(QRectF(2.5, 0.5, 11, 15), 1.5, 1.5);
        p.setBrush(kBlue.lighter(160));
        p.drawRect(QRectF(4, 2, 8, 3.5));
        p.setBrush(kInk);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) p.drawRect(QRectF(4 + 3 * c, 7 + 2.8 * r, 1.8, 1.6));
        break;
    case TToolPicture::Report:
        Sheet(p);
        p.setPen(QPen(kInk, 0.8));
        for (int i = 0; i < 4; ++i) p.drawLine(QPointF(5, 6 + 2 * i), QPointF(11, 6 + 2 * i));
        p.setPen(QPen(kBlue, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(10, 11), 2.6, 2.6);
        p.drawLine(QPointF(12, 13), QPointF(15, 16));
        break;
    case TToolPicture::Pump: {
        p.setPen(QPen(kInk, 1));
        p.drawPolyline(QPolygonF({QPointF(1.5, 1), QPointF(1.5, 14.5), QPointF(15, 14.5)}));
        QPainterPath pump;
        pump.moveTo(2, 4);
        pump.quadTo(9, 4, 14, 12);
        QPainterPath system;
        system.moveTo(2, 13);
        system.quadTo(9, 12, 13, 3);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kBlue, 1.4));
        p.drawPath(pump);
        p.setPen(QPen(QColor(0xc0, 0x40, 0x30), 1.4));
        p.drawPath(system);
        break;
    }
    }
}

} // namespace

QIcon DrawnToolIcon(TToolPicture picture) {
    QIcon icon;
    for (int size : {16, 22, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        Draw(painter, picture);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon ToolIcon(TToolPicture picture) {
    const QString name = QString::fromLatin1(ThemeName(picture));
    return QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name) : DrawnToolIcon(picture);
}

} // namespace dvx
