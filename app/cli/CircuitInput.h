// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The circuit a command reads: a project file (.dvx), a text item file
// (.txt), or "-" for standard input, which is taken as a project file when
// it starts with the project stream's signature and as text items otherwise.

#include "storage/project/CircuitFiles.h"

#include <string>

namespace dvx::cli {

struct TCircuitInput {
    TLoadedCircuit Loaded;
    bool FromEmptyInput = false; // the file or stream held no bytes at all
};

// Raises FileError (exit 5 for the caller): the program's extension message
// for another extension, "Error reading PATH" for a file or folder that
// cannot be read as a circuit, "Error reading standard input: REASON" when
// standard input cannot be read, "standard input is larger than N MB" past
// the cap of the file kind it holds. The circuit is read for project (its
// tables, liquid and item counter, as LoadCircuitFile).
TCircuitInput ReadCircuitInput(const std::string& path, const TProjectContext& project);

// The name to show for the input: the path, or "standard input" for "-".
std::string InputName(const std::string& path);

} // namespace dvx::cli
