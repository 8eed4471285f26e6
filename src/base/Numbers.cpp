// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Numbers.h"

#include "base/CharConv.h"
#include "base/Errors.h"
#include "base/QuotedText.h"

#include <charconv>
#include <cmath>
#include <fmt/format.h>
#include <limits>

namespace dvx {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<double> TryStrToFloat(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // from_chars would also accept "inf" and "nan"; a number typed or stored
    // by the program is always digits, a point and an exponent.
    if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s.front())) || s.front() == '.'))
        return std::nullopt;
    double value = 0;
    auto [end, ec] = FromChars(s.data(), s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is not a usable number.
        bool tiny = false;
        for (char c : s) {
            if (c == '-' ) { tiny = true; break; }
        }
        if (!tiny) return std::nullopt;
        value = 0;
        end = s.data() + s.size();
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    if (end != s.data() + s.size()) return std::nullopt;
    return negative ? -value : value;
}

double StrToFloat(std::string_view text) {
    if (auto v = TryStrToFloat(text)) return *v;
    throw ConvertError(fmt::format("'{}' is not a valid floating point value", QuotedText(text)));
}

std::optional<int> TryStrToInt(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    } else if (s.size() > 1 && s[0] == '$') {
        base = 16;
        s.remove_prefix(1);
    }
    if (s.empty() || s.front() == '+' || s.front() == '-') return std::nullopt;
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    if (negative) value = -value;
    if (base == 16 && !negative && value > std::numeric_limits<int>::max() &&
        value <= static_cast<std::int64_t>(std::numeric_limits<std::uint32_t>::max()))
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

int StrToInt(std::string_view text) {
    if (auto v = TryStrToInt(text)) return *v;
    throw ConvertError(fmt::format("'{}' is not a valid integer value", QuotedText(text)));
}

std::string FloatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";
    // Fixed notation while the decimal exponent lies in [-5, 15), else a
    // mantissa with an "E" exponent, as the general format of the program's
    // catalogue and settings files has always read.
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    std::string digits = fmt::format("{:.14e}", value); // 15 significant digits
    // Re-derive the exponent from the rounded mantissa (9.9999999999999995 -> 1E1).
    auto epos = digits.find('e');
    exponent = std::stoi(digits.substr(epos + 1));
    if (exponent >= -5 && exponent < 15) {
        std::string fixed = fmt::format("{:.{}f}", value, std::max(0, 14 - exponent));
        if (fixed.find('.') != std::string::npos) {
            while (fixed.back() == '0') fixed.pop_back();
            if (fixed.back() == '.') fixed.pop_back();
        }
        return fixed;
    }
    std::string mantissa = digits.substr(0, epos);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0') mantissa.pop_back();
        if (mantissa.back() == '.') mantissa.pop_back();
    }
    return fmt::format("{}E{}", mantissa, exponent);
}

std::string FloatToStr17(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    return fmt::format("{:.17g}", value);
}

} // namespace dvx
