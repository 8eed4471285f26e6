// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/ProjectSummary.h"

#include "base/Format.h"
#include "engine/hydraulics/Calc.h"
#include "engine/units/UnitView.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dvx::ui {

namespace {

const char* const kCaptions[SummaryRowCount] = {"Pipes",  "Elbows",    "Reducers",       "Tees",
                                                "Valves", "Strainers", "Small Fittings", "User"};

// Summary row of each of the 24 fitting types.
constexpr int kGroupOfType[24] = {
    1, 1,                      // 0, 1: elbows
    2, 2,                      // 2, 3: reducers
    3, 3, 3,                   // 4 to 6: tees
    1, 1, 1,                   // 7 to 9: elbows
    4, 4, 4, 4, 4, 4, 4, 4, 4, // 10 to 18: valves
    5, 5,                      // 19, 20: strainers
    6, 6, 6,                   // 21 to 23: small fittings
};

constexpr int kUserRow = 7;

TUnitView LengthView() { return TUnitView(qtLength, {"m", "%0.0f", Times(1)}); }
TUnitView DropView(double density) { return TUnitView(qtPressureDrop, {"kPa", "%0.4g", Times(0.001)}, density); }

// The whole-number part of a quantity, kept to a range a count can hold.
std::int64_t WholePart(double quantity) {
    if (!std::isfinite(quantity)) return 0;
    return static_cast<std::int64_t>(std::trunc(std::clamp(quantity, -1e15, 1e15)));
}

} // namespace

const char* SummaryCaption(int row) { return row >= 0 && row < SummaryRowCount ? kCaptions[row] : ""; }

int SummaryGroupOfFitting(int fittingType) {
    if (fittingType < 0 || fittingType >= static_cast<int>(std::size(kGroupOfType))) return -1;
    return kGroupOfType[fittingType];
}

TSummary SummarizeCircuit(const TCircuit& circuit, double density) {
    TSummary s;
    s.Density = density;
    for (const auto& item : circuit.Items) {
        switch (item->Kind()) {
        case TItemKind::Fitting: {
            const auto& fitting = static_cast<const TFitting&>(*item);
            // A type outside the table belongs to no group but still counts
            // in the total.
            const int row = SummaryGroupOfFitting(fitting.FittingType);
            if (row > 0) {
                s.Count[static_cast<std::size_t>(row)] += WholePart(fitting.Quantity);
                s.DP[static_cast<std::size_t>(row)] += fitting.PressureDrop;
            }
            break;
        }
        case TItemKind::Pipe:
            s.PipeLength += static_cast<const TPipe&>(*item).Length;
            s.DP[0] += item->PressureDrop;
            break;
        case TItemKind::User:
        case TItemKind::KItem: // fixed resistances count with the items of fixed drop
        case TItemKind::Valve:
            s.Count[kUserRow] += 1;
            s.DP[kUserRow] += item->PressureDrop;
            break;
        }
        s.Total += item->PressureDrop;
    }
    return s;
}

std::string SummaryQuantityText(const TSummary& summary, int row) {
    if (row == 0) return LengthView().Text(summary.PipeLength);
    if (row < 0 || row >= SummaryRowCount) return {};
    return Format("%d", {static_cast<long long>(summary.Count[static_cast<std::size_t>(row)])});
}

std::string SummaryPressureText(const TSummary& summary, int row) {
    if (row < 0 || row >= SummaryRowCount) return {};
    return DropView(summary.Density).Text(summary.DP[static_cast<std::size_t>(row)]);
}

std::string SummaryStatusText(const TSummary& summary) {
    const TUnitView drop = DropView(summary.Density);
    return "Total pressure of summary items = " + drop.Text(summary.Total) + " " + drop.Label();
}

// A caption names the unit only: no density is needed for it.
std::string SummaryPressureCaption() {
    return DropView(std::numeric_limits<double>::quiet_NaN()).Caption("dP, ");
}

} // namespace dvx::ui
