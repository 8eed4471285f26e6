// SPDX-License-Identifier: GPL-3.0-or-later
// "Warning Limits" driven as a user drives it.

#include "DialogTestSupport.h"

#include "base/Errors.h"
#include "storage/settings/Defaults.h"
#include "desktop/windows/LimitsForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAction>
#include <QLabel>

using namespace dvx;
using namespace dvx::ui;

class LimitsFormTest : public test::DialogTestBase {
    Q_OBJECT

private slots:
    void initTestCase() { SetUpHome(); }
    void init() { FreshStart("limits.ini"); }

    void missingKeysGiveTheBuiltInLimits() {
        LoadWarningLimits(Store(), Project().Tables);
        TLimitsForm form(Project());
        QCOMPARE(form.PRateEdit()->text(), QString("1500.0"));
        QCOMPARE(form.MaxVEdit()->text(), QString("3.5"));
        QCOMPARE(form.windowTitle(), QString("Warning Limits"));
        QCOMPARE(form.StatusText()->text(), QString("These limits are for warnings only"));
        QCOMPARE(form.ToolBar()->actions().size(), 2);
        QCOMPARE(form.ToolBar()->actions().at(0)->text(), QString("Accept"));
        QCOMPARE(form.ToolBar()->actions().at(1)->text(), QString("Cancel"));
        Screenshot(form, "LimitsForm");
    }

    void acceptTakesAndStoresTheFieldTexts() {
        TLimitsForm form(Project());
        const int result = RunModal(form, [&] {
            form.PRateEdit()->setText("2000");
            form.MaxVEdit()->setText("3.75");
            form.Button("Accept")->trigger();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        // The fields are checked and formatted before they are taken.
        QCOMPARE(Project().Tables.GradientLimit, 2000.0);
        QCOMPARE(Project().Tables.VelocityLimit, 3.8);
        QCOMPARE(QString::fromStdString(Store().ReadString("Limits", "PRate", "")), QString("2000.0"));
        QCOMPARE(QString::fromStdString(Store().ReadString("Limits", "VMax", "")), QString("3.8"));
        QVERIFY(Store().ValueExists("LimitsForm", "Left"));
        // The next start reads them back.
        Project().Tables.RestoreBuiltIn();
        LoadWarningLimits(Store(), Project().Tables);
        QCOMPARE(Project().Tables.GradientLimit, 2000.0);
    }

    // The dialog shows and changes the limits of the project it is given;
    // another project keeps its own.
    void theDialogWorksOnTheProjectItIsGiven() {
        TProjectState own;
        own.Tables.GradientLimit = 2500;
        TLimitsForm form(own.Context());
        QCOMPARE(form.PRateEdit()->text(), QString("2500.0"));
        const int result = RunModal(form, [&] {
            form.MaxVEdit()->setText("3.2");
            form.Button("Accept")->trigger();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(own.Tables.VelocityLimit, 3.2);
        QCOMPARE(own.Tables.GradientLimit, 2500.0);
        QCOMPARE(Project().Tables.VelocityLimit, BuiltInVelocityLimit);
        QCOMPARE(Project().Tables.GradientLimit, BuiltInGradientLimit);
    }

    void freezingMarginIsStoredOnlyOnceChanged() {
        TLimitsForm form(Project());
        QCOMPARE(form.FreezeMarginEdit()->text(), QString("2.0"));
        RunModal(form, [&] { form.Button("Accept")->trigger(); });
        // Untouched: the settings file gains no key.
        QVERIFY(!Store().ValueExists("Limits", "FreezeMargin"));
        QCOMPARE(Project().Tables.FreezingMargin, 2.0);
        RunModal(form, [&] {
            form.FreezeMarginEdit()->setText("5");
            form.Button("Accept")->trigger();
        });
        QCOMPARE(Project().Tables.FreezingMargin, 5.0);
        QCOMPARE(QString::fromStdString(Store().ReadString("Limits", "FreezeMargin", "")), QString("5.0"));
        Project().Tables.RestoreBuiltIn();
        LoadWarningLimits(Store(), Project().Tables);
        QCOMPARE(Project().Tables.FreezingMargin, 5.0);
    }

    void anOutOfRangeValueIsSetToTheLimitAndTheDialogStaysOpen() {
        TLimitsForm form(Project());
        bool openAfterFirst = false;
        RunModal(form, [&] {
            form.PRateEdit()->setText("5000");
            form.Button("Accept")->trigger();
            openAfterFirst = form.isVisible();
            QCOMPARE(form.PRateEdit()->text(), QString("3000.0"));
            form.Button("Accept")->trigger();
        });
        QVERIFY(openAfterFirst);
        QCOMPARE(beeps_, 1);
        QCOMPARE(Project().Tables.GradientLimit, 3000.0);
    }

    void cancelTakesAndWritesNothingAndTheNextOpeningRefills() {
        TLimitsForm form(Project());
        const int result = RunModal(form, [&] {
            form.PRateEdit()->setText("2500");
            form.Button("Cancel")->trigger();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(Project().Tables.GradientLimit, 1500.0);
        QVERIFY(!Store().ValueExists("Limits", "PRate"));
        QVERIFY(!Store().ValueExists("LimitsForm", "Left"));
        RunModal(form, [&] {
            QCOMPARE(form.PRateEdit()->text(), QString("1500.0"));
            form.reject();
        });
    }

    void aStoredTextThatIsNotANumberKeepsTheLimitsAfterIt() {
        Store().WriteString("Limits", "PRate", "1800");
        Store().WriteString("Limits", "VMax", "3,6");
        QVERIFY_THROWS_EXCEPTION(ConvertError, LoadWarningLimits(Store(), Project().Tables));
        QCOMPARE(Project().Tables.GradientLimit, 1800.0);
        QCOMPARE(Project().Tables.VelocityLimit, 3.5);
    }

    void theMenuShowsTheDialogAndDoesNothingElse() {
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        TMainForm window(Project());
        window.show();
        window.SetSolved(true);
        QAction* command = window.Action("actionCalcLimits");
        QVERIFY(command != nullptr && command->isEnabled());
        TLimitsForm& form = *window.LimitsForm();
        QTimer::singleShot(0, &form, [&] {
            form.MaxVEdit()->setText("3.2");
            form.Button("Accept")->trigger();
        });
        command->trigger();
        QCOMPARE(Project().Tables.VelocityLimit, 3.2);
        QCOMPARE(window.StatusPanel(0)->text(), QString("Ready"));
        QCOMPARE(window.StatusPanel(1)->text(), QString("Solved"));
    }
};

QTEST_MAIN(LimitsFormTest)
#include "tst_limitsform.moc"
