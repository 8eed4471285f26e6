// SPDX-License-Identifier: GPL-3.0-or-later
// The windows on a small screen: every frame inside the usable area (also
// from a remembered placement larger than the screen), the preview's page
// labels, the preview and the PDF holding the same rows on each page, and
// the grid's "#" column wide enough for five digits.
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
#include "desktop/windows/SummaryForm.h"
#include "desktop/windows/Warnings.h"
#include "desktop/report/PropertiesDlg.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
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
            auto pipe = std::make_unique<TPipe>();
            pipe->Number = i + 1;
            pipe->Description = "Riser " + std::to_string(i + 1);
            pipe->Flow = 0.0005 * (i % 40 + 1);
            pipe->Length = 3 + i % 7;
            pipe->SetBore(BoreForFlow(pipe->Flow * 1000));
            c.Append(std::move(pipe));
        }
        c.Calculate(false);
        c.Solved = true;
    }

    // The circuit report in the preview, shown without its modal loop.
    TPreviewForm& ShowReport() {
        TPreviewForm& form = *W().ReportPreview();
        form.Seams().printerInstalled = [] { return false; };
        PrepareGridReport(form, GridReport());
        FillCircuitReport(GridReport().Setup(), W().Circuit(), false, true, SystemFluid);
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
        StartFluidModule(9.0);
        // Placements remembered on a larger screen.
        for (const char* section : {"MainForm", "PreviewForm", "FittingsForm", "InsertForm"})
            SavePlacement(Store(), section, TWindowPlacement{600, 500, 1500, 1100, 0});
        window_ = std::make_unique<TMainForm>();
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
        window_ = std::make_unique<TMainForm>();
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
