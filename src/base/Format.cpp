// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Format.h"

#include "base/Money.h"

#include <cmath>
#include <fmt/format.h>
#include <fmt/printf.h>

namespace dvx {

namespace {

struct Spec {
    std::string flags;  // any of "-0+ #"
    std::string width;  // digits, may be empty
    std::string precision; // digits after ".", may be empty
    bool hasPrecision = false;
    char conversion = 0;
};

std::string Pad(std::string text, const Spec& spec) {
    if (spec.width.empty()) return text;
    std::size_t width = static_cast<std::size_t>(std::stoul(spec.width));
    if (text.size() >= width) return text;
    if (spec.flags.find('-') != std::string::npos) return text + std::string(width - text.size(), ' ');
    return std::string(width - text.size(), ' ') + text;
}

double AsDouble(const FmtArg& arg) {
    const auto& v = arg.Value();
    if (auto d = std::get_if<double>(&v)) return *d;
    if (auto i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    throw FormatError("Format: a number was expected");
}

std::int64_t AsInteger(const FmtArg& arg) {
    const auto& v = arg.Value();
    if (auto i = std::get_if<std::int64_t>(&v)) return *i;
    if (auto d = std::get_if<double>(&v)) {
        if (!std::isfinite(*d)) throw FormatError("Format: an integer was expected");
        return static_cast<std::int64_t>(std::llround(*d));
    }
    throw FormatError("Format: an integer was expected");
}

std::string AsText(const FmtArg& arg) {
    const auto& v = arg.Value();
    if (auto s = std::get_if<std::string>(&v)) return *s;
    if (auto i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
    return fmt::format("{}", std::get<double>(v));
}

// Rebuilds the C conversion for fmt::sprintf, which formats like printf but
// never consults the locale.
std::string CSpec(const Spec& spec, const char* length, char conversion) {
    std::string out = "%" + spec.flags + spec.width;
    if (spec.hasPrecision) out += "." + spec.precision;
    out += length;
    out += conversion;
    return out;
}

std::string FormatOne(const Spec& spec, const FmtArg& arg) {
    switch (spec.conversion) {
    case 'd':
    case 'u':
        return fmt::sprintf(CSpec(spec, "ll", 'd'), static_cast<long long>(AsInteger(arg)));
    case 'x':
    case 'X':
        return fmt::sprintf(CSpec(spec, "ll", spec.conversion), static_cast<long long>(AsInteger(arg)));
    case 'f':
    case 'e':
    case 'E':
    case 'g':
    case 'G': {
        double value = AsDouble(arg);
        if (std::isnan(value)) return Pad("NAN", spec);
        if (std::isinf(value)) return Pad(value > 0 ? "INF" : "-INF", spec);
        return fmt::sprintf(CSpec(spec, "", spec.conversion), value);
    }
    case 's':
    case 'S': {
        std::string text = AsText(arg);
        if (spec.hasPrecision && !spec.precision.empty()) {
            std::size_t n = std::stoul(spec.precision);
            if (text.size() > n) text.resize(n);
        }
        return Pad(text, spec);
    }
    case 'm': {
        int decimals = spec.hasPrecision && !spec.precision.empty() ? std::stoi(spec.precision) : -1;
        return Pad(FormatMoney(AsDouble(arg), decimals), spec);
    }
    default:
        throw FormatError(fmt::format("Format: unknown conversion '%{}'", spec.conversion));
    }
}

} // namespace

std::string Format(std::string_view format, std::initializer_list<FmtArg> args) {
    std::string out;
    out.reserve(format.size() + 16);
    auto next = args.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        Spec spec;
        std::size_t j = i + 1;
        while (j < format.size() && std::string_view("-0+ #").find(format[j]) != std::string_view::npos)
            spec.flags += format[j++];
        while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j])))
            spec.width += format[j++];
        if (j < format.size() && format[j] == '.') {
            spec.hasPrecision = true;
            ++j;
            while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j])))
                spec.precision += format[j++];
        }
        if (j >= format.size()) throw FormatError(fmt::format("Format: '{}' ends inside a conversion", format));
        spec.conversion = format[j];
        if (next == args.end())
            throw FormatError(fmt::format("Format: '{}' needs more arguments", format));
        out += FormatOne(spec, *next++);
        i = j + 1;
    }
    return out;
}

std::string Abbreviate(std::string_view text, std::size_t maxLength) {
    if (text.size() <= maxLength) return std::string(text);
    std::size_t keep = maxLength > 3 ? maxLength - 3 : 0;
    // Step back over UTF-8 continuation bytes so no character is split.
    while (keep > 0 && (static_cast<unsigned char>(text[keep]) & 0xC0) == 0x80) --keep;
    return std::string(text.substr(0, keep)) + "...";
}

} // namespace dvx
