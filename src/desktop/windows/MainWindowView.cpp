// SPDX-License-Identifier: GPL-3.0-or-later
// The View menu: the warnings list, the project summary, and the switches
// that change the grid's columns.

#include "desktop/windows/MainWindow.h"

#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/SummaryForm.h"
#include "desktop/windows/Warnings.h"
#include "desktop/undo/ItemCommands.h"

#include <QAction>

namespace dvx::ui {

void TMainForm::SetGroupsActive(bool on) {
    groupsAction_->setChecked(on);
    SetSolved(false);
    RebuildColumns();
}

void TMainForm::SetShowTypes(bool on) {
    typesAction_->setChecked(on);
    RebuildColumns();
}

void TMainForm::SetExtraColumn(int column, bool on) {
    if (column < gcVelocity || column >= AllColumnCount) return;
    const int e = column - gcVelocity;
    extraActions_[e]->setChecked(on);
    extras_ = on ? (extras_ | ExtraBit(column)) : (extras_ & ~ExtraBit(column));
    RebuildColumns();
    // A column switched on is shown, not hidden behind the scroll bar.
    if (on) WidenToShowColumns();
}

void TMainForm::WarningsCommand() {
    LeaveGrid();
    warningsForm_->BuildWarningList(*circuit_);
    const TItemCopies before = CopyItems(*circuit_);
    warningsForm_->exec();
    RecordValues(before,
                 [this](TValueChange change) { return new TSizeFlowCommand(*this, std::move(change), "Corrections"); });
    RefreshGrid();
    SetSolved(false);
    // A bore or flow corrected in the window is a change to the project.
    if (warningsForm_->Corrected() > 0) SetSaved(false);
}

void TMainForm::SummaryCommand() { summaryForm_->exec(); }

} // namespace dvx::ui
