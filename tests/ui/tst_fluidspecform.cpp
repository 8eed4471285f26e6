// SPDX-License-Identifier: GPL-3.0-or-later
// The "Fluid Specification" window driven as a user drives it: in-place
// edits and enumeration choices reaching the project's liquid, the status line and
// its colours, the units chooser, Cancel and the close box, and the main
// window's "&Water Specification" command.

#include "ui/TestProject.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/windows/FluidSpecForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"
#include "desktop/widgets/Feedback.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace dvx;
using namespace dvx::ui;

namespace {
const QColor kTeal(0, 128, 128);
const QColor kMaroon(128, 0, 0);
} // namespace

class FluidSpecFormTest : public QObject {
    Q_OBJECT

private:
    struct Shown {
        MsgKind kind;
        QString text;
    };
    QTemporaryDir home_;
    std::vector<Shown> messages_;
    std::unique_ptr<TMainForm> window_;

    TFluidSpecForm& F() { return *window_->FluidSpecForm(); }
    // The liquid of the window's project.
    TLiquid& Liquid() { return *window_->Project().Liquid; }
    QString Cell(int row) { return QString::fromStdString(F().Grid()->Cell(1, row)); }
    QString Status() { return F().StatusLabel()->text(); }
    QColor StatusColour() { return F().StatusLabel()->palette().color(QPalette::WindowText); }

    // Opens the window on the project's liquid as the main window does, without
    // running its modal loop.
    void Open() {
        F().SetFluid(&Liquid());
        F().show();
        Focus();
    }
    void Focus() {
        QApplication::setActiveWindow(&F());
        QVERIFY(QTest::qWaitForWindowActive(&F()));
        F().Grid()->setFocus();
    }

    // Types into a value cell through the sheet's in-place editor.
    void TypeInto(int row, const QString& text) {
        TFluidGrid* grid = F().Grid();
        grid->SetCurrentCell(1, row);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<TFmtEdit*>(QApplication::focusWidget());
        QVERIFY2(editor != nullptr, "no in-place editor opened");
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!grid->IsEditing());
    }

    // Steps an enumerated row with the Right arrow until it shows `item`.
    void Choose(int row, const QString& item) {
        TFluidGrid* grid = F().Grid();
        grid->SetCurrentCell(1, row);
        for (int i = 0; i < 16 && Cell(row) != item; ++i) QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(Cell(row), item);
    }

    void SaveShot(QWidget* widget, const QString& name) {
        const QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QVERIFY(widget->grab().save(QString::fromUtf8(dir) + "/" + name));
    }

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", home_.filePath("data").toUtf8());
        SetMessageHandler([this](QWidget*, MsgKind kind, const QString& text, QMessageBox::StandardButtons) {
            messages_.push_back({kind, text});
            return QMessageBox::Ok;
        });
        SetBeepHook([] {});
    }

    void init() {
        test::TestProject().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        // Every case starts from the sheet's own units and widths.
        QFile::remove(home_.filePath("config/Quellstrand/darvenix.ini"));
        SetAppSettings(SettingsStore(home_.filePath("config/Quellstrand/darvenix.ini").toStdString()));
        messages_.clear();
        window_ = std::make_unique<TMainForm>(test::TestProject());
        window_->show();
    }

    void cleanup() {
        if (F().isVisible()) F().reject();
        window_->Circuit().Saved = true;
        window_.reset();
    }

    void opensOnCleanWater() {
        Open();
        QCOMPARE(F().windowTitle(), QString("Fluid Specification"));
        const QStringList expected = {"9.0", "Water", "None", "0.0", "False", "999.65", "4.195", "1.33254", "0.585069"};
        for (int r = 1; r <= 9; ++r) QCOMPARE(Cell(r), expected[r - 1]);
        QCOMPARE(Status(), QString("Valid range = [0.0 .. 300.0] °C"));
        QCOMPARE(StatusColour(), kTeal);
        QVERIFY(F().minimumWidth() == 300 && F().maximumWidth() == 400);
        QVERIFY(F().minimumHeight() == 300 && F().maximumHeight() == 500);
        SaveShot(&F(), "liquid-sheet.png");
    }

    void additiveThenVolumeThenAnotherLiquid() {
        Open();
        const double cleanRo = Liquid().ro;
        Choose(3, "Ethylene Glycol");
        QCOMPARE(Cell(4), QString("1.0"));
        QVERIFY(F().Grid()->RowEnabled(4));
        QCOMPARE(Liquid().AdditiveVolume, 0.01);
        // Not evaluated with the new volume until the next change.
        QCOMPARE(Liquid().ro, cleanRo);
        QCOMPARE(Cell(6), QString("999.65"));

        TypeInto(4, "30");
        QCOMPARE(Liquid().AdditiveVolume, 0.3);
        QVERIFY(Liquid().ro > 1030);
        QCOMPARE(Cell(6), QString::fromStdString(F().Grid()->FormatAsRow(6, Liquid().ro)));
        QCOMPARE(Status(), QString("Valid range = [-30.0 .. 300.0] °C"));

        Choose(2, "Mercury");
        QCOMPARE(Cell(3), QString("None"));
        QCOMPARE(Cell(4), QString("0.0"));
        QVERIFY(!F().Grid()->RowEnabled(3));
        QVERIFY(!F().Grid()->RowEnabled(4));
        QVERIFY(Liquid().ro > 13000);
        QCOMPARE(Liquid().WaterAdditive, std::uint8_t(0));
        QCOMPARE(Status(), QString("Valid range = [0.0 .. 316.0] °C"));
        SaveShot(&F(), "liquid-sheet-mercury.png");
    }

    void mixtureShowsItsFreezingPointAndAnswersTheInverseQuestion() {
        Open();
        // Clean water: no freezing line, no question.
        QVERIFY(!F().FreezeLabel()->isVisible());
        QVERIFY(!F().ProtectEdit()->isVisible());
        Choose(3, "Ethylene Glycol");
        TypeInto(4, "10");
        TypeInto(1, "-20");
        // 10 % freezes at −3.7 °C: −20 °C is far inside the margin.
        QVERIFY(F().FreezeLabel()->isVisible());
        QCOMPARE(F().FreezeLabel()->text(), QString("Freezing point = -3.7 °C"));
        QCOMPARE(F().FreezeLabel()->palette().color(QPalette::WindowText), kMaroon);
        // Down to −20 °C with 2 K to spare (−22 °C): 36.5 % −21.3 °C and
        // 37.5 % −22.3 °C of the table give 37.2 %.
        QVERIFY(F().ProtectEdit()->isVisible());
        QTest::keyClicks(F().ProtectEdit(), "-20");
        QCOMPARE(F().ProtectAnswer()->text(), QString("at least 37.2 %"));
        F().ProtectEdit()->clear();
        QTest::keyClicks(F().ProtectEdit(), "-60");
        QCOMPARE(F().ProtectAnswer()->text(), QString("beyond the table"));
        SaveShot(&F(), "liquid-sheet-freezing.png");
        // Warm enough: the same line in teal.
        TypeInto(1, "5");
        QCOMPARE(F().FreezeLabel()->palette().color(QPalette::WindowText), kTeal);
        // The range line is as it always was.
        QCOMPARE(Status(), QString("Valid range = [-30.0 .. 300.0] °C"));
    }

    void unitsChooserRefreshesTheStatus() {
        Open();
        // Answers the chooser with the second unit of the row's family.
        F().Grid()->SetUnitsChooser([](TEntryGrid& sheet, int row, int, TField* field, int) {
            if (auto* number = dynamic_cast<TNumField*>(field)) {
                number->UnitsValue = 1;
                sheet.ApplyUnits(row);
            }
        });
        TFluidGrid* grid = F().Grid();
        const QRect units = grid->visualRect(grid->model()->index(0, 2));
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, units.center());
        QCOMPARE(Cell(1), QString("48.2"));
        QCOMPARE(QString::fromStdString(grid->Cell(2, 1)), QString("°F"));
        QCOMPARE(Status(), QString("Valid range = [32.0 .. 572.0] °F"));
        F().accept();
        // The unit is kept for the next run.
        QCOMPARE(AppSettings().ReadInteger("FluidSpecForm", "Units1", -1), 1);
        QCOMPARE(AppSettings().ReadInteger("FluidSpecForm", "ColWidths0", -1), grid->columnWidth(0));
    }

    void outOfRangeInMaroon() {
        Open();
        Choose(2, "Compressed Air");
        TypeInto(1, "5");
        QCOMPARE(Liquid().t, 5.0);
        QCOMPARE(Status(), QString("Valid range = [50.0 .. 400.0] °C"));
        QCOMPARE(StatusColour(), kMaroon);
        SaveShot(&F(), "liquid-sheet-out-of-range.png");
    }

    void userDensityThenCloseBoxRestores() {
        Open();
        const double cleanRo = Liquid().ro;
        Choose(5, "True");
        QVERIFY(F().Grid()->RowEnabled(6));
        TypeInto(6, "1100");
        QCOMPARE(Liquid().ro, 1100.0);
        QVERIFY(Liquid().UserProps);
        F().close(); // the close box acts as Cancel
        QVERIFY(!F().isVisible());
        QVERIFY(!Liquid().UserProps);
        QCOMPARE(Liquid().ro, cleanRo);
    }

    void cancelRestoresAfterTheWindowLostTheFocus() {
        Open();
        TypeInto(1, "20");
        QCOMPARE(Liquid().t, 20.0);
        // Another window takes the focus for a while (a message box, the
        // units list); coming back does not take a new backup.
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        Focus();
        QCOMPARE(Cell(1), QString("20.0"));
        F().CancelButton()->click();
        QCOMPARE(Liquid().t, 9.0);
    }

    void failedEvaluationIsShownAndChangesNothing() {
        Open();
        Choose(2, "Condensed Steam");
        const double ro = Liquid().ro;
        TypeInto(1, "-50");
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].kind, MsgKind::Error);
        QCOMPARE(Liquid().ro, ro);
        QCOMPARE(StatusColour(), kMaroon);
    }

    void waterSpecificationCommand() {
        TMainForm& w = *window_;
        // Accept: the changes stay and the project needs saving and solving.
        QTimer::singleShot(0, &F(), [this] {
            Focus();
            TypeInto(1, "20");
            F().AcceptButton()->click();
        });
        w.Action("actionCalcLiquid")->trigger();
        QVERIFY(!F().isVisible());
        QCOMPARE(Liquid().t, 20.0);
        QCOMPARE(w.StatusPanel(0)->text(), QString("Modified"));
        QCOMPARE(w.StatusPanel(1)->text(), QString("Not Solved"));

        // Cancel: the fluid as it was opened, the project untouched.
        w.SetSaved(true);
        QTimer::singleShot(0, &F(), [this] {
            Focus();
            QCOMPARE(Cell(1), QString("20.0"));
            Choose(2, "Glycerin");
            F().CancelButton()->click();
        });
        w.Action("actionCalcLiquid")->trigger();
        QVERIFY(!F().isVisible());
        QCOMPARE(Liquid().LiquidSpec, std::uint8_t(0));
        QCOMPARE(Liquid().t, 20.0);
        QCOMPARE(w.StatusPanel(0)->text(), QString("Ready"));
    }
};

QTEST_MAIN(FluidSpecFormTest)
#include "tst_fluidspecform.moc"
