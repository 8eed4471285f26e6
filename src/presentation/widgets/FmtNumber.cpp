// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/FmtNumber.h"

#include "base/Format.h"
#include "base/Numbers.h"

#include <algorithm>
#include <cmath>

namespace dvx {

namespace {

bool Contains(std::string_view text, std::string_view chars) {
    return text.find_first_of(chars) != std::string_view::npos;
}

// Keeps the first occurrence of c and drops the others.
std::string KeepFirst(std::string text, char c) {
    auto first = text.find(c);
    if (first == std::string::npos) return text;
    std::string out = text.substr(0, first + 1);
    for (std::size_t i = first + 1; i < text.size(); ++i)
        if (text[i] != c) out += text[i];
    return out;
}

std::string NormaliseSingle(std::string text) {
    if (text.empty()) return "0";
    for (char& c : text)
        if (c == 'e') c = 'E';
    text = KeepFirst(std::move(text), 'E');
    if (text.size() > 1) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '-' && i != 0 && text[i - 1] != 'E') continue;
            out += text[i];
        }
        text = std::move(out);
    }
    if (text == "-") return "0";
    text = KeepFirst(std::move(text), '.');
    if (!text.empty() && text.front() == 'E') text.insert(text.begin(), '1');
    auto e = text.find('E');
    if (e != std::string::npos && e + 1 < text.size()) {
        std::string mantissa = text.substr(0, e + 1);
        std::string exponent = text.substr(e + 1);
        if (auto dot = exponent.find('.'); dot != std::string::npos) exponent.erase(dot, 1);
        std::string digits = exponent;
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.erase(0, 1);
        auto magnitude = TryStrToFloat(digits);
        if (magnitude && *magnitude > 300) exponent = exponent.substr(0, 2);
        text = mantissa + exponent;
    }
    return text;
}

} // namespace

TFormatClass FormatClassOf(std::string_view format) {
    if (Contains(format, "sS")) return TFormatClass::Text;
    if (Contains(format, "/")) return TFormatClass::Pair;
    if (Contains(format, "dD")) return TFormatClass::Integer;
    if (Contains(format, "fFgG")) return TFormatClass::Real;
    return TFormatClass::Text;
}

int DecimalsOf(std::string_view format) {
    auto dot = format.find('.');
    if (dot == std::string_view::npos || dot + 1 >= format.size()) return 0;
    char c = format[dot + 1];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

char32_t EnteredCharacter(std::string_view format, char32_t typed) {
    if (typed != U',') return typed;
    const TFormatClass kind = FormatClassOf(format);
    return kind == TFormatClass::Real || kind == TFormatClass::Pair ? U'.' : typed;
}

bool KeyAllowed(std::string_view format, char32_t ch) {
    const bool digit = ch >= U'0' && ch <= U'9';
    switch (FormatClassOf(format)) {
    case TFormatClass::Text: return true;
    case TFormatClass::Pair: return ch >= U'-' && ch <= U'9';
    case TFormatClass::Integer: return digit || ch == U'-';
    case TFormatClass::Real:
        if (digit || ch == U'-' || ch == U'.') return true;
        return (ch == U'e' || ch == U'E') && Contains(format, "gG");
    }
    return false;
}

std::string NormaliseNumber(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') s += c;
    if (auto slash = s.find('/'); slash != std::string::npos) {
        std::string after;
        for (std::size_t i = slash + 1; i < s.size(); ++i)
            if (s[i] != '/') after += s[i];
        return NormaliseSingle(s.substr(0, slash)) + "/" + NormaliseSingle(after);
    }
    return NormaliseSingle(std::move(s));
}

int AutoDecimals(int sigDigs, double d) {
    if (!std::isfinite(d)) return 0;
    const std::string text = Format("%0.12f", {d});
    const auto dot = text.find('.');
    const int k = static_cast<int>(dot == std::string::npos ? text.size() : dot);
    int n = 0;
    if (k == 1) {
        n = 3;
        for (std::size_t i = dot + 1; i < text.size(); ++i) {
            if (text[i] != '0') {
                n = 2 + static_cast<int>(i - dot);
                break;
            }
        }
    } else {
        n = k < sigDigs ? sigDigs - k : 0;
    }
    return std::min(n, 12);
}

std::string RealFormatFor(std::string_view format, TFormatType type, int sigDigs, double d) {
    const std::string autoFormat = "%0." + std::to_string(AutoDecimals(sigDigs, d)) + "f";
    switch (type) {
    case ft_Auto: return autoFormat;
    case ft_AutoOverride:
        return std::pow(10.0, 2 - DecimalsOf(format)) > d ? autoFormat : std::string(format);
    case ft_Fixed:
    case ft_Manual: break;
    }
    return std::string(format);
}

std::string FormatReal(std::string_view format, TFormatType type, int sigDigs, double d) {
    return Format(RealFormatFor(format, type, sigDigs, d), {d});
}

long long RoundHalfEven(double d) {
    if (std::isnan(d)) return 0;
    // Outside ±9e18 the conversion to an integer would be undefined.
    d = std::clamp(d, -9.0e18, 9.0e18);
    double r = std::floor(d);
    const double rest = d - r;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
    return static_cast<long long>(r);
}

bool InRange(double& v, double lo, double hi) {
    if (std::fabs(lo - hi) < 1e-5 || (lo == 0 && hi == 0)) return true;
    if (v < lo) {
        if (lo != 0 && std::fabs((lo - v) / lo) <= 0.005) return true;
        v = lo;
        return false;
    }
    if (v > hi) {
        if (lo != 0 && hi != 0 && std::fabs((v - hi) / hi) <= 0.005) return true;
        v = hi;
        return false;
    }
    return true;
}

std::optional<double> ReadNumber(std::string_view text) {
    return TryStrToFloat(NormaliseNumber(text));
}

} // namespace dvx
