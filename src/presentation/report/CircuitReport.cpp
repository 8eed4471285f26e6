// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/report/CircuitReport.h"

#include "base/Format.h"
#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/resistance/FittingMethod.h"
#include "base/platform/Version.h"
#include "presentation/report/PumpCurvePage.h"
#include "presentation/ui/CircuitGrid.h"
#include "presentation/ui/FreezeText.h"
#include "engine/units/UnitView.h"

#include <algorithm>

namespace dvx {

TReportGrid CircuitReportGrid(const TCircuit& circuit, const TProjectContext& project, bool groupsOn, bool typesOn,
                              unsigned extras) {
    const std::vector<int> shown = ShownColumns(groupsOn, typesOn, extras);
    const int rows = std::max(2, circuit.Count() + 1);
    TReportGrid grid;
    grid.reserve(shown.size());
    for (int column : shown) {
        std::vector<std::string> cells;
        cells.reserve(static_cast<std::size_t>(rows));
        cells.push_back(ColumnTitle(column));
        for (int r = 1; r < rows; ++r) {
            const TBranch* item = r - 1 < circuit.Count() ? &circuit.Item(r - 1) : nullptr;
            cells.push_back(CellText(item, column, project));
        }
        grid.push_back(std::move(cells));
    }
    return grid;
}

namespace {

// The method the fittings were calculated by, stated only when it is not
// the equivalent length every project without one has always used.
void AddFittingMethodLine(std::vector<std::string>& lines, const TCircuit& circuit) {
    if (circuit.FittingMethod == TFittingMethod::EquivalentLength) return;
    lines.push_back("Fittings calculated by the " + std::string(FittingMethodName(circuit.FittingMethod)) + " method");
}

} // namespace

std::vector<std::string> CircuitSummaryLines(const TCircuit& circuit, const TFluid* fluid,
                                             const TProjectContext& project) {
    const TCatalogueTables& tables = project.Tables;
    const double density = LiquidDensity(project.Liquid);
    // In the display units in force; with SI the lines the report has always had.
    const TUnitView drop(DisplayUnits(), qtPressureDrop, {"kPa", "%0.4g", Over(1000)}, density);
    if (!circuit.Solved) {
        std::vector<std::string> lines = {"Index circuit total pressure drop \u00A4\u00A4\u00A4\u00A4 " + drop.Label()};
        AddFittingMethodLine(lines, circuit);
        return lines;
    }
    const TUnitView volume(DisplayUnits(), qtVolume, {"m\u00B3", "%0.4g", Times(1)}, density);
    const TUnitView temperature(DisplayUnits(), qtTemperature, {"\u00B0C", "%0.1f", Times(1)}, density);
    std::string liquid; // caption and temperature
    if (fluid != nullptr)
        liquid = temperature.IsMetric() ? fluid->GetDescription()
                                        : fluid->GetCaption() + " " + temperature.Text(fluid->t);
    std::vector<std::string> lines = {
        "Index circuit total pressure drop " + drop.Text(circuit.TotalDP) + " " + drop.Label(),
        "Total system volume " + volume.Text(circuit.TotalVolume) + " " + volume.Label(),
        "System fluid: " + liquid + " " + temperature.Label()};
    // A material with its own bores is named, so the bore labels read right;
    // the three built-in materials keep the report as it always was.
    if (const TMaterialTable* own = ExtraMaterial(tables, circuit.Material))
        lines.push_back("Pipe material: " + own->Name + ", roughness " + FormatFloat("%0.4g", own->Roughness * 1000) +
                        " mm");
    // A mixture too close to its freezing point is said under its name.
    if (const auto* mixture = dynamic_cast<const TLiquid*>(fluid)) {
        const std::string freezing = ui::LiquidFreezeWarning(*mixture, tables.FreezingMargin);
        if (!freezing.empty()) lines.push_back("Freezing risk: " + freezing);
    }
    AddFittingMethodLine(lines, circuit);
    return lines;
}

void FillCircuitReport(TReportSetup& setup, const TCircuit& circuit, const TProjectContext& project, bool groupsOn,
                       bool typesOn, const TFluid* fluid, unsigned extras) {
    TReportGrid grid = CircuitReportGrid(circuit, project, groupsOn, typesOn, extras);
    const int rows = grid.empty() ? 0 : static_cast<int>(grid.front().size());
    setup.ranges = {TCellRange{0, 1, static_cast<int>(grid.size()) - 1, rows - 1}};
    setup.tables.clear();
    setup.tables.push_back(std::move(grid));
    setup.tableTitles = {std::string()};
    setup.titleLines = {kCircuitReportTitle};
    setup.headingLines = {circuit.Heading1, circuit.Heading2};
    setup.summaryLines = CircuitSummaryLines(circuit, fluid, project);
    setup.versionText = ProgramVersionInfo().Version;
    // A project that uses the pump settings gets its plot as the last page.
    setup.closingPage = PumpCurvePageFor(project, circuit, groupsOn);
}

} // namespace dvx
