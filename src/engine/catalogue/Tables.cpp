// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/catalogue/Tables.h"

namespace dvx {

constexpr std::array<TBoreRec, BoreCount> BuiltInBoreTable = {{
    {750, 0.73025, 0.013, 1250},
    {600, 0.57465, 0.013, 780},
    {500, 0.47788, 0.013, 540},
    {450, 0.42865, 0.013, 430},
    {400, 0.381, 0.013, 340},
    {350, 0.33335, 0.013, 260},
    {300, 0.3033, 0.013, 210},
    {250, 0.2545, 0.014, 150},
    {200, 0.2027, 0.014, 100},
    {150, 0.1541, 0.015, 55},
    {125, 0.1282, 0.016, 38},
    {100, 0.1023, 0.017, 25},
    {80, 0.07792, 0.018, 14},
    {65, 0.06265, 0.018, 7.5},
    {50, 0.05251, 0.019, 4.8},
    {40, 0.0409, 0.021, 2.5},
    {32, 0.03504, 0.022, 1.6},
    {25, 0.02664, 0.023, 0.8},
    {20, 0.02093, 0.025, 0.5},
    {15, 0.0158, 0.027, 0.25},
}};

const std::array<const char*, BoreCount> BoreName = {
    "750", "600", "500", "450", "400", "350", "300", "250", "200", "150",
    "125", "100", "80",  "65",  "50",  "40",  "32",  "25",  "20",  "15",
};

constexpr std::array<double, MaterialCount> BuiltInMaterialRoughness = {0.000046, 0.00015, 0.0000015};

namespace {

struct TStandardFitting {
    const char* Name;
    double C;
};

// Constant data, so tables can be built in any static initialiser (a test
// program's project state may be one).
constexpr std::array<TStandardFitting, FittingCount> kStandardFittings = {{
    {"Std Elbow 90 deg", 30},
    {"Std Elbow 45 deg", 16},
    {"Reducer", 38},
    {"Expander", 80},
    {"Std Equal T Str", 20},
    {"Std Equal T Side", 60},
    {"Welded T Thru Flo", 20},
    {"Welded Elbow 90 deg", 16},
    {"Pipe Bend 90 deg", 16},
    {"Mitre Bend 45 deg", 15},
    {"CB Ball Valve", 5},
    {"RB Ball Valve", 21},
    {"Gate Valve", 12},
    {"RB Gate Valve", 60},
    {"Swing Check Valve", 100},
    {"Lift Check Valve", 600},
    {"Globe Valve", 340},
    {"Angle Check Valve", 350},
    {"Butterfly Valve", 45},
    {"Clean Strainer", 200},
    {"Dirty Strainer", 650},
    {"Flow Switch", 10},
    {"Gauge Socket", 5},
    {"VibroFlex", 8},
}};

std::array<TFittingRec, FittingCount> StandardFittings() {
    std::array<TFittingRec, FittingCount> table;
    for (std::size_t t = 0; t < table.size(); ++t) table[t] = {kStandardFittings[t].Name, kStandardFittings[t].C};
    return table;
}

} // namespace

const std::array<TFittingRec, FittingCount> StandardFittingTable = StandardFittings();

namespace {

// h per metre of pipe, the same for every material.
constexpr std::array<double, BoreCount> kPipeLabour = {
    4.92, 3.67, 2.97, 2.6, 2.2, 1.86, 1.5, 1.2, 1.0, 0.84,
    0.7,  0.6,  0.5,  0.4, 0.3, 0.25, 0.2, 0.15, 0.14, 0.1};

// h per fitting, five profiles by kind of fitting.
constexpr std::array<double, BoreCount> kLabourA = {
    7.5, 6.0, 5.0, 4.5, 4.0, 3.5, 3.0, 2.4, 2.0, 1.65,
    1.4, 1.2, 1.0, 0.8, 0.6, 0.5, 0.4, 0.3, 0.2, 0.15};
constexpr std::array<double, BoreCount> kLabourB = {
    3.75, 3.0, 2.5, 2.25, 2.0, 1.75, 1.5, 1.2, 1.0, 0.83,
    0.7,  0.6, 0.5, 0.4,  0.3, 0.25, 0.2, 0.15, 0.1, 0.1};
constexpr std::array<double, BoreCount> kLabourC = {
    11.25, 9.0, 7.5, 6.75, 6.0, 5.25, 4.5, 3.6, 3.0, 2.48,
    2.1,   1.8, 1.5, 1.2,  0.9, 0.75, 0.6, 0.45, 0.4, 0.35};
constexpr std::array<double, BoreCount> kLabourD = {
    11.25, 9.0,  7.5, 6.75, 6.0, 5.25, 4.5, 3.6, 3.0, 2.44,
    2.08,  1.8,  1.5, 1.2,  0.9, 0.75, 0.6, 0.45, 0.4, 0.35};

const std::array<double, BoreCount>& LabourProfile(int fittingType) {
    static constexpr std::array<double, BoreCount> kLabourE = [] {
        std::array<double, BoreCount> e{};
        for (double& v : e) v = 0.2;
        return e;
    }();
    switch (fittingType) {
    case 0: case 1: case 7: case 8: case 9: return kLabourA;
    case 2: case 3: case 23: return kLabourB;
    case 4: case 5: case 6: return kLabourC;
    case 21: case 22: return kLabourE;
    default: return kLabourD; // 10 to 20: valves and strainers
    }
}

} // namespace

bool TCatalogueTables::SelectPipeMaterial(int m) {
    if (const TMaterialTable* own = ExtraMaterial(*this, m)) {
        ActiveMaterial = m;
        CurrentRoughness = own->Roughness;
        return true;
    }
    if (m < 0 || m >= MaterialCount) return false;
    PipeMaterial = static_cast<std::uint8_t>(m);
    ActiveMaterial = m;
    CurrentRoughness = MaterialRoughness[PipeMaterial];
    return true;
}

void TCatalogueTables::RestoreBuiltIn() {
    BoreTable = BuiltInBoreTable;
    MaterialRoughness = BuiltInMaterialRoughness;
    PipeMaterial = pmSteel;
    ActiveMaterial = pmSteel;
    CurrentRoughness = MaterialRoughness[pmSteel];
    FittingTable = StandardFittings();
    Materials.clear();
    for (int b = 0; b < BoreCount; ++b) {
        for (int m = 0; m < MaterialCount; ++m) {
            PipeListPrice[b][m] = -1;
            PipeLabourTime[b][m] = kPipeLabour[b];
        }
    }
    for (int t = 0; t < FittingCount; ++t) {
        FittingPrice[t].fill(-1);
        FittingLabour[t] = LabourProfile(t);
    }
    DefaultTemperature = BuiltInDefaultTemperature;
    DefaultBore = BuiltInDefaultBore;
    DefaultLength = BuiltInDefaultLength;
    DefaultFlow = BuiltInDefaultFlow;
    DefaultFittingType = BuiltInDefaultFittingType;
    DefaultQuantity = BuiltInDefaultQuantity;
    DefaultUserDP = BuiltInDefaultUserDP;
    GradientLimit = BuiltInGradientLimit;
    VelocityLimit = BuiltInVelocityLimit;
    LabourRate = BuiltInLabourRate;
    FreezingMargin = BuiltInFreezingMargin;
}

} // namespace dvx
