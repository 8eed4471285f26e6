// SPDX-License-Identifier: GPL-3.0-or-later
// The example projects opened in the desktop program as a user opens them:
// each must open, calculate without "Data may not be zero" and show
// "Solved", with what its file carries (material, liquid, groups) in force.
// With DARVENIX_SCREENSHOT_DIR set, the steps of the manual's worked example
// are saved there as PNG pictures (tools/make-screenshots).

#include "ui/TestProject.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/Desktop.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"
#include "desktop/windows/PumpCurveForm.h"
#include "desktop/report/PreviewPages.h"
#include "desktop/report/PreviewWindow.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>

using namespace dvx;
using namespace dvx::ui;

namespace {
QString Example(const char* name) { return QDir(DARVENIX_SOURCE_DIR "/examples").filePath(name); }
} // namespace

class ExamplesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    QStringList messages_;
    QStringList chosenFiles_;
    std::unique_ptr<TMainForm> window_;

    TMainForm& W() { return *window_; }
    QString Panel(int i) { return W().StatusPanel(i)->text(); }
    QString Cell(int row, int logicalColumn) {
        CircuitModel* m = W().Model();
        return m->data(m->index(row, m->ViewColumnOf(logicalColumn)), Qt::DisplayRole).toString();
    }
    // Saves a picture for the manual when a screenshot folder is given.
    void Shot(QWidget* widget, const char* name) {
        const QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QVERIFY(QDir().mkpath(QString::fromLocal8Bit(dir)));
        QVERIFY(widget->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(name)));
    }
    // Opens the report preview, renders its last page (the pump's) and saves
    // it for the manual when a screenshot folder is given.
    void LastReportPageShot(const char* name) {
        QImage page;
        QTimer::singleShot(0, this, [&] {
            TPreviewForm& preview = *W().ReportPreview();
            if (!preview.isVisible()) return;
            page = preview.Pages().Render(preview.PageCount() - 1);
            preview.accept();
        });
        W().Preview1Click();
        QVERIFY(!page.isNull());
        const QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        if (!dir.isEmpty()) QVERIFY(page.save(QDir(QString::fromLocal8Bit(dir)).filePath(name)));
    }
    double DisplayedTotalKPa() {
        QString text = Panel(2); // "dP = %0.4g kPa"
        text.remove("dP = ").remove(" kPa");
        bool ok = false;
        double value = text.toDouble(&ok);
        return ok ? value : -1;
    }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", home_.filePath("data").toUtf8());
        SetMessageHandler([this](QWidget*, MsgKind, const QString& text, QMessageBox::StandardButtons) {
            messages_ << text;
            return QMessageBox::Ok;
        });
        SetLauncher([](const QString&, const QStringList&) { return true; });
    }

    void init() {
        test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        SetAppSettings(SettingsStore(home_.filePath("config/Quellstrand/darvenix.ini").toStdString()));
        messages_.clear();
        chosenFiles_.clear();
        window_ = std::make_unique<TMainForm>(test::TestProject());
        W().SetFileDialogHandler([this](QWidget*, const TFileDialogRequest&) {
            return chosenFiles_.isEmpty() ? QString() : chosenFiles_.takeFirst();
        });
        W().resize(860, 640);
        W().show();
    }

    void cleanup() {
        W().Circuit().Saved = true;
        window_.reset();
    }

    void chilledWaterOpensAndCalculates() {
        QVERIFY(W().OpenFile(Example("chilled-water.dvx")));
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(" | ")));
        QCOMPARE(Panel(0), QString("Ready"));
        QCOMPARE(Panel(1), QString("Solved"));
        QCOMPARE(Panel(3), QString("chilled-water.dvx"));
        QCOMPARE(W().Circuit().Count(), 24);
        QCOMPARE(W().Circuit().Material, std::uint8_t(0));
        QVERIFY(W().Action("actionMaterial0")->isChecked());
        // The status bar shows the circuit's own total.
        QCOMPARE(DisplayedTotalKPa(), QString::number(W().Circuit().TotalDP / 1000, 'g', 4).toDouble());
        // A realistic index circuit: the plant and coil make most of it.
        QVERIFY(W().Circuit().TotalDP > 150e3 && W().Circuit().TotalDP < 300e3);
        QCOMPARE(Cell(0, gcDescription), QString("Chiller evaporator"));
        QCOMPARE(Cell(0, gcType), QString("User"));
        W().Grid()->scrollToTop();
        W().Grid()->setColumnWidth(W().Model()->ViewColumnOf(gcDescription), 190); // as a user drags it
        Shot(&W(), "chilled-water.png");
    }

    void chilledWaterPumpMeetsItsSystemCurve() {
        QVERIFY(W().OpenFile(Example("chilled-water.dvx")));
        W().Action("actionCalcPump")->trigger();
        TPumpCurveForm& form = *W().PumpForm();
        QVERIFY(form.isVisible());
        const TPumpAnalysis& a = form.Analysis();
        QVERIFY(a.Curve && a.Fit && a.Duty);
        QCOMPARE(W().Circuit().Pump.Points.size(), std::size_t{6});
        QCOMPARE(a.Curve->DesignFlow, 0.015);
        QCOMPARE(a.Curve->Design.PressureDrop, W().Circuit().TotalDP);
        // The selected pump runs a little beyond the design flow, on the
        // falling part of its curve, where both curves give the same head.
        const TDutyPoint& d = *a.Duty;
        QVERIFY(d.Found);
        QVERIFY2(d.Flow > 0.015 && d.Flow < 0.016, qPrintable(QString::number(d.Flow)));
        QVERIFY(std::fabs(a.Fit->Head(d.Flow) - d.Head) < 1e-6);
        QVERIFY(std::fabs(a.Curve->At(W().Project(), W().Circuit(), false, d.Ratio).Head - d.Head) <
                1e-9);
        QVERIFY(a.Fit->Falling);
        // Efficiency between the 15 and 20 l/s points' 76 % and 72 %.
        QVERIFY(d.HasPower && d.Efficiency < 0.76 && d.Efficiency > 0.72);
        QVERIFY(form.MessageLabel()->text().isEmpty());
        QApplication::processEvents(); // the plot lays out its axes from the event loop
        Shot(&form, "chilled-water-pump.png");

        // The report ends with the pump's page: its plot and the same lines.
        LastReportPageShot("chilled-water-pump-page.png");
    }

    // The example's pump as a duty pump with a standby in parallel, with its
    // suction side and running cost: the figures the window and the printed
    // page add.
    void chilledWaterPumpSelection() {
        QVERIFY(W().OpenFile(Example("chilled-water.dvx")));
        TPumpSettings pump = W().Circuit().Pump;
        TPumpSelection& s = pump.Selection;
        s.Pumps = 2;
        s.Standby = true;
        s.NpshRequired = {{0, 1.5}, {0.01, 1.8}, {0.02, 2.6}, {0.03, 4.2}, {0.04, 6.5}};
        s.SuctionItems = {W().Circuit().Items.at(0)->Number, W().Circuit().Items.at(1)->Number};
        s.SuctionHeight = 1.5;
        s.HoursPerYear = 4000;
        s.PricePerKWh = 0.2;
        s.MotorEfficiency = 0.92;
        W().Circuit().Pump = pump;
        W().Action("actionCalcPump")->trigger();
        TPumpCurveForm& form = *W().PumpForm();
        form.SetCircuit(&W().Circuit());
        const TPumpAnalysis& a = form.Analysis();
        QVERIFY(a.Duty && a.Duty->Found && a.Selection);
        QVERIFY(a.Selection->StandbyDuty && a.Selection->StandbyDuty->Found);
        QVERIFY(a.Selection->NpshAtDuty && a.Selection->Energy);
        // One pump of the two alone runs where the example's single pump does.
        QVERIFY(std::fabs(a.Selection->StandbyDuty->Flow - 0.01546) < 5e-5);
        const QString figures = form.SelectionLabel()->text();
        for (const char* expected : {"Pumps: 2 in parallel", "With one pump fewer (1 running): duty 15.46 l/s",
                                     "NPSH at the duty point: available ", "Running cost: input power "})
            QVERIFY2(figures.contains(expected), qPrintable(figures));
        QApplication::processEvents();
        Shot(&form, "chilled-water-pump-selection.png");

        LastReportPageShot("chilled-water-pump-selection-page.png");
    }

    void glycolLoopCarriesLiquidMaterialAndGroups() {
        QVERIFY(W().OpenFile(Example("glycol-loop.dvx")));
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(" | ")));
        QCOMPARE(Panel(1), QString("Solved"));
        QCOMPARE(W().Circuit().Count(), 16);
        QVERIFY(W().Action("actionMaterial2")->isChecked());
        QCOMPARE(int(test::TestProject().Liquid->WaterAdditive), 2);
        QCOMPARE(test::TestProject().Liquid->AdditiveVolume, 0.3);
        // 30 % glycol is denser and far more viscous than water.
        QVERIFY(test::TestProject().Liquid->ro > 1010 && test::TestProject().Liquid->mu > 2.5e-3);

        // Without groups every item counts; with groups the supply-coil
        // branch (group 3, out of the index circuit) does not.
        const double all = W().Circuit().TotalDP;
        double group3 = 0;
        for (int i = 0; i < W().Circuit().Count(); ++i)
            if (W().Circuit().Item(i).Group == 3) group3 += W().Circuit().Item(i).PressureDrop;
        QVERIFY(group3 > 0);
        W().SetGroupsActive(true);
        QCOMPARE(Panel(1), QString("Not Solved"));
        W().CalcBtnClick();
        QCOMPARE(Panel(1), QString("Solved"));
        QVERIFY(qAbs(W().Circuit().TotalDP - (all - group3)) < 1e-6 * all);
        QCOMPARE(Cell(11, gcIndex), QString("1")); // last item of group 2
        QCOMPARE(Cell(12, gcIndex), QString("0")); // first item of group 3
        W().Grid()->setColumnWidth(W().Model()->ViewColumnOf(gcDescription), 190);
        Shot(&W(), "glycol-groups.png");
        W().SetGroupsActive(false);
    }

    void heatingLoopReadFromTextFile() {
        chosenFiles_ << Example("heating-loop.txt");
        W().ReadTextFileCommand();
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(" | ")));
        QCOMPARE(W().Circuit().Count(), 11);
        // Each line goes before the first row: the file's last line is first.
        QCOMPARE(W().Circuit().Item(0).Number, 11);
        QCOMPARE(Panel(0), QString("Modified"));
        QCOMPARE(Panel(3), QString("heating-loop.dvx"));
        W().CalcBtnClick();
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(" | ")));
        QCOMPARE(Panel(1), QString("Solved"));
        W().SortCommand(skNumber);
        QCOMPARE(W().Circuit().Item(0).Number, 1);
    }

    // The manual's worked example, step by step, from an empty project.
    void workedExampleFromAnEmptyProject() {
        W().resize(760, 380);
        Shot(&W(), "empty-project.png");

        TInsertForm* form = W().InsertForm();
        W().InsertCommand();
        QVERIFY(form->isVisible());
        form->resize(440, 320);
        form->FlowEdit()->setText("6.0");
        form->AutoSizeClick();
        QCOMPARE(form->DiameterCombo()->currentText(), QString("65"));
        form->DiameterCombo()->setCurrentText("80");
        form->Tabs()->setCurrentIndex(0);
        form->PipeLenEdit()->setText("16");
        form->PipeDescriptionEdit()->setText("AHU-3 flow branch");
        Shot(form, "insert-pipe.png");
        QVERIFY(form->AddPipe());

        form->Tabs()->setCurrentIndex(1);
        form->FittingCombo()->setCurrentText("Std Elbow 90 deg");
        form->FittingQty()->setText("5");
        Shot(form, "insert-fitting.png");
        QVERIFY(form->AddFitting());

        form->Tabs()->setCurrentIndex(2);
        form->UserDPEdit()->setText("38");
        form->UserDescriptionEdit()->setText("AHU-3 cooling coil");
        Shot(form, "insert-user.png");
        QVERIFY(form->AddUser());
        form->hide();

        // Inserted before the current row, which stayed on row 1.
        QCOMPARE(W().Circuit().Count(), 3);
        QCOMPARE(W().Circuit().Item(0).Description, std::string("AHU-3 cooling coil"));
        QCOMPARE(Panel(0), QString("Modified"));
        QCOMPARE(Panel(1), QString("Not Solved"));
        Shot(&W(), "three-items.png");

        W().SortCommand(skNumber);
        QCOMPARE(W().Circuit().Item(0).Description, std::string("AHU-3 flow branch"));
        W().CalcBtnClick();
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(" | ")));
        QCOMPARE(Panel(1), QString("Solved"));
        QVERIFY(Panel(2).startsWith("dP = "));
        Shot(&W(), "calculated.png");

        // A zero flow is refused with the cursor on the flow cell.
        W().Circuit().Item(1).Flow = 0;
        W().CalcBtnClick();
        QCOMPARE(messages_.value(0), QString("Data may not be zero"));
        QCOMPARE(W().Grid()->currentIndex().row(), 1); // model rows are items
        QCOMPARE(W().Grid()->currentIndex().column(), W().Model()->ViewColumnOf(gcFlow));
    }
};

QTEST_MAIN(ExamplesTest)
#include "tst_examples.moc"
