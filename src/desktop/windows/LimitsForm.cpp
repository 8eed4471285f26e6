// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/windows/LimitsForm.h"

#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "base/Numbers.h"
#include "storage/settings/Defaults.h"
#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"
#include "desktop/widgets/Messages.h"
#include "engine/units/UnitView.h"
#include "desktop/widgets/FmtEdit.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace dvx::ui {

namespace {
// The limits are held in Pa/m and m/s, the units the SI dialog shows.
TUnitView GradientView(double density) { return TUnitView(qtGradient, {"Pa/m", "%0.1f", Times(1)}, density); }
TUnitView VelocityView() { return TUnitView(qtVelocity, {"m/s", "%0.1f", Times(1)}); }
const double kGradientRange[2] = {1001, 3000}; // Pa/m
const double kVelocityRange[2] = {3.1, 4.0};   // m/s

void ShowIn(TFmtEdit* edit, QLabel* unit, const TUnitView& view, const double range[2], double limit) {
    unit->setText(QString::fromStdString(view.Label()));
    edit->SetFormatStr(view.NumberFormat());
    edit->RangeLo = view.ShownFromMetric(range[0]);
    edit->RangeHi = view.ShownFromMetric(range[1]);
    edit->SetText(view.IsMetric() ? LimitText(limit) : view.TextFromMetric(limit));
}
} // namespace

TLimitsForm::TLimitsForm(TProjectContext project, QWidget* parent)
    : TCustomForm("LimitsForm", "Warning Limits", parent), project_(project) {
    connect(AddButton("Accept"), &QAction::triggered, this, [this] { AcceptClick(); });
    connect(AddButton("Cancel"), &QAction::triggered, this, &QDialog::reject);
    SetStatusText("These limits are for warnings only");

    auto* grid = new QGridLayout;
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    auto field = [&](int row, const QString& caption, const char* format, double lo, double hi, QLabel*& unit) {
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
        unit = new QLabel(this);
        grid->addWidget(unit, row, 2);
        return edit;
    };
    edPRate_ = field(0, "Pressure Limit", "%0.1f", kGradientRange[0], kGradientRange[1], prateUnit_);
    edMaxV_ = field(1, "Velocity Limit", "%0.1f", kVelocityRange[0], kVelocityRange[1], maxVUnit_);
    QLabel* freezeUnit = nullptr;
    edFreeze_ = field(2, "Freezing Margin", "%0.1f", 0, kMaxFreezingMargin, freezeUnit);
    freezeUnit->setText("K");
    grid->setColumnStretch(3, 1);
    Body()->addLayout(grid);
    Body()->addStretch(1);
    resize(260, sizeHint().height());
    FitToolBar();

    RestorePlacement(false);
    FillFields();
}

void TLimitsForm::FillFields() {
    ShowIn(edPRate_, prateUnit_, GradientView(LiquidDensity(project_.Liquid)), kGradientRange, project_.Tables.GradientLimit);
    ShowIn(edMaxV_, maxVUnit_, VelocityView(), kVelocityRange, project_.Tables.VelocityLimit);
    filledPRate_ = edPRate_->Text();
    filledMaxV_ = edMaxV_->Text();
    edFreeze_->SetText(LimitText(project_.Tables.FreezingMargin));
    filledFreeze_ = edFreeze_->Text();
}

void TLimitsForm::showEvent(QShowEvent* event) {
    FillFields();
    edPRate_->setFocus();
    TCustomForm::showEvent(event);
}

bool TLimitsForm::AcceptClick() {
    // A value typed and not yet checked (the tool button takes no focus)
    // goes through the field's range rule first.
    for (TFmtEdit* edit : {edPRate_, edMaxV_, edFreeze_}) {
        if (!edit->ValidateWithBeep()) {
            edit->setFocus();
            return false;
        }
    }
    const TUnitView gradient = GradientView(LiquidDensity(project_.Liquid)), velocity = VelocityView();
    try {
        // In SI the limit is the text, as it has always been; in another
        // unit an untouched field keeps the limit exactly.
        if (gradient.IsMetric() || edPRate_->Text() != filledPRate_)
            project_.Tables.GradientLimit = gradient.MetricFromShown(StrToFloat(edPRate_->Text()));
        if (velocity.IsMetric() || edMaxV_->Text() != filledMaxV_)
            project_.Tables.VelocityLimit = velocity.MetricFromShown(StrToFloat(edMaxV_->Text()));
        if (edFreeze_->Text() != filledFreeze_)
            project_.Tables.FreezingMargin = StrToFloat(edFreeze_->Text());
    } catch (const ConvertError& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
        return false;
    }
    try {
        SavePlacement();
        // The settings keep Pa/m and m/s, whatever is shown.
        AppSettings().Write(settings::PRate, gradient.IsMetric()
                                                 ? edPRate_->Text()
                                                 : LimitText(project_.Tables.GradientLimit));
        AppSettings().Write(settings::VMax, velocity.IsMetric()
                                                ? edMaxV_->Text()
                                                : LimitText(project_.Tables.VelocityLimit));
        // Written once changed, so that a settings file nobody touched stays as it was.
        if (edFreeze_->Text() != filledFreeze_) AppSettings().Write(settings::FreezeMargin, edFreeze_->Text());
    } catch (const std::exception& e) {
        ShowMessage(this, MsgKind::Error, QString::fromUtf8(e.what()));
    }
    accept();
    return true;
}

} // namespace dvx::ui
