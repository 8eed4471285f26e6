// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A report routine for preview tests: a title, the date, two headings and a
// header row on the first page; date, headings and header row on the
// following ones; `rows` table rows of four columns; a rule closes each page.

#include "presentation/report/PageEngine.h"

#include <array>
#include <string>

namespace dvx::test {

class DemoReport : public TReportRoutine {
public:
    explicit DemoReport(int rows) : rows(rows) {}

    void PageHeader(TPageEngine& e, bool first) override {
        if (first) e.TextBlock({"Demo Report"}, 4, 2);
        e.DateLine(Today());
        e.TextBlock({"Pump circuit", "Level 2 plant room"}, 2, 2);
        tableTop = e.PenY();
        Row(e, {"Item", "Bore", "Flow", "dP"}, true);
    }
    void ReportBody(TPageEngine& e) override {
        for (int i = 1; i <= rows; ++i) {
            e.EnsureSpace(1);
            Row(e, {std::to_string(i), "Pipe " + std::to_string(i % 7 + 1) + "00 mm",
                    std::to_string(i * 3 % 17) + ".25", std::to_string(i % 11) + ".5"},
                false);
        }
        if (e.PageCount() == 1) PageEnd(e);
    }
    void PageEnd(TPageEngine& e) override {
        int bottom = e.PenY() + e.HalfLine();
        e.Rule(e.LeftPx(), e.RightPx());
        for (int x : {e.LeftPx(), e.TabPx(1), e.TabPx(2), e.TabPx(4), e.RightPx()})
            e.VerticalLine(x, tableTop, bottom);
    }
    std::string JobTitle() const override { return "Demo Report"; }

    int rows;

private:
    void Row(TPageEngine& e, const std::array<std::string, 4>& cells, bool bold) {
        const int edges[5] = {e.LeftPx(), e.TabPx(1), e.TabPx(2), e.TabPx(4), e.RightPx()};
        e.Canvas().SetBold(bold);
        for (int c = 0; c < 4; ++c)
            e.CellText(edges[c], edges[c + 1], " " + cells[c], c == 0 || bold ? 1 : 0, !bold);
        e.Canvas().SetBold(false);
        e.LineFeed(1);
    }

    int tableTop = 0;
};

} // namespace dvx::test
