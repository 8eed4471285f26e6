// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// printf-style formatting of the format strings the program holds as data
// ("%0.1f", "%0.4g", "%3d", "%s", "%m" …). Numbers always use "." as the
// decimal separator and no thousands separator (money excepted), whatever
// the process locale.
//
// Conversions: d (integer), f, e, g (floating point; g gives at most N
// significant digits and drops trailing zeros), s and S (text), m (money in
// the user's currency format, see Money.h), x (hexadecimal) and "%%".
// Flags "-" and "0", a width and a precision may stand between "%" and the
// conversion letter. A format that asks for more arguments than given, or an
// unknown conversion letter, raises FormatError.

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace dvx {

class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One argument of Format: an integer, a floating-point number or a text.
class FmtArg {
public:
    FmtArg(int v) : value_(static_cast<std::int64_t>(v)) {}
    FmtArg(long v) : value_(static_cast<std::int64_t>(v)) {}
    FmtArg(long long v) : value_(static_cast<std::int64_t>(v)) {}
    FmtArg(unsigned v) : value_(static_cast<std::int64_t>(v)) {}
    FmtArg(unsigned long v) : value_(static_cast<std::int64_t>(v)) {}
    FmtArg(double v) : value_(v) {}
    FmtArg(const char* v) : value_(std::string(v)) {}
    FmtArg(std::string v) : value_(std::move(v)) {}
    FmtArg(std::string_view v) : value_(std::string(v)) {}

    const std::variant<std::int64_t, double, std::string>& Value() const { return value_; }

private:
    std::variant<std::int64_t, double, std::string> value_;
};

std::string Format(std::string_view format, std::initializer_list<FmtArg> args);

// text cut to at most maxLength bytes for quoting in a message, ending in
// "..." when it was cut (never inside a UTF-8 sequence).
std::string Abbreviate(std::string_view text, std::size_t maxLength);

// Convenience for the single-number case: Format("%0.4g", {x}).
inline std::string FormatFloat(std::string_view format, double value) {
    return Format(format, {FmtArg(value)});
}

} // namespace dvx
