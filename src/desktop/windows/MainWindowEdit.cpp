// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu and the grid's pop-up menu: sort, renumber, insert,
// delete and its undo, AutoSize and AutoFlow of the current item, defaults.

#include "desktop/windows/MainWindow.h"

#include "engine/hydraulics/Calc.h"
#include "storage/project/ItemTable.h"
#include "desktop/windows/CircuitModel.h"
#include "desktop/windows/CircuitView.h"
#include "desktop/windows/DefaultsForm.h"
#include "desktop/windows/InsertForm.h"
#include "desktop/widgets/Messages.h"
#include "desktop/windows/Warnings.h"
#include "desktop/undo/ItemCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <set>
#include <QLabel>

namespace dvx::ui {

void TMainForm::SortCommand(int key) {
    Commit();
    const TOrderChange::TOrder before = TOrderChange::OrderOf(*circuit_);
    const TSortState sortBefore = TSortState::Of(*circuit_);
    // The circuit sorts only its own list: the new order is worked out
    // there and put back, and the command's redo puts it in.
    circuit_->SetSortKey(key);
    circuit_->SortItems();
    TOrderChange change = TOrderChange::Between(before, sortBefore, *circuit_);
    change.Undo(*circuit_);
    SetSaved(false);
    Record(new TSortCommand(*this, std::move(change)));
    RefreshGrid();
}

void TMainForm::RenumberCommand() {
    Commit();
    const TItemCopies before = CopyItems(*circuit_);
    TItemCopies after = CopyItems(*circuit_);
    for (std::size_t i = 0; i < after.size(); ++i) after[i]->Number = static_cast<int>(i) + 1;
    SetSaved(false);
    RecordValues(before, after, [this](TValueChange change) { return new TRenumberCommand(*this, std::move(change)); });
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
    Record(new TInsertItemsCommand(*this, TPlacement(row, *item), "Insert"));
    SetSaved(false);
    SetSolved(false);
    model_->Refresh();
    grid_->setCurrentIndex(model_->index(row, current.isValid() ? current.column() : model_->ViewColumnOf(gcDescription)));
}

bool TMainForm::UpdateItem(std::unique_ptr<TBranch> item) {
    if (circuit_->Count() == 0) return false;
    Commit();
    const int row = std::clamp(CurrentRow(), 0, circuit_->Count() - 1);
    const TBranch& target = circuit_->Item(row);
    if (target.Kind() != item->Kind()) return false;
    item->Number = target.Number;
    item->Group = target.Group;
    item->InIndex = target.InIndex;
    const TItemCopies before = CopyItems(*circuit_);
    TItemCopies after = CopyItems(*circuit_);
    AssignItem(*after[static_cast<std::size_t>(row)], *item);
    RecordValues(before, after, [this](TValueChange change) { return new TEditCellCommand(*this, std::move(change), "Item"); });
    SetSaved(false);
    SetSolved(false);
    RefreshGrid();
    return true;
}

void TMainForm::DeleteCommand() {
    if (circuit_->Count() == 0) return;
    LeaveGrid();
    int row = std::clamp(CurrentRow(), 0, circuit_->Count() - 1);
    QModelIndex current = grid_->currentIndex();
    // "Undo last delete" keeps a copy of the item the command takes out.
    std::unique_ptr<TBranch> deleted = CloneItem(circuit_->Item(row));
    Record(new TDeleteItemCommand(*this, TPlacement(row, *deleted)));
    undoItem_ = std::move(deleted);
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
    Record(new TInsertItemsCommand(*this, TPlacement(circuit_->Count(), *undoItem_), "Undo Delete"));
    RefreshGrid();
    ForgetUndo();
    SetSolved(false);
    SetSaved(false);
}

void TMainForm::AutoSizeCurrent() {
    if (circuit_->Count() == 0) return;
    const TItemCopies before = CopyItems(*circuit_);
    TItemCopies after = CopyItems(*circuit_);
    AutoSize(project_, *after[static_cast<std::size_t>(std::clamp(CurrentRow(), 0, circuit_->Count() - 1))]);
    RecordValues(before, after, [this](TValueChange change) { return new TSizeFlowCommand(*this, std::move(change), "AutoSize"); });
    RefreshGrid();
    SetSolved(false);
    SetSaved(false);
}

void TMainForm::AutoFlowCurrent() {
    if (circuit_->Count() == 0) return;
    const TItemCopies before = CopyItems(*circuit_);
    TItemCopies after = CopyItems(*circuit_);
    AutoFlow(project_, *after[static_cast<std::size_t>(std::clamp(CurrentRow(), 0, circuit_->Count() - 1))]);
    RecordValues(before, after, [this](TValueChange change) { return new TSizeFlowCommand(*this, std::move(change), "AutoFlow"); });
    RefreshGrid();
    SetSolved(false);
    SetSaved(false);
}

void TMainForm::CopyCommand() {
    Commit();
    std::set<int> rows;
    for (const QModelIndex& index : grid_->selectionModel()->selectedIndexes()) rows.insert(index.row());
    if (rows.empty()) rows.insert(CurrentRow());
    std::vector<const TBranch*> items;
    for (int row : rows)
        if (const TBranch* item = model_->ItemAt(row)) items.push_back(item);
    if (items.empty()) return;
    QApplication::clipboard()->setText(QString::fromStdString(ItemsAsTabSeparated(items, project_)));
}

void TMainForm::PasteCommand() {
    LeaveGrid();
    const QString text = QApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) return;
    TPastedItems pasted = ReadPastedItems(text.toStdString(), project_);
    if (!pasted.Items.empty()) {
        // As inserted: before the current row, which keeps its place.
        const int row = circuit_->Count() == 0 ? 0 : std::clamp(CurrentRow(), 0, circuit_->Count() - 1);
        const int column = grid_->currentIndex().isValid() ? grid_->currentIndex().column() : model_->ViewColumnOf(gcDescription);
        std::vector<const TBranch*> items;
        for (const auto& item : pasted.Items) items.push_back(item.get());
        const int count = static_cast<int>(pasted.Items.size());
        Record(new TInsertItemsCommand(*this, TPlacement(row, items), "Paste"));
        SetSaved(false);
        SetSolved(false);
        model_->Refresh();
        // The pasted rows are selected, the cursor on the first of them.
        grid_->setCurrentIndex(model_->index(row, column));
        grid_->selectionModel()->select(QItemSelection(model_->index(row, 1), model_->index(row + count - 1, model_->columnCount() - 1)),
                                        QItemSelectionModel::ClearAndSelect);
    }
    if (!pasted.Messages.empty()) {
        QString message = "Rows not pasted:";
        for (const std::string& m : pasted.Messages) message += "\n" + QString::fromStdString(m);
        ShowMessage(this, MsgKind::Warning, message);
    }
}

void TMainForm::DefaultsCommand() {
    if (defaultsForm_->exec() == QDialog::Accepted) insertForm_->LoadDefaults();
}

} // namespace dvx::ui
