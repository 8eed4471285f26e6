// SPDX-License-Identifier: GPL-3.0-or-later
// The XML text of a property sheet and the sizes "Align" gives.

#include "presentation/ui/TechSheet.h"
#include "presentation/widgets/EntrySheet.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(TechSheetTest, XmlOfASheetWithUnitsAndTextsThatNeedEscaping) {
    TEntrySheet sheet;
    sheet.SetLines({"Property; Value; Units", "Liquid Name; %S; ; NPE", "Density; %0.1f; kg/m3; NPE; 0; 5000",
                    "Note; %S; ; NPE", "Flow rate; %0.2f; l/s; NPE; 0; 100"});
    sheet.SetCell(1, 1, "Clean Water");
    sheet.SetValue(1, 2, 999.7);
    sheet.SetCell(1, 3, "a<b & \"c\"");
    sheet.SetValue(1, 4, 2.5);
    EXPECT_EQ(SheetToXml(sheet),
              "<?xml version=\"1.0\"?>\r\n"
              "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
              "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"
              "<Clean_Water>\r\n"
              "  <Density Units=\"kg/m3\">999.7</Density>\r\n"
              "  <Note Units=\"\">a&lt;b &amp; &quot;c&quot;</Note>\r\n"
              "  <Flow_rate Units=\"l/s\">2.50</Flow_rate>\r\n"
              "</Clean_Water>");
}

TEST(TechSheetTest, ElementNamesAreValidXmlNames) {
    EXPECT_EQ(XmlElementName("Std Elbow 90 deg"), "Std_Elbow_90_deg");
    EXPECT_EQ(XmlElementName("30"), "_30");
    EXPECT_EQ(XmlElementName(""), "_");
    EXPECT_EQ(XmlElementName("-1.5"), "_-1.5");
    EXPECT_EQ(XmlElementName("Tee (branch)/side"), "Tee__branch__side");
}

TEST(TechSheetTest, AlignWidensColumnsToTheirTextsWithMinimums) {
    TAlignInput in;
    in.WidestText = {40, 30, 70};
    in.RowHeight = 16;
    in.RowCount = 5;
    in.GridLineWidth = 1;
    in.SingleBorder = true;
    in.ToolBarHeight = 30;
    in.StatusBarHeight = 20;
    in.WindowWidth = 300;
    in.WindowHeight = 200;
    in.ClientWidth = 292;
    in.ClientHeight = 170;
    TAlignResult out = AlignSheet(in);
    // Column 0: max(50 + 10, 90); column 1: max(50 + 25, 60); column 2: 70 + 15.
    EXPECT_EQ(out.ColumnWidths, (std::vector<int>{90, 75, 85}));
    // 17 × 5 + 3 + 30 + 20 + 30 + 2
    EXPECT_EQ(out.WindowHeight, 170);
    // 300 + 3 + 250 + 3 − 292
    EXPECT_EQ(out.WindowWidth, 264);

    // Without a border k is −1; tall sheets are capped at 400 and get room
    // for the scroll bar.
    in.SingleBorder = false;
    in.RowCount = 25;
    in.WidestText = {120, 20};
    out = AlignSheet(in);
    EXPECT_EQ(out.ColumnWidths, (std::vector<int>{130, 75}));
    EXPECT_EQ(out.WindowHeight, 400); // 17 × 25 − 1 + 30 + 20 + 30 + 2 = 506
    EXPECT_EQ(out.WindowWidth, 300 - 1 + 205 + 2 - 292 + 19);
}

} // namespace
} // namespace dvx
