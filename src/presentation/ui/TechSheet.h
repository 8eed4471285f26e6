// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the property-sheet tool window computes without its widgets: the XML
// text of "Copy to XML" and the arithmetic of "Align".

#include <string>
#include <string_view>
#include <vector>

namespace dvx {

class TEntrySheet;

// An element name made of a text: blanks become "_", any other character
// that may not stand in an XML name becomes "_", and a name that would not
// start with a letter or "_" (a number, for instance) gets a leading "_".
std::string XmlElementName(std::string_view text);
// Text with &, <, > and " written as character references.
std::string XmlEscape(std::string_view text);

// The sheet as an XHTML 1.0 Transitional document: the XML declaration, the
// document type, then an element named by row 1's value text holding one
// element per further row (named by its caption, attribute Units = its
// units text, content = its value text). Lines end in CR LF, the last one
// has no line end.
std::string SheetToXml(const TEntrySheet& sheet);

// Sizes for "Align", in pixels.
struct TAlignInput {
    std::vector<int> WidestText; // per column: the widest cell text in the sheet's font
    int RowHeight = 16;
    int RowCount = 0;            // sheet rows, the heading included
    int GridLineWidth = 1;
    bool SingleBorder = true;    // the sheet has a single-line border
    int ToolBarHeight = 0;
    int StatusBarHeight = 0;
    int WindowWidth = 0;         // outer size of the window, frame included
    int WindowHeight = 0;
    int ClientWidth = 0;         // inside the frame
    int ClientHeight = 0;
    int ScrollBarWidth = 19;     // added when the rows do not fit
};
struct TAlignResult {
    std::vector<int> ColumnWidths;
    int WindowWidth = 0;  // outer size
    int WindowHeight = 0; // outer size, at most 400
};
// Column 0: widest (at least 50) + 10, at least 90; column 1: + 25, at least
// 60; further columns: + 15. The window is as high as the rows, bars and
// frame need, at most 400, and as wide as the columns need, plus a scroll
// bar's width when the rows do not fit.
TAlignResult AlignSheet(const TAlignInput& in);

} // namespace dvx
