// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the pump window following F9: a circuit of [items] items with a
// pump, the main window's calculation with the pump window hidden and with
// it shown (analysis, series, plot painted), and the window's own redraw.
// Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_pumpcurve [items]
// Prints the median of several runs of each step, in milliseconds.

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/ProjectContext.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"
#include "desktop/windows/PumpCurveForm.h"

#include "GuiBenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtCharts/QChartView>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <vector>

using namespace dvx;
using bench::Median;
using bench::Settle;

namespace {

double Ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// ms of processor time the calling thread has used; on a shared machine the wall
// clock also counts the time other programs had the processor.
double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    QApplication app(argc, argv);
    const int items = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    ui::SetMessageHandler([](QWidget*, ui::MsgKind, const QString& text, QMessageBox::StandardButtons) {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
        return QMessageBox::Ok;
    });
    // A project of built-in tables and clean water; the window works on it.
    TProjectState projectState;
    const TProjectContext project = projectState.Context();

    ui::TMainForm window(project);
    window.show();
    TCircuit& circuit = window.Circuit();
    bench::FillMixedCircuit(project, circuit, items, 500);
    window.CalcBtnClick();
    // A pump through the design point with room on either side.
    double q = 0;
    for (const auto& item : circuit.Items) q = std::max(q, item->Flow);
    const double h = circuit.TotalDP / (project.Liquid->ro * 9.80665);
    circuit.Pump.Points = {{0, 1.4 * h, 0}, {q, 1.1 * h, 0.7}, {1.5 * q, 0.8 * h, 0.65}};
    ui::TPumpCurveForm& form = *window.PumpForm();
    Settle();

    std::vector<double> hidden, shown, redraw, analyse, paint, core, redrawCpu, coreCpu;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer t;
        form.hide();
        Settle();
        t.start();
        window.CalcBtnClick();
        Settle();
        hidden.push_back(Ms(t));

        form.show();
        Settle();
        t.restart();
        window.CalcBtnClick(); // the window analyses the circuit again and sets its series
        form.ChartView()->viewport()->repaint();
        Settle();
        shown.push_back(Ms(t));

        t.restart();
        const double cpu = CpuMs();
        form.Refresh();
        form.ChartView()->viewport()->repaint();
        redraw.push_back(Ms(t));
        redrawCpu.push_back(CpuMs() - cpu);

        t.restart();
        const double cpuCore = CpuMs();
        const TPumpAnalysis a = AnalysePump(project, circuit, window.GroupsActive(), circuit.Pump);
        core.push_back(Ms(t));
        coreCpu.push_back(CpuMs() - cpuCore);
        t.restart();
        form.Refresh();
        analyse.push_back(Ms(t));
        t.restart();
        form.ChartView()->viewport()->repaint();
        paint.push_back(Ms(t));
    }
    if (!form.Analysis().Duty || !form.Analysis().Duty->Found) std::fprintf(stderr, "no duty point\n");
    std::printf("%d items, F9 with the pump window hidden: median %.2f ms\n", items, Median(hidden));
    std::printf("%d items, F9 with the pump window shown and painted: median %.2f ms\n", items, Median(shown));
    std::printf("%d items, pump window redraw (analysis, series, paint): median %.2f ms (max %.2f), "
                "processor time median %.2f ms\n",
                items, Median(redraw), *std::max_element(redraw.begin(), redraw.end()), Median(redrawCpu));
    std::printf("  of which analysis and series: median %.2f ms (the analysis alone %.2f ms, processor time "
                "%.2f ms); painting the plot: median %.2f ms\n",
                Median(analyse), Median(core), Median(coreCpu), Median(paint));
    circuit.Saved = true;
    return 0;
}
