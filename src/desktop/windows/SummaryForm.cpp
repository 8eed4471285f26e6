// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/SummaryForm.h"

#include "engine/units/UnitView.h"
#include "storage/settings/Placement.h"
#include "storage/settings/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {
const char* const kWindowName = "SummaryForm";
}

TSummaryForm::TSummaryForm(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(kWindowName);
    setWindowTitle("Project Summary");
    setModal(true);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    close_ = bar->addAction("Close");
    connect(close_, &QAction::triggered, this, &QDialog::accept);

    list_ = new QTableWidget(SummaryRowCount, 3, this);
    list_->setHorizontalHeaderLabels({"Description", "Qty", "dP, kPa"});
    list_->verticalHeader()->hide();
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setColumnWidth(0, 139);
    list_->setColumnWidth(1, 60);
    list_->setColumnWidth(2, 80);
    for (int r = 0; r < SummaryRowCount; ++r) {
        list_->setItem(r, 0, new QTableWidgetItem(SummaryCaption(r)));
        list_->setItem(r, 1, new QTableWidgetItem("0"));
        list_->setItem(r, 2, new QTableWidgetItem("0"));
    }

    status_ = new QStatusBar(this);
    status_->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(list_, 1);
    layout->addWidget(status_);
    // Compact rows, and a window that shows the eight of them whole.
    const int rowHeight = list_->fontMetrics().height() + 6;
    list_->verticalHeader()->setDefaultSectionSize(rowHeight);
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int listHeight = list_->horizontalHeader()->sizeHint().height() + SummaryRowCount * rowHeight +
                           2 * list_->frameWidth() + 2;
    list_->setMinimumHeight(listHeight);
    resize(139 + 60 + 80 + 2 * list_->frameWidth() + 20,
           bar->sizeHint().height() + listHeight + status_->sizeHint().height());

    QScreen* screen = QApplication::primaryScreen();
    const QSize size = screen != nullptr ? screen->size() : QSize(1024, 768);
    const TWindowPlacement p = RestorePlacement(AppSettings(), kWindowName, {x(), y(), width(), height(), 0},
                                                true, size.width(), size.height());
    move(p.Left, p.Top);
    resize(p.Width, p.Height);
}

void TSummaryForm::Recompute() {
    if (circuit_ == nullptr) return;
    const TSummary summary = SummarizeCircuit(*circuit_, LiquidDensity(liquid_));
    list_->horizontalHeaderItem(2)->setText(QString::fromStdString(SummaryPressureCaption()));
    for (int r = 0; r < SummaryRowCount; ++r) {
        list_->item(r, 1)->setText(QString::fromStdString(SummaryQuantityText(summary, r)));
        list_->item(r, 2)->setText(QString::fromStdString(SummaryPressureText(summary, r)));
    }
    status_->showMessage(QString::fromStdString(SummaryStatusText(summary)));
}

void TSummaryForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) Recompute();
}

void TSummaryForm::done(int result) {
    try {
        SavePlacement(AppSettings(), kWindowName, {x(), y(), width(), height(), 0});
    } catch (const std::exception&) {
        // The window closes all the same; it opens at its last place next time.
    }
    QDialog::done(result);
}

} // namespace dvx::ui
