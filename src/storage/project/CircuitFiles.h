// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading and saving a circuit by the file's extension, for the command-line
// tools: ".dvx" is a project file (circuit, liquid and material), ".txt" a
// text item file (items only). The extension is compared without regard to
// case; any other extension is refused with the program's messages.

#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dvx {

inline constexpr const char* kReadExtensionMessage = "File extension must be \"dvx\".";
inline constexpr const char* kWriteExtensionMessage = "File not saved.  Extension must be \"dvx\".";

enum class TCircuitFileKind { Project, TextItems, Other };

// By the extension of path, ".dvx" or ".txt" in any case.
TCircuitFileKind CircuitFileKind(const std::filesystem::path& path);

struct TLoadedCircuit {
    std::unique_ptr<TCircuit> Circuit;
    // The stored liquid of a project file, its properties as stored; none
    // for a text item file.
    std::optional<TLiquid> Fluid;
    // What the project's item counter becomes when this circuit is put in force.
    std::int32_t ItemCounter = 0;
    // Lines of a text file that named a known kind but could not become an item.
    std::vector<std::string> Messages;
    // A project whose pipe material this machine lacks: what it keeps
    // (ResolveStoredMaterial); empty otherwise.
    std::string MaterialMessage;
};

// Reads a project file (ReadProject, its stored material resolved against
// project's tables) or a text item file into a new circuit for project;
// a text file builds it as "Read from Text File" does: a new circuit with
// the items inserted before the first row one by one (so in the reverse of
// the file's order), material 0. Nothing in force changes, except that
// project's item counter counts the text file's items as their constructors
// run (and a material a project file brings joins project's tables).
// Raises FileError: kReadExtensionMessage for another extension, "Error
// reading " + path when the file cannot be read.
TLoadedCircuit LoadCircuitFile(const std::filesystem::path& path, const TProjectContext& project);

// Puts a loaded circuit's liquid and material in force in project: its
// liquid takes the stored liquid (when the file had one), the circuit's
// Material becomes the active pipe material and its FittingMethod the
// tables' method, and the item counter is set.
void ApplyLoadedCircuit(const TLoadedCircuit& loaded, const TProjectContext& project);

// Writes the circuit by the extension of path with the safe save: a project
// file with `fluid` (its material from `tables`), or the text export lines.
// Raises FileError:
// kWriteExtensionMessage for another extension, "Error writing " + path
// when the file cannot be written (the previous file then stays).
void SaveCircuitFile(const std::filesystem::path& path, const TCircuit& circuit, const TFluid& fluid,
                     const TCatalogueTables& tables);

} // namespace dvx
