// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli convert IN OUT: a circuit from a project file (.dvx), a text
// item file (.txt) or standard input ("-") to a project file, a text item
// file or a CSV table of the calculated circuit (.csv), or to standard
// output ("-", the form named by --to). Text to project builds the circuit
// as "Read from Text File" does (items in the reverse of the file's order,
// the start-up liquid, material 0); project to text writes the export lines;
// to CSV the circuit is calculated as "calc" does. The output replaces its
// file only once it is completely written.

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
#include "storage/project/ProjectFile.h"
#include "storage/project/TextItems.h"
#include "base/platform/AtomicWrite.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <optional>
#include <ostream>
#include <string_view>

namespace dvx::cli {
namespace {

enum class TOutputForm { Project, TextItems, Csv };

std::optional<TOutputForm> FormNamed(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name == "dvx") return TOutputForm::Project;
    if (name == "txt") return TOutputForm::TextItems;
    if (name == "csv") return TOutputForm::Csv;
    return std::nullopt;
}

// The form of the output: by --to for standard output, else by the file's
// extension (and --to, when given, must agree with it).
TOutputForm OutputForm(const std::string& target, const std::optional<std::string>& to) {
    std::optional<TOutputForm> named;
    if (to && !(named = FormNamed(*to))) throw UsageError("--to: '" + *to + "' is not dvx, txt or csv");
    if (target == "-") {
        if (!named) throw UsageError("--to dvx|txt|csv is needed to write to standard output");
        return *named;
    }
    const std::string ext = std::filesystem::path(target).extension().string();
    const std::optional<TOutputForm> byExtension = ext.size() > 1 ? FormNamed(ext.substr(1)) : std::nullopt;
    if (!byExtension)
        throw UsageError("'" + target + "': the output must end in .dvx, .txt or .csv (or be - with --to)");
    if (named && *named != *byExtension) throw UsageError("--to " + *to + " does not match '" + target + "'");
    return *byExtension;
}

int WriteOutput(const std::string& target, std::string_view bytes, std::ostream& out, std::ostream& err) {
    if (target == "-") {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return kExitOk;
    }
    try {
        WriteFileAtomically(target, bytes);
    } catch (const std::exception& e) {
        err << "Error writing " << target << "\n" << e.what() << "\n";
        return kExitWrite;
    }
    return kExitOk;
}

// The count of items written, for a file; standard output carries the
// circuit itself and nothing else.
void SayWritten(const std::string& target, int count, std::ostream& out) {
    if (target != "-") out << Format("%d items written to %s", {count, target}) << "\n";
}

// An input without items would replace the output with an empty circuit:
// most likely the wrong input (an empty pipe, a file of other content), and
// the file it would overwrite may hold work. Only --allow-empty writes it.
int RefuseEmpty(const std::string& input, std::ostream& err) {
    err << InputName(input) << " holds no item line; nothing written (--allow-empty writes an empty circuit)\n";
    return kExitInvalidItem;
}

int RunConvert(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    Args args(argv);
    TCalcRequest request = ReadCalcOptions(args);
    const bool strict = args.Flag("--strict");
    const bool allowEmpty = args.Flag("--allow-empty");
    const std::optional<std::string> to = args.Value("--to");
    const TUnitChoice units = ReadUnitsOption(args);
    const std::vector<std::string> files = args.Positionals();
    args.RequireAllUsed();
    if (files.size() != 2) throw UsageError("convert needs an input and an output file");
    request.Input = files[0];
    const std::string target = files[1];
    const TOutputForm form = OutputForm(target, to);
    const bool toCsv = form == TOutputForm::Csv;
    // A project file keeps the fitting method; a text item file has no place for it.
    const std::optional<TFittingMethod> method = request.FittingMethod;
    if (form == TOutputForm::Project) request.FittingMethod.reset();
    if (!toCsv && (ChangesTheCircuit(request) || request.Builtin || request.Groups))
        throw UsageError("the calculation options apply only to a .csv output (--fitting-method also to .dvx)");
    if (!toCsv && !(units == TUnitChoice())) throw UsageError("--units applies only to a .csv output");

    if (request.Input != "-" && CircuitFileKind(request.Input) == TCircuitFileKind::Other) {
        err << kReadExtensionMessage << "\n";
        return kExitInput;
    }

    if (toCsv) {
        TCalcRun run = RunCalculation("convert", request, err);
        if (run.Exit != kExitOk) return run.Exit;
        if (run.Setting.Circuit->Count() == 0 && !allowEmpty) return RefuseEmpty(request.Input, err);
        run.Setting.Units = units;
        if (int rc = WriteOutput(target, CircuitCsv(run.Setting), out, err); rc != kExitOk) return rc;
        SayWritten(target, run.Setting.Circuit->Count(), out);
        return strict && !run.Setting.Warnings.empty() ? kExitStrictWarning : kExitOk;
    }

    // No start-up: the built-in tables and clean water at the built-in
    // default temperature.
    TProjectState project;
    TCircuitInput input;
    try {
        input = ReadCircuitInput(request.Input, project.Context());
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
    PrintWarnings(warnings, err);
    if (input.Loaded.Circuit->Count() == 0 && !allowEmpty) return RefuseEmpty(request.Input, err);
    if (method) input.Loaded.Circuit->FittingMethod = *method;
    const TLoadedCircuit& loaded = input.Loaded;
    // The circuit's bores are rows of its material's table (for a material
    // of its own, the copy the project carries): the text lines' sizes and
    // the project file are made from that table.
    project.Tables.SelectPipeMaterial(loaded.Circuit->Material);
    const TFluid& fluid = loaded.Fluid ? static_cast<const TFluid&>(*loaded.Fluid) : project.Liquid;
    if (target == "-") {
        if (form == TOutputForm::Project) {
            const std::vector<std::uint8_t> bytes = EncodeProject(*loaded.Circuit, fluid, project.Tables);
            WriteOutput(target, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), out, err);
        } else {
            WriteOutput(target, TextItemsContent(*loaded.Circuit), out, err);
        }
    } else {
        try {
            SaveCircuitFile(target, *loaded.Circuit, fluid, project.Tables);
        } catch (const ProjectFileError& e) {
            err << e.what() << "\n" << e.Detail() << "\n";
            return kExitWrite;
        } catch (const FileError& e) {
            err << e.what() << "\n";
            return kExitWrite;
        }
    }
    SayWritten(target, loaded.Circuit->Count(), out);
    return strict && !warnings.empty() ? kExitStrictWarning : kExitOk;
}

const CliCommandRegistrar registrar({
    "convert",
    "convert a circuit between project, text item and CSV files",
    "Usage: darvenix-cli convert [OPTIONS] IN.dvx|IN.txt|- OUT.dvx|OUT.txt|OUT.csv\n"
    "  or:  darvenix-cli convert [OPTIONS] IN.dvx|IN.txt|- - --to dvx|txt|csv\n",
    "  --to dvx|txt|csv     the form of the output; needed when OUT is - (standard\n"
    "                       output), otherwise it must match OUT's extension\n"
    "  --allow-empty        write the output even when the input holds no item\n"
    "                       (otherwise exit 3 and nothing is written)\n"
    "  (a .csv output is the calculated circuit, as \"calc --csv\" prints it; the\n"
    "   calculation options below apply to it only)\n" +
        CalcOptionsHelp() + UnitsOptionHelp(),
    RunConvert,
    TOutputOption::NotAccepted,
});

} // namespace
} // namespace dvx::cli
