// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The circuit report's contents: the circuit grid as the main window shows
// it (its shown columns, captions and cell texts), the title, the circuit's
// two headings and the summary of the results.

#include "presentation/report/GridReport.h"

#include <string>
#include <vector>

namespace dvx {

class TCircuit;
class TFluid;
struct TProjectContext;

inline constexpr const char* kCircuitReportTitle = "Darvenix Report";

// The grid's shown columns (groups and types as switched in the main
// window): row 0 the captions, then one row per item; an empty circuit
// still has its one empty row.
// extras: the optional result columns shown in the grid (TExtraColumns).
// Cells as CellText gives them for project.
TReportGrid CircuitReportGrid(const TCircuit& circuit, const TProjectContext& project, bool groupsOn, bool typesOn,
                              unsigned extras = 0);

// With results: total pressure drop (kPa), total volume (m³) and the fluid
// with its temperature (°C), each in the display units in force; without:
// the pressure drop line with "¤¤¤¤" for the number. Either ends with
// "Fittings calculated by the Crane K method" (or 3-K) when the project
// does not use the equivalent length. A further pipe material of project's
// tables is named, and a mixture within their FreezingMargin of its
// freezing point is warned of; head units take the density of project's
// liquid.
std::vector<std::string> CircuitSummaryLines(const TCircuit& circuit, const TFluid* fluid,
                                             const TProjectContext& project);

// Fills the report set-up for the circuit: one untitled table over all
// shown columns and item rows, title, headings, summary and version, all of
// project (its tables; its pump page is calculated with it).
void FillCircuitReport(TReportSetup& setup, const TCircuit& circuit, const TProjectContext& project, bool groupsOn,
                       bool typesOn, const TFluid* fluid, unsigned extras = 0);

} // namespace dvx
