// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue files of the further pipe materials: any "*.ini" of the data
// folder with a section "Material" (the three built-in materials keep their
// own files). Layout:
//
//   [Material]
//   Name=Copper Type L        the name the material is chosen by
//   Roughness=0.0000015       m, wall roughness
//   [Bore1]                   one section per bore, Bore1, Bore2, … with no gap,
//   Label=1"                  largest inside diameter first
//   ID=0.026035               m, inside diameter
//   ff=0.023                  friction factor an item starts from (optional)
//   mf=0.9                    l/s, maximum flow
//   ListPrice=-1              price per metre, −1 not entered (optional)
//   LabourTime=0.15           h per metre (optional)
//
// A file whose name, roughness or inside diameters cannot be used is not
// used at all, and its message names the file, the section and the key.

#include "engine/catalogue/Materials.h"

#include <string>
#include <vector>

namespace dvx {

class IniDocument;

// The material of one file's document, or the reason it cannot be used in
// error: "FILE [SECTION] KEY: what is wrong".
std::optional<TMaterialTable> ReadMaterialFile(const IniDocument& ini, const std::string& fileName,
                                               std::string& error);

// The text of a material's file (what ReadMaterialFile reads back).
std::string MaterialFileText(const TMaterialTable& material);

struct TMaterialLoad {
    std::vector<TMaterialTable> Materials; // in file-name order
    std::vector<std::string> Messages;     // one per file not used
};

// Every material file of dataFolder (ending with "/"). A name that is
// already taken (a built-in material or an earlier file) is not used twice.
TMaterialLoad LoadMaterialFiles(const std::string& dataFolder);

} // namespace dvx
