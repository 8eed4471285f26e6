// SPDX-License-Identifier: GPL-3.0-or-later
// "Fittings Editor" on the property-sheet tool window.

#include "DialogTestSupport.h"

#include "storage/catalogue/CatalogueFiles.h"
#include "desktop/windows/FittingsForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/EntryGrid.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>

using namespace dvx;
using namespace dvx::ui;

class FittingsFormTest : public test::DialogTestBase {
    Q_OBJECT

    // A fitting type of the project by its name, and its coefficient.
    static int Index(const char* name) {
        for (int t = 0; t < FittingCount; ++t)
            if (Project().Tables.FittingTable[static_cast<std::size_t>(t)].FittingName == name)
                return t;
        return -1;
    }
    static double& C(const char* name) {
        return Project().Tables.FittingTable[static_cast<std::size_t>(Index(name))].C;
    }

private slots:
    void initTestCase() { SetUpHome(); }
    void init() {
        FreshStart("fittings.ini");
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
    }

    void layoutOfTheEditor() {
        TFittingsForm form(Project());
        form.show();
        QCOMPARE(form.windowTitle(), QString("Fittings Editor"));
        // 260 unless the tool buttons need more in this font.
        QCOMPARE(form.width(), std::max(260, form.minimumWidth()));
        QCOMPARE(form.StatusText()->text(), QString("Modify only if you are certain"));
        QStringList shown;
        for (QAction* a : form.ToolBar()->actions())
            if (a->isVisible()) shown << a->text() + "|" + a->toolTip();
        QCOMPARE(shown, (QStringList{"&Save|Save as default", "Align|Align", "Reset|Restore standard defaults",
                                     "Cancel|Cancel", "Accept|Accept"}));
        QCOMPARE(form.TechButton(tbSave)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
        TEntryGrid* grid = form.Grid();
        QCOMPARE(grid->ColCount(), 2);
        QCOMPARE(grid->RowCount(), FittingCount + 1);
        QCOMPARE(grid->columnWidth(0), 150);
        QCOMPARE(grid->columnWidth(1), 80);
        QCOMPARE(grid->Cell(0, 0), std::string("Fitting Type"));
        QCOMPARE(grid->Cell(1, 0), std::string("Coefficient"));
        QCOMPARE(grid->Cell(0, 17), std::string("Globe Valve"));
        QCOMPARE(Cell(form, 17), QString("340"));
        QCOMPARE(grid->GetRangeHi(1), 999.0);
        QCOMPARE(form.PopupMenu()->actions().size(), 1);
        QCOMPARE(form.PopupMenu()->actions().at(0)->text(), QString("Copy to XML"));
        Screenshot(form, "FittingsForm");
        form.Align();
        QVERIFY(grid->columnWidth(0) >= 90);
        QVERIFY(grid->columnWidth(1) >= 60);
        QVERIFY(form.frameGeometry().height() <= 400);
        Screenshot(form, "FittingsForm-aligned");
    }

    void storedCoefficientsOverrideTheCatalogue() {
        C("Globe Valve") = 340; // as "PipeFittings.ini" gives it
        Store().WriteString("Fittings", "Globe Valve", "300.00");
        LoadFittingsSettings(Store(), Project().Tables);
        TFittingsForm form(Project());
        QCOMPARE(C("Globe Valve"), 300.0);
        QCOMPARE(Cell(form, Index("Globe Valve") + 1), QString("300"));
    }

    void resetThenCancelKeepsTheStandardValuesUntilTheNextStart() {
        Store().WriteString("Fittings", "Globe Valve", "300.00");
        LoadFittingsSettings(Store(), Project().Tables);
        TFittingsForm form(Project());
        const int result = RunModal(form, [&] {
            form.TechButton(tbReset)->trigger();
            QVERIFY(form.isVisible());
            QCOMPARE(Cell(form, Index("Globe Valve") + 1), QString("340"));
            form.TechButton(tbCancel)->trigger();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(C("Globe Valve"), 340.0);
        QCOMPARE(QString::fromStdString(Store().ReadString("Fittings", "Globe Valve", "")), QString("300.00"));
        LoadFittingsSettings(Store(), dvx::test::TestProject().Tables);
        QCOMPARE(C("Globe Valve"), 300.0);
    }

    void saveAnsweredCancelChangesNothing() {
        TFittingsForm form(Project());
        RunModal(form, [&] {
            Type(form, 1, "45");
            answers_ = {QMessageBox::Cancel};
            form.TechButton(tbSave)->trigger();
            QVERIFY(form.isVisible());
            form.TechButton(tbCancel)->trigger();
        });
        QCOMPARE(messages_.size(), std::size_t(1));
        QCOMPARE(messages_[0].kind, MsgKind::Warning);
        QCOMPARE(messages_[0].text, QString("Are you sure you want to change the\ndefault pressure loss coefficients?"));
        QCOMPARE(messages_[0].buttons, QMessageBox::Yes | QMessageBox::Cancel);
        QCOMPARE(C("Std Elbow 90 deg"), 30.0);
        QVERIFY(!Store().ValueExists("Fittings", "Std Elbow 90 deg"));
        QVERIFY(!Store().ValueExists("FittingsForm", "Left"));
    }

    void saveAnsweredYesStoresEveryCoefficient() {
        C("Mitre Bend 45 deg") = 15.5; // a fractional value from the catalogue file
        TFittingsForm form(Project());
        RunModal(form, [&] {
            Type(form, 1, "45");
            answers_ = {QMessageBox::Yes};
            form.TechButton(tbSave)->trigger();
            QVERIFY(form.isVisible());
            form.TechButton(tbCancel)->trigger();
        });
        QCOMPARE(C("Std Elbow 90 deg"), 45.0);
        QCOMPARE(C("Mitre Bend 45 deg"), 15.5); // not edited: not rounded to the shown 16
        QCOMPARE(QString::fromStdString(Store().ReadString("Fittings", "Std Elbow 90 deg", "")), QString("45.00"));
        QCOMPARE(QString::fromStdString(Store().ReadString("Fittings", "Mitre Bend 45 deg", "")), QString("15.50"));
        QCOMPARE(QString::fromStdString(Store().ReadString("Fittings", "VibroFlex", "")), QString("8.00"));
        QVERIFY(Store().ValueExists("FittingsForm", "Left"));
    }

    void acceptTakesTheSheetCancelDoesNot() {
        TFittingsForm form(Project());
        RunModal(form, [&] {
            Type(form, 2, "17");
            form.TechButton(tbCancel)->trigger();
        });
        QCOMPARE(C("Std Elbow 45 deg"), 16.0);
        const int result = RunModal(form, [&] {
            QCOMPARE(Cell(form, 2), QString("16")); // the opening refilled the sheet
            Type(form, 2, "1500");                 // out of range: the limit
            form.TechButton(tbAccept)->trigger();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(C("Std Elbow 45 deg"), 999.0);
        QVERIFY(!Store().ValueExists("Fittings", "Std Elbow 45 deg"));
    }

    void copyToXmlPutsTheSheetOnTheClipboard() {
        TFittingsForm form(Project());
        form.PopupMenu()->actions().at(0)->trigger();
        const QString text = QGuiApplication::clipboard()->text();
        QString expected = "<?xml version=\"1.0\"?>\r\n"
                           "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                           "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"
                           "<_30>\r\n";
        for (int t = 1; t < FittingCount; ++t) {
            const TFittingRec& rec = Project().Tables.FittingTable[static_cast<std::size_t>(t)];
            const QString name = QString::fromStdString(rec.FittingName).replace(' ', '_');
            expected += "  <" + name + " Units=\"\">" + QString::number(rec.C) + "</" + name + ">\r\n";
        }
        expected += "</_30>";
        QCOMPARE(text, expected);
        QVERIFY(text.contains("  <Std_Elbow_45_deg Units=\"\">16</Std_Elbow_45_deg>\r\n"));
        QVERIFY(text.contains("  <VibroFlex Units=\"\">8</VibroFlex>\r\n</_30>"));
    }

    void okFromTheMenuMarksTheProjectNotSolved() {
        TMainForm window(Project());
        window.show();
        window.SetSolved(true);
        QAction* command = window.Action("actionDatabaseFittings");
        QVERIFY(command != nullptr && command->isEnabled());
        TFittingsForm& form = *window.FittingsForm();
        QTimer::singleShot(0, &form, [&] { form.TechButton(tbAccept)->trigger(); });
        command->trigger();
        QCOMPARE(window.StatusPanel(1)->text(), QString("Not Solved"));
        QCOMPARE(window.StatusPanel(0)->text(), QString("Ready"));
        window.SetSolved(true);
        QTimer::singleShot(0, &form, [&] { form.TechButton(tbCancel)->trigger(); });
        command->trigger();
        QCOMPARE(window.StatusPanel(1)->text(), QString("Solved"));
    }
};

QTEST_MAIN(FittingsFormTest)
#include "tst_fittingsform.moc"
