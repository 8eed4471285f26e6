// SPDX-License-Identifier: GPL-3.0-or-later
// The pump window driven from the main window: points typed into the table,
// the duty point it reports, the plot following an edit and a recalculation
// in the main grid, the pump saved with the project, the plot exported, and
// the window's placement kept between runs.

#include "engine/catalogue/Tables.h"
#include "engine/units/UnitView.h"
#include "engine/fluid/Fluid.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/report/PropertiesDlg.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/MainWindow.h"
#include "desktop/windows/PumpCurveForm.h"
#include "desktop/widgets/FmtEdit.h"
#include "presentation/ui/LabelPlacement.h"
#include "presentation/ui/PumpSelectionFields.h"

#include <QAction>
#include <QCheckBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QXmlStreamReader>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <QGraphicsSimpleTextItem>
#include <QtTest>

#include <cmath>

#include "ui/DialogTestSupport.h"
#include "ui/MainWindowTestSupport.h"

using namespace dvx;
using namespace dvx::ui;

class PumpCurveFormTest : public test::DialogTestBase {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> window_;

    TMainForm& W() { return *window_; }
    TPumpCurveForm& P() { return *W().PumpForm(); }

    // Types into a cell of the point table through its formatted editor.
    void TypePoint(int row, int column, const QString& text) {
        QTableWidget* table = P().PointTable();
        const QModelIndex index = table->model()->index(row, column);
        table->setCurrentIndex(index);
        table->edit(index);
        auto* editor = qobject_cast<TFmtEdit*>(table->indexWidget(index));
        QVERIFY2(editor != nullptr, "no formatted editor in the point table");
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents(); // the table commits a cell from its event loop
    }

    void TypeGridCell(int row, int logicalColumn, const QString& text) {
        test::TypeIntoGridCell(W(), row, logicalColumn, text);
    }

    // The pump H = 20 − 0.25·Q² (m, Q in l/s), entered row by row.
    void EnterPump() {
        const char* rows[][2] = {{"0", "20"}, {"4", "16"}, {"8", "4"}};
        for (int r = 0; r < 3; ++r) {
            TypePoint(r, 0, rows[r][0]);
            TypePoint(r, 1, rows[r][1]);
        }
    }

    // The member of the selection's field texts an edit shows, by its name.
    static std::string TSelectionFields::*FieldOf(const QString& name) {
        if (name == "speed") return &TSelectionFields::Speed;
        if (name == "hours") return &TSelectionFields::Hours;
        return &TSelectionFields::SuctionItems;
    }

    // Flow (l/s) where the pump meets a circuit that needs dpKpa at 5 l/s
    // (a user item: head ∝ Q²), in water of density ro.
    static double ExpectedDutyFlow(double dpKpa, double ro) {
        const double k = dpKpa * 1000 / (ro * 9.80665) / 25; // m per (l/s)²
        return std::sqrt(20 / (0.25 + k));
    }

private slots:
    void initTestCase() { SetUpHome(); }

    void init() {
        FreshStart("darvenix-pump.ini");
        *dvx::test::TestProject().Liquid = dvx::TLiquid("Water", 0, 0.0, 9.0, 9.0);
        window_ = std::make_unique<TMainForm>(Project());
        W().show();
        // One user item of 50 kPa at 5 l/s, calculated.
        W().InsertForm()->FlowEdit()->setText("5.0");
        W().InsertForm()->UserDPEdit()->setText("50");
        QVERIFY(W().InsertForm()->AddUser());
        W().CalcBtnClick();
        QCOMPARE(W().Circuit().TotalDP, 50000.0);
        W().Action("actionCalcPump")->trigger();
        QVERIFY(P().isVisible());
        QCOMPARE(P().windowTitle(), QString("Pump & System Curve"));
        // These tests look at the window standing alone, at the size it opens at.
        if (!P().isWindow()) QTest::mouseClick(P().DockButton(), Qt::LeftButton);
        QVERIFY(P().isWindow());
    }

    void cleanup() {
        W().Circuit().Saved = true;
        window_.reset();
    }

    void enteredPointsGiveTheDutyPoint() {
        QCOMPARE(P().DutyLabel()->text(), QString("Duty point: none"));
        EnterPump();
        const TPumpAnalysis& a = P().Analysis();
        QVERIFY(a.Duty && a.Duty->Found);
        const double q = ExpectedDutyFlow(50, Project().Liquid->ro);
        QVERIFY2(std::fabs(a.Duty->Flow * 1000 - q) < 1e-6, qPrintable(QString::number(a.Duty->Flow * 1000)));
        const QString label = P().DutyLabel()->text();
        QVERIFY2(label.startsWith(QString("Duty point: %1 l/s, %2 m").arg(q, 0, 'g', 4).arg(20 - 0.25 * q * q, 0, 'g', 4)),
                 qPrintable(label));
        QVERIFY(label.contains(QString("%1 × design flow").arg(q / 5, 0, 'f', 3)));
        // The pump is the project's now, and the project is modified.
        QCOMPARE(W().Circuit().Pump.Points.size(), std::size_t{3});
        QCOMPARE(W().Circuit().Pump.Points[2].Flow, 0.008);
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
        QVERIFY(P().MessageLabel()->text().isEmpty());
        Screenshot(P(), "pump-curve");
    }

    void readingTheWindowBackChangesNoStoredValue() {
        // A pump from a file, with more digits than the window shows.
        TPumpSettings pump;
        pump.Points = {{0, 20.123456789, 0}, {0.0041234567, 16.0987654321, 0.61234567}, {0.008, 4.5, 0}};
        pump.Curve.StaticHead = 1.23456;
        pump.Curve.MaxRatio = 1.4444;
        W().Circuit().Pump = pump;
        W().SetSaved(true);
        P().SetCircuit(&W().Circuit());
        for (TFmtEdit* edit : {P().StaticHeadEdit(), P().CurvePointsEdit(), P().MaxRatioEdit()})
            emit edit->editingFinished(); // the focus passing through the fields
        QVERIFY(W().Circuit().Pump == pump);
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
        // Deleting the first row keeps the others exactly.
        P().PointTable()->setCurrentCell(0, 0);
        QTest::mouseClick(P().findChild<QPushButton*>("deleteRow"), Qt::LeftButton);
        QCOMPARE(W().Circuit().Pump.Points.size(), std::size_t{2});
        QVERIFY(W().Circuit().Pump.Points[0] == pump.Points[1]);
        QCOMPARE(W().Circuit().Pump.Curve.StaticHead, 1.23456);
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
    }

    void aBadCellIsNamedAndChangesNothing() {
        EnterPump();
        TypePoint(3, 2, "50");  // an efficiency without flow and head
        QCOMPARE(P().MessageLabel()->text(), QString("Row 4: the flow is not a number."));
        QCOMPARE(W().Circuit().Pump.Points.size(), std::size_t{3});
        QVERIFY(P().Analysis().Duty->Found); // the last good pump is still drawn
    }

    void followsEditsAndRecalculationInTheMainGrid() {
        EnterPump();
        const double before = P().Analysis().Duty->Flow;
        TypeGridCell(0, gcPressureDrop, "80");
        // Not solved: the window says so and draws no duty point.
        QVERIFY(!P().Analysis().Duty);
        QCOMPARE(P().MessageLabel()->text(), QString("Calculate the circuit first."));
        QCOMPARE(P().DutyLabel()->text(), QString("Duty point: none"));
        W().Action("actionCalcPressureDrop")->trigger();
        const TPumpAnalysis& a = P().Analysis();
        QVERIFY(a.Duty && a.Duty->Found);
        QVERIFY(a.Duty->Flow < before);
        QVERIFY(std::fabs(a.Duty->Flow * 1000 - ExpectedDutyFlow(80, Project().Liquid->ro)) < 1e-6);
        QVERIFY(std::fabs(a.Curve->Design.PressureDrop - 80000) < 1e-9);
    }

    void staticHeadAndSettingsFieldsApply() {
        EnterPump();
        P().StaticHeadEdit()->setText("3.00");
        emit P().StaticHeadEdit()->editingFinished();
        P().CurvePointsEdit()->setText("11");
        emit P().CurvePointsEdit()->editingFinished();
        QCOMPARE(W().Circuit().Pump.Curve.StaticHead, 3.0);
        QCOMPARE(P().Analysis().Curve->Points.size(), std::size_t{11});
        QCOMPARE(P().Analysis().Curve->Points.front().Head, 3.0);
        P().MaxRatioEdit()->setText("0");
        emit P().MaxRatioEdit()->editingFinished();
        QCOMPARE(P().MessageLabel()->text().split('\n').front(),
                 QString("The largest flow ratio must be above 0 and at most 100."));
        QCOMPARE(W().Circuit().Pump.Curve.MaxRatio, 1.3);
    }

    void thePumpIsSavedWithTheProject() {
        EnterPump();
        const QString file = Path("pump.dvx");
        QVERIFY(W().SaveFile(file));
        QVERIFY(W().NewProject());
        QCOMPARE(P().PointTable()->item(0, 0), nullptr); // a new project has no pump
        QVERIFY(W().OpenFile(file));
        QCOMPARE(W().Circuit().Pump.Points.size(), std::size_t{3});
        QCOMPARE(P().PointTable()->item(2, 0)->text(), QString("8"));
        QCOMPARE(P().PointTable()->item(2, 1)->text(), QString("4"));
        // Opening calculates, and the window follows.
        QVERIFY(P().Analysis().Duty && P().Analysis().Duty->Found);
    }

    // Efficiency points get a curve on an axis of their own at the right;
    // the point labels cover no curve, no marker and each other not.
    void efficiencyOnItsOwnAxisAndLabelsClearOfTheCurves() {
        EnterPump();
        QVERIFY(!P().EfficiencySeries()->isVisible());
        QVERIFY(!P().EfficiencyAxis()->isVisible());
        TypePoint(1, 2, "60");
        TypePoint(2, 2, "55");
        QVERIFY(P().EfficiencySeries()->isVisible());
        QVERIFY(P().EfficiencyAxis()->isVisible());
        QCOMPARE(P().EfficiencySeries()->points(), (QList<QPointF>{{4, 60}, {8, 55}}));
        QCOMPARE(P().EfficiencyAxis()->alignment(), Qt::AlignRight);
        QApplication::processEvents();
        QChart* chart = P().ChartView()->chart();
        auto onScreen = [&](QXYSeries* series) {
            std::vector<TPlotPoint> points;
            for (const QPointF& p : series->points()) {
                const QPointF at = chart->mapToPosition(p, series);
                points.push_back({at.x(), at.y()});
            }
            return points;
        };
        auto boxOf = [](QGraphicsSimpleTextItem* label) {
            const QRectF r = label->mapRectToParent(label->boundingRect());
            return TPlotBox{r.left(), r.top(), r.width(), r.height()};
        };
        const TPlotBox duty = boxOf(P().DutyPointLabel());
        const TPlotBox design = boxOf(P().DesignPointLabel());
        QVERIFY(P().DutyPointLabel()->isVisible() && P().DesignPointLabel()->isVisible());
        QVERIFY(!duty.Overlaps(design));
        const QRectF plot = chart->plotArea();
        const TPlotBox area{plot.left(), plot.top(), plot.width(), plot.height()};
        for (const TPlotBox& label : {duty, design}) {
            QVERIFY(area.Contains(label));
            for (QAbstractSeries* series : chart->series()) {
                auto* xy = qobject_cast<QXYSeries*>(series);
                if (xy == nullptr) continue;
                const std::vector<TPlotPoint> points = onScreen(xy);
                if (qobject_cast<QScatterSeries*>(series) != nullptr) { // markers
                    for (const TPlotPoint& p : points) QVERIFY2(!label.Overlaps(MarkerBox(p, 4)), qPrintable(xy->name()));
                    continue;
                }
                for (std::size_t i = 1; i < points.size(); ++i) // curves
                    QVERIFY2(!label.Crosses(points[i - 1], points[i]), qPrintable(xy->name()));
            }
        }
        Screenshot(P(), "pump-curve-efficiency");
    }

    void plotExportsAsPngAndSvg() {
        W().PropertiesForm()->SetProjectName("Tower loop");
        EnterPump();
        const QString png = Path("plot.png");
        const QString svg = Path("plot.svg");
        QVERIFY(P().ExportChart(png));
        QVERIFY(P().ExportChart(svg));
        // The picture is the plot's width, and taller: the heading above it
        // and the result lines below.
        QImage image(png);
        QVERIFY(!image.isNull());
        const qreal ratio = P().ChartView()->devicePixelRatio();
        QCOMPARE(image.width(), qRound(P().ChartView()->width() * ratio));
        QVERIFY(image.height() > qRound((P().ChartView()->height() + 4 * P().fontMetrics().height()) * ratio));
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("<svg"));
        QVERIFY(text.contains("Flow (l/s)"));
        // The drawing is well-formed XML, its title read back unescaped; its
        // texts carry the project's name and the duty line as the window shows it.
        QXmlStreamReader xml(text);
        QString title;
        QStringList texts;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == u"title") title = xml.readElementText();
            else if (xml.name() == u"text") texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(title, QString("Pump & System Curve"));
        QVERIFY2(texts.contains("Tower loop — Pump & System Curve"), qPrintable(texts.join(" | ")));
        QVERIFY2(texts.join(" ").contains(P().DutyLabel()->text().simplified()), qPrintable(texts.join(" | ")));
        QVERIFY(!P().ExportChart(Path("plot.bmp"))); // only the two formats
        QVERIFY(!P().ExportChart(Path("no-such-folder/plot.png")));
    }

    // Export Plot offers the project's folder and name, and a name typed
    // without an extension gets the chosen type's.
    void exportPlotStartsAtTheProjectAndAddsTheExtension() {
        EnterPump();
        QDir().mkpath(Path("projects"));
        QVERIFY(W().SaveFile(Path("projects/tower.dvx")));
        QStringList offered;
        QString answer;
        P().AskExportFile = [&](QWidget*, const QString& start, const QStringList& filters, QString* filter) {
            offered << start;
            *filter = filters.last(); // SVG drawings
            return answer;
        };
        answer = Path("projects/curves");
        P().ExportCommand();
        QCOMPARE(offered, QStringList{Path("projects/tower.png")});
        QVERIFY(QFileInfo(Path("projects/curves.svg")).size() > 0);
        QVERIFY(P().MessageLabel()->text().isEmpty());
        answer = Path("projects/typed.png"); // a typed extension stands
        P().ExportCommand();
        QVERIFY(!QImage(Path("projects/typed.png")).isNull());
        answer.clear(); // cancelled: nothing written, nothing said
        P().ExportCommand();
        QVERIFY(P().MessageLabel()->text().isEmpty());
    }

    // A pump edit is part of the project's history: undoing a later grid
    // edit back past the save must not read "Ready" while the pump change
    // is still on screen, and undoing the pump edit restores the saved pump.
    void aPumpEditIsKeptInTheHistory() {
        EnterPump();
        QVERIFY(W().SaveFile(Path("pump.dvx")));
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
        TypePoint(0, 1, "19.5");
        QCOMPARE(W().Circuit().Pump.Points.at(0).Head, 19.5);
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
        TypeGridCell(0, gcDescription, "Coil");

        // Back in the main window, as the user would click it.
        QApplication::setActiveWindow(&W());
        QVERIFY(QTest::qWaitForWindowActive(&W()));
        W().Grid()->setFocus();
        QTest::keyClick(W().Grid(), Qt::Key_Z, Qt::ControlModifier); // the grid edit
        QVERIFY(W().Action("actionEditRedo")->isEnabled()); // the grid edit was undone
        QCOMPARE(W().Circuit().Pump.Points.at(0).Head, 19.5);
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
        QVERIFY(!W().Circuit().Saved);

        QTest::keyClick(W().Grid(), Qt::Key_Z, Qt::ControlModifier); // the pump edit
        QCOMPARE(W().Circuit().Pump.Points.at(0).Head, 20.0);
        QCOMPARE(P().PointTable()->item(0, 1)->text(), QString("20"));
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));

        QTest::keyClick(W().Grid(), Qt::Key_Y, Qt::ControlModifier); // and again
        QCOMPARE(W().Circuit().Pump.Points.at(0).Head, 19.5);
        QCOMPARE(P().PointTable()->item(0, 1)->text(), QString("19.5"));
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
    }

    // The selection's fields go through the history like the points do; a
    // value out of range is named and changes nothing.
    void selectionFieldsAreUndoableAndChecked_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message"); // empty: taken
        QTest::newRow("speed") << "speed" << "90" << "";
        QTest::newRow("speed above rated") << "speed" << "120" << "The speed ratio must be 0.1 to 1.";
        QTest::newRow("hours") << "hours" << "6000" << "";
        QTest::newRow("hours beyond a year") << "hours" << "9000" << "The hours per year must be 0 to 8784 h.";
        QTest::newRow("suction items") << "suctionItems" << "1" << "";
        QTest::newRow("suction item text") << "suctionItems" << "1, b" << "Suction items: 'b' is not an item number.";
    }
    void selectionFieldsAreUndoableAndChecked() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        EnterPump();
        QVERIFY(W().SaveFile(Path("pump.dvx")));
        const TPumpSettings saved = W().Circuit().Pump;
        P().Tabs()->setCurrentIndex(1);
        auto* edit = P().findChild<QLineEdit*>(field);
        QVERIFY(edit != nullptr);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        if (!message.isEmpty()) {
            QCOMPARE(P().MessageLabel()->text(), message);
            QVERIFY(W().Circuit().Pump == saved);
            QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
            return;
        }
        QVERIFY(!(W().Circuit().Pump.Selection == saved.Selection));
        QCOMPARE(W().StatusPanel(0)->text(), QString("Modified"));
        QVERIFY(P().MessageLabel()->text().isEmpty());
        W().Action("actionEditUndo")->trigger();
        QVERIFY(W().Circuit().Pump == saved);
        QCOMPARE(edit->text(), QString::fromStdString(SelectionFieldsOf(saved.Selection, LiquidDensity(dvx::test::TestProject().Liquid)).*FieldOf(field)));
        QCOMPARE(W().StatusPanel(0)->text(), QString("Ready"));
    }

    void pumpsAndStandbyAreDrawnAndSaid() {
        EnterPump();
        P().Tabs()->setCurrentIndex(1);
        P().findChild<QSpinBox*>("pumps")->setValue(2);
        P().findChild<QCheckBox*>("standby")->setChecked(true);
        QCOMPARE(W().Circuit().Pump.Selection.Pumps, 2);
        QVERIFY(W().Circuit().Pump.Selection.Standby);
        // One pump alone is the pump entered: its duty is the single pump's.
        const double single = ExpectedDutyFlow(50, Project().Liquid->ro);
        const TPumpAnalysis& a = P().Analysis();
        QVERIFY(a.Selection && a.Selection->StandbyDuty && a.Selection->StandbyDuty->Found);
        QVERIFY(std::fabs(a.Selection->StandbyDuty->Flow * 1000 - single) < 1e-4);
        QVERIFY(a.Duty->Flow * 1000 > single);
        QVERIFY(P().StandbyCurveSeries()->isVisible());
        QCOMPARE(P().StandbyCurveSeries()->count(), 41);
        QVERIFY2(P().SelectionLabel()->text().contains("Pumps: 2 in parallel"), qPrintable(P().SelectionLabel()->text()));
        QVERIFY(P().SelectionLabel()->text().contains("With one pump fewer (1 running): duty "));
        // Back to one pump by undo: the spin box follows.
        W().Action("actionEditUndo")->trigger();
        W().Action("actionEditUndo")->trigger();
        QCOMPARE(P().findChild<QSpinBox*>("pumps")->value(), 1);
        QVERIFY(!P().StandbyCurveSeries()->isVisible());
    }

    void npshRequiredIsTypedIntoThePointTable() {
        EnterPump();
        TypePoint(0, 3, "2");
        TypePoint(3, 0, "9");
        TypePoint(3, 3, "4.50");
        QVERIFY2(P().MessageLabel()->text().isEmpty(), qPrintable(P().MessageLabel()->text()));
        const std::vector<TNpshPoint> expected = {{0, 2}, {0.009, 4.5}};
        QVERIFY(W().Circuit().Pump.Selection.NpshRequired == expected);
        QCOMPARE(W().Circuit().Pump.Points.size(), std::size_t{3}); // the NPSH-only row is no pump point
        // Shown as a stored value is shown.
        QCOMPARE(P().PointTable()->item(3, 3)->text(), QString("4.5"));
        P().SetCircuit(&W().Circuit());
        QCOMPARE(P().PointTable()->item(3, 3)->text(), QString("4.5"));
        QCOMPARE(P().PointTable()->item(0, 3)->text(), QString("2"));
    }

    void typedAndStoredPointsShowTheSameDigits() {
        EnterPump();
        TypePoint(1, 1, "16.50");
        QCOMPARE(P().PointTable()->item(1, 1)->text(), QString("16.5"));
        TypePoint(1, 0, "4");
        QCOMPARE(P().PointTable()->item(1, 0)->text(), QString("4"));
        P().SetCircuit(&W().Circuit()); // as after opening the file
        QCOMPARE(P().PointTable()->item(1, 1)->text(), QString("16.5"));
        QCOMPARE(P().PointTable()->item(1, 0)->text(), QString("4"));
    }

    void placementIsKeptBetweenRuns() {
        P().setGeometry(30, 40, 700, 480); // inside the test screen, so that showing keeps it
        const QRect placed = P().geometry();
        P().close();
        window_.reset();
        window_ = std::make_unique<TMainForm>(Project());
        P().show();
        QVERIFY(QTest::qWaitForWindowExposed(&P()));
        QTRY_COMPARE(P().geometry(), placed);
    }
};

QTEST_MAIN(PumpCurveFormTest)
#include "tst_pumpcurveform.moc"
