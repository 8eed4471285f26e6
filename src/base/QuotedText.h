// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A piece of a file's content made fit to be quoted in a message: a file may
// hold anything (control characters, NUL, bytes that are not UTF-8, a name
// thousands of bytes long), a message is one short line of readable text.

#include <cstddef>
#include <string>
#include <string_view>

namespace dvx {

// Longest piece of a file's content a message quotes, in bytes.
inline constexpr std::size_t kQuotedContentLength = 60;

// text with every byte that is not printable shown as "\xNN" (two upper-case
// hex digits): control characters (below 0x20, 0x7F, U+0080 to U+009F) and
// bytes that are not part of a valid UTF-8 character. Printable UTF-8 is
// kept. A result that would be longer than maxBytes is cut (never inside a
// character or an escape) and ends in "...", so it has at most maxBytes
// bytes. Reads no further into text than the cut needs.
std::string QuotedText(std::string_view text, std::size_t maxBytes = kQuotedContentLength);

} // namespace dvx
