// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue tables of a project: nominal bores with their inside
// diameters, starting friction factors and maximum flows, the wall roughness
// of the three pipe materials, the 24 standard fitting types, the price and
// labour tables of the estimate, and the item defaults and warning limits.

#include "engine/catalogue/Materials.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace dvx {

inline constexpr int BoreCount = 20;     // rows of BoreTable
inline constexpr int MaterialCount = 3;  // pipe materials
inline constexpr int FittingCount = 24;  // rows of FittingTable

// One nominal bore. Extended-precision values in the files are held as double.
struct TBoreRec {
    double Nominal = 0; // mm, nominal bore (fixed, never read from a file)
    double ID = 0;      // m, inside diameter
    double ff = 0;      // —, friction factor an item starts from after its bore is set
    double mf = 0;      // l/s, maximum flow for the bore (auto-size and auto-flow)
};

// Labels of the bores ("750" … "15"): list texts and catalogue section names.
extern const std::array<const char*, BoreCount> BoreName;

// Pipe materials, the index of MaterialRoughness and of the pipe cost columns.
enum TPipeMaterial : std::uint8_t {
    pmSteel = 0,     // Schedule 40 steel
    pmGalvIron = 1,  // galvanised iron
    pmDrawnTube = 2, // drawn tubing
};

// How a project turns a fitting into a pressure drop (names and rules in
// engine/resistance/FittingMethod.h). The order is what project files store.
enum class TFittingMethod : std::uint8_t {
    EquivalentLength = 0, // C inside diameters of smooth pipe: every file without a method
    CraneK = 1,           // K = n·fT
    ThreeK = 2,           // K = K1/Re + Ki·(1 + Kd/Dn^0.3)
};
inline constexpr int FittingMethodCount = 3;

struct TFittingRec {
    std::string FittingName; // fixed name; catalogue section name and settings key
    double C = 0;            // —, equivalent length in inside diameters (L/D)
};

// The built-in coefficients, for "Restore standard defaults".
extern const std::array<TFittingRec, FittingCount> StandardFittingTable;

// Built-in start values of the scalar defaults and limits (the dialogs' "Restore").
inline constexpr double BuiltInDefaultTemperature = 9;
inline constexpr double BuiltInDefaultBore = 100;
inline constexpr double BuiltInDefaultLength = 10;
inline constexpr double BuiltInDefaultFlow = 25;
inline constexpr int BuiltInDefaultFittingType = 1;
inline constexpr int BuiltInDefaultQuantity = 1;
inline constexpr double BuiltInDefaultUserDP = 50;
inline constexpr double BuiltInGradientLimit = 1500;
inline constexpr double BuiltInVelocityLimit = 3.5;
inline constexpr double BuiltInLabourRate = 100;
// K, how far above a mixture's freezing point its temperature must stay.
inline constexpr double BuiltInFreezingMargin = 2;

// The built-in rows of the tables, for restoring single tables.
extern const std::array<TBoreRec, BoreCount> BuiltInBoreTable;
extern const std::array<double, MaterialCount> BuiltInMaterialRoughness;

// The tables in force for one project. A new object holds the built-in
// values; the catalogue files, the settings store and the dialogs override
// values in place; only the list of further materials grows, as their files load.
struct TCatalogueTables {
    // BoreIndex 0 is the 750 mm bore, 19 the 15 mm bore (largest first).
    std::array<TBoreRec, BoreCount> BoreTable{};
    // m, wall roughness per material.
    std::array<double, MaterialCount> MaterialRoughness{};
    // m, roughness of the active material; the only roughness the pipe calculation reads.
    double CurrentRoughness = 0;
    // The active built-in material (0, 1 or 2): the cost column the pipe
    // items read while one of the three is active.
    std::uint8_t PipeMaterial = pmSteel;
    // The active material's code: 0 to 2 the built-in ones (bores of
    // BoreTable, PipeMaterial the same), 3 on Materials[code − 3] with its
    // own bores, roughness and pipe costs. Items' BoreIndex is a row of the
    // active material's table (ActiveBores.h).
    int ActiveMaterial = pmSteel;
    // The materials of the catalogue files beyond the three built-in ones,
    // code 3 on: each with its own roughness and bore table.
    std::vector<TMaterialTable> Materials;
    // The fitting types; the index is what a fitting stores as its type (also
    // in project files), so the order never changes.
    std::array<TFittingRec, FittingCount> FittingTable{};

    // Cost tables; −1 marks a value not entered yet.
    // [BoreIndex][material]: price per metre of pipe.
    std::array<std::array<double, MaterialCount>, BoreCount> PipeListPrice{};
    // [BoreIndex][material]: h per metre of pipe.
    std::array<std::array<double, MaterialCount>, BoreCount> PipeLabourTime{};
    // [fitting type][BoreIndex]: price per fitting.
    std::array<std::array<double, BoreCount>, FittingCount> FittingPrice{};
    // [fitting type][BoreIndex]: h per fitting.
    std::array<std::array<double, BoreCount>, FittingCount> FittingLabour{};

    // How fittings are calculated. A project setting kept beside the tables:
    // RestoreBuiltIn leaves it alone (restoring the catalogue is no change
    // of method); a new project starts with EquivalentLength.
    TFittingMethod FittingMethod = TFittingMethod::EquivalentLength;

    // Item defaults, warning limits and labour rate.
    double DefaultTemperature = 0;   // °C, the project liquid's temperature
    double DefaultBore = 0;          // mm, nominal bore of new items
    double DefaultLength = 0;        // m, length of new straight pipes
    double DefaultFlow = 0;          // l/s, flow of new items
    int DefaultFittingType = 0;      // index into FittingTable for the insert dialog
    int DefaultQuantity = 0;         // —, quantity of new fittings
    double DefaultUserDP = 0;        // kPa, the insert dialog's user pressure drop
    double GradientLimit = 0;        // Pa/m, warning 1 above this
    double VelocityLimit = 0;        // m/s, warning 2 above this
    double LabourRate = 0;           // cost per hour of labour
    double FreezingMargin = 0;       // K, a warning at or below a mixture's freezing point plus this

    TCatalogueTables() { RestoreBuiltIn(); }

    // Makes material m active: a built-in one (0 to 2) sets PipeMaterial =
    // m and CurrentRoughness = MaterialRoughness[m]; a further one (3 on, in
    // Materials) leaves PipeMaterial and takes its own roughness. Any other
    // value changes nothing and returns false.
    bool SelectPipeMaterial(int m);
    // Puts every table, default, limit, the active material (steel) and
    // CurrentRoughness back to the built-in values.
    void RestoreBuiltIn();
};

} // namespace dvx
