// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/catalogue/LineParser.h"

#include "base/Numbers.h"

namespace dvx {

namespace {

bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsSign(unsigned char c) { return c == '+' || c == '-'; }
bool IsQuote(unsigned char c) { return c == '"' || c == '\''; }
bool IsBlank(unsigned char c) { return c <= 32 || c == 255; }
bool IsPrintable(unsigned char c) { return c >= 32; }
bool IsFormatLetter(unsigned char c) {
    switch (c) {
    case 'D': case 'E': case 'F': case 'G': case 'M': case 'N': case 'P': case 'S': case 'U': case 'X':
    case 'd': case 'e': case 'f': case 'g': case 'm': case 'n': case 'p': case 's': case 'u': case 'x':
        return true;
    default:
        return false;
    }
}

} // namespace

TLineParser::TLineParser() { delimiters_.set(static_cast<unsigned char>(',')); }

void TLineParser::SetText(std::string_view text) {
    text_ = text;
    position_ = 0;
    length_ = static_cast<std::int32_t>(text.size());
    kind_ = tkNone;
    status_ = psReading;
    current_ = length_ > 0 ? static_cast<unsigned char>(text_[0]) : 0;
}

void TLineParser::SetDelimiters(std::string_view delimiters) {
    delimiters_.reset();
    for (char c : delimiters) delimiters_.set(static_cast<unsigned char>(c));
}

void TLineParser::Advance() {
    if (position_ < length_) {
        ++position_;
        current_ = position_ < length_ ? static_cast<unsigned char>(text_[position_]) : 0;
    } else {
        status_ = psEnd;
        current_ = 0;
    }
}

void TLineParser::Take() {
    // The zero after the last character ends the text; it never joins a token.
    if (position_ < length_) token_.push_back(static_cast<char>(current_));
    Advance();
}

std::string TLineParser::GetToken() {
    token_.clear();
    if (current_ == ';') {
        kind_ = tkSkipped;
        while (current_ != '\n' && More()) Advance();
    }
    auto inW = [this](unsigned char c) { return IsDelimiter(c) || IsBlank(c); };
    if (inW(current_)) {
        kind_ = tkSkipped;
        while (inW(current_) && More()) Advance();
    }
    const unsigned char c = current_;
    bool wordOrNumber = false;
    if (IsLetter(c)) {
        kind_ = tkWord;
        Take();
        while ((IsLetter(current_) || IsDigit(current_)) && More()) Take();
        wordOrNumber = true;
    } else if (IsDigit(c) || IsSign(c)) {
        kind_ = tkNumber;
        Take();
        while (IsDigit(current_) && More()) Take();
        if (current_ == '.') {
            Take();
            while (IsDigit(current_) && More()) Take();
        }
        if (current_ == 'E' || current_ == 'e') {
            Take();
            if (IsSign(current_)) Take();
            while (IsDigit(current_) && More()) Take();
        }
        wordOrNumber = true;
    } else if (c == '%') {
        kind_ = tkFormat;
        Take();
        if (IsDigit(current_)) {
            while (IsDigit(current_) && More()) Take();
            if (current_ == ':') Take();
        }
        if (current_ == '-') Take();
        while (IsDigit(current_) && More()) Take();
        if (current_ == '.') {
            Take();
            while (IsDigit(current_) && More()) Take();
        }
        if (IsFormatLetter(current_)) {
            Take();
        } else {
            kind_ = tkNone;
            status_ = psBadFormat;
        }
        return token_;
    } else if (IsPrintable(c)) {
        kind_ = tkText;
        if (IsQuote(current_)) Advance();
        while (!IsQuote(current_) && More()) Take();
        if (IsQuote(current_)) Advance();
        return token_;
    } else {
        kind_ = tkNone;
        while (!IsDelimiter(current_) && More()) Advance();
        return token_;
    }
    if (wordOrNumber && IsPrintable(current_) && !IsDelimiter(current_)) {
        kind_ = tkText;
        while (IsPrintable(current_) && !IsDelimiter(current_) && More()) Take();
    }
    return token_;
}

double TLineParser::NextFloat() {
    GetToken();
    if (auto v = TryStrToFloat(token_)) return *v;
    status_ = psConvertFailed;
    return 0;
}

std::int32_t TLineParser::NextInt() {
    GetToken();
    if (auto v = TryStrToInt(token_)) return *v;
    status_ = psConvertFailed;
    return 0;
}

} // namespace dvx
