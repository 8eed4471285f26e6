// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/TechSheet.h"

#include "presentation/widgets/EntrySheet.h"

#include <algorithm>

namespace dvx {

namespace {

bool NameStart(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80; }
bool NameChar(unsigned char c) { return NameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

} // namespace

std::string XmlElementName(std::string_view text) {
    std::string name;
    for (char ch : text) name += NameChar(static_cast<unsigned char>(ch)) ? ch : '_';
    // A name must not start with a digit, "-" or "." (the coefficient that
    // names the outer element of the Fittings Editor's text is a number).
    if (name.empty() || !NameStart(static_cast<unsigned char>(name.front()))) name.insert(name.begin(), '_');
    return name;
}

std::string XmlEscape(std::string_view text) {
    std::string out;
    for (char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string SheetToXml(const TEntrySheet& sheet) {
    const std::string eol = "\r\n";
    const std::string outer = XmlElementName(sheet.RowCount() > 1 ? sheet.Cell(1, 1) : std::string());
    std::string text = "<?xml version=\"1.0\"?>" + eol;
    text += "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
            "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">" +
            eol;
    text += "<" + outer + ">" + eol;
    for (int row = 2; row < sheet.RowCount(); ++row) {
        const std::string name = XmlElementName(sheet.Cell(0, row));
        text += "  <" + name + " Units=\"" + XmlEscape(sheet.Cell(2, row)) + "\">" + XmlEscape(sheet.Cell(1, row)) +
                "</" + name + ">" + eol;
    }
    text += "</" + outer + ">";
    return text;
}

TAlignResult AlignSheet(const TAlignInput& in) {
    TAlignResult out;
    int sum = 0;
    for (std::size_t c = 0; c < in.WidestText.size(); ++c) {
        const int widest = std::max(50, in.WidestText[c]);
        int width = widest + 15;
        if (c == 0) width = std::max(widest + 10, 90);
        if (c == 1) width = std::max(widest + 25, 60);
        out.ColumnWidths.push_back(width);
        sum += width;
    }
    const int k = in.SingleBorder ? 3 : -1;
    const int height = (in.RowHeight + in.GridLineWidth) * in.RowCount + k + in.ToolBarHeight + in.StatusBarHeight +
                       (in.WindowHeight - in.ClientHeight) + 2;
    out.WindowHeight = std::min(height, 400);
    out.WindowWidth = in.WindowWidth + k + sum + in.GridLineWidth * static_cast<int>(in.WidestText.size()) -
                      in.ClientWidth + (height > 400 ? in.ScrollBarWidth : 0);
    return out;
}

} // namespace dvx
