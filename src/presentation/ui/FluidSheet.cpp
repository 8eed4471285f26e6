// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/FluidSheet.h"

#include "base/Errors.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/fluid/Fluid.h"
#include "engine/fluid/FreezingPoint.h"
#include "presentation/ui/FreezeText.h"
#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"
#include "engine/units/UnitChoice.h"

#include <cmath>
#include <string_view>

namespace dvx::ui {

namespace {

// A unit family attached to a row, with the unit shown at start.
struct TRowUnits {
    int Row;
    TUnitsType Type;
    int StartUnit;
};

// In the order they are attached: temperature in °C, additive volume in %,
// density in kg/m³, specific heat in kJ/kg·K, conductivity in W/mK,
// viscosity in cP.
constexpr TRowUnits kRowUnits[] = {
    {frTemperature, utTemperature, 0}, {frVolume, utProportion, 1},
    {frDensity, utDensity, 0},         {frSpecificHeat, utSpecificHeat, 0},
    {frConductivity, utConductivity, 1}, {frViscosity, utViscosity, 3},
};

constexpr int kDataRows = 9;

// The unit a row starts in: the table's, unless the display units in force
// name another unit of the row's quantity (°F or K, lb/ft³, cP or
// lb/(ft·s)). Units chosen on the sheet itself and saved with it still win.
int StartUnit(const TRowUnits& u) {
    const TUnitChoice& shown = DisplayUnits();
    auto sheetIndexOf = [&](TQuantity quantity, std::initializer_list<std::pair<const char*, int>> map) {
        if (shown.IsSI(quantity)) return u.StartUnit;
        for (const auto& [key, index] : map)
            if (std::string_view(shown.Unit(quantity).Key) == key) return index;
        return u.StartUnit;
    };
    switch (u.Type) {
    case utTemperature: return sheetIndexOf(qtTemperature, {{"F", 1}, {"K", 2}});
    case utDensity: return sheetIndexOf(qtDensity, {{"lb/ft3", 2}});
    case utViscosity: return sheetIndexOf(qtViscosity, {{"cP", 3}, {"lb/ft.s", 4}});
    default: return u.StartUnit;
    }
}

} // namespace

const std::vector<std::string>& FluidSpecLines() {
    static const std::vector<std::string> lines = {
        "Property; Value; Units",
        "Temperature; %0.2f; °C; NPE; -60; 350",
        "Fluid type; enum; ; Water",
        "Additive; enum; ; None; Ethylene Glycol; Propylene Glycol; Calcium Chloride",
        "Additive Volume; %0.2f; 0 to 0.4; NPE; 0.01; 0.45",
        "User Defined; enum; ; False; True",
        "Density; %0.4f; kg/m³; NPE; 0.01; 5000",
        "Specific Heat; %0.3f; kJ/kg·K; NPE; 0.01; 100.0",
        "Dynamic viscosity; %0.4g; kg/m·s; NPE; 1e-9; 10.0",
        "Conductivity; %0.4g; W/m·K; NPE; 1e-9; 10.0",
    };
    return lines;
}

void TFluidSpecSheet::Setup() {
    sheet_.SetLines(FluidSpecLines());
    // The list index of row 2 is the LiquidSpec code.
    sheet_.SetEnumStrings(frFluidType, std::vector<std::string>(LiquidNames.begin(), LiquidNames.end()));
    for (const TRowUnits& u : kRowUnits) sheet_.SetUnits(u.Row, u.Type, StartUnit(u), 0, ft_Fixed, 1.0, 0.0);
    sheet_.SetUnitsColumn(2);
}

void TFluidSpecSheet::Message(const std::string& text) {
    if (OnMessage) OnMessage(text);
}

std::optional<double> TFluidSpecSheet::Number(int row) const {
    return ValueAsNumber(sheet_.GetValue(1, row));
}

int TFluidSpecSheet::Index(int row) const {
    const TValue value = sheet_.GetValue(1, row);
    if (const int* i = std::get_if<int>(&value)) return *i;
    return -1;
}

bool TFluidSpecSheet::Evaluating(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const MathError& e) {
        if (OnError) OnError(e.what());
        return false;
    }
}

bool TFluidSpecSheet::SetRowValues(const std::vector<TValue>& values) {
    if (static_cast<int>(values.size()) != kDataRows || sheet_.RowCount() != kDataRows + 1) {
        Message("DataCount<>LineCount");
        return false;
    }
    for (int r = 1; r <= kDataRows; ++r) sheet_.SetValue(1, r, values[static_cast<std::size_t>(r - 1)]);
    return true;
}

void TFluidSpecSheet::Activate() {
    if (!fluid_) return;
    TLiquid& f = *fluid_;
    backup_ = TFluidBackup{f.GetT(), f.LiquidSpec, f.WaterAdditive, f.AdditiveVolume, f.UserProps,
                           f.UserRo, f.UserCp, f.UserMu, f.UserKo, f.ro, f.Cp, f.mu, f.Ko, f.Pr,
                           f.ValidTMin, f.ValidTMax, f.RangeStatus};
    SetRowValues({f.t, int(f.LiquidSpec), int(f.WaterAdditive), f.AdditiveVolume, int(f.UserProps ? 1 : 0),
                  f.ro, f.Cp, f.mu, f.Ko});
    ApplyUserMode(f.UserProps);
    ShowFluid();
    ApplyAdditiveRules();
    ShowStatus();
}

void TFluidSpecSheet::ShowFluid() {
    if (!fluid_) return;
    const TLiquid& f = *fluid_;
    if (f.UserProps)
        SetRowValues({f.GetT(), int(f.LiquidSpec), int(f.WaterAdditive), f.AdditiveVolume, 1, f.UserRo,
                      f.UserCp, f.UserMu, f.UserKo});
    else
        SetRowValues({f.GetT(), int(f.LiquidSpec), int(f.WaterAdditive), f.AdditiveVolume, 0, f.ro, f.Cp,
                      f.mu, f.Ko});
}

void TFluidSpecSheet::ApplyUserMode(bool on) {
    if (on) {
        // The additive rows mean nothing while the user's values are in force.
        sheet_.SetValue(1, frAdditive, 0);
        sheet_.SetValue(1, frVolume, 0.0);
    }
    sheet_.SetRowEnabled(frAdditive, !on);
    sheet_.SetRowEnabled(frVolume, !on);
    for (int r : {frDensity, frSpecificHeat, frConductivity, frViscosity}) sheet_.SetRowEnabled(r, on);
    ApplyAdditiveRules();
}

void TFluidSpecSheet::ApplyAdditiveRules() {
    if (Index(frFluidType) != 0) {
        // Additives belong to water only.
        sheet_.SetRowEnabled(frAdditive, false);
        sheet_.SetRowEnabled(frVolume, false);
        sheet_.SetValue(1, frAdditive, 0);
        if (fluid_) fluid_->WaterAdditive = static_cast<std::uint8_t>(std::max(0, Index(frAdditive)));
        sheet_.SetValue(1, frVolume, 0.0);
    } else {
        sheet_.SetRowEnabled(frAdditive, true);
        if (Index(frAdditive) > 0) {
            sheet_.SetRowEnabled(frVolume, true);
            // A chosen additive starts at the smallest volume the row allows.
            if (Number(frVolume).value_or(0.0) == 0.0) sheet_.SetValue(1, frVolume, 0.01);
        } else {
            sheet_.SetRowEnabled(frVolume, false);
            sheet_.SetValue(1, frVolume, 0.0);
        }
    }
    if (fluid_) fluid_->AdditiveVolume = Number(frVolume).value_or(0.0);
}

TFluidStatus TFluidSpecSheet::Status() {
    TFluidStatus status;
    if (!fluid_) return status;
    const TLiquid& f = *fluid_;
    status.Text = Format("Valid range = [%s .. %s] %s",
                         {sheet_.FormatAsRow(frTemperature, f.ValidTMin),
                          sheet_.FormatAsRow(frTemperature, f.ValidTMax), sheet_.Cell(2, frTemperature)});
    status.InRange = f.ValidTMin <= f.t && f.t <= f.ValidTMax;
    return status;
}

TFreezeStatus TFluidSpecSheet::FreezeStatus() {
    TFreezeStatus status;
    if (!fluid_) return status;
    const TFreezeCheck check = CheckFreezing(*fluid_, margin_);
    if (!check.Applies) return status;
    status.Applies = true;
    const std::string unit = sheet_.Cell(2, frTemperature);
    status.Text = "Freezing point = " +
                  FreezingPointText(check, [&](double t) { return sheet_.FormatAsRow(frTemperature, t) + " " + unit; });
    status.AtRisk = check.AtRisk;
    return status;
}

std::string TFluidSpecSheet::ProtectionAnswer(const std::string& typed) {
    if (!fluid_) return {};
    const std::optional<double> shown = TryStrToFloat(typed);
    const double factor = sheet_.GetUnitsFactor(frTemperature);
    if (!shown || !std::isfinite(*shown) || factor == 0) return {};
    // display = internal × factor + zero
    const double t = (*shown - sheet_.GetUnitsZero(frTemperature)) / factor;
    return ProtectionText(*fluid_, t, margin_);
}

void TFluidSpecSheet::ShowStatus() {
    if (OnStatus) OnStatus(Status());
}

void TFluidSpecSheet::RowChanged(int row) {
    if (!fluid_ || row < frTemperature || row > frConductivity) return;
    TLiquid& f = *fluid_;
    // The edited value into the liquid (the temperature evaluates it).
    bool evaluated = true;
    const std::optional<double> number = Number(row);
    const int index = Index(row);
    switch (row) {
    case frTemperature:
        if (number) evaluated = Evaluating([&] { f.SetT(*number); });
        break;
    case frFluidType:
        if (index >= 0 && index < static_cast<int>(LiquidNames.size())) f.LiquidSpec = static_cast<std::uint8_t>(index);
        break;
    case frAdditive:
        if (index >= 0) f.WaterAdditive = static_cast<std::uint8_t>(index);
        break;
    case frVolume:
        if (number) f.AdditiveVolume = *number;
        break;
    case frUserDefined:
        if (index >= 0) f.UserProps = index == 1;
        break;
    case frDensity:
        if (number) f.UserRo = *number;
        break;
    case frSpecificHeat:
        if (number) f.UserCp = *number;
        break;
    case frViscosity:
        if (number) f.UserMu = *number;
        break;
    case frConductivity:
        if (number) f.UserKo = *number;
        break;
    }
    // Evaluate; a failure keeps the previous properties and the sheet
    // goes on showing what the liquid holds.
    if (evaluated) Evaluating([&] { f.Evaluate(); });
    // The status line, the caption and the additive volume.
    ShowStatus();
    f.Caption = f.GetCaption();
    sheet_.SetValue(1, frVolume, f.AdditiveVolume);
    // The row rules, ending with the additive rules.
    ApplyUserMode(Index(frUserDefined) == 1);
    // What the liquid's own values give.
    if (row >= frTemperature && row <= frVolume) {
        sheet_.SetValue(1, frDensity, f.ro);
        sheet_.SetValue(1, frSpecificHeat, f.Cp);
        sheet_.SetValue(1, frViscosity, f.mu);
        sheet_.SetValue(1, frConductivity, f.Ko);
    }
    // The user values follow the values shown.
    f.UserRo = Number(frDensity).value_or(f.UserRo);
    f.UserCp = Number(frSpecificHeat).value_or(f.UserCp);
    f.UserMu = Number(frViscosity).value_or(f.UserMu);
    f.UserKo = Number(frConductivity).value_or(f.UserKo);
}

void TFluidSpecSheet::RestoreBackup() {
    if (!fluid_) return;
    TLiquid& f = *fluid_;
    const TFluidBackup& b = backup_;
    // The temperature first, as SetT sets it; its own evaluation may fail
    // for the liquid now chosen, which the evaluation below puts right.
    try {
        f.SetT(b.t);
    } catch (const MathError&) {
    }
    f.LiquidSpec = b.LiquidSpec;
    f.WaterAdditive = b.WaterAdditive;
    f.AdditiveVolume = b.AdditiveVolume;
    f.UserProps = b.UserProps;
    f.UserRo = b.UserRo;
    f.UserCp = b.UserCp;
    f.UserMu = b.UserMu;
    f.UserKo = b.UserKo;
    if (!Evaluating([&] { f.Evaluate(); })) {
        // The values the sheet opened with did not evaluate (properties read
        // from a project file, say): put back the properties they came with.
        f.ro = b.ro;
        f.Cp = b.Cp;
        f.mu = b.mu;
        f.Ko = b.Ko;
        f.Pr = b.Pr;
        f.ValidTMin = b.ValidTMin;
        f.ValidTMax = b.ValidTMax;
        f.RangeStatus = b.RangeStatus;
    }
}

void TFluidSpecSheet::LoadSheetSettings(const SettingsStore& store, std::vector<int>& colWidths) {
    const char* section = settings::kFluidSpecSection;
    for (std::size_t c = 0; c < colWidths.size(); ++c) {
        const int width = store.ReadInteger(section, settings::kColWidthsPrefix + std::to_string(c), colWidths[c]);
        // A width the window cannot use keeps the current one.
        if (width >= 0 && width <= 10000) colWidths[c] = width;
    }
    for (int r = 1; r < sheet_.RowCount(); ++r) {
        if (!sheet_.HasUnits(r)) continue;
        const int current = sheet_.GetUnitsValue(r);
        // An index outside the family falls back to its first unit.
        sheet_.SetUnitsValue(r, store.ReadInteger(section, settings::kUnitsPrefix + std::to_string(r), current));
    }
}

void TFluidSpecSheet::SaveSheetSettings(SettingsStore& store, const std::vector<int>& colWidths) {
    std::vector<std::string> lines;
    for (std::size_t c = 0; c < colWidths.size(); ++c)
        lines.push_back(settings::kColWidthsPrefix + std::to_string(c) + "=" + std::to_string(colWidths[c]));
    for (int r = 1; r < sheet_.RowCount(); ++r)
        if (sheet_.HasUnits(r))
            lines.push_back(settings::kUnitsPrefix + std::to_string(r) + "=" + std::to_string(sheet_.GetUnitsValue(r)));
    store.WriteValues(settings::kFluidSpecSection, lines);
}

} // namespace dvx::ui
