// SPDX-License-Identifier: GPL-3.0-or-later
// The cost and labour editors and the price window, driven through the main
// window as a user drives them: cells typed through the in-place editor,
// Save and Close with their questions, the price command and the price
// window's buttons. Message boxes are answered through the message seam.

#include "engine/catalogue/Tables.h"
#include "base/Money.h"
#include "engine/cost/PriceEstimate.h"
#include "engine/fluid/Fluid.h"
#include "base/platform/Folders.h"
#include "desktop/report/GifWriter.h"
#include "desktop/report/PreviewPages.h"
#include "desktop/report/PreviewWindow.h"
#include "report/PageTextCapture.h"
#include "storage/settings/IniFiles.h"
#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/windows/CostForm.h"
#include "desktop/windows/LabourForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/widgets/Messages.h"
#include "desktop/windows/PriceForm.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "ui/DialogTestSupport.h"

using namespace dvx;
using namespace dvx::ui;

namespace {
constexpr int kBore100 = 11;
}

class CostTest : public test::DialogTestBase {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> window_;

    TMainForm& W() { return *window_; }
    QString DataFile(const char* name) { return QString::fromStdString(DataFolder()) + name; }

    // Types text into a cell through the real in-place editor.
    void TypeInto(TCostGrid* grid, int col, int row, const QString& text) {
        grid->GoTo(col, row);
        QModelIndex index = grid->currentIndex();
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        QVERIFY2(editor != nullptr, "no in-place editor opened");
        editor->selectAll();
        QTest::keyClicks(editor, text);
        grid->CommitEdit();
    }

    // Two 10 m steel pipes of 100 mm with a flow, so that the circuit calculates.
    void AddTwoSteelPipes() {
        for (int i = 0; i < 2; ++i) {
            auto pipe = std::make_unique<TPipe>(Project());
            pipe->SetBore(Project(), kBore100);
            pipe->Length = 10;
            pipe->Flow = 0.01;
            W().Circuit().Append(std::move(pipe));
        }
    }
    void PriceSteel100(double price, double hours) {
        Project().Tables.PipeListPrice[kBore100][pmSteel] = price;
        Project().Tables.PipeLabourTime[kBore100][pmSteel] = hours;
    }
    // Runs `inside` once the next modal window has opened.
    void WhenModal(std::function<void()> inside) { QTimer::singleShot(0, this, std::move(inside)); }

    static void Save(QWidget* w, const char* name) {
        QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        if (!dir.isEmpty()) QVERIFY(w->grab().save(QDir(QString::fromUtf8(dir)).filePath(name)));
    }

private slots:
    void initTestCase() {
        SetUpHome();
        SetMoneyFormat(MoneyFormat{"$", 2, true, false, false});
        QVERIFY(QDir().mkpath(QString::fromStdString(DataFolder())));
    }

    void init() {
        Project().Tables.RestoreBuiltIn();
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        QFile::remove(Path("config/Quellstrand/darvenix.ini")); // each case starts without settings
        SetAppSettings(SettingsStore(Path("config/Quellstrand/darvenix.ini").toStdString()));
        for (const char* f : {"SteelPipe.ini", "GalvIronPipe.ini", "DrawnTubePipe.ini", "PipeFittings.ini"})
            QFile::remove(DataFile(f));
        messages_.clear();
        answers_.clear();
        window_ = std::make_unique<TMainForm>(Project());
        W().show();
    }

    void cleanup() {
        W().Circuit().Saved = true; // no question on close
        window_.reset();
    }

    // ------------------------------------------------------------ editors

    void costEditorLayout() {
        TCostForm* form = W().CostForm();
        QCOMPARE(form->windowTitle(), QString("Pipe and Fitting Costs"));
        Project().Tables.PipeListPrice[0][2] = 4.5;
        Project().Tables.LabourRate = 120;
        form->show();
        TCostGrid* pipes = form->PipeGrid();
        QCOMPARE(form->Tabs()->tabText(0), QString("Straight Pipe"));
        QCOMPARE(form->Tabs()->tabText(1), QString("Fittings"));
        QCOMPARE(pipes->Cell(1, 0), QString("Shed40"));
        QCOMPARE(pipes->Cell(2, 0), QString("GI Pipe"));
        QCOMPARE(pipes->Cell(3, 0), QString("Tube"));
        QCOMPARE(pipes->Cell(0, 1), QString("750"));
        QCOMPARE(pipes->Cell(3, 1), QString("4.50"));
        QCOMPARE(pipes->Cell(1, 20), QString("-1.00"));
        QCOMPARE(pipes->columnWidth(0), 55);
        QVERIFY(form->FittingGrid()->verticalHeader()->width() >= 120);
        QCOMPARE(form->LabourRateEdit()->text(), QString("120.00"));
        QCOMPARE(form->PerHourLabel()->text(), QString("$ per hour"));
        QVERIFY(!form->Modified());
        Save(form, "cost_editor.png");
        form->FittingGrid()->scrollToBottom();
        form->Tabs()->setCurrentIndex(1);
        Save(form, "cost_editor_fittings.png");
        form->Tabs()->setCurrentIndex(0);
        form->CloseClick();
        QVERIFY(messages_.empty());
        QVERIFY(!form->isVisible());
    }

    void savedGiPipePriceReachesTableAndFile() {
        TCostForm* form = W().CostForm();
        form->show();
        TypeInto(form->PipeGrid(), 2, 12, "12.5");
        QCOMPARE(form->PipeGrid()->Cell(2, 12), QString("12.50"));
        QVERIFY(form->Modified());
        QVERIFY(form->SaveClick());
        QVERIFY(!form->Modified());
        QCOMPARE(Project().Tables.PipeListPrice[kBore100][pmGalvIron], 12.5);
        QCOMPARE(Project().Tables.PipeListPrice[kBore100][pmSteel], -1.0);
        TIniFile galv(DataFile("GalvIronPipe.ini").toStdString());
        QCOMPARE(QString::fromStdString(galv.ReadString("100", "ListPrice", "")), QString("12.5"));
        QVERIFY(QFile::exists(DataFile("PipeFittings.ini")));
        form->CloseClick();
        QVERIFY(messages_.empty());
    }

    void lastFittingTypeEditableInRow24() {
        TCostForm* form = W().CostForm();
        form->show();
        form->Tabs()->setCurrentIndex(1);
        TCostGrid* grid = form->FittingGrid();
        QCOMPARE(grid->Cell(0, 24),
                 QString::fromStdString(Project().Tables.FittingTable[23].FittingName));
        QCOMPARE(grid->Cell(20, 0), QString("15"));
        TypeInto(grid, 20, 24, "3.25");
        grid->scrollToItem(grid->item(23, 19));
        QVERIFY(grid->viewport()->rect().contains(grid->visualItemRect(grid->item(23, 19))));
        QVERIFY(form->SaveClick());
        QCOMPARE(Project().Tables.FittingPrice[23][19], 3.25);
        form->CloseClick();
    }

    // Keys typed straight after a click on the current cell of either grid
    // reach the cell, however quickly they follow the click.
    void typingRightAfterAClickOnTheCurrentCell() {
        TCostForm* form = W().CostForm();
        form->show();
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        for (int tab : {0, 1}) {
            form->Tabs()->setCurrentIndex(tab);
            TCostGrid* grid = tab == 0 ? form->PipeGrid() : form->FittingGrid();
            grid->GoTo(2, 3);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(2, 1)).center());
            QTest::keyClicks(QApplication::focusWidget(), "12.5");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTRY_VERIFY(grid->indexWidget(grid->currentIndex()) == nullptr);
            QCOMPARE(grid->Cell(2, 3), QString("12.50"));
        }
        QVERIFY(form->Modified());
        answers_ = {QMessageBox::No};
        form->CloseClick();
    }

    void closeAfterChangeAnsweredNoLeavesTheTables() {
        TCostForm* form = W().CostForm();
        form->show();
        TypeInto(form->PipeGrid(), 1, 1, "99");
        answers_ = {QMessageBox::No};
        form->CloseClick();
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].kind, MsgKind::Confirmation);
        QCOMPARE(messages_[0].text, QString("Not Saved\nSave now?"));
        QVERIFY(!form->isVisible());
        QCOMPARE(Project().Tables.PipeListPrice[0][pmSteel], -1.0);
        QVERIFY(!QFile::exists(DataFile("SteelPipe.ini")));
        form->show(); // the next opening shows the old value
        QCOMPARE(form->PipeGrid()->Cell(1, 1), QString("-1.00"));
        QVERIFY(!form->Modified());
        form->CloseClick();
    }

    void closeAfterChangeAnsweredYesSaves() {
        TLabourForm* form = W().LabourForm();
        form->show();
        TypeInto(form->PipeGrid(), 3, 20, "0.75");
        answers_ = {QMessageBox::Yes};
        form->CloseClick();
        QVERIFY(!form->isVisible());
        QCOMPARE(Project().Tables.PipeLabourTime[19][pmDrawnTube], 0.75);
        TIniFile tube(DataFile("DrawnTubePipe.ini").toStdString());
        QCOMPARE(QString::fromStdString(tube.ReadString("15", "LabourTime", "")), QString("0.75"));
    }

    void badCellStopsTheSaveAndNothingIsWritten() {
        TCostForm* form = W().CostForm();
        form->show();
        for (int r = 1; r < 21; ++r) form->PipeGrid()->SetCell(1, r, "2.00");
        form->PipeGrid()->SetCell(2, 3, "abc"); // a cell that does not hold a number
        form->Tabs()->setCurrentIndex(1);
        QVERIFY(form->Modified());
        QVERIFY(!form->SaveClick());
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].kind, MsgKind::Error);
        QVERIFY(messages_[0].text.contains("abc"));
        QVERIFY(form->Modified());
        QCOMPARE(form->Tabs()->currentIndex(), 0);
        QCOMPARE(form->PipeGrid()->currentRow(), 2); // grid row 3
        QCOMPARE(form->PipeGrid()->currentColumn(), 1); // grid column 2
        QCOMPARE(Project().Tables.PipeListPrice[19][pmSteel], 2.0); // read before the bad cell
        QCOMPARE(Project().Tables.PipeListPrice[2][pmGalvIron], -1.0);
        QVERIFY(!QFile::exists(DataFile("SteelPipe.ini")));

        // Asked to save on Close, a failed save keeps the window and its cells.
        messages_.clear();
        answers_ = {QMessageBox::Yes};
        form->CloseClick();
        QCOMPARE(messages_.size(), size_t(2));
        QVERIFY(form->isVisible());
        QCOMPARE(form->PipeGrid()->Cell(2, 3), QString("abc"));
        answers_ = {QMessageBox::No};
        form->CloseClick();
        QVERIFY(!form->isVisible());
    }

    void labourEditorLabelFollowsTheTab() {
        TLabourForm* form = W().LabourForm();
        QCOMPARE(form->windowTitle(), QString("Labour Rate Editor"));
        Project().Tables.PipeLabourTime[5][pmSteel] = 1.2;
        Project().Tables.FittingLabour[3][4] = 0.4;
        form->show();
        QCOMPARE(form->TableLabel()->text(), QString("Straight Pipe Labour Rate, Hours/Meter"));
        QCOMPARE(form->TableLabel()->palette().color(QPalette::WindowText), QColor(128, 0, 0));
        QCOMPARE(form->PipeGrid()->Cell(1, 6), QString("1.20"));
        QCOMPARE(form->FittingGrid()->Cell(5, 4), QString("0.40"));
        Save(form, "labour_editor.png");
        form->Tabs()->setCurrentIndex(1);
        QCOMPARE(form->TableLabel()->text(), QString("Fittings Labour Rate, Hours/Item"));
        Save(form, "labour_editor_fittings.png");
        form->CloseClick();
        form->show(); // opens again on the tab left, with its label
        QCOMPARE(form->TableLabel()->text(), QString("Fittings Labour Rate, Hours/Item"));
        form->CloseClick();
    }

    void menuEntriesOpenTheEditorsModally() {
        bool costShown = false, labourShown = false;
        WhenModal([&] {
            costShown = QApplication::activeModalWidget() == W().CostForm();
            W().CostForm()->CloseClick();
        });
        W().Action("actionDatabaseCost")->trigger();
        WhenModal([&] {
            labourShown = QApplication::activeModalWidget() == W().LabourForm();
            W().LabourForm()->CloseClick();
        });
        W().Action("actionDatabaseLabour")->trigger();
        QVERIFY(costShown);
        QVERIFY(labourShown);
    }

    void labourCostUsedByNextEstimateAndStoredAtExit() {
        PriceSteel100(50, 0.6);
        AddTwoSteelPipes();
        TCostForm* form = W().CostForm();
        form->show();
        TFmtEdit* rate = form->LabourRateEdit();
        rate->setFocus();
        rate->selectAll();
        QTest::keyClicks(rate, "250");
        QVERIFY(form->Modified());
        QVERIFY(form->SaveClick());
        form->CloseClick();
        QCOMPARE(Project().Tables.LabourRate, 250.0);
        QCOMPARE(AppSettings().Read(settings::LabourRate), 100.0); // only at exit

        QString status;
        WhenModal([&] {
            status = W().PriceForm()->StatusText();
            W().PriceForm()->CloseClick();
        });
        W().Action("actionCalcPriceEstimate")->trigger();
        QCOMPARE(status, QString("Total System Price = $4,000.00  (12 hrs)"));

        W().close();
        QCOMPARE(AppSettings().Read(settings::LabourRate), 250.0);
    }

    // -------------------------------------------------------- price window

    void priceCommandShowsTheGroupsAndTotal() {
        PriceSteel100(50, 0.6);
        Project().Tables.LabourRate = 100;
        AddTwoSteelPipes();
        auto fitting = std::make_unique<TFitting>(Project(), 23);
        fitting->SetBore(Project(), kBore100);
        fitting->Quantity = 2;
        fitting->Flow = 0.01;
        Project().Tables.FittingPrice[23][kBore100] = 5;
        Project().Tables.FittingLabour[23][kBore100] = 0;
        W().Circuit().Append(std::move(fitting));
        auto user = std::make_unique<TUser>(Project());
        user->PressureDrop = 1000;
        user->Flow = 0.01;
        W().Circuit().Append(std::move(user));

        TPriceForm* price = W().PriceForm();
        QStringList pipes, small, user_, headers;
        QString status;
        WhenModal([&] {
            QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(price));
            for (int c = 0; c < 3; ++c) {
                pipes << price->Cell(pgPipes, c);
                small << price->Cell(pgSmallFittings, c);
                user_ << price->Cell(pgUser, c);
                headers << price->List()->horizontalHeaderItem(c)->text();
            }
            status = price->StatusText();
            Save(price, "price_window.png");
            price->CloseClick();
        });
        W().Action("actionCalcPriceEstimate")->trigger();
        QCOMPARE(W().StatusPanel(1)->text(), QString("Solved")); // calculated first
        QCOMPARE(headers, QStringList({"Description", "Material ($)", "Labour (hrs)"}));
        QCOMPARE(pipes, QStringList({"Pipes", "1000.00", "12.00"}));
        QCOMPARE(small, QStringList({"Small Fittings", "10.00", "0.00"}));
        QCOMPARE(user_, QStringList({"User", "0.00", "0.00"}));
        QCOMPARE(status, QString("Total System Price = $2,210.00  (12 hrs)"));
        QVERIFY(messages_.empty());
        QCOMPARE(price->List()->rowCount(), 8);
        QVERIFY(price->Explanation()->toPlainText().startsWith("The calculated price is an estimate only, based on\n"));
        QVERIFY(price->Explanation()->isReadOnly());
    }

    void priceCommandRefusesAnIncompleteDatabase() {
        AddTwoSteelPipes(); // no prices entered
        bool opened = false;
        WhenModal([&] {
            if (QApplication::activeModalWidget() == W().PriceForm()) {
                opened = true;
                W().PriceForm()->CloseClick();
            }
        });
        W().Action("actionCalcPriceEstimate")->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].kind, MsgKind::Plain);
        QCOMPARE(messages_[0].text,
                 QString("The price database is incomplete.\n\rPipe  100 dia\n\rUpdate and retry..."));
    }

    void itemOutsideTheTablesIsReportedNotPriced() {
        PriceSteel100(50, 0.6);
        AddTwoSteelPipes();
        auto stray = std::make_unique<TFitting>(Project(), 0);
        stray->SetBore(Project(), kBore100);
        stray->Quantity = 1;
        stray->Flow = 0.01;
        stray->FittingType = 40; // as a damaged project could bring it
        W().Circuit().Append(std::move(stray));
        bool opened = false;
        WhenModal([&] {
            if (QApplication::activeModalWidget() == W().PriceForm()) {
                opened = true;
                W().PriceForm()->CloseClick();
            }
        });
        W().Action("actionCalcPriceEstimate")->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        // The calculation fails on the item first, then the estimate.
        QCOMPARE(messages_.size(), size_t(2));
        QCOMPARE(messages_[0].text, QString("Pressure drop error.\nCheck your data..."));
        QCOMPARE(messages_[1].kind, MsgKind::Error);
    }

    void reportWaitsForReCalcAfterTheEditors() {
        PriceSteel100(50, 0.6);
        AddTwoSteelPipes();
        std::string message;
        QVERIFY(W().Circuit().Estimate(Project(), message));
        TPriceForm* price = W().PriceForm();
        int reports = 0;
        auto previousHook = price->ReportHook;
        price->ReportHook = [&] { ++reports; };
        price->SetCircuit(&W().Circuit());
        price->show();
        QVERIFY(price->Valid());
        price->ReportClick();
        QCOMPARE(reports, 1);

        WhenModal([&] { W().CostForm()->CloseClick(); });
        price->MaterialClick();
        QCOMPARE(price->StatusText(), QString("Cost database has been changed..."));
        QVERIFY(!price->Valid());
        price->ReportClick();
        QCOMPARE(reports, 1);

        price->ReCalcClick();
        QVERIFY(price->Valid());
        QCOMPARE(price->StatusText(), QString("Total System Price = $2,200.00  (12 hrs)"));
        price->ReportClick();
        QCOMPARE(reports, 2);

        WhenModal([&] { W().LabourForm()->CloseClick(); });
        price->LabourClick();
        QCOMPARE(price->StatusText(), QString("Labour rates have been changed..."));
        price->ReportClick();
        QCOMPARE(reports, 2);
        price->ReportHook = previousHook;
        price->CloseClick();
    }

    void reCalcWithAMissingPriceKeepsTheFigures() {
        PriceSteel100(50, 0.6);
        AddTwoSteelPipes();
        std::string message;
        QVERIFY(W().Circuit().Estimate(Project(), message));
        TPriceForm* price = W().PriceForm();
        price->SetCircuit(&W().Circuit());
        price->show();
        PriceSteel100(-1, 0.6);
        price->ReCalcClick();
        QCOMPARE(messages_.size(), size_t(1));
        QCOMPARE(messages_[0].text,
                 QString("The price database is incomplete.\n\rPipe  100 dia\n\rUpdate and retry..."));
        QCOMPARE(price->Cell(pgPipes, 1), QString("1000.00"));
        QCOMPARE(price->Cell(pgPipes, 2), QString("12.00"));
        QCOMPARE(price->StatusText(), QString("Total System Price = $2,200.00  (12 hrs)"));
        price->CloseClick();
    }

    void reportShowsThePriceSummaryInThePreview() {
        PriceSteel100(50, 0.6);
        AddTwoSteelPipes();
        W().Circuit().Heading1 = "Riverside Offices";
        W().Circuit().Heading2 = "Chilled water";
        std::string message;
        QVERIFY(W().Circuit().Estimate(Project(), message));
        // Letterhead and logo from the data folder.
        QFile letterhead(DataFile("Letterhead.txt"));
        QVERIFY(letterhead.open(QIODevice::WriteOnly));
        letterhead.write("Quellstrand Engineering\r\n12 Harbour Lane\r\nTel 0123 456 789\r\n");
        letterhead.close();
        QImage logo(120, 60, QImage::Format_RGB32);
        logo.fill(QColor(30, 80, 160));
        WriteStackedGif(DataFile("ReportLogo.gif").toStdString(), logo.width(), logo.height(), 1,
                        [&](int) { return logo; });

        TPriceForm* price = W().PriceForm();
        price->SetCircuit(&W().Circuit());
        price->show();
        TPreviewForm* preview = price->Preview();
        preview->Seams().printerInstalled = [] { return false; };
        int pages = 0;
        QImage page;
        QStringList texts;
        WhenModal([&] {
            pages = preview->PageCount();
            if (pages > 0) {
                page = preview->Pages().Render(0);
                for (const auto& t : test::PageTexts(preview->Pages().Page(0), page.width(), page.height()))
                    texts << t.text;
            }
            preview->reject();
        });
        price->ReportClick();
        QCOMPARE(pages, 1);
        QVERIFY(texts.contains("Price Estimate Summary"));
        QVERIFY(texts.contains("Quellstrand Engineering"));
        QVERIFY(texts.contains("Riverside Offices"));
        QVERIFY(texts.contains("Materials ($)"));
        QVERIFY(texts.contains("1000.00"));
        QVERIFY(texts.contains("Total Price = $2,200.00  (12 hrs)"));
        QCOMPARE(preview->Engine().ActiveLines()[mlX2], true);
        QCOMPARE(preview->Engine().ActiveLines()[mlX3], false);
        QCOMPARE(PriceReportStyle().defaults[mlX1], 8.0);
        QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        if (!dir.isEmpty()) QVERIFY(page.save(QDir(QString::fromUtf8(dir)).filePath("price_report.png")));
        price->CloseClick();
    }

    void priceWindowKeepsItsPlacement() {
        TPriceForm* price = W().PriceForm();
        price->SetCircuit(&W().Circuit());
        price->show();
        price->resize(520, 360);
        price->CloseClick();
        TIniFile store(Path("config/Quellstrand/darvenix.ini").toStdString());
        QCOMPARE(store.ReadInteger("PriceForm", "Width", 0), 520);
        TPriceForm again(Project());
        QCOMPARE(again.width(), 520);
    }
};

QTEST_MAIN(CostTest)
#include "tst_cost.moc"
