// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli catalogue: starts the core as the desktop program does (the
// install-data merge answering "Decide later", the desktop program's
// settings) and prints the bore table, the material roughness and the
// fitting coefficients in force. Messages met while loading go to stderr as
// warnings, and with --json into "messages" and "warnings" as well.

#include "Args.h"
#include "CircuitOutput.h"
#include "CliCommand.h"
#include "CoreStart.h"
#include "JsonOut.h"
#include "OutputText.h"

#include "engine/catalogue/Materials.h"
#include "engine/catalogue/Tables.h"
#include "engine/resistance/FittingMethod.h"
#include "base/Format.h"
#include "base/Numbers.h"

#include <ostream>

namespace dvx::cli {
namespace {

void PrintJson(std::ostream& out, const TCatalogueTables& tables, const std::vector<TCliWarning>& warnings) {
    TJsonDocument doc({{"nominal", "mm"}, {"ID", "m"}, {"mf", "l/s"}, {"roughness", "m"}, {"Kd", "in^0.3"}});
    Json bores = Json::array();
    for (int i = 0; i < BoreCount; ++i) {
        const TBoreRec& b = tables.BoreTable[static_cast<std::size_t>(i)];
        bores.push_back(Json{{"name", BoreName[static_cast<std::size_t>(i)]},
                             {"nominal", JsonNumber(b.Nominal)},
                             {"ID", JsonNumber(b.ID)},
                             {"ff", JsonNumber(b.ff)},
                             {"mf", JsonNumber(b.mf)}});
    }
    Json roughness = Json::array();
    for (int m = 0; m < MaterialCount; ++m) roughness.push_back(JsonNumber(tables.MaterialRoughness[static_cast<std::size_t>(m)]));
    Json fittings = Json::array();
    for (int t = 0; t < FittingCount; ++t) {
        const TFittingRec& f = tables.FittingTable[t];
        Json fitting{{"name", JsonText(f.FittingName)}, {"C", JsonNumber(f.C)}};
        // What the Crane K and 3-K methods take for the type: its Crane
        // multiplier where it is not C, and its 3-K constants where it has any.
        const TFittingResistanceData& data = StandardFittingResistance()[static_cast<std::size_t>(t)];
        if (data.CraneN && *data.CraneN != f.C) fitting["craneN"] = JsonNumber(*data.CraneN);
        fitting["threeK"] = data.ThreeK ? Json{{"K1", JsonNumber(data.ThreeK->K1)},
                                               {"Ki", JsonNumber(data.ThreeK->Ki)},
                                               {"Kd", JsonNumber(data.ThreeK->Kd)}}
                                        : Json(nullptr);
        fittings.push_back(std::move(fitting));
    }
    // Every material with the bores it is calculated with: the three
    // built-in ones share the bore table, the others have their own.
    Json materials = Json::array();
    for (int m = 0; m < MaterialCount; ++m)
        materials.push_back(Json{{"name", MaterialName(m)},
                                 {"roughness", JsonNumber(tables.MaterialRoughness[static_cast<std::size_t>(m)])},
                                 {"bores", bores}});
    for (const TMaterialTable& material : tables.Materials) {
        Json own = Json::array();
        for (const TMaterialBore& b : material.Bores)
            own.push_back(Json{{"name", JsonText(b.Label)}, {"ID", JsonNumber(b.ID)}, {"ff", JsonNumber(b.ff)},
                               {"mf", JsonNumber(b.mf)}});
        materials.push_back(
            Json{{"name", JsonText(material.Name)}, {"roughness", JsonNumber(material.Roughness)}, {"bores", std::move(own)}});
    }
    Json messages = Json::array();
    for (const TCliWarning& w : warnings) messages.push_back(JsonText(w.Message));
    doc.Set("bores", std::move(bores));
    doc.Set("materials", std::move(materials));
    doc.Set("roughness", std::move(roughness));
    doc.Set("fittings", std::move(fittings));
    doc.Set("messages", std::move(messages));
    for (const TCliWarning& w : warnings) doc.AddWarning(w);
    doc.Write(out);
}

void PrintText(std::ostream& out, const TCatalogueTables& tables) {
    out << "Bore   ID m        ff       mf l/s\n";
    for (int i = 0; i < BoreCount; ++i) {
        const TBoreRec& b = tables.BoreTable[static_cast<std::size_t>(i)];
        out << Format("%-6s %-11s %-8s %s\n", {BoreName[static_cast<std::size_t>(i)], FloatToStr(b.ID),
                                               FloatToStr(b.ff), FloatToStr(b.mf)});
    }
    out << "\nRoughness mm\n";
    for (int m = 0; m < MaterialCount; ++m)
        out << Format("%-18s %0.6f\n", {MaterialName(m), tables.MaterialRoughness[static_cast<std::size_t>(m)] * 1000});
    // The further materials after the built-in table, each with its own bores.
    for (const TMaterialTable& material : tables.Materials) {
        out << Format("\n%s (material %d, roughness %0.6f mm)\nBore   ID m        ff       mf l/s\n",
                      {Utf8Text(material.Name), MaterialCount + static_cast<int>(&material - tables.Materials.data()),
                       material.Roughness * 1000});
        for (const TMaterialBore& b : material.Bores)
            out << Utf8Text(b.Label) << std::string(b.Label.size() < 7 ? 7 - b.Label.size() : 1, ' ')
                << Format("%-11s %-8s %s\n", {FloatToStr(b.ID), FloatToStr(b.ff), FloatToStr(b.mf)});
    }
    out << "\nFitting              C\n";
    for (const TFittingRec& f : tables.FittingTable) out << Format("%-20s %0.2f\n", {f.FittingName, f.C});
}

int RunCatalogue(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    Args args(argv);
    const bool json = args.Flag("--json");
    const bool builtin = args.Flag("--builtin");
    const bool strict = args.Flag("--strict");
    args.RequireAllUsed();
    TProjectState project;
    const TCliStart started = StartCliCore(builtin, project);
    PrintWarnings(started.Warnings, err);
    if (json)
        PrintJson(out, project.Tables, started.Warnings);
    else
        PrintText(out, project.Tables);
    return strict && !started.Warnings.empty() ? kExitStrictWarning : kExitOk;
}

CliCommandRegistrar registrar({
    "catalogue",
    "print the bore, roughness and fitting tables in force",
    "Usage: darvenix-cli catalogue [OPTIONS]\n",
    "  --builtin            the built-in tables, without reading any file\n"
    "  --json               print the versioned JSON document\n"
    "  --strict             exit 6 when a file could not be loaded as it should\n",
    RunCatalogue,
    TOutputOption::Accepted,
});

} // namespace
} // namespace dvx::cli
