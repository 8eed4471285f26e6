// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli calc: reads a project file, a text item file (the way "Read
// from Text File" does) or standard input, calculates the circuit with the
// desktop program's settings and prints the items' results and the totals
// as a text table, JSON or CSV.

#include "Args.h"
#include "CircuitCalc.h"
#include "CircuitOutput.h"
#include "CliCommand.h"
#include "CliUnits.h"

#include <iostream>
#include <ostream>

namespace dvx::cli {
namespace {

int RunCalc(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    Args args(argv);
    TCalcRequest request = ReadCalcOptions(args);
    // Both spellings are asked for, so that each is taken off the arguments.
    const bool quietLong = args.Flag("--quiet");
    const bool quietShort = args.Flag("-q");
    const bool quiet = quietLong || quietShort;
    const bool json = args.Flag("--json");
    const bool csv = args.Flag("--csv");
    const bool strict = args.Flag("--strict");
    const TUnitChoice units = ReadUnitsOption(args);
    const std::vector<std::string> files = args.Positionals();
    args.RequireAllUsed();
    if (files.size() != 1) throw UsageError("one circuit file (.txt or .dvx, or - for standard input) is needed");
    if (json + csv + quiet > 1) throw UsageError("--json, --csv and --quiet exclude each other");
    request.Input = files[0];

    TCalcRun run = RunCalculation("calc", request, err);
    if (run.Exit != kExitOk) return run.Exit;
    run.Setting.Units = units;
    if (json)
        WriteCircuitJson(run.Setting, out);
    else if (csv)
        out << CircuitCsv(run.Setting);
    else if (quiet)
        WriteCircuitTotals(*run.Setting.Circuit, out, units, run.Setting.Fluid->ro);
    else
        WriteCircuitTable(run.Setting, out);
    return strict && !run.Setting.Warnings.empty() ? kExitStrictWarning : kExitOk;
}

const CliCommandRegistrar registrar({
    "calc",
    "calculate a circuit and print every item's results and the totals",
    "Usage: darvenix-cli calc [OPTIONS] FILE.dvx|FILE.txt|-\n",
    CalcOptionsHelp() + UnitsOptionHelp() +
        "  -q, --quiet          print the totals only\n"
        "  --json               print the versioned JSON document (units, liquid,\n"
        "                       material, items, totals, warnings)\n"
        "  --csv                print one CSV row per item and a totals row, units in\n"
        "                       the header\n",
    RunCalc,
    TOutputOption::Accepted,
});

} // namespace
} // namespace dvx::cli
