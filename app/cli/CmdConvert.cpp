// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli convert IN OUT: a circuit from a project file (.dvx) to a
// text item file (.txt) or back. Text to project builds the circuit as
// "Read from Text File" does (items in the reverse of the file's order, the
// start-up liquid, material 0); project to text writes the export lines.
// The output replaces its file only once it is completely written.

#include "Args.h"
#include "CliCommand.h"

#include "catalogue/Tables.h"
#include "common/Format.h"
#include "fluid/Fluid.h"
#include "project/CircuitFiles.h"
#include "project/FileIO.h"

#include <ostream>

namespace dvx::cli {
namespace {

int RunConvert(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    Args args(argv);
    const std::vector<std::string> files = args.Positionals();
    args.RequireAllUsed();
    if (files.size() != 2) throw UsageError("convert needs an input and an output file");
    const std::filesystem::path in = files[0];
    const std::filesystem::path target = files[1];

    if (CircuitFileKind(in) == TCircuitFileKind::Other) {
        err << kReadExtensionMessage << "\n";
        return kExitFailed;
    }
    if (CircuitFileKind(target) == TCircuitFileKind::Other) {
        err << kWriteExtensionMessage << "\n";
        return kExitFailed;
    }

    StartFluidModule(DefaultTemperature);
    try {
        const TLoadedCircuit loaded = LoadCircuitFile(in);
        for (const std::string& message : loaded.Messages) err << in.string() << ": " << message << "\n";
        const TFluid& fluid = loaded.Fluid ? static_cast<const TFluid&>(*loaded.Fluid) : *SystemFluid;
        SaveCircuitFile(target, *loaded.Circuit, fluid);
        out << Format("%d items written to %s", {loaded.Circuit->Count(), target.string()}) << "\n";
        return kExitOk;
    } catch (const ProjectFileError& e) {
        err << e.what() << "\n" << e.Detail() << "\n";
        return kExitFailed;
    } catch (const FileError& e) {
        err << e.what() << "\n";
        return kExitFailed;
    }
}

const CliCommandRegistrar registrar({
    "convert",
    "convert IN OUT          convert a circuit between a project file (.dvx) and a text item file (.txt)",
    RunConvert,
});

} // namespace
} // namespace dvx::cli
