// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TTextLines: a list of text lines held in one buffer. A project's
// description may hold millions of lines, most of them short or empty; a
// std::string per line costs 32 bytes and more for each, a line here costs
// its bytes and one to five bytes of length. Lines are read in order; any
// bytes may be in a line (line breaks and NUL included), and a line keeps
// them exactly.

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

class TTextLines {
public:
    // Walks the lines in order; each is a view into the list's buffer, valid
    // until the list changes.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string_view*;
        using reference = std::string_view;

        const_iterator() = default;
        std::string_view operator*() const { return {at_ + lengthBytes_, length_}; }
        const_iterator& operator++();
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }

    private:
        friend class TTextLines;
        const_iterator(const char* at, const char* end);
        void Decode();
        const char* at_ = nullptr;
        const char* end_ = nullptr;
        std::size_t length_ = 0;      // bytes of the current line
        std::size_t lengthBytes_ = 0; // bytes its length takes in the buffer
    };
    using iterator = const_iterator;
    using value_type = std::string_view;

    TTextLines() = default;
    TTextLines(std::initializer_list<std::string_view> lines);
    TTextLines(const std::vector<std::string>& lines);

    void Append(std::string_view line);
    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    void Clear();
    // Gives back the buffer's spare capacity (after a list was read in).
    void ShrinkToFit() { bytes_.shrink_to_fit(); }
    // Bytes the list holds for its lines (their text and lengths).
    std::size_t BufferSize() const { return bytes_.size(); }

    const_iterator begin() const { return {bytes_.data(), bytes_.data() + bytes_.size()}; }
    const_iterator end() const {
        const char* end = bytes_.data() + bytes_.size();
        return {end, end};
    }
    // The lines as separate strings, for a caller that edits them.
    std::vector<std::string> Lines() const;

    bool operator==(const TTextLines& other) const = default;

private:
    std::string bytes_; // each line: its length (7 bits a byte, low bits first), then its bytes
    std::size_t count_ = 0;
};

} // namespace dvx
