// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/CostForm.h"

#include "engine/catalogue/Tables.h"
#include "base/Format.h"
#include "base/Money.h"
#include "base/Numbers.h"
#include "desktop/widgets/DialogKeys.h"
#include "desktop/widgets/FmtEdit.h"

#include <QHBoxLayout>
#include <QLabel>

namespace dvx::ui {

TCostForm::TCostForm(TProjectContext project, QWidget* parent)
    : TCostEditor(project, "Pipe and Fitting Costs", TCostTables::Prices, parent) {
    setObjectName("CostForm");
    auto* row = new QHBoxLayout(Panel());
    row->setContentsMargins(8, 4, 8, 4);
    row->addWidget(new QLabel("Labour cost", Panel()));
    rateEdit_ = new TFmtEdit(Panel());
    rateEdit_->SetFormatStr("%0.2f");
    rateEdit_->FormatType = ft_Fixed;
    rateEdit_->SigDigs = 5;
    rateEdit_->SetText("100.00");
    rateEdit_->setFixedWidth(80);
    rateEdit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(rateEdit_);
    perHour_ = new QLabel(QString::fromStdString(PerHourText()), Panel());
    row->addWidget(perHour_);
    row->addStretch(1);
    // A typed labour cost is a change to save like a cell's.
    connect(rateEdit_, &QLineEdit::textEdited, this, [this] { SetModified(true); });
    TDialogKeys::Install(this);
}

void TCostForm::FillFromTables() {
    TCostEditor::FillFromTables();
    rateEdit_->SetText(FormatFloat("%0.2f", Project().Tables.LabourRate));
    perHour_->setText(QString::fromStdString(PerHourText()));
}

void TCostForm::ReadExtraFields() {
    rateEdit_->Validate();
    Project().Tables.LabourRate = StrToFloat(rateEdit_->Text());
}

} // namespace dvx::ui
