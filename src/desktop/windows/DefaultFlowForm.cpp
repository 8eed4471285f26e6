// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/DefaultFlowForm.h"

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "base/Numbers.h"
#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/EditOnClick.h"
#include "desktop/widgets/Messages.h"
#include "engine/units/UnitView.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {
// The maximum flows are held in l/s and shown "%0.2f" in SI.
TUnitView FlowView(const TUnitChoice& u) {
    return TUnitView(u, qtFlow, {"l/s", "%0.2f", Times(1000), Times(0.001)}, kNoHeadDensity);
}
TUnitView SizeView(const TUnitChoice& u) { return TUnitView(u, qtPipeSize, {"mm", "%0.0f", Times(1)}, kNoHeadDensity); }
} // namespace

TDefaultFlowForm::TDefaultFlowForm(TProjectContext project, QWidget* parent)
    : TCustomForm("DefaultFlowForm", "Default Flows", parent), project_(project) {
    connect(AddButton("Accept"), &QAction::triggered, this, [this] { AcceptClick(); });
    connect(AddButton("Restore"), &QAction::triggered, this, [this] { RestoreClick(); });
    connect(AddButton("Cancel"), &QAction::triggered, this, &QDialog::reject);
    SetStatusText("These are default auto-flows");

    grid_ = new TEditOnClick<QTableWidget>(BoreCount, 2, this);
    grid_->setHorizontalHeaderLabels({"Bore", "Max Flow"});
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->horizontalHeader()->setSectionsClickable(false);
    grid_->setColumnWidth(0, 75);
    grid_->setColumnWidth(1, 100);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    // The bore column is a fixed heading column: shown like the header.
    const QBrush fixed = QApplication::palette().brush(QPalette::Button);
    for (int b = 0; b < BoreCount; ++b) {
        auto* bore = new QTableWidgetItem(QString::fromLatin1(BoreName[static_cast<std::size_t>(b)]));
        bore->setFlags(Qt::ItemIsEnabled);
        bore->setBackground(fixed);
        grid_->setItem(b, 0, bore);
        grid_->setItem(b, 1, new QTableWidgetItem);
    }
    Body()->addWidget(grid_, 1);
    resize(75 + 100 + 40, 420);
    FitToolBar();
    ShowRowsOf(grid_, BoreCount);

    units_ = DisplayUnits();
    ShowUnitTexts();
    RestorePlacement(true);
    // mf holds the stored flows, rounded to two decimals, since start-up.
    for (std::size_t b = 0; b < flows_.size(); ++b)
        flows_[b] = project_.Tables.BoreTable[b].mf;
    text_ = AppSettings().Read(settings::MaxFlows);
    FillGrid(flows_);
    grid_->setCurrentCell(0, 1);
}

void TDefaultFlowForm::ShowUnitTexts() {
    const TUnitView flow = FlowView(units_), size = SizeView(units_);
    // The SI grid has always shown no unit in its caption.
    grid_->setHorizontalHeaderLabels(
        {"Bore", flow.IsMetric() ? QString("Max Flow") : QString::fromStdString(flow.Caption("Max Flow, "))});
    for (int b = 0; b < BoreCount; ++b)
        grid_->item(b, 0)->setText(
            size.IsMetric() ? QString::fromLatin1(BoreName[static_cast<std::size_t>(b)])
                            : QString::fromStdString(size.Text(NominalOf(project_.Tables, b))));
}

void TDefaultFlowForm::showEvent(QShowEvent* event) {
    if (!(units_ == DisplayUnits())) {
        // The flows in the grid are kept, shown in the new unit.
        std::vector<std::string> stored;
        try {
            stored = StoredTexts();
        } catch (const ConvertError&) {
            stored.clear(); // a cell being typed that is not a number: show the flows in force
        }
        units_ = DisplayUnits();
        ShowUnitTexts();
        TFlowList shown = flows_;
        for (std::size_t b = 0; b < stored.size() && b < shown.size(); ++b) shown[b] = StrToFloat(stored[b]);
        FillGrid(shown);
    }
    TCustomForm::showEvent(event);
}

void TDefaultFlowForm::FillGrid(const TFlowList& flows) {
    const TUnitView flow = FlowView(units_);
    for (int b = 0; b < BoreCount; ++b) {
        const double f = flows[static_cast<std::size_t>(b)];
        grid_->item(b, 1)->setText(QString::fromStdString(flow.IsMetric() ? FlowText(f) : flow.TextFromMetric(f)));
    }
}

std::vector<std::string> TDefaultFlowForm::StoredTexts() const {
    const TUnitView flow = FlowView(units_);
    std::vector<std::string> texts = CellTexts();
    if (flow.IsMetric()) return texts;
    for (std::string& text : texts) text = FlowText(flow.MetricFromShown(StrToFloat(text)));
    return texts;
}

std::vector<std::string> TDefaultFlowForm::CellTexts() const {
    std::vector<std::string> texts;
    for (int b = 0; b < BoreCount; ++b) texts.push_back(grid_->item(b, 1)->text().toStdString());
    return texts;
}

bool TDefaultFlowForm::AcceptClick() {
    // Take a cell still being edited.
    if (QWidget* editor = grid_->indexWidget(grid_->currentIndex())) {
        QMetaObject::invokeMethod(grid_, "commitData", Q_ARG(QWidget*, editor));
        QMetaObject::invokeMethod(grid_, "closeEditor", Q_ARG(QWidget*, editor),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
    const std::vector<std::string> cells = CellTexts();
    const TUnitView flow = FlowView(units_);
    std::vector<std::string> texts;
    try {
        for (std::size_t b = 0; b < cells.size(); ++b) {
            // In another unit the flow is taken as the text it is stored as
            // (l/s to two decimals), so this run and the next agree.
            texts.push_back(flow.IsMetric() ? cells[b] : FlowText(flow.MetricFromShown(StrToFloat(cells[b]))));
            flows_[b] = StrToFloat(texts.back());
            project_.Tables.BoreTable[b].mf = flows_[b];
        }
    } catch (const ConvertError& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return false;
    }
    text_ = JoinMaxFlows(texts);
    accept();
    return true;
}

void TDefaultFlowForm::RestoreClick() {
    FillGrid(BuiltInMaxFlows);
    TFlowList stored = BuiltInMaxFlows;
    std::vector<std::string> texts;
    for (double f : stored) texts.push_back(FlowText(f));
    text_ = JoinMaxFlows(texts);
    Store();
}

void TDefaultFlowForm::Store() {
    try {
        SavePlacement();
        AppSettings().Write(settings::MaxFlows, text_);
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
    }
}

void TDefaultFlowForm::done(int result) {
    // Whatever the result, the placement and the text in force are kept.
    Store();
    TCustomForm::done(result);
}

} // namespace dvx::ui
