// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Undo commands for changes to the project around its items: the pipe
// material, the liquid and the project details. Like the item commands
// they are pushed after the change was made.

#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/PumpSettings.h"
#include "presentation/ui/CircuitChanges.h"
#include "desktop/undo/UndoHost.h"

#include <QUndoCommand>

#include <cstdint>
#include <vector>

namespace dvx::ui {

// The bore of each item in list order: a material with its own bores
// moves the items, so undoing it puts them back.
struct TItemBore {
    std::uint8_t BoreIndex = 0;
    double InsideDiameter = 0; // m
    double Friction = 0;       // —
};
using TItemBores = std::vector<TItemBore>;
TItemBores ItemBores(const TCircuit& circuit);

class TMaterialCommand : public QUndoCommand {
public:
    // Bores empty: the items did not move (the built-in materials share one table).
    TMaterialCommand(TUndoHost& host, int before, int after, TItemBores boresBefore = {},
                     TItemBores boresAfter = {});
    void undo() override;
    void redo() override;

private:
    void Apply(int material, const TItemBores& bores);
    TUndoHost& host_;
    int before_;
    int after_;
    TItemBores boresBefore_;
    TItemBores boresAfter_;
    bool done_ = true;
};

// The project's fitting method (equivalent length, Crane K, 3-K).
class TFittingMethodCommand : public QUndoCommand {
public:
    TFittingMethodCommand(TUndoHost& host, TFittingMethod before, TFittingMethod after);
    void undo() override;
    void redo() override;

private:
    void Apply(TFittingMethod method);
    TUndoHost& host_;
    TFittingMethod before_;
    TFittingMethod after_;
    bool done_ = true;
};

// The liquid as the fluid sheet left it, and as it was before.
class TLiquidCommand : public QUndoCommand {
public:
    TLiquidCommand(TUndoHost& host, const TLiquid& before, const TLiquid& after);
    void undo() override;
    void redo() override;

private:
    void Apply(const TLiquid& liquid);
    TUndoHost& host_;
    TLiquid before_;
    TLiquid after_;
    bool done_ = true;
};

class TDetailsCommand : public QUndoCommand {
public:
    TDetailsCommand(TUndoHost& host, TProjectDetails before, TProjectDetails after);
    void undo() override;
    void redo() override;

private:
    void Apply(const TProjectDetails& details);
    TUndoHost& host_;
    TProjectDetails before_;
    TProjectDetails after_;
    bool done_ = true;
};

// The pump's points and the system curve's settings. Unlike the commands
// above it makes its change itself: its first redo() puts `after` into the
// circuit.
class TPumpCommand : public QUndoCommand {
public:
    TPumpCommand(TUndoHost& host, TPumpSettings before, TPumpSettings after);
    void undo() override;
    void redo() override;

private:
    void Apply(const TPumpSettings& pump);
    TUndoHost& host_;
    TPumpSettings before_;
    TPumpSettings after_;
};

} // namespace dvx::ui
