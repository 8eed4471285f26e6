// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report/GifWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "base/Format.h"

#include <gif_lib.h>

#include <array>
#include <cstdlib>
#include <vector>

namespace dvx {

namespace {

// Palette: the 6 × 6 × 6 colour cube (indices 0 … 215) and 40 further grey
// levels (216 … 255). Report pages are black text and lines on white with
// grey anti-aliasing, which the 46 greys render faithfully; a colour logo
// gets the cube.
constexpr int kCubeSize = 216;
constexpr int kExtraGreys = 40;

int ExtraGreyLevel(int i) { return (i + 1) * 255 / (kExtraGreys + 1); }

const std::array<std::uint8_t, 256>& GreyLookup() {
    static const std::array<std::uint8_t, 256> table = [] {
        std::array<std::uint8_t, 256> t{};
        for (int v = 0; v < 256; ++v) {
            int best = 0, bestDiff = 1 << 30;
            for (int idx = 0; idx < 256; ++idx) {
                QRgb c = GifPaletteColor(idx);
                if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c)) continue;
                int diff = std::abs(qRed(c) - v);
                if (diff < bestDiff) {
                    best = idx;
                    bestDiff = diff;
                }
            }
            t[v] = static_cast<std::uint8_t>(best);
        }
        return t;
    }();
    return table;
}

int CubeLevel(int v) { return (v + 25) / 51; }

struct GifFile {
    GifFileType* gif = nullptr;
    ~GifFile() {
        if (gif) {
            int err = 0;
            EGifCloseFile(gif, &err);
        }
    }
};

[[noreturn]] void Fail(const std::string& path, int error) {
    throw GifWriteError(Format("Unable to write to %s (%s)",
                               {path, GifErrorString(error) ? GifErrorString(error) : "?"}));
}

} // namespace

QRgb GifPaletteColor(int index) {
    if (index < kCubeSize)
        return qRgb(index / 36 * 51, index / 6 % 6 * 51, index % 6 * 51);
    int g = ExtraGreyLevel(index - kCubeSize);
    return qRgb(g, g, g);
}

int GifPaletteIndex(QRgb c) {
    int r = qRed(c), g = qGreen(c), b = qBlue(c);
    if (r == g && g == b) return GreyLookup()[r];
    return CubeLevel(r) * 36 + CubeLevel(g) * 6 + CubeLevel(b);
}

void WriteStackedGif(const std::string& path, int width, int pageHeight, int pageCount,
                     const std::function<QImage(int)>& page) {
    if (width <= 0 || pageHeight <= 0 || pageCount <= 0)
        throw GifWriteError("There are no pages to write");
    if (width > kGifMaxSide || static_cast<long long>(pageHeight) * pageCount > kGifMaxSide)
        throw GifWriteError(Format("The report is too long for one GIF image (at most %d pages)",
                                   {kGifMaxSide / pageHeight}));

    int error = 0;
    GifFile file;
    // Opened here rather than by the GIF library, which creates files for
    // its owner alone: an exported picture gets the permissions the user's
    // umask gives any new file.
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) Fail(path, E_GIF_ERR_OPEN_FAILED);
    file.gif = EGifOpenFileHandle(fd, &error); // owns fd from here on
    if (file.gif == nullptr) {
        ::close(fd);
        Fail(path, error);
    }

    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    if (map == nullptr) throw GifWriteError("Out of memory");
    for (int i = 0; i < 256; ++i) {
        QRgb c = GifPaletteColor(i);
        map->Colors[i] = GifColorType{static_cast<GifByteType>(qRed(c)),
                                      static_cast<GifByteType>(qGreen(c)),
                                      static_cast<GifByteType>(qBlue(c))};
    }
    int height = pageHeight * pageCount;
    int ok = EGifPutScreenDesc(file.gif, width, height, 8, GifPaletteIndex(qRgb(255, 255, 255)), map);
    GifFreeMapObject(map);
    if (ok == GIF_ERROR) Fail(path, file.gif->Error);
    if (EGifPutImageDesc(file.gif, 0, 0, width, height, false, nullptr) == GIF_ERROR)
        Fail(path, file.gif->Error);

    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    const GifPixelType white = static_cast<GifPixelType>(GifPaletteIndex(qRgb(255, 255, 255)));
    for (int p = 0; p < pageCount; ++p) {
        QImage img = page(p);
        if (img.isNull()) throw GifWriteError(Format("Failed to create Bitmap...\r\n Pages = %d", {pageCount}));
        if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32)
            img = img.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < pageHeight; ++y) {
            if (y < img.height()) {
                const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
                for (int x = 0; x < width; ++x)
                    line[x] = x < img.width() ? static_cast<GifPixelType>(GifPaletteIndex(row[x]))
                                              : white;
            } else {
                std::fill(line.begin(), line.end(), white);
            }
            if (EGifPutLine(file.gif, line.data(), width) == GIF_ERROR) Fail(path, file.gif->Error);
        }
    }
    int closeError = 0;
    GifFileType* gif = file.gif;
    file.gif = nullptr;
    if (EGifCloseFile(gif, &closeError) == GIF_ERROR) Fail(path, closeError);
}

} // namespace dvx
