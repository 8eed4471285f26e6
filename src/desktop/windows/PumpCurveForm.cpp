// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/PumpCurveForm.h"

#include "base/Format.h"
#include "base/Numbers.h"
#include "storage/settings/Placement.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/FmtEdit.h"

#include <QApplication>
#include <optional>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

namespace dvx::ui {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

enum PumpColumn { pcFlow = 0, pcHead = 1, pcEfficiency = 2 };

constexpr const char* kStaticHeadFormat = "%0.2f";
constexpr double kStaticHeadLimit = 1000; // m, either way
constexpr const char* kMaxRatioFormat = "%0.2f";

// Each column's cells are typed in a formatted numeric edit: keys that
// cannot belong to a number are refused and the number is shown in the
// column's format when the cell is left. An emptied cell stays empty.
class PumpCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        auto* edit = new TFmtEdit(parent);
        edit->KeepFocusOnFailure = false;
        const char* formats[] = {"%0.3f", "%0.2f", "%0.1f"};
        edit->SetFormatStr(formats[std::clamp(index.column(), 0, 2)]);
        if (index.column() == pcEfficiency) {
            edit->RangeLo = 0;
            edit->RangeHi = 100;
        }
        return edit;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<TFmtEdit*>(editor)->setText(index.data().toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        auto* edit = static_cast<TFmtEdit*>(editor);
        if (!edit->text().trimmed().isEmpty()) edit->Validate();
        model->setData(index, edit->text().trimmed());
    }
};

TFmtEdit* NumberField(QWidget* parent, const char* format, double lo, double hi) {
    auto* edit = new TFmtEdit(parent);
    edit->SetFormatStr(format);
    edit->RangeLo = lo;
    edit->RangeHi = hi;
    edit->setMaximumWidth(90);
    return edit;
}

QList<QPointF> PointsOf(const std::vector<TChartPoint>& points) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const TChartPoint& p : points) list.append(QPointF(p.X, p.Y));
    return list;
}

} // namespace

TPumpCurveForm::TPumpCurveForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("PumpCurveForm");
    setWindowTitle(kPumpFormTitle);
    resize(980, 600);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("Pump points:", this));
    BuildTable();
    left->addWidget(table_, 1);
    auto* rowButtons = new QHBoxLayout;
    auto* addRow = new QPushButton("&Add Row", this);
    auto* deleteRow = new QPushButton("&Delete Row", this);
    addRow->setObjectName("addRow");
    deleteRow->setObjectName("deleteRow");
    rowButtons->addWidget(addRow);
    rowButtons->addWidget(deleteRow);
    left->addLayout(rowButtons);

    auto* fields = new QGridLayout;
    staticHead_ = NumberField(this, kStaticHeadFormat, -kStaticHeadLimit, kStaticHeadLimit);
    curvePoints_ = NumberField(this, "%d", kMinCurvePoints, kMaxCurvePoints);
    maxRatio_ = NumberField(this, kMaxRatioFormat, 0.01, kMaxCurveRatio);
    const std::pair<const char*, TFmtEdit*> rows[] = {
        {"&Static head (m):", staticHead_}, {"Curve &points:", curvePoints_}, {"&Largest flow ratio:", maxRatio_}};
    int r = 0;
    for (const auto& [caption, edit] : rows) {
        auto* label = new QLabel(caption, this);
        if (edit == staticHead_) staticHeadLabel_ = label;
        label->setBuddy(edit);
        fields->addWidget(label, r, 0);
        fields->addWidget(edit, r, 1);
        ++r;
    }
    left->addLayout(fields);
    auto* exportButton = new QPushButton("&Export Plot...", this);
    left->addWidget(exportButton);

    BuildChart();
    design_ = new QLabel(this);
    fit_ = new QLabel(this);
    duty_ = new QLabel(this);
    messages_ = new QLabel(this);
    messages_->setWordWrap(true);
    for (QLabel* l : {design_, fit_, duty_, messages_}) {
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setWordWrap(true);
    }
    auto* right = new QVBoxLayout;
    right->addWidget(chartView_, 1);
    for (QLabel* l : {design_, fit_, duty_, messages_}) right->addWidget(l);

    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 0);
    main->addLayout(right, 1);

    connect(addRow, &QPushButton::clicked, this, [this] { table_->insertRow(table_->rowCount()); });
    connect(deleteRow, &QPushButton::clicked, this, [this] {
        const int row = table_->currentRow();
        if (row < 0) return;
        table_->removeRow(row);
        TakeEdits();
    });
    for (TFmtEdit* edit : {staticHead_, curvePoints_, maxRatio_})
        connect(edit, &QLineEdit::editingFinished, this, [this] { TakeEdits(); });
    connect(exportButton, &QPushButton::clicked, this, [this] { ExportCommand(); });
}

void TPumpCurveForm::BuildTable() {
    table_ = new QTableWidget(kPumpTableRows, 3, this);
    table_->setItemDelegate(new PumpCellDelegate(table_));
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setMinimumWidth(300);
    connect(table_, &QTableWidget::itemChanged, this, [this] {
        if (!loading_) TakeEdits();
    });
}

void TPumpCurveForm::BuildChart() {
    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignBottom);
    system_ = new QLineSeries;
    system_->setName("System curve");
    pumpCurve_ = new QLineSeries;
    pumpCurve_->setName("Pump curve");
    pumpPoints_ = new QScatterSeries;
    pumpPoints_->setName("Pump points");
    pumpPoints_->setMarkerSize(8);
    designPoint_ = new QScatterSeries;
    designPoint_->setName("Design point");
    designPoint_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    designPoint_->setMarkerSize(11);
    dutyPoint_ = new QScatterSeries;
    dutyPoint_->setName("Duty point");
    dutyPoint_->setMarkerSize(13);
    // The two points' labels are placed by hand (PlaceLabels): the chart's
    // own point labels sit centred above their points and cover each other
    // when the duty point lies close to the design point.
    designLabel_ = new QGraphicsSimpleTextItem(chart_);
    dutyLabel_ = new QGraphicsSimpleTextItem(chart_);
    connect(chart_, &QChart::plotAreaChanged, this, [this] { PlaceLabels(); });
    axisX_ = new QValueAxis;
    axisX_->setTitleText(Q(FlowAxisTitle()));
    axisX_->setLabelFormat("%g");
    axisY_ = new QValueAxis;
    axisY_->setTitleText(Q(HeadAxisTitle()));
    axisY_->setLabelFormat("%g");
    for (QValueAxis* axis : {axisX_, axisY_}) {
        // Grid lines at round values from 0, whatever the axis' length.
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
    }
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    for (QXYSeries* s : std::initializer_list<QXYSeries*>{system_, pumpCurve_, pumpPoints_, designPoint_, dutyPoint_}) {
        chart_->addSeries(s);
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }
    chartView_ = new QChartView(chart_, this);
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumSize(420, 320);
}

void TPumpCurveForm::SetCircuit(TCircuit* circuit) {
    circuit_ = circuit;
    LoadFromCircuit();
    Refresh();
}

void TPumpCurveForm::ApplyUnits() {
    LoadFromCircuit();
    Refresh();
}

void TPumpCurveForm::LoadFromCircuit() {
    loading_ = true;
    // The captions and the static head's range in the display units in force.
    const TUnitView head = PumpHeadView();
    table_->setHorizontalHeaderLabels({Q(FlowAxisTitle()), Q(HeadAxisTitle()), "Efficiency (%)"});
    staticHeadLabel_->setText(Q("&Static head (" + head.Label() + "):"));
    staticHead_->RangeLo = head.ToShown(-kStaticHeadLimit);
    staticHead_->RangeHi = head.ToShown(kStaticHeadLimit);
    axisX_->setTitleText(Q(FlowAxisTitle()));
    axisY_->setTitleText(Q(HeadAxisTitle()));
    const TPumpSettings pump = circuit_ ? circuit_->Pump : TPumpSettings{};
    const std::vector<TPumpRowText> rows = PumpRowsOf(pump.Points);
    table_->clearContents();
    table_->setRowCount(std::max(kPumpTableRows, static_cast<int>(rows.size()) + 2));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const TPumpRowText& row = rows[static_cast<std::size_t>(i)];
        table_->setItem(i, pcFlow, new QTableWidgetItem(Q(row.Flow)));
        table_->setItem(i, pcHead, new QTableWidgetItem(Q(row.Head)));
        table_->setItem(i, pcEfficiency, new QTableWidgetItem(Q(row.Efficiency)));
    }
    staticHead_->setText(Q(Format(kStaticHeadFormat, {head.ToShown(pump.Curve.StaticHead)})));
    curvePoints_->setText(Q(Format("%d", {pump.Curve.Points})));
    maxRatio_->setText(Q(Format(kMaxRatioFormat, {pump.Curve.MaxRatio})));
    shown_ = pump;
    entryError_.clear();
    loading_ = false;
}

void TPumpCurveForm::TakeEdits() {
    if (circuit_ == nullptr || loading_) return;
    // Runs from slots: nothing may leave it.
    try {
        TakeEditsInto(*circuit_);
    } catch (const std::exception& e) {
        entryError_ = e.what();
    }
    Refresh();
}

void TPumpCurveForm::TakeEditsInto(TCircuit& circuit) {
    std::vector<TPumpRowText> rows;
    for (int r = 0; r < table_->rowCount(); ++r) {
        auto text = [&](int c) {
            const QTableWidgetItem* item = table_->item(r, c);
            return item ? item->text().toStdString() : std::string();
        };
        rows.push_back({text(pcFlow), text(pcHead), text(pcEfficiency)});
    }
    TPumpSettings pump = circuit.Pump;
    entryError_.clear();
    const TPumpRowsResult read = ReadPumpRows(rows, shown_.Points);
    if (!read.Error.empty()) {
        entryError_ = read.Error;
    } else {
        pump.Points = read.Points;
        // A field still showing what it was filled with keeps the exact value.
        auto number = [](TFmtEdit* edit, const char* format, double value) -> std::optional<double> {
            const std::string text = edit->text().toStdString();
            if (text == Format(format, {value})) return value;
            return TryStrToFloat(text);
        };
        // The static head is typed in the display unit; a field left as it
        // was filled keeps the stored value exactly.
        const TUnitView head = PumpHeadView();
        std::optional<double> staticHead;
        if (staticHead_->text().toStdString() == Format(kStaticHeadFormat, {head.ToShown(shown_.Curve.StaticHead)}))
            staticHead = shown_.Curve.StaticHead;
        else if (const auto typed = TryStrToFloat(staticHead_->text().toStdString()))
            staticHead = head.FromShown(*typed);
        const auto points = TryStrToInt(curvePoints_->text().toStdString());
        const auto ratio = number(maxRatio_, kMaxRatioFormat, shown_.Curve.MaxRatio);
        if (!staticHead || !std::isfinite(*staticHead)) entryError_ = "The static head is not a number.";
        else if (!points || *points < kMinCurvePoints || *points > kMaxCurvePoints)
            entryError_ = Format("The curve needs %d to %d points.", {kMinCurvePoints, kMaxCurvePoints});
        else if (!ratio || !(*ratio > 0 && *ratio <= kMaxCurveRatio))
            entryError_ = Format("The largest flow ratio must be above 0 and at most %g.", {kMaxCurveRatio});
        else {
            pump.Curve.StaticHead = *staticHead;
            pump.Curve.Points = *points;
            pump.Curve.MaxRatio = *ratio;
        }
    }
    if (entryError_.empty() && !(pump == circuit.Pump)) {
        const TPumpSettings before = circuit.Pump;
        shown_ = pump; // what the table and fields now say
        if (OnPumpChanged) OnPumpChanged(before, pump);
        else circuit.Pump = pump;
    }
}

void TPumpCurveForm::PumpTakenBack() {
    // A change the user has just typed is on screen already: rewriting the
    // table from inside its own edit would disturb the editor.
    if (circuit_ == nullptr) return;
    if (!(circuit_->Pump == shown_)) LoadFromCircuit();
    Refresh();
}

void TPumpCurveForm::Refresh() {
    stale_ = true;
    if (isVisible()) Redraw();
}

void TPumpCurveForm::Redraw() {
    // Runs from slots and event handlers: nothing may leave it.
    try {
        Draw();
    } catch (const std::exception& e) {
        messages_->setText(QString::fromUtf8(e.what()));
    }
}

void TPumpCurveForm::Draw() {
    stale_ = false;
    if (circuit_ == nullptr) return;
    const bool groups = GroupsActive ? GroupsActive() : false;
    analysis_ = AnalysePump(*circuit_, groups, circuit_->Pump);
    const TPumpChart chart = ChartOf(analysis_, circuit_->Pump);

    system_->replace(PointsOf(chart.System));
    pumpCurve_->replace(PointsOf(chart.PumpCurve));
    pumpPoints_->replace(PointsOf(chart.PumpPoints));
    designPoint_->replace(chart.Design ? PointsOf({*chart.Design}) : QList<QPointF>{});
    dutyPoint_->replace(chart.Duty ? PointsOf({*chart.Duty}) : QList<QPointF>{});
    designLabel_->setText(Q(chart.DesignLabel));
    dutyLabel_->setText(Q(chart.DutyLabel));
    for (auto [axis, end] : {std::pair{axisX_, chart.MaxX}, std::pair{axisY_, chart.MaxY}}) {
        axis->setTickInterval(TickStep(end));
        axis->setRange(0, end);
    }
    PlaceLabels();

    design_->setText(Q(DesignText(analysis_)));
    fit_->setText(Q(FitText(analysis_)));
    duty_->setText(analysis_.Duty && analysis_.Duty->Found ? Q(DutyText(analysis_)) : QString("Duty point: none"));
    QStringList lines;
    if (!entryError_.empty()) lines << Q(entryError_);
    for (const std::string& m : analysis_.Messages) lines << Q(m);
    messages_->setText(lines.join('\n'));
}

void TPumpCurveForm::PlaceLabels() {
    // The duty point's label above and to the right of it, clear of the
    // pump curve falling through it. The design point lies just below the
    // pump curve, which falls across the space to its right: its label goes
    // well down to the right, into the wedge between the two curves.
    auto place = [this](QGraphicsSimpleTextItem* label, QScatterSeries* series, bool above) {
        label->setVisible(series->count() == 1);
        if (series->count() != 1) return;
        const QPointF at = chart_->mapToPosition(series->at(0), series);
        const QRectF box = label->boundingRect();
        label->setPos(at.x() + 8, above ? at.y() - box.height() - 6 : at.y() + 6 + 0.45 * box.width());
    };
    place(designLabel_, designPoint_, false);
    place(dutyLabel_, dutyPoint_, true);
}

bool TPumpCurveForm::ExportChart(const QString& file) {
    if (stale_) Redraw();
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(chartView_->size());
        svg.setViewBox(QRect(QPoint(0, 0), chartView_->size()));
        // The generator writes the title into the file as it is: escape it,
        // or the "&" in the window's title makes the drawing invalid XML.
        svg.setTitle(QString(kPumpFormTitle).toHtmlEscaped());
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        chartView_->render(&painter);
        return painter.end() && QFileInfo(file).size() > 0;
    }
    if (suffix == "png") return chartView_->grab().save(file, "PNG");
    return false;
}

void TPumpCurveForm::ExportCommand() {
    const QString file = QFileDialog::getSaveFileName(this, "Export Plot", QString(),
                                                      "PNG pictures (*.png);;SVG drawings (*.svg)");
    if (file.isEmpty()) return;
    if (!ExportChart(file)) messages_->setText("The plot could not be written to " + file + ".");
}

void TPumpCurveForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) Redraw();
}

void TPumpCurveForm::SavePlacement() const {
    // The same rectangle RestorePlacementFromSettings applies, frame excluded.
    const QRect g = geometry();
    TWindowPlacement p{g.x(), g.y(), g.width(), g.height(), 0};
    dvx::SavePlacement(AppSettings(), "PumpCurveForm", p);
}

void TPumpCurveForm::RestorePlacementFromSettings() {
    QSize screen = QApplication::primaryScreen() != nullptr ? QApplication::primaryScreen()->size() : QSize(1024, 768);
    const QRect g = geometry();
    TWindowPlacement current{g.x(), g.y(), g.width(), g.height(), 0};
    TWindowPlacement p = RestorePlacement(AppSettings(), "PumpCurveForm", current, true, screen.width(), screen.height());
    setGeometry(p.Left, p.Top, p.Width, p.Height);
}

void TPumpCurveForm::closeEvent(QCloseEvent* event) {
    try {
        SavePlacement();
    } catch (const std::exception&) {
        // An unwritable settings file does not keep the window open.
    }
    QWidget::closeEvent(event);
}

} // namespace dvx::ui
