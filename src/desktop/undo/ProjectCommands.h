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
#include <exception>
#include <utility>
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

// One value of the project as it was before a change and after it. Apply
// puts a value back and tells the host; a failure is the host's to show.
// A command pushed after its change was made does nothing on its first
// redo(); one that makes the change itself applies `after` there.
template <typename T>
class TProjectValueCommand : public QUndoCommand {
public:
    using TApply = void (*)(TUndoHost&, const T&);
    TProjectValueCommand(const char* text, TUndoHost& host, T before, T after, TApply apply, bool pushedAfterTheChange)
        : QUndoCommand(text), host_(host), before_(std::move(before)), after_(std::move(after)), apply_(apply),
          done_(pushedAfterTheChange) {}
    void undo() override {
        Apply(before_);
        done_ = false;
    }
    void redo() override {
        if (!done_) Apply(after_);
        done_ = true;
    }

private:
    void Apply(const T& value) {
        try {
            apply_(host_, value);
        } catch (const std::exception& e) {
            host_.UndoFailed(e.what());
        }
    }
    TUndoHost& host_;
    T before_;
    T after_;
    TApply apply_;
    bool done_;
};

struct TMaterialState {
    int Material = 0;
    TItemBores Bores; // empty: the items did not move
};

class TMaterialCommand : public TProjectValueCommand<TMaterialState> {
public:
    // Bores empty: the items did not move (the built-in materials share one table).
    TMaterialCommand(TUndoHost& host, int before, int after, TItemBores boresBefore = {},
                     TItemBores boresAfter = {});
};

// The project's fitting method (equivalent length, Crane K, 3-K).
class TFittingMethodCommand : public TProjectValueCommand<TFittingMethod> {
public:
    TFittingMethodCommand(TUndoHost& host, TFittingMethod before, TFittingMethod after);
};

// The liquid as the fluid sheet left it, and as it was before.
class TLiquidCommand : public TProjectValueCommand<TLiquid> {
public:
    TLiquidCommand(TUndoHost& host, const TLiquid& before, const TLiquid& after);
};

class TDetailsCommand : public TProjectValueCommand<TProjectDetails> {
public:
    TDetailsCommand(TUndoHost& host, TProjectDetails before, TProjectDetails after);
};

// The pump's points and the system curve's settings. Unlike the commands
// above it makes its change itself: its first redo() puts `after` into the
// circuit.
class TPumpCommand : public TProjectValueCommand<TPumpSettings> {
public:
    TPumpCommand(TUndoHost& host, TPumpSettings before, TPumpSettings after);
};

} // namespace dvx::ui
