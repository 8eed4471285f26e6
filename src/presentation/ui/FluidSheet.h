// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fluid specification sheet without its window: the ten definition
// lines, the unit families of the rows, and the rules that move values
// between the sheet and the liquid it edits (activation, a changed row, the
// additive and user-value rules, the valid-range status line, Cancel's
// backup and the stored units and column widths).

#include "presentation/widgets/EntrySheet.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dvx {
class SettingsStore;
class TLiquid;
} // namespace dvx

namespace dvx::ui {

// Sheet rows (row 0 is the heading).
enum TFluidRow : int {
    frTemperature = 1, // t, °C inside
    frFluidType = 2,   // LiquidSpec
    frAdditive = 3,    // WaterAdditive
    frVolume = 4,      // AdditiveVolume, fraction inside
    frUserDefined = 5, // UserProps, 0 "False" / 1 "True"
    frDensity = 6,     // kg/m³ inside
    frSpecificHeat = 7, // kJ/(kg·K) inside
    frViscosity = 8,   // Pa·s inside
    frConductivity = 9, // kW/(m·K) inside
};

// The definition lines of the sheet, heading first.
const std::vector<std::string>& FluidSpecLines();

// The status line: its text and whether the temperature lies inside the
// valid range (teal) or not (maroon).
struct TFluidStatus {
    std::string Text;
    bool InRange = true;
};

// The line under the status for a water mixture: its freezing point in the
// temperature row's unit, and whether the temperature is within the
// freezing margin of it. Nothing applies to other liquids.
struct TFreezeStatus {
    bool Applies = false;
    std::string Text;
    bool AtRisk = false;
};

// The editable values of a liquid, kept when the sheet opens so that Cancel
// can put them back. The evaluated properties are kept too: they are put
// back when the restored values cannot be evaluated.
struct TFluidBackup {
    double t = 0; // °C
    std::uint8_t LiquidSpec = 0;
    std::uint8_t WaterAdditive = 0;
    double AdditiveVolume = 0; // fraction
    bool UserProps = false;
    double UserRo = 0, UserCp = 0, UserMu = 0, UserKo = 0; // kg/m³, kJ/(kg·K), Pa·s, kW/(m·K)
    double ro = 0, Cp = 0, mu = 0, Ko = 0, Pr = 0;         // as above; Pr dimensionless
    double ValidTMin = 0, ValidTMax = 0;                   // °C
    std::int32_t RangeStatus = 0;
};

class TFluidSpecSheet {
public:
    explicit TFluidSpecSheet(TEntrySheet& sheet) : sheet_(sheet) {}

    // Creation: the definition lines, the liquid names of row 2, the unit
    // families with their start units and the units column.
    void Setup();

    // The liquid being edited (set by the caller before the sheet opens).
    void SetFluid(TLiquid* fluid) { fluid_ = fluid; }
    TLiquid* Fluid() const { return fluid_; }

    // Activation: backup, rows from the liquid, the row rules, the status.
    void Activate();
    // After the user changed a row.
    void RowChanged(int row);
    // Cancel: the backed-up values, evaluated again.
    void RestoreBackup();
    const TFluidBackup& Backup() const { return backup_; }

    // Rows 1 to 5 from the liquid, rows 6 to 9 from its user values or its
    // properties.
    void ShowFluid();
    void ApplyUserMode(bool on);
    void ApplyAdditiveRules();
    void ShowStatus();
    // The status line for the liquid's range and t in row 1's unit.
    TFluidStatus Status();
    // The freezing line for the liquid and the margin in force.
    TFreezeStatus FreezeStatus();
    // The inverse question: the least additive volume that keeps the
    // mixture the margin above freezing down to the temperature typed in
    // the temperature row's unit; "" when nothing usable is typed.
    std::string ProtectionAnswer(const std::string& typed);
    // K, the warning margin above a mixture's freezing point.
    void SetFreezingMargin(double marginK) { margin_ = marginK; }
    double FreezingMargin() const { return margin_; }

    // Rows 1 to 9 from nine values; any other count reports
    // "DataCount<>LineCount" and changes nothing.
    bool SetRowValues(const std::vector<TValue>& values);

    // Column widths (pixels) and row units in the settings section
    // "FluidSpecForm": "ColWidths"+c and "Units"+r. Loading keeps the
    // current width or unit where nothing (or nothing usable) is stored.
    void LoadSheetSettings(const SettingsStore& store, std::vector<int>& colWidths);
    void SaveSheetSettings(SettingsStore& store, const std::vector<int>& colWidths);

    // The status line changed.
    std::function<void(const TFluidStatus&)> OnStatus;
    // A plain message (the sheet's own failures).
    std::function<void(const std::string&)> OnMessage;
    // An evaluation failed; the liquid kept its previous properties.
    std::function<void(const std::string&)> OnError;

private:
    // The value of a row as a number or an index (nullopt when its text
    // cannot be read).
    std::optional<double> Number(int row) const;
    int Index(int row) const;
    // Runs an evaluation step, reporting a MathError through OnError; false
    // when it failed.
    bool Evaluating(const std::function<void()>& step);
    void Message(const std::string& text);

    TEntrySheet& sheet_;
    TLiquid* fluid_ = nullptr;
    TFluidBackup backup_;
    double margin_ = 2; // K
};

} // namespace dvx::ui
