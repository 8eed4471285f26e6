// SPDX-License-Identifier: GPL-3.0-or-later
// The display units switched as a user switches them, in the Units dialog
// of the main window: captions, cells, typed entries, the status bar total,
// the insert window and the report's captions follow; the values kept in
// the circuit stay SI; the SI preset shows what the program always showed.

#include "engine/catalogue/Bores.h"
#include "engine/units/UnitView.h"
#include "base/Format.h"
#include "presentation/report/CircuitReport.h"
#include "storage/settings/SettingsStore.h"
#include "storage/settings/UnitSettings.h"
#include "storage/settings/Defaults.h"
#include "presentation/ui/ProjectSummary.h"
#include "presentation/ui/WarningList.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/DefaultFlowForm.h"
#include "desktop/windows/DefaultsForm.h"
#include "desktop/windows/LimitsForm.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/windows/UnitsForm.h"
#include "engine/units/UnitChoice.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>

#include "ui/DialogTestSupport.h"
#include "ui/MainWindowTestSupport.h"

using namespace dvx;
using namespace dvx::ui;

class UnitsTest : public test::DialogTestBase {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> window_;
    QStringList chosenFiles_; // file dialog answers, in order

    TMainForm& W() { return *window_; }
    QString Caption(int logicalColumn) {
        CircuitModel* m = W().Model();
        return m->headerData(m->ViewColumnOf(logicalColumn), Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QString Cell(int row, int logicalColumn) { return test::GridCellText(W(), row, logicalColumn); }
    void EditCell(int row, int logicalColumn, const QString& text) {
        test::TypeIntoGridCell(W(), row, logicalColumn, text);
    }
    // The Units dialog run as a user runs it: a preset picked from its list
    // (or own units per quantity), then Accept.
    void ChooseInDialog(const std::function<void(TUnitsForm&)>& pick) {
        QTimer::singleShot(0, W().UnitsForm(), [this, pick] {
            TUnitsForm& form = *W().UnitsForm();
            pick(form);
            Screenshot(form, "units-dialog");
            form.Button("Accept")->trigger();
        });
        W().UnitsCommand();
    }
    void ChoosePreset(TUnitPreset preset) {
        ChooseInDialog([preset](TUnitsForm& form) {
            form.PresetCombo()->setCurrentIndex(preset);
            emit form.PresetCombo()->activated(preset);
        });
    }
    QStringList ReportCaptions() {
        QStringList captions;
        for (const auto& column : CircuitReportGrid(W().Circuit(), dvx::test::TestProject(), false, true))
            captions << QString::fromStdString(column.front());
        return captions;
    }

private slots:
    void initTestCase() { SetUpHome(); }

    void init() {
        FreshStart("units.ini");
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        SetDisplayUnits(TUnitChoice());
        window_ = std::make_unique<TMainForm>(Project());
        W().SetFileDialogHandler([this](QWidget*, const TFileDialogRequest&) {
            return chosenFiles_.isEmpty() ? QString() : chosenFiles_.takeFirst();
        });
        W().show();
        // One pipe of 25 l/s, 100 mm, 10 m, with a calculated 8077 Pa.
        QVERIFY(W().InsertForm()->AddPipe());
        TBranch& pipe = W().Circuit().Item(0);
        pipe.Flow = 0.025;
        pipe.PressureDrop = 8077;
        W().Model()->Refresh();
    }

    void cleanup() {
        W().Circuit().Saved = true;
        window_.reset();
        SetDisplayUnits(TUnitChoice());
    }

    void siPresetShowsWhatTheProgramAlwaysShowed() {

        const QStringList siCaptions = {"#", "Description", "Size, mm", " Qty", "Q, l/s", "dP, kPa", "Type"};
        QCOMPARE(ReportCaptions(), siCaptions);
        QCOMPARE(Cell(0, gcFlow), QString("25.00"));
        QCOMPARE(Cell(0, gcPressureDrop), QString("8.077"));
        QCOMPARE(W().InsertForm()->FlowEdit()->text(), QString("25.0"));
        // There and back: everything as before.
        ChoosePreset(upUS);
        ChoosePreset(upSI);
        QCOMPARE(ReportCaptions(), siCaptions);
        QCOMPARE(Caption(gcFlow), QString("Q, l/s"));
        QCOMPARE(Cell(0, gcFlow), QString("25.00"));
        QCOMPARE(Cell(0, gcSize), QString("100"));
        QCOMPARE(Cell(0, gcQuantity), QString("10.0"));
        QCOMPARE(W().InsertForm()->FlowEdit()->text(), QString("25.0"));
        QCOMPARE(W().InsertForm()->DiameterCombo()->itemText(19), QString("15"));
        QCOMPARE(QString::fromStdString(Store().ReadString("Units", "Flow", "")), QString("l/s"));
        W().CalcBtnClick();
        const std::vector<std::string> summary =
            CircuitSummaryLines(W().Circuit(), Project().Liquid, Project());
        QCOMPARE(QString::fromStdString(summary[0]),
                 QString("Index circuit total pressure drop %1 kPa")
                     .arg(QString::fromStdString(FormatFloat("%0.4g", W().Circuit().TotalDP / 1000))));
        QCOMPARE(QString::fromStdString(summary[2]), QString("System fluid: Clean Water 9.0 °C"));
        QCOMPARE(W().StatusPanel(2)->text(),
                 QString("dP = %1 kPa").arg(QString::fromStdString(FormatFloat("%0.4g", W().Circuit().TotalDP / 1000))));
    }

    void usPresetShowsAndReadsUsCustomaryUnits() {
        ChoosePreset(upUS);
        QVERIFY(DisplayUnits() == TUnitChoice::FromPreset(upUS));
        QCOMPARE(Caption(gcSize), QString("Size, in"));
        QCOMPARE(Caption(gcFlow), QString("Q, gpm"));
        QCOMPARE(Caption(gcPressureDrop), QString("dP, psi"));
        QCOMPARE(Cell(0, gcFlow), QString("396.3"));       // 25 l/s
        QCOMPARE(Cell(0, gcPressureDrop), QString("1.171")); // 8077 Pa
        QCOMPARE(Cell(0, gcSize), QString("4\""));
        QCOMPARE(Cell(0, gcQuantity), QString("32.8"));    // 10 m
        QCOMPARE(ReportCaptions().mid(2, 4), QStringList({"Size, in", " Qty", "Q, gpm", "dP, psi"}));

        // Typed in gpm, kept in m³/s; a size typed as a designation.
        EditCell(0, gcFlow, "100");
        QCOMPARE(W().Circuit().Item(0).Flow, 100.0 * 3.785411784e-3 / 60);
        QCOMPARE(Cell(0, gcFlow), QString("100.0"));
        EditCell(0, gcSize, "1 1/4");
        QCOMPARE(NominalOf(Project().Tables, W().Circuit().Item(0).BoreIndex), 32.0);
        QCOMPARE(Cell(0, gcSize), QString("1¼\""));
        EditCell(0, gcQuantity, "50");
        QCOMPARE(static_cast<const TPipe&>(W().Circuit().Item(0)).Length, 50 * 0.3048);
        // A flow below zero is refused in gpm as in l/s.
        CircuitModel* m = W().Model();
        QVERIFY(!m->setData(m->index(0, m->ViewColumnOf(gcFlow)), "-5", Qt::EditRole));
        QCOMPARE(messages_.back().text, QString("Data must be positive"));
        QCOMPARE(W().Circuit().Item(0).Flow, 100.0 * 3.785411784e-3 / 60);

        W().CalcBtnClick();
        const double psi = W().Circuit().TotalDP / 6894.757293168;
        QCOMPARE(W().StatusPanel(2)->text(), QString("dP = %1 psi").arg(QString::fromStdString(FormatFloat("%0.4g", psi))));
        Screenshot(W(), "units-us-main");
        const std::vector<std::string> summary =
            CircuitSummaryLines(W().Circuit(), Project().Liquid, Project());
        QCOMPARE(QString::fromStdString(summary[0]),
                 QString("Index circuit total pressure drop %1 psi").arg(QString::fromStdString(FormatFloat("%0.4g", psi))));
        QCOMPARE(QString::fromStdString(summary[1]),
                 QString("Total system volume %1 US gal")
                     .arg(QString::fromStdString(FormatFloat("%0.4g", W().Circuit().TotalVolume / 3.785411784e-3))));
        QCOMPARE(QString::fromStdString(summary[2]), QString("System fluid: Clean Water 48.2 °F"));

        // The insert window: labels, bore list and values in the new units.
        TInsertForm* insert = W().InsertForm();
        QCOMPARE(insert->FlowEdit()->text(), QString("396")); // the 25 l/s default, "%0.0f" gpm
        QCOMPARE(insert->DiameterCombo()->itemText(16), QString("1¼\""));
        insert->show();
        Screenshot(*insert, "units-us-insert");
        insert->FlowEdit()->setText("50");
        insert->DiameterCombo()->setCurrentIndex(16);
        QVERIFY(insert->AddUser());
        QCOMPARE(W().Circuit().Item(0).Flow, 50 * 3.785411784e-3 / 60);
        QCOMPARE(NominalOf(Project().Tables, W().Circuit().Item(0).BoreIndex), 32.0);
        insert->FlowEdit()->setText("40");
        insert->AutoSizeClick(); // 40 gpm = 2.52 l/s: more than 40 mm carries
        QCOMPARE(insert->DiameterCombo()->currentText(), QString("2\""));

        // Kept for the next run.
        QCOMPARE(ReadUnitChoice(Store()), TUnitChoice::FromPreset(upUS));
        window_.reset();
        SetDisplayUnits(TUnitChoice());
        window_ = std::make_unique<TMainForm>(Project());
        QCOMPARE(Caption(gcFlow), QString("Q, gpm"));
    }

    // The dialog names its presets plainly, and no caption touches its list.
    void dialogCaptionsStandClearOfTheirLists() {
        TUnitsForm& form = *W().UnitsForm();
        QCOMPARE(form.PresetCombo()->itemText(upSI), QString("SI"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        int checked = 0;
        for (QLabel* label : form.findChildren<QLabel*>()) {
            auto* combo = qobject_cast<QComboBox*>(label->buddy());
            if (combo == nullptr || !label->isVisible()) continue;
            const int textRight = (label->alignment() & Qt::AlignRight)
                                      ? label->geometry().right()
                                      : label->x() + label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(combo->x() - textRight >= 6, qPrintable(label->text()));
            ++checked;
        }
        QCOMPARE(checked, QuantityCount + 1); // every quantity and the preset
        form.hide();
    }

    void ownChoicePerQuantityAndCancel() {
        ChooseInDialog([](TUnitsForm& form) {
            form.UnitCombo(qtPressureDrop)->setCurrentIndex(UnitIndexOf(qtPressureDrop, "ft-head"));
            QCOMPARE(form.PresetCombo()->currentText(), QString("Own choice"));
            form.UnitCombo(qtFlow)->setCurrentIndex(UnitIndexOf(qtFlow, "m3/h"));
        });
        QCOMPARE(Caption(gcFlow), QString("Q, m³/h"));
        QCOMPARE(Caption(gcPressureDrop), QString("dP, ft head"));
        QCOMPARE(Cell(0, gcFlow), QString("90.00"));
        // 8077 Pa of water at 9 °C (999.65 kg/m³): 2.703 ft.
        QCOMPARE(Cell(0, gcPressureDrop), QString("2.703"));

        // Cancel keeps what is in force.
        QTimer::singleShot(0, W().UnitsForm(), [this] {
            W().UnitsForm()->PresetCombo()->setCurrentIndex(upUS);
            emit W().UnitsForm()->PresetCombo()->activated(upUS);
            W().UnitsForm()->Button("Cancel")->trigger();
        });
        W().UnitsCommand();
        QCOMPARE(Caption(gcFlow), QString("Q, m³/h"));
    }

    void defaultsSheetInUsUnitsKeepsTheDefaultsInTheirOwnUnits() {
        QCOMPARE(TDefaultsForm::LinesFor(TUnitChoice(), LiquidDensity(Project().Liquid)), TDefaultsForm::Lines());
        SetDisplayUnits(TUnitChoice::FromPreset(upUS));
        Project().Tables.DefaultFlow = 25;       // l/s
        Project().Tables.DefaultLength = 10;     // m
        Project().Tables.DefaultTemperature = 9; // °C
        Project().Tables.DefaultUserDP = 50;     // kPa
        TDefaultsForm form(Project());
        const std::vector<std::string> lines = TDefaultsForm::LinesFor(DisplayUnits(), LiquidDensity(Project().Liquid));
        QCOMPARE(lines[1], std::string("Water Temperature; %0.1f; °F; NPE; 14; 194"));
        QCOMPARE(lines[3], std::string("Pipe Length; %0.3f; ft; NPE; 0.328084; 328.084 "));
        QCOMPARE(lines[7], std::string("User Pressure Drop; %0.2f; psi; NPE; 0; 14.5038"));
        const int result = RunModal(form, [&] {
            QCOMPARE(DialogTestBase::Cell(form, 1), QString("48.2"));
            QCOMPARE(DialogTestBase::Cell(form, 2), QString("4\""));
            QCOMPARE(DialogTestBase::Cell(form, 3), QString("32.808"));
            QCOMPARE(DialogTestBase::Cell(form, 4), QString("396.26"));
            QCOMPARE(DialogTestBase::Cell(form, 7), QString("7.25"));
            QCOMPARE(QString::fromStdString(form.Grid()->Cell(2, 4)), QString("gpm"));
            Screenshot(form, "units-us-defaults");
            Type(form, 4, "100");
            Type(form, 1, "68");
            Type(form, 7, "5000"); // beyond the limit: taken at 100 kPa, shown as 14.50 psi
            QVERIFY(form.AcceptClick());
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(std::abs(Project().Tables.DefaultFlow - 100 * 3.785411784 / 60) < 1e-9);
        QVERIFY(std::abs(Project().Tables.DefaultTemperature - 20) < 1e-9);
        QVERIFY(std::abs(Project().Tables.DefaultUserDP - 14.5 * 6.894757293168) < 1e-9);
        // The length was not touched: it is kept exactly, not read back
        // from its rounded feet.
        QCOMPARE(Project().Tables.DefaultLength, 10.0);
    }

    void defaultFlowsInGpmAreStoredInLitresPerSecond() {
        SetDisplayUnits(TUnitChoice::FromPreset(upUS));
        TDefaultFlowForm form(Project());
        QTableWidget* grid = form.Grid();
        QCOMPARE(grid->item(13, 0)->text(), QString("2½\""));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("Max Flow, gpm"));
        QCOMPARE(grid->item(13, 1)->text(), QString("118.9")); // 7.5 l/s
        grid->item(13, 1)->setText("150");
        QVERIFY(form.AcceptClick());
        QCOMPARE(Project().Tables.BoreTable[13].mf, 9.46); // 150 gpm, kept as l/s to two decimals
        QVERIFY(form.MaxFlowsText().find(", 9.46, 4.80,") != std::string::npos);
        QCOMPARE(QString::fromStdString(Store().Read(settings::MaxFlows)).contains("9.46"), true);
        grid->item(0, 1)->setText("lots");
        QVERIFY(!form.AcceptClick()); // the conversion error, the dialog stays
        QCOMPARE(messages_.back().kind, MsgKind::Error);
    }

    void limitsInUsUnits() {
        SetDisplayUnits(TUnitChoice::FromPreset(upUS));
        Project().Tables.GradientLimit = 1500; // Pa/m
        Project().Tables.VelocityLimit = 3.5;  // m/s
        TLimitsForm form(Project());
        const int result = RunModal(form, [&] {
            QCOMPARE(form.PRateUnit()->text(), QString("ft/100 ft"));
            QCOMPARE(form.MaxVUnit()->text(), QString("ft/s"));
            // 1500 Pa/m of water at 9 °C (999.65 kg/m³) is 15.301 ft per 100 ft; 3.5 m/s is 11.48 ft/s.
            QCOMPARE(form.PRateEdit()->text(), QString("15.301"));
            QCOMPARE(form.MaxVEdit()->text(), QString("11.5"));
            form.MaxVEdit()->setText("12");
            QVERIFY(form.AcceptClick());
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(Project().Tables.VelocityLimit, 12 * 0.3048);
        QCOMPARE(Project().Tables.GradientLimit, 1500.0); // untouched: kept exactly
        QCOMPARE(QString::fromStdString(Store().Read(settings::VMax)), QString("3.7"));
    }

    void warningDetailAndSummaryInUsUnits() {
        TPipe& pipe = static_cast<TPipe&>(W().Circuit().Item(0));
        pipe.Number = 7;
        pipe.Description = "Riser";
        pipe.Velocity = 3.6;
        pipe.Length = 30;
        pipe.Gradient = 2000;
        QCOMPARE(ui::WarningDetail(pipe, LiquidDensity(dvx::test::TestProject().Liquid)), std::string("  7: Riser 8.077 kPa 3.6 m/s 30.0 m 2 kPa/m"));
        const TSummary summary = SummarizeCircuit(W().Circuit(), LiquidDensity(dvx::test::TestProject().Liquid));
        QCOMPARE(SummaryPressureCaption(), std::string("dP, kPa"));
        QCOMPARE(SummaryQuantityText(summary, 0), std::string("30"));
        ChoosePreset(upUS);
        // 2000 Pa/m of water at 9 °C (999.65 kg/m³) is 20.40 ft per 100 ft.
        QCOMPARE(ui::WarningDetail(pipe, LiquidDensity(dvx::test::TestProject().Liquid)), std::string("  7: Riser 1.171 psi 11.8 ft/s 98.4 ft 20.4 ft/100 ft"));
        QCOMPARE(SummaryPressureCaption(), std::string("dP, psi"));
        QCOMPARE(SummaryQuantityText(summary, 0), std::string("98"));
        QCOMPARE(SummaryPressureText(summary, 0), std::string("1.171"));
        QCOMPARE(SummaryStatusText(summary), std::string("Total pressure of summary items = 1.171 psi"));
    }

    void filesAreTheSameUnderEitherPreset() {
        // Items entered in US units, then the same project written under
        // each preset: project and text item files byte for byte the same.
        ChoosePreset(upUS);
        TInsertForm* insert = W().InsertForm();
        insert->FlowEdit()->setText("75");
        insert->PipeLenEdit()->setText("40");
        QVERIFY(insert->AddPipe());
        QVERIFY(insert->AddFitting());
        W().CalcBtnClick();
        auto write = [this](const QString& stem) {
            chosenFiles_ << Path(stem + ".dvx"); // the text file takes the project's name
            W().SaveAsCommand();
            W().WriteTextFileCommand();
        };
        write("us");
        ChoosePreset(upSI);
        write("si");
        for (const char* suffix : {".dvx", ".txt"}) {
            QFile us(Path(QString("us") + suffix)), si(Path(QString("si") + suffix));
            QVERIFY(us.open(QIODevice::ReadOnly));
            QVERIFY(si.open(QIODevice::ReadOnly));
            const QByteArray usBytes = us.readAll();
            QVERIFY(!usBytes.isEmpty());
            QCOMPARE(usBytes, si.readAll());
        }
    }
};

QTEST_MAIN(UnitsTest)
#include "tst_units.moc"
