// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions of the texts found in project streams into the UTF-8 the
// program holds in memory.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace dvx {

// 8-bit text of older files (Windows-1252) to UTF-8. ASCII passes through;
// the five bytes that code page leaves undefined map to the control
// characters of the same number, as Windows itself converts them.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-16LE code units (2 bytes each) to UTF-8; an unpaired surrogate
// becomes U+FFFD.
std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes);

// The same bytes when they are well-formed UTF-8; otherwise each invalid
// sequence is replaced by U+FFFD, so that nothing malformed reaches the
// rest of the program.
std::string SanitiseUtf8(std::string_view bytes);

// A text file's bytes as UTF-8: UTF-16 (little- or big-endian) after its
// byte-order mark; UTF-8 with its byte-order mark dropped; otherwise line by
// line, each line as UTF-8 when it is valid UTF-8, else as Windows-1252
// (8-bit text of older tools and editors; a file edited with both kinds
// keeps every line right).
std::string TextFileToUtf8(std::string_view bytes);

// True when every byte is below 128.
bool IsPlainAscii(std::string_view text);

// Appends the UTF-8 form of one code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace dvx
