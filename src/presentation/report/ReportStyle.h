// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Report styles: the page margins, tab positions, zoom and font a report is
// laid out with. The program keeps two of them, "Report" for the circuit
// report and "Report 2" for the price estimate, read from the settings store
// at start-up and written back at exit.

#include "presentation/report/StyleStorage.h"

#include <array>
#include <string>

namespace dvx {

// Index of each of the twelve margin lines in a TMarginValues array and in
// the preview's line tables.
enum TMarginLine : int {
    mlLeft = 0,
    mlRight = 1,
    mlTop = 2,
    mlBottom = 3,
    mlX1 = 4, // tab positions X1 … X8 follow in order
    mlX2 = 5,
    mlX3 = 6,
    mlX4 = 7,
    mlX5 = 8,
    mlX6 = 9,
    mlX7 = 10,
    mlX8 = 11,
};
inline constexpr int kMarginLineCount = 12;
inline constexpr int kTabCount = 8;

// Left, right, top, bottom margin, then tab positions X1 … X8, all in cm.
// Margins are distances from their page edge; tabs are measured from the
// page's left edge.
using TMarginValues = std::array<double, kMarginLineCount>;

// Built-in values: 2.5 cm margins, tabs at 3.5, 11, 12 … 17 cm.
TMarginValues BuiltInMargins();

// Font style bits as stored in the settings.
enum TFontStyleBits : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TReportFont {
    std::string name;  // family name; empty means the toolkit's default family
    int charset = 1;   // character-set number, kept for the settings store only
    int style = 0;     // TFontStyleBits
    int size = 10;     // points
    int color = 0;     // 0x00BBGGRR

    bool operator==(const TReportFont&) const = default;
};

struct TReportStyle {
    TMarginValues margins = BuiltInMargins();  // in force, cm
    TMarginValues defaults = BuiltInMargins(); // what "Reset margins" restores, cm
    int zoom = 0;                              // 0 = 100 %, 1 = full page
    TReportFont font;
};

// Where a style lives in the settings store and how its keys are spelt.
struct TStyleKeys {
    std::string section;
    std::array<std::string, kMarginLineCount> margins; // in TMarginLine order
};

const TStyleKeys& CircuitStyleKeys(); // section "Report", tabs "mX1" … "mX8"
const TStyleKeys& PriceStyleKeys();   // section "Report 2", tabs "X1 margin" …

// Reads a style; every missing or unreadable value takes the style's
// default (its `defaults` entry for margins, `defaultFont` for the font).
void ReadReportStyle(TStyleStorage& store, const TStyleKeys& keys, TReportStyle& style,
                     const TReportFont& defaultFont);
void WriteReportStyle(TStyleStorage& store, const TStyleKeys& keys, const TReportStyle& style);

// The program's two styles.
TReportStyle& CircuitReportStyle(); // "Report"
TReportStyle& PriceReportStyle();   // "Report 2"

void ReadReportStyles(TStyleStorage& store, const TReportFont& defaultFont);
void WriteReportStyles(TStyleStorage& store);

} // namespace dvx
