// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing report pages as GIF images (giflib). Pages are stacked top to
// bottom into one image; each page is converted to the 256-colour palette
// as it is written, so only one page is held as a bitmap at a time.

#include <QImage>

#include <functional>
#include <stdexcept>
#include <string>

namespace dvx {

class GifWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The tallest image a GIF file can describe, pixels.
inline constexpr int kGifMaxSide = 65535;

// Writes `pageCount` pages of `width` × `pageHeight` pixels, page i given by
// `page(i)`, as one image `pageCount` pages high. Raises GifWriteError.
void WriteStackedGif(const std::string& path, int width, int pageHeight, int pageCount,
                     const std::function<QImage(int)>& page);

// The palette index a colour is written with, and that entry's colour.
int GifPaletteIndex(QRgb color);
QRgb GifPaletteColor(int index);

} // namespace dvx
