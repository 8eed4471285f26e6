// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The price estimate's figures: the circuit's items summed into eight
// groups (material cost and labour hours per group), the total line and the
// texts the price window and the price report share.

#include "engine/hydraulics/Circuit.h"

#include <array>
#include <string>

namespace dvx {

enum TPriceGroup : int {
    pgPipes = 0,
    pgElbows,
    pgReducers,
    pgTees,
    pgValves,
    pgStrainers,
    pgSmallFittings,
    pgUser,
};
inline constexpr int PriceGroupCount = 8;

// Row captions, in row order: "Pipes", "Elbows" … "User".
extern const std::array<const char*, PriceGroupCount> PriceGroupName;

// The group of an item: straight pipes, fittings by their fittings-table
// index (elbows 0, 1, 7, 8, 9; reducers 2, 3; tees 4, 5, 6; valves 10–18;
// strainers 19, 20; small fittings 21, 22, 23), user items. −1 for a fitting
// of any other index, which no row counts.
int PriceGroupOf(const TBranch& item);

struct TPriceRow {
    double Material = 0; // currency, summed MaterialCost
    double Hours = 0;    // h, summed LabourHours
};

// Sums every item's MaterialCost and LabourHours (with project's cost
// tables) into its group, in list order.
std::array<TPriceRow, PriceGroupCount> SumPriceGroups(const TProjectContext& project, const TCircuit& circuit);

// A row's figures as the window and the report show them ("%0.2f").
std::string PriceFigure(double value);

// "Total System Price = %m  (%0.0f hrs)" with TotalCost and LabourHoursTotal
// of the last Estimate.
std::string PriceStatusLine(const TCircuit& circuit);
// The report's total row: "Total Price = %m  (%0.0f hrs)".
std::string PriceReportTotalLine(const TCircuit& circuit);

// The message of an incomplete estimate: "The price database is
// incomplete." + LF CR + the estimate's message + LF CR + "Update and retry...".
std::string IncompletePriceMessage(const std::string& estimateMessage);

// The five lines of explanation above the price list.
extern const std::array<const char*, 5> PriceExplanation;

inline constexpr const char* CostChangedNotice = "Cost database has been changed...";
inline constexpr const char* LabourChangedNotice = "Labour rates have been changed...";

} // namespace dvx
