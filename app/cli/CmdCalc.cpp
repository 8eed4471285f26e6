// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli calc: reads a text item file the way "Read from Text File"
// does, or a project file, calculates the circuit and prints the items'
// results and the totals.

#include "Args.h"
#include "CliCommand.h"
#include "settings/Startup.h"

#include "catalogue/Bores.h"
#include "catalogue/Tables.h"
#include "common/Errors.h"
#include "common/Format.h"
#include "common/Numbers.h"
#include "fluid/Fluid.h"
#include "hydraulics/Calc.h"
#include "project/CircuitFiles.h"
#include "project/FileIO.h"
#include "project/TextItems.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace dvx::cli {
namespace {

// Exit codes of this command beyond the shared ones.
constexpr int kExitInvalidItem = 3; // "Data may not be zero"
constexpr int kExitCalculation = 4; // "Pressure drop error."
constexpr int kExitFile = 5;        // "Error reading <path>"

const char* const kWarningText[] = {"Flow OK", "High dP Rate", "High Velocity"};

// Start-up in the desktop program's order: the tables with their built-in
// values, then either the liquid module alone (builtinOnly) or the whole
// core start-up (install-data merge answered "Decide later", liquid module,
// refrigerant library, folders, settings, catalogue files). Loading messages
// go to err; they do not stop the calculation.
void StartCore(bool builtinOnly, std::ostream& err) {
    RestoreBuiltInTables();
    if (builtinOnly) {
        StartFluidModule(DefaultTemperature);
        return;
    }
    TStartOptions options;
    options.StartFluid = [] { StartFluidModule(DefaultTemperature); };
    for (const std::string& message : dvx::StartCore(options).Messages) err << message << "\n";
    // As the desktop program does when its window first becomes active: the
    // liquid takes the user's default temperature, read with the settings.
    // A stored temperature the liquid cannot take is named with its place in
    // the settings file; the liquid keeps its start temperature.
    try {
        SystemFluid->SetT(DefaultTemperature);
    } catch (const MathError& e) {
        err << AppSettings().Where(settings::WaterTemp.Section, settings::WaterTemp.Key) << ": "
            << Abbreviate(AppSettings().Read(settings::WaterTemp), 60) << ": " << e.what() << "\n";
    }
}

int ParseSortKey(const std::string& text) {
    static const char* const names[SortKeyCount] = {"number", "description", "group", "bore",
                                                    "length", "flow", "dp", "type"};
    for (int k = 0; k < SortKeyCount; ++k)
        if (text == names[k]) return k;
    if (auto k = TryStrToInt(text); k && *k >= 0 && *k < SortKeyCount) return *k;
    throw UsageError("--sort: '" + text + "' is not a sort key (0 to 7 or number, description, group, "
                     "bore, length, flow, dp, type)");
}

// The circuit operations in the order they stand on the command line.
struct TOperation {
    enum { Resize, ResetFlows, Sort } What;
    int Key = 0;
};

std::vector<TOperation> OrderedOperations(const std::vector<std::string>& args) {
    std::vector<TOperation> ops;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--resize-all") ops.push_back({TOperation::Resize});
        else if (args[i] == "--reset-flows") ops.push_back({TOperation::ResetFlows});
        else if (args[i] == "--sort" && i + 1 < args.size()) ops.push_back({TOperation::Sort, ParseSortKey(args[++i])});
    }
    return ops;
}

void ApplyFluidOptions(Args& args) {
    const auto liquid = args.Integer("--liquid");
    const auto t = args.Number("--t");
    const auto additive = args.Integer("--additive");
    const auto volume = args.Number("--volume");
    if (liquid && (*liquid < 0 || *liquid > 13)) throw UsageError("--liquid: the code must be 0 to 13");
    if (additive && (*additive < 0 || *additive > 3)) throw UsageError("--additive: the code must be 0 to 3");
    if (volume && !(*volume >= 0 && *volume <= 1)) throw UsageError("--volume: the fraction must be 0 to 1");
    if (t && !std::isfinite(*t)) throw UsageError("--t: not a temperature");
    if (!liquid && !t && !additive && !volume) return;
    if (liquid) SystemFluid->LiquidSpec = static_cast<std::uint8_t>(*liquid);
    if (additive) SystemFluid->WaterAdditive = static_cast<std::uint8_t>(*additive);
    if (volume) SystemFluid->AdditiveVolume = *volume;
    SystemFluid->SetT(t ? *t : SystemFluid->t);
}

// JSON string: UTF-8 text passes through; a text that is not valid UTF-8
// (8-bit bytes from an old file) is written byte by byte as Latin-1.
bool IsUtf8(const std::string& s) {
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        if (c < 0x80) extra = 0;
        else if ((c >> 5) == 6) extra = 1;
        else if ((c >> 4) == 14) extra = 2;
        else if ((c >> 3) == 30) extra = 3;
        else return false;
        if (i + extra >= n && extra > 0) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += extra + 1;
    }
    return true;
}

std::string JsonString(const std::string& s) {
    const bool utf8 = IsUtf8(s);
    std::string out = "\"";
    for (char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else if (c < 0x20 || (c >= 0x80 && !utf8)) out += Format("\\u%04x", {static_cast<int>(c)});
        else out += ch;
    }
    return out + "\"";
}

std::string JsonNumber(double v) { return std::isfinite(v) ? FloatToStr17(v) : "null"; }

void PrintJson(const TCircuit& circuit, std::ostream& out) {
    out << "{\"items\":[";
    for (int i = 0; i < circuit.Count(); ++i) {
        const TBranch& item = circuit.Item(i);
        const auto* pipe = item.Kind() == TItemKind::User ? nullptr : static_cast<const TPipe*>(&item);
        const char* kind = item.Kind() == TItemKind::Pipe ? "pipe" : item.Kind() == TItemKind::Fitting ? "fitting" : "user";
        auto pipeValue = [pipe](double TPipe::*field) { return pipe ? JsonNumber(pipe->*field) : std::string("null"); };
        out << (i ? "," : "") << "{\"number\":" << Format("%d", {item.Number})
            << ",\"description\":" << JsonString(item.Description)
            << ",\"type\":" << JsonString(item.TypeName)
            << ",\"kind\":\"" << kind << "\""
            << ",\"bore\":" << JsonString(BoreName[item.BoreIndex])
            << ",\"insideDiameter\":" << JsonNumber(item.InsideDiameter)
            << ",\"flow\":" << JsonNumber(item.Flow)
            << ",\"velocity\":" << pipeValue(&TPipe::Velocity)
            << ",\"reynolds\":" << pipeValue(&TPipe::Reynolds)
            << ",\"friction\":" << (pipe ? JsonNumber(item.Friction) : "null")
            << ",\"length\":" << pipeValue(&TPipe::Length)
            << ",\"pressureDrop\":" << JsonNumber(item.PressureDrop)
            << ",\"gradient\":" << pipeValue(&TPipe::Gradient)
            << ",\"volume\":" << JsonNumber(item.Volume)
            << ",\"warning\":" << (pipe ? Format("%d", {static_cast<int>(pipe->Warning)}) : "null")
            << ",\"group\":" << Format("%d", {item.Group})
            << ",\"inIndex\":" << (item.InIndex ? "true" : "false") << "}";
    }
    out << "],\"totalDP\":" << JsonNumber(circuit.TotalDP) << ",\"totalVolume\":" << JsonNumber(circuit.TotalVolume)
        << "}\n";
}

void PrintTotals(const TCircuit& circuit, std::ostream& out) {
    out << Format("Index circuit dP: %0.4f kPa\n", {circuit.TotalDP * 0.001});
    out << Format("Total volume: %0.6f m3\n", {circuit.TotalVolume});
}

void PrintTable(const TCircuit& circuit, std::ostream& out) {
    out << Format("%6s  %-24s %-20s %4s %10s %8s %10s %9s %11s %10s %11s  %s\n",
                  {"#", "Description", "Type", "Bore", "Q l/s", "v m/s", "Re", "f", "dP kPa", "Pa/m", "Vol m3",
                   "Warning"});
    for (const auto& itemPtr : circuit.Items) {
        const TBranch& item = *itemPtr;
        std::string line = Format("%6d  %-24s %-20s %4s %10.3f ",
                                  {item.Number, item.Description, item.TypeName, BoreName[item.BoreIndex],
                                   item.Flow * 1000});
        if (item.Kind() == TItemKind::User) {
            line += Format("%8s %10s %9s %11.4f %10s %11.6f  %s",
                           {"", "", "", item.PressureDrop * 0.001, "", item.Volume, ""});
        } else {
            const auto& pipe = static_cast<const TPipe&>(item);
            line += Format("%8.3f %10.0f %9.6f %11.4f %10.1f %11.6f  %s",
                           {pipe.Velocity, pipe.Reynolds, pipe.Friction, pipe.PressureDrop * 0.001, pipe.Gradient,
                            pipe.Volume, pipe.Warning < 3 ? kWarningText[pipe.Warning] : ""});
        }
        out << line << "\n";
    }
    PrintTotals(circuit, out);
}

int RunCalc(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    Args args(argv);
    const bool builtin = args.Flag("--builtin");
    const bool groups = args.Flag("--groups");
    const bool quiet = args.Flag("--quiet");
    const bool json = args.Flag("--json");
    const auto material = args.Integer("--material");
    const auto repeat = args.Integer("--repeat");
    const std::vector<TOperation> operations = OrderedOperations(argv);
    args.Flag("--resize-all");
    args.Flag("--reset-flows");
    args.Values("--sort");
    if (material && (*material < 0 || *material > 2)) throw UsageError("--material must be 0, 1 or 2");
    if (repeat && *repeat < 1) throw UsageError("--repeat must be at least 1");

    StartCore(builtin, err);
    ApplyFluidOptions(args);
    const std::vector<std::string> files = args.Positionals();
    args.RequireAllUsed();
    if (files.size() != 1) throw UsageError("one circuit file (.txt or .dvx) is needed");
    const std::string& path = files[0];

    // A text item file gives a new circuit as "Read from Text File" does; a
    // project file also brings its liquid and material, used as stored
    // unless the options override them.
    TLoadedCircuit loaded;
    try {
        loaded = LoadCircuitFile(path);
    } catch (const ProjectFileError& e) {
        err << e.what() << "\n" << e.Detail() << "\n";
        return kExitFile;
    } catch (const FileError& e) {
        err << e.what() << "\n";
        return kExitFile;
    }
    for (const std::string& message : loaded.Messages) err << path << ": " << message << "\n";
    ApplyLoadedCircuit(loaded);
    TCircuit& circuit = *loaded.Circuit;
    if (material) circuit.Material = static_cast<std::uint8_t>(*material);
    SelectPipeMaterial(circuit.Material);
    if (loaded.Fluid) {
        Args fluidOptions(argv);
        ApplyFluidOptions(fluidOptions);
    }

    for (const TOperation& op : operations) {
        switch (op.What) {
        case TOperation::Resize: circuit.ResizeAll(); break;
        case TOperation::ResetFlows: circuit.ResetAllFlows(); break;
        case TOperation::Sort:
            circuit.SetSortKey(op.Key);
            circuit.SortItems();
            break;
        }
    }

    const TInvalidItem invalid = circuit.FindInvalid();
    if (!invalid.AllValid) {
        err << Format("Data may not be zero: item %d (number %d), column %d\n",
                      {invalid.Position + 1, circuit.Item(invalid.Position).Number, invalid.Column});
        return kExitInvalidItem;
    }
    try {
        for (int pass = 0; pass < repeat.value_or(1); ++pass) circuit.Calculate(groups);
    } catch (const MathError&) {
        err << "Pressure drop error.\n";
        return kExitCalculation;
    }

    if (json)
        PrintJson(circuit, out);
    else if (quiet)
        PrintTotals(circuit, out);
    else
        PrintTable(circuit, out);
    return kExitOk;
}

const CliCommandRegistrar registrar({
    "calc",
    "calc FILE.txt|FILE.dvx [--builtin] [--groups] [--material 0|1|2] [--liquid CODE] [--t CELSIUS] "
    "[--additive 0-3 --volume FRACTION] [--resize-all] [--reset-flows] [--sort KEY]... [--repeat N] "
    "[--quiet] [--json]   (exit 3 invalid item, 4 calculation error, 5 unreadable file)",
    RunCalc,
});

} // namespace
} // namespace dvx::cli
