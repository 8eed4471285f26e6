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
#include "desktop/undo/ItemCommands.h"
#include "desktop/undo/ProjectCommands.h"

#include "desktop/widgets/FmtEdit.h"

#include <cmath>
#include <stdexcept>

#include <QAction>
#include <QApplication>
#include <QClipboard>
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

namespace {

// The window as the commands see it: three pipes A, B, C (flows 1, 3 and
// 2 L/s) and a count of the notifications. With `refuse` set every
// notification throws, as a window would that cannot show a value.
class TestHost : public TUndoHost {
public:
    TCircuit circuit{dvx::test::TestProject()};
    int notified = 0;
    bool refuse = false;
    QStringList failures;

    TestHost() {
        const std::pair<const char*, double> rows[] = {{"A", 0.001}, {"B", 0.003}, {"C", 0.002}};
        for (const auto& [name, flow] : rows) {
            auto pipe = std::make_unique<TPipe>(dvx::test::TestProject());
            pipe->Description = name;
            pipe->Flow = flow;
            circuit.Append(std::move(pipe));
        }
    }
    // Each item's description and flow in L/s, then material, fitting method and author.
    QString State() const {
        QStringList parts;
        for (const auto& item : circuit.Items)
            parts << QString("%1/%2").arg(QString::fromStdString(item->Description)).arg(std::lround(item->Flow * 1000));
        parts << QString("m%1").arg(circuit.Material) << QString("f%1").arg(static_cast<int>(circuit.FittingMethod))
              << "a" + QString::fromStdString(circuit.Author);
        return parts.join(' ');
    }

    TCircuit& UndoCircuit() override { return circuit; }
    TProjectContext UndoProject() override { return dvx::test::TestProject(); }
    void ItemsTakenBack(bool, int) override { Notify(); }
    void MaterialTakenBack(int) override { Notify(); }
    void LiquidTakenBack() override { Notify(); }
    void FittingMethodTakenBack() override { Notify(); }
    void DetailsTakenBack() override { Notify(); }
    void PumpTakenBack() override { Notify(); }
    void UndoFailed(const std::string& message) override { failures << QString::fromStdString(message); }

private:
    void Notify() {
        ++notified;
        if (refuse) throw std::runtime_error("refused");
    }
};

enum class Change { Value, Insert, Delete, Move, Material, FittingMethod, Details, InsertOutside, DeleteOutside, OrderOfOtherItems };

// A command for `change` on the host's circuit, built as the window builds
// it: from what is there now, with nothing changed yet.
QUndoCommand* CommandFor(TestHost& host, Change change) {
    TCircuit& c = host.circuit;
    auto pipe = [](const char* name, double flow) {
        auto p = std::make_unique<TPipe>(dvx::test::TestProject());
        p->Description = name;
        p->Flow = flow;
        return p;
    };
    switch (change) {
    case Change::Value: {
        const TItemCopies before = CopyItems(c);
        TItemCopies after = CopyItems(c);
        after[1]->Flow = 0.009;
        return new TEditCellCommand(host, TValueChange::Between(before, after), "Flow");
    }
    case Change::Insert: return new TInsertItemsCommand(host, TPlacement(1, *pipe("P", 0.005)), "Insert");
    case Change::Delete: return new TDeleteItemCommand(host, TPlacement(0, c.Item(0)));
    case Change::Move:
    case Change::OrderOfOtherItems: {
        // A move worked out on the list and put back, as a dragged row is.
        const TOrderChange::TOrder order = TOrderChange::OrderOf(c);
        const TSortState sort = TSortState::Of(c);
        c.Move(0, 2);
        TOrderChange moved = TOrderChange::Between(order, sort, c);
        moved.Undo(c);
        if (change == Change::OrderOfOtherItems) c.Append(pipe("D", 0.004)); // the list no longer matches
        return new TMoveItemCommand(host, std::move(moved), 0, 2);
    }
    case Change::Material: return new TMaterialCommand(host, 0, 1);
    case Change::FittingMethod:
        return new TFittingMethodCommand(host, TFittingMethod::EquivalentLength, TFittingMethod::CraneK);
    case Change::Details: {
        TProjectDetails details = TProjectDetails::Of(c);
        details.Author = "Me";
        return new TDetailsCommand(host, TProjectDetails::Of(c), details);
    }
    case Change::InsertOutside: return new TInsertItemsCommand(host, TPlacement(9, *pipe("P", 0.005)), "Insert");
    case Change::DeleteOutside: return new TDeleteItemCommand(host, TPlacement(5, c.Item(0)));
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Change)

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
        QVERIFY(W().Action("actionEditUndo")->isEnabled());

        W().Action("actionEditUndo")->trigger();
        QCOMPARE(State(), afterUndo);
        QVERIFY(W().Action("actionEditRedo")->isEnabled());
        W().Action("actionEditRedo")->trigger();
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
        QVERIFY(!W().Action("actionEditUndo")->isEnabled());
        QVERIFY(!W().Action("actionEditRedo")->isEnabled());
    }

    void undoLastDeleteStillAppendsAndIsItselfUndone() {
        W().Grid()->setCurrentIndex(W().Model()->index(0, 1));
        W().DeleteCommand();
        QVERIFY(W().Action("actionEditUndoDelete")->isEnabled());
        W().UndoDeleteCommand();
        // As before: the deleted item comes back at the end.
        QCOMPARE(State(), QString("20/B/80/20.0/3.00 30/C/100/5.0/2.00 10/A/40/10.0/1.00 m0 t9 a Modified"));
        W().UndoCommand();
        QCOMPARE(W().Circuit().Count(), 2);
        W().UndoCommand();
        QCOMPARE(State(), QString("10/A/40/10.0/1.00 20/B/80/20.0/3.00 30/C/100/5.0/2.00 m0 t9 a Ready"));
        // Once the history moved, the one-item undo would bring A back twice.
        QVERIFY(!W().Action("actionEditUndoDelete")->isEnabled());
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

        W().Action("actionEditUndo")->trigger();
        QCOMPARE(W().Circuit().FittingMethod, TFittingMethod::EquivalentLength);
        QCOMPARE(Project().Tables.FittingMethod, TFittingMethod::EquivalentLength);
        QVERIFY(W().FittingMethodAction(TFittingMethod::EquivalentLength)->isChecked());
        QVERIFY(SameTotal(W().Circuit().TotalDP, byLength));
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
        QCOMPARE(W().StatusPanel(1)->text(), QString("Solved"));

        W().Action("actionEditRedo")->trigger();
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

    // Each command makes its change when pushed, once: a second application
    // would show as one more item, one fewer, a further turn of the order,
    // or a second notification.
    void pushedCommandMakesItsChangeOnce_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("done");
        const QString a = "A/1", b = "B/3", c = "C/2", rest = "m0 f0 a";
        QTest::newRow("cell value") << Change::Value << QStringList{a, "B/9", c, rest}.join(' ');
        QTest::newRow("insert") << Change::Insert << QStringList{a, "P/5", b, c, rest}.join(' ');
        QTest::newRow("delete") << Change::Delete << QStringList{b, c, rest}.join(' ');
        QTest::newRow("move") << Change::Move << QStringList{b, c, a, rest}.join(' ');
        QTest::newRow("material") << Change::Material << QStringList{a, b, c, "m1 f0 a"}.join(' ');
        QTest::newRow("fitting method") << Change::FittingMethod << QStringList{a, b, c, "m0 f1 a"}.join(' ');
        QTest::newRow("details") << Change::Details << QStringList{a, b, c, "m0 f0 aMe"}.join(' ');
    }

    void pushedCommandMakesItsChangeOnce() {
        QFETCH(Change, change);
        QFETCH(QString, done);
        TestHost host;
        const QString start = host.State();
        QUndoStack stack;
        stack.push(CommandFor(host, change));
        QCOMPARE(host.State(), done);
        QCOMPARE(host.notified, 1);
        QCOMPARE(stack.count(), 1);
        stack.undo();
        QCOMPARE(host.State(), start);
        QCOMPARE(host.notified, 2);
        stack.redo();
        QCOMPARE(host.State(), done);
        QCOMPARE(host.notified, 3);
        QVERIFY(host.failures.isEmpty());
    }

    // A change that cannot be made is not recorded: the stack keeps only
    // what came before it, and the host is told why.
    void failingChangeIsNotPushed_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<QString>("state");
        const QString start = "A/1 B/3 C/2 m0 f1 a";
        QTest::newRow("insert outside the list") << Change::InsertOutside << false << start;
        QTest::newRow("delete outside the list") << Change::DeleteOutside << false << start;
        QTest::newRow("order of other items") << Change::OrderOfOtherItems << false << "A/1 B/3 C/2 D/4 m0 f1 a";
        // The material is in before the window refuses to show it.
        QTest::newRow("window refuses the value") << Change::Material << true << "A/1 B/3 C/2 m1 f1 a";
    }

    void failingChangeIsNotPushed() {
        QFETCH(Change, change);
        QFETCH(bool, refuse);
        QFETCH(QString, state);
        TestHost host;
        QUndoStack stack;
        stack.push(CommandFor(host, Change::FittingMethod));
        QUndoCommand* command = CommandFor(host, change);
        host.refuse = refuse;
        stack.push(command);
        QCOMPARE(host.State(), state);
        QCOMPARE(host.failures.size(), 1);
        QCOMPARE(stack.count(), 1);
        QCOMPARE(stack.index(), 1);
        QCOMPARE(stack.undoText(), QString("Fitting Method"));
    }

    // The window's own changes that fail before anything is pushed leave
    // the history as it was.
    void failingWindowChangePushesNothing_data() {
        QTest::addColumn<int>("action");
        QTest::newRow("paste of unreadable rows") << 0;
        QTest::newRow("sort by a key there is not") << 1;
    }

    void failingWindowChangePushesNothing() {
        QFETCH(int, action);
        const QString start = State();
        if (action == 0) {
            QApplication::clipboard()->setText("no\titem\there\n");
            W().PasteCommand();
            QVERIFY(!messages_.empty());
        } else {
            QVERIFY_THROWS_EXCEPTION(std::out_of_range, W().SortCommand(SortKeyCount));
        }
        QCOMPARE(State(), start);
        QCOMPARE(W().UndoStack()->count(), 0);
        QVERIFY(!W().Action("actionEditUndo")->isEnabled());
    }

    // Edit › Undo and Redo name the change they take back or do again;
    // their keys are the usual ones.
    void undoAndRedoCaptionsNameTheChange_data() {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("name");
        QTest::newRow("sort") << 0 << "Sort";
        QTest::newRow("renumber") << 1 << "Re-Number";
        QTest::newRow("delete") << 2 << "Delete";
        QTest::newRow("cell edit") << 3 << "Edit Q, l/s";
    }

    void undoAndRedoCaptionsNameTheChange() {
        QFETCH(int, action);
        QFETCH(QString, name);
        QAction* undo = W().Action("actionEditUndo");
        QAction* redo = W().Action("actionEditRedo");
        QCOMPARE(undo->text(), QString("&Undo"));
        QCOMPARE(redo->text(), QString("&Redo"));
        QCOMPARE(undo->shortcut(), QKeySequence(QKeySequence::Undo));
        QCOMPARE(redo->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                                         QKeySequence(Qt::CTRL | Qt::Key_Y)}));
        switch (action) {
        case 0: W().SortCommand(skFlow); break;
        case 1: W().RenumberCommand(); break;
        case 2: W().DeleteCommand(); break;
        case 3: EditCell(0, gcFlow, "4"); break;
        }
        QCOMPARE(undo->text(), "&Undo " + name);
        QCOMPARE(undo->toolTip(), "Undo " + name);
        QCOMPARE(undo->statusTip(), "Undo " + name);
        undo->trigger();
        QCOMPARE(redo->text(), "&Redo " + name);
        QCOMPARE(redo->toolTip(), "Redo " + name);
        QCOMPARE(undo->text(), QString("&Undo"));
        QVERIFY(!undo->isEnabled());
    }

    // The menu's Undo goes through the window: "Undo last delete" belongs
    // to the last change only and is dropped before the history moves.
    void menuUndoDropsUndoLastDelete() {
        W().Grid()->setCurrentIndex(W().Model()->index(0, 1));
        W().RenumberCommand();
        W().DeleteCommand();
        QVERIFY(W().Action("actionEditUndoDelete")->isEnabled());
        W().Action("actionEditUndo")->trigger();
        QVERIFY(!W().Action("actionEditUndoDelete")->isEnabled());
        QVERIFY(!W().Action("actionPopupUndoDelete")->isEnabled());
        // One step back: the delete, not the renumbering before it.
        QCOMPARE(W().Circuit().Count(), 3);
        QCOMPARE(W().UndoStack()->index(), 1);
        QCOMPARE(W().Circuit().Item(0).Number, 1);
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
