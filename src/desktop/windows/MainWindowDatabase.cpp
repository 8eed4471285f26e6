// SPDX-License-Identifier: GPL-3.0-or-later
// The Database menu: the fittings catalogue and the pipe roughness.

#include "desktop/windows/MainWindow.h"

#include "engine/catalogue/Tables.h"
#include "desktop/windows/FittingsForm.h"
#include "desktop/windows/PipeSpecForm.h"

#include <QDialog>

namespace dvx::ui {

void TMainForm::FittingsCommand() {
    if (fittingsForm_->exec() == QDialog::Accepted) SetSolved(false);
}

void TMainForm::PipeRoughnessCommand() {
    const double before = CurrentRoughness;
    const bool accepted = pipeSpecForm_->exec() == QDialog::Accepted;
    if (accepted) {
        SetSolved(false);
        SetSaved(false);
    }
    // "Restore" puts the standard values in force even when the dialog is
    // then cancelled: the next calculation uses whatever is in force.
    ApplyMaterial();
    if (!accepted && CurrentRoughness != before) SetSolved(false);
}

} // namespace dvx::ui
