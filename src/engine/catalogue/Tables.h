// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process-wide catalogue tables: nominal bores with their inside
// diameters, starting friction factors and maximum flows, the wall roughness
// of the three pipe materials, the 24 standard fitting types, the price and
// labour tables of the estimate, and the item defaults and warning limits.
//
// They hold their built-in values from program start. The catalogue files,
// the settings store and the dialogs only override values in place; nothing
// here is ever resized. RestoreBuiltInTables() puts every value back.

#include <array>
#include <cstdint>
#include <string>

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

// BoreIndex 0 is the 750 mm bore, 19 the 15 mm bore (largest first).
extern std::array<TBoreRec, BoreCount> BoreTable;
// Labels of the bores ("750" … "15"): list texts and catalogue section names.
extern const std::array<const char*, BoreCount> BoreName;

// Pipe materials, the index of MaterialRoughness and of the pipe cost columns.
enum TPipeMaterial : std::uint8_t {
    pmSteel = 0,     // Schedule 40 steel
    pmGalvIron = 1,  // galvanised iron
    pmDrawnTube = 2, // drawn tubing
};

// m, wall roughness per material.
extern std::array<double, MaterialCount> MaterialRoughness;
// m, roughness of the active material; the only roughness the pipe calculation reads.
extern double CurrentRoughness;
// The active material (0, 1 or 2): the cost column the pipe items read.
extern std::uint8_t PipeMaterial;

// Makes material m active: PipeMaterial = m and CurrentRoughness =
// MaterialRoughness[m]. Any other value changes nothing and returns false.
bool SelectPipeMaterial(int m);

struct TFittingRec {
    std::string FittingName; // fixed name; catalogue section name and settings key
    double C = 0;            // —, equivalent length in inside diameters (L/D)
};

// The fitting types; the index is what a fitting stores as its type (also
// in project files), so the order never changes.
extern std::array<TFittingRec, FittingCount> FittingTable;
// The built-in coefficients, for "Restore standard defaults".
extern const std::array<TFittingRec, FittingCount> StandardFittingTable;

// Cost tables; −1 marks a value not entered yet.
// [BoreIndex][material]: price per metre of pipe.
extern std::array<std::array<double, MaterialCount>, BoreCount> PipeListPrice;
// [BoreIndex][material]: h per metre of pipe.
extern std::array<std::array<double, MaterialCount>, BoreCount> PipeLabourTime;
// [fitting type][BoreIndex]: price per fitting.
extern std::array<std::array<double, BoreCount>, FittingCount> FittingPrice;
// [fitting type][BoreIndex]: h per fitting.
extern std::array<std::array<double, BoreCount>, FittingCount> FittingLabour;

// Item defaults, warning limits and labour rate.
extern double DefaultTemperature;   // °C, the project liquid's temperature
extern double DefaultBore;          // mm, nominal bore of new items
extern double DefaultLength;        // m, length of new straight pipes
extern double DefaultFlow;          // l/s, flow of new items
extern int DefaultFittingType;      // index into FittingTable for the insert dialog
extern int DefaultQuantity;         // —, quantity of new fittings
extern double DefaultUserDP;        // kPa, the insert dialog's user pressure drop
extern double GradientLimit;        // Pa/m, warning 1 above this
extern double VelocityLimit;        // m/s, warning 2 above this
extern double LabourRate;           // cost per hour of labour

// Built-in start values of the scalars above (the dialogs' "Restore").
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

// The built-in rows of the tables, for restoring single tables.
extern const std::array<TBoreRec, BoreCount> BuiltInBoreTable;
extern const std::array<double, MaterialCount> BuiltInMaterialRoughness;

// Puts every table, default, limit, the active material (steel) and
// CurrentRoughness back to the built-in values.
void RestoreBuiltInTables();

} // namespace dvx
