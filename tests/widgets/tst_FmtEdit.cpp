// SPDX-License-Identifier: GPL-3.0-or-later
// The formatted edit as a widget: its key filter, Escape, Enter and focus
// handling with the beep counted through the hook, and the dialog key rule.

#include "desktop/widgets/DialogKeys.h"
#include "desktop/widgets/Feedback.h"
#include "desktop/widgets/FmtEdit.h"

#include <QClipboard>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <QtTest>

using namespace dvx;

namespace {

// A dialog that records the keys its fields let through.
class TKeyDialog : public QDialog {
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        keys << event->key();
        event->accept();
    }
};

} // namespace

class TstFmtEdit : public QObject {
    Q_OBJECT

private:
    int beeps_ = 0;

    void Activate(QWidget& window, QWidget* focus) {
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        focus->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(focus->hasFocus());
    }

private slots:
    void init() {
        beeps_ = 0;
        SetBeepHook([this] { ++beeps_; });
    }
    void cleanup() { SetBeepHook({}); }

    void keyFilter_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::newRow("integer refuses the point") << "%d" << "2.5" << "25" << 1;
        QTest::newRow("integer takes a minus") << "%d" << "-12" << "-12" << 0;
        QTest::newRow("real takes a decimal comma as the point") << "%0.1f" << "12,5" << "12.5" << 0;
        QTest::newRow("g format takes a decimal comma") << "%0.4g" << "1,5e3" << "1.5e3" << 0;
        QTest::newRow("pair takes decimal commas") << "%0.1f/%0.1f" << "1,5/2,5" << "1.5/2.5" << 0;
        QTest::newRow("integer refuses a comma") << "%d" << "2,5" << "25" << 1;
        QTest::newRow("real refuses an exponent") << "%0.1f" << "1e3" << "13" << 1;
        QTest::newRow("g format takes an exponent") << "%0.4g" << "1e3" << "1e3" << 0;
        QTest::newRow("pair takes the slash") << "%0.1f/%0.1f" << "1.5/2" << "1.5/2" << 0;
        QTest::newRow("pair refuses letters") << "%0.1f/%0.1f" << "1a/2" << "1/2" << 1;
        QTest::newRow("text takes everything") << "%S" << "Pump, 2 off" << "Pump, 2 off" << 0;
    }

    void keyFilter() {
        QFETCH(QString, format);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, beeps);
        QWidget window;
        auto* edit = new TFmtEdit(&window);
        edit->SetFormatStr(format.toStdString());
        edit->clear();
        Activate(window, edit);
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(beeps_, beeps);
        QVERIFY(edit->Modified);
    }

    void refusedKeyLeavesTheSelection() {
        QWidget window;
        auto* edit = new TFmtEdit(&window);
        edit->SetFormatStr("%d");
        edit->setText("123");
        Activate(window, edit);
        edit->selectAll();
        QTest::keyClick(edit, '.');
        QCOMPARE(edit->text(), QString("123"));
        QCOMPARE(beeps_, 1);
        QTest::keyClick(edit, '7'); // an allowed key replaces the selection
        QCOMPARE(edit->text(), QString("7"));
    }

    void enterValidates_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::newRow("quantity over") << "%d" << 1.0 << 999.0 << "1500" << "999" << 1;
        QTest::newRow("quantity under") << "%d" << 1.0 << 999.0 << "0" << "1" << 1;
        QTest::newRow("quantity inside") << "%d" << 1.0 << 999.0 << "25" << "25" << 0;
        QTest::newRow("length from 0") << "%0.1f" << 0.0 << 100.0 << "100.4" << "100.0" << 1;
        QTest::newRow("length from 10") << "%0.1f" << 10.0 << 100.0 << "100.4" << "100.4" << 0;
        QTest::newRow("minus alone") << "%0.1f" << 0.0 << 100.0 << "-" << "0.0" << 0;
        QTest::newRow("minus inside") << "%0.1f" << 0.0 << 0.0 << "-5-3" << "-53.0" << 0;
    }

    void enterValidates() {
        QFETCH(QString, format);
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, beeps);
        TKeyDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* edit = new TFmtEdit(&dialog);
        layout->addWidget(edit);
        edit->SetFormatStr(format.toStdString());
        edit->FormatType = ft_Manual;
        edit->RangeLo = lo;
        edit->RangeHi = hi;
        edit->clear();
        Activate(dialog, edit);
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(beeps_, beeps);
        // An accepted value lets Enter reach the dialog; a limited one keeps it.
        QCOMPARE(dialog.keys.contains(Qt::Key_Return), beeps == 0);
    }

    void pastedBlanksAreCleanedOnEnter() {
        QWidget window;
        auto* edit = new TFmtEdit(&window);
        edit->RangeLo = 0;
        edit->RangeHi = 100;
        edit->clear();
        Activate(window, edit);
        QApplication::clipboard()->setText("12 . 5");
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier); // pasting bypasses the key filter
        QCOMPARE(edit->text(), QString("12 . 5"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), QString("12.5"));
        QCOMPARE(std::get<double>(edit->GetValue()), 12.5);
        QCOMPARE(beeps_, 0);
    }

    void escapeRestoresTheTextFromTheFocus() {
        TKeyDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* edit = new TFmtEdit(&dialog);
        layout->addWidget(edit);
        edit->setText("5.0");
        Activate(dialog, edit);
        edit->selectAll();
        QTest::keyClicks(edit, "77");
        QCOMPARE(edit->text(), QString("77"));
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(edit->text(), QString("5.0"));
        QVERIFY(!edit->Modified);
        QVERIFY(dialog.keys.isEmpty()); // consumed while modified
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(dialog.keys, QList<int>{Qt::Key_Escape}); // unmodified: the dialog gets it
    }

    void focusOutValidatesAndKeepsTheFocusOnALimit() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* edit = new TFmtEdit(&window);
        auto* other = new TFmtEdit(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        edit->SetFormatStr("%0.1f");
        edit->RangeLo = 0;
        edit->RangeHi = 100;
        edit->clear();
        Activate(window, edit);
        edit->setText("250");
        edit->Modified = true;
        other->setFocus(Qt::TabFocusReason);
        QCOMPARE(edit->text(), QString("100.0"));
        QCOMPARE(beeps_, 1);
        QTRY_VERIFY(edit->hasFocus());

        edit->setText("42");
        edit->Modified = true;
        other->setFocus(Qt::TabFocusReason);
        QCOMPARE(edit->text(), QString("42.0"));
        QCOMPARE(beeps_, 1);
        QTest::qWait(20);
        QVERIFY(other->hasFocus());
    }

    void unitsLabelFollowsTheUnit() {
        QWidget window;
        auto* edit = new TFmtEdit(&window);
        auto* label = new QLabel(&window);
        edit->SetUnitsLabel(label);
        edit->setText("9.0");
        edit->RangeLo = -10;
        edit->RangeHi = 90;
        edit->SetUnitsType(utTemperature);
        QCOMPARE(label->text(), QString("°C"));
        edit->SetUnitsValue(1);
        QCOMPARE(label->text(), QString("°F"));
        QCOMPARE(edit->text(), QString("48.2"));
        edit->setText("300");
        QVERIFY(!edit->ValidateWithBeep());
        QCOMPARE(edit->text(), QString("194.0"));
        QCOMPARE(beeps_, 1);
    }

    void dialogKeyRule() {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* first = new TFmtEdit(&dialog);
        auto* second = new TFmtEdit(&dialog);
        auto* list = new QListWidget(&dialog);
        auto* third = new TFmtEdit(&dialog);
        list->addItems({"a", "b", "c"});
        for (QWidget* w : {static_cast<QWidget*>(first), static_cast<QWidget*>(second),
                           static_cast<QWidget*>(list), static_cast<QWidget*>(third)})
            layout->addWidget(w);
        TDialogKeys::Install(&dialog);
        Activate(dialog, first);

        QTest::keyClick(first, Qt::Key_Down);
        QVERIFY(second->hasFocus());
        QTest::keyClick(second, Qt::Key_Up);
        QVERIFY(first->hasFocus());
        QTest::keyClick(first, Qt::Key_Return);
        QVERIFY(second->hasFocus());
        QTest::keyClick(second, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(list->hasFocus());
        // A list keeps its arrows.
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(list->hasFocus());
        QCOMPARE(list->currentRow(), 1);
        third->setFocus();
        QTest::keyClick(third, Qt::Key_Up);
        QVERIFY(list->hasFocus());

        // A value set to its limit keeps the focus in its field.
        first->SetFormatStr("%d");
        first->RangeLo = 1;
        first->RangeHi = 9;
        first->setFocus();
        first->selectAll();
        QTest::keyClicks(first, "50");
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(first->text(), QString("9"));
        QVERIFY(first->hasFocus());
        QCOMPARE(beeps_, 1);
    }
};

QTEST_MAIN(TstFmtEdit)
#include "tst_FmtEdit.moc"
