// SPDX-License-Identifier: GPL-3.0-or-later
// The Calculate menu: the calculation, the price estimate, the pump and
// system curve, Resize All and Reset All Flows, the liquid, default flows, warning limits and the pipe
// material.

#include "desktop/windows/MainWindow.h"

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/CircuitView.h"
#include "desktop/windows/DefaultFlowForm.h"
#include "desktop/windows/FluidSpecForm.h"
#include "desktop/windows/LimitsForm.h"
#include "desktop/widgets/Messages.h"
#include "desktop/windows/PriceForm.h"
#include "desktop/report/PreviewWindow.h"
#include "desktop/windows/PumpCurveForm.h"
#include "desktop/windows/Warnings.h"
#include "desktop/undo/ItemCommands.h"
#include "desktop/undo/ProjectCommands.h"
#include "desktop/widgets/WindowPlacement.h"
#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"

#include <QAction>
#include <QDialog>
#include <QDockWidget>

namespace dvx::ui {

void TMainForm::ApplyMaterial() {
    int m = circuit_->Material;
    if (m < 0 || m > 2) return;
    materialActions_[m]->setChecked(true);
    SelectPipeMaterial(m);
}

void TMainForm::ChooseMaterial(int material) {
    const int before = circuit_->Material;
    materialActions_[material]->setChecked(true);
    // The material is saved with the project: another one is a change to
    // keep, the same one changes nothing.
    if (circuit_->Material == material) return;
    SetSolved(false);
    SetSaved(false);
    circuit_->Material = static_cast<std::uint8_t>(material);
    SelectPipeMaterial(material);
    Record(new TMaterialCommand(*this, before, material));
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
    const TItemCopies before = CopyItems(*circuit_);
    circuit_->ResizeAll();
    RecordValues(before, [this](TValueChange change) { return new TSizeFlowCommand(*this, std::move(change), "Resize All"); });
    CalcBtnClick();
}

void TMainForm::ResetAllFlowsCommand() {
    Commit();
    // New flows, likewise.
    if (circuit_->Count() > 0) SetSaved(false);
    const TItemCopies before = CopyItems(*circuit_);
    circuit_->ResetAllFlows();
    RecordValues(before,
                 [this](TValueChange change) { return new TSizeFlowCommand(*this, std::move(change), "Reset All Flows"); });
    CalcBtnClick();
}

void TMainForm::DefaultFlowsCommand() { defaultFlowForm_->exec(); }

void TMainForm::LimitsCommand() { limitsForm_->exec(); }

void TMainForm::WaterSpecCommand() {
    Commit();
    // The sheet edits SystemFluid in place; Cancel has put it back already.
    fluidSpecForm_->SetFluid(SystemFluid);
    const TLiquid before = *SystemFluid;
    if (fluidSpecForm_->exec() != QDialog::Accepted) return;
    SetSaved(false);
    SetSolved(false);
    Record(new TLiquidCommand(*this, before, *SystemFluid));
}

void TMainForm::PriceEstimateCommand() {
    CalcBtnClick();
    if (!EstimateWithMessages(this, *circuit_)) return;
    preview_->SetDocumentFolder(ProjectFolder());
    priceForm_->Execute();
}

void TMainForm::PumpCurveCommand() {
    Commit();
    // Docked the last time, docked again; until the user has placed it, the
    // window opens beside this one, or docked at its bottom where there is
    // no room beside it (it would cover the grid's columns).
    const bool firstOpening = pumpForm_->isWindow() && !pumpForm_->isVisible() &&
                              !HasStoredPlacement(AppSettings(), "PumpCurveForm");
    if (pumpForm_->isWindow() && !pumpForm_->isVisible() &&
        (AppSettings().ReadBool(settings::kToolsSection, "PumpDocked", false) || (firstOpening && NoRoomBeside())))
        SetPumpDocked(true);
    else if (firstOpening)
        PlacePumpWindowBeside();
    if (!pumpForm_->isWindow()) {
        pumpDock_->show();
        pumpDock_->raise();
        pumpForm_->show();
        pumpForm_->setFocus();
        return;
    }
    pumpForm_->show();
    pumpForm_->raise();
    pumpForm_->activateWindow();
}

} // namespace dvx::ui
