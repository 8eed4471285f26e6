// SPDX-License-Identifier: GPL-3.0-or-later
// The Database menu: the fittings catalogue and the pipe roughness.

#include "ui/qt/Menu.h"

#include "ui/qt/FittingsForm.h"
#include "ui/qt/PipeSpecForm.h"

#include <QDialog>

namespace dvx::ui {

void TMainForm::FittingsCommand() {
    if (fittingsForm_->exec() == QDialog::Accepted) SetSolved(false);
}

void TMainForm::PipeRoughnessCommand() {
    if (pipeSpecForm_->exec() != QDialog::Accepted) return;
    SetSolved(false);
    SetSaved(false);
    ApplyMaterial();
}

} // namespace dvx::ui
