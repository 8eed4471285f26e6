// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replays a recorded page onto a paint device that keeps the texts drawn
// (with their baseline positions) instead of pixels.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

namespace dvx::test {

struct CapturedText {
    QString text;
    QPointF baseline;
    QFont font;
};

class CaptureEngine : public QPaintEngine {
public:
    CaptureEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage& image, const QRectF&, Qt::ImageConversionFlags) override {
        ++images;
        imageSizes.push_back(image.size());
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        texts.push_back({item.text(), p, item.font()});
    }
    void drawLines(const QLineF*, int count) override { lines += count; }
    void drawLines(const QLine*, int count) override { lines += count; }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }

    std::vector<CapturedText> texts;
    int lines = 0;
    int images = 0;
    std::vector<QSize> imageSizes; // pixel size of each image drawn, in order
};

class CaptureDevice : public QPaintDevice {
public:
    CaptureDevice(int w, int h) : w_(w), h_(h) {}
    ~CaptureDevice() override = default;
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth: return w_;
        case PdmHeight: return h_;
        case PdmWidthMM: return w_ * 254 / 960;
        case PdmHeightMM: return h_ * 254 / 960;
        case PdmNumColors: return 256;
        case PdmDepth: return 32;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        default: return 0;
        }
    }
    mutable CaptureEngine engine;

private:
    int w_, h_;
};

// The texts of a recorded page.
inline std::vector<CapturedText> PageTexts(const QPicture& page, int w, int h) {
    CaptureDevice device(w, h);
    {
        QPainter p(&device);
        p.drawPicture(0, 0, page);
    }
    return device.engine.texts;
}

} // namespace dvx::test
