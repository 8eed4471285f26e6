// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/units/NominalInches.h"

#include "base/Format.h"
#include "base/Numbers.h"

#include <array>
#include <cmath>
#include <string>

namespace dvx {

namespace {

struct TDesignation {
    double Mm;       // nominal size, mm
    double Inches;   // the designation's value
    const char* Text;
};

// The twenty standard bores, smallest first.
constexpr std::array<TDesignation, 20> kDesignations = {{
    {15, 0.5, "½\""},    {20, 0.75, "¾\""},  {25, 1, "1\""},     {32, 1.25, "1¼\""},
    {40, 1.5, "1½\""},   {50, 2, "2\""},     {65, 2.5, "2½\""},  {80, 3, "3\""},
    {100, 4, "4\""},     {125, 5, "5\""},    {150, 6, "6\""},    {200, 8, "8\""},
    {250, 10, "10\""},   {300, 12, "12\""},  {350, 14, "14\""},  {400, 16, "16\""},
    {450, 18, "18\""},   {500, 20, "20\""},  {600, 24, "24\""},  {750, 30, "30\""},
}};

const TDesignation* Find(double nominalMm) {
    for (const TDesignation& d : kDesignations)
        if (std::fabs(d.Mm - nominalMm) < 1e-9) return &d;
    return nullptr;
}

// Unicode vulgar fractions an engineer may paste or type.
struct TFractionGlyph {
    std::string_view Utf8;
    double Value;
};
constexpr std::array<TFractionGlyph, 3> kGlyphs = {{{"¼", 0.25}, {"½", 0.5}, {"¾", 0.75}}};

bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// "a/b" with whole numbers a and b > 0.
std::optional<double> ReadFraction(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    auto num = TryStrToInt(text.substr(0, slash));
    auto den = TryStrToInt(text.substr(slash + 1));
    if (!num || !den || *num < 0 || *den <= 0) return std::nullopt;
    return static_cast<double>(*num) / *den;
}

// A plain number or a fraction, without blanks inside.
std::optional<double> ReadPart(std::string_view text) {
    if (text.find('/') != std::string_view::npos) return ReadFraction(text);
    return TryStrToFloat(text);
}

} // namespace

std::optional<std::string> InchDesignation(double nominalMm) {
    if (const TDesignation* d = Find(nominalMm)) return std::string(d->Text);
    return std::nullopt;
}

double NominalInches(double nominalMm) {
    if (const TDesignation* d = Find(nominalMm)) return d->Inches;
    return nominalMm / 25.4;
}

double NominalMmForInches(double inches) {
    const TDesignation* best = &kDesignations.front();
    for (const TDesignation& d : kDesignations)
        if (std::fabs(d.Inches - inches) < std::fabs(best->Inches - inches)) best = &d;
    return best->Mm;
}

std::string NominalInchText(double nominalMm) {
    if (auto text = InchDesignation(nominalMm)) return *text;
    return FormatFloat("%0.2f", nominalMm / 25.4) + "\"";
}

std::optional<double> ParseInches(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    if (EndsWith(s, "\"")) s = TrimBlanks(s.substr(0, s.size() - 1));
    else if (EndsWith(s, "in")) s = TrimBlanks(s.substr(0, s.size() - 2));
    if (s.empty()) return std::nullopt;

    // A trailing fraction glyph: "1¼", "¾".
    double glyph = 0;
    for (const TFractionGlyph& g : kGlyphs) {
        if (EndsWith(s, g.Utf8)) {
            glyph = g.Value;
            s = TrimBlanks(s.substr(0, s.size() - g.Utf8.size()));
            if (!s.empty() && s.back() == '-') s = TrimBlanks(s.substr(0, s.size() - 1));
            break;
        }
    }
    std::optional<double> value;
    if (s.empty()) {
        if (glyph > 0) value = 0.0;
    } else if (glyph > 0) {
        auto whole = TryStrToInt(s);
        if (whole && *whole >= 0) value = *whole;
    } else {
        // "1 1/4" or "1-1/4": a whole number, then a fraction.
        const std::size_t sep = s.find_first_of(" -", 1);
        if (sep != std::string_view::npos && s.find('/') != std::string_view::npos && s.find('/') > sep) {
            auto whole = TryStrToInt(s.substr(0, sep));
            auto fraction = ReadFraction(TrimBlanks(s.substr(sep + 1)));
            if (whole && *whole >= 0 && fraction) value = *whole + *fraction;
        } else {
            value = ReadPart(s);
        }
    }
    if (!value) return std::nullopt;
    const double inches = *value + glyph;
    if (!(inches > 0) || !std::isfinite(inches)) return std::nullopt;
    return inches;
}

} // namespace dvx
