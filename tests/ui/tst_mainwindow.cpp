// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a user drives it: the insert dialog, in-place
// edits, the commands and their messages. Message boxes and file dialogs are
// answered through the window's seams.

#include "catalogue/Tables.h"
#include "fluid/Fluid.h"
#include "settings/MRU.h"
#include "settings/SettingsStore.h"
#include "ui/qt/AboutBox.h"
#include "ui/qt/CircuitModel.h"
#include "ui/qt/Desktop.h"
#include "ui/qt/InsertForm.h"
#include "ui/qt/Menu.h"
#include "ui/qt/Messages.h"
#include "widgets/qt/FmtEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "ui/DialogTestSupport.h"

using namespace dvx;
using namespace dvx::ui;

class MainWindowTest : public test::DialogTestBase {
    Q_OBJECT

private:
    QStringList chosenFiles_;                          // file dialog answers, in order
    std::unique_ptr<TMainForm> window_;

    TMainForm& W() { return *window_; }
    QString Panel(int i) { return W().StatusPanel(i)->text(); }
    QString Cell(int row, int logicalColumn) {
        CircuitModel* m = W().Model();
        return m->data(m->index(row, m->ViewColumnOf(logicalColumn)), Qt::DisplayRole).toString();
    }

    // Types text into a cell through the real in-place editor, then commits.
    void EditCell(int row, int logicalColumn, const QString& text) {
        QTableView* grid = W().Grid();
        QModelIndex index = W().Model()->index(row, W().Model()->ViewColumnOf(logicalColumn));
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        QVERIFY2(editor != nullptr, "no in-place editor opened");
        editor->selectAll();
        QTest::keyClicks(editor, text);
        W().Commit();
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
        RestoreBuiltInTables();
        StartFluidModule(9.0);
        SetAppSettings(SettingsStore(Path("config/Quellstrand/darvenix.ini").toStdString()));
        messages_.clear();
        answers_.clear();
        chosenFiles_.clear();
        window_ = std::make_unique<TMainForm>();
        W().SetFileDialogHandler([this](QWidget*, const TFileDialogRequest&) {
            return chosenFiles_.isEmpty() ? QString() : chosenFiles_.takeFirst();
        });
        W().show();
    }

    void cleanup() {
        W().Circuit().Saved = true; // no question on close
        window_.reset();
    }

    void startsEmptyReadyAndNotSolved() {
        QCOMPARE(Panel(0), QString("Ready"));
        QCOMPARE(Panel(1), QString("Not Solved"));
        QCOMPARE(W().Model()->rowCount(), 1); // the one empty row
        QCOMPARE(W().Model()->columnCount(), 7);
        QVERIFY(W().windowTitle().startsWith("Darvenix "));
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
        QCOMPARE(form->FittingDescriptionEdit()->text(), QString::fromStdString(FittingTable[3].FittingName));
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

    void calculateWithAZeroFlowPutsTheCursorOnIt() {
        AddPipes(3);
        W().Circuit().Item(1).Flow = 0;
        W().CalcBtnClick();
        QCOMPARE(messages_.back().text, QString("Data may not be zero"));
        QCOMPARE(W().Grid()->currentIndex().row(), 1);
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
        QVERIFY(!W().Action("&Undo last delete")->isEnabled());
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
        QCOMPARE(CurrentRoughness, MaterialRoughness[pmSteel]);
        QVERIFY(W().OpenFile(Path("galv.dvx")));
        QCOMPARE(int(W().Circuit().Material), int(pmGalvIron));
        QCOMPARE(CurrentRoughness, MaterialRoughness[pmGalvIron]);
        QVERIFY(W().Action("&Galvanised Iron Pipe")->isChecked());
        QCOMPARE(W().Circuit().Count(), 2);
        QCOMPARE(Panel(1), QString("Solved"));
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
        QCOMPARE(messages_.size(), size_t(2));
        QCOMPARE(messages_[0].text, QString("File not saved.  Extension must be \"dvx\"."));
        QCOMPARE(messages_[1].text, QString("Error writing items.txt"));
        QVERIFY(!QFile::exists(Path("items.txt")));
        QVERIFY(!W().OpenFile(Path("items.txt")));
        QCOMPARE(messages_.back().text, QString("File extension must be \"dvx\"."));
    }

    void failedOpenKeepsTheProject() {
        AddPipes(2);
        QFile bad(Path("bad.dvx"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a project at all");
        bad.close();
        QVERIFY(!W().OpenFile(Path("bad.dvx")));
        QCOMPARE(messages_.back().text, "Error reading " + Path("bad.dvx"));
        QCOMPARE(W().Circuit().Count(), 2);
        QCOMPARE(Panel(0), QString("Modified"));
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
        window_ = std::make_unique<TMainForm>();
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
        W().Action("&About...")->trigger();
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
        W().Action("&About...")->trigger();
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_.back().kind, MsgKind::Error);
        // Closing still closes, the insert window included.
        W().InsertCommand();
        QVERIFY(W().close());
        QVERIFY(!W().InsertForm()->isVisible());
        QCOMPARE(messages_.size(), size_t(2));
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
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
