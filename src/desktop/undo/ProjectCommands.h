// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Undo commands for changes to the project around its items: the pipe
// material, the fitting method, the liquid, the project details and the
// pump. Like the item commands they make their change in redo().

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
// puts a value in and tells the host: redo() puts `after` in (the first time
// when the command is pushed), undo() puts `before` back. A value that
// cannot be put in makes the command obsolete, so the stack drops it; the
// message is the host's to show.
template <typename T>
class TProjectValueCommand : public QUndoCommand {
public:
    using TApply = void (*)(TUndoHost&, const T&);
    TProjectValueCommand(const char* text, TUndoHost& host, T before, T after, TApply apply)
        : QUndoCommand(text), host_(host), before_(std::move(before)), after_(std::move(after)), apply_(apply) {}
    void undo() override { Apply(before_); }
    void redo() override { Apply(after_); }

private:
    void Apply(const T& value) {
        try {
            apply_(host_, value);
        } catch (const std::exception& e) {
            setObsolete(true);
            host_.UndoFailed(e.what());
        }
    }
    TUndoHost& host_;
    T before_;
    T after_;
    TApply apply_;
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

// The pump's points and the system curve's settings.
class TPumpCommand : public TProjectValueCommand<TPumpSettings> {
public:
    TPumpCommand(TUndoHost& host, TPumpSettings before, TPumpSettings after);
};

} // namespace dvx::ui
