// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/FieldValue.h"

#include "base/Format.h"
#include "base/Numbers.h"

#include <cmath>
#include <limits>

namespace dvx {

namespace {

FmtArg ToArg(const TValue& value) {
    if (auto i = std::get_if<int>(&value)) return FmtArg(*i);
    if (auto d = std::get_if<double>(&value)) return FmtArg(*d);
    return FmtArg(std::get<std::string>(value));
}

std::optional<double> ToInternal(double display, const TNumberView& view) {
    if (view.Factor == 0 || !std::isfinite(view.Factor)) return std::nullopt;
    return (display - view.Zero) / view.Factor;
}

double ToDisplay(double internal, const TNumberView& view) {
    return internal * view.Factor + view.Zero;
}

// Splits a normalised pair text at its "/"; a text without "/" gives one part.
std::optional<std::pair<std::optional<double>, std::optional<double>>> ReadPair(
    const std::string& normalised) {
    auto slash = normalised.find('/');
    if (slash == std::string::npos) {
        auto one = TryStrToFloat(normalised);
        if (!one) return std::nullopt;
        return std::make_pair(one, std::optional<double>());
    }
    auto a = TryStrToFloat(normalised.substr(0, slash));
    auto b = TryStrToFloat(normalised.substr(slash + 1));
    if (!a || !b) return std::nullopt;
    return std::make_pair(a, b);
}

// A text put through a text format. A format with no conversion at all (an
// empty one, say) would swallow the text, so the text is then kept as it is.
std::string ApplyTextFormat(const std::string& format, const TValue& value) {
    if (format.find('%') == std::string::npos) return ValueAsText(value);
    return Format(format, {ToArg(value)});
}

std::string FirstOfPair(const std::string& format) {
    return format.substr(0, format.find('/'));
}

} // namespace

std::optional<double> ValueAsNumber(const TValue& value) {
    if (auto i = std::get_if<int>(&value)) return static_cast<double>(*i);
    if (auto d = std::get_if<double>(&value)) return *d;
    return TryStrToFloat(std::get<std::string>(value));
}

std::string ValueAsText(const TValue& value) {
    if (auto i = std::get_if<int>(&value)) return std::to_string(*i);
    if (auto d = std::get_if<double>(&value)) return FloatToStr(*d);
    return std::get<std::string>(value);
}

TValue ReadFieldText(TFormatClass cls, const std::string& text, const TNumberView& view) {
    try {
        switch (cls) {
        case TFormatClass::Text: return ApplyTextFormat(view.Format, text);
        case TFormatClass::Pair: {
            auto pair = ReadPair(NormaliseNumber(text));
            if (!pair) return text;
            auto a = ToInternal(*pair->first, view);
            if (!a) return text;
            if (!pair->second) return Format("%0.4g", {*a});
            auto b = ToInternal(*pair->second, view);
            if (!b) return text;
            return Format(view.Format, {*a, *b});
        }
        case TFormatClass::Integer:
        case TFormatClass::Real: {
            auto number = ReadNumber(text);
            if (!number) return text;
            auto internal = ToInternal(*number, view);
            if (!internal || !std::isfinite(*internal)) return text;
            if (cls == TFormatClass::Real) return *internal;
            long long rounded = RoundHalfEven(*internal);
            if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max())
                return text;
            return static_cast<int>(rounded);
        }
        }
    } catch (const FormatError&) {
    }
    return text;
}

std::optional<std::string> WriteFieldValue(TFormatClass cls, const TValue& value,
                                           const TNumberView& view) {
    try {
        switch (cls) {
        case TFormatClass::Text: return ApplyTextFormat(view.Format, value);
        case TFormatClass::Pair: {
            auto pair = ReadPair(NormaliseNumber(ValueAsText(value)));
            if (!pair || !pair->second) return std::nullopt;
            return Format(view.Format,
                          {ToDisplay(*pair->first, view), ToDisplay(*pair->second, view)});
        }
        case TFormatClass::Integer: {
            auto number = ValueAsNumber(value);
            if (!number) return std::nullopt;
            double d = ToDisplay(*number, view);
            if (!std::isfinite(d)) return std::nullopt;
            return Format(view.Format, {RoundHalfEven(d)});
        }
        case TFormatClass::Real: {
            auto number = ValueAsNumber(value);
            if (!number) return std::nullopt;
            return FormatReal(view.Format, view.FormatType, view.SigDigs, ToDisplay(*number, view));
        }
        }
    } catch (const FormatError&) {
    }
    return std::nullopt;
}

TValidated ValidateText(TFormatClass cls, const std::string& text, const TNumberView& view,
                        double displayLo, double displayHi) {
    try {
        switch (cls) {
        case TFormatClass::Text: return {ApplyTextFormat(view.Format, text), true};
        case TFormatClass::Pair: {
            auto pair = ReadPair(NormaliseNumber(text));
            if (!pair) return {text, true};
            double a = *pair->first;
            bool ok = InRange(a, displayLo, displayHi);
            if (!pair->second) return {Format(FirstOfPair(view.Format), {a}), ok};
            double b = *pair->second;
            ok = InRange(b, displayLo, displayHi) && ok;
            return {Format(view.Format, {a, b}), ok};
        }
        case TFormatClass::Integer:
        case TFormatClass::Real: {
            auto number = ReadNumber(text);
            if (!number || !std::isfinite(*number)) return {text, true};
            double v = *number;
            bool ok = InRange(v, displayLo, displayHi);
            if (cls == TFormatClass::Integer) return {Format(view.Format, {RoundHalfEven(v)}), ok};
            return {FormatReal(view.Format, view.FormatType, view.SigDigs, v), ok};
        }
        }
    } catch (const FormatError&) {
    }
    return {text, true};
}

} // namespace dvx
