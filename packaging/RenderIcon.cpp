// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: renders the program's SVG icon as a square PNG of one size, for
// the icon theme folders of the sizes that menus, task bars and software
// centres ask for.
//
//   darvenix-render-icon IN.svg SIZE OUT.png

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: darvenix-render-icon IN.svg SIZE OUT.png\n", stderr);
        return 2;
    }
    const std::string_view sizeText = argv[2];
    int size = 0;
    const auto [end, error] = std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), size);
    if (error != std::errc() || end != sizeText.data() + sizeText.size() || size < 1 || size > 1024) {
        std::fprintf(stderr, "darvenix-render-icon: bad size '%s'\n", argv[2]);
        return 2;
    }
    // Only paths and gradients are painted into an image in memory: no
    // application object, display or platform plugin is needed.
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "darvenix-render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "darvenix-render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
