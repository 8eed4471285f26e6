// SPDX-License-Identifier: GPL-3.0-or-later
// Edit › Undo and Redo: the history of changes to the project, and how the
// window follows a change taken back or done again.

#include "desktop/windows/MainWindow.h"

#include "engine/catalogue/Tables.h"
#include "desktop/report/PropertiesDlg.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/CircuitView.h"
#include "desktop/windows/MainWindowSupport.h"
#include "desktop/widgets/Messages.h"
#include "desktop/windows/PumpCurveForm.h"
#include "desktop/windows/Warnings.h"

#include <QAction>
#include <QTimer>
#include <QUndoStack>

namespace dvx::ui {

void TMainForm::UndoCommand() {
    LeaveGrid();
    // The one-item "Undo last delete" belongs to the last change only;
    // once the history moves it would restore an item twice.
    ForgetUndo();
    undoStack_->undo();
}

void TMainForm::RedoCommand() {
    LeaveGrid();
    ForgetUndo();
    undoStack_->redo();
}

void TMainForm::ResetHistory() {
    // Dropping the history changes nothing in the project or its flags.
    recording_ = true;
    undoStack_->clear();
    if (!circuit_->Saved) undoStack_->resetClean();
    recording_ = false;
}

void TMainForm::Record(QUndoCommand* command) {
    // The push runs the command's redo(), which makes the change.
    recording_ = true;
    undoStack_->push(command);
    recording_ = false;
}

void TMainForm::RecordValues(const TItemCopies& before, const std::function<QUndoCommand*(TValueChange)>& make) {
    if (static_cast<int>(before.size()) != circuit_->Count()) return;
    TValueChange change = TValueChange::Between(before, *circuit_);
    if (!change.Empty()) Record(make(std::move(change)));
}

void TMainForm::RecordValues(const TItemCopies& before, const TItemCopies& after,
                             const std::function<QUndoCommand*(TValueChange)>& make) {
    TValueChange change = TValueChange::Between(before, after);
    if (!change.Empty()) Record(make(std::move(change)));
}

void TMainForm::ItemsTakenBack(bool resultsStale, int row) {
    // A change being pushed comes from a command of this window, which
    // places the cursor and refreshes the grid itself once the push is done:
    // a grid edit or a row drop may still be under way.
    if (recording_) return;
    QModelIndex current = grid_->currentIndex();
    model_->Refresh();
    int column = current.isValid() ? current.column() : model_->ViewColumnOf(gcDescription);
    int target = row >= 0 ? row : (current.isValid() ? current.row() : 0);
    grid_->setCurrentIndex(model_->index(std::clamp(target, 0, model_->rowCount() - 1), column));
    // The warnings list points at items; rebuild it from the list as it is now.
    warningsForm_->BuildWarningList(*circuit_);
    if (resultsStale) SetSolved(false);
}

void TMainForm::MaterialTakenBack(int material) {
    (void)material; // the circuit holds it already
    SetSolved(false);
    ApplyMaterial();
    RefreshGrid(); // the items may have their bores back
}

void TMainForm::LiquidTakenBack() { SetSolved(false); }

void TMainForm::DetailsTakenBack() {
    propertiesForm_->SetDescriptionLines(circuit_->DescriptionLines.Lines());
    propertiesForm_->SetAuthor(Q(circuit_->Author));
    propertiesForm_->SetCompany(Q(circuit_->Company));
}

void TMainForm::PumpTakenBack() { pumpForm_->PumpTakenBack(); }

void TMainForm::UndoFailed(const std::string& message) {
    // A change that failed as it was pushed is shown as any failed command
    // is; the stack drops its command, and the history stays as it was.
    if (recording_) {
        ShowMessage(this, MsgKind::Error, QString::fromStdString(message));
        return;
    }
    ShowMessage(this, MsgKind::Error, "Cannot undo: " + QString::fromStdString(message));
    // The history no longer matches the project; it is dropped once the
    // command that failed has returned to the stack.
    QTimer::singleShot(0, this, [this] {
        recording_ = true;
        undoStack_->clear();
        undoStack_->resetClean();
        recording_ = false;
        SetSaved(false);
        model_->Refresh();
    });
}

} // namespace dvx::ui
