// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the undo commands need of the window that holds the circuit. The
// commands change the circuit (when pushed, undone and redone); the host
// brings its views and flags up to date afterwards.

#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "presentation/ui/CircuitChanges.h"

#include <string>

namespace dvx::ui {

class TUndoHost {
public:
    virtual ~TUndoHost() = default;
    virtual TCircuit& UndoCircuit() = 0;
    // The project the circuit is calculated with: the liquid a command puts
    // back lives there.
    virtual TProjectContext UndoProject() = 0;
    // The items changed by a command: refresh the grid and the warnings;
    // when resultsStale the results are no longer current. row is the grid
    // row to show, -1 to keep the current one. A host that pushes a change
    // of its own may leave this to the code that pushed it (a grid edit may
    // still be in progress then).
    virtual void ItemsTakenBack(bool resultsStale, int row) = 0;
    // The pipe material was set back to `material` (0 to 2).
    virtual void MaterialTakenBack(int material) = 0;
    // The liquid was set back; the results are no longer current.
    virtual void LiquidTakenBack() = 0;
    // The fitting method was set back (the circuit holds it already).
    virtual void FittingMethodTakenBack() = 0;
    // The project details were set back (the circuit holds them already).
    virtual void DetailsTakenBack() = 0;
    // The pump or the system curve's settings were set back (the circuit
    // holds them already).
    virtual void PumpTakenBack() = 0;
    // A command could not apply its change and has made itself obsolete, so
    // the stack drops it: on a push nothing is recorded; on an undo or redo
    // the history is not to be trusted.
    virtual void UndoFailed(const std::string& message) = 0;
};

} // namespace dvx::ui
