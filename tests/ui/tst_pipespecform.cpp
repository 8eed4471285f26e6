// SPDX-License-Identifier: GPL-3.0-or-later
// "Pipe Specification" (the roughness dialog) on its own and from the main
// window's "&Pipe Roughness" command.

#include "DialogTestSupport.h"

#include "storage/catalogue/CatalogueFiles.h"
#include "base/Errors.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/windows/PipeSpecForm.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAction>
#include <QLabel>

using namespace dvx;
using namespace dvx::ui;

class PipeSpecFormTest : public test::DialogTestBase {
    Q_OBJECT

private:
    QStringList Fields(TPipeSpecForm& form) {
        return {form.RoughnessEdit(0)->text(), form.RoughnessEdit(1)->text(), form.RoughnessEdit(2)->text()};
    }

private slots:
    void initTestCase() { SetUpHome(); }
    void init() {
        FreshStart("pipespec.ini");
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
    }

    void showsTheRoughnessInForceInMillimetres() {
        Project().Tables.MaterialRoughness = {0.00005, 0.00015, 0.0000015};
        TPipeSpecForm form(Project());
        QCOMPARE(Fields(form), (QStringList{"0.050000", "0.150000", "0.001500"}));
        QCOMPARE(form.windowTitle(), QString("Pipe Specification"));
        QCOMPARE(form.StatusText()->text(), QString("Pipe and tube inside surface roughness, mm"));
        QStringList captions;
        for (QAction* a : form.ToolBar()->actions()) captions << a->text();
        QCOMPARE(captions, (QStringList{"Accept", "Cancel", "Restore"}));
        Screenshot(form, "PipeSpecForm");
    }

    void restoreThenCancelKeepsTheDefaultsButNotCurrentRoughness() {
        Project().Tables.MaterialRoughness = {0.0001, 0.0002, 0.0003};
        SaveRoughnessSettings(Store(), Project().Tables);
        Project().Tables.SelectPipeMaterial(pmGalvIron);
        TPipeSpecForm form(Project());
        const int result = RunModal(form, [&] {
            form.Button("Restore")->trigger();
            QVERIFY(form.isVisible());
            QCOMPARE(Fields(form), (QStringList{"0.046000", "0.150000", "0.001500"}));
            form.Button("Cancel")->trigger();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(Project().Tables.MaterialRoughness[pmSteel], 0.000046);
        QCOMPARE(Project().Tables.MaterialRoughness[pmDrawnTube], 0.0000015);
        QCOMPARE(QString::fromStdString(Store().ReadString("Pipe", "Shed40Steel", "")), QString("0.046000"));
        QCOMPARE(QString::fromStdString(Store().ReadString("Pipe", "DrawnTubing", "")), QString("0.001500"));
        // The dialog itself leaves the roughness of the calculation alone; the
        // main window applies what is in force once the dialog has closed.
        QCOMPARE(Project().Tables.CurrentRoughness, 0.0002);
    }

    void cancelDiscardsTypingAndWritesNothing() {
        TPipeSpecForm form(Project());
        RunModal(form, [&] {
            form.RoughnessEdit(0)->setText("0.5");
            form.Button("Cancel")->trigger();
        });
        QCOMPARE(Project().Tables.MaterialRoughness[pmSteel], 0.000046);
        QVERIFY(!Store().ValueExists("Pipe", "Shed40Steel"));
        QVERIFY(!Store().ValueExists("PipeSpecForm", "Left"));
        // The next opening shows the values in force again.
        RunModal(form, [&] {
            QCOMPARE(form.RoughnessEdit(0)->text(), QString("0.046000"));
            form.reject();
        });
    }

    void aTextThatIsNotANumberKeepsTheMaterialsAfterIt() {
        TPipeSpecForm form(Project());
        RunModal(form, [&] {
            form.RoughnessEdit(0)->setText("0.05");
            form.RoughnessEdit(1)->setText("x");
            form.RoughnessEdit(2)->setText("0.002");
            form.Button("Accept")->trigger();
            QVERIFY(form.isVisible());
            form.Button("Cancel")->trigger();
        });
        QCOMPARE(messages_.size(), std::size_t(1));
        QCOMPARE(messages_[0].kind, MsgKind::Error);
        QCOMPARE(messages_[0].text, QString("'x' is not a valid floating point value"));
        QCOMPARE(Project().Tables.MaterialRoughness[pmSteel], 0.00005);
        QCOMPARE(Project().Tables.MaterialRoughness[pmGalvIron], 0.00015);
        QCOMPARE(Project().Tables.MaterialRoughness[pmDrawnTube], 0.0000015);
    }

    void okFromTheMenuMarksTheProjectAndAppliesTheMaterial() {
        TMainForm window(Project());
        window.show();
        window.ChooseMaterial(pmDrawnTube);
        window.SetSaved(true);
        window.SetSolved(true);
        QAction* command = window.Action("actionDatabaseRoughness");
        QVERIFY(command != nullptr && command->isEnabled());
        TPipeSpecForm& form = *window.PipeSpecForm();
        QTimer::singleShot(0, &form, [&] {
            form.RoughnessEdit(2)->setText("0.01");
            form.Button("Accept")->trigger();
        });
        command->trigger();
        QCOMPARE(window.StatusPanel(0)->text(), QString("Modified"));
        QCOMPARE(window.StatusPanel(1)->text(), QString("Not Solved"));
        QCOMPARE(Project().Tables.CurrentRoughness, 0.00001);
        QCOMPARE(QString::fromStdString(Store().ReadString("Pipe", "DrawnTubing", "")), QString("0.010000"));
        window.Circuit().Saved = true;
    }
};

QTEST_MAIN(PipeSpecFormTest)
#include "tst_pipespecform.moc"
