// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A pipe material the user adds (name, roughness, bores): checked by the
// rules of the material catalogue files, written as a new file of the data
// folder, and put into the tables in force, so that the desktop program and
// darvenix-cli both find it from then on.

#include "engine/catalogue/Tables.h"

#include <string>

namespace dvx {

struct TUserMaterialResult {
    bool Added = false;
    std::string Message;  // why it was not added: "FILE [SECTION] KEY: what is wrong", or a taken name
    std::string FileName; // the file written, in the data folder
};

// Adds material to dataFolder (ending with "/") and to tables.Materials.
// A bore without a starting friction factor (ff 0) gets the fully rough
// one of its relative roughness. Nothing is written when a value breaks
// the catalogue file rules or the name is taken (a built-in material or one
// in tables); an existing file is never replaced: the name gets a number.
TUserMaterialResult AddUserMaterial(const std::string& dataFolder, TMaterialTable material, TCatalogueTables& tables);

} // namespace dvx
