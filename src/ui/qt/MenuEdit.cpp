// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu and the grid's pop-up menu: sort, renumber, insert,
// delete and its undo, AutoSize and AutoFlow of the current item, defaults.

#include "ui/qt/Menu.h"

#include "hydraulics/Calc.h"
#include "ui/qt/CircuitModel.h"
#include "ui/qt/CircuitView.h"
#include "ui/qt/DefaultsForm.h"
#include "ui/qt/InsertForm.h"
#include "ui/qt/Warnings.h"

#include <QAction>
#include <QLabel>

namespace dvx::ui {

void TMainForm::SortCommand(int key) {
    Commit();
    circuit_->SetSortKey(key);
    circuit_->SortItems();
    SetSaved(false);
    RefreshGrid();
}

void TMainForm::RenumberCommand() {
    Commit();
    for (int i = 0; i < circuit_->Count(); ++i) circuit_->Item(i).Number = i + 1;
    SetSaved(false);
    RefreshGrid();
}

void TMainForm::InsertCommand() {
    insertForm_->show();
    insertForm_->raise();
}

void TMainForm::InsertItem(std::unique_ptr<TBranch> item) {
    item->InIndex = circuit_->GroupIndex(item->Group, item->Number);
    int row = circuit_->Count() == 0 ? 0 : std::clamp(CurrentRow(), 0, circuit_->Count() - 1);
    QModelIndex current = grid_->currentIndex();
    circuit_->Insert(row, std::move(item));
    SetSaved(false);
    SetSolved(false);
    model_->Refresh();
    grid_->setCurrentIndex(model_->index(row, current.isValid() ? current.column() : model_->ViewColumnOf(gcDescription)));
}

void TMainForm::DeleteCommand() {
    if (circuit_->Count() == 0) return;
    LeaveGrid();
    int row = std::clamp(CurrentRow(), 0, circuit_->Count() - 1);
    QModelIndex current = grid_->currentIndex();
    undoItem_ = circuit_->Remove(row);
    // The warnings list may point at the earlier undo item, destroyed just now.
    warningsForm_->BuildWarningList(*circuit_);
    undoAction_->setEnabled(true);
    popupUndoAction_->setEnabled(true);
    SetSaved(false);
    SetSolved(false);
    model_->Refresh();
    if (circuit_->Count() > 0) {
        grid_->setCurrentIndex(model_->index(std::min(row, circuit_->Count() - 1), current.column()));
    } else {
        circuit_->TotalDP = 0;
        SetSaved(true);
        SetSolved(true);
        panels_[2]->clear();
        grid_->setCurrentIndex(model_->index(0, current.column()));
    }
}

void TMainForm::UndoDeleteCommand() {
    if (!undoItem_) return;
    circuit_->Append(std::move(undoItem_));
    RefreshGrid();
    ForgetUndo();
    SetSolved(false);
    SetSaved(false);
}

void TMainForm::AutoSizeCurrent() {
    if (circuit_->Count() == 0) return;
    AutoSize(circuit_->Item(std::clamp(CurrentRow(), 0, circuit_->Count() - 1)));
    RefreshGrid();
    SetSolved(false);
    SetSaved(false);
}

void TMainForm::AutoFlowCurrent() {
    if (circuit_->Count() == 0) return;
    AutoFlow(circuit_->Item(std::clamp(CurrentRow(), 0, circuit_->Count() - 1)));
    RefreshGrid();
    SetSolved(false);
    SetSaved(false);
}

void TMainForm::DefaultsCommand() {
    if (defaultsForm_->exec() == QDialog::Accepted) insertForm_->LoadDefaults();
}

} // namespace dvx::ui
