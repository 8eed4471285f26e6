// SPDX-License-Identifier: GPL-3.0-or-later
// make_examples OUTDIR: writes the example projects of examples/ with the
// program's own project writer, so they carry what a text item file cannot:
// the liquid, the pipe material, groups and the project description.
//
//   cmake --build build --target make_examples
//   build/tests/examples/make_examples examples
//
// The items are listed here in circuit order; bores are nominal sizes in mm,
// flows in l/s, lengths in m and user pressure drops in kPa, as typed in the
// insert dialog.

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "storage/project/CircuitFiles.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>
#include <memory>
#include <string>

namespace {

using namespace dvx;

// Fitting types by their catalogue name.
int FittingIndex(const TCatalogueTables& tables, const std::string& name) {
    for (int t = 0; t < FittingCount; ++t)
        if (name == tables.FittingTable[static_cast<std::size_t>(t)].FittingName) return t;
    throw std::runtime_error("no fitting type " + name);
}

struct Builder {
    TProjectContext
        project; // the tables the items are sized from and the counter that numbers them
    TCircuit& c;
    std::int32_t group = 0;
    bool inIndex = true;

    void Place(std::unique_ptr<TBranch> item, const std::string& description, double bore, double flow) {
        item->Description = description;
        item->SetBoreFromNominal(project, bore);
        item->Flow = flow * 0.001;
        item->Group = group;
        item->InIndex = inIndex;
        c.Append(std::move(item));
    }
    void Pipe(const std::string& description, double bore, double flow, double length) {
        auto p = std::make_unique<TPipe>(project);
        p->Length = length;
        Place(std::move(p), description, bore, flow);
    }
    void Fitting(const std::string& type, double bore, double flow, int quantity, std::string description = {}) {
        auto f = std::make_unique<TFitting>(project, FittingIndex(project.Tables, type));
        f->Quantity = quantity;
        Place(std::move(f), description.empty() ? type : description, bore, flow);
    }
    void User(const std::string& description, double bore, double flow, double kPa) {
        auto u = std::make_unique<TUser>(project);
        u->PressureDrop = kPa * 1000;
        Place(std::move(u), description, bore, flow);
    }
    void Valve(const std::string& description, double bore, double flow, double kv) {
        auto v = std::make_unique<TValve>(project);
        v->Kv = kv;
        Place(std::move(v), description, bore, flow);
    }
};

// 15 January 2026 as a day number (days since 30 December 1899), so that
// regenerating gives the same files.
constexpr double kExampleDate = 46037;

void Describe(TCircuit& c, std::string heading1, std::string heading2, std::vector<std::string> lines) {
    c.Heading1 = std::move(heading1);
    c.Heading2 = std::move(heading2);
    c.DescriptionLines = std::move(lines);
    c.Author = "Darvenix example";
    c.Company = "Quellstrand";
    c.CreationDate = kExampleDate;
}

// Chilled water from the chiller to the farthest air-handling unit and back:
// the index circuit of a 15 l/s system, with a balancing valve entered as a
// user item at its design pressure drop. The companion (byMaker) is the same
// circuit as a designer finishes it with the makers' data: the control and
// balancing valves by their Kv and the fittings by the Crane K method.
void ChilledWater(TProjectContext project, const std::filesystem::path& file,
                  bool byMaker = false) {
    TCircuit c(project);
    if (byMaker)
        Describe(c, "Office block - chilled water", "Index circuit to AHU-3, valves by Kv, Crane K",
                 {"Chilled water 6/12 degC, chiller 90 kW.", "Index circuit: chiller - AHU-3 (roof) - chiller.",
                  "Control valve Kv 40; balancing valve preset to Kv 55.8 (15 kPa at 6 l/s)."});
    else
        Describe(c, "Office block - chilled water", "Index circuit to AHU-3",
                 {"Chilled water 6/12 degC, chiller 90 kW.", "Index circuit: chiller - AHU-3 (roof) - chiller."});
    if (byMaker) c.FittingMethod = TFittingMethod::CraneK;
    c.Material = 0; // Schedule 40 steel
    Builder b{project, c};
    b.User("Chiller evaporator", 100, 15.0, 45);
    b.Fitting("VibroFlex", 100, 15.0, 2, "Flexible connectors");
    b.Fitting("Butterfly Valve", 100, 15.0, 1, "Chiller isolation");
    b.Pipe("Flow main plant room", 100, 15.0, 12);
    b.Fitting("Std Elbow 90 deg", 100, 15.0, 4);
    b.Fitting("Clean Strainer", 100, 15.0, 1, "Y-strainer");
    b.Pipe("Flow riser", 100, 15.0, 28);
    b.Fitting("Std Equal T Str", 100, 15.0, 3, "Tees, run");
    b.Fitting("Std Equal T Side", 80, 6.0, 1, "Tee to AHU-3 branch");
    b.Pipe("AHU-3 flow branch", 80, 6.0, 16);
    b.Fitting("Std Elbow 90 deg", 80, 6.0, 5);
    b.Fitting("Gate Valve", 80, 6.0, 1, "AHU-3 isolation");
    b.User("AHU-3 cooling coil", 65, 6.0, 38);
    if (byMaker) {
        // 6 l/s = 21.6 m³/h: Kv 40 drops about 29 kPa, the balancing valve's
        // presetting about 15 kPa.
        b.Valve("AHU-3 two-port control valve", 65, 6.0, 40);
        b.Valve("AHU-3 balancing valve", 65, 6.0, 55.8);
    } else {
        b.User("AHU-3 two-port control valve", 65, 6.0, 30);
        b.User("AHU-3 balancing valve", 65, 6.0, 15);
    }
    b.Fitting("Gate Valve", 80, 6.0, 1, "AHU-3 isolation");
    b.Pipe("AHU-3 return branch", 80, 6.0, 16);
    b.Fitting("Std Elbow 90 deg", 80, 6.0, 5);
    b.Pipe("Return riser", 100, 15.0, 28);
    b.Fitting("Std Equal T Str", 100, 15.0, 3, "Tees, run");
    b.Pipe("Return main plant room", 100, 15.0, 12);
    b.Fitting("Std Elbow 90 deg", 100, 15.0, 4);
    b.Fitting("Swing Check Valve", 100, 15.0, 1, "Pump check valve");
    b.Fitting("Butterfly Valve", 100, 15.0, 1, "Chiller isolation");

    // The circulating pump as read off the maker's curve for its 200 mm
    // impeller: flow (m³/s), head (m of water) and efficiency.
    c.Pump.Points = {{0.000, 26.0, 0},    {0.005, 25.4, 0.48}, {0.010, 23.6, 0.68},
                     {0.015, 20.6, 0.76}, {0.020, 16.4, 0.72}, {0.024, 12.2, 0.62}};

    TLiquid water("Water", 0, 0, 6, 12); // clean water, 6 degC in, 12 degC out
    SaveCircuitFile(file, c, water, project.Tables);
}

// A 30 % propylene glycol heat-recovery loop in drawn (copper) tubing. The
// two coils are piped in parallel; groups put the common pipework (group 1)
// and the longer exhaust-coil branch (group 2) in the index circuit, while
// the shorter supply-coil branch (group 3) is listed but does not count.
void GlycolLoop(TProjectContext project, const std::filesystem::path& file) {
    TCircuit c(project);
    Describe(c, "Heat recovery - run-around coil loop", "30 % propylene glycol, groups",
             {"Run-around coils between exhaust and supply air, 3.4 l/s.",
              "Group 1: common pipework. Group 2: exhaust coil branch (index).",
              "Group 3: supply coil branch (parallel, not in the index circuit)."});
    c.Material = 2; // drawn tubing
    Builder b{project, c};
    b.group = 1;
    b.User("Circulating pump strainer", 50, 3.4, 8);
    b.Pipe("Common flow", 50, 3.4, 24);
    b.Fitting("Pipe Bend 90 deg", 50, 3.4, 8, "Bends");
    b.Fitting("CB Ball Valve", 50, 3.4, 2, "Isolation");
    b.Fitting("Std Equal T Side", 50, 3.4, 1, "Split to the coils");
    b.Pipe("Common return", 50, 3.4, 24);
    b.Fitting("Pipe Bend 90 deg", 50, 3.4, 8, "Bends");
    b.User("Plate heat exchanger (frost)", 50, 3.4, 12);
    b.group = 2;
    b.Pipe("Exhaust coil branch", 40, 1.7, 18);
    b.Fitting("Pipe Bend 90 deg", 40, 1.7, 6, "Bends");
    b.User("Exhaust air coil", 40, 1.7, 22);
    b.User("Balancing valve exhaust", 40, 1.7, 10);
    b.group = 3;
    b.inIndex = false;
    b.Pipe("Supply coil branch", 40, 1.7, 9);
    b.Fitting("Pipe Bend 90 deg", 40, 1.7, 4, "Bends");
    b.User("Supply air coil", 40, 1.7, 20);
    b.User("Balancing valve supply", 40, 1.7, 14);

    TLiquid glycol("Water", 0, 0, 2, 8); // mean 5 degC
    glycol.WaterAdditive = 2;            // propylene glycol
    glycol.AdditiveVolume = 0.3;
    glycol.Evaluate();
    glycol.Caption = glycol.GetCaption();
    SaveCircuitFile(file, c, glycol, project.Tables);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_examples OUTDIR\n", stderr);
        return 2;
    }
    // The examples are built with the built-in tables; each new circuit
    // numbers its items from 1.
    TProjectState project;
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    ChilledWater(project.Context(), dir / "chilled-water.dvx");
    ChilledWater(project.Context(), dir / "chilled-water-kv.dvx", true);
    GlycolLoop(project.Context(), dir / "glycol-loop.dvx");
    std::puts("chilled-water.dvx chilled-water-kv.dvx glycol-loop.dvx");
    return 0;
}
