// SPDX-License-Identifier: GPL-3.0-or-later
// Layout time and memory of the report preview, offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_report
//   QT_QPA_PLATFORM=offscreen build/bench/bench_report --benchmark_filter=Circuit
//
// Table: a circuit-report-like table (nine columns fitted to the page from
// the measured widths of every cell, ruled and continued over pages): the
// layout of 150 rows, the rendering of one page, and a long report of 5000
// rows for the memory of its recorded pages.
// Circuit: the circuit report itself (a calculated circuit of pipes,
// fittings and user items, letterhead left out; a logo with
// DARVENIX_BENCH_LOGO=<picture file>): the layout of 150 items, and the
// preview shown with 5000 items, then paged through once.
//
// Counters: pages of the report; rss_MiB the rise of the resident set over
// the first run (before any repetition could reuse its memory), peak_MiB the
// program's peak resident set after it; recorded_KiB the recorded pages'
// size.

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "presentation/report/CircuitReport.h"
#include "presentation/report/GridReport.h"
#include "presentation/report/PageEngine.h"
#include "desktop/report/CircuitReportPreview.h"
#include "desktop/report/LogoImage.h"
#include "desktop/report/PreviewWindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
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

// kB, a line "Name:   1234 kB" of /proc/self/status.
double StatusMiB(const std::string& field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024;
    return -1;
}

// A calculated circuit of `n` items: runs of pipe, elbows, valves and coils.
std::unique_ptr<TCircuit> MakeCircuit(const TProjectContext& project, int n) {
    auto c = std::make_unique<TCircuit>(project);
    c->Heading1 = "Chilled water - Riverside office block";
    c->Heading2 = "Index circuit, plant room to AHU-3";
    for (int i = 1; i <= n; ++i) {
        const double flow = 2.0 + (i % 9) * 1.5; // l/s
        std::unique_ptr<TBranch> item;
        if (i % 5 == 0 || i % 5 == 3) {
            auto f = std::make_unique<TFitting>(project, i % 5 == 0 ? 0 : 10);
            f->Quantity = 1 + i % 3;
            item = std::move(f);
        } else if (i % 5 == 4) {
            auto u = std::make_unique<TUser>(project);
            u->PressureDrop = 18500 + 250.0 * (i % 11);
            item = std::move(u);
        } else {
            auto p = std::make_unique<TPipe>(project);
            p->Length = 3.5 + (i % 13) * 1.25;
            item = std::move(p);
        }
        item->Number = i;
        item->Description = "Circuit item " + std::to_string(i % 40);
        item->Flow = flow / 1000;
        item->SetBore(project, BoreForFlow(project.Tables, flow));
        c->Append(std::move(item));
    }
    c->Calculate(project, false);
    return c;
}

// A preview window that reports no printer and prints its messages.
std::unique_ptr<TPreviewForm> Preview() {
    auto form = std::make_unique<TPreviewForm>();
    form->Seams().printerInstalled = [] { return false; };
    form->Seams().message = [](TMessageKind, const QString& t) {
        std::cerr << "message: " << t.toStdString() << "\n";
    };
    return form;
}

void BM_TableLayout(benchmark::State& state) {
    auto form = Preview();
    TableReport report(static_cast<int>(state.range(0)));
    form->SetReport(&report);
    form->DoReport(); // warm-up: fonts loaded
    for (auto _ : state) form->DoReport();
    state.counters["pages"] = form->PageCount();
}

void BM_TableRenderPage(benchmark::State& state) {
    auto form = Preview();
    TableReport report(150);
    form->SetReport(&report);
    form->DoReport();
    for (auto _ : state) {
        QImage page = form->Pages().Render(0);
        benchmark::DoNotOptimize(page.bits());
    }
}

void BM_TableLongReport(benchmark::State& state) {
    auto form = Preview();
    TableReport report(static_cast<int>(state.range(0)));
    const double before = StatusMiB("VmRSS");
    bool first = true;
    for (auto _ : state) {
        form->SetReport(&report);
        form->DoReport();
        if (first) {
            state.counters["rss_MiB"] = StatusMiB("VmRSS") - before;
            first = false;
        }
    }
    double bytes = 0;
    for (int i = 0; i < form->PageCount(); ++i) bytes += static_cast<double>(form->Pages().Page(i).size());
    state.counters["pages"] = form->PageCount();
    state.counters["recorded_KiB"] = bytes / 1024;
    state.counters["peak_MiB"] = StatusMiB("VmHWM");
}

// The circuit report laid out again and again.
void BM_CircuitLayout(benchmark::State& state) {
    // A project of built-in tables and clean water at 9 °C; the report is made from it.
    TProjectState projectState;
    const TProjectContext project = projectState.Context();
    auto form = Preview();
    TGridReport& report = GridReport();
    if (const char* logo = std::getenv("DARVENIX_BENCH_LOGO")) {
        report.SetImageLoader(LoadLogoImage);
        report.Setup().logoFile = logo;
    }
    auto circuit = MakeCircuit(project, static_cast<int>(state.range(0)));
    PrepareGridReport(*form, report);
    FillCircuitReport(report.Setup(), *circuit, project, false, true, project.Liquid);
    form->DoReport(); // warm-up: fonts loaded
    for (auto _ : state) form->DoReport();
    state.counters["pages"] = form->PageCount();
}

// The preview shown (activation lays the report out, as the program's
// preview does), then every page shown once.
void BM_CircuitShownAndPaged(benchmark::State& state) {
    // A project of built-in tables and clean water at 9 °C; the report is made from it.
    TProjectState projectState;
    const TProjectContext project = projectState.Context();
    TGridReport& report = GridReport();
    if (const char* logo = std::getenv("DARVENIX_BENCH_LOGO")) {
        report.SetImageLoader(LoadLogoImage);
        report.Setup().logoFile = logo;
    }
    auto circuit = MakeCircuit(project, static_cast<int>(state.range(0)));
    const double before = StatusMiB("VmRSS");
    bool first = true;
    int pages = 0;
    for (auto _ : state) {
        auto form = Preview();
        PrepareGridReport(*form, report);
        FillCircuitReport(report.Setup(), *circuit, project, true, true, project.Liquid);
        form->resize(900, 1000);
        form->show();
        QApplication::processEvents();
        for (int i = 0; i < form->PageCount(); ++i) {
            form->NextPage();
            QApplication::processEvents();
        }
        pages = form->PageCount();
        if (first) {
            state.counters["rss_MiB"] = StatusMiB("VmRSS") - before;
            first = false;
        }
        form->hide();
    }
    state.counters["pages"] = pages;
    state.counters["peak_MiB"] = StatusMiB("VmHWM");
}

BENCHMARK(BM_TableLayout)->Arg(150)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableRenderPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableLongReport)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CircuitLayout)->Arg(150)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CircuitShownAndPaged)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
