// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/undo/ItemCommands.h"

#include <exception>

namespace dvx::ui {

namespace {

// Push, undo and redo run from menu slots: nothing may leave them by an
// exception. A change that failed is not one the history can hold: the
// command becomes obsolete, and the stack deletes it.
template <class F>
void Guarded(QUndoCommand& command, TUndoHost& host, F&& apply) {
    try {
        apply();
    } catch (const std::exception& e) {
        command.setObsolete(true);
        host.UndoFailed(e.what());
    }
}

} // namespace

// --- values ---

TValueCommand::TValueCommand(TUndoHost& host, TValueChange change, bool resultsStale, const QString& text)
    : QUndoCommand(text), host_(host), change_(std::move(change)), resultsStale_(resultsStale) {}

void TValueCommand::undo() {
    Guarded(*this, host_, [this] {
        change_.Undo(host_.UndoCircuit());
        auto positions = change_.Positions();
        host_.ItemsTakenBack(resultsStale_, positions.empty() ? -1 : positions.front());
    });
}

void TValueCommand::redo() {
    Guarded(*this, host_, [this] {
        change_.Redo(host_.UndoCircuit());
        auto positions = change_.Positions();
        host_.ItemsTakenBack(resultsStale_, positions.empty() ? -1 : positions.front());
    });
}

TEditCellCommand::TEditCellCommand(TUndoHost& host, TValueChange change, const QString& columnTitle)
    : TValueCommand(host, std::move(change), true, "Edit " + columnTitle.trimmed()) {}

TRenumberCommand::TRenumberCommand(TUndoHost& host, TValueChange change)
    : TValueCommand(host, std::move(change), false, "Re-Number") {}

TSizeFlowCommand::TSizeFlowCommand(TUndoHost& host, TValueChange change, const QString& text)
    : TValueCommand(host, std::move(change), true, text) {}

// --- order ---

TOrderCommand::TOrderCommand(TUndoHost& host, TOrderChange change, int rowBefore, int rowAfter, const QString& text)
    : QUndoCommand(text), host_(host), change_(std::move(change)), rowBefore_(rowBefore), rowAfter_(rowAfter) {}

void TOrderCommand::undo() {
    Guarded(*this, host_, [this] {
        change_.Undo(host_.UndoCircuit());
        host_.ItemsTakenBack(false, rowBefore_);
    });
}

void TOrderCommand::redo() {
    Guarded(*this, host_, [this] {
        change_.Redo(host_.UndoCircuit());
        host_.ItemsTakenBack(false, rowAfter_);
    });
}

TSortCommand::TSortCommand(TUndoHost& host, TOrderChange change)
    : TOrderCommand(host, std::move(change), -1, -1, "Sort") {}

TMoveItemCommand::TMoveItemCommand(TUndoHost& host, TOrderChange change, int from, int to)
    : TOrderCommand(host, std::move(change), from, to, "Move Row") {}

// --- insert and delete ---

TInsertItemsCommand::TInsertItemsCommand(TUndoHost& host, TPlacement placement, const QString& text)
    : QUndoCommand(text), host_(host), placement_(std::move(placement)) {}

void TInsertItemsCommand::undo() {
    Guarded(*this, host_, [this] {
        placement_.TakeOut(host_.UndoCircuit());
        host_.ItemsTakenBack(true, placement_.Position());
    });
}

void TInsertItemsCommand::redo() {
    Guarded(*this, host_, [this] {
        placement_.PutIn(host_.UndoCircuit());
        host_.ItemsTakenBack(true, placement_.Position());
    });
}

TDeleteItemCommand::TDeleteItemCommand(TUndoHost& host, TPlacement placement)
    : QUndoCommand("Delete"), host_(host), placement_(std::move(placement)) {}

void TDeleteItemCommand::undo() {
    Guarded(*this, host_, [this] {
        placement_.PutIn(host_.UndoCircuit());
        host_.ItemsTakenBack(true, placement_.Position());
    });
}

void TDeleteItemCommand::redo() {
    Guarded(*this, host_, [this] {
        placement_.TakeOut(host_.UndoCircuit());
        host_.ItemsTakenBack(true, placement_.Position());
    });
}

} // namespace dvx::ui
