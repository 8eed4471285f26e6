// SPDX-License-Identifier: GPL-3.0-or-later
// The View menu: the warnings list, the project summary, and the switches
// that change the grid's columns.

#include "ui/qt/Menu.h"

#include "ui/qt/CircuitModel.h"
#include "ui/qt/SummaryForm.h"
#include "ui/qt/Warnings.h"

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

void TMainForm::WarningsCommand() {
    LeaveGrid();
    warningsForm_->BuildWarningList(*circuit_);
    warningsForm_->exec();
    RefreshGrid();
    SetSolved(false);
    // A bore or flow corrected in the window is a change to the project.
    if (warningsForm_->Corrected() > 0) SetSaved(false);
}

void TMainForm::SummaryCommand() { summaryForm_->exec(); }

} // namespace dvx::ui
