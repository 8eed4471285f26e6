// SPDX-License-Identifier: GPL-3.0-or-later
// "Default Flows": the stored list, Accept, Restore and Cancel.

#include "DialogTestSupport.h"

#include "engine/catalogue/Bores.h"
#include "storage/settings/Defaults.h"
#include "desktop/windows/DefaultFlowForm.h"
#include "desktop/windows/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTableWidget>

using namespace dvx;
using namespace dvx::ui;

namespace {
const char* const kBuiltInText =
    "1250.00, 780.00, 540.00, 430.00, 340.00, 260.00, 210.00, 150.00, 100.00, 55.00, 38.00, 25.00, 14.00, "
    "7.50, 4.80, 2.50, 1.60, 0.80, 0.50, 0.25";
}

class DefaultFlowFormTest : public test::DialogTestBase {
    Q_OBJECT

private:
    static QString Flow(TDefaultFlowForm& form, int bore) { return form.Grid()->item(bore, 1)->text(); }
    QString StoredText() { return QString::fromStdString(Store().ReadString("Settings", "MaxFlows", "")); }

private slots:
    void initTestCase() { SetUpHome(); }
    void init() { FreshStart("flows.ini"); }

    void storedFlowsAreRoundedToTwoDecimals() {
        Store().WriteString("Settings", "MaxFlows",
                            "1250, 780, 540, 430, 340, 260, 210, 150, 100, 55, 38, 25, 14, 7.456, 4.8, 2.5, 1.6, "
                            "0.8, 0.5, 0.25");
        LoadDefaultFlows(Store(), Project().Tables);
        TDefaultFlowForm form(Project());
        QCOMPARE(form.Grid()->item(13, 0)->text(), QString("65"));
        QCOMPARE(Flow(form, 13), QString("7.46"));
        QCOMPARE(Project().Tables.BoreTable[13].mf, 7.46);
        QCOMPARE(Flow(form, 0), QString("1250.00"));
        QCOMPARE(form.windowTitle(), QString("Default Flows"));
        QCOMPARE(form.StatusText()->text(), QString("These are default auto-flows"));
        QStringList captions;
        for (QAction* a : form.ToolBar()->actions()) captions << a->text();
        QCOMPARE(captions, (QStringList{"Accept", "Restore", "Cancel"}));
        QCOMPARE(form.Grid()->horizontalHeaderItem(0)->text(), QString("Bore"));
        QCOMPARE(form.Grid()->horizontalHeaderItem(1)->text(), QString("Max Flow"));
        QCOMPARE(form.Grid()->columnWidth(0), 75);
        QCOMPARE(form.Grid()->columnWidth(1), 100);
        QVERIFY(!(form.Grid()->item(0, 0)->flags() & Qt::ItemIsEditable));
        form.show();
        Screenshot(form, "DefaultFlowForm");
    }

    void aListOf19NumbersGivesTheBuiltInFlows() {
        Project().Tables.BoreTable[5].mf = 1;
        Store().WriteString("Settings", "MaxFlows", "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19");
        LoadDefaultFlows(Store(), Project().Tables);
        TDefaultFlowForm form(Project());
        QCOMPARE(Project().Tables.BoreTable[5].mf, 260.0);
        QCOMPARE(Flow(form, 19), QString("0.25"));
    }

    void restoreThenCancelStoresTheBuiltInListButKeepsMf() {
        Store().WriteString("Settings", "MaxFlows",
                            "1000, 700, 500, 400, 300, 250, 200, 140, 90, 50, 35, 20, 12, 7, 4, 2, 1.5, 0.7, 0.4, 0.2");
        LoadDefaultFlows(Store(), Project().Tables);
        TDefaultFlowForm form(Project());
        const int result = RunModal(form, [&] {
            form.Button("Restore")->trigger();
            QVERIFY(form.isVisible());
            QCOMPARE(StoredText(), QString(kBuiltInText));
            QCOMPARE(Flow(form, 0), QString("1250.00"));
            form.Button("Cancel")->trigger();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(StoredText(), QString(kBuiltInText));
        QCOMPARE(Project().Tables.BoreTable[0].mf, 1000.0);
        QVERIFY(Store().ValueExists("DefaultFlowForm", "Width"));
        // At the next start the built-in flows are in force.
        LoadDefaultFlows(Store(), Project().Tables);
        QCOMPARE(Project().Tables.BoreTable[0].mf, 1250.0);
    }

    void acceptTakesTheCellsAndKeepsTheirTexts() {
        LoadDefaultFlows(Store(), Project().Tables);
        TDefaultFlowForm form(Project());
        const int result = RunModal(form, [&] {
            form.Grid()->item(13, 1)->setText("7.456");
            form.Button("Accept")->trigger();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(Project().Tables.BoreTable[13].mf, 7.456);
        QCOMPARE(form.Flows()[13], 7.456);
        QVERIFY(StoredText().contains("14.00, 7.456, 4.80"));
        // Read back at the next start: rounded to two decimals.
        LoadDefaultFlows(Store(), Project().Tables);
        QCOMPARE(Project().Tables.BoreTable[13].mf, 7.46);
    }

    void aCellThatIsNotANumberKeepsTheDialogOpen() {
        TDefaultFlowForm form(Project());
        RunModal(form, [&] {
            form.Grid()->item(0, 1)->setText("1300");
            form.Grid()->item(1, 1)->setText("lots");
            form.Grid()->item(2, 1)->setText("600");
            form.Button("Accept")->trigger();
            QVERIFY(form.isVisible());
            form.Button("Cancel")->trigger();
        });
        QCOMPARE(messages_.size(), std::size_t(1));
        QCOMPARE(messages_[0].text, QString("'lots' is not a valid floating point value"));
        QCOMPARE(Project().Tables.BoreTable[0].mf, 1300.0); // taken before the failure
        QCOMPARE(Project().Tables.BoreTable[2].mf, 540.0);
        // The close wrote the text in force, which only Accept and Restore change.
        QCOMPARE(StoredText(), QString::fromStdString(settings::MaxFlows.Default));
    }

    // Keys typed straight after a click on the current flow cell reach the
    // cell, however quickly they follow the click.
    void typingRightAfterAClickOnTheCurrentCell() {
        LoadDefaultFlows(Store(), Project().Tables);
        TDefaultFlowForm form(Project());
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTableWidget* grid = form.Grid();
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->currentColumn(), 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(0, 1)).center());
        QTest::keyClicks(QApplication::focusWidget(), "1300");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(grid->indexWidget(grid->currentIndex()) == nullptr);
        QCOMPARE(Flow(form, 0), QString("1300"));
        QVERIFY(form.AcceptClick());
        QCOMPARE(Project().Tables.BoreTable[0].mf, 1300.0);
    }

    void theMenuShowsTheDialogAndAutoSizeUsesTheAcceptedFlows() {
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        TMainForm window(Project());
        window.show();
        QAction* command = window.Action("actionCalcDefaultFlows");
        QVERIFY(command != nullptr && command->isEnabled());
        TDefaultFlowForm& form = *window.DefaultFlowForm();
        QTimer::singleShot(0, &form, [&] {
            form.Grid()->item(11, 1)->setText("30"); // the 100 mm bore takes up to 30 l/s
            form.Button("Accept")->trigger();
        });
        command->trigger();
        QCOMPARE(Project().Tables.BoreTable[11].mf, 30.0);
        QCOMPARE(int(BoreForFlow(Project().Tables, 28)), 11);
        QCOMPARE(window.StatusPanel(0)->text(), QString("Ready"));
    }
};

QTEST_MAIN(DefaultFlowFormTest)
#include "tst_defaultflowform.moc"
