// SPDX-License-Identifier: GPL-3.0-or-later
#include "CircuitOutput.h"

#include "CsvOut.h"
#include "JsonOut.h"
#include "OutputText.h"

#include "catalogue/Tables.h"
#include "common/Format.h"
#include "common/Numbers.h"
#include "fluid/Fluid.h"
#include "hydraulics/Calc.h"
#include "ui/Warnings.h"

#include <functional>
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
    return item.Kind() == TItemKind::User ? nullptr : static_cast<const TPipe*>(&item);
}
const TFitting* AsFitting(const TBranch& item) {
    return item.Kind() == TItemKind::Fitting ? static_cast<const TFitting*>(&item) : nullptr;
}
const char* KindName(const TBranch& item) {
    return item.Kind() == TItemKind::Pipe ? "pipe" : item.Kind() == TItemKind::Fitting ? "fitting" : "user";
}

struct TItemField {
    const char* Name;
    const char* Unit;
    std::function<TCell(const TBranch&)> Get;
};

// Every input and computed field of an item, in output order.
const std::vector<TItemField>& ItemFields() {
    static const std::vector<TItemField> fields = {
        {"number", "", [](const TBranch& i) { return Int(i.Number); }},
        {"description", "", [](const TBranch& i) { return Str(i.Description); }},
        {"type", "", [](const TBranch& i) { return Str(i.TypeName); }},
        {"kind", "", [](const TBranch& i) { return Str(KindName(i)); }},
        {"group", "", [](const TBranch& i) { return Int(i.Group); }},
        {"inIndex", "", [](const TBranch& i) { return Bool(i.InIndex); }},
        {"bore", "mm", [](const TBranch& i) { return Str(BoreName[i.BoreIndex]); }},
        {"insideDiameter", "m", [](const TBranch& i) { return Num(i.InsideDiameter); }},
        {"flow", "m3/s", [](const TBranch& i) { return Num(i.Flow); }},
        {"fittingType", "",
         [](const TBranch& i) { auto* f = AsFitting(i); return f ? Int(f->FittingType) : TCell{}; }},
        {"quantity", "", [](const TBranch& i) { auto* f = AsFitting(i); return f ? Num(f->Quantity) : TCell{}; }},
        {"coefficient", "", [](const TBranch& i) { auto* f = AsFitting(i); return f ? Num(f->C) : TCell{}; }},
        {"length", "m", [](const TBranch& i) { auto* p = AsPipe(i); return p ? Num(p->Length) : TCell{}; }},
        {"velocity", "m/s", [](const TBranch& i) { auto* p = AsPipe(i); return p ? Num(p->Velocity) : TCell{}; }},
        {"reynolds", "", [](const TBranch& i) { auto* p = AsPipe(i); return p ? Num(p->Reynolds) : TCell{}; }},
        {"friction", "", [](const TBranch& i) { return AsPipe(i) ? Num(i.Friction) : TCell{}; }},
        {"pressureDrop", "Pa", [](const TBranch& i) { return Num(i.PressureDrop); }},
        {"gradient", "Pa/m", [](const TBranch& i) { auto* p = AsPipe(i); return p ? Num(p->Gradient) : TCell{}; }},
        {"volume", "m3", [](const TBranch& i) { return Num(i.Volume); }},
        {"warning", "", [](const TBranch& i) { auto* p = AsPipe(i); return p ? Int(p->Warning) : TCell{}; }},
        {"warningText", "",
         [](const TBranch& i) { auto* p = AsPipe(i); return p ? Str(ui::WarningText(p->Warning)) : TCell{}; }},
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

} // namespace

std::string MaterialName(int material) {
    static const char* const names[MaterialCount] = {"Schedule 40 steel", "Galvanised iron", "Drawn tubing"};
    return material >= 0 && material < MaterialCount ? names[material] : "";
}

void WriteCircuitJson(const TCalcSetting& s, std::ostream& out) {
    TJsonDocument doc(CircuitUnits());
    const TFluid& fluid = *s.Fluid;
    doc.Set("liquid", Json{{"caption", JsonText(fluid.GetCaption())},
                           {"t", JsonNumber(fluid.t)},
                           {"ro", JsonNumber(fluid.ro)},
                           {"mu", JsonNumber(fluid.mu)},
                           {"rangeStatus", s.RangeStatus},
                           {"validTMin", JsonNumber(s.ValidTMin)},
                           {"validTMax", JsonNumber(s.ValidTMax)}});
    doc.Set("material", Json{{"code", s.Material}, {"name", MaterialName(s.Material)},
                             {"roughness", JsonNumber(s.Roughness)}});
    Json items = Json::array();
    for (const auto& item : s.Circuit->Items) {
        Json j = Json::object();
        for (const TItemField& f : ItemFields()) j[f.Name] = ToJson(f.Get(*item));
        items.push_back(std::move(j));
    }
    doc.Set("items", std::move(items));
    doc.Set("totals", Json{{"totalDP", JsonNumber(s.Circuit->TotalDP)},
                           {"totalVolume", JsonNumber(s.Circuit->TotalVolume)}});
    for (const TCliWarning& w : s.Warnings) doc.AddWarning(w);
    doc.Write(out);
}

std::string CircuitCsv(const TCalcSetting& s) {
    std::vector<TCsvColumn> columns;
    columns.push_back({"row", ""}); // "item" or "total"
    for (const TItemField& f : ItemFields()) columns.push_back({f.Name, f.Unit});
    for (const char* extra : {"totalDP", "totalVolume", "liquid", "t", "rangeStatus", "material", "roughness"})
        columns.push_back({extra, UnitOf(extra)});
    const TFluid& fluid = *s.Fluid;
    const std::vector<std::string> setting = {CsvText(fluid.GetCaption()), CsvNumber(fluid.t),
                                              CsvInteger(s.RangeStatus), CsvText(MaterialName(s.Material)),
                                              CsvNumber(s.Roughness)};
    TCsvTable table(columns);
    for (const auto& item : s.Circuit->Items) {
        std::vector<std::string> row = {"item"};
        for (const TItemField& f : ItemFields()) row.push_back(ToCsv(f.Get(*item)));
        row.insert(row.end(), {"", ""});
        row.insert(row.end(), setting.begin(), setting.end());
        table.AddRow(std::move(row));
    }
    std::vector<std::string> total(1 + ItemFields().size(), "");
    total[0] = "total";
    total.push_back(CsvNumber(s.Circuit->TotalDP));
    total.push_back(CsvNumber(s.Circuit->TotalVolume));
    total.insert(total.end(), setting.begin(), setting.end());
    table.AddRow(std::move(total));
    return table.Text();
}

void WriteCircuitTotals(const TCircuit& circuit, std::ostream& out) {
    out << Format("Index circuit dP: %0.4f kPa\n", {circuit.TotalDP * 0.001});
    out << Format("Total volume: %0.6f m3\n", {circuit.TotalVolume});
}

void WriteCircuitTable(const TCalcSetting& s, std::ostream& out) {
    const TFluid& fluid = *s.Fluid;
    out << "Liquid: " << Utf8Text(fluid.GetCaption()) << " at " << Format("%0.1f", {fluid.t}) << " °C (valid "
        << FloatToStr(s.ValidTMin) << " to " << FloatToStr(s.ValidTMax) << " °C"
        << (s.RangeStatus ? ", outside" : "") << ")\n";
    out << "Material: " << MaterialName(s.Material) << " (roughness " << Format("%0.4f", {s.Roughness * 1000})
        << " mm)\n\n";

    // Columns sized to their widest cell by display width, so text after
    // non-ASCII characters stays in its column.
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"#", "Description", "Type", "Bore", "Q l/s", "v m/s", "Re", "f", "dP kPa", "Pa/m", "Vol m3",
                    "Warning"});
    for (const auto& itemPtr : s.Circuit->Items) {
        const TBranch& item = *itemPtr;
        std::vector<std::string> row = {Format("%d", {item.Number}), Utf8Text(item.Description),
                                        Utf8Text(item.TypeName), BoreName[item.BoreIndex],
                                        Format("%0.3f", {item.Flow * 1000})};
        if (const TPipe* pipe = AsPipe(item)) {
            row.insert(row.end(), {Format("%0.3f", {pipe->Velocity}), Format("%0.0f", {pipe->Reynolds}),
                                   Format("%0.6f", {pipe->Friction}), Format("%0.4f", {pipe->PressureDrop * 0.001}),
                                   Format("%0.1f", {pipe->Gradient}), Format("%0.6f", {pipe->Volume}),
                                   ui::WarningText(pipe->Warning)});
        } else {
            row.insert(row.end(), {"", "", "", Format("%0.4f", {item.PressureDrop * 0.001}), "",
                                   Format("%0.6f", {item.Volume}), ""});
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
    WriteCircuitTotals(*s.Circuit, out);
}

} // namespace dvx::cli
