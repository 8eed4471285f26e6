// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the desktop program where a user waits: start-up to the first
// shown main window, opening a 100 000-item project until its grid and
// totals are shown, and editing one cell followed by F9. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_mainwindow [items]
// Prints the median of several runs of each step, in milliseconds.

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "storage/project/ProjectFile.h"
#include "storage/settings/SettingsStore.h"
#include "storage/startup/Startup.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"

#include "GuiBenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using namespace dvx;
using bench::Median;
using bench::Settle;

namespace {

std::unique_ptr<TCircuit> MakeCircuit(const TProjectContext& project, int count) {
    auto circuit = std::make_unique<TCircuit>(project);
    bench::FillMixedCircuit(project, *circuit, count, 5000);
    return circuit;
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    QApplication app(argc, argv);
    int items = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    ui::SetMessageHandler([](QWidget*, ui::MsgKind, const QString& text, QMessageBox::StandardButtons) {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
        return QMessageBox::Ok;
    });

    // Start-up as the program does it, to the first shown window.
    // Start-up fills the project; the window works on it.
    TProjectState state;
    const TProjectContext project = state.Context();
    TStartOptions options;
    StartCore(options, project);
    auto window = std::make_unique<ui::TMainForm>(project);
    window->show();
    Settle();
    double startup = static_cast<double>(sinceStart.nsecsElapsed()) / 1e6;

    // A project of `items` items on disk.
    std::string file = (home.path() + "/big.dvx").toStdString();
    {
        auto circuit = MakeCircuit(project, items);
        WriteProject(file, *circuit, *project.Liquid, project.Tables);
    }

    std::vector<double> open, edit;
    for (int run = 0; run < 5; ++run) {
        window->Circuit().Saved = true;
        QElapsedTimer t;
        t.start();
        window->OpenFile(QString::fromStdString(file));
        window->Grid()->viewport()->repaint();
        Settle();
        open.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);

        // One cell edited through the model, then F9.
        ui::CircuitModel* model = window->Model();
        QModelIndex cell = model->index(items / 2, model->ViewColumnOf(gcFlow));
        t.restart();
        model->setData(cell, run % 2 == 0 ? "1.5" : "1.6", Qt::EditRole);
        window->CalcBtnClick();
        window->Grid()->viewport()->repaint();
        Settle();
        edit.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("start-up to first shown window: %.1f ms\n", startup);
    std::printf("open %d-item project, grid and totals shown: median %.1f ms (min %.1f, max %.1f)\n", items,
                Median(open), *std::min_element(open.begin(), open.end()), *std::max_element(open.begin(), open.end()));
    std::printf("edit one cell and F9: median %.1f ms (min %.1f, max %.1f)\n", Median(edit),
                *std::min_element(edit.begin(), edit.end()), *std::max_element(edit.begin(), edit.end()));
    std::printf("peak resident memory: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024);
    window->Circuit().Saved = true;
    return 0;
}
