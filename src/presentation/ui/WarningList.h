// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The warnings list: the pipes, fittings, K items and valves whose last
// calculation flagged a high pressure gradient or a high velocity, one line
// per item, and the detail line of a listed item.

#include <string>
#include <vector>

namespace dvx {
struct TProjectContext;
class TBranch;
class TCircuit;
class TLiquid;
class TPipe;
} // namespace dvx

namespace dvx::ui {

// Texts of TPipe::Warning 0 to 2.
const char* WarningText(int warning);

// One line of the list and the item it belongs to (none: the liquid's line).
struct TWarningLine {
    std::string Text;
    TBranch* Item = nullptr; // a pipe, fitting, K item or valve
};

// Every pipe, fitting, K item or valve of the circuit, in circuit order,
// whose Warning is not 0, as "%3d: %s %s" from Number, Description and the
// warning text. User items are never listed.
std::vector<TWarningLine> BuildWarningList(const TCircuit& circuit);
// The same, headed by a line for the liquid when it is within marginK (K)
// of its freezing point and by the 3-K note of project (ThreeKFallbackNote);
// neither line has an item.
std::vector<TWarningLine> BuildWarningList(const TCircuit& circuit, const TLiquid& liquid, double marginK,
                                           const TProjectContext& project);

// When the project calculates by 3-K and some of the circuit's fitting
// types have no 3-K constants: "No 3-K constants for Gate Valve, …:
// calculated by Crane K"; else empty.
std::string ThreeKFallbackNote(const TCircuit& circuit, const TProjectContext& project);

// "%3d: %s %0.4g kPa %0.1f m/s %0.1f m %0.4g kPa/m": number, description,
// pressure drop, velocity, length (a fitting's equivalent length) and
// gradient; each value in the display units in force, heads in a liquid
// of density (kg/m³; LiquidDensity of the project's liquid).
std::string WarningDetail(const TPipe& item, double density);
// For a K item or valve, which has no length or gradient:
// When the project calculates by 3-K and some of the circuit's fitting
// types have no 3-K constants: "No 3-K constants for Gate Valve, …:
// calculated by Crane K"; else empty.
std::string ThreeKFallbackNote(const TCircuit& circuit, const TProjectContext& project);

// "%3d: %s %0.4g kPa %0.1f m/s"; for a pipe or fitting as above.
std::string WarningDetail(const TBranch& item, double density);

// The warning code of an item (TWarning); 0 for a user item.
int WarningOf(const TBranch& item);

} // namespace dvx::ui
