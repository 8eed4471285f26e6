// SPDX-License-Identifier: GPL-3.0-or-later
// Layout time and memory of the report preview, run by hand:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_report [rows-for-memory]
//   QT_QPA_PLATFORM=offscreen build/bench/bench_report circuit [items-for-memory]
// The second form lays out the circuit report itself (a calculated circuit
// of pipes, fittings and user items, letterhead and logo left out).
// A circuit-report-like table (nine columns fitted to the page from the
// measured widths of every cell, ruled and continued over pages) is laid
// out in the preview: 150 rows repeatedly for the time, then a long report
// for the resident memory of its recorded pages.

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "presentation/report/CircuitReport.h"
#include "presentation/report/GridReport.h"
#include "presentation/report/PageEngine.h"
#include "desktop/report/CircuitReportPreview.h"
#include "desktop/report/LogoImage.h"
#include "desktop/report/PreviewWindow.h"

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

using namespace dvx;

namespace {

constexpr int kColumns = 9;

class TableReport : public TReportRoutine {
public:
    explicit TableReport(int rows) {
        const std::array<std::string, kColumns> caption{
            "Item", "Description", "Bore", "Length", "Flow", "Velocity", "Re", "dP", "Gradient"};
        cells_.push_back({caption.begin(), caption.end()});
        for (int r = 1; r <= rows; ++r)
            cells_.push_back({std::to_string(r), "Pipe section " + std::to_string(r % 37),
                              std::to_string(15 + r % 20 * 5) + " mm",
                              std::to_string(r % 50) + ".5", "0." + std::to_string(100 + r % 900),
                              "1." + std::to_string(r % 97), std::to_string(20000 + r * 37),
                              std::to_string(r % 13) + ".125", std::to_string(100 + r % 400)});
    }

    void PageHeader(TPageEngine& e, bool first) override {
        if (first) e.TextBlock({"Darvenix Report"}, 4, 2);
        e.DateLine(Today());
        e.TextBlock({"Benchmark circuit", "Level 2"}, 2, 2);
        tableTop_ = e.PenY() + e.HalfLine();
        if (first) FitColumns(e);
        e.Canvas().SetBold(true);
        WriteRow(e, cells_[0]);
        e.Canvas().SetBold(false);
    }
    void ReportBody(TPageEngine& e) override {
        for (std::size_t r = 1; r < cells_.size(); ++r) {
            e.EnsureSpace(1);
            WriteRow(e, cells_[r]);
        }
        if (e.PageCount() == 1) PageEnd(e);
    }
    void PageEnd(TPageEngine& e) override {
        int bottom = e.PenY() + e.HalfLine();
        e.Rule(edges_.front(), edges_.back());
        for (int x : edges_) e.VerticalLine(x, tableTop_, bottom);
    }

private:
    void FitColumns(TPageEngine& e) {
        TPageCanvas& c = e.Canvas();
        const int blanks = c.TextWidth("  ");
        edges_.assign(kColumns + 1, e.LeftPx());
        for (int col = 0; col < kColumns; ++col) {
            c.SetBold(true);
            int w = c.TextWidth(cells_[0][col]);
            c.SetBold(false);
            for (std::size_t r = 1; r < cells_.size(); ++r) w = std::max(w, c.TextWidth(cells_[r][col]));
            edges_[col + 1] = edges_[col] + w + blanks;
        }
    }
    void WriteRow(TPageEngine& e, const std::vector<std::string>& row) {
        for (int col = 0; col < kColumns; ++col)
            e.CellText(edges_[col], edges_[col + 1], " " + row[col], 1, false);
        e.LineFeed(1);
    }

    std::vector<std::vector<std::string>> cells_;
    std::vector<int> edges_;
    int tableTop_ = 0;
};

long StatusKb(const std::string& field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    return -1;
}

double Ms(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// A calculated circuit of `n` items: runs of pipe, elbows, valves and coils.
std::unique_ptr<TCircuit> MakeCircuit(int n) {
    auto c = std::make_unique<TCircuit>();
    c->Heading1 = "Chilled water - Riverside office block";
    c->Heading2 = "Index circuit, plant room to AHU-3";
    for (int i = 1; i <= n; ++i) {
        const double flow = 2.0 + (i % 9) * 1.5; // l/s
        std::unique_ptr<TBranch> item;
        if (i % 5 == 0 || i % 5 == 3) {
            auto f = std::make_unique<TFitting>(i % 5 == 0 ? 0 : 10);
            f->Quantity = 1 + i % 3;
            item = std::move(f);
        } else if (i % 5 == 4) {
            auto u = std::make_unique<TUser>();
            u->PressureDrop = 18500 + 250.0 * (i % 11);
            item = std::move(u);
        } else {
            auto p = std::make_unique<TPipe>();
            p->Length = 3.5 + (i % 13) * 1.25;
            item = std::move(p);
        }
        item->Number = i;
        item->Description = "Circuit item " + std::to_string(i % 40);
        item->Flow = flow / 1000;
        item->SetBore(BoreForFlow(flow));
        c->Append(std::move(item));
    }
    c->Calculate(false);
    return c;
}

int CircuitReportBench(int longItems) {
    RestoreBuiltInTables();
    StartFluidModule(9.0);
    TPreviewForm form;
    form.Seams().printerInstalled = [] { return false; };
    form.Seams().message = [](TMessageKind, const QString& t) {
        std::cerr << "message: " << t.toStdString() << "\n";
    };
    TGridReport& report = GridReport();
    // A logo to include: DARVENIX_BENCH_LOGO=<picture file>.
    if (const char* logo = std::getenv("DARVENIX_BENCH_LOGO")) {
        report.SetImageLoader(LoadLogoImage);
        report.Setup().logoFile = logo;
    }
    {
        auto circuit = MakeCircuit(150);
        PrepareGridReport(form, report);
        FillCircuitReport(report.Setup(), *circuit, false, true, SystemFluid);
        form.DoReport(); // warm-up: fonts loaded
        std::vector<double> times;
        for (int i = 0; i < 20; ++i) {
            auto t0 = std::chrono::steady_clock::now();
            form.DoReport();
            times.push_back(Ms(std::chrono::steady_clock::now() - t0));
        }
        std::sort(times.begin(), times.end());
        std::cout << "circuit report, 150 items: " << form.PageCount() << " pages, layout median "
                  << times[times.size() / 2] << " ms, min " << times.front() << " ms, max "
                  << times.back() << " ms\n";
    }
    const long before = StatusKb("VmRSS");
    {
        auto circuit = MakeCircuit(longItems);
        PrepareGridReport(form, report);
        FillCircuitReport(report.Setup(), *circuit, true, true, SystemFluid);
        auto t0 = std::chrono::steady_clock::now();
        form.resize(900, 1000);
        form.show(); // activation lays the report out, as the program's preview does
        QApplication::processEvents();
        const double ms = Ms(std::chrono::steady_clock::now() - t0);
        std::cout << "circuit report, " << longItems << " items: " << form.PageCount()
                  << " pages shown in " << ms << " ms; resident " << StatusKb("VmRSS") / 1024
                  << " MiB (before " << before / 1024 << " MiB), peak " << StatusKb("VmHWM") / 1024
                  << " MiB\n";
        t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < form.PageCount(); ++i) {
            form.NextPage();
            QApplication::processEvents();
        }
        std::cout << "after showing every page: resident " << StatusKb("VmRSS") / 1024
                  << " MiB, peak " << StatusKb("VmHWM") / 1024 << " MiB ("
                  << Ms(std::chrono::steady_clock::now() - t0) << " ms)\n";
        form.hide();
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "circuit")
        return CircuitReportBench(argc > 2 ? std::stoi(argv[2]) : 5000);
    const int longRows = argc > 1 ? std::stoi(argv[1]) : 5000;

    TPreviewForm form;
    form.Seams().printerInstalled = [] { return false; };
    form.Seams().message = [](TMessageKind, const QString& t) {
        std::cerr << "message: " << t.toStdString() << "\n";
    };

    {
        TableReport report(150);
        form.SetReport(&report);
        form.DoReport(); // warm-up: fonts loaded
        std::vector<double> times;
        for (int i = 0; i < 20; ++i) {
            auto t0 = std::chrono::steady_clock::now();
            form.DoReport();
            times.push_back(Ms(std::chrono::steady_clock::now() - t0));
        }
        std::sort(times.begin(), times.end());
        std::cout << "150 rows: " << form.PageCount() << " pages, layout median "
                  << times[times.size() / 2] << " ms, min " << times.front() << " ms, max "
                  << times.back() << " ms\n";
        auto t0 = std::chrono::steady_clock::now();
        QImage page = form.Pages().Render(0);
        std::cout << "rendering one page " << page.width() << " x " << page.height() << ": "
                  << Ms(std::chrono::steady_clock::now() - t0) << " ms\n";
    }

    const long before = StatusKb("VmRSS");
    {
        TableReport report(longRows);
        form.SetReport(&report);
        auto t0 = std::chrono::steady_clock::now();
        form.DoReport();
        const double ms = Ms(std::chrono::steady_clock::now() - t0);
        long bytes = 0;
        for (int i = 0; i < form.PageCount(); ++i) bytes += form.Pages().Page(i).size();
        std::cout << longRows << " rows: " << form.PageCount() << " pages in " << ms
                  << " ms; recorded pages " << bytes / 1024 << " KiB; resident "
                  << StatusKb("VmRSS") / 1024 << " MiB (before " << before / 1024
                  << " MiB), peak " << StatusKb("VmHWM") / 1024 << " MiB\n";
        // Paging through the whole document once.
        form.resize(900, 1000);
        form.show();
        t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < form.PageCount(); ++i) {
            form.NextPage();
            QApplication::processEvents();
        }
        std::cout << "after showing every page: resident " << StatusKb("VmRSS") / 1024
                  << " MiB, peak " << StatusKb("VmHWM") / 1024 << " MiB ("
                  << Ms(std::chrono::steady_clock::now() - t0) << " ms)\n";
    }
    return 0;
}
