// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/cost/PriceEstimate.h"

#include "base/Format.h"

namespace dvx {

const std::array<const char*, PriceGroupCount> PriceGroupName = {
    "Pipes", "Elbows", "Reducers", "Tees", "Valves", "Strainers", "Small Fittings", "User"};

const std::array<const char*, 5> PriceExplanation = {
    "The calculated price is an estimate only, based on",
    "    Price = Quantity \u00b7 (ItemCost + LabourCost \u00b7 LabourTime)",
    "Clearly, the accuracy of the result depends on the cost and rate tables ",
    "that you enter.  Items should include all ancillary costs (for example, ",
    "valves should include mating flanges, gaskets and bolts).",
};

int PriceGroupOf(const TBranch& item) {
    switch (item.Kind()) {
    case TItemKind::Pipe:
        return pgPipes;
    case TItemKind::User:
    case TItemKind::KItem: // entrances, exits and valves by Kv: priced by the user
    case TItemKind::Valve:
        return pgUser;
    case TItemKind::Fitting:
        break;
    }
    switch (static_cast<const TFitting&>(item).FittingType) {
    case 0: case 1: case 7: case 8: case 9:
        return pgElbows;
    case 2: case 3:
        return pgReducers;
    case 4: case 5: case 6:
        return pgTees;
    case 10: case 11: case 12: case 13: case 14: case 15: case 16: case 17: case 18:
        return pgValves;
    case 19: case 20:
        return pgStrainers;
    case 21: case 22: case 23:
        return pgSmallFittings;
    default:
        return -1;
    }
}

std::array<TPriceRow, PriceGroupCount> SumPriceGroups(const TProjectContext& project, const TCircuit& circuit) {
    std::array<TPriceRow, PriceGroupCount> rows{};
    for (const auto& item : circuit.Items) {
        const int group = PriceGroupOf(*item);
        if (group < 0) continue;
        rows[static_cast<std::size_t>(group)].Material += item->MaterialCost(project);
        rows[static_cast<std::size_t>(group)].Hours += item->LabourHours(project);
    }
    return rows;
}

std::string PriceFigure(double value) { return FormatFloat("%0.2f", value); }

std::string PriceStatusLine(const TCircuit& circuit) {
    return Format("Total System Price = %m  (%0.0f hrs)", {circuit.TotalCost, circuit.LabourHoursTotal});
}

std::string PriceReportTotalLine(const TCircuit& circuit) {
    return Format("Total Price = %m  (%0.0f hrs)", {circuit.TotalCost, circuit.LabourHoursTotal});
}

std::string IncompletePriceMessage(const std::string& estimateMessage) {
    return "The price database is incomplete.\n\r" + estimateMessage + "\n\rUpdate and retry...";
}

} // namespace dvx
