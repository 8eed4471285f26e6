// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report/LogoImage.h"

#include "desktop/report/QtPageCanvas.h"

#include "base/platform/FileRead.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

#include <cstring>
#include <csetjmp>
#include <cstdio>
#include <optional>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

namespace dvx {

namespace {

bool SizeAcceptable(long long width, long long height) {
    return width > 0 && height > 0 && width * height <= kMaxLogoPixels;
}

// ------------------------------------------------------------------ GIF

// The file's bytes through the program's one reader: only a regular file,
// at most kMaxImageFileBytes; nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadImageFile(const std::string& path) {
    try {
        return ReadFileBytes(path, kMaxImageFileBytes);
    } catch (const FileError&) {
        return std::nullopt;
    }
}

// giflib reads from memory through this.
struct GifSource {
    const std::vector<std::uint8_t>* bytes;
    std::size_t position = 0;
};

int ReadGifBytes(GifFileType* gif, GifByteType* into, int wanted) {
    auto* source = static_cast<GifSource*>(gif->UserData);
    const std::size_t left = source->bytes->size() - source->position;
    const std::size_t n = std::min(left, static_cast<std::size_t>(wanted < 0 ? 0 : wanted));
    std::memcpy(into, source->bytes->data() + source->position, n);
    source->position += n;
    return static_cast<int>(n);
}

struct GifCloser {
    GifFileType* gif = nullptr;
    ~GifCloser() {
        int error = 0;
        if (gif) DGifCloseFile(gif, &error);
    }
};

} // namespace

QImage DecodeGifFile(const std::string& path) {
    const auto bytes = ReadImageFile(path);
    if (!bytes) return {};
    GifSource source{&*bytes};
    int error = 0;
    GifCloser file{DGifOpen(&source, ReadGifBytes, &error)};
    GifFileType* gif = file.gif;
    if (gif == nullptr) return {};
    // The logical screen may be given as 0 × 0; the picture's own size counts then.
    if (static_cast<long long>(gif->SWidth) * gif->SHeight > kMaxLogoPixels) return {};

    int transparent = -1;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) return {};
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return {};
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
                GraphicsControlBlock gcb;
                if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
                    transparent = gcb.TransparentColor;
            }
            while (block != nullptr)
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return {};
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR) return {};
            const GifImageDesc& d = gif->Image;
            if (!SizeAcceptable(d.Width, d.Height)) return {};
            const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
            if (map == nullptr || map->Colors == nullptr) return {};

            // Rows in the order they are stored (interlaced GIFs in four passes).
            std::vector<GifPixelType> pixels(static_cast<std::size_t>(d.Width) *
                                             static_cast<std::size_t>(d.Height));
            std::vector<int> order;
            if (d.Interlace) {
                const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
                for (int pass = 0; pass < 4; ++pass)
                    for (int y = start[pass]; y < d.Height; y += step[pass]) order.push_back(y);
            } else {
                for (int y = 0; y < d.Height; ++y) order.push_back(y);
            }
            for (int y : order)
                if (DGifGetLine(gif, pixels.data() + static_cast<std::size_t>(y) * d.Width,
                                d.Width) == GIF_ERROR)
                    return {};

            // The first picture on a transparent screen of the GIF's size.
            const int width = gif->SWidth > 0 ? gif->SWidth : d.Width;
            const int height = gif->SHeight > 0 ? gif->SHeight : d.Height;
            QImage image(width, height, QImage::Format_ARGB32);
            if (image.isNull()) return {};
            image.fill(Qt::transparent);
            for (int y = 0; y < d.Height; ++y) {
                const int iy = d.Top + y;
                if (iy < 0 || iy >= height) continue;
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(iy));
                for (int x = 0; x < d.Width; ++x) {
                    const int ix = d.Left + x;
                    if (ix < 0 || ix >= width) continue;
                    const int index = pixels[static_cast<std::size_t>(y) * d.Width + x];
                    if (index == transparent || index >= map->ColorCount) continue;
                    const GifColorType& c = map->Colors[index];
                    line[ix] = qRgb(c.Red, c.Green, c.Blue);
                }
            }
            return image;
        }
    } while (record != TERMINATE_RECORD_TYPE);
    return {}; // no picture in the file
}

// ----------------------------------------------------------------- JPEG

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void JpegFail(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    std::longjmp(error->jump, 1);
}

void JpegQuiet(j_common_ptr, int) {} // warnings are not shown

// The decoding itself: nothing with a destructor lives in this frame, so a
// libjpeg failure can jump back out of it safely.
bool DecodeJpegInto(const std::vector<std::uint8_t>& bytes, QImage* image) {
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = JpegFail;
    error.mgr.emit_message = JpegQuiet;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (!SizeAcceptable(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const int components = info.output_components;
    *image = QImage(width, height, QImage::Format_RGB32);
    if (image->isNull() || (components != 3 && components != 4)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.output_width * static_cast<JDIMENSION>(components), 1);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, row, 1);
        auto* line = reinterpret_cast<QRgb*>(image->scanLine(y));
        const JSAMPLE* p = row[0];
        for (int x = 0; x < width; ++x, p += components) {
            if (cmyk) {
                // Adobe files store the inks inverted.
                const int k = p[3];
                line[x] = qRgb(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
            } else {
                line[x] = qRgb(p[0], p[1], p[2]);
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpegFile(const std::string& path) {
    const auto bytes = ReadImageFile(path);
    if (!bytes) return {};
    QImage image;
    const bool ok = DecodeJpegInto(*bytes, &image);
    return ok ? image : QImage();
}

std::unique_ptr<TPageImage> LoadLogoImage(const std::string& path) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    QImage image;
    if (suffix == "jpg" || suffix == "jpeg") {
        image = DecodeJpegFile(path);
    } else if (suffix == "gif") {
        image = DecodeGifFile(path);
    } else {
        const auto bytes = ReadImageFile(path);
        if (!bytes) return nullptr;
        QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes->data()),
                                                  static_cast<qsizetype>(bytes->size()));
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, suffix.toLatin1());
        const QSize size = reader.size();
        if (size.isValid() && SizeAcceptable(size.width(), size.height())) image = reader.read();
    }
    if (image.isNull() || !SizeAcceptable(image.width(), image.height())) return nullptr;
    return std::make_unique<TQtPageImage>(std::move(image));
}

} // namespace dvx
