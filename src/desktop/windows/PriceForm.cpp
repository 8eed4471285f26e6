// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/PriceForm.h"

#include "base/Money.h"
#include "engine/cost/PriceEstimate.h"
#include "engine/hydraulics/Circuit.h"
#include "base/platform/Folders.h"
#include "base/platform/Version.h"
#include "desktop/report/QtPageCanvas.h"
#include "desktop/report/PreviewWindow.h"
#include "desktop/widgets/WindowPlacement.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/windows/CostForm.h"
#include "desktop/windows/LabourForm.h"
#include "desktop/widgets/Messages.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {
constexpr const char* kPlacementName = "PriceForm";
}

TPriceForm::TPriceForm(TProjectContext project, QWidget* parent)
    : QDialog(parent), project_(project) {
    setObjectName("PriceForm");
    setWindowTitle("Price");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(bar->addAction("Report"), &QAction::triggered, this, [this] { ReportClick(); });
    connect(bar->addAction("Material"), &QAction::triggered, this, [this] { MaterialClick(); });
    connect(bar->addAction("Labour"), &QAction::triggered, this, [this] { LabourClick(); });
    connect(bar->addAction("Re-Calc"), &QAction::triggered, this, [this] { ReCalcClick(); });
    connect(bar->addAction("Close"), &QAction::triggered, this, [this] { CloseClick(); });
    layout->addWidget(bar);

    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList lines;
    for (const char* line : PriceExplanation) lines << QString::fromUtf8(line);
    text_->setPlainText(lines.join('\n'));
    text_->setFixedHeight(text_->fontMetrics().lineSpacing() * 5 + 14);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(text_);

    list_ = new QTableWidget(PriceGroupCount, 3, this);
    // The currency is named once, at creation.
    list_->setHorizontalHeaderLabels(
        {"Description", QString::fromStdString(WithCurrency("Material")), "Labour (hrs)"});
    list_->verticalHeader()->hide();
    list_->setShowGrid(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->horizontalHeader()->setSectionsClickable(false);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->setColumnWidth(0, 150);
    list_->setColumnWidth(1, 130);
    list_->setColumnWidth(2, 110);
    list_->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < PriceGroupCount; ++r) {
        list_->setItem(r, 0, new QTableWidgetItem(PriceGroupName[static_cast<std::size_t>(r)]));
        for (int c = 1; c < 3; ++c) {
            auto* item = new QTableWidgetItem("0");
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            list_->setItem(r, c, item);
        }
    }
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(list_, 1);

    auto* statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    status_ = new QLabel(statusBar);
    statusBar->addWidget(status_, 1);
    layout->addWidget(statusBar);

    const int listHeight = list_->horizontalHeader()->sizeHint().height() +
                           PriceGroupCount * list_->verticalHeader()->defaultSectionSize() + 4;
    resize(440, bar->sizeHint().height() + text_->height() + listHeight + statusBar->sizeHint().height());
    RestoreWindowPlacement();
    ReportHook = [this] { ShowPriceReport(); };
}

TPriceForm::~TPriceForm() = default;

void TPriceForm::SetEditors(TCostForm* costForm, TLabourForm* labourForm) {
    costForm_ = costForm;
    labourForm_ = labourForm;
}

int TPriceForm::Execute() { return exec(); }

void TPriceForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        valid_ = true;
        FillList();
    }
    QDialog::showEvent(event);
}

QString TPriceForm::StatusText() const { return status_->text(); }

QString TPriceForm::Cell(int row, int column) const {
    QTableWidgetItem* item = list_->item(row, column);
    return item == nullptr ? QString() : item->text();
}

void TPriceForm::SetStatus(const QString& text) { status_->setText(text); }

void TPriceForm::FillList() {
    if (circuit_ == nullptr) return;
    const auto rows = SumPriceGroups(project_, *circuit_);
    for (int r = 0; r < PriceGroupCount; ++r) {
        list_->item(r, 1)->setText(QString::fromStdString(PriceFigure(rows[static_cast<std::size_t>(r)].Material)));
        list_->item(r, 2)->setText(QString::fromStdString(PriceFigure(rows[static_cast<std::size_t>(r)].Hours)));
    }
    SetStatus(QString::fromStdString(PriceStatusLine(*circuit_)));
}

void TPriceForm::ReportClick() {
    if (!valid_) return;
    if (ReportHook) ReportHook();
}

void TPriceForm::MaterialClick() {
    if (costForm_ != nullptr) costForm_->Execute();
    valid_ = false;
    SetStatus(CostChangedNotice);
}

void TPriceForm::LabourClick() {
    if (labourForm_ != nullptr) labourForm_->Execute();
    valid_ = false;
    SetStatus(LabourChangedNotice);
}

bool EstimateWithMessages(QWidget* parent, const TProjectContext& project, TCircuit& circuit) {
    std::string message;
    bool complete = false;
    try {
        complete = circuit.Estimate(project, message);
    } catch (const std::exception& e) {
        // An item whose bore or fitting type lies outside the tables.
        ShowMessage(parent, MsgKind::Error, QString::fromUtf8(e.what()));
        return false;
    }
    if (!complete) ShowMessage(parent, MsgKind::Plain, QString::fromStdString(IncompletePriceMessage(message)));
    return complete;
}

void TPriceForm::ReCalcClick() {
    if (circuit_ == nullptr || !EstimateWithMessages(this, project_, *circuit_)) return;
    valid_ = true;
    FillList();
}

TPreviewForm* TPriceForm::Preview() {
    if (preview_ == nullptr) {
        preview_ = new TPreviewForm(this, &AppSettings());
        // The preview's messages go through the program's message seam.
        preview_->Seams().message = [this](TMessageKind kind, const QString& text) {
            MsgKind k = kind == TMessageKind::Information ? MsgKind::Information
                        : kind == TMessageKind::Warning   ? MsgKind::Warning
                        : kind == TMessageKind::Error     ? MsgKind::Error
                                                          : MsgKind::Plain;
            ShowMessage(preview_, k, text);
        };
    }
    return preview_;
}

void TPriceForm::ShowPriceReport() {
    if (circuit_ == nullptr) return;
    const std::string dataFolder = DataFolder();
    const std::string programFolder = ProgramFolder();
    QImage logo(QString::fromStdString(PriceLogoFile(dataFolder, programFolder)));
    logo_.reset(logo.isNull() ? nullptr : new TQtPageImage(std::move(logo)));

    TPriceReportData data;
    for (int r = 0; r < PriceGroupCount; ++r)
        data.Rows.push_back({Cell(r, 0).toStdString(), Cell(r, 1).toStdString(), Cell(r, 2).toStdString()});
    data.TotalLine = PriceReportTotalLine(*circuit_);
    data.CurrencySymbol = CurrentMoneyFormat().symbol;
    data.Heading1 = circuit_->Heading1;
    data.Heading2 = circuit_->Heading2;
    data.Version = ProgramVersionInfo().Version;

    TPreviewForm* preview = Preview();
    if (!report_.Setup(preview->Engine(), std::move(data), LoadPriceLetterhead(dataFolder, programFolder), logo_.get())) {
        ShowMessage(this, MsgKind::Error, "Error initialising report");
        return;
    }
    preview->SetReport(&report_);
    preview->exec();
}

void TPriceForm::CloseClick() { done(QDialog::Accepted); }

void TPriceForm::done(int result) {
    SaveWindowPlacement();
    QDialog::done(result);
}

void TPriceForm::RestoreWindowPlacement() {
    dvx::RestoreWindowPlacement(*this, AppSettings(), kPlacementName, true);
}

void TPriceForm::SaveWindowPlacement() {
    try {
        dvx::SaveWindowPlacement(*this, AppSettings(), kPlacementName);
    } catch (const std::exception&) {
        // The placement is a convenience; a store that cannot be written
        // does not keep the window open.
    }
}

} // namespace dvx::ui
