// SPDX-License-Identifier: GPL-3.0-or-later
#include "CircuitCalc.h"

#include "CliCommand.h"
#include "CodeNames.h"
#include "CoreStart.h"

#include "engine/catalogue/ActiveBores.h"
#include "engine/catalogue/Materials.h"
#include "engine/hydraulics/MaterialChange.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ThreeKFallback.h"
#include "engine/resistance/FittingMethod.h"
#include "storage/project/FileIO.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace dvx::cli {
namespace {

// Passes of --repeat: the friction factors settle within a few; the bound
// keeps a mistyped count from running for hours.
constexpr int kMaxRepeat = 1000000;

int ParseSortKey(const std::string& text) {
    static const char* const names[SortKeyCount] = {"number", "description", "group", "bore",
                                                    "length", "flow", "dp", "type"};
    for (int k = 0; k < SortKeyCount; ++k)
        if (text == names[k]) return k;
    if (auto k = TryStrToInt(text); k && *k >= 0 && *k < SortKeyCount) return *k;
    throw UsageError("--sort: '" + text + "' is not a sort key (0 to 7 or number, description, group, "
                     "bore, length, flow, dp, type)");
}

std::vector<TOperation> OrderedOperations(const std::vector<std::string>& args) {
    std::vector<TOperation> ops;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--resize-all") ops.push_back({TOperation::Resize});
        else if (args[i] == "--reset-flows") ops.push_back({TOperation::ResetFlows});
        else if (args[i] == "--sort" && i + 1 < args.size()) ops.push_back({TOperation::Sort, ParseSortKey(args[++i])});
    }
    return ops;
}

// The grid column FindInvalid names, as the user knows the value.
std::string InvalidValueName(const TBranch& item, int column) {
    switch (column) {
    case dcFlow: return "the flow";
    case dcPressureDrop: return "the pressure drop";
    case dcLengthOrQuantity:
        switch (item.Kind()) {
        case TItemKind::Fitting: return "the quantity";
        case TItemKind::KItem: return "K";
        case TItemKind::Valve: return "Kv";
        default: return "the length";
        }
    default: return "column " + std::to_string(column);
    }
}

// The liquid options over the liquid in force; false when the liquid
// cannot be evaluated (the message is on err).
bool ApplyFluidOptions(TLiquid& liquid, const TCalcRequest& r, std::ostream& err) {
    if (!r.Liquid && !r.Temperature && !r.Additive && !r.Volume) return true;
    if (r.Liquid) liquid.LiquidSpec = static_cast<std::uint8_t>(*r.Liquid);
    if (r.Additive) liquid.WaterAdditive = static_cast<std::uint8_t>(*r.Additive);
    if (r.Volume) liquid.AdditiveVolume = *r.Volume;
    const double t = r.Temperature ? *r.Temperature : liquid.t;
    try {
        liquid.SetT(t);
    } catch (const MathError& e) {
        err << "the liquid cannot be evaluated at " << FloatToStr(t)
            << " °C: " << e.what() << "\n";
        return false;
    }
    return true;
}

} // namespace

std::string CalcOptionsHelp() {
    return "  --builtin            use the built-in tables, not the settings and catalogue\n"
           "                       files\n"
           "  --groups             total only the items flagged for the index circuit\n"
           "  --material NAME      pipe material, by name or code 0 to 2:\n" +
           OptionValueList(MaterialOptionNames()) +
           "                       or a material of the catalogue files, by name or code\n"
           "                       3 on (\"catalogue\" lists them)\n"
           "  --liquid NAME        liquid, by name or code 0 to 13 (see \"fluid --list\"):\n" +
           OptionValueList(LiquidOptionNames()) +
           "  --t CELSIUS          liquid temperature\n"
           "  --additive NAME      additive to water, by name or code 0 to 3:\n" +
           OptionValueList(AdditiveOptionNames()) +
           "  --volume FRACTION    additive volume fraction, 0 to 1\n"
           "  --fitting-method M   how fittings are calculated, over the project's choice:\n"
           "                       length (equivalent length), crane (Crane K) or 3k\n"
           "  --resize-all         choose every item's bore from its flow\n"
           "  --reset-flows        give every item the default flow of its bore\n"
           "  --sort KEY           sort the items: number, description, group, bore,\n"
           "                       length, flow, dp, type or 0 to 7 (repeatable;\n"
           "                       operations run in the order given)\n"
           "  --repeat N           calculate N times, 1 to 1000000 (the friction factors\n"
           "                       start from the last pass)\n"
           "  --strict             exit 6 when a warning was given\n";
}

TCalcRequest ReadCalcOptions(Args& args) {
    TCalcRequest r;
    r.Builtin = args.Flag("--builtin");
    r.Groups = args.Flag("--groups");
    if (const auto material = args.Value("--material")) {
        // A built-in material by name or code now; the others, by name or
        // code 3 on, once their catalogue files are read.
        try {
            r.Material = CodeOrName("--material", *material, MaterialOptionNames());
        } catch (const UsageError&) {
            const std::optional<double> number = TryStrToFloat(*material);
            if (const std::optional<int> code = MaterialCodeOf(TCatalogueTables{}, *material))
                r.Material = *code;
            else if (number && !(*number >= MaterialCount))
                throw;
            else
                r.MaterialName = *material;
        }
    }
    const auto repeat = args.Integer("--repeat");
    if (const auto liquid = args.Value("--liquid")) r.Liquid = CodeOrName("--liquid", *liquid, LiquidOptionNames());
    r.Temperature = args.Number("--t");
    if (const auto additive = args.Value("--additive"))
        r.Additive = CodeOrName("--additive", *additive, AdditiveOptionNames());
    r.Volume = args.Number("--volume");
    if (const auto method = args.Value("--fitting-method")) {
        r.FittingMethod = FittingMethodFromKey(*method);
        if (!r.FittingMethod)
            throw UsageError("--fitting-method: '" + *method + "' is none of length, crane and 3k");
    }
    r.Operations = OrderedOperations(args.Normalised());
    args.Flag("--resize-all");
    args.Flag("--reset-flows");
    args.Values("--sort");
    if (repeat && (*repeat < 1 || *repeat > kMaxRepeat))
        throw UsageError(Format("--repeat must be 1 to %d", {kMaxRepeat}));
    r.Repeat = repeat.value_or(1);
    if (r.Volume && !(*r.Volume >= 0 && *r.Volume <= 1)) throw UsageError("--volume: the fraction must be 0 to 1");
    if (r.Temperature && !std::isfinite(*r.Temperature)) throw UsageError("--t: not a temperature");
    return r;
}

bool ChangesTheCircuit(const TCalcRequest& r) {
    return r.Material || r.MaterialName || r.Repeat != 1 || r.Liquid || r.Temperature || r.Additive || r.Volume ||
           r.FittingMethod || !r.Operations.empty();
}

TCalcRun RunCalculation(const std::string& command, const TCalcRequest& r, std::ostream& err) {
    TCalcRun run;
    TCliStart started = StartCliCore(r.Builtin, *run.Project);
    // The run's project: the tables and liquid the start-up just set up.
    const TProjectContext project = run.Project->Context();
    std::vector<TCliWarning>& warnings = run.Setting.Warnings;
    warnings = started.Warnings;
    PrintWarnings(started.Warnings, err);
    // The start-up liquid with the options over it; a project's stored
    // liquid replaces it below and the options then apply again.
    if (!ApplyFluidOptions(*project.Liquid, r, err)) {
        run.Exit = kExitCalculation;
        return run;
    }

    try {
        run.Input = ReadCircuitInput(r.Input, project);
    } catch (const ProjectFileError& e) {
        err << e.what() << "\n" << e.Detail() << "\n";
        run.Exit = kExitInput;
        return run;
    } catch (const FileError& e) {
        err << e.what() << "\n";
        if (std::string(e.what()) == kReadExtensionMessage)
            err << command
                << " reads a project file (.dvx), a text item file (.txt) or \"-\" for standard input\n";
        run.Exit = kExitInput;
        return run;
    }
    TLoadedCircuit& loaded = run.Input.Loaded;
    const std::string name = InputName(r.Input);
    for (const std::string& message : loaded.Messages) {
        warnings.push_back({"skippedLine", name + ": " + message});
        PrintWarnings({warnings.back()}, err);
    }
    // Empty input is said like input without item lines: a script that fed
    // nothing by mistake must not take the all-zero totals for a result.
    if (loaded.Circuit->Count() == 0) {
        warnings.push_back({"noItems", name + (run.Input.FromEmptyInput ? " is empty" : " holds no item line")});
        PrintWarnings({warnings.back()}, err);
    }
    // A project whose material this machine lacks is calculated with the
    // copy it carries; said like any other warning.
    if (!loaded.MaterialMessage.empty()) {
        warnings.push_back({"missingMaterial", name + ": " + loaded.MaterialMessage});
        PrintWarnings({warnings.back()}, err);
    }
    ApplyLoadedCircuit(loaded, project);
    TCircuit& circuit = *loaded.Circuit;
    // Another material moves each item to the nearest bore of its table.
    std::optional<int> material = r.Material;
    if (r.MaterialName) {
        material = MaterialCodeOf(project.Tables, *r.MaterialName);
        // A bad argument like any other: the message and the usage, exit 2.
        if (!material || ExtraMaterial(project.Tables, *material) == nullptr)
            throw UsageError("--material: no material '" + *r.MaterialName + "' (\"darvenix-cli catalogue\" lists them)");
    }
    if (material) ChangeCircuitMaterial(project, circuit, *material);
    else project.Tables.SelectPipeMaterial(circuit.Material);
    if (r.FittingMethod) circuit.FittingMethod = *r.FittingMethod;
    project.Tables.FittingMethod = circuit.FittingMethod;
    if (loaded.Fluid && !ApplyFluidOptions(*project.Liquid, r, err)) {
        run.Exit = kExitCalculation;
        return run;
    }

    // A project's liquid comes with the properties it was saved with and no
    // range; a copy evaluated at the same temperature tells whether that
    // temperature lies in the liquid's valid range, without changing the
    // properties the calculation uses.
    TLiquid probe = *project.Liquid;
    try {
        probe.Evaluate();
    } catch (const MathError&) {
        probe.RangeStatus = 1;
    }
    run.Setting.RangeStatus = probe.RangeStatus;
    run.Setting.ValidTMin = probe.ValidTMin;
    run.Setting.ValidTMax = probe.ValidTMax;
    if (probe.RangeStatus) {
        for (const TCliWarning& w : RangeWarnings(probe)) warnings.push_back(w);
        PrintWarnings(RangeWarnings(probe), err);
    }
    // A mixture too close to its freezing point, whatever its range says.
    for (const TCliWarning& w : FreezeWarnings(*project.Liquid, project.Tables.FreezingMargin)) {
        warnings.push_back(w);
        PrintWarnings({w}, err);
    }

    for (const TOperation& op : r.Operations) {
        switch (op.What) {
        case TOperation::Resize: circuit.ResizeAll(project); break;
        case TOperation::ResetFlows: circuit.ResetAllFlows(project); break;
        case TOperation::Sort:
            circuit.SetSortKey(op.Key);
            circuit.SortItems();
            break;
        }
    }

    const TInvalidItem invalid = circuit.FindInvalid();
    if (!invalid.AllValid) {
        const TBranch& item = circuit.Item(invalid.Position);
        err << InvalidItemMessage(invalid)
            << Format(": item %d (number %d), %s\n", {invalid.Position + 1, item.Number, InvalidValueName(item, invalid.Column)});
        run.Exit = kExitInvalidItem;
        return run;
    }
    try {
        for (int pass = 0; pass < r.Repeat; ++pass) circuit.Calculate(project, r.Groups);
    } catch (const MathError&) {
        err << "Pressure drop error.\n";
        run.Exit = kExitCalculation;
        return run;
    }
    run.Setting.Circuit = &circuit;
    run.Setting.Fluid = project.Liquid;
    run.Setting.Tables = &project.Tables;
    run.Setting.Material = circuit.Material;
    run.Setting.OwnBores = OwnBoreTable(project.Tables);
    run.Setting.BoreOf.clear();
    for (const auto& item : circuit.Items) run.Setting.BoreOf.push_back(item->BoreIndex);
    run.Setting.Roughness = project.Tables.CurrentRoughness;
    run.Setting.FittingMethod = project.Tables.FittingMethod;
    // 3-K asked of a type without constants: said once, naming the types.
    const std::vector<std::string> types = ThreeKFallbackTypes(circuit, project);
    if (!types.empty()) {
        warnings.push_back({"threeKFallback", "no 3-K constants for " + JoinedTypeNames(types) + ": calculated by Crane K"});
        PrintWarnings({warnings.back()}, err);
    }
    return run;
}

} // namespace dvx::cli
