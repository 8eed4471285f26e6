// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TLineParser: splits one line into tokens separated by delimiter characters
// (the comma alone unless changed) and converts tokens to numbers. Quoted
// texts lose their quotes; a word or number running into other characters
// up to the next delimiter is one text token ("Std Elbow 90 deg"); a ";"
// starts a comment that runs to the end of the line.

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace dvx {

class TLineParser {
public:
    // Class of the last token.
    enum TTokenKind : std::uint8_t {
        tkNone = 0,
        tkSkipped = 1, // comment or blanks
        tkWord = 2,
        tkNumber = 3,
        tkText = 4,
        tkFormat = 5,  // a format specifier such as "%0.4g"
    };
    // Reading state.
    enum TStatus : std::int32_t {
        psReading = 0,
        psEnd = 1,             // end of the text reached
        psBadFormat = 2,       // malformed format specifier
        psConvertFailed = 3,   // the last NextFloat or NextInt did not convert
    };

    TLineParser();

    // Starts reading text (not copied: it must outlive the reading).
    void SetText(std::string_view text);
    void SetDelimiters(std::string_view delimiters);

    // The next token; empty when there is none.
    std::string GetToken();
    // The next token as a number; 0 (and status psConvertFailed) when it is not one.
    double NextFloat();
    std::int32_t NextInt();

    std::uint8_t Kind() const { return kind_; }
    std::int32_t Status() const { return status_; }
    std::int32_t Position() const { return position_; }

private:
    void Advance();
    void Take();
    bool IsDelimiter(unsigned char c) const { return delimiters_[c]; }
    // True until the end of the text is reached. A failed conversion does
    // not stop the reading: the next token is read as usual.
    bool More() const { return status_ != psEnd; }

    std::string_view text_;
    std::int32_t position_ = 0;
    std::int32_t length_ = 0;
    std::bitset<256> delimiters_;
    std::uint8_t kind_ = tkNone;
    std::int32_t status_ = psReading;
    unsigned char current_ = 0;
    std::string token_;
};

} // namespace dvx
