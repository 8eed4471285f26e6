// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A page device for engine tests: records every text and line drawn, page
// by page, with simple deterministic font metrics (a character is half the
// font size wide, a line 1.5 × the size high, bold adds one pixel a char).

#include "presentation/report/PageCanvas.h"

#include <string>
#include <vector>

namespace dvx::test {

struct DrawnText {
    int page = 0; // 1-based
    int x = 0;
    int y = 0;
    std::string text;
    TReportFont font;
    bool clipped = false;
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
};

struct DrawnLine {
    int page = 0;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct DrawnImage {
    int page = 0;
    int x = 0, y = 0, w = 0, h = 0;
};

class FakeImage : public TPageImage {
public:
    FakeImage(int w, int h) : w_(w), h_(h) {}
    int Width() const override { return w_; }
    int Height() const override { return h_; }

private:
    int w_, h_;
};

class FakeDevice : public TPageDevice, public TPageCanvas {
public:
    explicit FakeDevice(TReportFont font = {}) : font_(std::move(font)) {}

    // TPageDevice
    TPageCanvas& Canvas() override { return *this; }
    void StartNewPage() override { ++pages; }
    int PageCount() const override { return pages; }

    // TPageCanvas
    const TReportFont& Font() const override { return font_; }
    void SetFont(const TReportFont& f) override { font_ = f; }
    int TextWidth(std::string_view t) override {
        int perChar = font_.size / 2 + ((font_.style & fsBold) ? 1 : 0);
        return static_cast<int>(t.size()) * perChar;
    }
    int TextHeight(std::string_view) override { return font_.size * 3 / 2; }
    void TextOut(int x, int y, std::string_view t) override {
        texts.push_back({pages, x, y, std::string(t), font_});
    }
    void TextRect(int l, int tp, int r, int b, int x, int y, std::string_view t) override {
        texts.push_back({pages, x, y, std::string(t), font_, true, l, tp, r, b});
    }
    void Line(int x1, int y1, int x2, int y2) override {
        lines.push_back({pages, x1, y1, x2, y2});
    }
    void Draw(const TPageImage&, int x, int y, int w, int h) override {
        images.push_back({pages, x, y, w, h});
    }

    std::vector<DrawnText> TextsOn(int page) const {
        std::vector<DrawnText> r;
        for (const auto& t : texts)
            if (t.page == page) r.push_back(t);
        return r;
    }
    const DrawnText* Find(std::string_view text) const {
        for (const auto& t : texts)
            if (t.text == text) return &t;
        return nullptr;
    }

    int pages = 1;
    std::vector<DrawnText> texts;
    std::vector<DrawnLine> lines;
    std::vector<DrawnImage> images;

private:
    TReportFont font_;
};

} // namespace dvx::test
