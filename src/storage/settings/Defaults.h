// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program-wide values that are not part of a project and live in the
// settings store: the item defaults (section "Default"), the warning limits
// (section "Limits") and the default flows of the bores ("Settings"/"MaxFlows").
// They are read once at start-up into the project's catalogue tables
// (engine/catalogue/Tables.h) passed in; the Defaults, Warning Limits and
// Default Flows dialogs change and write them afterwards.
//
// Conversion rule: values are converted in table order and each one is in
// force as soon as it is converted. A text that is not a number raises
// ConvertError; the values after it keep the ones they had.

#include "engine/catalogue/Tables.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

class SettingsStore;

// The values "Restore" puts in force, also the ones a missing key gives
// (they differ from the start values of Tables.h in flow and fitting type).
struct TItemDefaults {
    double Temperature = 9;  // °C
    double Bore = 100;       // mm
    double Length = 10;      // m
    double Flow = 20;        // l/s
    int FittingType = 0;     // index into the fittings table
    int Quantity = 1;        // —
    double UserDP = 50;      // kPa
};
inline constexpr TItemDefaults kStoredItemDefaults{};

// Reads the seven "Default" keys into tables.DefaultTemperature …
// tables.DefaultUserDP. Floating texts are read as numbers, "Fitting" and
// "Fitting Quantity" as integers. A "Fitting" that is not an index of
// tables.FittingTable gives type 0.
void LoadItemDefaults(const SettingsStore& store, TCatalogueTables& tables);
// Writes the seven keys of tables: floating values "%0.0f", integers "%0d".
void SaveItemDefaults(SettingsStore& store, const TCatalogueTables& tables);
// Puts kStoredItemDefaults in force in tables.
void RestoreItemDefaults(TCatalogueTables& tables);

// Warning limits: texts "%0.1f" of the gradient limit (Pa/m) and velocity limit (m/s).
std::string LimitText(double value);
// Reads "PRate" then "VMax" (the limits of tables as defaults) into
// tables.GradientLimit and tables.VelocityLimit, then "FreezeMargin" (K) into
// tables.FreezingMargin; a margin that is negative or above
// kMaxFreezingMargin keeps the one in force.
void LoadWarningLimits(const SettingsStore& store, TCatalogueTables& tables);
inline constexpr double kMaxFreezingMargin = 20; // K

// Default flows, l/s per bore in BoreIndex order.
using TFlowList = std::array<double, BoreCount>;
extern const TFlowList BuiltInMaxFlows;
// The text of one flow as the Default Flows grid shows it ("%0.2f").
std::string FlowText(double flow);
// The 20 flows of a "MaxFlows" text. Tokens are separated by runs of blanks,
// tabs and commas and may be enclosed in double quotes; tokens after the
// 20th are ignored. None when the text has fewer than 20 tokens or one of
// the first 20 is not a number.
std::optional<TFlowList> ParseMaxFlows(std::string_view text);
// The "MaxFlows" text of a list of cell texts: joined by ", ".
std::string JoinMaxFlows(const std::vector<std::string>& texts);
// The flows in force after start-up: the stored list (or the built-in one
// when it does not give 20 numbers), each rounded to two decimals as its
// "%0.2f" text reads back.
TFlowList EffectiveMaxFlows(std::string_view text);
// Reads "MaxFlows" and puts EffectiveMaxFlows into mf of tables.BoreTable.
void LoadDefaultFlows(const SettingsStore& store, TCatalogueTables& tables);

} // namespace dvx
