// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a user drives it: the insert dialog, in-place
// edits, the commands and their messages. Message boxes and file dialogs are
// answered through the window's seams.

#include "engine/catalogue/Tables.h"
#include "base/Format.h"
#include "presentation/report/CircuitReport.h"
#include "engine/fluid/Fluid.h"
#include "base/platform/Documents.h"
#include "storage/project/ProjectFile.h"
#include "desktop/report/PreviewWindow.h"
#include "desktop/report/PreviewSeams.h"
#include <QPrinter>
#include "storage/settings/MRU.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/windows/AboutBox.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/Desktop.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/PipeSpecForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QDateTime>
#include <QFileInfo>
#include <QTableView>
#include <QToolBar>
#include <QTemporaryDir>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "ui/DialogTestSupport.h"
#include "desktop/windows/MaterialForm.h"
#include "base/platform/Folders.h"
#include "ui/MainWindowTestSupport.h"

using namespace dvx;
using namespace dvx::ui;

class MainWindowTest : public test::DialogTestBase {
    Q_OBJECT

private:
    QStringList chosenFiles_;                          // file dialog answers, in order
    QStringList launched_;                             // programs and arguments started
    std::unique_ptr<TMainForm> window_;

    TMainForm& W() { return *window_; }
    QString Panel(int i) { return W().StatusPanel(i)->text(); }
    QString Cell(int row, int logicalColumn) { return test::GridCellText(W(), row, logicalColumn); }

    // Types text into a cell through the real in-place editor, then commits.
    void EditCell(int row, int logicalColumn, const QString& text) {
        test::TypeIntoGridCell(W(), row, logicalColumn, text);
    }

    void AddPipes(int n) {
        for (int i = 0; i < n; ++i) QVERIFY(W().InsertForm()->AddPipe());
    }

private slots:
    void initTestCase() {
        SetUpHome();
        SetLauncher([](const QString&, const QStringList&) { return true; });
    }

    void init() {
        Project().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        SetAppSettings(SettingsStore(Path("config/Quellstrand/darvenix.ini").toStdString()));
        messages_.clear();
        answers_.clear();
        chosenFiles_.clear();
        window_ = std::make_unique<TMainForm>(Project());
        W().SetFileDialogHandler([this](QWidget*, const TFileDialogRequest&) {
            return chosenFiles_.isEmpty() ? QString() : chosenFiles_.takeFirst();
        });
        W().show();
    }

    void cleanup() {
        SetLauncher([](const QString&, const QStringList&) { return true; });
        W().LeaveGrid(); // a case that failed may have left an editor open
        W().Circuit().Saved = true; // no question on close
        window_.reset();
    }

    void startsEmptyReadyAndNotSolved() {
        QCOMPARE(Panel(0), QString("Ready"));
        QCOMPARE(Panel(1), QString("Not Solved"));
        QCOMPARE(W().Model()->rowCount(), 1); // the one empty row
        QCOMPARE(W().Model()->columnCount(), 7);
        // The same version the programs' --version print: "Darvenix 0.1.0",
        // with the place of the modified mark.
        QCOMPARE(W().windowTitle(), QString("Darvenix " DARVENIX_VERSION "[*]"));
        QVERIFY(!W().isWindowModified());
    }

    void insertDialogAddsEachKindBeforeTheCurrentRow() {
        TInsertForm* form = W().InsertForm();
        form->FlowEdit()->setText("3.0");
        form->AutoSizeClick();
        QCOMPARE(form->DiameterCombo()->currentText(), QString("50"));
        QVERIFY(form->AddPipe());
        QVERIFY(form->AddFitting());
        form->UserDPEdit()->setText("40");
        QVERIFY(form->AddUser());
        TCircuit& c = W().Circuit();
        QCOMPARE(c.Count(), 3);
        // Inserted one after another on row 1: the reverse of the order added.
        QCOMPARE(c.Item(0).Kind(), TItemKind::User);
        QCOMPARE(c.Item(1).Kind(), TItemKind::Fitting);
        QCOMPARE(c.Item(2).Kind(), TItemKind::Pipe);
        QCOMPARE(c.Item(0).PressureDrop, 40000.0);
        QCOMPARE(c.Item(2).Flow, 0.003);
        QCOMPARE(Panel(0), QString("Modified"));
        QCOMPARE(Panel(1), QString("Not Solved"));
        QCOMPARE(W().Model()->rowCount(), 3);
        // A flow beyond the field's range is taken at its limit.
        form->FlowEdit()->setText("1500");
        QVERIFY(form->AddPipe());
        QCOMPARE(c.Item(0).Flow, 1.3);
        QCOMPARE(form->FlowEdit()->text(), QString("1300.0"));
    }

    void insertDialogRefusesNegativeEntries_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("limit"); // what the field shows afterwards
        QTest::newRow("pipe length") << "length" << "pipe" << "0.0";
        QTest::newRow("pipe flow") << "flow" << "pipe" << "0.1";
        QTest::newRow("fitting quantity") << "quantity" << "fitting" << "1";
        QTest::newRow("user flow") << "flow" << "user" << "0.1";
        QTest::newRow("user pressure drop") << "dp" << "user" << "0.0";
    }

    void insertDialogRefusesNegativeEntries() {
        QFETCH(QString, field);
        QFETCH(QString, kind);
        QFETCH(QString, limit);
        TInsertForm* form = W().InsertForm();
        form->show();
        form->UserDPEdit()->setText("40");
        TFmtEdit* edit = field == "length" ? form->PipeLenEdit()
                       : field == "quantity" ? form->FittingQty()
                       : field == "dp" ? form->UserDPEdit()
                                       : form->FlowEdit();
        edit->setText("-5");
        const bool added = kind == "pipe" ? form->AddPipe() : kind == "fitting" ? form->AddFitting() : form->AddUser();
        QVERIFY(!added);
        QCOMPARE(W().Circuit().Count(), 0);
        QCOMPARE(edit->text(), limit);
        QCOMPARE(Panel(0), QString("Ready"));
        form->hide();
    }

    void insertDialogAutoFlowAndSpin() {
        TInsertForm* form = W().InsertForm();
        form->DiameterCombo()->setCurrentText("65");
        form->AutoFlowClick();
        QCOMPARE(form->FlowEdit()->text(), QString("7.5"));
        form->FittingQty()->setText("999");
        form->SpinQuantity(+1);
        QCOMPARE(form->FittingQty()->text(), QString("999"));
        form->FittingQty()->setText("1");
        form->SpinQuantity(-1);
        QCOMPARE(form->FittingQty()->text(), QString("1"));
        form->FittingDescriptionEdit()->setText("my own words");
        form->FittingCombo()->setCurrentIndex(3);
        QCOMPARE(form->FittingDescriptionEdit()->text(),
                 QString::fromStdString(Project().Tables.FittingTable[3].FittingName));
    }

    void editingCellsTakesBoresAndFlows() {
        AddPipes(1);
        EditCell(0, gcSize, "90");
        QCOMPARE(Cell(0, gcSize), QString("80"));
        EditCell(0, gcSize, "90.6");
        QCOMPARE(Cell(0, gcSize), QString("100"));
        QVERIFY(W().InsertForm()->AddUser());
        EditCell(0, gcFlow, "2.6");
        QCOMPARE(Cell(0, gcSize), QString("50"));
        QCOMPARE(Panel(0), QString("Modified"));
        // The editor refuses keys a number cannot hold, and takes the value
        // at the column's precision.
        EditCell(1, gcQuantity, "12.34x");
        QCOMPARE(Cell(1, gcQuantity), QString("12.3"));
        // A text that is not a number never reaches the item.
        messages_.clear();
        CircuitModel* m = W().Model();
        QVERIFY(!m->setData(m->index(1, m->ViewColumnOf(gcQuantity)), "1,5", Qt::EditRole));
        QCOMPARE(Cell(1, gcQuantity), QString("12.3"));
        QCOMPARE(messages_.size(), size_t(1));
    }

    void gridRefusesNegativeEntries() {
        AddPipes(1);
        const double length = static_cast<const TPipe&>(W().Circuit().Item(0)).Length;
        const double flow = W().Circuit().Item(0).Flow;
        for (int column : {int(gcQuantity), int(gcFlow)}) {
            messages_.clear();
            EditCell(0, column, "-5");
            QCOMPARE(messages_.size(), size_t(1));
            QCOMPARE(messages_.back().text, QString("Data must be positive"));
        }
        QCOMPARE(static_cast<const TPipe&>(W().Circuit().Item(0)).Length, length);
        QCOMPARE(W().Circuit().Item(0).Flow, flow);
    }

    void restoredRoughnessIsUsedEvenAfterCancel() {
        AddPipes(1);
        W().CalcBtnClick();
        const double standard = W().Circuit().TotalDP;
        // A rough steel in force, as an earlier session may have stored it.
        Project().Tables.MaterialRoughness[pmSteel] = 0.001;
        Project().Tables.SelectPipeMaterial(pmSteel);
        W().CalcBtnClick();
        const double rough = W().Circuit().TotalDP;
        QVERIFY(rough > standard * 1.05);

        TPipeSpecForm* form = W().PipeSpecForm();
        QTimer::singleShot(0, form, [form] {
            form->Button("Restore")->trigger();
            form->Button("Cancel")->trigger();
        });
        W().PipeRoughnessCommand();
        QCOMPARE(Project().Tables.MaterialRoughness[pmSteel], 0.000046);
        QCOMPARE(Panel(1), QString("Not Solved")); // the results no longer match
        W().CalcBtnClick();
        // The friction factor iterates from the last result: equal to 1e-5.
        QVERIFY2(std::abs(W().Circuit().TotalDP - standard) < standard * 1e-5,
                 qPrintable(QString::number(W().Circuit().TotalDP)));

        // Cancel without a change leaves the results as they are.
        QTimer::singleShot(0, form, [form] { form->Button("Cancel")->trigger(); });
        W().PipeRoughnessCommand();
        QCOMPARE(Panel(1), QString("Solved"));
    }

    void aDecimalCommaEntersTheDecimalPoint() {
        AddPipes(1);
        EditCell(0, gcFlow, "1,5");
        QCOMPARE(W().Circuit().Item(0).Flow, 0.0015); // 1.5 l/s, not 15
        EditCell(0, gcQuantity, "12,5"); // a pipe's length
        QCOMPARE(static_cast<const TPipe&>(W().Circuit().Item(0)).Length, 12.5);
    }

    void calculateWithAZeroFlowPutsTheCursorOnIt() {
        AddPipes(3);
        W().Circuit().Item(1).Flow = 0;
        W().CalcBtnClick();
        QCOMPARE(messages_.back().text, QString("Data may not be zero"));
        QCOMPARE(W().Grid()->currentIndex().row(), 1);
        // A negative value, as a text item file or an older project may
        // hold, stops the calculation the same way and says what is wrong.
        W().Circuit().Item(1).Flow = -0.02;
        W().CalcBtnClick();
        QCOMPARE(messages_.back().text, QString("Data must be positive"));
        QCOMPARE(W().Grid()->currentIndex().row(), 1);
        QCOMPARE(W().Model()->LogicalColumnAt(W().Grid()->currentIndex().column()), int(gcFlow));
        QCOMPARE(Panel(1), QString("Not Solved"));
        QCOMPARE(W().Model()->LogicalColumnAt(W().Grid()->currentIndex().column()), int(gcFlow));
        QCOMPARE(Panel(1), QString("Not Solved"));
        W().Circuit().Item(1).Flow = 0.02;
        W().CalcBtnClick();
        QCOMPARE(Panel(1), QString("Solved"));
        QVERIFY(Panel(2).startsWith("dP = "));
    }

    void calculationFailureIsReported() {
        AddPipes(1);
        static_cast<TPipe&>(W().Circuit().Item(0)).Flow = std::numeric_limits<double>::infinity();
        W().CalcBtnClick();
        QCOMPARE(messages_.back().text, QString("Pressure drop error.\nCheck your data..."));
        QCOMPARE(messages_.back().kind, MsgKind::Error);
    }

    void groupsAndIndexPropagate() {
        AddPipes(3);
        W().SetGroupsActive(true);
        QCOMPARE(W().Model()->columnCount(), 9);
        EditCell(0, gcGroup, "2");
        EditCell(1, gcGroup, "2");
        EditCell(0, gcIndex, "0");
        QCOMPARE(Cell(1, gcIndex), QString("0"));
        QCOMPARE(Cell(2, gcIndex), QString("1"));
        W().CalcBtnClick();
        const TCircuit& c = W().Circuit();
        QVERIFY(std::abs(c.TotalDP - c.Item(2).PressureDrop) < 1e-9);
    }

    void sortingTwiceReverses() {
        AddPipes(3);
        QList<int> numbers;
        W().SortCommand(skNumber);
        for (int i = 0; i < 3; ++i) numbers << W().Circuit().Item(i).Number;
        QVERIFY(numbers[0] < numbers[1] && numbers[1] < numbers[2]);
        W().SortCommand(skNumber);
        QCOMPARE(W().Circuit().Item(0).Number, numbers[2]);
        QCOMPARE(W().Circuit().Item(2).Number, numbers[0]);
        W().RenumberCommand();
        QCOMPARE(Cell(2, gcNumber), QString("3"));
    }

    void deleteAndUndo() {
        AddPipes(3);
        W().Grid()->setCurrentIndex(W().Model()->index(2, 1));
        int first = W().Circuit().Item(2).Number;
        W().DeleteCommand();
        QCOMPARE(W().Grid()->currentIndex().row(), 1); // cursor back on the new last row
        int second = W().Circuit().Item(0).Number;
        W().Grid()->setCurrentIndex(W().Model()->index(0, 1));
        W().DeleteCommand();
        W().UndoDeleteCommand();
        QCOMPARE(W().Circuit().Count(), 2);
        QCOMPARE(W().Circuit().Item(1).Number, second); // appended, not put back
        QVERIFY(W().Circuit().Item(0).Number != first);
        QVERIFY(!W().Action("actionEditUndoDelete")->isEnabled());
        // Deleting every item leaves a ready, solved, empty project.
        W().DeleteCommand();
        W().DeleteCommand();
        QCOMPARE(Panel(0), QString("Ready"));
        QCOMPARE(Panel(1), QString("Solved"));
        QCOMPARE(Panel(2), QString());
    }

    void saveAndReopenKeepsTheMaterial() {
        AddPipes(2);
        W().ChooseMaterial(pmGalvIron);
        chosenFiles_ << Path("galv.dvx");
        W().SaveAsCommand();
        QCOMPARE(Panel(0), QString("Ready"));
        QCOMPARE(Panel(3), QString("galv.dvx"));
        QVERIFY(W().NewProject());
        QCOMPARE(Project().Tables.CurrentRoughness, Project().Tables.MaterialRoughness[pmSteel]);
        QVERIFY(W().OpenFile(Path("galv.dvx")));
        QCOMPARE(int(W().Circuit().Material), int(pmGalvIron));
        QCOMPARE(Project().Tables.CurrentRoughness, Project().Tables.MaterialRoughness[pmGalvIron]);
        QVERIFY(W().Action("actionMaterial1")->isChecked());
        QCOMPARE(W().Circuit().Count(), 2);
        QCOMPARE(Panel(1), QString("Solved"));
    }

    // A material with its own bores: the items move to the nearest of them,
    // the far moves are listed, undo puts the bores back, and a project
    // whose material this machine lacks opens from the copy it carries.
    void furtherMaterialMovesTheBoresAndTravelsWithTheProject() {
        TMaterialTable copper;
        copper.Name = "Test Copper";
        copper.Roughness = 1.5e-6;
        copper.File = "TestCopper.ini";
        copper.Bores = {{"2\"", 0.05042, 0.019, 4.0, -1, 0.3}, {"1\"", 0.026035, 0.022, 0.9, -1, 0.2}};
        Project().Tables.Materials.push_back(copper);
        AddPipes(2);
        W().Circuit().Item(1).SetBore(Project(), 17); // 25 mm, 26.64 mm inside
        messages_.clear();

        W().ChooseMaterial(MaterialCount);
        QCOMPARE(int(W().Circuit().Material), MaterialCount);
        QCOMPARE(Project().Tables.CurrentRoughness, 1.5e-6);
        QAction* chosen = W().Action(TMainForm::MaterialActionName(MaterialCount));
        QVERIFY(chosen != nullptr);
        QCOMPARE(chosen->text(), QString("Test Copper"));
        QVERIFY(chosen->isChecked());
        QCOMPARE(W().Circuit().Item(0).InsideDiameter, 0.05042); // from 102.3 mm
        QCOMPARE(W().Circuit().Item(1).InsideDiameter, 0.026035);
        QCOMPARE(Cell(0, gcSize), QString("2\""));
        QCOMPARE(messages_.size(), std::size_t(1));
        QVERIFY(messages_[0].text.contains("more than 10 %"));
        QVERIFY(messages_[0].text.contains("102.3 mm \u2192 50.4 mm"));
        QVERIFY(!messages_[0].text.contains("26.6 mm")); // 2 %: not listed
        QVERIFY(W().isWindowModified());

        W().Action("actionEditUndo")->trigger();
        QCOMPARE(int(W().Circuit().Material), int(pmSteel));
        QCOMPARE(Project().Tables.CurrentRoughness, Project().Tables.MaterialRoughness[pmSteel]);
        QCOMPARE(int(W().Circuit().Item(0).BoreIndex), 11);
        QCOMPARE(W().Circuit().Item(0).InsideDiameter, Project().Tables.BoreTable[11].ID);
        QCOMPARE(Cell(0, gcSize), QString("100"));
        W().Action("actionEditRedo")->trigger();
        QCOMPARE(W().Circuit().Item(0).InsideDiameter, 0.05042);

        chosenFiles_ << Path("copper.dvx");
        W().SaveAsCommand();
        QVERIFY(W().NewProject());
        Project().Tables.Materials.clear(); // a machine without the material
        messages_.clear();
        QVERIFY(W().OpenFile(Path("copper.dvx")));
        QVERIFY(!messages_.empty());
        QCOMPARE(messages_[0].kind, MsgKind::Warning);
        QVERIFY(messages_[0].text.contains("\"Test Copper\" of this project is not in this computer's catalogues"));
        QAction* known = W().Action(TMainForm::MaterialActionName(int(W().Circuit().Material)));
        QVERIFY(known != nullptr);
        QCOMPARE(known->text(), QString("Test Copper (from the project)"));
        QVERIFY(known->isChecked());
        QCOMPARE(W().Circuit().Item(0).InsideDiameter, 0.05042);
        QCOMPARE(W().Circuit().Item(1).InsideDiameter, 0.026035);
        QCOMPARE(Project().Tables.CurrentRoughness, 1.5e-6);
        QCOMPARE(Panel(1), QString("Solved"));
    }

    // Database › Add Pipe Material: a new file in the data folder and a
    // material to choose at once; what is wrong is said and nothing written.
    void userMaterialIsAddedToTheDataFolderAndTheMenu() {
        const auto fill = [](TMaterialForm& form, const QString& roughness, const QString& id) {
            form.NameEdit()->setText("Site Tube");
            form.RoughnessEdit()->setText(roughness);
            const QStringList rows[] = {{"DN 32", id, "1.2"}, {"DN 25", "26.2", "0.7"}};
            for (int r = 0; r < 2; ++r)
                for (int c = 0; c < 3; ++c) form.Bores()->setItem(r, c, new QTableWidgetItem(rows[r][c]));
        };
        const QString folder = QString::fromStdString(DataFolder());
        messages_.clear();
        {
            TMaterialForm bad(Project(), &W());
            fill(bad, "abc", "32.6");
            QVERIFY(!bad.TryAdd());
            QCOMPARE(messages_.back().text, QString("Roughness: 'abc' is not a number"));
            fill(bad, "0.005", "0");
            QVERIFY(!bad.TryAdd());
            QVERIFY(messages_.back().text.contains("[Bore1] ID: 0 is not above zero"));
            QVERIFY(!QFile::exists(folder + "UserMaterial-Site_Tube.ini"));
        }
        TMaterialForm form(Project(), &W());
        fill(form, "0.005", "32.6");
        QVERIFY(form.TryAdd());
        const QString file = folder + QString::fromStdString(form.AddedFile());
        QVERIFY(QFile::exists(file));
        const std::optional<int> code = MaterialCodeOf(Project().Tables, "Site Tube");
        QVERIFY(code.has_value());
        AddPipes(1);
        W().ChooseMaterial(*code);
        QCOMPARE(W().Action(TMainForm::MaterialActionName(*code))->text(), QString("Site Tube"));
        QVERIFY(W().Action(TMainForm::MaterialActionName(*code))->isChecked());
        QCOMPARE(Project().Tables.CurrentRoughness, 5e-6);
        QCOMPARE(W().Circuit().Item(0).InsideDiameter, 0.0326);
        QFile::remove(file); // the other cases start without it
    }

    // The title names the project's file and carries the modified mark,
    // which follows every change, save and undo.
    void titleNamesTheProjectAndMarksChanges() {
        QVERIFY(W().windowTitle().startsWith("Darvenix "));
        QVERIFY(!W().isWindowModified());
        AddPipes(2);
        QVERIFY(W().isWindowModified());
        chosenFiles_ << Path("chilled-water.dvx");
        W().SaveAsCommand();
        QCOMPARE(W().windowTitle(), QString("chilled-water.dvx[*] — Darvenix"));
        QVERIFY(!W().isWindowModified());
        W().ChooseMaterial(pmGalvIron);
        QVERIFY(W().isWindowModified());
        W().Action("actionEditUndo")->trigger();
        QVERIFY(!W().isWindowModified());
        QVERIFY(W().NewProject());
        QVERIFY(W().windowTitle().startsWith("Darvenix "));
    }

    void openingAZeroFlowStopsAtIt() {
        AddPipes(3);
        W().CalcBtnClick();
        QVERIFY(Panel(2).startsWith("dP = "));
        W().Circuit().Item(1).Flow = 0;
        chosenFiles_ << Path("zero.dvx");
        W().SaveAsCommand();
        QVERIFY(W().NewProject());
        W().CalcBtnClick(); // an empty project: a total of 0 is shown
        QVERIFY(W().OpenFile(Path("zero.dvx")));
        QCOMPARE(messages_.back().text, QString("Data may not be zero"));
        QCOMPARE(W().Grid()->currentIndex().row(), 1);
        // A negative value, as a text item file or an older project may
        // hold, stops the calculation the same way and says what is wrong.
        W().Circuit().Item(1).Flow = -0.02;
        W().CalcBtnClick();
        QCOMPARE(messages_.back().text, QString("Data must be positive"));
        QCOMPARE(W().Grid()->currentIndex().row(), 1);
        QCOMPARE(W().Model()->LogicalColumnAt(W().Grid()->currentIndex().column()), int(gcFlow));
        QCOMPARE(Panel(1), QString("Not Solved"));
        QCOMPARE(W().Model()->LogicalColumnAt(W().Grid()->currentIndex().column()), int(gcFlow));
        QCOMPARE(Panel(0), QString("Ready"));
        QCOMPARE(Panel(1), QString("Not Solved"));
        QCOMPARE(Panel(2), QString()); // no total of another project
    }

    void resizingAllOrResettingAllFlowsIsAChange() {
        AddPipes(2);
        chosenFiles_ << Path("sizes.dvx");
        W().SaveAsCommand();
        QCOMPARE(Panel(0), QString("Ready"));
        W().ResizeAllCommand();
        QCOMPARE(Panel(0), QString("Modified"));
        QCOMPARE(Panel(1), QString("Solved"));
        W().SaveCommand();
        QCOMPARE(Panel(0), QString("Ready"));
        W().ResetAllFlowsCommand();
        QCOMPARE(Panel(0), QString("Modified"));
        QCOMPARE(Panel(1), QString("Solved"));
        // Closing now asks first.
        answers_ = {QMessageBox::Cancel};
        QVERIFY(!W().close());
        QCOMPARE(messages_.back().text, QString("sizes.dvx not saved.\nSave now?"));
    }

    void wrongExtensionsAreRefused() {
        AddPipes(1);
        chosenFiles_ << Path("items.txt");
        W().SaveAsCommand();
        // One message says why; no second one about writing.
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].text, QString("File not saved.  Extension must be \"dvx\"."));
        QVERIFY(!QFile::exists(Path("items.txt")));
        QVERIFY(!W().OpenFile(Path("items.txt")));
        QCOMPARE(messages_.back().text, QString("File extension must be \"dvx\"."));
    }

    void failedOpenKeepsTheProjectAndItsState() {
        AddPipes(2);
        QFile bad(Path("bad.dvx"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a project at all");
        bad.close();
        QVERIFY(!W().OpenFile(Path("bad.dvx")));
        QCOMPARE(messages_.back().text, "Error reading " + Path("bad.dvx"));
        QCOMPARE(W().Circuit().Count(), 2);
        QCOMPARE(Panel(0), QString("Modified"));
        // An unchanged project stays unchanged: nothing was lost or altered.
        W().CalcBtnClick();
        W().SetSaved(true);
        chosenFiles_ << Path("bad.dvx");
        W().OpenCommand();
        QCOMPARE(messages_.back().text, "Error reading " + Path("bad.dvx"));
        QCOMPARE(Panel(0), QString("Ready"));
        QCOMPARE(Panel(1), QString("Solved"));
        QVERIFY(W().Circuit().Saved);
    }

    void refusedCellEntriesChangeNothing() {
        AddPipes(1);
        W().CalcBtnClick();
        W().SetSaved(true);
        const double flow = W().Circuit().Item(0).Flow;
        // Letters typed into number cells, through the editor and by typing
        // on the grid itself; and a text that does not read as a number.
        for (int column : {int(gcSize), int(gcQuantity), int(gcFlow)}) EditCell(0, column, "abc");
        QTableView* grid = W().Grid();
        grid->setCurrentIndex(W().Model()->index(0, W().Model()->ViewColumnOf(gcFlow)));
        grid->setFocus();
        QTest::keyClicks(grid, "qq");
        W().Commit();
        grid->setCurrentIndex(W().Model()->index(0, W().Model()->ViewColumnOf(gcSize)));
        QTest::keyClicks(grid, "q");
        QTest::keyClick(grid, Qt::Key_Return);
        QTest::keyClick(grid, Qt::Key_Down);
        W().Commit();
        // Pasted letters: the cell refuses them with the conversion message.
        for (int column : {int(gcSize), int(gcQuantity), int(gcFlow)}) {
            const QModelIndex index = W().Model()->index(0, W().Model()->ViewColumnOf(column));
            grid->setCurrentIndex(index);
            grid->edit(index);
            auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
            QVERIFY(editor != nullptr);
            editor->selectAll();
            editor->insert("abc");
            W().Commit();
        }
        QCOMPARE(W().Circuit().Item(0).Flow, flow);
        QCOMPARE(Panel(0), QString("Ready"));
        QCOMPARE(Panel(1), QString("Solved"));
        // Letters refused in each number cell of each kind of item, then
        // Enter, as typed on the grid.
        QVERIFY(W().InsertForm()->AddFitting());
        W().InsertForm()->UserDPEdit()->setText("40");
        QVERIFY(W().InsertForm()->AddUser());
        W().SetGroupsActive(true);
        W().CalcBtnClick();
        W().SetSaved(true);
        QCOMPARE(Panel(1), QString("Solved"));
        W().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&W()));
        for (int row = 0; row < 3; ++row) {
            for (int column : {int(gcGroup), int(gcIndex), int(gcSize), int(gcQuantity), int(gcFlow),
                               int(gcPressureDrop)}) {
                const int view = W().Model()->ViewColumnOf(column);
                const QModelIndex index = W().Model()->index(row, view);
                if (view < 0 || !(W().Model()->flags(index) & Qt::ItemIsEditable)) continue;
                grid->setCurrentIndex(index);
                grid->setFocus();
                QTest::keyClicks(grid, "w");
                auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
                QVERIFY2(editor != nullptr, qPrintable(QString("no editor: row %1 column %2").arg(row).arg(column)));
                QTest::keyClick(editor, Qt::Key_Return);
                W().Commit();
                QVERIFY2(Panel(0) == "Ready", qPrintable(QString("row %1 column %2").arg(row).arg(column)));
                QVERIFY2(Panel(1) == "Solved", qPrintable(QString("row %1 column %2").arg(row).arg(column)));
            }
        }
        // A real change still marks the project.
        EditCell(0, gcFlow, "2.5");
        QCOMPARE(Panel(0), QString("Modified"));
        QCOMPARE(Panel(1), QString("Not Solved"));
    }

    void choosingAnotherMaterialIsAChangeToKeep() {
        AddPipes(1);
        W().CalcBtnClick();
        W().SetSaved(true);
        QAction* galvanised = W().Action("actionMaterial1");
        QAction* steel = W().Action("actionMaterial0");
        QVERIFY(steel->isChecked());
        steel->trigger(); // the material in force: nothing changes
        QCOMPARE(Panel(0), QString("Ready"));
        QCOMPARE(Panel(1), QString("Solved"));
        galvanised->trigger();
        QCOMPARE(Panel(0), QString("Modified"));
        QCOMPARE(Panel(1), QString("Not Solved"));
        QCOMPARE(int(W().Circuit().Material), int(pmGalvIron));
        // New asks before the material is dropped.
        answers_ = {QMessageBox::Cancel};
        QVERIFY(!W().NewProject());
        QCOMPARE(messages_.back().text, QString("File not saved.\nSave now?"));
        QCOMPARE(int(W().Circuit().Material), int(pmGalvIron));
    }

    void unsavedChangesPrompt() {
        AddPipes(1);
        answers_ = {QMessageBox::Cancel};
        QVERIFY(!W().NewProject());
        QCOMPARE(messages_.back().text, QString("File not saved.\nSave now?"));
        QCOMPARE(W().Circuit().Count(), 1);
        answers_ = {QMessageBox::No};
        QVERIFY(W().NewProject());
        QCOMPARE(W().Circuit().Count(), 0);
        // Yes: the save dialog, then the save itself.
        AddPipes(1);
        answers_ = {QMessageBox::Yes};
        chosenFiles_ << Path("asked.dvx");
        QVERIFY(W().NewProject());
        QVERIFY(QFile::exists(Path("asked.dvx")));
    }

    void recentFilesAfterSevenOpens() {
        AddPipes(1);
        for (int i = 0; i < 7; ++i) {
            chosenFiles_ << Path(QString("p%1.dvx").arg(i));
            W().SaveAsCommand();
        }
        for (int i = 0; i < 7; ++i) QVERIFY(W().OpenFile(Path(QString("p%1.dvx").arg(i))));
        // The current file is not listed; the five shown are the most recent others.
        QStringList shown;
        for (QAction* a : W().ReopenMenu()->actions()) shown << a->text();
        QCOMPARE(shown.size(), 5);
        QCOMPARE(shown.first(), Path("p5.dvx"));
        QVERIFY(!shown.contains(Path("p6.dvx")));
    }

    // Tests and tools find the window's actions by name: every entry of the
    // menus, the pop-up menu and the tool bar has one of its own, the
    // entries made at run time (recent files, catalogue materials) too.
    void everyActionHasItsOwnName() {
        TMaterialTable copper;
        copper.Name = "Test Copper";
        copper.Roughness = 1.5e-6;
        copper.File = "TestCopper.ini";
        copper.Bores = {{"2\"", 0.05042, 0.019, 4.0, -1, 0.3}};
        Project().Tables.Materials.push_back(copper);
        AddPipes(1);
        W().ChooseMaterial(MaterialCount);
        for (int i = 0; i < 3; ++i) {
            chosenFiles_ << Path(QString("named%1.dvx").arg(i));
            W().SaveAsCommand();
        }
        QVERIFY(W().ReopenMenu()->actions().size() >= 2);

        QList<QAction*> actions;
        std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& list) {
            for (QAction* a : list) {
                if (a->isSeparator()) continue;
                actions << a;
                if (a->menu() != nullptr) walk(a->menu()->actions());
            }
        };
        walk(W().menuBar()->actions());
        QMenu* popup = W().findChild<QMenu*>("menuGridPopup");
        QVERIFY(popup != nullptr);
        walk(popup->actions());
        QToolBar* bar = W().findChild<QToolBar*>("MainToolBar");
        QVERIFY(bar != nullptr);
        walk(bar->actions());

        QSet<QString> names;
        for (QAction* a : actions) {
            QVERIFY2(!a->objectName().isEmpty(), qPrintable(a->text()));
            QVERIFY2(!names.contains(a->objectName()), qPrintable(a->objectName()));
            names.insert(a->objectName());
            // Nothing else in the window answers to the name first.
            QCOMPARE(W().Action(a->objectName()), a);
        }
        for (const char* made : {"actionMaterial3", "actionFileReopen1", "actionFileReopen2", "actionEditUndo",
                                 "actionFittingMethodCraneK", "actionToolBarSave", "actionPopupDelete"})
            QVERIFY2(names.contains(made), made);
    }

    void textExportAndImportReverseTheOrder() {
        QVERIFY(W().InsertForm()->AddPipe());
        QVERIFY(W().InsertForm()->AddFitting());
        QVERIFY(W().InsertForm()->AddUser());
        chosenFiles_ << Path("three.dvx");
        W().SaveAsCommand();
        W().WriteTextFileCommand();
        QCOMPARE(messages_.back().text, "Saved as... " + Path("three.txt"));
        std::vector<TItemKind> before;
        for (int i = 0; i < 3; ++i) before.push_back(W().Circuit().Item(i).Kind());
        chosenFiles_ << Path("three.txt");
        W().ReadTextFileCommand();
        QCOMPARE(W().Circuit().Count(), 3);
        for (int i = 0; i < 3; ++i) QCOMPARE(W().Circuit().Item(i).Kind(), before[static_cast<size_t>(2 - i)]);
        QCOMPARE(W().CurrentFile(), Path("three.dvx"));
        QCOMPARE(Panel(0), QString("Modified"));
    }

    void importingAFileWithoutItemsSaysSo() {
        const struct {
            const char* name;
            QByteArray bytes;
            bool told;
        } cases[] = {
            {"comments.txt", "; a comment\r\nx, not an item\r\n", true},
            {"blank.txt", "\r\n\r\n", false},
        };
        for (const auto& c : cases) {
            QFile file(Path(c.name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
            file.close();
            messages_.clear();
            chosenFiles_ << Path(c.name);
            W().ReadTextFileCommand();
            QCOMPARE(W().Circuit().Count(), 0);
            QCOMPARE(messages_.size(), size_t(c.told ? 1 : 0));
            if (c.told) QCOMPARE(messages_.back().text, QString(c.name) + " holds no item line.");
        }
    }

    void closingWritesSettingsAndTheRecentFiles() {
        AddPipes(2);
        W().SetGroupsActive(true);
        // Cancel to the unsaved-changes question keeps the window open.
        answers_ = {QMessageBox::Cancel};
        QVERIFY(!W().close());
        QVERIFY(W().isVisible());
        chosenFiles_ << Path("Closing Time.dvx"); // a name with capitals and a blank
        W().SaveAsCommand();
        QVERIFY(W().close());
        QVERIFY(AppSettings().Read(settings::ActiveGroups));
        TRecentFiles stored;
        stored.Load(AppSettings());
        QCOMPARE(stored.Entries().size(), size_t(1));
        QCOMPARE(QString::fromStdString(stored.Entries().front()), Path("Closing Time.dvx"));

        // The next run offers the file under its own name, and it opens.
        window_ = std::make_unique<TMainForm>(Project());
        W().show();
        QVERIFY(W().GroupsActive());
        QList<QAction*> entries = W().ReopenMenu()->actions();
        QCOMPARE(entries.size(), 1);
        entries.front()->trigger();
        QCOMPARE(W().CurrentFile(), Path("Closing Time.dvx"));
        QCOMPARE(W().Circuit().Count(), 2);
        QCOMPARE(Panel(1), QString("Solved"));
    }

    void aboutBoxStoresTheSplashChoice() {
        QVERIFY(!AppSettings().Read(settings::SplashScreen));
        QString licence;
        QTimer::singleShot(0, [&licence] {
            auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            if (auto* label = box->findChild<QLabel*>("licence")) licence = label->text();
            const QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
            if (!dir.isEmpty()) box->grab().save(QDir(dir).filePath("about.png"));
            box->SplashCheck()->setChecked(true);
            box->accept();
        });
        W().Action("actionHelpAbout")->trigger();
        QVERIFY(AppSettings().Read(settings::SplashScreen));
        // The box names the licence the program is distributed under.
        QVERIFY2(licence.contains("GNU General Public License, version 3 or later"), qPrintable(licence));
        QVERIFY(licence.contains("NO WARRANTY"));
        QVERIFY(messages_.empty());
    }

    void unwritableSettingsAreReportedNotThrown() {
        // The settings folder's place is taken by a file: every write fails.
        QFile blocker(Path("blocked"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SetAppSettings(SettingsStore(Path("blocked/darvenix.ini").toStdString()));
        // A menu command whose write fails shows the error (the about box is
        // closed as soon as it is up).
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        W().Action("actionHelpAbout")->trigger();
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_.back().kind, MsgKind::Error);
        // Closing still closes, the insert window included.
        W().InsertCommand();
        QVERIFY(W().close());
        QVERIFY(!W().InsertForm()->isVisible());
        QCOMPARE(messages_.size(), size_t(2));
    }

    // Opens the flow cell's editor and types a value, leaving it open.
    void TypeWithoutCommitting(const QString& text) {
        QTableView* grid = W().Grid();
        const QModelIndex index = W().Model()->index(0, W().Model()->ViewColumnOf(gcFlow));
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        QVERIFY2(editor != nullptr, "no in-place editor opened");
        editor->selectAll();
        QTest::keyClicks(editor, text);
    }

    // Every program the window starts is recorded in launched_ and counts
    // as started.
    void RecordLaunches() {
        launched_.clear();
        SetLauncher([this](const QString& program, const QStringList& args) {
            launched_ << program << args;
            return true;
        });
    }

    static double SavedFlow(const QString& file) {
        return ReadProject(file.toStdString(), dvx::test::TestProject()).Circuit->Item(0).Flow;
    }

    void commandsThatSaveOrReplaceTakeTheOpenEditFirst_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("File > Save") << "menu";
        QTest::newRow("Save tool button") << "button";
        QTest::newRow("Send as Email Attachment") << "mail";
        QTest::newRow("New Project") << "new";
    }

    void commandsThatSaveOrReplaceTakeTheOpenEditFirst() {
        QFETCH(QString, command);
        RecordLaunches();
        AddPipes(1);
        QVERIFY(W().SaveFile(Path("edit.dvx")));
        QCOMPARE(Panel(0), QString("Ready"));
        TypeWithoutCommitting("7.5");
        if (command == "menu") {
            W().Action("actionFileSave")->trigger();
        } else if (command == "button") {
            W().Action("actionToolBarSave")->trigger();
        } else if (command == "mail") {
            W().SendMailCommand();
        } else {
            answers_ = {QMessageBox::Cancel};
            QVERIFY(!W().NewProject());
            QCOMPARE(messages_.back().text, QString("edit.dvx not saved.\nSave now?"));
            QCOMPARE(W().Circuit().Item(0).Flow, 0.0075);
            return;
        }
        QCOMPARE(W().Circuit().Item(0).Flow, 0.0075);
        QCOMPARE(SavedFlow(Path("edit.dvx")), 0.0075);
        QCOMPARE(Panel(0), QString("Ready"));
        if (command == "mail") QVERIFY(launched_.contains(Path("edit.dvx")));
    }

    void mailingAnUnchangedProjectDoesNotWriteIt() {
        AddPipes(1);
        QVERIFY(W().SaveFile(Path("same.dvx")));
        // An older time shows whether the file was written again.
        QFile file(Path("same.dvx"));
        const QDateTime old = QDateTime::currentDateTime().addDays(-1);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        const QByteArray bytes = file.readAll();
        file.close();
        RecordLaunches();
        W().SendMailCommand();
        QVERIFY(launched_.contains(Path("same.dvx")));
        QCOMPARE(QFileInfo(Path("same.dvx")).lastModified(), old);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        QCOMPARE(Panel(0), QString("Ready"));
    }

    // Desktop helpers that start but find no browser or mail program end
    // with a failure code; the window says so, with the file's path.
    void desktopHelperFailuresAreReported_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("helperExit"); // -1: the helper is not there at all
        QTest::newRow("Help > Contents, no browser") << "contents" << 3;
        QTest::newRow("Help > Manual, no browser") << "manual" << 4;
        QTest::newRow("Help > Contents, no xdg-open") << "contents" << -1;
        QTest::newRow("mail, no mail program") << "mail" << 3;
        QTest::newRow("mail, no xdg-email") << "mail" << -1;
    }

    void desktopHelperFailuresAreReported() {
        QFETCH(QString, command);
        QFETCH(int, helperExit);
        // Stand-ins for xdg-open and xdg-email first on the search path; the
        // real ones never run here.
        QTemporaryDir bin;
        for (const char* helper : {"xdg-open", "xdg-email"}) {
            if (helperExit < 0) break;
            QFile script(bin.filePath(helper));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(QByteArray("#!/bin/sh\nexit ") + QByteArray::number(helperExit) + "\n");
            script.close();
            script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit() + (helperExit < 0 ? QByteArray() : ":" + path));
        SetLauncher({});
        QString expected;
        if (command == "mail") {
            AddPipes(1);
            QVERIFY(W().SaveFile(Path("sent.dvx")));
            W().SendMailCommand();
            expected = "Unable to start the mail program.\nThe project file is " + Path("sent.dvx");
        } else {
            const QString page = command == "contents" ? "Help/Darvenix.htm" : "Manual/Manual.htm";
            W().OpenHelpPage(page);
            expected = "Unable to open " + QString::fromStdString(DocumentPath(page.toStdString()));
        }
        QTRY_VERIFY_WITH_TIMEOUT(!messages_.empty(), 10000);
        qputenv("PATH", path);
        QCOMPARE(messages_.back().text, expected);
        QCOMPARE(messages_.size(), size_t(1));
    }

    void printerSetupIsOneForTheWholeProgram() {
        TPreviewForm* preview = W().ReportPreview();
        std::vector<QPrinter*> shown;
        preview->Seams().printerSetup = [&shown](QPrinter& printer) {
            shown.push_back(&printer);
            if (shown.size() == 1) printer.setCopyCount(3); // the user's choice
            return true;
        };
        // File > Printer Setup, then the preview's own set-up: the same
        // printer, with the choice made in the first still there.
        QAction* setup = W().Action("actionFilePrinterSetup");
        QVERIFY(setup != nullptr);
        setup->trigger();
        QCOMPARE(shown.size(), size_t(1));
        QVERIFY(preview->Printer() != nullptr);
        QCOMPARE(preview->Printer(), shown[0]);
        QCOMPARE(preview->Printer()->copyCount(), 3);
        preview->PrinterSetup();
        setup->trigger();
        QCOMPARE(shown.size(), size_t(3));
        QCOMPARE(shown[1], shown[0]);
        QCOMPARE(shown[2], shown[0]);
        QCOMPARE(preview->Printer()->copyCount(), 3);
    }

    void mailNeedsItems() {
        W().SendMailCommand();
        QCOMPARE(messages_.back().text, QString("Nothing to send..."));
        QStringList launched;
        SetLauncher([&launched](const QString& program, const QStringList& args) {
            launched << program << args;
            return true;
        });
        AddPipes(1);
        chosenFiles_ << Path("mail.dvx");
        W().SendMailCommand();
        SetLauncher([](const QString&, const QStringList&) { return true; });
        QCOMPARE(launched.value(0), QString("xdg-email"));
        QVERIFY(launched.contains(Path("mail.dvx")));
        QVERIFY(launched.contains("Darvenix data file"));
    }

    void screenshotOfACalculatedCircuit() {
        QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        TInsertForm* form = W().InsertForm();
        form->FlowEdit()->setText("25");
        form->DiameterCombo()->setCurrentText("100");
        QVERIFY(form->AddPipe());
        form->FittingCombo()->setCurrentIndex(1);
        QVERIFY(form->AddFitting());
        form->FlowEdit()->setText("30");
        form->DiameterCombo()->setCurrentText("80");
        QVERIFY(form->AddPipe());
        QVERIFY(form->AddUser());
        W().resize(760, 360);
        W().CalcBtnClick();
        QCOMPARE(Panel(1), QString("Solved"));
        if (!dir.isEmpty()) QVERIFY(W().grab().save(QDir(dir).filePath("mainwindow.png")));
    }

    void overLimitCellsReadAsWarningsWithTheLimitInTheirTip() {
        AddPipes(1);
        Project().Tables.VelocityLimit = 0.01; // any flow is too fast
        W().CalcBtnClick();
        CircuitModel* m = W().Model();
        const QModelIndex flow = m->index(0, m->ViewColumnOf(gcFlow));
        const QColor ground = m->data(flow, Qt::BackgroundRole).value<QBrush>().color();
        QVERIFY(ground.isValid());
        QVERIFY(ground != QApplication::palette().color(QPalette::Highlight));
        QVERIFY(m->data(flow, Qt::ToolTipRole).toString().endsWith("is above the limit of 0.0 m/s"));
        // The row's other cells are not warnings.
        QVERIFY(!m->data(m->index(0, m->ViewColumnOf(gcDescription)), Qt::ToolTipRole).isValid());
    }

    void aTotalThatIsNotCurrentIsShownAsSuch() {
        AddPipes(1);
        W().CalcBtnClick();
        const QString total = Panel(2);
        QVERIFY(total.startsWith("dP = "));
        QVERIFY(!W().StatusPanel(2)->font().strikeOut());
        W().ChooseMaterial(2); // results no longer current
        QCOMPARE(Panel(1), QString("Not Solved"));
        QCOMPARE(Panel(2), total);
        QVERIFY(W().StatusPanel(2)->font().strikeOut());
        QVERIFY(!W().StatusPanel(2)->isEnabled());
        W().CalcBtnClick();
        QVERIFY(!W().StatusPanel(2)->font().strikeOut());
        QVERIFY(W().StatusPanel(2)->isEnabled());
    }

    void resultColumnsAreChosenSavedAndReported() {
        AddPipes(3);
        W().CalcBtnClick();
        const int standard = W().Model()->columnCount(); // no result column by default
        QCOMPARE(W().Model()->ViewColumnOf(gcVelocity), -1);
        W().Action("actionColumnVelocity")->trigger();
        W().Action("actionColumnFriction")->trigger();
        CircuitModel* m = W().Model();
        QCOMPARE(m->columnCount(), standard + 2);
        const int velocity = m->ViewColumnOf(gcVelocity);
        QCOMPARE(velocity, m->ViewColumnOf(gcPressureDrop) + 1);
        QCOMPARE(m->headerData(velocity, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Velocity, m/s"));
        QCOMPARE(Cell(0, gcVelocity), QString::fromStdString(FormatFloat("%0.2f", static_cast<TPipe&>(W().Circuit().Item(0)).Velocity)));
        // Read-only results: no editor opens.
        QVERIFY(!(m->flags(m->index(0, velocity)) & Qt::ItemIsEditable));
        // The report prints the columns shown.
        const TReportGrid grid = CircuitReportGrid(W().Circuit(), dvx::test::TestProject(), W().GroupsActive(), W().ShowTypes(), W().ExtraColumns());
        QCOMPARE(static_cast<int>(grid.size()), standard + 2);
        QCOMPARE(QString::fromStdString(grid[static_cast<std::size_t>(velocity)][0]), QString("Velocity, m/s"));
        W().resize(1000, 420);
        Screenshot(W(), "mainwindow-result-columns");
        // The choice is kept for the next run.
        W().SaveSettings();
        window_ = std::make_unique<TMainForm>(Project());
        QVERIFY(W().Action("actionColumnVelocity")->isChecked());
        QVERIFY(!W().Action("actionColumnGradient")->isChecked());
        QCOMPARE(W().Model()->columnCount(), standard + 2);
        W().Action("actionColumnVelocity")->trigger();
        W().Action("actionColumnFriction")->trigger();
        W().SaveSettings(); // the next tests start with the standard grid
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
