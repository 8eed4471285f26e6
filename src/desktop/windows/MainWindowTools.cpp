// SPDX-License-Identifier: GPL-3.0-or-later
// The Tools menu: the display units.

#include "desktop/windows/MainWindow.h"

#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/windows/PumpCurveForm.h"
#include "desktop/windows/Warnings.h"
#include "desktop/windows/UnitsForm.h"

namespace dvx::ui {

void TMainForm::UnitsCommand() {
    Commit();
    if (!unitsForm_->Execute()) return;
    ShowNewUnits();
}

void TMainForm::ShowNewUnits() {
    RefreshGrid(); // captions and cells are asked of the units in force
    ShowDpPanel();
    insertForm_->ApplyUnits();
    warningsForm_->RefreshDetail();
    pumpForm_->ApplyUnits();
    // The dialogs for defaults, default flows and limits and the summary
    // show the units in force each time they open.
}

} // namespace dvx::ui
