// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TextLines.h"

namespace dvx {

TTextLines::const_iterator::const_iterator(const char* at, const char* end) : at_(at), end_(end) { Decode(); }

// Reads the length in front of the line at at_. The buffer is only ever
// written by Append, so a length is always complete and its line inside it.
void TTextLines::const_iterator::Decode() {
    length_ = 0;
    lengthBytes_ = 0;
    if (at_ == end_) return;
    for (unsigned shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(at_[lengthBytes_++]);
        length_ |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) break;
    }
}

TTextLines::const_iterator& TTextLines::const_iterator::operator++() {
    at_ += lengthBytes_ + length_;
    Decode();
    return *this;
}

TTextLines::TTextLines(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) Append(line);
}

TTextLines::TTextLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) Append(line);
}

void TTextLines::Append(std::string_view line) {
    std::size_t length = line.size();
    do {
        const auto low = static_cast<unsigned char>(length & 0x7F);
        length >>= 7;
        bytes_ += static_cast<char>(length != 0 ? (low | 0x80) : low);
    } while (length != 0);
    bytes_ += line;
    ++count_;
}

void TTextLines::Clear() {
    bytes_.clear();
    count_ = 0;
}

std::vector<std::string> TTextLines::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(count_);
    for (std::string_view line : *this) lines.emplace_back(line);
    return lines;
}

} // namespace dvx
