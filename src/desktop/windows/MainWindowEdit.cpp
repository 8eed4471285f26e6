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
    circuit_->SetSortKey(key);
    circuit_->SortItems();
    SetSaved(false);
    RefreshGrid();
    Record(new TSortCommand(*this, TOrderChange::Between(before, sortBefore, *circuit_)));
}

void TMainForm::RenumberCommand() {
    Commit();
    const TItemCopies before = CopyItems(*circuit_);
    for (int i = 0; i < circuit_->Count(); ++i) circuit_->Item(i).Number = i + 1;
    SetSaved(false);
    RefreshGrid();
    RecordValues(before, [this](TValueChange change) { return new TRenumberCommand(*this, std::move(change)); });
}

void TMainForm::InsertCommand() {
    insertForm_->show();
    insertForm_->raise();
}

void TMainForm::InsertItem(std::unique_ptr<TBranch> item) {
    item->InIndex = circuit_->GroupIndex(item->Group, item->Number);
    int row = circuit_->Count() == 0 ? 0 : std::clamp(CurrentRow(), 0, circuit_->Count() - 1);
    QModelIndex current = grid_->currentIndex();
    const TBranch& inserted = *item;
    circuit_->Insert(row, std::move(item));
    Record(new TInsertItemsCommand(*this, TPlacement(row, inserted), "Insert"));
    SetSaved(false);
    SetSolved(false);
    model_->Refresh();
    grid_->setCurrentIndex(model_->index(row, current.isValid() ? current.column() : model_->ViewColumnOf(gcDescription)));
}

bool TMainForm::UpdateItem(std::unique_ptr<TBranch> item) {
    if (circuit_->Count() == 0) return false;
    Commit();
    TBranch& target = circuit_->Item(std::clamp(CurrentRow(), 0, circuit_->Count() - 1));
    if (target.Kind() != item->Kind()) return false;
    item->Number = target.Number;
    item->Group = target.Group;
    item->InIndex = target.InIndex;
    const TItemCopies before = CopyItems(*circuit_);
    AssignItem(target, *item);
    RecordValues(before, [this](TValueChange change) { return new TEditCellCommand(*this, std::move(change), "Item"); });
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
    undoItem_ = circuit_->Remove(row);
    Record(new TDeleteItemCommand(*this, TPlacement(row, *undoItem_)));
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
    const TBranch& restored = *undoItem_;
    circuit_->Append(std::move(undoItem_));
    Record(new TInsertItemsCommand(*this, TPlacement(circuit_->Count() - 1, restored), "Undo Delete"));
    RefreshGrid();
    ForgetUndo();
    SetSolved(false);
    SetSaved(false);
}

void TMainForm::AutoSizeCurrent() {
    if (circuit_->Count() == 0) return;
    const TItemCopies before = CopyItems(*circuit_);
    AutoSize(project_, circuit_->Item(std::clamp(CurrentRow(), 0, circuit_->Count() - 1)));
    RecordValues(before, [this](TValueChange change) { return new TSizeFlowCommand(*this, std::move(change), "AutoSize"); });
    RefreshGrid();
    SetSolved(false);
    SetSaved(false);
}

void TMainForm::AutoFlowCurrent() {
    if (circuit_->Count() == 0) return;
    const TItemCopies before = CopyItems(*circuit_);
    AutoFlow(project_, circuit_->Item(std::clamp(CurrentRow(), 0, circuit_->Count() - 1)));
    RecordValues(before, [this](TValueChange change) { return new TSizeFlowCommand(*this, std::move(change), "AutoFlow"); });
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
        TPlacement placement(row, items);
        const int count = static_cast<int>(pasted.Items.size());
        circuit_->InsertRange(row, std::move(pasted.Items));
        Record(new TInsertItemsCommand(*this, std::move(placement), "Paste"));
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
