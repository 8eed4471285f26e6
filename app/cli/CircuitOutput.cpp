// SPDX-License-Identifier: GPL-3.0-or-later
#include "CircuitOutput.h"

#include "CliUnits.h"
#include "CsvOut.h"
#include "JsonOut.h"
#include "OutputText.h"

#include "engine/catalogue/ActiveBores.h"
#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Materials.h"
#include "engine/catalogue/Tables.h"
#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/resistance/FittingMethod.h"
#include "engine/resistance/ValveFlowCoefficient.h"
#include "presentation/ui/WarningList.h"
#include "engine/units/NominalInches.h"
#include "engine/units/UnitView.h"

#include <functional>
#include <optional>
#include <ostream>

namespace dvx::cli {
namespace {

// One value of a field: absent (does not apply), a number, a whole number,
// a text or a truth value.
struct TCell {
    enum { None, Number, Integer, Text, Bool } Kind = None;
    double Num = 0;
    long long Int = 0;
    std::string Str;
    bool Truth = false;
};
TCell Num(double v) { return {TCell::Number, v, 0, {}, false}; }
TCell Int(long long v) { return {TCell::Integer, 0, v, {}, false}; }
TCell Str(std::string v) { return {TCell::Text, 0, 0, std::move(v), false}; }
TCell Bool(bool v) { return {TCell::Bool, 0, 0, {}, v}; }

const TPipe* AsPipe(const TBranch& item) {
    return item.Kind() == TItemKind::Pipe || item.Kind() == TItemKind::Fitting ? static_cast<const TPipe*>(&item)
                                                                                 : nullptr;
}
const TFitting* AsFitting(const TBranch& item) {
    return item.Kind() == TItemKind::Fitting ? static_cast<const TFitting*>(&item) : nullptr;
}
const TResistanceItem* AsResistance(const TBranch& item) {
    return item.Kind() == TItemKind::KItem || item.Kind() == TItemKind::Valve
               ? static_cast<const TResistanceItem*>(&item)
               : nullptr;
}

// The K the calculation used: a fitting's by the run's method, a K item's
// own, a valve's from its Kv in the run's liquid; none for pipes and user items.
TCell ResistanceKOf(const TBranch& item, const TCalcSetting& s) {
    switch (item.Kind()) {
    case TItemKind::Fitting: {
        const auto& f = static_cast<const TFitting&>(item);
        if (s.FittingMethod == TFittingMethod::EquivalentLength) return Num(f.Friction * f.C);
        if (f.FittingType >= FittingCount) return {};
        return Num(FittingResistanceK(s.FittingMethod, f.FittingType, f.C, f.InsideDiameter, f.Reynolds,
                                      BoreRowNominal(*s.Tables, f.BoreIndex))
                       .K);
    }
    case TItemKind::KItem: return Num(static_cast<const TKItem&>(item).K);
    case TItemKind::Valve:
        return Num(KvToResistanceK(static_cast<const TValve&>(item).Kv, item.InsideDiameter));
    case TItemKind::Pipe:
    case TItemKind::User: break;
    }
    return {};
}

const char* KindName(const TBranch& item) {
    switch (item.Kind()) {
    case TItemKind::Pipe: return "pipe";
    case TItemKind::Fitting: return "fitting";
    case TItemKind::KItem: return "k";
    case TItemKind::Valve: return "valve";
    case TItemKind::User: break;
    }
    return "user";
}

struct TItemField {
    const char* Name;
    const char* Unit;
    std::function<TCell(const TBranch&, const TCalcSetting&)> Get;
};

// Every input and computed field of an item, in output order.
const std::vector<TItemField>& ItemFields() {
    static const std::vector<TItemField> fields = {
        {"number", "", [](const TBranch& i, const TCalcSetting&) { return Int(i.Number); }},
        {"description", "", [](const TBranch& i, const TCalcSetting&) { return Str(i.Description); }},
        {"type", "", [](const TBranch& i, const TCalcSetting&) { return Str(i.TypeName); }},
        {"kind", "", [](const TBranch& i, const TCalcSetting&) { return Str(KindName(i)); }},
        {"group", "", [](const TBranch& i, const TCalcSetting&) { return Int(i.Group); }},
        {"inIndex", "", [](const TBranch& i, const TCalcSetting&) { return Bool(i.InIndex); }},
        // A material's own label replaces it where the setting has one (OwnBoreLabel).
        {"bore", "mm", [](const TBranch& i, const TCalcSetting& s) { return Str(s.OwnBores != nullptr ? std::string() : BoreName.at(i.BoreIndex)); }},
        {"insideDiameter", "m", [](const TBranch& i, const TCalcSetting&) { return Num(i.InsideDiameter); }},
        {"flow", "m3/s", [](const TBranch& i, const TCalcSetting&) { return Num(i.Flow); }},
        {"fittingType", "",
         [](const TBranch& i, const TCalcSetting&) { auto* f = AsFitting(i); return f ? Int(f->FittingType) : TCell{}; }},
        {"quantity", "", [](const TBranch& i, const TCalcSetting&) { auto* f = AsFitting(i); return f ? Num(f->Quantity) : TCell{}; }},
        {"coefficient", "", [](const TBranch& i, const TCalcSetting&) { auto* f = AsFitting(i); return f ? Num(f->C) : TCell{}; }},
        {"length", "m", [](const TBranch& i, const TCalcSetting&) { auto* p = AsPipe(i); return p ? Num(p->Length) : TCell{}; }},
        {"velocity", "m/s",
         [](const TBranch& i, const TCalcSetting&) {
             if (auto* r = AsResistance(i)) return Num(r->Velocity);
             auto* p = AsPipe(i);
             return p ? Num(p->Velocity) : TCell{};
         }},
        {"reynolds", "",
         [](const TBranch& i, const TCalcSetting&) {
             if (auto* r = AsResistance(i)) return Num(r->Reynolds);
             auto* p = AsPipe(i);
             return p ? Num(p->Reynolds) : TCell{};
         }},
        {"friction", "", [](const TBranch& i, const TCalcSetting&) { return AsPipe(i) ? Num(i.Friction) : TCell{}; }},
        {"pressureDrop", "Pa", [](const TBranch& i, const TCalcSetting&) { return Num(i.PressureDrop); }},
        {"gradient", "Pa/m", [](const TBranch& i, const TCalcSetting&) { auto* p = AsPipe(i); return p ? Num(p->Gradient) : TCell{}; }},
        {"volume", "m3", [](const TBranch& i, const TCalcSetting&) { return Num(i.Volume); }},
        {"warning", "",
         [](const TBranch& i, const TCalcSetting&) {
             return i.Kind() == TItemKind::User ? TCell{} : Int(ui::WarningOf(i));
         }},
        {"warningText", "",
         [](const TBranch& i, const TCalcSetting&) {
             return i.Kind() == TItemKind::User ? TCell{} : Str(ui::WarningText(ui::WarningOf(i)));
         }},
        // Added with K items and valves: the K each fitting, K item and valve
        // was calculated with (on its own bore), and a valve's Kv.
        {"resistanceK", "", [](const TBranch& i, const TCalcSetting& s) { return ResistanceKOf(i, s); }},
        {"kv", "m3/h",
         [](const TBranch& i, const TCalcSetting&) {
             return i.Kind() == TItemKind::Valve ? Num(static_cast<const TValve&>(i).Kv) : TCell{};
         }},
    };
    return fields;
}

Json ToJson(const TCell& c) {
    switch (c.Kind) {
    case TCell::Number: return JsonNumber(c.Num);
    case TCell::Integer: return Json(c.Int);
    case TCell::Text: return JsonText(c.Str);
    case TCell::Bool: return Json(c.Truth);
    case TCell::None: break;
    }
    return Json(nullptr);
}

std::string ToCsv(const TCell& c) {
    switch (c.Kind) {
    case TCell::Number: return CsvNumber(c.Num);
    case TCell::Integer: return CsvInteger(c.Int);
    case TCell::Text: return CsvText(c.Str);
    case TCell::Bool: return c.Truth ? "true" : "false";
    case TCell::None: break;
    }
    return {};
}

// The units of every field the JSON document and the CSV header name.
std::vector<std::pair<std::string, std::string>> CircuitUnits() {
    std::vector<std::pair<std::string, std::string>> units;
    for (const TItemField& f : ItemFields())
        if (*f.Unit) units.emplace_back(f.Name, f.Unit);
    for (auto [field, unit] : {std::pair{"totalDP", "Pa"}, {"totalVolume", "m3"}, {"t", "degC"},
                               {"ro", "kg/m3"}, {"mu", "Pa s"}, {"validTMin", "degC"}, {"validTMax", "degC"},
                               {"roughness", "m"}})
        units.emplace_back(field, unit);
    return units;
}

std::string UnitOf(const std::string& field) {
    for (const auto& [f, unit] : CircuitUnits())
        if (f == field) return unit;
    return {};
}

// A CSV column of a field in the units of the setting.
TCsvColumn CsvColumn(const TCalcSetting& s, const std::string& name, const std::string& siUnit) {
    if (name == "bore" && !s.Units.IsSI(qtPipeSize)) return {name, s.Units.Unit(qtPipeSize).Key};
    const auto quantity = QuantityOfField(name);
    return {name, quantity ? CsvUnitLabel(s.Units, *quantity, siUnit) : siUnit};
}

// A CSV cell of a field in the units of the setting, at full precision.
std::string CsvCell(const TCalcSetting& s, const std::string& name, const TCell& cell, const TBranch* item) {
    if (name == "bore" && item != nullptr && !s.Units.IsSI(qtPipeSize))
        return CsvNumber(NominalInches(BoreRowNominal(*s.Tables, item->BoreIndex)));
    const auto quantity = QuantityOfField(name);
    if (quantity && cell.Kind == TCell::Number) return CsvNumber(CsvValue(s.Units, *quantity, cell.Num, s.Fluid->ro));
    return ToCsv(cell);
}

} // namespace

std::string MaterialName(int material) {
    static const char* const names[MaterialCount] = {"Schedule 40 steel", "Galvanised iron", "Drawn tubing"};
    return material >= 0 && material < MaterialCount ? names[material] : "";
}

namespace {

// The material's name as the setting has it.
std::string SettingMaterialName(const TCalcSetting& s) {
    return s.OwnBores != nullptr ? s.OwnBores->Name : MaterialName(s.Material);
}

// The bore label of the item at position, from the material's own table
// where it has one; none for the built-in materials.
std::optional<std::string> OwnBoreLabel(const TCalcSetting& s, std::size_t position) {
    if (s.OwnBores == nullptr || position >= s.BoreOf.size()) return std::nullopt;
    return s.OwnBores->Bores.at(s.BoreOf[position]).Label;
}

} // namespace

// Streamed: the items are written one at a time as they are converted, so
// the document takes no more memory for a million items than for one.
void WriteCircuitJson(const TCalcSetting& s, std::ostream& out) {
    TJsonStream json(out, JsonUnits(CircuitUnits()));
    const TFluid& fluid = *s.Fluid;
    json.Member("liquid", Json{{"caption", JsonText(fluid.GetCaption())},
                               {"t", JsonNumber(fluid.t)},
                               {"ro", JsonNumber(fluid.ro)},
                               {"mu", JsonNumber(fluid.mu)},
                               {"rangeStatus", s.RangeStatus},
                               {"validTMin", JsonNumber(s.ValidTMin)},
                               {"validTMax", JsonNumber(s.ValidTMax)}});
    json.Member("material", Json{{"code", s.Material}, {"name", JsonText(SettingMaterialName(s))},
                                 {"roughness", JsonNumber(s.Roughness)}});
    json.BeginArray("items");
    std::size_t position = 0;
    for (const auto& item : s.Circuit->Items) {
        Json j = Json::object();
        for (const TItemField& f : ItemFields()) j[f.Name] = ToJson(f.Get(*item, s));
        if (auto label = OwnBoreLabel(s, position++)) j["bore"] = JsonText(*label);
        json.Element(j);
    }
    json.EndArray();
    json.Member("totals", Json{{"totalDP", JsonNumber(s.Circuit->TotalDP)},
                               {"totalVolume", JsonNumber(s.Circuit->TotalVolume)}});
    Json warnings = Json::array();
    for (const TCliWarning& w : s.Warnings) warnings.push_back(JsonWarning(w));
    json.Finish(warnings);
}

std::string CircuitCsv(const TCalcSetting& s) {
    std::vector<TCsvColumn> columns;
    columns.push_back({"row", ""}); // "item" or "total"
    for (const TItemField& f : ItemFields()) columns.push_back(CsvColumn(s, f.Name, f.Unit));
    for (const char* extra : {"totalDP", "totalVolume", "liquid", "t", "rangeStatus", "material", "roughness"})
        columns.push_back(CsvColumn(s, extra, UnitOf(extra)));
    const TFluid& fluid = *s.Fluid;
    const std::vector<std::string> setting = {CsvText(fluid.GetCaption()), CsvCell(s, "t", Num(fluid.t), nullptr),
                                              CsvInteger(s.RangeStatus), CsvText(SettingMaterialName(s)),
                                              CsvCell(s, "roughness", Num(s.Roughness), nullptr)};
    TCsvTable table(columns);
    std::size_t position = 0;
    for (const auto& item : s.Circuit->Items) {
        std::vector<std::string> row = {"item"};
        const std::optional<std::string> own = OwnBoreLabel(s, position++);
        for (const TItemField& f : ItemFields()) {
            if (own && std::string_view(f.Name) == "bore")
                row.push_back(CsvText(*own));
            else
                row.push_back(CsvCell(s, f.Name, f.Get(*item, s), item.get()));
        }
        row.insert(row.end(), {"", ""});
        row.insert(row.end(), setting.begin(), setting.end());
        table.AddRow(std::move(row));
    }
    std::vector<std::string> total(1 + ItemFields().size(), "");
    total[0] = "total";
    total.push_back(CsvCell(s, "totalDP", Num(s.Circuit->TotalDP), nullptr));
    total.push_back(CsvCell(s, "totalVolume", Num(s.Circuit->TotalVolume), nullptr));
    total.insert(total.end(), setting.begin(), setting.end());
    table.AddRow(std::move(total));
    return table.Text();
}

namespace {

// The text table's quantities; with the SI units they are the columns the
// table has always had.
struct TTableViews {
    TTableViews(const TUnitChoice& u, double density)
        : Flow(u, qtFlow, {"l/s", "%0.3f", Times(1000)}, density),
          Velocity(u, qtVelocity, {"m/s", "%0.3f", Times(1)}, density),
          Drop(u, qtPressureDrop, {"kPa", "%0.4f", Times(0.001)}, density),
          Gradient(u, qtGradient, {"Pa/m", "%0.1f", Times(1)}, density),
          Volume(u, qtVolume, {"m3", "%0.6f", Times(1)}, density),
          Size(u, qtPipeSize, {"mm", "%0.0f", Times(1)}, density),
          Temperature(u, qtTemperature, {"°C", "%0.1f", Times(1)}, density) {}
    TUnitView Flow, Velocity, Drop, Gradient, Volume, Size, Temperature;
};

} // namespace

void WriteCircuitTotals(const TCircuit& circuit, std::ostream& out, const TUnitChoice& units, double density) {
    const TTableViews v(units, density);
    out << "Index circuit dP: " << v.Drop.Text(circuit.TotalDP) << " " << v.Drop.Label() << "\n";
    out << "Total volume: " << v.Volume.Text(circuit.TotalVolume) << " " << v.Volume.Label() << "\n";
}

void WriteCircuitTable(const TCalcSetting& s, std::ostream& out) {
    const TFluid& fluid = *s.Fluid;
    const TTableViews v(s.Units, fluid.ro);
    const TUnitView& t = v.Temperature;
    out << "Liquid: " << Utf8Text(fluid.GetCaption()) << " at " << t.Text(fluid.t) << " " << t.Label() << " (valid "
        << t.ShortText(s.ValidTMin) << " to " << t.ShortText(s.ValidTMax) << " " << t.Label()
        << (s.RangeStatus ? ", outside" : "") << ")\n";
    // Wall roughness is a fraction of a millimetre: shown in inches with the
    // US units (1 in = 25.4 mm exactly).
    const bool inches = !s.Units.IsSI(qtLength);
    out << "Material: " << SettingMaterialName(s) << " (roughness "
        << (inches ? Format("%0.6f", {s.Roughness / 0.0254}) : Format("%0.4f", {s.Roughness * 1000}))
        << (inches ? " in)\n\n" : " mm)\n\n");

    // Columns sized to their widest cell by display width, so text after
    // non-ASCII characters stays in its column.
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"#", "Description", "Type", v.Size.IsMetric() ? "Bore" : "Bore in", v.Flow.Caption("Q "),
                    v.Velocity.Caption("v "), "Re", "f", v.Drop.Caption("dP "), v.Gradient.Label(),
                    v.Volume.Caption("Vol "), "Warning"});
    for (const auto& itemPtr : s.Circuit->Items) {
        const TBranch& item = *itemPtr;
        const std::optional<std::string> own = OwnBoreLabel(s, rows.size() - 1);
        std::vector<std::string> row = {Format("%d", {item.Number}), Utf8Text(item.Description),
                                        Utf8Text(item.TypeName),
                                        own                  ? Utf8Text(*own)
                                        : v.Size.IsMetric() ? BoreName.at(item.BoreIndex)
                                                            : v.Size.Text(BoreRowNominal(*s.Tables, item.BoreIndex)),
                                        v.Flow.Text(item.Flow)};
        if (const TPipe* pipe = AsPipe(item)) {
            row.insert(row.end(), {v.Velocity.Text(pipe->Velocity), Format("%0.0f", {pipe->Reynolds}),
                                   Format("%0.6f", {pipe->Friction}), v.Drop.Text(pipe->PressureDrop),
                                   v.Gradient.Text(pipe->Gradient), v.Volume.Text(pipe->Volume),
                                   ui::WarningText(pipe->Warning)});
        } else {
            row.insert(row.end(), {"", "", "", v.Drop.Text(item.PressureDrop), "", v.Volume.Text(item.Volume), ""});
        }
        rows.push_back(std::move(row));
    }
    std::vector<std::size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    // Texts are left-aligned, numbers right-aligned.
    const bool leftAligned[] = {false, true, true, false, false, false, false, false, false, false, false, true};
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c) line += "  ";
            const bool last = c + 1 == row.size();
            line += last ? row[c] : PadToWidth(row[c], widths[c], leftAligned[c]);
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << "\n";
    }
    WriteCircuitTotals(*s.Circuit, out, s.Units, fluid.ro);
}

} // namespace dvx::cli
