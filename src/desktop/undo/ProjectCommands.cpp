// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/undo/ProjectCommands.h"

#include <exception>

namespace dvx::ui {

TItemBores ItemBores(const TCircuit& circuit) {
    TItemBores bores;
    bores.reserve(circuit.Items.size());
    for (const auto& item : circuit.Items) bores.push_back({item->BoreIndex, item->InsideDiameter, item->Friction});
    return bores;
}

namespace {

void ApplyMaterial(TUndoHost& host, const TMaterialState& state) {
    TCircuit& circuit = host.UndoCircuit();
    circuit.Material = static_cast<std::uint8_t>(state.Material);
    // The history undoes in order, so the list is as it was when the
    // bores were taken; a list of another length is left alone.
    if (state.Bores.size() == circuit.Items.size()) {
        for (std::size_t i = 0; i < state.Bores.size(); ++i) {
            TBranch& item = *circuit.Items[i];
            item.BoreIndex = state.Bores[i].BoreIndex;
            item.InsideDiameter = state.Bores[i].InsideDiameter;
            item.Friction = state.Bores[i].Friction;
        }
    }
    host.MaterialTakenBack(state.Material);
}

void ApplyFittingMethod(TUndoHost& host, const TFittingMethod& method) {
    host.UndoCircuit().FittingMethod = method;
    host.FittingMethodTakenBack();
}

void ApplyLiquid(TUndoHost& host, const TLiquid& liquid) {
    // The stored copy holds the evaluated properties as well: nothing is
    // evaluated again, so the liquid is exactly as it was.
    const TProjectContext project = host.UndoProject();
    if (project.Liquid != nullptr) *project.Liquid = liquid;
    host.LiquidTakenBack();
}

void ApplyDetails(TUndoHost& host, const TProjectDetails& details) {
    details.ApplyTo(host.UndoCircuit());
    host.DetailsTakenBack();
}

void ApplyPump(TUndoHost& host, const TPumpSettings& pump) {
    host.UndoCircuit().Pump = pump;
    host.PumpTakenBack();
}

} // namespace

TMaterialCommand::TMaterialCommand(TUndoHost& host, int before, int after, TItemBores boresBefore,
                                   TItemBores boresAfter)
    : TProjectValueCommand("Pipe Material", host, {before, std::move(boresBefore)}, {after, std::move(boresAfter)},
                           ApplyMaterial) {}

TFittingMethodCommand::TFittingMethodCommand(TUndoHost& host, TFittingMethod before, TFittingMethod after)
    : TProjectValueCommand("Fitting Method", host, before, after, ApplyFittingMethod) {}

TLiquidCommand::TLiquidCommand(TUndoHost& host, const TLiquid& before, const TLiquid& after)
    : TProjectValueCommand("Liquid", host, before, after, ApplyLiquid) {}

TDetailsCommand::TDetailsCommand(TUndoHost& host, TProjectDetails before, TProjectDetails after)
    : TProjectValueCommand("Project Details", host, std::move(before), std::move(after), ApplyDetails) {}

TPumpCommand::TPumpCommand(TUndoHost& host, TPumpSettings before, TPumpSettings after)
    : TProjectValueCommand("Pump", host, std::move(before), std::move(after), ApplyPump) {}

} // namespace dvx::ui
