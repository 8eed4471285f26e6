// SPDX-License-Identifier: GPL-3.0-or-later
// The Database menu: the fittings catalogue and the pipe roughness.

#include "desktop/windows/MainWindow.h"

#include "engine/catalogue/Tables.h"
#include "desktop/widgets/Messages.h"
#include "desktop/windows/FittingsForm.h"
#include "desktop/windows/MaterialForm.h"
#include "desktop/windows/PipeSpecForm.h"

#include <QDialog>

namespace dvx::ui {

void TMainForm::FittingsCommand() {
    if (fittingsForm_->exec() == QDialog::Accepted) SetSolved(false);
}

void TMainForm::PipeRoughnessCommand() {
    const double before = project_.Tables.CurrentRoughness;
    const bool accepted = pipeSpecForm_->exec() == QDialog::Accepted;
    if (accepted) {
        SetSolved(false);
        SetSaved(false);
    }
    // "Restore" puts the standard values in force even when the dialog is
    // then cancelled: the next calculation uses whatever is in force.
    ApplyMaterial();
    if (!accepted && project_.Tables.CurrentRoughness != before) SetSolved(false);
}

void TMainForm::AddMaterialCommand() {
    TMaterialForm form(project_, this);
    if (form.exec() != QDialog::Accepted) return;
    RefreshMaterialActions();
    ShowMessage(this, MsgKind::Information,
                QString::fromStdString("Pipe material \"" + form.AddedName() + "\" added as " + form.AddedFile() +
                                       " in the data folder.\nChoose it in the Calculate menu."));
}

} // namespace dvx::ui
