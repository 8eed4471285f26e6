// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/ui/CircuitGrid.h"

#include "engine/hydraulics/ItemValue.h"
#include "engine/catalogue/ActiveBores.h"
#include "engine/catalogue/Bores.h"
#include "engine/catalogue/LineParser.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/units/NominalInches.h"
#include "engine/units/UnitView.h"

#include <limits>

namespace dvx {

const std::array<TGridColumnDef, GridColumnCount> GridColumns = {{
    {"#", 25, true, "%0.0f"},
    {"Description", 135, false, "%S"},
    {"Group", 35, true, "%0.0f"},
    {"Index", 35, true, "%0.0f"},
    {"Size, mm", 60, true, "%0.0f"},
    {" Qty", 50, true, "%0.1f"},
    {"Q, l/s", 50, true, "%0.2f"},
    {"dP, kPa", 55, true, "%0.4g"},
    {"Type", 125, false, "%S"},
}};

const std::array<TGridColumnDef, ExtraColumnCount> ExtraGridColumns = {{
    {"Velocity, m/s", 60, true, "%0.2f"},
    {"Gradient, Pa/m", 70, true, "%0.1f"},
    {"Reynolds", 70, true, "%0.0f"},
    {"Friction", 55, true, "%0.4f"},
    {"Volume, m\u00B3", 70, true, "%0.4g"},
}};

const TGridColumnDef& ColumnDef(int column) {
    if (column >= GridColumnCount && column < AllColumnCount)
        return ExtraGridColumns[static_cast<std::size_t>(column - GridColumnCount)];
    return GridColumns.at(static_cast<std::size_t>(column));
}

namespace {

// Captions, number formats and pipe sizes do not depend on the liquid: the
// views made for them only take no density.
constexpr double kNoDensity = std::numeric_limits<double>::quiet_NaN();

// The grid's quantities in the units in force, head units converted with
// the liquid density given (kg/m³). With SI chosen each shows and reads
// exactly as the columns always have.
TUnitView SizeView(double density = kNoDensity) {
    return TUnitView(DisplayUnits(), qtPipeSize, {"mm", "%0.0f", Times(1)}, density);
}
TUnitView LengthView(double density = kNoDensity) {
    return TUnitView(DisplayUnits(), qtLength, {"m", "%0.1f", Times(1)}, density);
}
TUnitView FlowView(double density = kNoDensity) {
    return TUnitView(DisplayUnits(), qtFlow, {"l/s", "%0.2f", Times(1000), Times(0.001)}, density);
}
TUnitView DropView(double density = kNoDensity) {
    return TUnitView(DisplayUnits(), qtPressureDrop, {"kPa", "%0.4g", Times(0.001), Times(1000)}, density);
}
// The optional result columns, in the forms the report prints.
TUnitView VelocityView(double density = kNoDensity) {
    return TUnitView(DisplayUnits(), qtVelocity, {"m/s", "%0.2f", Times(1)}, density);
}
TUnitView GradientView(double density = kNoDensity) {
    return TUnitView(DisplayUnits(), qtGradient, {"Pa/m", "%0.1f", Times(1)}, density);
}
TUnitView VolumeView(double density = kNoDensity) {
    return TUnitView(DisplayUnits(), qtVolume, {"m\u00B3", "%0.4g", Times(1)}, density);
}
// A valve's Kv, or its Cv under US units. K and Kv run from a few
// hundredths upwards: four significant digits.
TUnitView FlowCoefficientView(double density = kNoDensity) {
    return TUnitView(DisplayUnits(), qtFlowCoefficient, {"Kv", "%0.4g", Times(1)}, density);
}
constexpr const char* kResistanceFormat = "%0.4g";

const TPipe* AsPipe(const TBranch* item) {
    return item != nullptr && (item->Kind() == TItemKind::Pipe || item->Kind() == TItemKind::Fitting)
               ? static_cast<const TPipe*>(item)
               : nullptr;
}

// A K item or a valve: a velocity and a Reynolds number, no gradient or friction.
const TResistanceItem* AsResistance(const TBranch* item) {
    return item != nullptr && (item->Kind() == TItemKind::KItem || item->Kind() == TItemKind::Valve)
               ? static_cast<const TResistanceItem*>(item)
               : nullptr;
}

// The getter's value of a numeric column.
double NumericValue(const TBranch& item, int column, const TCatalogueTables& tables) {
    switch (column) {
    case gcNumber: return item.Number;
    case gcGroup: return item.Group;
    case gcIndex: return item.InIndex ? 1 : 0;
    case gcSize: return BoreRowNominal(tables, item.BoreIndex);
    case gcQuantity: return ItemValue(item).value_or(1);
    case gcFlow: return item.Flow * 1000;
    case gcPressureDrop: return item.PressureDrop * 0.001;
    // Results of pipes and fittings, in the units the report prints.
    case gcVelocity:
        if (const TResistanceItem* r = AsResistance(&item)) return r->Velocity;
        return static_cast<const TPipe&>(item).Velocity;        // m/s
    case gcGradient: return static_cast<const TPipe&>(item).Gradient;        // Pa/m
    case gcReynolds:
        if (const TResistanceItem* r = AsResistance(&item)) return r->Reynolds;
        return static_cast<const TPipe&>(item).Reynolds;
    case gcFriction: return item.Friction;
    case gcVolume: return item.Volume;                                       // m³
    default: return 0;
    }
}

} // namespace

std::string ColumnTitle(int column) {
    switch (column) {
    case gcSize: return SizeView().Caption("Size, ");
    case gcFlow: return FlowView().Caption("Q, ");
    case gcPressureDrop: return DropView().Caption("dP, ");
    case gcVelocity: return VelocityView().Caption("Velocity, ");
    case gcGradient: return GradientView().Caption("Gradient, ");
    case gcVolume: return VolumeView().Caption("Volume, ");
    default:
        if (column < 0 || column >= AllColumnCount) return {};
        return ColumnDef(column).Title;
    }
}

std::string ColumnFormat(int column) {
    switch (column) {
    case gcSize: return SizeView().NumberFormat();
    case gcFlow: return FlowView().NumberFormat();
    case gcPressureDrop: return DropView().NumberFormat();
    case gcQuantity: return LengthView().NumberFormat(); // a fitting count shares the length's format
    case gcVelocity: return VelocityView().NumberFormat();
    case gcGradient: return GradientView().NumberFormat();
    case gcVolume: return VolumeView().NumberFormat();
    default:
        if (column < 0 || column >= AllColumnCount) return {};
        return ColumnDef(column).Format;
    }
}

bool TypedAsText(int column) {
    return column == gcSize && SizeView().Unit().Basis == ubNominalInch && !SizeView().IsMetric();
}

std::vector<int> ShownColumns(bool groupsOn, bool typesOn, TExtraColumns extras) {
    std::vector<int> shown;
    for (int c = 0; c < GridColumnCount; ++c) {
        if ((c == gcGroup || c == gcIndex) && !groupsOn) continue;
        if (c == gcType) {
            // The chosen result columns follow the pressure drop.
            for (int e = gcVelocity; e < AllColumnCount; ++e)
                if (extras & ExtraBit(e)) shown.push_back(e);
            if (!typesOn) continue;
        }
        shown.push_back(c);
    }
    return shown;
}

std::string CellText(const TBranch* item, int column, const TProjectContext& project) {
    const TCatalogueTables& tables = project.Tables;
    const double density = LiquidDensity(project.Liquid);
    if (item == nullptr || column < 0 || column >= AllColumnCount) return {};
    // A user item has a fixed pressure drop and no flow results.
    if (column >= gcVelocity && item->Kind() == TItemKind::User) return {};
    // K items and valves have no length: no gradient, friction factor or volume.
    if (AsResistance(item) && (column == gcGradient || column == gcFriction || column == gcVolume)) return {};
    switch (column) {
    case gcDescription: return item->Description;
    case gcType: return item->TypeName;
    case gcSize: {
        const TUnitView size = SizeView(density);
        // The bore's label; a material's own labels are its standard's
        // sizes, whatever the size unit.
        if (size.IsMetric() || OwnBoreTable(tables) != nullptr) {
            if (item->BoreIndex >= BoreRowCount(tables)) return {};
            return std::string(BoreRow(tables, item->BoreIndex).Label);
        }
        return size.Text(NominalOf(tables, item->BoreIndex));
    }
    case gcQuantity:
        // A user item has no length or quantity; it always reads "1".
        if (item->Kind() == TItemKind::User) return "1";
        if (item->Kind() == TItemKind::Pipe) return LengthView(density).Text(static_cast<const TPipe&>(*item).Length);
        if (item->Kind() == TItemKind::Valve) return FlowCoefficientView(density).Text(static_cast<const TValve&>(*item).Kv);
        if (item->Kind() == TItemKind::KItem) return FormatFloat(kResistanceFormat, static_cast<const TKItem&>(*item).K);
        break;
    case gcFlow: return FlowView(density).Text(item->Flow);
    case gcPressureDrop: return DropView(density).Text(item->PressureDrop);
    case gcVelocity: return VelocityView(density).Text(NumericValue(*item, gcVelocity, tables));
    case gcGradient: return GradientView(density).Text(static_cast<const TPipe&>(*item).Gradient);
    case gcVolume: return VolumeView(density).Text(item->Volume);
    default: break;
    }
    return FormatFloat(ColumnDef(column).Format, NumericValue(*item, column, tables));
}

bool CanEdit(const TBranch* item, int column) {
    if (item == nullptr) return false;
    if (column == gcType || column == gcNumber || column >= gcVelocity) return false;
    if (item->Kind() == TItemKind::User) return column != gcQuantity;
    return column != gcPressureDrop;
}

TCellColour CellColour(const TBranch* item, int column) {
    if (item == nullptr) return TCellColour::Default;
    if (const TPipe* pipe = AsPipe(item)) {
        if ((pipe->Warning == wnGradient && column == gcPressureDrop) ||
            (pipe->Warning == wnVelocity && column == gcFlow))
            return TCellColour::Highlight;
    }
    if (const TResistanceItem* r = AsResistance(item); r && r->Warning == wnVelocity && column == gcFlow)
        return TCellColour::Highlight;
    return CanEdit(item, column) ? TCellColour::Default : TCellColour::Grey;
}

std::string WarningTip(const TBranch* item, int column, const TProjectContext& project) {
    const TCatalogueTables& tables = project.Tables;
    const double density = LiquidDensity(project.Liquid);
    if (CellColour(item, column) != TCellColour::Highlight) return {};
    if (const TResistanceItem* r = AsResistance(item)) {
        const TUnitView view = VelocityView(density);
        return "Velocity " + view.Text(r->Velocity) + " " + view.Label() + " is above the limit of " +
               TUnitView(DisplayUnits(), qtVelocity, {"m/s", "%0.1f", Times(1)}, density).Text(tables.VelocityLimit) + " " + view.Label();
    }
    const TPipe& pipe = *AsPipe(item);
    // The value and the limit (held in Pa/m and m/s) in the units in force.
    if (pipe.Warning == wnGradient) {
        const TUnitView view = GradientView(density);
        return "Pressure gradient " + view.Text(pipe.Gradient) + " " + view.Label() + " is above the limit of " +
               TUnitView(DisplayUnits(), qtGradient, {"Pa/m", "%0.1f", Times(1)}, density).Text(tables.GradientLimit) + " " + view.Label();
    }
    const TUnitView view = VelocityView(density);
    return "Velocity " + view.Text(pipe.Velocity) + " " + view.Label() + " is above the limit of " +
           TUnitView(DisplayUnits(), qtVelocity, {"m/s", "%0.1f", Times(1)}, density).Text(tables.VelocityLimit) + " " + view.Label();
}

std::string QuantityTip(const TBranch* item, int column) {
    if (item == nullptr || column != gcQuantity) return {};
    switch (item->Kind()) {
    case TItemKind::Pipe: return "Length, " + LengthView().Label();
    case TItemKind::Fitting: return "Number of fittings";
    case TItemKind::KItem: return "Resistance coefficient K";
    case TItemKind::Valve: return "Flow coefficient of the valve, " + FlowCoefficientView().Label();
    case TItemKind::User: return {};
    }
    return {};
}

std::string ColumnTip(int column) {
    if (column != gcQuantity) return {};
    return "Pipes: length, " + LengthView().Label() +
           "; fittings: number; K items: K; valves: flow coefficient, " + FlowCoefficientView().Label();
}

std::string CommittedText(const TBranch* item, int column, std::string_view typed) {
    // A K or a Kv is taken at the four significant digits it is shown
    // with, not at a length's one decimal (which would turn K 0.04 into 0).
    if (column == gcQuantity && AsResistance(item) && !TrimBlanks(typed).empty())
        return FormatFloat(kResistanceFormat, StrToFloat(typed));
    return CommittedText(column, typed);
}

std::string CommittedText(int column, std::string_view typed) {
    if (column < 0 || column >= AllColumnCount) return std::string(typed);
    const TGridColumnDef& def = ColumnDef(column);
    if (!def.Numeric) return std::string(typed);
    if (TrimBlanks(typed).empty()) return {};
    if (TypedAsText(column)) return SizeView().Text(SizeView().Parse(typed));
    return FormatFloat(ColumnFormat(column), StrToFloat(typed));
}

namespace {

// Lengths, quantities, flows and pressure drops below zero would lower the
// circuit's total: such an entry is refused and the item keeps its value.
double PositiveOrZero(std::string_view text) {
    const double value = StrToFloat(text);
    if (value < 0) throw ConvertError("Data must be positive");
    return value;
}

} // namespace

void ApplyCellText(TCircuit& circuit, int position, int column, std::string_view text,
                   const TProjectContext& project) {
    if (TrimBlanks(text).empty() && ColumnDef(column).Numeric) return;
    TBranch& item = circuit.Item(position);
    const double density = LiquidDensity(project.Liquid);
    switch (column) {
    case gcDescription: item.Description = std::string(text); break;
    case gcGroup: {
        double value = StrToFloat(text);
        // A group number must fit the item's 32-bit field; converting a
        // larger value would be undefined.
        if (!(value > std::numeric_limits<std::int32_t>::min() - 1.0 &&
              value < std::numeric_limits<std::int32_t>::max() + 1.0))
            throw ConvertError(Format("'%s' is not a valid integer value", {std::string(text)}));
        item.Group = static_cast<std::int32_t>(value);
        item.InIndex = circuit.GroupIndex(item.Group, item.Number);
        break;
    }
    case gcIndex: {
        bool flag = StrToFloat(text) != 0;
        item.InIndex = flag;
        circuit.SetGroupIndex(item.Group, flag);
        break;
    }
    case gcSize: {
        // A material's own label as shown ("1¼\"") picks that bore; a
        // number is a nominal size (mm) and picks the nearest bore.
        const TCatalogueTables& tables = project.Tables;
        if (OwnBoreTable(tables) != nullptr) {
            bool found = false;
            for (int b = 0; b < BoreRowCount(tables) && !found; ++b) {
                if (BoreRow(tables, b).Label == TrimBlanks(text)) {
                    item.SetBore(project, b);
                    found = true;
                }
            }
            if (found) break;
        }
        item.SetBoreFromNominal(project, SizeView(density).Parse(text)); // nominal mm
        break;
    }
    case gcQuantity: {
        const double value = PositiveOrZero(text); // as shown
        if (item.Kind() == TItemKind::Fitting) static_cast<TFitting&>(item).Quantity = value;
        else if (item.Kind() == TItemKind::Pipe) static_cast<TPipe&>(item).Length = LengthView(density).FromShown(value);
        else if (item.Kind() == TItemKind::KItem) static_cast<TKItem&>(item).K = value;
        else if (item.Kind() == TItemKind::Valve) static_cast<TValve&>(item).Kv = FlowCoefficientView(density).FromShown(value); // Kv
        break;
    }
    case gcFlow: {
        const TUnitView flow = FlowView(density);
        const double value = PositiveOrZero(text); // as shown
        item.Flow = flow.FromShown(value);         // m³/s
        // The maximum flows of the bore table are in l/s.
        if (item.Kind() == TItemKind::User) item.SetBore(project, BoreRowForFlow(project.Tables, flow.IsMetric() ? value : item.Flow * 1000));
        break;
    }
    case gcPressureDrop: item.PressureDrop = DropView(density).FromShown(PositiveOrZero(text)); break; // Pa
    default: break; // "#" and "Type" have no setter
    }
}

TColumnWidths DefaultColumnWidths() {
    TColumnWidths widths{};
    for (int c = 0; c < GridColumnCount; ++c) widths[static_cast<std::size_t>(c)] = GridColumns[static_cast<std::size_t>(c)].DefaultWidth;
    return widths;
}

TColumnWidths ParseGridCols(std::string_view text) {
    TColumnWidths widths{};
    std::string copy(text);
    TLineParser parser;
    parser.SetText(copy);
    for (int c = 0; c < GridColumnCount; ++c) {
        std::int32_t w = parser.NextInt();
        bool bad = parser.Status() == TLineParser::psConvertFailed;
        widths[static_cast<std::size_t>(c)] = (bad || w < 5) ? 25 : w;
    }
    return widths;
}

std::string FormatGridCols(const TColumnWidths& w) {
    return Format("%d, %d, %d, %d, %d, %d, %d, %d, %d", {w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7], w[8]});
}

TUserWidths UserChosenWidths(const TColumnWidths& stored) {
    TUserWidths chosen{};
    const TColumnWidths defaults = DefaultColumnWidths();
    for (std::size_t c = 0; c < chosen.size(); ++c) chosen[c] = stored[c] != defaults[c];
    return chosen;
}

TColumnWidths ShownWidths(const TColumnWidths& stored, const TUserWidths& chosen, const TColumnWidths& fitted) {
    TColumnWidths shown{};
    const TColumnWidths defaults = DefaultColumnWidths();
    for (std::size_t c = 0; c < shown.size(); ++c) shown[c] = chosen[c] ? stored[c] : std::max(defaults[c], fitted[c]);
    return shown;
}

TColumnWidths StoredWidths(const TColumnWidths& shown, const TUserWidths& chosen) {
    TColumnWidths stored = DefaultColumnWidths();
    for (std::size_t c = 0; c < stored.size(); ++c)
        if (chosen[c]) stored[c] = shown[c];
    return stored;
}

} // namespace dvx
