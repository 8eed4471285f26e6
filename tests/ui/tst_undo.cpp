// SPDX-License-Identifier: GPL-3.0-or-later
// Edit › Undo and Redo on the main window: every kind of change taken back
// and done again, with the "Ready" / "Modified" marker following the state
// last saved.

#include "engine/catalogue/Tables.h"
#include "engine/hydraulics/ResistanceItems.h"
#include "engine/fluid/Fluid.h"
#include "storage/project/ProjectFile.h"
#include "desktop/report/PropertiesDlg.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/FluidSpecForm.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"

#include "desktop/widgets/FmtEdit.h"

#include <cmath>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>
#include <QUndoStack>
#include <QtTest>

#include "ui/DialogTestSupport.h"
#include "ui/MainWindowTestSupport.h"

using namespace dvx;
using namespace dvx::ui;

class UndoTest : public test::DialogTestBase {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> window_;
    TMainForm& W() { return *window_; }

    // Three pipes A, B, C saved as a project and opened: "Ready", nothing to undo.
    void OpenStartProject() {
        TCircuit c(Project());
        const struct {
            const char* name;
            int number;
            int bore;
            double length, flow;
        } rows[] = {{"A", 10, 15, 10, 0.001}, {"B", 20, 12, 20, 0.003}, {"C", 30, 11, 5, 0.002}};
        for (const auto& r : rows) {
            auto pipe = std::make_unique<TPipe>(Project());
            pipe->Description = r.name;
            pipe->Number = r.number;
            pipe->SetBore(Project(), r.bore);
            pipe->Length = r.length;
            pipe->Flow = r.flow;
            c.Append(std::move(pipe));
        }
        const QString file = Path("start.dvx");
        WriteProject(file.toStdString(), c, *Project().Liquid, Project().Tables);
        QVERIFY(W().OpenFile(file));
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
        QVERIFY(!W().UndoStack()->canUndo());
    }

    // What the user sees of the project: each row's number, description,
    // size, quantity and flow, then material, liquid temperature, author
    // and the saved marker.
    QString State() {
        QStringList rows;
        const TCircuit& c = W().Circuit();
        for (int i = 0; i < c.Count(); ++i) {
            QStringList cells;
            for (int column : {gcNumber, gcDescription, gcSize, gcQuantity, gcFlow})
                cells << QString::fromStdString(CellText(&c.Item(i), column, dvx::test::TestProject()));
            rows << cells.join('/');
        }
        return rows.join(' ') + QString(" m%1 t%2 a%3 %4")
                                    .arg(c.Material)
                                    .arg(Project().Liquid->t)
                                    .arg(QString::fromStdString(c.Author))
                                    .arg(W().StatusPanel(0)->text());
    }

    void EditCell(int row, int logicalColumn, const QString& text) {
        test::TypeIntoGridCell(W(), row, logicalColumn, text);
    }

    void DragRow(int from, int to) {
        CircuitModel* m = W().Model();
        std::unique_ptr<QMimeData> mime(m->mimeData({m->index(from, 0)}));
        QVERIFY(m->dropMimeData(mime.get(), Qt::MoveAction, -1, -1, m->index(to, 0)));
    }

private slots:
    void initTestCase() { SetUpHome(); }

    void init() {
        FreshStart("undo.ini");
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        window_ = std::make_unique<TMainForm>(Project());
        W().show();
        // The first activation sets the liquid's start temperature; let it
        // happen before the cases change the liquid.
        QApplication::setActiveWindow(&W());
        QVERIFY(QTest::qWaitForWindowActive(&W()));
        OpenStartProject();
    }

    void cleanup() {
        W().Circuit().Saved = true;
        window_.reset();
    }

    void everyChangeIsTakenBackAndDoneAgain_data() {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("afterUndo");
        QTest::addColumn<QString>("afterRedo");
        const QString a = "10/A/40/10.0/1.00", b = "20/B/80/20.0/3.00", c = "30/C/100/5.0/2.00";
        auto state = [](const QStringList& rows, const char* rest) { return rows.join(' ') + " " + rest; };
        const QString start = state({a, b, c}, "m0 t9 a Ready");
        // The project starts saved, so every undo returns to "Ready".
        auto row = [&](const char* name, int action, const QString& redone) {
            QTest::newRow(name) << action << start << redone;
        };
        const char* modified = "m0 t9 a Modified";
        row("cell edit", 0, state({"10/A/40/10.0/4.00", b, c}, modified));
        row("size edit", 1, state({a, "20/B/150/20.0/3.00", c}, modified));
        row("insert", 2, state({a, "31/P/40/3.0/2.00", b, c}, modified));
        row("delete", 3, state({a, c}, modified));
        row("move", 4, state({b, c, a}, modified));
        row("sort", 5, state({a, c, b}, modified));
        row("renumber", 6, state({"1/A/40/10.0/1.00", "2/B/80/20.0/3.00", "3/C/100/5.0/2.00"}, modified));
        row("resize all", 7, state({"10/A/32/10.0/1.00", "20/B/50/20.0/3.00", "30/C/40/5.0/2.00"}, modified));
        row("reset all flows", 8, state({"10/A/40/10.0/2.50", "20/B/80/20.0/14.00", "30/C/100/5.0/25.00"}, modified));
        row("material", 9, state({a, b, c}, "m1 t9 a Modified"));
        row("liquid", 10, state({a, b, c}, "m0 t20 a Modified"));
        row("details", 11, state({a, b, c}, "m0 t9 aMe Modified"));
    }

    void everyChangeIsTakenBackAndDoneAgain() {
        QFETCH(int, action);
        QFETCH(QString, afterUndo);
        QFETCH(QString, afterRedo);
        switch (action) {
        case 0: EditCell(0, gcFlow, "4"); break;
        case 1: EditCell(1, gcSize, "150"); break;
        case 2: {
            W().Grid()->setCurrentIndex(W().Model()->index(1, 1));
            TInsertForm* form = W().InsertForm();
            form->PipeDescriptionEdit()->setText("P");
            form->FlowEdit()->setText("2");
            form->PipeLenEdit()->setText("3");
            form->DiameterCombo()->setCurrentText("40");
            QVERIFY(form->AddPipe());
            break;
        }
        case 3:
            W().Grid()->setCurrentIndex(W().Model()->index(1, 1));
            W().DeleteCommand();
            break;
        case 4: DragRow(0, 2); break;
        case 5: W().SortCommand(skFlow); break;
        case 6: W().RenumberCommand(); break;
        case 7: W().ResizeAllCommand(); break;
        case 8: W().ResetAllFlowsCommand(); break;
        case 9: W().ChooseMaterial(1); W().SetSaved(false); break;
        case 10:
            QTimer::singleShot(0, [this] {
                // As the sheet leaves the liquid when a temperature is typed.
                Project().Liquid->SetT(20);
                W().FluidSpecForm()->accept();
            });
            W().WaterSpecCommand();
            break;
        case 11:
            QTimer::singleShot(0, [this] {
                W().PropertiesForm()->AuthorEdit()->setText("Me");
                W().PropertiesForm()->accept();
            });
            W().ProjectDetailsCommand();
            W().SetSaved(false);
            break;
        }
        QCOMPARE(State(), afterRedo);
        QVERIFY(W().Action("&Undo")->isEnabled());

        W().Action("&Undo")->trigger();
        QCOMPARE(State(), afterUndo);
        QVERIFY(W().Action("&Redo")->isEnabled());
        W().Action("&Redo")->trigger();
        QCOMPARE(State(), afterRedo);
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
    }

    void undoingToTheSavedStateReadsReadyAgain() {
        EditCell(0, gcFlow, "4");
        QVERIFY(W().SaveFile(Path("saved.dvx")));
        EditCell(0, gcFlow, "5");
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
        W().UndoCommand(); // back to what was saved
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
        QCOMPARE(W().StatusPanel(1)->text(), QString("Not Solved"));
        W().UndoCommand(); // before the save
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
        QCOMPARE(W().Circuit().Item(0).Flow, 0.001);
        W().RedoCommand();
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
        // A new project starts a history of its own with nothing to undo.
        W().NewProject();
        QVERIFY(!W().Action("&Undo")->isEnabled());
        QVERIFY(!W().Action("&Redo")->isEnabled());
    }

    void undoLastDeleteStillAppendsAndIsItselfUndone() {
        W().Grid()->setCurrentIndex(W().Model()->index(0, 1));
        W().DeleteCommand();
        QVERIFY(W().Action("&Undo last delete")->isEnabled());
        W().UndoDeleteCommand();
        // As before: the deleted item comes back at the end.
        QCOMPARE(State(), QString("20/B/80/20.0/3.00 30/C/100/5.0/2.00 10/A/40/10.0/1.00 m0 t9 a Modified"));
        W().UndoCommand();
        QCOMPARE(W().Circuit().Count(), 2);
        W().UndoCommand();
        QCOMPARE(State(), QString("10/A/40/10.0/1.00 20/B/80/20.0/3.00 30/C/100/5.0/2.00 m0 t9 a Ready"));
        // Once the history moved, the one-item undo would bring A back twice.
        QVERIFY(!W().Action("&Undo last delete")->isEnabled());
    }

    // The circuit's total by `method`, calculated apart from the window on
    // copies of its items with the window's tables and liquid.
    double TotalBy(TFittingMethod method) {
        TCatalogueTables tables = Project().Tables;
        tables.FittingMethod = method;
        TLiquid* liquid = Project().Liquid;
        std::int32_t counter = 0;
        const TProjectContext project{tables, liquid, counter};
        double total = 0;
        for (const auto& item : CopyItems(W().Circuit())) {
            item->Process(project);
            total += item->PressureDrop;
        }
        return total;
    }

    // Equal but for the friction factor's iteration, which starts from the
    // item's previous factor.
    static bool SameTotal(double a, double b) { return std::abs(a - b) <= 1e-9 * std::abs(b); }

    void fittingMethodIsRecalculatedAndUndone_data() {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("changes");
        QTest::newRow("Crane K") << static_cast<int>(TFittingMethod::CraneK) << true;
        QTest::newRow("3-K") << static_cast<int>(TFittingMethod::ThreeK) << true;
        QTest::newRow("the method in force") << static_cast<int>(TFittingMethod::EquivalentLength) << false;
    }

    void fittingMethodIsRecalculatedAndUndone() {
        QFETCH(int, method);
        QFETCH(bool, changes);
        // A pipe, elbows, a globe valve, a K item and a valve, saved and opened.
        TCircuit c(Project());
        auto pipe = std::make_unique<TPipe>(Project());
        pipe->Length = 20;
        c.Append(std::move(pipe));
        auto elbows = std::make_unique<TFitting>(Project(), 0);
        elbows->Quantity = 4;
        c.Append(std::move(elbows));
        c.Append(std::make_unique<TFitting>(Project(), 12));
        c.Append(std::make_unique<TKItem>(Project()));
        c.Append(std::make_unique<TValve>(Project()));
        for (auto& item : c.Items) {
            item->Flow = 0.004;
            item->SetBore(Project(), 15); // 40 mm
        }
        const QString file = Path("fittings.dvx");
        WriteProject(file.toStdString(), c, *Project().Liquid, Project().Tables);
        QVERIFY(W().OpenFile(file));
        W().CalcBtnClick();
        const double byLength = W().Circuit().TotalDP;
        QVERIFY(SameTotal(byLength, TotalBy(TFittingMethod::EquivalentLength)));
        const auto chosen = static_cast<TFittingMethod>(method);

        W().FittingMethodAction(chosen)->trigger();
        QCOMPARE(W().Circuit().FittingMethod, chosen);
        QCOMPARE(Project().Tables.FittingMethod, chosen);
        QVERIFY(W().FittingMethodAction(chosen)->isChecked());
        QCOMPARE(W().StatusPanel(1)->text(), QString("Solved"));
        QVERIFY(SameTotal(W().Circuit().TotalDP, TotalBy(chosen)));
        QCOMPARE(W().StatusPanel(0)->text(), QString(changes ? "Modified" : "Ready"));
        QCOMPARE(W().UndoStack()->canUndo(), changes);
        if (!changes) return;
        QVERIFY(!SameTotal(W().Circuit().TotalDP, byLength));

        W().Action("&Undo")->trigger();
        QCOMPARE(W().Circuit().FittingMethod, TFittingMethod::EquivalentLength);
        QCOMPARE(Project().Tables.FittingMethod, TFittingMethod::EquivalentLength);
        QVERIFY(W().FittingMethodAction(TFittingMethod::EquivalentLength)->isChecked());
        QVERIFY(SameTotal(W().Circuit().TotalDP, byLength));
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
        QCOMPARE(W().StatusPanel(1)->text(), QString("Solved"));

        W().Action("&Redo")->trigger();
        QCOMPARE(W().Circuit().FittingMethod, chosen);
        QVERIFY(SameTotal(W().Circuit().TotalDP, TotalBy(chosen)));
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));

        // Saved with the project, and a new project is back at the default.
        QVERIFY(W().SaveFile(Path("method.dvx")));
        W().NewProject();
        QCOMPARE(Project().Tables.FittingMethod, TFittingMethod::EquivalentLength);
        QVERIFY(W().FittingMethodAction(TFittingMethod::EquivalentLength)->isChecked());
        QVERIFY(W().OpenFile(Path("method.dvx")));
        QCOMPARE(Project().Tables.FittingMethod, chosen);
        QVERIFY(W().FittingMethodAction(chosen)->isChecked());
    }

    void groupEditTakesBackTheWholeGroup() {
        W().SetGroupsActive(true);
        EditCell(0, gcGroup, "2");
        EditCell(1, gcGroup, "2");
        EditCell(1, gcIndex, "0"); // the whole group 2 leaves the index
        QVERIFY(!W().Circuit().Item(0).InIndex);
        W().UndoCommand();
        QVERIFY(W().Circuit().Item(0).InIndex);
        QVERIFY(W().Circuit().Item(1).InIndex);
        W().RedoCommand();
        QVERIFY(!W().Circuit().Item(0).InIndex);
        QVERIFY(!W().Circuit().Item(1).InIndex);
    }
};

QTEST_MAIN(UndoTest)
#include "tst_undo.moc"
