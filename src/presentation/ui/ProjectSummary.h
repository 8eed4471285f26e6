// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project summary: the circuit added up by kind of item — metres of
// straight pipe, numbers of fittings in six groups and user items — with the
// pressure drop of each group and of all items together.

#include <array>
#include <cstdint>
#include <string>

namespace dvx {
class TCircuit;
}

namespace dvx::ui {

inline constexpr int SummaryRowCount = 8;

// Row captions: "Pipes", "Elbows", "Reducers", "Tees", "Valves",
// "Strainers", "Small Fittings", "User".
const char* SummaryCaption(int row);

// The summary row (1 to 6) of a fitting type of FittingTable; −1 for a type
// outside the table.
int SummaryGroupOfFitting(int fittingType);

struct TSummary {
    double PipeLength = 0;                           // m, row 0's quantity
    std::array<std::int64_t, SummaryRowCount> Count{}; // rows 1 to 7 (row 0 unused)
    std::array<double, SummaryRowCount> DP{};         // Pa, per row
    double Total = 0;                                // Pa, every item
    double Density = 0;                              // kg/m³, the liquid's, for drops shown as head
};

// Adds up every item of the circuit, whatever its group or index setting.
// A fitting counts the whole-number part of its Quantity. density (kg/m³,
// LiquidDensity of the project's liquid) serves drops shown as head.
TSummary SummarizeCircuit(const TCircuit& circuit, double density);

// The texts of one row: "Qty" ("%0.0f" metres for row 0, "%d" for the
// others) and "dP, kPa" ("%0.4g"); lengths and pressure drops in the
// display units in force.
std::string SummaryQuantityText(const TSummary& summary, int row);
std::string SummaryPressureText(const TSummary& summary, int row);
// "Total pressure of summary items = %0.4g kPa".
std::string SummaryStatusText(const TSummary& summary);
// The pressure column's caption, "dP, kPa" in SI.
std::string SummaryPressureCaption();

} // namespace dvx::ui
