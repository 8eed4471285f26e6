// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/ReportStyle.h"

#include "base/Numbers.h"
#include "storage/settings/SettingsKeys.h"

#include <cmath>

namespace dvx {

namespace {

// The largest margin or tab value accepted from the store, cm. Anything
// beyond is a damaged entry (no sheet is a metre wide) and reads as default.
constexpr double kLargestStoredCm = 100.0;

// Font sizes accepted from the store, points.
constexpr int kSmallestFontSize = 1;
constexpr int kLargestFontSize = 400;

double ReadCm(TStyleStorage& store, const std::string& section, const std::string& key,
              double def) {
    std::string text = store.ReadText(section, key, "");
    auto value = TryStrToFloat(text);
    if (!value || !std::isfinite(*value) || *value < 0 || *value > kLargestStoredCm) return def;
    return *value;
}

} // namespace

TMarginValues BuiltInMargins() {
    TMarginValues m{};
    for (int i = 0; i < 4; ++i) m[i] = settings::kDefaultMargin;
    for (int i = 0; i < kTabCount; ++i) m[mlX1 + i] = settings::kDefaultTabs[i];
    return m;
}

namespace {

TStyleKeys MakeKeys(const char* section, const std::array<const char*, kTabCount>& tabs) {
    TStyleKeys keys{section, {}};
    for (int i = 0; i < 4; ++i) keys.margins[i] = settings::kMarginKeys[i];
    for (int i = 0; i < kTabCount; ++i) keys.margins[mlX1 + i] = tabs[i];
    return keys;
}

} // namespace

const TStyleKeys& CircuitStyleKeys() {
    static const TStyleKeys keys = MakeKeys(settings::kReportSection, settings::kReportTabKeys);
    return keys;
}

const TStyleKeys& PriceStyleKeys() {
    static const TStyleKeys keys = MakeKeys(settings::kReport2Section, settings::kReport2TabKeys);
    return keys;
}

void ReadReportStyle(TStyleStorage& store, const TStyleKeys& keys, TReportStyle& style,
                     const TReportFont& defaultFont) {
    const std::string& s = keys.section;
    for (int i = 0; i < kMarginLineCount; ++i)
        style.margins[i] = ReadCm(store, s, keys.margins[i], style.defaults[i]);

    int zoom = store.ReadInt(s, settings::kZoom, settings::kDefaultZoom);
    style.zoom = (zoom == 0 || zoom == 1) ? zoom : 0;

    TReportFont font = defaultFont;
    font.name = store.ReadText(s, "Name", defaultFont.name);
    if (font.name.empty()) font.name = defaultFont.name;
    font.charset = store.ReadInt(s, "Charset", defaultFont.charset);
    font.style = store.ReadInt(s, "Style", defaultFont.style) & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    int size = store.ReadInt(s, "Size", defaultFont.size);
    font.size = (size >= kSmallestFontSize && size <= kLargestFontSize) ? size : defaultFont.size;
    font.color = store.ReadInt(s, "Color", defaultFont.color);
    style.font = font;
}

void WriteReportStyle(TStyleStorage& store, const TStyleKeys& keys, const TReportStyle& style) {
    const std::string& s = keys.section;
    for (int i = 0; i < kMarginLineCount; ++i)
        store.WriteText(s, keys.margins[i], FloatToStr(style.margins[i]));
    store.WriteInt(s, settings::kZoom, style.zoom);
    store.WriteText(s, "Name", style.font.name);
    store.WriteInt(s, "Charset", style.font.charset);
    store.WriteInt(s, "Style", style.font.style);
    store.WriteInt(s, "Size", style.font.size);
    store.WriteInt(s, "Color", style.font.color);
    store.Flush();
}

TReportStyle& CircuitReportStyle() {
    static TReportStyle style;
    return style;
}

TReportStyle& PriceReportStyle() {
    static TReportStyle style;
    return style;
}

void ReadReportStyles(TStyleStorage& store, const TReportFont& defaultFont) {
    ReadReportStyle(store, CircuitStyleKeys(), CircuitReportStyle(), defaultFont);
    ReadReportStyle(store, PriceStyleKeys(), PriceReportStyle(), defaultFont);
}

void WriteReportStyles(TStyleStorage& store) {
    WriteReportStyle(store, CircuitStyleKeys(), CircuitReportStyle());
    WriteReportStyle(store, PriceStyleKeys(), PriceReportStyle());
}

} // namespace dvx
