// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/QuotedText.h"

namespace dvx {

namespace {

// Length of the valid UTF-8 character at the start of s, 0 when s does not
// start with one (a stray continuation byte, a cut sequence, an overlong
// form, a surrogate, a value beyond U+10FFFF).
std::size_t CharacterLength(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    return length;
}

bool Printable(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) return lead >= 0x20 && lead != 0x7F;
    // U+0080 to U+009F, the second set of control characters.
    return !(lead == 0xC2 && static_cast<unsigned char>(character[1]) <= 0x9F);
}

void AppendEscaped(std::string& out, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
}

} // namespace

std::string QuotedText(std::string_view text, std::size_t maxBytes) {
    static constexpr std::string_view kEllipsis = "...";
    std::string out;
    std::size_t fitsWithEllipsis = 0; // length of out at the last point "..." could still follow
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t length = CharacterLength(text.substr(pos));
        const std::string_view piece = text.substr(pos, length == 0 ? 1 : length);
        if (length != 0 && Printable(piece))
            out += piece;
        else
            AppendEscaped(out, piece);
        pos += piece.size();
        if (out.size() > maxBytes) {
            out.resize(fitsWithEllipsis);
            if (maxBytes >= kEllipsis.size()) out += kEllipsis;
            return out;
        }
        if (out.size() + kEllipsis.size() <= maxBytes) fitsWithEllipsis = out.size();
    }
    return out;
}

} // namespace dvx
