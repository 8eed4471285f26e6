// SPDX-License-Identifier: GPL-3.0-or-later
// The page's entry points into the engine, beside darvenix-cli's commands
// (which the page runs through callMain for the calculation, the curve and
// the file conversions). The page's project is one working copy, a project
// file in the module's memory file system: every entry point here reads it,
// changes it with the desktop program's grid and item code, and writes it
// back only when the change succeeded, so a failed edit or a damaged file
// leaves the project as it was.
//
// Every entry point returns a text that stays valid until the next call:
// JSON for the grid, otherwise "" on success or the message to show.

#include "CoreStart.h"

#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Circuit.h"
#include "engine/hydraulics/Items.h"
#include "engine/hydraulics/ProjectContext.h"
#include "engine/units/UnitChoice.h"
#include "presentation/ui/CircuitGrid.h"
#include "storage/project/CircuitFiles.h"

#include <emscripten/emscripten.h>
#include <nlohmann/json.hpp>

#include <exception>
#include <functional>
#include <string>

namespace {

using namespace dvx;

std::string reply;

const char* Reply(std::string text) {
    reply = std::move(text);
    return reply.c_str();
}

// The page's project: the built-in tables, the liquid and the item counter
// every entry point works with, alive as long as the module.
TProjectState& PageProject() {
    static TProjectState project;
    return project;
}

void StartOnce() {
    static bool started = false;
    if (started) return;
    dvx::cli::StartCliCore(true, PageProject());
    started = true;
}

// Loads the working copy, lets change() work on it and saves it again. A
// failure anywhere returns its message and leaves the file as it was.
const char* Change(const char* work, const std::function<void(TLoadedCircuit&)>& change) {
    try {
        StartOnce();
        TProjectState& project = PageProject();
        TLoadedCircuit loaded = LoadCircuitFile(work, project.Context());
        ApplyLoadedCircuit(loaded, project.Context());
        change(loaded);
        SaveCircuitFile(work, *loaded.Circuit, loaded.Fluid ? *loaded.Fluid : project.Liquid, project.Tables);
        return Reply("");
    } catch (const std::exception& e) {
        return Reply(e.what());
    }
}

void CheckRow(const TCircuit& circuit, int row, int extra) {
    if (row < 0 || row >= circuit.Count() + extra) throw std::out_of_range("No item at row " + std::to_string(row + 1));
}

} // namespace

extern "C" {

// Reads path (a project or text item file) as the page's new project and
// writes it to work (a .dvx). When path cannot be read, "Error reading " +
// name (the desktop program's message) and work stays as it was.
EMSCRIPTEN_KEEPALIVE const char* dvx_web_open(const char* path, const char* name, const char* work) {
    try {
        StartOnce();
        TProjectState& project = PageProject();
        TLoadedCircuit loaded = LoadCircuitFile(path, project.Context());
        ApplyLoadedCircuit(loaded, project.Context());
        SaveCircuitFile(work, *loaded.Circuit, loaded.Fluid ? *loaded.Fluid : project.Liquid, project.Tables);
        return Reply("");
    } catch (const FileError& e) {
        if (std::string(e.what()) == kReadExtensionMessage) return Reply(e.what());
        return Reply(std::string("Error reading ") + name);
    } catch (const std::exception&) {
        return Reply(std::string("Error reading ") + name);
    }
}

// The display units: 0 SI, 1 US customary.
EMSCRIPTEN_KEEPALIVE void dvx_web_set_units(int us) {
    SetDisplayUnits(TUnitChoice::FromPreset(us ? upUS : upSI));
}

// The grid as the desktop program shows it: column titles, and per item
// every cell's text, whether it can be edited and its colour, in the
// display units in force; with the project's liquid and material.
EMSCRIPTEN_KEEPALIVE const char* dvx_web_grid(const char* work) {
    try {
        StartOnce();
        TProjectState& project = PageProject();
        TLoadedCircuit loaded = LoadCircuitFile(work, project.Context());
        ApplyLoadedCircuit(loaded, project.Context());
        TCircuit& circuit = *loaded.Circuit;
        // The cells show the results and warning colours of a calculation,
        // as the desktop program's grid does after F9; a circuit that does
        // not calculate is shown as entered.
        if (circuit.FindInvalid().AllValid) {
            try {
                circuit.Calculate(project.Context(), false);
            } catch (const std::exception&) {
            }
        }
        nlohmann::ordered_json doc;
        const std::vector<int> columns = ShownColumns(true, true, 0);
        nlohmann::ordered_json titles = nlohmann::ordered_json::array();
        for (int c : columns) titles.push_back({{"column", c}, {"title", ColumnTitle(c)}, {"numeric", ColumnDef(c).Numeric}});
        doc["columns"] = titles;
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        for (int i = 0; i < circuit.Count(); ++i) {
            const TBranch& item = circuit.Item(i);
            nlohmann::ordered_json cells = nlohmann::ordered_json::array();
            for (int c : columns) {
                const TCellColour colour = CellColour(&item, c);
                cells.push_back({{"text", CellText(&item, c, project.Context())},
                                 {"edit", CanEdit(&item, c)},
                                 {"colour", colour == TCellColour::Highlight ? "highlight"
                                            : colour == TCellColour::Grey  ? "grey"
                                                                           : ""},
                                 {"tip", WarningTip(&item, c, project.Context())}});
            }
            rows.push_back({{"number", item.Number}, {"cells", cells}});
        }
        doc["rows"] = rows;
        const TLiquid& liquid = loaded.Fluid ? *loaded.Fluid : project.Liquid;
        doc["liquid"] = {{"spec", liquid.LiquidSpec}, {"t", liquid.t}, {"additive", liquid.WaterAdditive},
                         {"volume", liquid.AdditiveVolume}, {"caption", liquid.Caption}};
        doc["liquids"] = LiquidNames;
        doc["material"] = circuit.Material;
        return Reply(doc.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
    } catch (const std::exception& e) {
        return Reply(std::string("{\"error\":") + nlohmann::json(std::string(e.what())).dump() + "}");
    }
}

// An in-place edit of one cell (logical column, see CircuitGrid.h), typed
// in the display units in force, with the desktop program's messages.
EMSCRIPTEN_KEEPALIVE const char* dvx_web_edit(const char* work, int row, int column, const char* text) {
    return Change(work, [&](TLoadedCircuit& loaded) {
        TCircuit& circuit = *loaded.Circuit;
        CheckRow(circuit, row, 0);
        if (!CanEdit(&circuit.Item(row), column)) throw std::invalid_argument("This cell cannot be edited");
        const std::string committed = CommittedText(column, text);
        if (committed.empty()) return;
        ApplyCellText(circuit, row, column, committed, PageProject().Context());
    });
}

// A new item before row (row == count: at the end): 0 pipe, 1 fitting,
// 2 user item with a fixed pressure drop.
EMSCRIPTEN_KEEPALIVE const char* dvx_web_insert(const char* work, int row, int kind) {
    return Change(work, [&](TLoadedCircuit& loaded) {
        TCircuit& circuit = *loaded.Circuit;
        CheckRow(circuit, row, 1);
        const TProjectContext project = PageProject().Context();
        std::unique_ptr<TBranch> item;
        if (kind == 0) item = std::make_unique<TPipe>(project);
        else if (kind == 1) item = std::make_unique<TFitting>(project, 0);
        else if (kind == 2) item = std::make_unique<TUser>(project);
        else throw std::invalid_argument("No item kind " + std::to_string(kind));
        circuit.Insert(row, std::move(item));
    });
}

EMSCRIPTEN_KEEPALIVE const char* dvx_web_delete(const char* work, int row) {
    return Change(work, [&](TLoadedCircuit& loaded) {
        CheckRow(*loaded.Circuit, row, 0);
        loaded.Circuit->Remove(row);
    });
}

EMSCRIPTEN_KEEPALIVE const char* dvx_web_move(const char* work, int from, int to) {
    return Change(work, [&](TLoadedCircuit& loaded) {
        CheckRow(*loaded.Circuit, from, 0);
        CheckRow(*loaded.Circuit, to, 0);
        loaded.Circuit->Move(from, to);
    });
}

// The project's liquid (code 0 to 13), temperature (°C), additive (0 to 3)
// and its volume fraction (0 to 1), and pipe material (0 to 2). The liquid
// is evaluated at once: a temperature it cannot be evaluated at is refused
// with the liquid's message.
EMSCRIPTEN_KEEPALIVE const char* dvx_web_set_liquid(const char* work, int spec, double t, int additive, double volume,
                                                    int material) {
    return Change(work, [&](TLoadedCircuit& loaded) {
        if (spec < 0 || spec > 13 || additive < 0 || additive > 3 || !(volume >= 0 && volume <= 1) ||
            material < 0 || material > 2)
            throw std::invalid_argument("Value out of range");
        if (!loaded.Fluid) loaded.Fluid = PageProject().Liquid;
        TLiquid& liquid = *loaded.Fluid;
        liquid.LiquidSpec = static_cast<std::uint8_t>(spec);
        liquid.WaterAdditive = static_cast<std::uint8_t>(additive);
        liquid.AdditiveVolume = volume;
        liquid.SetT(t);
        loaded.Circuit->Material = static_cast<std::uint8_t>(material);
    });
}

} // extern "C"
