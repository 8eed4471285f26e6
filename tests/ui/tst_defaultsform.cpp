// SPDX-License-Identifier: GPL-3.0-or-later
// "Defaults" on its own and from the main window's "D&efaults" command.

#include "DialogTestSupport.h"

#include "engine/catalogue/Bores.h"
#include "engine/hydraulics/Calc.h"
#include "storage/settings/Defaults.h"
#include "desktop/windows/DefaultsForm.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/EntryGrid.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace dvx;
using namespace dvx::ui;

class DefaultsFormTest : public test::DialogTestBase {
    Q_OBJECT

private slots:
    void initTestCase() { SetUpHome(); }
    void init() {
        FreshStart("defaults.ini");
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
    }

    void sheetShowsTheDefaultsWithBoreLabelsAndFittingNames() {
        LoadItemDefaults(Store(), Project().Tables);
        Project().Tables.DefaultBore = 35; // an older setting: not a bore of the table
        Project().Tables.DefaultFittingType = 16;
        TDefaultsForm form(Project());
        form.show();
        QCOMPARE(form.windowTitle(), QString("Defaults"));
        QCOMPARE(form.StatusText()->text(), QString("Program default values for new item"));
        QStringList captions;
        for (QAction* a : form.ToolBar()->actions()) captions << a->text();
        QCOMPARE(captions, (QStringList{"Accept", "Cancel", "Restore"}));
        TEntryGrid* grid = form.Grid();
        // The design widths, widened only where the font needs it.
        QVERIFY(grid->columnWidth(0) >= 115);
        QVERIFY(grid->columnWidth(1) >= 93);
        QVERIFY(grid->columnWidth(2) >= 49);
        QCOMPARE(grid->EnumField(2)->Items.size(), std::size_t(BoreCount));
        QCOMPARE(grid->EnumField(2)->Items.front(), std::string("750"));
        QCOMPARE(grid->EnumField(5)->Items.size(), std::size_t(FittingCount));
        QCOMPARE(Cell(form, 1), QString("9.0"));
        QCOMPARE(Cell(form, 2), QString("40"));
        QCOMPARE(Cell(form, 3), QString("10.000"));
        QCOMPARE(Cell(form, 4), QString("20.000"));
        QCOMPARE(Cell(form, 5), QString("Globe Valve"));
        QCOMPARE(Cell(form, 6), QString("1"));
        QCOMPARE(Cell(form, 7), QString("50.0"));
        // New items take the same 40 mm bore.
        TPipe pipe(Project());
        QCOMPARE(NominalOf(Project().Tables, pipe.BoreIndex), 40.0);
        Screenshot(form, "DefaultsForm");
        grid->SetCurrentCell(1, 5);
        grid->ToggleDropDown();
        QVERIFY(grid->DropDownList() && grid->DropDownList()->isVisible());
        Screenshot(form, "DefaultsForm-fittings");
        Screenshot(*grid->DropDownList(), "DefaultsForm-fittings-list");
        grid->ToggleDropDown();
    }

    void acceptedFlowIsInForceAndStoredWhole() {
        LoadItemDefaults(Store(), Project().Tables);
        TDefaultsForm form(Project());
        const int result = RunModal(form, [&] {
            Type(form, 4, "0.4");
            Type(form, 3, "2.4");
            form.Grid()->SetCurrentCell(1, 2);
            form.Grid()->CycleCurrentEnum(+1); // 100 → 80
            form.Grid()->SetCurrentCell(1, 5);
            form.Grid()->CycleCurrentEnum(-1); // the first type → the last
            form.Button("Accept")->trigger();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(Project().Tables.DefaultFlow, 0.4);
        QCOMPARE(Project().Tables.DefaultLength, 2.4);
        QCOMPARE(Project().Tables.DefaultBore, 80.0);
        QCOMPARE(Project().Tables.DefaultFittingType, FittingCount - 1);
        TPipe pipe(Project());
        QCOMPARE(pipe.Flow, 0.0004);
        QCOMPARE(QString::fromStdString(Store().ReadString("Default", "Water Flow", "")), QString("0.4"));
        QCOMPARE(QString::fromStdString(Store().ReadString("Default", "Pipe Length", "")), QString("2.4"));
        QCOMPARE(QString::fromStdString(Store().ReadString("Default", "Fitting", "")), QString("23"));
        QVERIFY(Store().ValueExists("DefaultsForm", "Left"));
        // After a restart new items still get 0.4 l/s.
        Project().Tables.RestoreBuiltIn();
        LoadItemDefaults(Store(), Project().Tables);
        QCOMPARE(Project().Tables.DefaultFlow, 0.4);
        QCOMPARE(TPipe(Project()).Flow, 0.0004);
    }

    void restoreStoresAtOnceAndStaysInForceAfterCancel() {
        Project().Tables.DefaultTemperature = 20;
        Project().Tables.DefaultFlow = 3;
        Project().Tables.DefaultFittingType = 7;
        TDefaultsForm form(Project());
        const int result = RunModal(form, [&] {
            form.Button("Restore")->trigger();
            QVERIFY(form.isVisible());
            QCOMPARE(Cell(form, 4), QString("20.000"));
            QCOMPARE(Cell(form, 5), QString("Std Elbow 90 deg"));
            Type(form, 1, "30");
            form.Button("Cancel")->trigger();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(Project().Tables.DefaultTemperature, 9.0);
        QCOMPARE(Project().Tables.DefaultFlow, 20.0);
        QCOMPARE(Project().Tables.DefaultFittingType, 0);
        QCOMPARE(QString::fromStdString(Store().ReadString("Default", "Water Temp", "")), QString("9"));
        QCOMPARE(QString::fromStdString(Store().ReadString("Default", "Fitting Quantity", "")), QString("1"));
    }

    void aCellThatIsNotANumberStopsTheTakingThere() {
        TDefaultsForm form(Project());
        RunModal(form, [&] {
            Type(form, 1, "12");
            form.Grid()->SetCell(1, 3, "abc"); // as text pasted into the cell would leave it
            Type(form, 4, "5");
            form.Button("Accept")->trigger();
            QVERIFY(form.isVisible());
            form.Button("Cancel")->trigger();
        });
        QCOMPARE(messages_.size(), std::size_t(1));
        QCOMPARE(messages_[0].text, QString("'abc' is not a valid floating point value"));
        QCOMPARE(Project().Tables.DefaultTemperature, 12.0);
        QCOMPARE(Project().Tables.DefaultLength, BuiltInDefaultLength);
        QCOMPARE(Project().Tables.DefaultFlow, BuiltInDefaultFlow);
        QVERIFY(!Store().ValueExists("Default", "Water Temp"));
    }

    void okFromTheMenuReloadsTheInsertDialog() {
        TMainForm window(Project());
        window.show();
        QAction* command = window.Action("actionEditDefaults");
        QVERIFY(command != nullptr && command->isEnabled());
        TDefaultsForm& form = *window.DefaultsForm();
        QTimer::singleShot(0, &form, [&] {
            Type(form, 4, "7.5");
            form.Grid()->SetCurrentCell(1, 5);
            form.Grid()->SetValue(1, 5, 12); // "Gate Valve"
            form.Button("Accept")->trigger();
        });
        command->trigger();
        QCOMPARE(window.InsertForm()->FlowEdit()->text(), QString("7.5"));
        QCOMPARE(window.InsertForm()->FittingCombo()->currentText(), QString("Gate Valve"));
        QCOMPARE(window.StatusPanel(0)->text(), QString("Ready")); // defaults do not touch the project
    }
};

QTEST_MAIN(DefaultsFormTest)
#include "tst_defaultsform.moc"
