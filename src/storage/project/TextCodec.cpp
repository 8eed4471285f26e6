// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/TextCodec.h"

#include <algorithm>
#include <array>
#include <utility>

namespace dvx {

namespace {

// Windows-1252 0x80..0x9F; the undefined positions keep their own number.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsPlainAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    if (IsPlainAscii(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) out.push_back(c);
        else if (b < 0xA0) AppendUtf8(out, kCp1252High[b - 0x80]);
        else AppendUtf8(out, b);
    }
    return out;
}

std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t i) -> char32_t {
        return static_cast<char32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const char32_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
    return out;
}

std::string SanitiseUtf8(std::string_view bytes) {
    // Fast path: most texts are valid.
    std::string out;
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    bool copying = false;
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    while (i < n) {
        const unsigned char b = at(i);
        std::size_t len = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) { len = 1; cp = b; }
        else if (b >= 0xC2 && b <= 0xDF) { len = 2; cp = b & 0x1F; min = 0x80; }
        else if (b >= 0xE0 && b <= 0xEF) { len = 3; cp = b & 0x0F; min = 0x800; }
        else if (b >= 0xF0 && b <= 0xF4) { len = 4; cp = b & 0x07; min = 0x10000; }
        bool valid = len != 0 && i + len <= n;
        for (std::size_t k = 1; valid && k < len; ++k) {
            const unsigned char c = at(i + k);
            if ((c & 0xC0) != 0x80) valid = false;
            else cp = (cp << 6) | (c & 0x3F);
        }
        if (valid && len > 1 && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (valid) {
            if (copying) out.append(bytes.substr(i, len));
            i += len;
        } else {
            if (!copying) {
                out.assign(bytes.substr(0, i));
                copying = true;
            }
            AppendUtf8(out, kReplacement);
            ++i; // resynchronise on the next byte
        }
    }
    if (!copying) return std::string(bytes);
    return out;
}

std::string TextFileToUtf8(std::string_view bytes) {
    auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    auto asUnits = [](std::string_view b) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(b.data()), b.size());
    };
    if (startsWith("\xEF\xBB\xBF")) return SanitiseUtf8(bytes.substr(3));
    if (startsWith("\xFF\xFE")) return Utf16LeToUtf8(asUnits(bytes.substr(2)));
    if (startsWith("\xFE\xFF")) {
        std::string swapped(bytes.substr(2));
        for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
        return Utf16LeToUtf8(asUnits(swapped));
    }
    if (IsPlainAscii(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size() - 1) + 1;
        const std::string_view line = bytes.substr(0, end);
        const std::string utf8 = SanitiseUtf8(line);
        out += utf8 == line ? utf8 : Cp1252ToUtf8(line);
        bytes.remove_prefix(end);
    }
    return out;
}

} // namespace dvx
