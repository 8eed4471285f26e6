// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/Warnings.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/units/UnitView.h"
#include "desktop/widgets/WindowPlacement.h"
#include "storage/settings/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QListWidget>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {
const char* const kWindowName = "WarningsForm";
}

TWarningsForm::TWarningsForm(TProjectContext project, QWidget* parent)
    : QDialog(parent, Qt::Tool), project_(project) {
    setObjectName(kWindowName);
    setWindowTitle("Warnings");
    setModal(true);
    resize(420, 260);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    autoSize_ = bar->addAction("Auto Size");
    autoFlow_ = bar->addAction("Auto Flow");
    close_ = bar->addAction("Close");
    connect(autoSize_, &QAction::triggered, this, [this] { AutoSizeClick(); });
    connect(autoFlow_, &QAction::triggered, this, [this] { AutoFlowClick(); });
    connect(close_, &QAction::triggered, this, &QDialog::accept);

    list_ = new QListWidget(this);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Fixed pitch, so that the right-aligned item numbers line up.
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(list_, &QListWidget::currentRowChanged, this, [this](int line) { ShowDetail(line); });

    status_ = new QStatusBar(this);
    status_->setSizeGripEnabled(false);
    status_->showMessage("Select warning item and auto correct as required");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(list_, 1);
    layout->addWidget(status_);

    RestoreWindowPlacement(*this, AppSettings(), kWindowName, true);
}

void TWarningsForm::BuildWarningList(const TCircuit& circuit) {
    const QSignalBlocker block(list_); // rebuilding selects nothing
    list_->clear();
    // The project's liquid heads the list when it is close to freezing.
    lines_ = project_.Liquid != nullptr
                 ? ui::BuildWarningList(circuit, *project_.Liquid, project_.Tables.FreezingMargin, project_)
                 : ui::BuildWarningList(circuit);
    for (const TWarningLine& line : lines_) list_->addItem(QString::fromStdString(line.Text));
}

void TWarningsForm::RefreshDetail() { ShowDetail(list_->currentRow()); }

TBranch* TWarningsForm::SelectedItem() const {
    const int line = list_->currentRow();
    if (line < 0 || line >= static_cast<int>(lines_.size())) return nullptr;
    return lines_[static_cast<std::size_t>(line)].Item;
}

void TWarningsForm::ShowDetail(int line) {
    if (line < 0 || line >= static_cast<int>(lines_.size())) return;
    const TWarningLine& shown = lines_[static_cast<std::size_t>(line)];
    // The liquid's line has no item: its text is its detail.
    status_->showMessage(QString::fromStdString(shown.Item != nullptr ? WarningDetail(*shown.Item, LiquidDensity(project_.Liquid)) : shown.Text));
}

void TWarningsForm::RemoveSelected() {
    const int line = list_->currentRow();
    {
        const QSignalBlocker block(list_);
        delete list_->takeItem(line);
        lines_.erase(lines_.begin() + line);
    }
    if (!lines_.empty()) {
        list_->setCurrentRow(0);
        ShowDetail(0);
    }
}

void TWarningsForm::AutoSizeClick() {
    TBranch* item = SelectedItem();
    if (item == nullptr) return;
    AutoSize(project_, *item);
    ++corrected_;
    RemoveSelected();
}

void TWarningsForm::AutoFlowClick() {
    TBranch* item = SelectedItem();
    if (item == nullptr) return;
    AutoFlow(project_, *item);
    ++corrected_;
    RemoveSelected();
}

void TWarningsForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    corrected_ = 0;
    if (!lines_.empty()) {
        list_->setCurrentRow(0);
        ShowDetail(0);
    }
}

void TWarningsForm::done(int result) {
    try {
        SaveWindowPlacement(*this, AppSettings(), kWindowName);
    } catch (const std::exception&) {
        // The window closes all the same; it opens at its last place next time.
    }
    QDialog::done(result);
}

} // namespace dvx::ui
