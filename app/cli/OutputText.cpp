// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputText.h"

#include "storage/project/TextCodec.h"

namespace dvx::cli {
namespace {

bool IsValidUtf8(std::string_view text) { return SanitiseUtf8(text) == text; }

// Decodes the code point at text[i] (valid UTF-8) and advances i.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto c = static_cast<unsigned char>(text[i]);
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    ++i;
    for (; extra > 0 && i < text.size(); --extra, ++i) cp = (cp << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    return cp;
}

bool IsCombining(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F) || c == 0x200B || c == 0x200D;
}

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
           (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

std::string Utf8Text(std::string_view text) {
    if (IsPlainAscii(text) || IsValidUtf8(text)) return std::string(text);
    return Cp1252ToUtf8(text);
}

std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, i);
        width += IsCombining(c) ? 0 : IsWide(c) ? 2 : 1;
    }
    return width;
}

std::string PadToWidth(std::string_view utf8, std::size_t width, bool left) {
    const std::size_t w = DisplayWidth(utf8);
    const std::string fill(w < width ? width - w : 0, ' ');
    return left ? std::string(utf8) + fill : fill + std::string(utf8);
}

} // namespace dvx::cli
