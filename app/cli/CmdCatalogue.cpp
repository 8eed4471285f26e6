// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli catalogue [--json]: starts the core as the program does (the
// install-data merge answering "Decide later") and prints the bore table,
// the material roughness and the fitting coefficients in force. Messages met
// while loading go to stderr, and with --json into "messages" as well.

#include "Args.h"
#include "CliCommand.h"

#include "catalogue/Tables.h"
#include "common/Format.h"
#include "common/Numbers.h"
#include "settings/Startup.h"

#include <cmath>
#include <fmt/format.h>
#include <ostream>

namespace dvx::cli {
namespace {

// Shortest text that reads back to the same double.
std::string JsonNumber(double v) { return std::isfinite(v) ? fmt::format("{}", v) : "null"; }

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += fmt::format("\\u{:04x}", static_cast<int>(c));
            else
                out += c;
        }
    }
    return out + "\"";
}

void PrintJson(std::ostream& out, const std::vector<std::string>& messages) {
    out << "{\"bores\":[";
    for (int i = 0; i < BoreCount; ++i) {
        const TBoreRec& b = BoreTable[static_cast<std::size_t>(i)];
        out << (i ? "," : "") << "{\"name\":" << JsonString(BoreName[static_cast<std::size_t>(i)])
            << ",\"nominal\":" << JsonNumber(b.Nominal) << ",\"ID\":" << JsonNumber(b.ID)
            << ",\"ff\":" << JsonNumber(b.ff) << ",\"mf\":" << JsonNumber(b.mf) << "}";
    }
    out << "],\"roughness\":[";
    for (int m = 0; m < MaterialCount; ++m)
        out << (m ? "," : "") << JsonNumber(MaterialRoughness[static_cast<std::size_t>(m)]);
    out << "],\"fittings\":[";
    for (int t = 0; t < FittingCount; ++t) {
        const TFittingRec& f = FittingTable[static_cast<std::size_t>(t)];
        out << (t ? "," : "") << "{\"name\":" << JsonString(f.FittingName) << ",\"C\":" << JsonNumber(f.C) << "}";
    }
    out << "],\"messages\":[";
    for (std::size_t i = 0; i < messages.size(); ++i) out << (i ? "," : "") << JsonString(messages[i]);
    out << "]}\n";
}

void PrintText(std::ostream& out) {
    out << "Bore   ID m        ff       mf l/s\n";
    for (int i = 0; i < BoreCount; ++i) {
        const TBoreRec& b = BoreTable[static_cast<std::size_t>(i)];
        out << Format("%-6s %-11s %-8s %s\n", {BoreName[static_cast<std::size_t>(i)], FloatToStr(b.ID),
                                               FloatToStr(b.ff), FloatToStr(b.mf)});
    }
    const char* materials[MaterialCount] = {"Schedule 40 steel", "Galvanised iron", "Drawn tubing"};
    out << "\nRoughness mm\n";
    for (int m = 0; m < MaterialCount; ++m)
        out << Format("%-18s %0.6f\n", {materials[m], MaterialRoughness[static_cast<std::size_t>(m)] * 1000});
    out << "\nFitting              C\n";
    for (const TFittingRec& f : FittingTable) out << Format("%-20s %0.2f\n", {f.FittingName, f.C});
}

int RunCatalogue(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    Args args(argv);
    bool json = args.Flag("--json");
    args.RequireAllUsed();
    TStartResult start = StartCore(TStartOptions{});
    for (const std::string& message : start.Messages) err << message << "\n";
    if (json)
        PrintJson(out, start.Messages);
    else
        PrintText(out);
    return kExitOk;
}

CliCommandRegistrar registrar({"catalogue", "catalogue [--json]    the bore, roughness and fitting tables in force after start-up",
                               RunCatalogue});

} // namespace
} // namespace dvx::cli
