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

TMaterialCommand::TMaterialCommand(TUndoHost& host, int before, int after, TItemBores boresBefore,
                                   TItemBores boresAfter)
    : QUndoCommand("Pipe Material"), host_(host), before_(before), after_(after),
      boresBefore_(std::move(boresBefore)), boresAfter_(std::move(boresAfter)) {}

void TMaterialCommand::Apply(int material, const TItemBores& bores) {
    try {
        TCircuit& circuit = host_.UndoCircuit();
        circuit.Material = static_cast<std::uint8_t>(material);
        // The history undoes in order, so the list is as it was when the
        // bores were taken; a list of another length is left alone.
        if (bores.size() == circuit.Items.size()) {
            for (std::size_t i = 0; i < bores.size(); ++i) {
                TBranch& item = *circuit.Items[i];
                item.BoreIndex = bores[i].BoreIndex;
                item.InsideDiameter = bores[i].InsideDiameter;
                item.Friction = bores[i].Friction;
            }
        }
        host_.MaterialTakenBack(material);
    } catch (const std::exception& e) {
        host_.UndoFailed(e.what());
    }
}

void TMaterialCommand::undo() {
    Apply(before_, boresBefore_);
    done_ = false;
}

void TMaterialCommand::redo() {
    if (!done_) Apply(after_, boresAfter_);
    done_ = true;
}

TFittingMethodCommand::TFittingMethodCommand(TUndoHost& host, TFittingMethod before, TFittingMethod after)
    : QUndoCommand("Fitting Method"), host_(host), before_(before), after_(after) {}

void TFittingMethodCommand::Apply(TFittingMethod method) {
    try {
        host_.UndoCircuit().FittingMethod = method;
        host_.FittingMethodTakenBack();
    } catch (const std::exception& e) {
        host_.UndoFailed(e.what());
    }
}

void TFittingMethodCommand::undo() {
    Apply(before_);
    done_ = false;
}

void TFittingMethodCommand::redo() {
    if (!done_) Apply(after_);
    done_ = true;
}

TLiquidCommand::TLiquidCommand(TUndoHost& host, const TLiquid& before, const TLiquid& after)
    : QUndoCommand("Liquid"), host_(host), before_(before), after_(after) {}

void TLiquidCommand::Apply(const TLiquid& liquid) {
    try {
        // The stored copy holds the evaluated properties as well: nothing is
        // evaluated again, so the liquid is exactly as it was.
        if (SystemFluid != nullptr) *SystemFluid = liquid;
        host_.LiquidTakenBack();
    } catch (const std::exception& e) {
        host_.UndoFailed(e.what());
    }
}

void TLiquidCommand::undo() {
    Apply(before_);
    done_ = false;
}

void TLiquidCommand::redo() {
    if (!done_) Apply(after_);
    done_ = true;
}

TDetailsCommand::TDetailsCommand(TUndoHost& host, TProjectDetails before, TProjectDetails after)
    : QUndoCommand("Project Details"), host_(host), before_(std::move(before)), after_(std::move(after)) {}

void TDetailsCommand::Apply(const TProjectDetails& details) {
    try {
        details.ApplyTo(host_.UndoCircuit());
        host_.DetailsTakenBack();
    } catch (const std::exception& e) {
        host_.UndoFailed(e.what());
    }
}

void TDetailsCommand::undo() {
    Apply(before_);
    done_ = false;
}

void TDetailsCommand::redo() {
    if (!done_) Apply(after_);
    done_ = true;
}

TPumpCommand::TPumpCommand(TUndoHost& host, TPumpSettings before, TPumpSettings after)
    : QUndoCommand("Pump"), host_(host), before_(std::move(before)), after_(std::move(after)) {}

void TPumpCommand::Apply(const TPumpSettings& pump) {
    try {
        host_.UndoCircuit().Pump = pump;
        host_.PumpTakenBack();
    } catch (const std::exception& e) {
        host_.UndoFailed(e.what());
    }
}

void TPumpCommand::undo() { Apply(before_); }

void TPumpCommand::redo() { Apply(after_); }

} // namespace dvx::ui
