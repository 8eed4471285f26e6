// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts on their way out of darvenix-cli: always valid UTF-8, and padded by
// the width they take on a terminal rather than by their bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace dvx::cli {

// The text itself when it is valid UTF-8; otherwise it is 8-bit text from an
// older file and is decoded as Windows-1252.
std::string Utf8Text(std::string_view text);

// Terminal columns the UTF-8 text takes: combining marks take none, East
// Asian wide and full-width characters two, everything else one.
std::size_t DisplayWidth(std::string_view utf8);

// The text padded with blanks on the right (left = true) or on the left to
// `width` columns; a wider text is left whole.
std::string PadToWidth(std::string_view utf8, std::size_t width, bool left);

} // namespace dvx::cli
