// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli convert IN OUT: a circuit from a project file (.dvx), a text
// item file (.txt) or standard input ("-") to a project file, a text item
// file or a CSV table of the calculated circuit (.csv). Text to project
// builds the circuit as "Read from Text File" does (items in the reverse of
// the file's order, the start-up liquid, material 0); project to text writes
// the export lines; to CSV the circuit is calculated as "calc" does. The
// output replaces its file only once it is completely written.

#include "Args.h"
#include "CircuitCalc.h"
#include "CircuitInput.h"
#include "CircuitOutput.h"
#include "CliCommand.h"
#include "CliUnits.h"

#include "engine/catalogue/Tables.h"
#include "base/Format.h"
#include "engine/fluid/Fluid.h"
#include "storage/project/CircuitFiles.h"
#include "storage/project/FileIO.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <ostream>

namespace dvx::cli {
namespace {

bool IsCsvPath(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".csv";
}

int WriteCsv(const std::filesystem::path& target, const std::string& text, std::ostream& err) {
    try {
        WriteFileAtomically(target, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    } catch (const std::exception& e) {
        err << "Error writing " << target.string() << "\n" << e.what() << "\n";
        return kExitWrite;
    }
    return kExitOk;
}

// An input without items would replace the output with an empty circuit:
// most likely the wrong input (an empty pipe, a file of other content), and
// the file it would overwrite may hold work. Only --allow-empty writes it.
int RefuseEmpty(const std::string& input, std::ostream& err) {
    err << "darvenix-cli convert: " << InputName(input)
        << " holds no item line; nothing written (--allow-empty writes an empty circuit)\n";
    return kExitInvalidItem;
}

int RunConvert(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    Args args(argv);
    TCalcRequest request = ReadCalcOptions(args);
    const bool strict = args.Flag("--strict");
    const bool allowEmpty = args.Flag("--allow-empty");
    const TUnitChoice units = ReadUnitsOption(args);
    const std::vector<std::string> files = args.Positionals();
    args.RequireAllUsed();
    if (files.size() != 2) throw UsageError("convert needs an input and an output file");
    request.Input = files[0];
    const std::filesystem::path target = files[1];
    const bool toCsv = IsCsvPath(target);
    if (!toCsv && (ChangesTheCircuit(request) || request.Builtin || request.Groups))
        throw UsageError("the calculation options apply only to a .csv output");
    if (!toCsv && !(units == TUnitChoice())) throw UsageError("--units applies only to a .csv output");

    if (request.Input != "-" && CircuitFileKind(request.Input) == TCircuitFileKind::Other) {
        err << kReadExtensionMessage << "\n";
        return kExitInput;
    }
    if (!toCsv && CircuitFileKind(target) == TCircuitFileKind::Other) {
        err << kWriteExtensionMessage << "\n";
        return kExitWrite;
    }

    if (toCsv) {
        TCalcRun run = RunCalculation("convert", request, err);
        if (run.Exit != kExitOk) return run.Exit;
        if (run.Setting.Circuit->Count() == 0 && !allowEmpty) return RefuseEmpty(request.Input, err);
        run.Setting.Units = units;
        if (int rc = WriteCsv(target, CircuitCsv(run.Setting), err); rc != kExitOk) return rc;
        out << Format("%d items written to %s", {run.Setting.Circuit->Count(), target.string()}) << "\n";
        return strict && !run.Setting.Warnings.empty() ? kExitStrictWarning : kExitOk;
    }

    StartFluidModule(DefaultTemperature);
    TCircuitInput input;
    try {
        input = ReadCircuitInput(request.Input);
    } catch (const ProjectFileError& e) {
        err << e.what() << "\n" << e.Detail() << "\n";
        return kExitInput;
    } catch (const FileError& e) {
        err << e.what() << "\n";
        return kExitInput;
    }
    std::vector<TCliWarning> warnings;
    for (const std::string& message : input.Loaded.Messages)
        warnings.push_back({"skippedLine", InputName(request.Input) + ": " + message});
    if (input.Loaded.Circuit->Count() == 0 && !input.FromEmptyInput)
        warnings.push_back({"noItems", InputName(request.Input) + " holds no item line"});
    PrintWarnings("convert", warnings, err);
    if (input.Loaded.Circuit->Count() == 0 && !allowEmpty) return RefuseEmpty(request.Input, err);
    try {
        const TLoadedCircuit& loaded = input.Loaded;
        const TFluid& fluid = loaded.Fluid ? static_cast<const TFluid&>(*loaded.Fluid) : *SystemFluid;
        SaveCircuitFile(target, *loaded.Circuit, fluid);
    } catch (const ProjectFileError& e) {
        err << e.what() << "\n" << e.Detail() << "\n";
        return kExitWrite;
    } catch (const FileError& e) {
        err << e.what() << "\n";
        return kExitWrite;
    }
    out << Format("%d items written to %s", {input.Loaded.Circuit->Count(), target.string()}) << "\n";
    return strict && !warnings.empty() ? kExitStrictWarning : kExitOk;
}

const CliCommandRegistrar registrar({
    "convert",
    "convert a circuit between a project file, a text item file and a CSV table",
    "Usage: darvenix-cli convert [OPTIONS] IN.dvx|IN.txt|- OUT.dvx|OUT.txt|OUT.csv\n",
    "  --allow-empty        write the output even when the input holds no item (otherwise\n"
    "                       exit 3 and nothing is written)\n"
    "  (a .csv output is the calculated circuit, as \"calc --csv\" prints it; the calculation\n"
    "   options below apply to it only)\n" +
        CalcOptionsHelp() + UnitsOptionHelp(),
    RunConvert,
});

} // namespace
} // namespace dvx::cli
