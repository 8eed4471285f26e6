// SPDX-License-Identifier: GPL-3.0-or-later
// The windows on a small screen: every frame inside the usable area (also
// from a remembered placement larger than the screen), windows reopening
// where they were closed, the first start's size, the pump window beside the
// main window, the preview's page labels, the preview and the PDF holding
// the same rows on each page, and the grid's "#" column wide enough for five
// digits.
//
// The screen comes from DARVENIX_TEST_SCREEN ("1280x800" when unset); the
// offscreen platform is given one screen of that size, with window frames.

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "presentation/report/CircuitReport.h"
#include "presentation/report/GridReport.h"
#include "desktop/report/CircuitReportPreview.h"
#include "desktop/report/PreviewWindow.h"
#include "storage/settings/Placement.h"
#include "storage/settings/SettingsStore.h"
#include "storage/settings/SettingsKeys.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/CostForm.h"
#include "desktop/windows/DefaultFlowForm.h"
#include "desktop/windows/DefaultsForm.h"
#include "desktop/windows/FittingsForm.h"
#include "desktop/windows/FluidSpecForm.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/ConfirmChangeDlg.h"
#include "desktop/windows/LabourForm.h"
#include "desktop/windows/LimitsForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/windows/PipeSpecForm.h"
#include "desktop/windows/PriceForm.h"
#include "desktop/windows/PumpCurveForm.h"
#include "desktop/windows/SummaryForm.h"
#include "desktop/windows/Warnings.h"
#include "desktop/report/PropertiesDlg.h"
#include "desktop/widgets/ScreenFit.h"
#include "desktop/widgets/WindowPlacement.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QScrollBar>
#include <QScreen>
#include <QTableView>
#include <QDir>
#include <QPainter>
#include <QLabel>
#include <QAction>
#include <QDockWidget>
#include <QPushButton>
#include <QtTest>

#include "ui/DialogTestSupport.h"

using namespace dvx;
using namespace dvx::ui;

class ScreensTest : public test::DialogTestBase {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> window_;
    TMainForm& W() { return *window_; }

    QRect Area() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
    // Where a window (with its frame) or a widget inside one is on the screen.
    static QRect GlobalRect(const QWidget* w) {
        return w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    }
    static bool DutyFound(const TPumpCurveForm& pump) { return pump.Analysis().Duty && pump.Analysis().Duty->Found; }

    void ExpectInside(QWidget* window, const char* name) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QApplication::processEvents();
        const QRect frame = window->frameGeometry();
        QVERIFY2(Area().contains(frame), qPrintable(QString("%1: frame %2,%3 %4x%5 outside the screen %6x%7")
                                                        .arg(name).arg(frame.x()).arg(frame.y())
                                                        .arg(frame.width()).arg(frame.height())
                                                        .arg(Area().width()).arg(Area().height())));
        window->hide();
    }

    void Fill(int items) {
        TCircuit& c = W().Circuit();
        while (c.Count() > 0) c.Remove(0);
        for (int i = 0; i < items; ++i) {
            auto pipe = std::make_unique<TPipe>(Project());
            pipe->Number = i + 1;
            pipe->Description = "Riser " + std::to_string(i + 1);
            pipe->Flow = 0.0005 * (i % 40 + 1);
            pipe->Length = 3 + i % 7;
            pipe->SetBore(Project(), BoreForFlow(Project().Tables, pipe->Flow * 1000));
            c.Append(std::move(pipe));
        }
        c.Calculate(Project(), false);
        c.Solved = true;
    }

    // The circuit report in the preview, shown without its modal loop.
    TPreviewForm& ShowReport() {
        TPreviewForm& form = *W().ReportPreview();
        form.Seams().printerInstalled = [] { return false; };
        PrepareGridReport(form, GridReport());
        FillCircuitReport(GridReport().Setup(), W().Circuit(), Project(), false, true, Project().Liquid);
        form.show();
        return form;
    }

    // The first item number of each page, from the page of each row.
    static QList<int> PageStarts(const std::vector<int>& rowPages) {
        QList<int> starts;
        for (std::size_t row = 0; row < rowPages.size(); ++row)
            if (row == 0 || rowPages[row] != rowPages[row - 1]) starts << static_cast<int>(row) + 1;
        return starts;
    }

private slots:
    void initTestCase() { SetUpHome(); }

    void init() {
        FreshStart("screens.ini");
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        // Placements remembered on a larger screen.
        for (const char* section : {"MainForm", "PreviewForm", "FittingsForm", "InsertForm"})
            SavePlacement(Store(), section, TWindowPlacement{600, 500, 1500, 1100, 0});
        window_ = std::make_unique<TMainForm>(Project());
    }

    void cleanup() {
        W().Circuit().Saved = true;
        window_.reset();
    }

    void everyWindowOpensInsideTheScreen() {
        ExpectInside(&W(), "main window");
        ExpectInside(W().ReportPreview(), "report preview");
        ExpectInside(W().FittingsForm(), "fittings editor");
        ExpectInside(W().DefaultFlowForm(), "default flows");
        ExpectInside(W().PipeSpecForm(), "pipe roughness");
        ExpectInside(W().LimitsForm(), "warning limits");
        ExpectInside(W().DefaultsForm(), "defaults");
        ExpectInside(W().InsertForm(), "insert");
        ExpectInside(W().WarningsForm(), "warnings");
        ExpectInside(W().SummaryForm(), "summary");
        ExpectInside(W().PropertiesForm(), "project details");
        ExpectInside(W().FluidSpecForm(), "fluid specification");
        ExpectInside(W().CostForm(), "cost database");
        ExpectInside(W().LabourForm(), "labour rates");
        ExpectInside(W().PriceForm(), "price estimate");
        TConfirmChangeDlg notice;
        ExpectInside(&notice, "install notice");
    }

    // A window closed at a place opens there again, its frame where it was
    // and its inside the same size, whatever frame surrounds it.
    void windowsReopenWhereTheyWereClosed_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("sizeKept"); // a dialog of fixed design keeps only its place
        for (const char* name : {"main window", "insert", "pump", "report preview", "warnings"})
            QTest::newRow(name) << QString(name) << true;
        QTest::newRow("project details") << QString("project details") << false;
    }
    void windowsReopenWhereTheyWereClosed() {
        QFETCH(QString, window);
        QFETCH(bool, sizeKept);
        auto find = [&]() -> QWidget* {
            if (window == "main window") return &W();
            if (window == "insert") return W().InsertForm();
            if (window == "pump") return W().PumpForm();
            if (window == "report preview") return W().ReportPreview();
            if (window == "project details") return W().PropertiesForm();
            return W().WarningsForm();
        };
        QWidget* before = find();
        before->show();
        QVERIFY(QTest::qWaitForWindowExposed(before));
        before->resize(500, 380);
        before->move(Area().left() + 70, Area().top() + 60);
        QTRY_COMPARE(before->frameGeometry().topLeft(), QPoint(Area().left() + 70, Area().top() + 60));
        QVERIFY(before->frameGeometry() != before->geometry()); // the screen draws frames
        const QRect frame = before->frameGeometry();
        const QSize inside = before->size();
        before->close();
        if (before != &W()) W().close(); // the main window remembers the others' places as it closes
        window_ = std::make_unique<TMainForm>(Project());
        QWidget* after = find();
        after->show();
        QVERIFY(QTest::qWaitForWindowExposed(after));
        QTRY_COMPARE(after->frameGeometry().topLeft(), frame.topLeft());
        if (sizeKept) QCOMPARE(after->size(), inside);
    }

    // The first start opens wide enough for every column the grid shows,
    // result columns included, as far as the screen allows.
    void firstStartShowsEveryColumn() {
        Store().EraseSection("MainForm");
        Store().Write(settings::ExtraColumns, (1 << ExtraColumnCount) - 1);
        window_ = std::make_unique<TMainForm>(Project());
        W().show();
        QVERIFY(QTest::qWaitForWindowExposed(&W()));
        QApplication::processEvents();
        const QRect frame = W().frameGeometry();
        QVERIFY(Area().contains(frame));
        const bool screenIsFull = frame.width() >= Area().width() - 1;
        QVERIFY2(screenIsFull || !W().Grid()->horizontalScrollBar()->isVisible(),
                 qPrintable(QString("%1 px wide, columns %2 px").arg(W().width()).arg(W().Grid()->horizontalHeader()->length())));
        if (Area().width() >= 1280) QVERIFY(!W().Grid()->horizontalScrollBar()->isVisible());
        // The size the user leaves is the one the next start takes.
        W().resize(640, 480);
        W().close();
        window_ = std::make_unique<TMainForm>(Project());
        QCOMPARE(W().size(), QSize(640, 480));
    }

    // The pump window's first opening is beside the main window where the
    // screen has room, else as little over it as its size allows.
    void pumpWindowOpensBesideTheMainWindow() {
        Store().EraseSection("PumpCurveForm");
        W().show();
        W().resize(560, 500);
        W().move(Area().topLeft());
        QTRY_COMPARE(W().frameGeometry().topLeft(), Area().topLeft());
        W().Action("actionCalcPump")->trigger();
        TPumpCurveForm* pump = W().PumpForm();
        QVERIFY(QTest::qWaitForWindowExposed(pump));
        QApplication::processEvents();
        // Beside it where there is room, against the screen's edge over a strip
        // of it where there is some, else docked at its bottom, off the grid.
        QVERIFY(Area().contains(GlobalRect(pump)));
        const int room = Area().right() - W().frameGeometry().right();
        if (!pump->isWindow()) {
            QVERIFY(W().PumpDock() != nullptr && W().PumpDock()->isVisible());
            QVERIFY(!GlobalRect(pump).intersects(GlobalRect(W().Grid())));
        } else if (room >= pump->frameGeometry().width()) {
            QVERIFY(!pump->frameGeometry().intersects(W().frameGeometry()));
        } else {
            QCOMPARE(pump->frameGeometry().right(), Area().right());
        }
    }

    // Docked and undocked at the user's word; the choice holds for the next run.
    void pumpWindowDocksAndStandsAloneAgain() {
        Store().EraseSection("PumpCurveForm");
        W().show();
        W().resize(400, 400);
        W().move(Area().topLeft());
        QTRY_COMPARE(W().frameGeometry().topLeft(), Area().topLeft());
        W().Action("actionCalcPump")->trigger();
        TPumpCurveForm* pump = W().PumpForm();
        auto* dock = pump->findChild<QPushButton*>("dock");
        QVERIFY(dock != nullptr && dock->isVisible());
        if (!pump->isWindow()) { // no room beside on this screen
            QTest::mouseClick(dock, Qt::LeftButton);
            QVERIFY(pump->isWindow());
            QVERIFY(pump->isVisible());
        }
        QTest::mouseClick(dock, Qt::LeftButton);
        QVERIFY(!pump->isWindow());
        QVERIFY(W().PumpDock()->isVisible() && pump->isVisible());
        QVERIFY(Area().contains(W().frameGeometry()));
        QVERIFY(!GlobalRect(pump).intersects(GlobalRect(W().Grid())));
        W().close();
        window_ = std::make_unique<TMainForm>(Project());
        W().show();
        W().Action("actionCalcPump")->trigger();
        QVERIFY(!W().PumpForm()->isWindow()); // docked again
        QTest::mouseClick(W().PumpForm()->findChild<QPushButton*>("dock"), Qt::LeftButton);
        QVERIFY(W().PumpForm()->isWindow());
        QVERIFY(W().PumpForm()->isVisible());
        QVERIFY(!W().PumpDock()->isVisible());
        QVERIFY(Area().contains(W().PumpForm()->frameGeometry()));
    }

    // The chilled-water example as an engineer first sees it on this screen:
    // the main window with every result column, calculated, and the pump
    // window beside it, both whole on the screen. With
    // DARVENIX_SCREENSHOT_DIR set, the screen is saved as a picture.
    void exampleWithResultColumnsAndThePumpWindow() {
        Store().EraseSection("MainForm");
        Store().EraseSection("PumpCurveForm");
        Store().Write(settings::ExtraColumns, (1 << ExtraColumnCount) - 1);
        window_ = std::make_unique<TMainForm>(Project());
        W().show();
        QVERIFY(QTest::qWaitForWindowExposed(&W()));
        QVERIFY(W().OpenFile(DARVENIX_SOURCE_DIR "/examples/chilled-water.dvx"));
        W().CalcBtnClick();
        QCOMPARE(W().StatusPanel(1)->text(), QString("Solved"));
        W().Action("actionCalcPump")->trigger();
        TPumpCurveForm* pump = W().PumpForm();
        QVERIFY(QTest::qWaitForWindowExposed(pump));
        QApplication::processEvents();
        QVERIFY(Area().contains(W().frameGeometry()));
        QVERIFY(Area().contains(GlobalRect(pump)));
        QVERIFY(!GlobalRect(pump).intersects(GlobalRect(W().Grid()))); // the result columns stay in sight
        QVERIFY(DutyFound(*pump));
        QCOMPARE(W().windowTitle(), QString("chilled-water.dvx[*] — Darvenix"));
        const QByteArray dir = qgetenv("DARVENIX_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        // The screen: each window's inside where it is, in its frame, the
        // pump window on top as it opens.
        QImage screen(QGuiApplication::primaryScreen()->geometry().size(), QImage::Format_RGB32);
        screen.fill(QColor(0x5a, 0x6e, 0x7f));
        QPainter painter(&screen);
        for (QWidget* window : {static_cast<QWidget*>(&W()), static_cast<QWidget*>(pump)}) {
            if (!window->isWindow()) continue; // docked: pictured with the main window
            painter.fillRect(window->frameGeometry(), QColor(0x3c, 0x3f, 0x41));
            painter.drawPixmap(window->geometry().topLeft(), window->grab());
        }
        painter.end();
        const QString name = QString("desk-%1x%2.png").arg(screen.width()).arg(screen.height());
        QVERIFY(screen.save(QDir(QString::fromLocal8Bit(dir)).filePath(name)));
    }

    // Where a second window goes beside a first one (inside rectangles;
    // frames of 4 px around and a 28 px title bar).
    void besideGeometry_data() {
        QTest::addColumn<QRect>("first");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QRect>("expected");
        // A 1280 × 800 area; the second window is at least 300 × 200.
        QTest::newRow("room on the right") << QRect(0, 0, 600, 500) << QSize(600, 500) << QRect(604, 28, 600, 500);
        QTest::newRow("right, narrowed to the room") << QRect(0, 0, 800, 500) << QSize(600, 500) << QRect(804, 28, 472, 500);
        QTest::newRow("room only on the left") << QRect(700, 100, 580, 500) << QSize(600, 500) << QRect(96, 128, 600, 500);
        QTest::newRow("no room: at the right edge") << QRect(100, 0, 1000, 500) << QSize(600, 500) << QRect(976, 28, 300, 500);
        QTest::newRow("taller than the area") << QRect(0, 0, 600, 500) << QSize(600, 1000) << QRect(604, 28, 600, 768);
    }
    void besideGeometry() {
        QFETCH(QRect, first);
        QFETCH(QSize, wanted);
        QFETCH(QRect, expected);
        const QMargins frame(4, 28, 4, 4);
        const QRect placed = BesideGeometry(first, wanted, QSize(300, 200), frame, QRect(0, 0, 1280, 800));
        QCOMPARE(placed, expected);
        QVERIFY(QRect(0, 0, 1280, 800).contains(placed.marginsAdded(frame)));
    }

    void gridColumnsFitFiveDigitsAndCaptionsAndKeepDraggedWidths() {
        W().show();
        W().SetGroupsActive(true);
        QHeaderView* header = W().Grid()->horizontalHeader();
        CircuitModel* model = W().Model();
        const QFontMetrics cells(W().Grid()->font());
        const QFontMetrics captions(header->font());
        QVERIFY(header->sectionSize(model->ViewColumnOf(gcNumber)) > cells.horizontalAdvance("10000") + 4);
        for (int column : {gcGroup, gcSize, gcQuantity, gcFlow, gcPressureDrop})
            QVERIFY2(header->sectionSize(model->ViewColumnOf(column)) >
                         captions.horizontalAdvance(QString::fromUtf8(GridColumns[static_cast<std::size_t>(column)].Title)) + 4,
                     GridColumns[static_cast<std::size_t>(column)].Title);
        // A width the user drags is kept, and only that one is stored.
        header->resizeSection(model->ViewColumnOf(gcDescription), 333);
        W().SaveSettings();
        QCOMPARE(QString::fromStdString(Store().Read(settings::GridCols)), QString("25, 333, 35, 35, 60, 50, 50, 55, 125"));
        window_ = std::make_unique<TMainForm>(Project());
        header = W().Grid()->horizontalHeader();
        QCOMPARE(header->sectionSize(W().Model()->ViewColumnOf(gcDescription)), 333);
        QVERIFY(header->sectionSize(W().Model()->ViewColumnOf(gcNumber)) > cells.horizontalAdvance("10000") + 4);
    }

    void catalogueEditorsShowEveryRow() {
        auto lastRowWhole = [](QTableView* table) {
            const QModelIndex last = table->model()->index(table->model()->rowCount() - 1, table->model()->columnCount() - 1);
            const QRect cell = table->visualRect(last);
            return table->viewport()->rect().contains(cell);
        };
        W().FittingsForm()->show();
        QVERIFY(QTest::qWaitForWindowExposed(W().FittingsForm()));
        QVERIFY(lastRowWhole(W().FittingsForm()->Grid()));
        W().FittingsForm()->hide();
        W().DefaultFlowForm()->show();
        QVERIFY(QTest::qWaitForWindowExposed(W().DefaultFlowForm()));
        QVERIFY(lastRowWhole(W().DefaultFlowForm()->findChild<QTableView*>()));
        W().DefaultFlowForm()->hide();
    }

    void previewLabelsItsPages() {
        W().show();
        Fill(150);
        TPreviewForm& form = ShowReport();
        QVERIFY(form.PageCount() >= 3);
        const QString count = QString::number(form.PageCount());
        QCOMPARE(form.StatusText(0), "Page 1 of " + count);
        form.NextPage();
        QCOMPARE(form.StatusText(0), "Page 2 of " + count);
        form.hide();
    }

    void previewAndPdfHoldTheSameRowsOnEachPage_data() {
        QTest::addColumn<int>("items");
        QTest::newRow("50") << 50;
        QTest::newRow("150") << 150;
        QTest::newRow("1000") << 1000;
    }

    void previewAndPdfHoldTheSameRowsOnEachPage() {
        QFETCH(int, items);
        Fill(items);
        TPreviewForm& form = ShowReport();
        const QList<int> preview = PageStarts(form.Engine().RowPages());
        QCOMPARE(static_cast<int>(form.Engine().RowPages().size()), items);
        QCOMPARE(preview.size(), form.PageCount());

        const QString pdf = Path(QString("rows%1.pdf").arg(items));
        form.Seams().saveFileName = [pdf](const QString&, const QString&, const QString&, const QString&) { return pdf; };
        form.WritePdf();
        QCOMPARE(PageStarts(form.Engine().RowPages()), preview);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(QString("/Count %1").arg(preview.size()).toLatin1()));
        form.hide();
    }
};

int main(int argc, char** argv) {
    // One screen of the size asked for, with frames around the windows.
    QByteArray size = qgetenv("DARVENIX_TEST_SCREEN");
    if (size.isEmpty()) size = "1280x800";
    const QList<QByteArray> wh = size.split('x');
    QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 2;
    file.write(QString("{\"windowFrameMargins\": true, \"screens\": [{\"name\": \"test\", \"x\": 0, \"y\": 0, "
                       "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                   .arg(QString::fromLatin1(wh.value(0)), QString::fromLatin1(wh.value(1)))
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    QApplication app(argc, argv);
    ScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screens.moc"
