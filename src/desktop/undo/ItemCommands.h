// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Undo commands for changes to the circuit's items: one class per kind of
// change. Each holds what its change puts in and takes out; redo() makes
// the change (QUndoStack::push runs it the first time), undo() reverts it.
// A change that cannot be applied makes its command obsolete and tells the
// host, so the stack drops the command.

#include "presentation/ui/CircuitChanges.h"
#include "desktop/undo/UndoHost.h"

#include <QUndoCommand>

namespace dvx::ui {

// Base of the commands that store new values of items in their places.
class TValueCommand : public QUndoCommand {
public:
    void undo() override;
    void redo() override;

protected:
    TValueCommand(TUndoHost& host, TValueChange change, bool resultsStale, const QString& text);

private:
    TUndoHost& host_;
    TValueChange change_;
    bool resultsStale_;
};

// A cell typed into the grid (with the other items a group or index edit changed).
class TEditCellCommand : public TValueCommand {
public:
    TEditCellCommand(TUndoHost& host, TValueChange change, const QString& columnTitle);
};

// "Re-Number in existing order": numbers only, the results stay current.
class TRenumberCommand : public TValueCommand {
public:
    TRenumberCommand(TUndoHost& host, TValueChange change);
};

// Bores or flows chosen for the items: Resize All, Reset All Flows, and
// AutoSize or AutoFlow of one item (also from the warnings window).
class TSizeFlowCommand : public TValueCommand {
public:
    TSizeFlowCommand(TUndoHost& host, TValueChange change, const QString& text);
};

// Base of the commands that store a new order of the same items.
class TOrderCommand : public QUndoCommand {
public:
    void undo() override;
    void redo() override;

protected:
    // rowBefore / rowAfter: the grid row to show after an undo / a redo (-1 keeps it).
    TOrderCommand(TUndoHost& host, TOrderChange change, int rowBefore, int rowAfter, const QString& text);

private:
    TUndoHost& host_;
    TOrderChange change_;
    int rowBefore_;
    int rowAfter_;
};

// A sort by one key (menu or header click).
class TSortCommand : public TOrderCommand {
public:
    TSortCommand(TUndoHost& host, TOrderChange change);
};

// A row dragged from one place to another.
class TMoveItemCommand : public TOrderCommand {
public:
    TMoveItemCommand(TUndoHost& host, TOrderChange change, int from, int to);
};

// Items put into the list: inserted, pasted, or a deleted item restored by
// "Undo last delete".
class TInsertItemsCommand : public QUndoCommand {
public:
    TInsertItemsCommand(TUndoHost& host, TPlacement placement, const QString& text);
    void undo() override;
    void redo() override;

private:
    TUndoHost& host_;
    TPlacement placement_;
};

// An item deleted from the list; undoing it puts it back at its old place.
class TDeleteItemCommand : public QUndoCommand {
public:
    TDeleteItemCommand(TUndoHost& host, TPlacement placement);
    void undo() override;
    void redo() override;

private:
    TUndoHost& host_;
    TPlacement placement_;
};

} // namespace dvx::ui
