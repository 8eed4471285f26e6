// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/undo/ItemCommands.h"

#include <exception>

namespace dvx::ui {

namespace {

// Undo and redo run from menu slots: nothing may leave them by an exception.
template <class F>
void Guarded(TUndoHost& host, F&& apply) {
    try {
        apply();
    } catch (const std::exception& e) {
        host.UndoFailed(e.what());
    }
}

} // namespace

// --- values ---

TValueCommand::TValueCommand(TUndoHost& host, TValueChange change, bool resultsStale, const QString& text)
    : QUndoCommand(text), host_(host), change_(std::move(change)), resultsStale_(resultsStale) {}

void TValueCommand::undo() {
    Guarded(host_, [this] {
        change_.Undo(host_.UndoCircuit());
        auto positions = change_.Positions();
        host_.ItemsTakenBack(resultsStale_, positions.empty() ? -1 : positions.front());
    });
    done_ = false;
}

void TValueCommand::redo() {
    if (done_) return;
    Guarded(host_, [this] {
        change_.Redo(host_.UndoCircuit());
        auto positions = change_.Positions();
        host_.ItemsTakenBack(resultsStale_, positions.empty() ? -1 : positions.front());
    });
    done_ = true;
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
    Guarded(host_, [this] {
        change_.Undo(host_.UndoCircuit());
        host_.ItemsTakenBack(false, rowBefore_);
    });
    done_ = false;
}

void TOrderCommand::redo() {
    if (done_) return;
    Guarded(host_, [this] {
        change_.Redo(host_.UndoCircuit());
        host_.ItemsTakenBack(false, rowAfter_);
    });
    done_ = true;
}

TSortCommand::TSortCommand(TUndoHost& host, TOrderChange change)
    : TOrderCommand(host, std::move(change), -1, -1, "Sort") {}

TMoveItemCommand::TMoveItemCommand(TUndoHost& host, TOrderChange change, int from, int to)
    : TOrderCommand(host, std::move(change), from, to, "Move Row") {}

// --- insert and delete ---

TInsertItemsCommand::TInsertItemsCommand(TUndoHost& host, TPlacement placement, const QString& text)
    : QUndoCommand(text), host_(host), placement_(std::move(placement)) {}

void TInsertItemsCommand::undo() {
    Guarded(host_, [this] {
        placement_.TakeOut(host_.UndoCircuit());
        host_.ItemsTakenBack(true, placement_.Position());
    });
    done_ = false;
}

void TInsertItemsCommand::redo() {
    if (done_) return;
    Guarded(host_, [this] {
        placement_.PutIn(host_.UndoCircuit());
        host_.ItemsTakenBack(true, placement_.Position());
    });
    done_ = true;
}

TDeleteItemCommand::TDeleteItemCommand(TUndoHost& host, TPlacement placement)
    : QUndoCommand("Delete"), host_(host), placement_(std::move(placement)) {}

void TDeleteItemCommand::undo() {
    Guarded(host_, [this] {
        placement_.PutIn(host_.UndoCircuit());
        host_.ItemsTakenBack(true, placement_.Position());
    });
    done_ = false;
}

void TDeleteItemCommand::redo() {
    if (done_) return;
    Guarded(host_, [this] {
        placement_.TakeOut(host_.UndoCircuit());
        host_.ItemsTakenBack(true, placement_.Position());
    });
    done_ = true;
}

} // namespace dvx::ui
