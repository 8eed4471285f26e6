// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The forms of a calculated circuit: the JSON document, the CSV table and
// the text table. JSON and CSV are built from one list of fields, so they
// always carry the same values under the same names and units.

#include "CliWarning.h"
#include "engine/catalogue/Tables.h"
#include "engine/units/UnitChoice.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace dvx {
class TCircuit;
class TFluid;
struct TMaterialTable;
} // namespace dvx

namespace dvx::cli {

// What the results were calculated with.
struct TCalcSetting {
    const TCircuit* Circuit = nullptr;
    const TFluid* Fluid = nullptr;
    const TCatalogueTables* Tables = nullptr; // the run's tables: the bores' nominal sizes
    int Material = 0;
    double Roughness = 0;     // m, the material's roughness in force
    // A material with its own bores (code 3 on): the table, and each item's
    // bore in it, in list order. Null for the three built-in materials.
    const TMaterialTable* OwnBores = nullptr;
    std::vector<std::size_t> BoreOf;
    int RangeStatus = 0;      // 0: the liquid's temperature is inside its valid range
    double ValidTMin = 0;     // °C
    double ValidTMax = 0;     // °C
    std::vector<TCliWarning> Warnings;
    TUnitChoice Units; // of the text table and the CSV (CliUnits.h); JSON is SI
    TFittingMethod FittingMethod = TFittingMethod::EquivalentLength; // the fittings were calculated by
};

// The pipe material's name ("Schedule 40 steel", …); empty for another code.
std::string MaterialName(int material);

void WriteCircuitJson(const TCalcSetting& setting, std::ostream& out);
std::string CircuitCsv(const TCalcSetting& setting);
// The header (liquid, temperature, material), one row per item and the totals.
void WriteCircuitTable(const TCalcSetting& setting, std::ostream& out);
void WriteCircuitTotals(const TCircuit& circuit, std::ostream& out, const TUnitChoice& units = {},
                        double density = 0);

} // namespace dvx::cli
