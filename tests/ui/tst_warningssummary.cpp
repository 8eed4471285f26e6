// SPDX-License-Identifier: GPL-3.0-or-later
// The "Warnings" and "Project Summary" windows opened from the main window:
// the list built from the last calculation, "Auto Size" and "Auto Flow" on
// listed items, what the main window does when the list closes, and the
// summary's rows and status.

#include "engine/units/UnitView.h"
#include "ui/TestProject.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "storage/settings/SettingsStore.h"
#include "presentation/ui/CircuitGrid.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"
#include "desktop/windows/SummaryForm.h"
#include "desktop/windows/Warnings.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace dvx;
using namespace dvx::ui;

class WarningsSummaryTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    std::unique_ptr<TMainForm> window_;

    TMainForm& W() { return *window_; }
    TWarningsForm& Warnings() { return *W().WarningsForm(); }
    TSummaryForm& Summary() { return *W().SummaryForm(); }
    QString Panel(int i) { return W().StatusPanel(i)->text(); }

    template <class T, class... Args>
    T& Add(const std::string& description, Args... args) {
        W().Circuit().Append(std::make_unique<T>(W().Project(), args...));
        T& item = static_cast<T&>(W().Circuit().Item(W().Circuit().Count() - 1));
        item.Description = description;
        return item;
    }
    // A 10 m pipe of the given bore and flow (m³/s).
    TPipe& AddPipe(const std::string& description, int bore, double flow) {
        TPipe& pipe = Add<TPipe>(description);
        pipe.SetBore(W().Project(), bore);
        pipe.Flow = flow;
        pipe.Length = 10;
        return pipe;
    }

    // Runs a main-window command whose window is modal; `body` acts inside
    // the modal run, and the window is closed afterwards if it still shows.
    void RunModal(QDialog& dialog, const QString& command, std::function<void()> body) {
        QTimer::singleShot(0, &dialog, [&dialog, body] {
            body();
            if (dialog.isVisible()) dialog.accept();
        });
        W().Action(command)->trigger();
        QVERIFY(!dialog.isVisible());
    }

    void SaveShot(QWidget* widget, const QString& name) {
        const QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QVERIFY(widget->grab().save(QString::fromUtf8(dir) + "/" + name));
    }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", home_.filePath("data").toUtf8());
        SetMessageHandler([](QWidget*, MsgKind, const QString&, QMessageBox::StandardButtons) { return QMessageBox::Ok; });
    }

    void init() {
        test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        SetAppSettings(SettingsStore(home_.filePath("config/Quellstrand/darvenix.ini").toStdString()));
        window_ = std::make_unique<TMainForm>(test::TestProject());
        W().show();
    }

    void cleanup() {
        W().Circuit().Saved = true;
        window_.reset();
    }

    void noWarningsLeavesTheListEmpty() {
        AddPipe("Main", 10, 0.005); // 50 mm at 5 l/s
        W().CalcBtnClick();
        QCOMPARE(Panel(1), QString("Solved"));
        W().SetSaved(true);
        RunModal(Warnings(), "actionViewWarnings", [this] {
            QCOMPARE(Warnings().windowTitle(), QString("Warnings"));
            QCOMPARE(Warnings().List()->count(), 0);
            QCOMPARE(Warnings().StatusBar()->currentMessage(),
                     QString("Select warning item and auto correct as required"));
            Warnings().AutoSizeAction()->trigger();
            Warnings().AutoFlowAction()->trigger();
            QCOMPARE(Warnings().Corrected(), 0);
            Warnings().CloseAction()->trigger();
        });
        QCOMPARE(W().Circuit().Item(0).BoreIndex, std::uint8_t(10));
        // Closing the list always leaves the project "Not Solved"; nothing
        // was corrected, so it is still "Ready".
        QCOMPARE(Panel(1), QString("Not Solved"));
        QCOMPARE(Panel(0), QString("Ready"));
    }

    void autoSizeAndAutoFlowCorrectListedItems() {
        TPipe& big = AddPipe("Header", 10, 1.0);   // 1000 l/s, more than 600 mm carries
        Add<TUser>("Chiller").PressureDrop = 40000;
        AddPipe("Quiet", 10, 0.005);
        TPipe& small = AddPipe("Branch", 19, 0.002); // 2 l/s in 15 mm
        big.Number = 1;
        small.Number = 4;
        W().CalcBtnClick();
        // The calculation built the list already.
        QCOMPARE(Warnings().Lines().size(), size_t(2));
        const QString bigDetail = QString::fromStdString(WarningDetail(big, LiquidDensity(dvx::test::TestProject().Liquid)));
        const QString smallDetail = QString::fromStdString(WarningDetail(small, LiquidDensity(dvx::test::TestProject().Liquid)));
        W().SetSaved(true);
        RunModal(Warnings(), "actionViewWarnings", [&] {
            QListWidget* list = Warnings().List();
            QCOMPARE(list->count(), 2);
            QVERIFY(list->item(0)->text().startsWith("  1: Header High"));
            QVERIFY(list->item(1)->text().startsWith("  4: Branch High"));
            QCOMPARE(list->currentRow(), 0);
            QCOMPARE(Warnings().StatusBar()->currentMessage(), bigDetail);
            list->setCurrentRow(1);
            QCOMPARE(Warnings().StatusBar()->currentMessage(), smallDetail);
            list->setCurrentRow(0);
            SaveShot(&Warnings(), "warnings.png");

            Warnings().AutoSizeAction()->trigger();
            QCOMPARE(big.BoreIndex, std::uint8_t(0)); // 750 mm
            QCOMPARE(list->count(), 1);
            QCOMPARE(list->currentRow(), 0);
            QCOMPARE(Warnings().StatusBar()->currentMessage(), smallDetail);

            Warnings().AutoFlowAction()->trigger();
            QCOMPARE(small.Flow, test::TestProject().Tables.BoreTable[19].mf * 0.001);
            QCOMPARE(list->count(), 0);
            QVERIFY(Warnings().Lines().empty());
            // The last corrected item's detail stays in the status bar.
            QCOMPARE(Warnings().StatusBar()->currentMessage(), smallDetail);
            Warnings().AutoFlowAction()->trigger(); // nothing left: nothing happens
            QCOMPARE(Warnings().Corrected(), 2);
        });
        QCOMPARE(Panel(1), QString("Not Solved"));
        QCOMPARE(Panel(0), QString("Modified"));
        // The grid shows the new bore.
        CircuitModel* m = W().Model();
        QCOMPARE(m->data(m->index(0, m->ViewColumnOf(gcSize)), Qt::DisplayRole).toString(), QString("750"));
        // Reopening lists the flags of the last calculation again (nothing
        // was recalculated), and starts counting corrections afresh.
        RunModal(Warnings(), "actionViewWarnings", [this] { QCOMPARE(Warnings().Corrected(), 0); });
    }

    // Under 3-K the types without constants are named on a line of their
    // own; it has no item, so the corrections leave it alone.
    void threeKNoteHeadsTheListAndCorrectsNothing() {
        TFitting& damper = Add<TFitting>("Damper", 18); // Butterfly Valve: no 3-K constants
        damper.SetBore(W().Project(), 10);
        damper.Flow = 0.005;
        AddPipe("Branch", 19, 0.002); // too fast
        W().ChooseFittingMethod(TFittingMethod::ThreeK);
        W().CalcBtnClick();
        const QString note = "No 3-K constants for Butterfly Valve: calculated by Crane K";
        RunModal(Warnings(), "actionViewWarnings", [&] {
            QListWidget* list = Warnings().List();
            QCOMPARE(list->count(), 2);
            QCOMPARE(list->item(0)->text(), note);
            list->setCurrentRow(0);
            QCOMPARE(Warnings().StatusBar()->currentMessage(), note);
            SaveShot(&Warnings(), "warnings-3k.png");
            Warnings().AutoSizeAction()->trigger();
            QCOMPARE(Warnings().Corrected(), 0);
            QCOMPARE(list->count(), 2);
        });
        // By Crane K, or once the type is gone, there is nothing to say.
        W().ChooseFittingMethod(TFittingMethod::CraneK);
        QCOMPARE(Warnings().Lines().size(), size_t(1));
        QVERIFY(Warnings().Lines()[0].Item != nullptr);
    }

    void summaryAddsUpByKind() {
        TPipe& pipe = Add<TPipe>("Run");
        pipe.Length = 10;
        pipe.PressureDrop = 4500;
        TFitting& elbows = Add<TFitting>("Elbows", 0);
        elbows.Quantity = 2;
        elbows.PressureDrop = 1500;
        TFitting& valve = Add<TFitting>("Valve", 12);
        valve.Quantity = 1;
        valve.PressureDrop = 250;
        TFitting& tees = Add<TFitting>("Tees", 5);
        tees.Quantity = 2.7;
        RunModal(Summary(), "actionViewSummary", [this] {
            QTableWidget* list = Summary().List();
            QCOMPARE(Summary().windowTitle(), QString("Project Summary"));
            QCOMPARE(list->rowCount(), 8);
            QCOMPARE(list->horizontalHeaderItem(1)->text(), QString("Qty"));
            const QStringList captions = {"Pipes", "Elbows", "Reducers", "Tees", "Valves", "Strainers", "Small Fittings", "User"};
            const QStringList quantities = {"10", "2", "0", "2", "1", "0", "0", "0"};
            const QStringList pressures = {"4.5", "1.5", "0", "0", "0.25", "0", "0", "0"};
            for (int r = 0; r < 8; ++r) {
                QCOMPARE(list->item(r, 0)->text(), captions[r]);
                QCOMPARE(list->item(r, 1)->text(), quantities[r]);
                QCOMPARE(list->item(r, 2)->text(), pressures[r]);
            }
            QCOMPARE(Summary().StatusBar()->currentMessage(), QString("Total pressure of summary items = 6.25 kPa"));
            SaveShot(&Summary(), "summary.png");
            Summary().CloseAction()->trigger();
        });
        // Shown again, it adds up the items as they are then.
        Add<TUser>("Coil").PressureDrop = 30000;
        RunModal(Summary(), "actionViewSummary", [this] {
            QCOMPARE(Summary().List()->item(7, 1)->text(), QString("1"));
            QCOMPARE(Summary().StatusBar()->currentMessage(), QString("Total pressure of summary items = 36.25 kPa"));
        });
    }
};

QTEST_MAIN(WarningsSummaryTest)
#include "tst_warningssummary.moc"
