// SPDX-License-Identifier: GPL-3.0-or-later
// The Calculate menu: the calculation, the price estimate, the pump and
// system curve, Resize All and Reset All Flows, the liquid, default flows, warning limits and the pipe
// material.

#include "ui/qt/Menu.h"

#include "catalogue/Tables.h"
#include "fluid/Fluid.h"
#include "ui/qt/CircuitModel.h"
#include "ui/qt/CircuitView.h"
#include "ui/qt/DefaultFlowForm.h"
#include "ui/qt/FluidSpecForm.h"
#include "ui/qt/LimitsForm.h"
#include "ui/qt/Messages.h"
#include "ui/qt/PriceForm.h"
#include "ui/qt/PumpCurveForm.h"
#include "ui/qt/Warnings.h"

#include <QAction>
#include <QDialog>

namespace dvx::ui {

void TMainForm::ApplyMaterial() {
    int m = circuit_->Material;
    if (m < 0 || m > 2) return;
    materialActions_[m]->setChecked(true);
    SelectPipeMaterial(m);
}

void TMainForm::ChooseMaterial(int material) {
    materialActions_[material]->setChecked(true);
    // The material is saved with the project: another one is a change to
    // keep, the same one changes nothing.
    if (circuit_->Material == material) return;
    SetSolved(false);
    SetSaved(false);
    circuit_->Material = static_cast<std::uint8_t>(material);
    SelectPipeMaterial(material);
}

void TMainForm::CalcBtnClick() {
    Commit();
    TInvalidItem invalid = circuit_->FindInvalid();
    if (!invalid.AllValid) {
        ShowMessage(this, MsgKind::Information, InvalidItemMessage(invalid));
        const int columns[3] = {gcQuantity, gcFlow, gcPressureDrop};
        MoveCursorTo(invalid.Position, columns[std::clamp(invalid.Column, 0, 2)]);
        grid_->setFocus();
        return;
    }
    try {
        circuit_->Calculate(GroupsActive());
    } catch (const std::exception&) {
        ShowMessage(this, MsgKind::Error, "Pressure drop error.\nCheck your data...");
    }
    RefreshGrid();
    ShowDpPanel();
    SetSolved(circuit_->Solved);
    warningsForm_->BuildWarningList(*circuit_);
}

void TMainForm::ResizeAllCommand() {
    Commit();
    // New bores are a change to the project: closing must not drop them
    // without the unsaved-changes question.
    if (circuit_->Count() > 0) SetSaved(false);
    circuit_->ResizeAll();
    CalcBtnClick();
}

void TMainForm::ResetAllFlowsCommand() {
    Commit();
    // New flows, likewise.
    if (circuit_->Count() > 0) SetSaved(false);
    circuit_->ResetAllFlows();
    CalcBtnClick();
}

void TMainForm::DefaultFlowsCommand() { defaultFlowForm_->exec(); }

void TMainForm::LimitsCommand() { limitsForm_->exec(); }

void TMainForm::WaterSpecCommand() {
    Commit();
    // The sheet edits SystemFluid in place; Cancel has put it back already.
    fluidSpecForm_->SetFluid(SystemFluid);
    if (fluidSpecForm_->exec() != QDialog::Accepted) return;
    SetSaved(false);
    SetSolved(false);
}

void TMainForm::PriceEstimateCommand() {
    CalcBtnClick();
    if (EstimateWithMessages(this, *circuit_)) priceForm_->Execute();
}

void TMainForm::PumpCurveCommand() {
    Commit();
    pumpForm_->show();
    pumpForm_->raise();
    pumpForm_->activateWindow();
}

} // namespace dvx::ui
