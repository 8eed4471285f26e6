// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/LimitsForm.h"

#include "catalogue/Tables.h"
#include "common/Errors.h"
#include "common/Numbers.h"
#include "settings/Defaults.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"
#include "ui/qt/Messages.h"
#include "widgets/qt/FmtEdit.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace dvx::ui {

TLimitsForm::TLimitsForm(QWidget* parent) : TCustomForm("LimitsForm", "Warning Limits", parent) {
    connect(AddButton("Accept"), &QAction::triggered, this, [this] { AcceptClick(); });
    connect(AddButton("Cancel"), &QAction::triggered, this, &QDialog::reject);
    SetStatusText("These limits are for warnings only");

    auto* grid = new QGridLayout;
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    auto field = [&](int row, const QString& caption, const char* format, double lo, double hi, const QString& unit) {
        auto* edit = new TFmtEdit(this);
        edit->SetFormatStr(format);
        edit->RangeLo = lo;
        edit->RangeHi = hi;
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(80);
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(unit, this), row, 2);
        return edit;
    };
    edPRate_ = field(0, "Pressure Limit", "%0.1f", 1001, 3000, "Pa/m");
    edMaxV_ = field(1, "Velocity Limit", "%0.1f", 3.1, 4.0, "m/s");
    grid->setColumnStretch(3, 1);
    Body()->addLayout(grid);
    Body()->addStretch(1);
    resize(260, sizeHint().height());
    FitToolBar();

    RestorePlacement(false);
    FillFields();
}

void TLimitsForm::FillFields() {
    edPRate_->SetText(LimitText(GradientLimit));
    edMaxV_->SetText(LimitText(VelocityLimit));
}

void TLimitsForm::showEvent(QShowEvent* event) {
    FillFields();
    edPRate_->setFocus();
    TCustomForm::showEvent(event);
}

bool TLimitsForm::AcceptClick() {
    // A value typed and not yet checked (the tool button takes no focus)
    // goes through the field's range rule first.
    for (TFmtEdit* edit : {edPRate_, edMaxV_}) {
        if (!edit->ValidateWithBeep()) {
            edit->setFocus();
            return false;
        }
    }
    try {
        GradientLimit = StrToFloat(edPRate_->Text());
        VelocityLimit = StrToFloat(edMaxV_->Text());
    } catch (const ConvertError& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return false;
    }
    try {
        SavePlacement();
        AppSettings().Write(settings::PRate, edPRate_->Text());
        AppSettings().Write(settings::VMax, edMaxV_->Text());
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
    }
    accept();
    return true;
}

} // namespace dvx::ui
