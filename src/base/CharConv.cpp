// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CharConv.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fmt/format.h>
#include <locale.h>
#include <string>

// libstdc++ has the floating-point overloads since GCC 11; libc++ (the
// WebAssembly build's) lacks them or has them deleted.
#if defined(__GLIBCXX__) && __cpp_lib_to_chars >= 201611L
#define DVX_STD_FLOAT_CHARCONV 1
#else
#define DVX_STD_FLOAT_CHARCONV 0
#endif

namespace dvx {

namespace portable {

namespace {

// The C locale, so that the reading never depends on the process's locale.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

std::to_chars_result Put(char* first, char* last, const std::string& text) {
    if (static_cast<std::size_t>(last - first) < text.size()) return {last, std::errc::value_too_large};
    std::memcpy(first, text.data(), text.size());
    return {first + text.size(), std::errc()};
}

} // namespace

std::to_chars_result ToChars(char* first, char* last, double value) {
    if (std::isnan(value)) return Put(first, last, std::signbit(value) ? "-nan" : "nan");
    if (std::isinf(value)) return Put(first, last, value < 0 ? "-inf" : "inf");
    const std::string sign = std::signbit(value) ? "-" : "";
    if (value == 0) return Put(first, last, sign + "0");
    // fmt's "{}" gives the shortest round-trip digits, but in plain or
    // scientific notation by rules of its own: take its digits and decimal
    // exponent and choose the notation as std::to_chars does.
    const std::string text = fmt::format("{}", std::fabs(value));
    std::string digits;
    int exponent = 0; // of the first digit
    const std::size_t e = text.find('e');
    const std::string mantissa = text.substr(0, e);
    int pointAt = static_cast<int>(mantissa.find('.'));
    if (pointAt < 0) pointAt = static_cast<int>(mantissa.size());
    for (char c : mantissa)
        if (c != '.') digits += c;
    exponent = pointAt - 1;
    if (e != std::string::npos) exponent += std::atoi(text.c_str() + e + 1);
    const std::size_t lead = digits.find_first_not_of('0');
    exponent -= static_cast<int>(lead);
    digits.erase(0, lead);
    digits.erase(digits.find_last_not_of('0') + 1);
    const int n = static_cast<int>(digits.size());

    std::string scientific = digits.substr(0, 1);
    if (n > 1) scientific += "." + digits.substr(1);
    const int absExponent = exponent < 0 ? -exponent : exponent;
    scientific += exponent < 0 ? "e-" : "e+";
    if (absExponent < 10) scientific += '0';
    scientific += std::to_string(absExponent);

    // A whole number in plain notation is written with all its digits, the
    // exact value (as std::to_chars does), not the shortest digits padded
    // with zeros.
    std::string plain;
    if (exponent >= n - 1) plain = fmt::format("{:.0f}", std::fabs(value));
    else if (exponent >= 0) plain = digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
                                    digits.substr(static_cast<std::size_t>(exponent + 1));
    else plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;

    return Put(first, last, sign + (plain.size() <= scientific.size() ? plain : scientific));
}

std::from_chars_result FromChars(const char* first, const char* last, double& value) {
    const char* p = first;
    if (p != last && *p == '-') ++p;
    const char* digitsStart = p;
    int digitCount = 0;
    while (p != last && *p >= '0' && *p <= '9') { ++p; ++digitCount; }
    if (p != last && *p == '.') {
        ++p;
        while (p != last && *p >= '0' && *p <= '9') { ++p; ++digitCount; }
    }
    if (digitCount == 0) return {first, std::errc::invalid_argument};
    (void)digitsStart;
    // An exponent counts only when it has digits; otherwise the number ends
    // before the 'e'.
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q != last && (*q == '+' || *q == '-')) ++q;
        if (q != last && *q >= '0' && *q <= '9') {
            while (q != last && *q >= '0' && *q <= '9') ++q;
            p = q;
        }
    }
    const std::string text(first, p);
    errno = 0;
    const double result = strtod_l(text.c_str(), nullptr, CLocale());
    if (errno == ERANGE && (result == 0 || std::isinf(result))) return {p, std::errc::result_out_of_range};
    value = result;
    return {p, std::errc()};
}

} // namespace portable

std::to_chars_result ToChars(char* first, char* last, double value) {
#if DVX_STD_FLOAT_CHARCONV
    return std::to_chars(first, last, value);
#else
    return portable::ToChars(first, last, value);
#endif
}

std::from_chars_result FromChars(const char* first, const char* last, double& value) {
#if DVX_STD_FLOAT_CHARCONV
    return std::from_chars(first, last, value, std::chars_format::general);
#else
    return portable::FromChars(first, last, value);
#endif
}

} // namespace dvx
