// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/CustomForm.h"

#include "desktop/widgets/WindowPlacement.h"
#include "desktop/widgets/ScreenFit.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/DialogKeys.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QShowEvent>
#include <QStyle>
#include <QTableView>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace dvx::ui {

TCustomForm::TCustomForm(const QString& name, const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolBar_ = new QToolBar(this);
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(toolBar_);
    body_ = new QVBoxLayout;
    body_->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(body_, 1);
    auto* bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    status_ = new QLabel(bar);
    status_->setContentsMargins(4, 0, 4, 0);
    bar->addWidget(status_, 1);
    layout->addWidget(bar);
    TDialogKeys::Install(this);
}

QAction* TCustomForm::AddButton(const QString& caption, const QString& hint) {
    QAction* action = toolBar_->addAction(caption);
    QString tip = hint.isEmpty() ? QString(caption).remove('&') : hint;
    action->setToolTip(tip);
    action->setObjectName(QString(caption).remove('&'));
    return action;
}

QAction* TCustomForm::Button(const QString& caption) const {
    for (QAction* action : toolBar_->actions())
        if (action->text() == caption || action->objectName() == caption) return action;
    return nullptr;
}

void TCustomForm::FitToolBar() {
    int width = 0;
    int shown = 0;
    for (QAction* action : toolBar_->actions()) {
        if (!action->isVisible()) continue;
        if (QWidget* button = toolBar_->widgetForAction(action)) width += button->sizeHint().width();
        ++shown;
    }
    const QMargins outer = toolBar_->contentsMargins();
    const QMargins inner = toolBar_->layout()->contentsMargins();
    width += outer.left() + outer.right() + inner.left() + inner.right() + toolBar_->layout()->spacing() * shown + 8;
    // The status text is read in full too.
    width = std::max(width, status_->sizeHint().width() + 24);
    setMinimumWidth(width);
    if (this->width() < width) resize(width, height());
}

void TCustomForm::SetStatusText(const QString& text) { status_->setText(text); }

void TCustomForm::ShowRowsOf(QTableView* table, int rows) {
    rowsTable_ = table;
    rowsWanted_ = rows;
}

void TCustomForm::showEvent(QShowEvent* event) {
    if (rowsTable_ != nullptr && !event->spontaneous()) {
        if (layout() != nullptr) layout()->activate();
        const QTableView* t = rowsTable_;
        const int frame = 2 * t->frameWidth();
        const int scrollBar = t->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, t);
        int columns = t->verticalHeader()->isVisible() ? t->verticalHeader()->width() : 0;
        for (int c = 0; c < t->model()->columnCount(); ++c) columns += t->columnWidth(c);
        int tableHeight = t->horizontalHeader()->isVisible() ? t->horizontalHeader()->sizeHint().height() : 0;
        for (int r = 0; r < std::min(rowsWanted_, t->model()->rowCount()); ++r) tableHeight += t->rowHeight(r);
        // Everything around the table stays as laid out now.
        const int wantWidth = width() - t->width() + columns + frame + scrollBar;
        const int wantHeight = height() - t->height() + tableHeight + frame + 2;
        resize(std::max(width(), wantWidth), std::max(height(), wantHeight));
        FitOnScreen(this); // up to the screen's size
    }
    QDialog::showEvent(event);
}

void TCustomForm::RestorePlacement(bool restoreSize) {
    RestoreWindowPlacement(*this, AppSettings(), objectName().toStdString(), restoreSize);
}

void TCustomForm::SavePlacement() {
    SaveWindowPlacement(*this, AppSettings(), objectName().toStdString());
}

} // namespace dvx::ui
