// SPDX-License-Identifier: GPL-3.0-or-later
// The property sheet as a widget: editing a numeric row in place, cycling
// and choosing enumerations, spin and property-editor buttons, the units
// chooser, disabled rows, and a picture of a sample sheet.

#include "desktop/widgets/EntryGrid.h"
#include "desktop/widgets/Feedback.h"
#include "desktop/widgets/FmtEdit.h"

#include <QDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace dvx;

namespace {

const std::vector<std::string> kLines = {
    "Property; Value; Units",
    "Temperature; %0.2f; °C; NPE; -60; 350",
    "Fitting Type; enum; ; Elbow; Taper; Valve; Strainer",
    "Fitting Quantity; %d; ; NPE; 1; 99",
    "Density; %0.4f; kg/m³; NPE; 0.01; 5000",
    "Step; %0.1f; m; Spin; -10; 10",
    "Notes; %S; ; PE",
    "Dynamic viscosity; %0.4g; kg/m·s; NPE; 1e-9; 10.0",
};

struct TSetData {
    int col;
    int row;
    bool operator==(const TSetData& o) const { return col == o.col && row == o.row; }
};

} // namespace

class TstEntryGrid : public QObject {
    Q_OBJECT

private:
    int beeps_ = 0;
    QStringList messages_;

    // A shown, focused sheet with the sample lines.
    std::unique_ptr<TEntryGrid> MakeGrid(QList<TSetData>* changes = nullptr) {
        auto grid = std::make_unique<TEntryGrid>();
        grid->resize(260, 200);
        grid->setColumnWidth(0, 110);
        grid->setColumnWidth(1, 90);
        grid->setColumnWidth(2, 55);
        grid->SetLines(kLines);
        grid->SetUnits(1, utTemperature, 0, 0, ft_Fixed, 1, 0);
        grid->SetUnits(4, utDensity, 0, 0, ft_Fixed, 1, 0);
        grid->SetUnits(7, utViscosity, 3, 0, ft_Fixed, 1, 0);
        grid->SetValue(1, 1, 9.0);
        grid->SetValue(1, 4, 999.65);
        grid->SetValue(1, 7, 0.00133254);
        grid->SetValue(1, 3, 2);
        grid->SetUnitsChooser(ChooseUnits);
        if (changes)
            grid->OnDoSetData = [changes](TEntryGrid&, int col, int row) { *changes << TSetData{col, row}; };
        grid->show();
        QApplication::setActiveWindow(grid.get());
        if (!QTest::qWaitForWindowActive(grid.get())) qWarning("sheet window not active");
        grid->setFocus();
        return grid;
    }

    QRect CellRect(TEntryGrid& grid, int col, int row) {
        return grid.visualRect(grid.model()->index(row - 1, col));
    }

private slots:
    void init() {
        beeps_ = 0;
        messages_.clear();
        SetBeepHook([this] { ++beeps_; });
        SetMessageHook([this](const QString& text) { messages_ << text; });
    }
    void cleanup() {
        SetBeepHook({});
        SetMessageHook({});
    }

    void headingRowIsTheHeader() {
        auto grid = MakeGrid();
        QCOMPARE(grid->model()->rowCount(), 7);
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("Property"));
        QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), QString("Units"));
        QCOMPARE(grid->model()->index(0, 1).data().toString(), QString("9.0"));
        QCOMPARE(grid->model()->index(6, 1).data().toString(), QString("1.33254"));
        QCOMPARE(grid->model()->index(6, 2).data().toString(), QString("cP"));
        QCOMPARE(grid->CurrentCol(), 1);
        QCOMPARE(grid->CurrentRow(), 1);
    }

    void editingANumericRow() {
        QList<TSetData> changes;
        auto grid = MakeGrid(&changes);
        grid->SetCurrentCell(1, 3);
        QTest::keyClick(grid.get(), Qt::Key_F2);
        auto* editor = qobject_cast<TFmtEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("2"));
        QCOMPARE(editor->selectedText(), QString("2"));
        QTest::keyClicks(editor, "1.50"); // the point is refused in an integer row
        QCOMPARE(beeps_, 1);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(grid->Cell(1, 3), std::string("99")); // 150 → the high limit 99
        QCOMPARE(beeps_, 2);
        QCOMPARE(changes, (QList<TSetData>{{1, 3}}));
        QCOMPARE(std::get<int>(grid->GetValue(1, 3)), 99);

        // Typing starts the editor too; limits are in the shown unit.
        grid->SetUnitsValue(1, 1); // °F: −76 to 662
        grid->SetCurrentCell(1, 1);
        QTest::keyClick(grid.get(), Qt::Key_7);
        editor = qobject_cast<TFmtEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClicks(editor, "00");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(grid->Cell(1, 1), std::string("662.0"));
        QCOMPARE(beeps_, 3);
        QCOMPARE(std::get<double>(grid->GetValue(1, 1)), 350.0);

        // Escape leaves the cell as it was and fires nothing.
        changes.clear();
        QTest::keyClick(grid.get(), Qt::Key_F2);
        editor = qobject_cast<TFmtEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClicks(editor, "12");
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(!grid->IsEditing());
        QCOMPARE(grid->Cell(1, 1), std::string("662.0"));
        QVERIFY(changes.isEmpty());
    }

    // Keys typed straight after a click on the current cell reach the cell,
    // however quickly they follow the click.
    void typingRightAfterAClickOnTheCurrentCell() {
        auto grid = MakeGrid();
        grid->SetCurrentCell(1, 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellRect(*grid, 1, 1).center());
        QTest::keyClicks(QApplication::focusWidget(), "42");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(!grid->IsEditing());
        QCOMPARE(QString::fromStdString(grid->Cell(1, 1)), QString("42.0"));
    }

    void enterInTheEditorStaysInTheSheet() {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* grid = new TEntryGrid(&dialog);
        auto* accept = new QPushButton("Accept", &dialog);
        accept->setDefault(true);
        layout->addWidget(grid);
        layout->addWidget(accept);
        grid->SetLines(kLines);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        grid->setFocus();
        grid->SetCurrentCell(1, 3);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<TFmtEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClicks(editor, "12");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(grid->Cell(1, 3), std::string("12"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(accepted.count(), 0);
    }

    void cyclingAnEnumRow() {
        QList<TSetData> changes;
        auto grid = MakeGrid(&changes);
        grid->SetValue(1, 2, 3);
        grid->SetCurrentCell(1, 2);
        QVERIFY(grid->DropDownButton()->isVisible());
        QTest::keyClick(grid.get(), Qt::Key_Right);
        QCOMPARE(grid->Cell(1, 2), std::string("Elbow"));
        QCOMPARE(grid->CurrentCol(), 1); // the arrow does not move the cell
        QTest::keyClick(grid.get(), Qt::Key_Left);
        QCOMPARE(grid->Cell(1, 2), std::string("Strainer"));
        QTest::keyClick(grid.get(), Qt::Key_Left);
        QCOMPARE(grid->Cell(1, 2), std::string("Valve"));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellRect(*grid, 1, 2).center());
        QCOMPARE(grid->Cell(1, 2), std::string("Strainer"));
        QCOMPARE(changes.size(), 4);
        QVERIFY(!grid->IsEditing());

        // Elsewhere the arrows move the cell as usual.
        grid->SetCurrentCell(1, 3);
        QTest::keyClick(grid.get(), Qt::Key_Left);
        QCOMPARE(grid->CurrentCol(), 0);
        QCOMPARE(changes.size(), 4);
    }

    void dropDownList() {
        QList<TSetData> changes;
        auto grid = MakeGrid(&changes);
        grid->SetCurrentCell(1, 2);
        QTest::mouseClick(grid->DropDownButton(), Qt::LeftButton);
        TMyListBox* list = grid->DropDownList();
        QVERIFY(list);
        QTRY_VERIFY(list->isVisible());
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->currentRow(), 0);
        // Under the value cell, as wide as it, (4 + 1) rows high.
        const QRect cell = CellRect(*grid, 1, 2);
        const int rowHeight = grid->DefaultRowHeight();
        QCOMPARE(list->geometry().topLeft(),
                 grid->viewport()->mapToGlobal(QPoint(cell.left() + 1, cell.top() + 1 + rowHeight)));
        QCOMPARE(list->width(), std::max(cell.width() + 1, list->fontMetrics().horizontalAdvance("Strainer") + 8));
        QCOMPARE(list->height(), 5 * rowHeight);

        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(grid->Cell(1, 2), std::string("Taper"));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(grid->Cell(1, 2), std::string("Valve"));
        QCOMPARE(changes.size(), 2);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!list->isVisible());
        QCOMPARE(grid->Cell(1, 2), std::string("Valve"));

        // A click on an item chooses it and closes the list.
        grid->ToggleDropDown();
        QTRY_VERIFY(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(3)).center());
        QCOMPARE(grid->Cell(1, 2), std::string("Strainer"));
        QVERIFY(!list->isVisible());
        QCOMPARE(changes.last(), (TSetData{1, 2}));

        // Moving over the enumerated value cell keeps the list; over another cell closes it.
        grid->ToggleDropDown();
        QTRY_VERIFY(list->isVisible());
        auto overCell = [&](int col, int row) {
            return list->mapFromGlobal(grid->viewport()->mapToGlobal(CellRect(*grid, col, row).center()));
        };
        QTest::mouseMove(list, overCell(1, 2));
        QVERIFY(list->isVisible());
        QTest::mouseMove(list, overCell(0, 1));
        QTRY_VERIFY(!list->isVisible());
    }

    void choosingAUnit() {
        auto grid = MakeGrid();
        QList<int> rightClicks;
        grid->OnAfterRightClick = [&](TEntryGrid&, int row) { rightClicks << row; };
        // The chooser is modal: pick the second unit once it is open.
        QString shownLabels;
        int startRow = -1;
        QSize popupSize;
        QTimer::singleShot(0, [&] {
            QWidget* popup = QApplication::activePopupWidget();
            auto* list = popup ? popup->findChild<QListWidget*>() : nullptr;
            if (!list) {
                if (popup) popup->close();
                return;
            }
            for (int i = 0; i < list->count(); ++i) shownLabels += list->item(i)->text() + ";";
            startRow = list->currentRow();
            popupSize = popup->size();
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
        });
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellRect(*grid, 2, 1).center());
        QCOMPARE(shownLabels, QString("°C;°F;K;"));
        QCOMPARE(startRow, 0);
        // (3 + 0.5) rows high, 10 pixels wider than the wider of 50 and the widest label.
        QCOMPARE(popupSize, QSize(60, qRound(grid->DefaultRowHeight() * 3.5)));
        QCOMPARE(grid->Cell(1, 1), std::string("48.2"));
        QCOMPARE(grid->Cell(2, 1), std::string("°F"));
        QCOMPARE(grid->GetUnitsValue(1), 1);
        QCOMPARE(rightClicks, QList<int>{1});
        QCOMPARE(grid->CurrentCol(), 2);
        QCOMPARE(grid->CurrentRow(), 1);
        QVERIFY(std::abs(std::get<double>(grid->GetValue(1, 1)) - 9.0) < 1e-9);

        // Escape keeps the unit; a row without a family opens nothing.
        QTimer::singleShot(0, [] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                if (auto* list = popup->findChild<QListWidget*>())
                    QTest::keyClick(list, Qt::Key_Escape);
                else
                    popup->close();
            }
        });
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellRect(*grid, 2, 1).center());
        QCOMPARE(grid->Cell(1, 1), std::string("48.2"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellRect(*grid, 2, 3).center());
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(rightClicks, (QList<int>{1, 1, 3}));
    }

    void spinAndPropertyEditorButtons() {
        QList<TSetData> changes;
        auto grid = MakeGrid(&changes);
        grid->SetValue(1, 5, 2.5);
        grid->SetCurrentCell(1, 5);
        QVERIFY(grid->SpinUpButton()->isVisible());
        QVERIFY(grid->SpinDownButton()->isVisible());
        QVERIFY(!grid->DropDownButton()->isVisible());
        const QRect cell = CellRect(*grid, 1, 5);
        const int h = grid->rowHeight(4);
        QCOMPARE(grid->SpinUpButton()->geometry(), QRect(cell.left() + grid->columnWidth(1) - h, cell.top(), h, qRound(h / 2.0)));
        QCOMPARE(grid->SpinDownButton()->geometry().top(), cell.top() + qRound(h / 2.0));
        QTest::mouseClick(grid->SpinUpButton(), Qt::LeftButton);
        QCOMPARE(grid->Cell(1, 5), std::string("3.0"));
        QTest::mouseClick(grid->SpinDownButton(), Qt::LeftButton);
        QTest::mouseClick(grid->SpinDownButton(), Qt::LeftButton);
        QCOMPARE(grid->Cell(1, 5), std::string("1.0"));
        QCOMPARE(changes.size(), 3);

        grid->Field(6)->EditHook = [](TValue& value) {
            value = std::get<std::string>(value) + "checked";
            return static_cast<int>(ehAccept);
        };
        grid->SetCurrentCell(1, 6);
        QVERIFY(grid->PropEditorButton()->isVisible());
        QCOMPARE(grid->PropEditorButton()->width(), grid->rowHeight(5));
        QTest::mouseClick(grid->PropEditorButton(), Qt::LeftButton);
        QCOMPARE(grid->Cell(1, 6), std::string("checked"));
        QCOMPARE(changes.last(), (TSetData{1, 6}));
        QVERIFY(grid->hasFocus());
    }

    void disabledRows() {
        auto grid = MakeGrid();
        grid->SetRowEnabled(2, false);
        grid->SetRowEnabled(5, false);
        grid->SetCurrentCell(1, 2);
        QVERIFY(!grid->DropDownButton()->isVisible());
        QTest::keyClick(grid.get(), Qt::Key_Right);
        QCOMPARE(grid->Cell(1, 2), std::string("Elbow"));
        grid->SetCurrentCell(1, 5);
        QVERIFY(!grid->SpinUpButton()->isVisible());
        QVERIFY(!(grid->model()->flags(grid->model()->index(4, 1)) & Qt::ItemIsEditable));
        QCOMPARE(grid->model()->index(4, 1).data(Qt::ForegroundRole).value<QColor>(),
                 grid->palette().color(QPalette::Disabled, QPalette::Text));
        QVERIFY(!grid->model()->index(3, 1).data(Qt::ForegroundRole).isValid());
        // Enabling the current row shows its buttons again.
        grid->SetRowEnabled(5, true);
        QVERIFY(grid->SpinUpButton()->isVisible());
    }

    void selectCellCanRefuse() {
        auto grid = MakeGrid();
        QList<int> asked;
        grid->OnSelectCell = [&](TEntryGrid&, int col, int row, bool& allowed) {
            asked << row;
            allowed = !(col == 1 && row == 4);
        };
        grid->SetCurrentCell(1, 3);
        grid->SetCurrentCell(1, 4);
        QCOMPARE(grid->CurrentRow(), 3);
        QCOMPARE(asked, (QList<int>{3, 4}));
    }

    void failuresAreShownAsMessages() {
        auto grid = MakeGrid();
        grid->SetUnits(2, utTemperature, 0, 0, ft_Fixed, 1, 0);
        grid->SetEnumStrings(3, {"x"});
        QCOMPARE(messages_, (QStringList{"Error setting units, row 2", "Error setting enum strings, row 3"}));
        messages_.clear();
        grid->SetLines({"Property; Value; Units", "Density; %0.4f; kg/m³; NPE; 0.01"});
        QCOMPARE(messages_, QStringList{"Error initialising Density"});
    }

    void samplePicture() {
        auto grid = MakeGrid();
        grid->setColumnWidth(0, 125);
        grid->resize(grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2) + 2,
                     grid->horizontalHeader()->height() + 7 * grid->rowHeight(0) + 2);
        grid->ColorEditCol = QColor(255, 255, 225);
        grid->SetRowEnabled(4, false);
        QTemporaryDir temp;
        QString folder = qEnvironmentVariable("DARVENIX_SHEET_PNG_DIR", temp.path());
        struct Shot { int row; const char* name; };
        for (const Shot& shot : {Shot{2, "sheet-enum.png"}, Shot{5, "sheet-spin.png"}, Shot{1, "sheet-value.png"}}) {
            grid->SetCurrentCell(1, shot.row);
            QApplication::processEvents();
            const QImage image = grid->grab().toImage();
            QVERIFY(!image.isNull());
            QVERIFY(image.save(folder + "/" + shot.name));
        }
        // The open drop-down list is a window of its own.
        grid->SetCurrentCell(1, 2);
        grid->ToggleDropDown();
        QTRY_VERIFY(grid->DropDownList()->isVisible());
        QVERIFY(grid->DropDownList()->grab().save(folder + "/sheet-list.png"));
    }
};

QTEST_MAIN(TstEntryGrid)
#include "tst_EntryGrid.moc"
