// SPDX-License-Identifier: GPL-3.0-or-later
// The insert window's K item and valve pages: what each adds, the messages
// for values that are no resistance, Cv under US units, the balancing
// valve's presetting, and the insertion undone and done again.

#include "base/Format.h"
#include "engine/hydraulics/ResistanceItems.h"
#include "presentation/ui/ResistanceEntry.h"
#include "engine/resistance/ValveFlowCoefficient.h"
#include "engine/units/UnitChoice.h"
#include "engine/units/UnitView.h"
#include "desktop/widgets/FmtEdit.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/CircuitView.h"
#include "desktop/windows/MainWindow.h"
#include "presentation/ui/CircuitChanges.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QUndoStack>
#include <QtTest>

#include "ui/DialogTestSupport.h"

using namespace dvx;
using namespace dvx::ui;

class InsertResistanceTest : public test::DialogTestBase {
    Q_OBJECT

private:
    std::unique_ptr<TInsertForm> form_;
    std::vector<std::unique_ptr<TBranch>> added_;
    TInsertForm& F() { return *form_; }

    static int BoreIndexOf(const char* name) {
        for (int b = 0; b < BoreCount; ++b)
            if (QString(BoreName[static_cast<std::size_t>(b)]) == name) return b;
        return -1;
    }

private slots:
    void initTestCase() { SetUpHome(); }

    void init() {
        FreshStart("insertresistance.ini");
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        SetDisplayUnits(TUnitChoice());
        form_ = std::make_unique<TInsertForm>(Project());
        added_.clear();
        F().OnAddItem = [this](std::unique_ptr<TBranch> item) { added_.push_back(std::move(item)); };
        F().FlowEdit()->setText("2");
        F().DiameterCombo()->setCurrentIndex(BoreIndexOf("50"));
    }

    void cleanup() {
        form_.reset();
        SetDisplayUnits(TUnitChoice());
    }

    // New items take the defaults, the fitting names and the item numbers of
    // the project the window is given; another project is left alone.
    void newItemsComeFromTheProjectTheWindowIsGiven() {
        TProjectState own;
        own.Tables.DefaultQuantity = 4;
        own.Tables.DefaultFittingType = 3;
        own.Tables.FittingTable[3].FittingName = "Own fitting";
        own.ItemCounter = 41;
        const std::int32_t programCounter = Project().ItemCounter;
        TInsertForm form(own.Context());
        std::vector<std::unique_ptr<TBranch>> added;
        form.OnAddItem = [&](std::unique_ptr<TBranch> item) { added.push_back(std::move(item)); };
        QCOMPARE(form.FittingQty()->text(), QString("4"));
        QCOMPARE(form.FittingCombo()->currentIndex(), 3);
        QCOMPARE(form.FittingCombo()->itemText(3), QString("Own fitting"));
        QCOMPARE(form.FittingDescriptionEdit()->text(), QString("Own fitting"));
        form.FlowEdit()->setText("2");
        QVERIFY(form.AddFitting());
        QCOMPARE(added.size(), std::size_t(1));
        QCOMPARE(added[0]->Number, 42);
        QCOMPARE(static_cast<const TFitting&>(*added[0]).Quantity, 4.0);
        QCOMPARE(own.ItemCounter, 42);
        QCOMPARE(Project().ItemCounter, programCounter);
    }

    // preset: index into the preset list; other: the other bore's label;
    // k: what the K field holds (typed for "Own value"); expected: K added,
    // or 0 with the message shown instead.
    void kItemIsAddedOrRefused_data() {
        QTest::addColumn<int>("preset");
        QTest::addColumn<QString>("k");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("angle");
        QTest::addColumn<bool>("outlet");
        QTest::addColumn<double>("expected");
        QTest::addColumn<QString>("message");
        const double beta2 = std::pow(
            Project().Tables.BoreTable[static_cast<std::size_t>(BoreIndexOf("50"))].ID /
                Project().Tables.BoreTable[static_cast<std::size_t>(BoreIndexOf("100"))].ID,
            2);
        QTest::newRow("entrance") << 0 << "" << "100" << "30" << false << 0.5 << "";
        QTest::newRow("exit") << 1 << "" << "100" << "30" << false << 1.0 << "";
        QTest::newRow("sudden contraction into the item")
            << 2 << "" << "100" << "" << true << 0.5 * (1 - beta2) << "";
        QTest::newRow("sudden enlargement out of the item")
            << 4 << "" << "100" << "" << false << (1 - beta2) * (1 - beta2) << "";
        QTest::newRow("own value") << KPresetOwnValue << "0.04" << "100" << "30" << false << 0.04 << "";
        QTest::newRow("own value zero") << KPresetOwnValue << "0" << "100" << "30" << false << 0.0
                                        << "K must be a number above zero";
        QTest::newRow("own value negative") << KPresetOwnValue << "-2" << "100" << "30" << false << 0.0
                                            << "K must be a number above zero";
        QTest::newRow("own value empty") << KPresetOwnValue << "" << "100" << "30" << false << 0.0
                                         << "K must be a number above zero";
        QTest::newRow("contraction to a larger bore") << 2 << "" << "100" << "" << false << 0.0
                                                      << "A contraction must lead to a smaller bore";
        QTest::newRow("angle above 180") << 3 << "" << "100" << "190" << true << 0.0
                                         << "The angle must lie above 0 and up to 180 degrees";
        QTest::newRow("angle zero") << 5 << "" << "100" << "0" << false << 0.0
                                    << "The angle must lie above 0 and up to 180 degrees";
    }

    void kItemIsAddedOrRefused() {
        QFETCH(int, preset);
        QFETCH(QString, k);
        QFETCH(QString, other);
        QFETCH(QString, angle);
        QFETCH(bool, outlet);
        QFETCH(double, expected);
        QFETCH(QString, message);
        F().Tabs()->setCurrentIndex(3);
        F().KPresetCombo()->setCurrentIndex(preset);
        F().OtherBoreCombo()->setCurrentIndex(BoreIndexOf(other.toLatin1().constData()));
        F().AngleEdit()->setText(angle);
        F().OutletCheck()->setChecked(outlet);
        if (preset == KPresetOwnValue) F().KEdit()->setText(k);
        // The Insert key adds from the active tab.
        QTest::keyClick(F().FlowEdit(), Qt::Key_Insert);
        if (!message.isEmpty()) {
            QVERIFY(added_.empty());
            QCOMPARE(messages_.size(), std::size_t{1});
            QCOMPARE(messages_[0].text, message);
            QCOMPARE(messages_[0].kind, MsgKind::Error);
            return;
        }
        QVERIFY(messages_.empty());
        QCOMPARE(added_.size(), std::size_t{1});
        QCOMPARE(added_[0]->Kind(), TItemKind::KItem);
        const auto& item = static_cast<const TKItem&>(*added_[0]);
        QVERIFY(std::abs(item.K - expected) < 1e-12);
        QCOMPARE(item.Flow, 0.002);
        QCOMPARE(int(item.BoreIndex), BoreIndexOf("50"));
        QCOMPARE(QString::fromStdString(item.Description), F().KPresetCombo()->currentText());
        // A calculated K is shown before it is added, to four digits.
        if (preset != KPresetOwnValue)
            QCOMPARE(F().KEdit()->text(), QString::fromStdString(FormatFloat("%0.4g", expected)));
    }

    void valveTakesKvOrCv_data() {
        QTest::addColumn<bool>("us");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("kv");
        QTest::addColumn<QString>("message");
        QTest::newRow("Kv") << false << "6.3" << 6.3 << "";
        QTest::newRow("Cv under US units") << true << "11.56" << 11.56 / CvPerKv << "";
        QTest::newRow("Kv zero") << false << "0" << 0.0 << "Kv must be a number above zero";
        QTest::newRow("Cv not a number") << true << "abc" << 0.0 << "Cv must be a number above zero";
    }

    void valveTakesKvOrCv() {
        QFETCH(bool, us);
        QFETCH(QString, typed);
        QFETCH(double, kv);
        QFETCH(QString, message);
        SetDisplayUnits(us ? TUnitChoice::FromPreset(upUS) : TUnitChoice());
        F().ApplyUnits();
        QCOMPARE(F().FlowCoefficientLabel()->text(), QString(us ? "Cv" : "Kv"));
        F().Tabs()->setCurrentIndex(4);
        F().FlowCoefficientEdit()->setText(typed);
        F().AddActive();
        if (!message.isEmpty()) {
            QVERIFY(added_.empty());
            QCOMPARE(messages_.size(), std::size_t{1});
            QCOMPARE(messages_[0].text, message);
            return;
        }
        QCOMPARE(added_.size(), std::size_t{1});
        QCOMPARE(added_[0]->Kind(), TItemKind::Valve);
        QVERIFY(std::abs(static_cast<const TValve&>(*added_[0]).Kv - kv) < 1e-12);
        QCOMPARE(QString::fromStdString(added_[0]->Description), QString("Valve"));
    }

    void unitChangeKeepsTheTypedCoefficient() {
        F().FlowCoefficientEdit()->setText("10");
        SetDisplayUnits(TUnitChoice::FromPreset(upUS));
        F().ApplyUnits();
        QCOMPARE(F().FlowCoefficientEdit()->text(), QString("11.56"));
        // Back in Kv: the value as the four digits shown gave it.
        SetDisplayUnits(TUnitChoice());
        F().ApplyUnits();
        QVERIFY(std::abs(F().FlowCoefficientEdit()->text().toDouble() - 10) < 10 * 5e-4);
    }

    // The Kv that takes the drop typed at the window's flow, in the liquid.
    void presettingAnswersTheBalancingValveQuestion_data() {
        QTest::addColumn<bool>("us");
        QTest::addColumn<QString>("flow");
        QTest::addColumn<QString>("drop");
        QTest::addColumn<QString>("message");
        QTest::newRow("SI") << false << "2" << "15" << "";
        QTest::newRow("US") << true << "30" << "2" << "";
        QTest::newRow("no drop") << false << "2" << "0" << "The pressure drop to take must be a number above zero";
        QTest::newRow("no flow") << false << "0" << "15" << "The flow must be a number above zero";
    }

    void presettingAnswersTheBalancingValveQuestion() {
        QFETCH(bool, us);
        QFETCH(QString, flow);
        QFETCH(QString, drop);
        QFETCH(QString, message);
        SetDisplayUnits(us ? TUnitChoice::FromPreset(upUS) : TUnitChoice());
        F().ApplyUnits();
        F().FlowCoefficientEdit()->setText("99");
        F().FlowEdit()->setText(flow);
        F().PresetDropEdit()->setText(drop);
        const bool done = F().PresetValve();
        QCOMPARE(done, message.isEmpty());
        if (!done) {
            QCOMPARE(messages_.size(), std::size_t{1});
            QCOMPARE(messages_[0].text, message);
            QCOMPARE(F().FlowCoefficientEdit()->text(), QString("99"));
            return;
        }
        // Set to that coefficient, the valve takes the drop at the flow.
        const TUnitChoice units = DisplayUnits();
        const double q = TUnitView(units, qtFlow, {"l/s", "%0.1f", Times(1000), Times(0.001)}, kNoHeadDensity)
                             .FromShown(flow.toDouble());
        const double dp = TUnitView(units, qtPressureDrop, {"kPa", "%0.1f", Times(0.001), Times(1000)}, LiquidDensity(Project().Liquid))
                              .FromShown(drop.toDouble());
        const double shown = F().FlowCoefficientEdit()->text().toDouble();
        const double kv = us ? shown / CvPerKv : shown;
        QVERIFY2(std::abs(KvPressureDrop(q, kv, Project().Liquid->ro) / dp - 1) < 5e-4,
                 qPrintable(F().FlowCoefficientEdit()->text()));
        F().Tabs()->setCurrentIndex(4);
        QVERIFY(F().AddValve());
        QVERIFY(std::abs(static_cast<const TValve&>(*added_.back()).Kv - kv) < 1e-12);
    }

    // Inserted into the project like every item: undone and done again.
    void insertionIsUndoable() {
        form_.reset();
        TMainForm window(Project());
        TInsertForm* form = window.InsertForm();
        form->Tabs()->setCurrentIndex(4);
        form->FlowCoefficientEdit()->setText("4.5");
        form->ValveDescriptionEdit()->setText("Balancing valve");
        QVERIFY(form->AddActive());
        QCOMPARE(window.Circuit().Count(), 1);
        window.UndoStack()->undo();
        QCOMPARE(window.Circuit().Count(), 0);
        window.UndoStack()->redo();
        QCOMPARE(window.Circuit().Count(), 1);
        const auto& valve = static_cast<const TValve&>(window.Circuit().Item(0));
        QCOMPARE(valve.Kv, 4.5);
        QCOMPARE(valve.Description, std::string("Balancing valve"));
        window.Circuit().Saved = true;
    }

    // The current row's item read into its page, changed there and given
    // back; undone and done again like a cell edit. row: 0 pipe, 1 K item,
    // 2 valve; page: 3 K item, 4 valve.
    void currentItemIsEditedAndUndoable_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("expected");
        QTest::addColumn<QString>("message");
        QTest::newRow("K item") << 1 << 3 << "0.35" << 0.35 << "";
        QTest::newRow("valve") << 2 << 4 << "2.5" << 2.5 << "";
        QTest::newRow("K refused") << 1 << 3 << "0" << 0.0 << "K must be a number above zero";
        QTest::newRow("Kv refused") << 2 << 4 << "-1" << 0.0 << "Kv must be a number above zero";
        QTest::newRow("valve page on a K item") << 1 << 4 << "2.5" << 0.0 << "The current row holds no valve";
        QTest::newRow("K page on a pipe") << 0 << 3 << "0.35" << 0.0 << "The current row holds no K item";
    }

    void currentItemIsEditedAndUndoable() {
        QFETCH(int, row);
        QFETCH(int, page);
        QFETCH(QString, typed);
        QFETCH(double, expected);
        QFETCH(QString, message);
        form_.reset();
        TMainForm window(Project());
        TCircuit& c = window.Circuit();
        c.Append(std::make_unique<TPipe>(Project()));
        auto k = std::make_unique<TKItem>(Project());
        k->K = 0.5;
        k->Description = "Entrance";
        c.Append(std::move(k));
        auto v = std::make_unique<TValve>(Project());
        v->Kv = 6.3;
        v->Description = "Balancing valve";
        v->Flow = 0.0015;
        v->SetBore(Project(), BoreIndexOf("32"));
        c.Append(std::move(v));
        window.Model()->Refresh();
        window.Grid()->setCurrentIndex(window.Model()->index(row, 1));
        const std::unique_ptr<TBranch> before = CloneItem(c.Item(row));
        TInsertForm* form = window.InsertForm();
        if (row > 0) {
            QVERIFY(form->ReadCurrentItem());
            QCOMPARE(form->Tabs()->currentIndex(), row == 1 ? 3 : 4);
            QCOMPARE(form->DiameterCombo()->currentIndex(), int(c.Item(row).BoreIndex));
            if (row == 2) {
                QCOMPARE(form->FlowCoefficientEdit()->text(), QString("6.3"));
                QCOMPARE(form->FlowEdit()->text(), QString("1.5"));
                QCOMPARE(form->ValveDescriptionEdit()->text(), QString("Balancing valve"));
            } else {
                QCOMPARE(form->KEdit()->text(), QString("0.5"));
            }
        } else {
            QVERIFY(!form->ReadCurrentItem());
            QCOMPARE(messages_.back().text, QString("The current row holds no K item or valve"));
        }
        form->Tabs()->setCurrentIndex(page);
        form->KPresetCombo()->setCurrentIndex(KPresetOwnValue);
        (page == 3 ? form->KEdit() : form->FlowCoefficientEdit())->setText(typed);
        const std::size_t shown = messages_.size();
        const bool updated = form->UpdateCurrentItem();
        QCOMPARE(updated, message.isEmpty());
        QCOMPARE(c.Count(), 3);
        if (!updated) {
            QCOMPARE(messages_.size(), shown + 1);
            QCOMPARE(messages_.back().text, message);
            QVERIFY(SameItem(c.Item(row), *before));
            QVERIFY(!window.UndoStack()->canUndo());
            c.Saved = true;
            return;
        }
        auto value = [&] {
            return row == 1 ? static_cast<const TKItem&>(c.Item(1)).K : static_cast<const TValve&>(c.Item(2)).Kv;
        };
        QCOMPARE(value(), expected);
        QCOMPARE(c.Item(row).Number, before->Number);
        QCOMPARE(c.Item(row).Flow, before->Flow);
        QCOMPARE(window.StatusPanel(0)->text(), QString("Modified"));
        window.UndoStack()->undo();
        QVERIFY(SameItem(c.Item(row), *before));
        window.UndoStack()->redo();
        QCOMPARE(value(), expected);
        c.Saved = true;
    }

    void pagesAsTheUserSeesThem() {
        F().show();
        F().Tabs()->setCurrentIndex(3);
        F().KPresetCombo()->setCurrentIndex(3);
        F().OtherBoreCombo()->setCurrentIndex(BoreIndexOf("100"));
        F().OutletCheck()->setChecked(true);
        Screenshot(F(), "insert-kitem");
        F().Tabs()->setCurrentIndex(4);
        F().PresetDropEdit()->setText("15");
        QVERIFY(F().PresetValve());
        Screenshot(F(), "insert-valve");
    }
};

QTEST_MAIN(InsertResistanceTest)
#include "tst_insertresistance.moc"
