// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculation behind "calc" and "convert IN OUT.csv": start the core,
// read the circuit, put its liquid and material in force with the options
// over them, run the circuit operations in the order given, check and
// calculate. Messages go to err as they happen.

#include "Args.h"
#include "CircuitInput.h"
#include "CircuitOutput.h"
#include "engine/catalogue/Tables.h"
#include "CliCommand.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dvx::cli {

// The circuit operations in the order they stand on the command line.
struct TOperation {
    enum { Resize, ResetFlows, Sort } What;
    int Key = 0;
};

struct TCalcRequest {
    std::string Input; // a path, or "-" for standard input
    bool Builtin = false;
    bool Groups = false;
    std::optional<int> Material;          // a built-in material's code, 0 to 2
    std::optional<std::string> MaterialName; // another material, by name or code (resolved at start-up)
    int Repeat = 1;
    std::optional<int> Liquid;
    std::optional<double> Temperature; // °C
    std::optional<int> Additive;
    std::optional<double> Volume; // fraction 0 to 1
    std::optional<TFittingMethod> FittingMethod; // over the project's
    std::vector<TOperation> Operations;
};

// The option lines of the options ReadCalcOptions reads, for help texts.
std::string CalcOptionsHelp();

// Reads the calculation options (not the input) from args; UsageError on a
// bad value.
TCalcRequest ReadCalcOptions(Args& args);
// True when any option beyond --builtin and --groups was given.
bool ChangesTheCircuit(const TCalcRequest& request);

struct TCalcRun {
    int Exit = kExitOk; // from CliCommand.h; not 0: the command stops with it
    // The run's project: the tables and liquid the circuit is calculated
    // with (Setting points into it).
    std::unique_ptr<TProjectState> Project = std::make_unique<TProjectState>();
    TCircuitInput Input;
    TCalcSetting Setting; // complete when Exit is 0
};

TCalcRun RunCalculation(const std::string& command, const TCalcRequest& request, std::ostream& err);

} // namespace dvx::cli
