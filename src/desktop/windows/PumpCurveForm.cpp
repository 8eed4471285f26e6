// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/PumpCurveForm.h"

#include "desktop/widgets/QtText.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "desktop/widgets/WindowPlacement.h"
#include "presentation/ui/LabelPlacement.h"
#include "presentation/ui/PumpSelectionFields.h"
#include "presentation/ui/PumpSelectionLines.h"
#include "engine/pump/SelectionCheck.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/FmtEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QtCharts/QAreaSeries>
#include <optional>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsLineItem>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

namespace dvx::ui {

namespace {


enum PumpColumn { pcFlow = 0, pcHead = 1, pcEfficiency = 2, pcNpsh = 3, pcColumns = 4 };

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
        const char* formats[] = {"%0.3f", "%0.2f", "%0.1f", "%0.2f"};
        edit->SetFormatStr(formats[std::clamp(index.column(), 0, pcColumns - 1)]);
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
        // Shown as a stored point is shown, so that a typed point and the
        // same point loaded from the file read alike.
        model->setData(index, Q(PumpCellText(index.column(), edit->text().trimmed().toStdString())));
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

TPumpCurveForm::TPumpCurveForm(TProjectContext project, QWidget* parent)
    : QWidget(parent, Qt::Window), project_(project) {
    setObjectName("PumpCurveForm");
    setWindowTitle(kPumpFormTitle);
    resize(980, 600);

    auto* pumpTab = new QWidget(this);
    auto* left = new QVBoxLayout(pumpTab);
    left->setContentsMargins(4, 4, 4, 4);
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
    dockButton_ = new QPushButton(this);
    dockButton_->setObjectName("dock");
    left->addWidget(dockButton_);
    ShowDocked(false);

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
    selection_ = new QLabel(this);
    selection_->setObjectName("selectionLines");
    for (QLabel* l : {selection_}) {
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setWordWrap(true);
    }
    auto* right = new QVBoxLayout;
    right->addWidget(chartView_, 1);
    for (QLabel* l : {design_, fit_, duty_, selection_, messages_}) right->addWidget(l);

    tabs_ = new QTabWidget(this);
    // Each page scrolls, so that the window, docked low in the main window,
    // asks for little height.
    auto scrolled = [this](QWidget* page) {
        auto* area = new QScrollArea(this);
        area->setWidget(page);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        area->setMinimumWidth(page->minimumSizeHint().width());
        return area;
    };
    tabs_->addTab(scrolled(pumpTab), "&Pump");
    tabs_->addTab(scrolled(BuildSelectionTab()), "Se&lection");
    auto* main = new QHBoxLayout(this);
    main->addWidget(tabs_, 0);
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
    connect(dockButton_, &QPushButton::clicked, this, [this] {
        if (OnDock) OnDock(!docked_);
    });
}

void TPumpCurveForm::ShowDocked(bool docked) {
    docked_ = docked;
    dockButton_->setText(docked ? "Open in its own &Window" : "Doc&k in the Main Window");
}

TPumpCurveForm::~TPumpCurveForm() { Detach(); }

void TPumpCurveForm::Detach() {
    circuit_ = nullptr;
    // The fields report leaving them while the window is taken down (a field
    // with the focus loses it): by then there is no form to take the edit.
    for (QWidget* child : findChildren<QWidget*>()) disconnect(child, nullptr, this, nullptr);
}

void TPumpCurveForm::BuildTable() {
    table_ = new QTableWidget(kPumpTableRows, pcColumns, this);
    table_->setItemDelegate(new PumpCellDelegate(table_));
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setMinimumWidth(300);
    connect(table_, &QTableWidget::itemChanged, this, [this] {
        if (!loading_) TakeEdits();
    });
}

QWidget* TPumpCurveForm::BuildSelectionTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(4, 4, 4, 4);
    auto field = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMaximumWidth(110);
        connect(edit, &QLineEdit::editingFinished, this, [this] { TakeEdits(); });
        return edit;
    };
    auto group = [&](const char* title) {
        auto* box = new QGroupBox(title, tab);
        auto* form = new QFormLayout(box);
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        layout->addWidget(box);
        return form;
    };
    auto row = [this](QFormLayout* form, const char* caption, QWidget* edit) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        form->addRow(label, edit);
        return label;
    };

    QFormLayout* pumps = group("Pumps");
    speed_ = field("speed");
    pumps_ = new QSpinBox(this);
    pumps_->setObjectName("pumps");
    pumps_->setRange(1, kMaxPumps);
    arrangement_ = new QComboBox(this);
    arrangement_->setObjectName("arrangement");
    arrangement_->addItems({"Parallel", "Series"});
    standby_ = new QCheckBox("One pump stand&by", this);
    standby_->setObjectName("standby");
    row(pumps, "S&peed (% of rated):", speed_);
    row(pumps, "&Number of pumps:", pumps_);
    row(pumps, "&Arrangement:", arrangement_);
    pumps->addRow(standby_);

    QFormLayout* suction = group("Suction side (NPSH)");
    suctionItems_ = field("suctionItems");
    suctionItems_->setMaximumWidth(QWIDGETSIZE_MAX);
    suctionItems_->setToolTip("The numbers of the items between the liquid surface and the pump, e.g. 1, 2, 5");
    suctionHeight_ = field("suctionHeight");
    suctionHeight_->setToolTip("Height of the liquid surface above the pump inlet; negative when below");
    surfacePressure_ = field("surfacePressure");
    vapourPressure_ = field("vapourPressure");
    vapourPressure_->setPlaceholderText("water table");
    vapourPressure_->setToolTip("Blank: from the water table (water and water mixtures); enter it for other liquids");
    npshMargin_ = field("npshMargin");
    row(suction, "Suction &items:", suctionItems_);
    suctionHeightLabel_ = row(suction, "Surface &height:", suctionHeight_);
    surfacePressureLabel_ = row(suction, "Surface p&ressure:", surfacePressure_);
    vapourPressureLabel_ = row(suction, "&Vapour pressure:", vapourPressure_);
    npshMarginLabel_ = row(suction, "NPSH &margin:", npshMargin_);

    QFormLayout* cost = group("Running cost");
    hours_ = field("hours");
    price_ = field("price");
    motorEfficiency_ = field("motorEfficiency");
    driveEfficiency_ = field("driveEfficiency");
    row(cost, "H&ours per year:", hours_);
    row(cost, "Price per &kWh:", price_);
    row(cost, "M&otor efficiency (%):", motorEfficiency_);
    row(cost, "&Drive efficiency (%):", driveEfficiency_);
    layout->addStretch(1);

    connect(pumps_, &QSpinBox::valueChanged, this, [this] { TakeEdits(); });
    connect(arrangement_, &QComboBox::currentIndexChanged, this, [this] { TakeEdits(); });
    connect(standby_, &QCheckBox::toggled, this, [this] { TakeEdits(); });
    return tab;
}

void TPumpCurveForm::BuildChart() {
    chart_ = new QChart;
    chart_->legend()->setAlignment(Qt::AlignBottom);
    // Up to eight curves share the legend's one line: a smaller type keeps
    // their names whole.
    QFont legendFont = chart_->legend()->font();
    legendFont.setPointSizeF(std::max(6.0, legendFont.pointSizeF() - 1));
    chart_->legend()->setFont(legendFont);
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
    designLeader_ = new QGraphicsLineItem(chart_);
    dutyLeader_ = new QGraphicsLineItem(chart_);
    for (QGraphicsLineItem* leader : {designLeader_, dutyLeader_}) {
        leader->setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8));
        leader->setZValue(-1); // under the marker it starts at
        leader->setVisible(false);
    }
    standbyCurve_ = new QLineSeries;
    standbyCurve_->setName("1 pump fewer");
    standbyCurve_->setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5, Qt::DashLine));
    standbyDuty_ = new QScatterSeries;
    standbyDuty_->setName("Duty, one pump fewer");
    standbyDuty_->setMarkerSize(10);
    standbyDuty_->setColor(QColor(0x80, 0x80, 0x80));
    bep_ = new QScatterSeries;
    bep_->setName("Best efficiency");
    bep_->setMarkerShape(QScatterSeries::MarkerShapeStar);
    bep_->setMarkerSize(14);
    bep_->setColor(QColor(0x2e, 0x8b, 0x57));
    // The preferred region as a pale band over the plot's height.
    regionTop_ = new QLineSeries(this);
    regionBottom_ = new QLineSeries(this);
    region_ = new QAreaSeries(regionTop_, regionBottom_);
    region_->setName("70–120 % BEP");
    region_->setPen(Qt::NoPen);
    region_->setBrush(QColor(0x2e, 0x8b, 0x57, 0x28));
    npshAvailable_ = new QLineSeries;
    npshAvailable_->setName("NPSHa");
    npshAvailable_->setPen(QPen(QColor(0x1f, 0x5f, 0xbf), 1.5, Qt::DotLine));
    npshRequired_ = new QLineSeries;
    npshRequired_->setName("NPSHr");
    npshRequired_->setPen(QPen(QColor(0xc0, 0x30, 0x30), 1.5, Qt::DotLine));
    standbyLabel_ = new QGraphicsSimpleTextItem(chart_);
    bepLabel_ = new QGraphicsSimpleTextItem(chart_);
    standbyLeader_ = new QGraphicsLineItem(chart_);
    bepLeader_ = new QGraphicsLineItem(chart_);
    for (QGraphicsLineItem* leader : {standbyLeader_, bepLeader_}) {
        leader->setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8));
        leader->setZValue(-1);
        leader->setVisible(false);
    }
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
    // The region first, so that everything else is drawn over it.
    chart_->addSeries(region_);
    region_->attachAxis(axisX_);
    region_->attachAxis(axisY_);
    for (QXYSeries* s : std::initializer_list<QXYSeries*>{system_, pumpCurve_, pumpPoints_, designPoint_, dutyPoint_,
                                                         standbyCurve_, standbyDuty_, bep_, npshAvailable_,
                                                         npshRequired_}) {
        chart_->addSeries(s);
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }
    // The efficiency, in %, against an axis of its own at the right; both
    // are shown only when points give an efficiency.
    efficiency_ = new QLineSeries;
    efficiency_->setName("Efficiency");
    efficiency_->setPointsVisible(true);
    efficiency_->setPen(QPen(QColor(0x2e, 0x8b, 0x57), 1.5, Qt::DashDotLine));
    axisEfficiency_ = new QValueAxis;
    axisEfficiency_->setTitleText("Efficiency (%)");
    axisEfficiency_->setLabelFormat("%g");
    axisEfficiency_->setRange(0, 100);
    axisEfficiency_->setTickType(QValueAxis::TicksDynamic);
    axisEfficiency_->setTickAnchor(0);
    axisEfficiency_->setTickInterval(20);
    axisEfficiency_->setGridLineVisible(false);
    chart_->addAxis(axisEfficiency_, Qt::AlignRight);
    chart_->addSeries(efficiency_);
    efficiency_->attachAxis(axisX_);
    efficiency_->attachAxis(axisEfficiency_);
    axisEfficiency_->setVisible(false);
    efficiency_->setVisible(false);
    // The design and duty points are named by their labels on the plot; the
    // legend keeps its room for the curves.
    for (QScatterSeries* named : {designPoint_, dutyPoint_, standbyDuty_, bep_})
        for (QLegendMarker* marker : chart_->legend()->markers(named)) marker->setVisible(false);
    chartView_ = new QChartView(chart_, this);
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumSize(420, 240);
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
    table_->setHorizontalHeaderLabels(
        {Q(FlowAxisTitle()), Q(HeadAxisTitle()), "Efficiency (%)", Q("NPSHr (" + head.Label() + ")")});
    const QString headUnit = Q(SelectionHeadUnit());
    const QString pressureUnit = Q(SelectionPressureUnit());
    suctionHeightLabel_->setText("Surface &height (" + headUnit + "):");
    surfacePressureLabel_->setText("Surface p&ressure (" + pressureUnit + " abs.):");
    vapourPressureLabel_->setText("&Vapour pressure (" + pressureUnit + " abs.):");
    npshMarginLabel_->setText("NPSH &margin (" + headUnit + "):");
    staticHeadLabel_->setText(Q("&Static head (" + head.Label() + "):"));
    staticHead_->RangeLo = head.ToShown(-kStaticHeadLimit);
    staticHead_->RangeHi = head.ToShown(kStaticHeadLimit);
    axisX_->setTitleText(Q(FlowAxisTitle()));
    axisY_->setTitleText(Q(HeadAxisTitle()));
    const TPumpSettings pump = circuit_ ? circuit_->Pump : TPumpSettings{};
    const std::vector<TPumpRowText> rows = PumpRowsOf(pump.Points, pump.Selection.NpshRequired);
    table_->clearContents();
    table_->setRowCount(std::max(kPumpTableRows, static_cast<int>(rows.size()) + 2));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const TPumpRowText& row = rows[static_cast<std::size_t>(i)];
        table_->setItem(i, pcFlow, new QTableWidgetItem(Q(row.Flow)));
        table_->setItem(i, pcHead, new QTableWidgetItem(Q(row.Head)));
        table_->setItem(i, pcEfficiency, new QTableWidgetItem(Q(row.Efficiency)));
        table_->setItem(i, pcNpsh, new QTableWidgetItem(Q(row.Npsh)));
    }
    const TSelectionFields fields = SelectionFieldsOf(pump.Selection, LiquidDensity(project_.Liquid));
    speed_->setText(Q(fields.Speed));
    pumps_->setValue(pump.Selection.Pumps);
    arrangement_->setCurrentIndex(fields.Arrangement == TPumpArrangement::Series ? 1 : 0);
    standby_->setChecked(fields.Standby);
    suctionItems_->setText(Q(fields.SuctionItems));
    suctionHeight_->setText(Q(fields.SuctionHeight));
    surfacePressure_->setText(Q(fields.SurfacePressure));
    vapourPressure_->setText(Q(fields.VapourPressure));
    npshMargin_->setText(Q(fields.NpshMargin));
    hours_->setText(Q(fields.Hours));
    price_->setText(Q(fields.Price));
    motorEfficiency_->setText(Q(fields.MotorEfficiency));
    driveEfficiency_->setText(Q(fields.DriveEfficiency));
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
        rows.push_back({text(pcFlow), text(pcHead), text(pcEfficiency), text(pcNpsh)});
    }
    TPumpSettings pump = circuit.Pump;
    entryError_.clear();
    const TPumpRowsResult read = ReadPumpRows(rows, shown_.Points, shown_.Selection.NpshRequired);
    TSelectionFields fields;
    fields.Speed = speed_->text().toStdString();
    fields.Pumps = Format("%d", {pumps_->value()});
    fields.Arrangement = arrangement_->currentIndex() == 1 ? TPumpArrangement::Series : TPumpArrangement::Parallel;
    fields.Standby = standby_->isChecked();
    fields.SuctionItems = suctionItems_->text().toStdString();
    fields.SuctionHeight = suctionHeight_->text().toStdString();
    fields.SurfacePressure = surfacePressure_->text().toStdString();
    fields.VapourPressure = vapourPressure_->text().toStdString();
    fields.NpshMargin = npshMargin_->text().toStdString();
    fields.Hours = hours_->text().toStdString();
    fields.Price = price_->text().toStdString();
    fields.MotorEfficiency = motorEfficiency_->text().toStdString();
    fields.DriveEfficiency = driveEfficiency_->text().toStdString();
    TSelectionRead selection = ReadSelectionFields(fields, shown_.Selection, LiquidDensity(project_.Liquid));
    if (read.Error.empty() && selection.Error.empty()) {
        // The NPSH points come from the table; the whole selection is
        // checked again with them.
        selection.Selection.NpshRequired = read.Npsh;
        selection.Error = SelectionProblem(selection.Selection);
    }
    if (!read.Error.empty()) {
        entryError_ = read.Error;
    } else if (!selection.Error.empty()) {
        entryError_ = selection.Error;
    } else {
        pump.Points = read.Points;
        pump.Selection = selection.Selection;
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
    analysis_ = AnalysePump(project_, *circuit_, groups, circuit_->Pump);
    const TPumpChart chart = ChartOf(analysis_, circuit_->Pump);

    system_->replace(PointsOf(chart.System));
    pumpCurve_->replace(PointsOf(chart.PumpCurve));
    pumpPoints_->replace(PointsOf(chart.PumpPoints));
    designPoint_->replace(chart.Design ? PointsOf({*chart.Design}) : QList<QPointF>{});
    dutyPoint_->replace(chart.Duty ? PointsOf({*chart.Duty}) : QList<QPointF>{});
    efficiency_->replace(PointsOf(chart.Efficiency));
    const bool withEfficiency = !chart.Efficiency.empty();
    efficiency_->setVisible(withEfficiency);
    axisEfficiency_->setVisible(withEfficiency);
    for (QLegendMarker* marker : chart_->legend()->markers(efficiency_)) marker->setVisible(withEfficiency);
    designLabel_->setText(Q(chart.DesignLabel));
    dutyLabel_->setText(Q(chart.DutyLabel));
    standbyCurve_->replace(PointsOf(chart.StandbyCurve));
    standbyDuty_->replace(chart.StandbyDuty ? PointsOf({*chart.StandbyDuty}) : QList<QPointF>{});
    standbyLabel_->setText(Q(chart.StandbyLabel));
    bep_->replace(chart.Bep ? PointsOf({*chart.Bep}) : QList<QPointF>{});
    bepLabel_->setText(Q(chart.BepLabel));
    npshAvailable_->replace(PointsOf(chart.NpshAvailable));
    npshRequired_->replace(PointsOf(chart.NpshRequired));
    if (chart.PreferredRegion) {
        const auto [low, high] = *chart.PreferredRegion;
        regionTop_->replace({QPointF(low, chart.MaxY), QPointF(high, chart.MaxY)});
        regionBottom_->replace({QPointF(low, 0), QPointF(high, 0)});
    } else {
        regionTop_->clear();
        regionBottom_->clear();
    }
    // The legend names only what is drawn.
    const std::pair<QAbstractSeries*, bool> shownInLegend[] = {
        {standbyCurve_, !chart.StandbyCurve.empty()},
        {region_, chart.PreferredRegion.has_value()},
        {npshAvailable_, !chart.NpshAvailable.empty()},
        {npshRequired_, !chart.NpshRequired.empty()},
    };
    for (const auto& [series, drawn] : shownInLegend) {
        series->setVisible(drawn);
        for (QLegendMarker* marker : chart_->legend()->markers(series)) marker->setVisible(drawn);
    }
    // Below the plot the legend has room for the four curves of a pump; with
    // the selection's it stands at the right, one name a line, whole.
    // (where the plot is wide enough to spare the room).
    constexpr int kWideForLegendAtRight = 640; // px of the plot's view
    chart_->legend()->setAlignment(HasSelectionPart(chart) && chartView_->width() >= kWideForLegendAtRight
                                       ? Qt::AlignRight
                                       : Qt::AlignBottom);
    for (auto [axis, end] : {std::pair{axisX_, chart.MaxX}, std::pair{axisY_, chart.MaxY}}) {
        axis->setTickInterval(TickStep(end));
        axis->setRange(0, end);
    }
    PlaceLabels();

    design_->setText(Q(DesignText(analysis_)));
    fit_->setText(Q(FitText(analysis_)));
    duty_->setText(analysis_.Duty && analysis_.Duty->Found ? Q(DutyText(analysis_)) : QString("Duty point: none"));
    QStringList figures;
    for (const std::string& line : SelectionLines(analysis_, circuit_->Pump)) figures << Q(line);
    selection_->setText(figures.join('\n'));
    selection_->setVisible(!figures.isEmpty());
    QStringList lines;
    if (!entryError_.empty()) lines << Q(entryError_);
    for (const std::string& m : analysis_.Messages) lines << Q(m);
    messages_->setText(lines.join('\n'));
}

void TPumpCurveForm::PlaceLabels() {
    // Each label beside its point, clear of the curves, the markers and the
    // other label, inside the plot area.
    auto onScreen = [this](const QXYSeries* series) {
        std::vector<TPlotPoint> points;
        for (const QPointF& p : series->points()) {
            const QPointF at = chart_->mapToPosition(p, const_cast<QXYSeries*>(series));
            points.push_back({at.x(), at.y()});
        }
        return points;
    };
    std::vector<std::vector<TPlotPoint>> lines = {onScreen(system_), onScreen(pumpCurve_)};
    for (const QLineSeries* line : {efficiency_, standbyCurve_, npshAvailable_, npshRequired_})
        if (line->isVisible()) lines.push_back(onScreen(line));
    std::vector<TPlotBox> taken;
    for (const QScatterSeries* markers : {pumpPoints_, designPoint_, dutyPoint_, standbyDuty_, bep_})
        for (const TPlotPoint& p : onScreen(markers)) taken.push_back(MarkerBox(p, markers->markerSize() / 2 + 1));
    const QRectF plot = chart_->plotArea();
    const TPlotBox area{plot.left(), plot.top(), plot.width(), plot.height()};
    struct Labelled {
        QGraphicsSimpleTextItem* label;
        QScatterSeries* series;
        QGraphicsLineItem* leader;
    };
    for (auto [label, series, leader] : {Labelled{dutyLabel_, dutyPoint_, dutyLeader_},
                                         Labelled{designLabel_, designPoint_, designLeader_},
                                         Labelled{standbyLabel_, standbyDuty_, standbyLeader_},
                                         Labelled{bepLabel_, bep_, bepLeader_}}) {
        label->setVisible(series->count() == 1);
        leader->setVisible(false);
        if (series->count() != 1) continue;
        const TPlotPoint at = onScreen(series).front();
        const QRectF size = label->boundingRect();
        const double gap = series->markerSize() / 2 + 3;
        const TPlotBox box = PlaceLabel(at, size.width(), size.height(), gap, lines, taken, area);
        label->setPos(box.Left, box.Top);
        taken.push_back(box);
        // A label away from its point is joined to it by a thin line.
        leader->setVisible(NeedsLeader(box, at, gap));
        const TPlotPoint to = NearestPoint(box, at);
        leader->setLine(at.X, at.Y, to.X, to.Y);
    }
}

namespace {
constexpr int kExportMargin = 8; // pixels around the heading and the lines of an exported plot
const QStringList kExportFilters = {"PNG pictures (*.png)", "SVG drawings (*.svg)"};

// The extension a file type filter names: "png" for "PNG pictures (*.png)".
QString FilterSuffix(const QString& filter) {
    const qsizetype star = filter.indexOf("*.");
    if (star < 0) return {};
    const qsizetype end = filter.indexOf(QRegularExpression("[ );]"), star + 2);
    return filter.mid(star + 2, end < 0 ? -1 : end - star - 2);
}

// The heading of an exported plot: the project's name and what it shows.
QString ExportHeading(const QString& projectName) {
    return projectName.isEmpty() ? QString(kPumpFormTitle) : projectName + " — " + kPumpFormTitle;
}
} // namespace

QStringList TPumpCurveForm::ExportLines() const {
    QStringList lines;
    for (const QLabel* label : {design_, fit_, duty_, selection_})
        if (!label->text().isEmpty()) lines << label->text();
    return lines;
}

QSize TPumpCurveForm::ExportSize() const {
    const QFontMetrics metrics(font());
    const int width = chartView_->width();
    const QRect textRect(0, 0, width - 2 * kExportMargin, 10000);
    int height = chartView_->height() + 2 * kExportMargin;
    QFont bold = font();
    bold.setBold(true);
    height += QFontMetrics(bold).boundingRect(textRect, Qt::TextWordWrap, ExportHeading(ProjectName ? ProjectName() : QString())).height();
    for (const QString& line : ExportLines()) height += metrics.boundingRect(textRect, Qt::TextWordWrap, line).height();
    return {width, height};
}

void TPumpCurveForm::PaintExport(QPainter& painter) const {
    const QSize size = ExportSize();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.setPen(Qt::black);
    const int textWidth = size.width() - 2 * kExportMargin;
    int y = kExportMargin;
    // Each text block wrapped to the plot's width, one under the other.
    auto write = [&](const QString& text) {
        const QRect box = painter.fontMetrics().boundingRect(QRect(kExportMargin, y, textWidth, 10000), Qt::TextWordWrap, text);
        painter.drawText(QRect(kExportMargin, y, textWidth, box.height()), Qt::TextWordWrap, text);
        y += box.height();
    };
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    write(ExportHeading(ProjectName ? ProjectName() : QString()));
    chartView_->render(&painter, QRectF(0, y, chartView_->width(), chartView_->height()), chartView_->rect());
    y += chartView_->height();
    painter.setFont(font());
    for (const QString& line : ExportLines()) write(line);
}

bool TPumpCurveForm::ExportChart(const QString& file) {
    if (stale_) Redraw();
    const QString suffix = QFileInfo(file).suffix().toLower();
    const QSize size = ExportSize();
    if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        // The generator writes the title into the file as it is: escape it,
        // or the "&" in the window's title makes the drawing invalid XML.
        svg.setTitle(QString(kPumpFormTitle).toHtmlEscaped());
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        PaintExport(painter);
        return painter.end() && QFileInfo(file).size() > 0;
    }
    if (suffix == "png") {
        const qreal ratio = chartView_->devicePixelRatioF();
        QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintExport(painter);
        painter.end();
        return image.save(file, "PNG");
    }
    return false;
}

void TPumpCurveForm::ExportCommand() {
    const QString start = (ExportStart ? ExportStart() : QString("Pump curve")) + ".png";
    QString filter = kExportFilters.front();
    QString file;
    if (AskExportFile) {
        file = AskExportFile(this, start, kExportFilters, &filter);
    } else {
        QFileDialog dialog(this, "Export Plot");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters(kExportFilters);
        dialog.selectFile(start);
        dialog.setDefaultSuffix("png");
        // The name offered and the extension added follow the type chosen.
        connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
            dialog.setDefaultSuffix(FilterSuffix(chosen));
        });
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            file = dialog.selectedFiles().first();
            filter = dialog.selectedNameFilter();
        }
    }
    if (file.isEmpty()) return;
    if (QFileInfo(file).suffix().isEmpty()) file += "." + FilterSuffix(filter);
    if (!ExportChart(file)) messages_->setText("The plot could not be written to " + file + ".");
}

void TPumpCurveForm::showEvent(QShowEvent* event) {
    dockButton_->setVisible(static_cast<bool>(OnDock));
    QWidget::showEvent(event);
    if (stale_) Redraw();
}

void TPumpCurveForm::SavePlacement() const {
    // Docked, the window has no place of its own to keep.
    if (!isWindow()) return;
    SaveWindowPlacement(*this, AppSettings(), "PumpCurveForm");
}

void TPumpCurveForm::RestorePlacementFromSettings() {
    RestoreWindowPlacement(*this, AppSettings(), "PumpCurveForm", true);
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
