// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The binary project file (".dvx"): the circuit, its items and the liquid
// in the tagged-value stream. The writer produces the current generation
// ("Darvenix 2.09 data file"); the reader also takes the 2.00 generation and
// files without a header.
//
// Reading never touches the project in memory: it builds a new circuit and a
// new liquid and hands them back; the caller installs them (InstallProject)
// only when the whole file has been read.

#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dvx {

inline constexpr const char* kProjectHeader209 = "Darvenix 2.09 data file";
inline constexpr const char* kProjectHeader200 = "Darvenix 2.00 data file";

// A pipe material with its own bores as a project file carries it: the
// material by name with a copy of its roughness and bore table (so a
// machine without it can still calculate the project), and each item's
// inside diameter in list order. Prices are not carried.
struct TStoredMaterial {
    TMaterialTable Table; // Name, Roughness, Bores (Label, ID, ff, mf); File empty
    std::vector<double> ItemIDs; // m, per item in list order
};

// A project read from a file, not yet in force.
struct TProjectData {
    std::unique_ptr<TCircuit> Circuit; // Saved true, Solved false, sort state reset
    TLiquid Fluid;                     // the stored liquid, properties as stored
    std::int32_t HighestNumber = 0;    // the project's new item counter (0 when no Number is above 0)
    std::string Version;               // the header read, or the title of a headerless file
    // A material beyond the built-in three; the circuit's Material and its
    // items' bores then still need ResolveStoredMaterial.
    std::optional<TStoredMaterial> Material;
};

// Parses a whole project file held in memory. `fluidBase` provides the
// liquid fields the file does not carry (UserProps, the valid range,
// RangeStatus, AuxValue). The items are made with project's tables (their
// bores); project's item counter is left as it was on entry, whatever
// happens. Raises FileError saying what is wrong and where.
TProjectData ParseProject(std::span<const std::uint8_t> bytes, const TLiquid& fluidBase,
                          const TProjectContext& project);

// Reads a project file for project, taking the fields the file does not
// carry from its liquid. Any failure raises ProjectFileError
// "Error reading " + path.
TProjectData ReadProject(const std::filesystem::path& path, const TProjectContext& project);

// The bytes of a project file for this circuit and liquid. A circuit whose
// Material is a further material of `tables` (code 3 on) stores it by name
// with its table and the items' inside diameters; a built-in material is
// written exactly as before further materials existed.
std::vector<std::uint8_t> EncodeProject(const TCircuit& circuit, const TFluid& fluid,
                                        const TCatalogueTables& tables);

// Puts a stored material in force for the circuit read with it: the
// circuit's Material becomes the code of the material of that name in
// `tables`, and each item takes the bore of its table nearest the stored
// inside diameter. When `tables` has no material of that name, the copy
// the file carries is added to tables.Materials (File empty: known from a
// project only), the items keep their stored inside diameters, and the
// returned message says so. Empty when there is nothing to say.
std::string ResolveStoredMaterial(TProjectData& data, TCatalogueTables& tables);

// Writes the project (EncodeProject with `tables`) with the safe save (the
// old file survives any failure). Raises ProjectFileError "Error writing " + path.
void WriteProject(const std::filesystem::path& path, const TCircuit& circuit, const TFluid& fluid,
                  const TCatalogueTables& tables);

// Puts a read project in force in project: it replaces `current`, the
// project's liquid takes the stored liquid, its item counter the highest
// item number.
void InstallProject(TProjectData&& data, std::unique_ptr<TCircuit>& current, const TProjectContext& project);

} // namespace dvx
