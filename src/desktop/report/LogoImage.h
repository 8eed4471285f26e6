// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report logo read from its file: by the file's extension, ".jpg" (and
// ".jpeg") as JPEG with libjpeg, ".gif" as GIF with giflib (its first
// picture, with transparency), anything else as a bitmap through the
// toolkit's readers (BMP, PNG ...). A file that cannot be decoded, or that
// claims an absurd size, gives no image and no message.

#include "presentation/report/PageCanvas.h"

#include <QImage>

#include <memory>
#include <string>

namespace dvx {

// Pictures larger than this (pixels) are not decoded: a logo is drawn
// 4 cm wide and such a file is damaged or not meant as a logo.
inline constexpr long long kMaxLogoPixels = 40LL * 1000 * 1000;

QImage DecodeGifFile(const std::string& path);
QImage DecodeJpegFile(const std::string& path);

// Nothing when the picture cannot be read.
std::unique_ptr<TPageImage> LoadLogoImage(const std::string& path);

} // namespace dvx
