// SPDX-License-Identifier: GPL-3.0-or-later
// The Calculate menu: the calculation, the price estimate, the pump and
// system curve, Resize All and Reset All Flows, the liquid, default flows, warning limits and the pipe
// material.

#include "desktop/windows/MainWindow.h"

#include "engine/catalogue/Tables.h"
#include "engine/hydraulics/MaterialChange.h"
#include "presentation/ui/BoreMoveText.h"
#include "engine/fluid/Fluid.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/CircuitView.h"
#include "desktop/windows/DefaultFlowForm.h"
#include "desktop/windows/FluidSpecForm.h"
#include "desktop/windows/InsertForm.h"
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
#include <QActionGroup>
#include <QMenu>
#include <QDialog>
#include <QDockWidget>

namespace dvx::ui {

namespace {

// A material's menu text: its name, with "&" shown as itself; one known
// from an opened project only says so.
QString FurtherMaterialText(const TMaterialTable& m) {
    QString text = QString::fromStdString(m.Name).replace('&', "&&");
    if (m.File.empty()) text += " (from the project)";
    return text;
}

} // namespace

void TMainForm::RefreshMaterialActions() {
    if (calcMenu_ == nullptr) return;
    std::vector<std::string> texts;
    for (const TMaterialTable& m : project_.Tables.Materials)
        texts.push_back(FurtherMaterialText(m).toStdString());
    if (texts == furtherMaterialTexts_) return;
    for (QAction* a : furtherMaterialActions_) {
        materialGroup_->removeAction(a);
        calcMenu_->removeAction(a);
        // Until it is deleted it must not answer to the name of its successor.
        a->setObjectName(QString());
        a->deleteLater();
    }
    furtherMaterialActions_.clear();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int code = MaterialCount + static_cast<int>(i);
        QAction* a = calcMenu_->addAction(QString::fromStdString(texts[i]));
        a->setObjectName(MaterialActionName(code));
        connect(a, &QAction::triggered, this, [this, code] { ChooseMaterial(code); });
        a->setCheckable(true);
        materialGroup_->addAction(a);
        furtherMaterialActions_.push_back(a);
    }
    furtherMaterialTexts_ = std::move(texts);
}

QAction* TMainForm::MaterialAction(int material) const {
    if (material >= 0 && material < MaterialCount) return materialActions_[material];
    const int i = material - MaterialCount;
    if (i >= 0 && i < static_cast<int>(furtherMaterialActions_.size()))
        return furtherMaterialActions_[static_cast<std::size_t>(i)];
    return nullptr;
}

void TMainForm::ApplyMaterial() {
    RefreshMaterialActions();
    const int m = circuit_->Material;
    QAction* action = MaterialAction(m);
    if (action == nullptr) return;
    action->setChecked(true);
    project_.Tables.SelectPipeMaterial(m);
    insertForm_->ShowBores();
}

void TMainForm::ChooseMaterial(int material) {
    RefreshMaterialActions(); // the materials may have grown since the menu was made
    const int before = circuit_->Material;
    QAction* action = MaterialAction(material);
    if (action == nullptr) return;
    action->setChecked(true);
    // The material is saved with the project: another one is a change to
    // keep, the same one changes nothing.
    if (circuit_->Material == material) return;
    Commit();
    const TItemBores boresBefore = ItemBores(*circuit_);
    // A material with its own bores moves every item to the nearest of them.
    // The engine works the new bores out in the circuit itself and may
    // refuse the material, in which case nothing is pushed; the command's
    // redo then puts the same material and bores in and brings the menu,
    // the insert window and the grid up to date, as every redo does.
    const auto moves = ChangeCircuitMaterial(project_, *circuit_, material);
    if (!moves) return;
    SetSaved(false);
    const bool moved = ExtraMaterial(project_.Tables, before) != nullptr ||
                       ExtraMaterial(project_.Tables, material) != nullptr;
    Record(moved ? new TMaterialCommand(*this, before, material, boresBefore, ItemBores(*circuit_))
                 : new TMaterialCommand(*this, before, material));
    const std::string name = material < MaterialCount ? std::string(BuiltInMaterialName(material))
                                                      : ExtraMaterial(project_.Tables, material)->Name;
    const std::string note = BoreMoveText(*circuit_, name, *moves);
    if (!note.empty()) ShowMessage(this, MsgKind::Information, QString::fromStdString(note));
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
        circuit_->Calculate(project_, GroupsActive());
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
    // Every item auto-sized, as TCircuit::ResizeAll does, on copies: the
    // command puts the new bores in.
    const TItemCopies before = CopyItems(*circuit_);
    TItemCopies after = CopyItems(*circuit_);
    for (const auto& item : after) AutoSize(project_, *item);
    RecordValues(before, after, [this](TValueChange change) { return new TSizeFlowCommand(*this, std::move(change), "Resize All"); });
    CalcBtnClick();
}

void TMainForm::ResetAllFlowsCommand() {
    Commit();
    // New flows, likewise.
    if (circuit_->Count() > 0) SetSaved(false);
    // Every item auto-flowed, as TCircuit::ResetAllFlows does, on copies.
    const TItemCopies before = CopyItems(*circuit_);
    TItemCopies after = CopyItems(*circuit_);
    for (const auto& item : after) AutoFlow(project_, *item);
    RecordValues(before, after,
                 [this](TValueChange change) { return new TSizeFlowCommand(*this, std::move(change), "Reset All Flows"); });
    CalcBtnClick();
}

void TMainForm::DefaultFlowsCommand() { defaultFlowForm_->exec(); }

void TMainForm::LimitsCommand() { limitsForm_->exec(); }

void TMainForm::WaterSpecCommand() {
    Commit();
    // The sheet edits the project's liquid in place; Cancel has put it back
    // already.
    fluidSpecForm_->SetFluid(project_.Liquid);
    const TLiquid before = *project_.Liquid;
    if (fluidSpecForm_->exec() != QDialog::Accepted) return;
    SetSaved(false);
    // The sheet has changed the liquid itself: the command's redo puts the
    // same liquid in again and marks the results stale.
    Record(new TLiquidCommand(*this, before, *project_.Liquid));
}

void TMainForm::PriceEstimateCommand() {
    CalcBtnClick();
    if (!EstimateWithMessages(this, project_, *circuit_)) return;
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
