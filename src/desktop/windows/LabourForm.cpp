// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/LabourForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>

namespace dvx::ui {

TLabourForm::TLabourForm(TProjectContext project, QWidget* parent)
    : TCostEditor(project, "Labour Rate Editor", TCostTables::LabourTimes, parent) {
    setObjectName("LabourForm");
    auto* row = new QHBoxLayout(Panel());
    row->setContentsMargins(8, 4, 8, 4);
    label_ = new QLabel(Panel());
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, QColor(128, 0, 0)); // maroon
    label_->setPalette(palette);
    QFont font = label_->font();
    font.setBold(true);
    label_->setFont(font);
    row->addWidget(label_);
    row->addStretch(1);
    connect(Tabs(), &QTabWidget::currentChanged, this, [this] { ShowTabLabel(); });
    ShowTabLabel();
}

void TLabourForm::FillFromTables() {
    TCostEditor::FillFromTables();
    ShowTabLabel();
}

void TLabourForm::ShowTabLabel() {
    label_->setText(Tabs()->currentWidget() == PipeGrid() ? "Straight Pipe Labour Rate, Hours/Meter"
                                                          : "Fittings Labour Rate, Hours/Item");
}

} // namespace dvx::ui
