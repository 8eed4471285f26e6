// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/ProjectFile.h"

#include "engine/catalogue/ActiveBores.h"
#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "base/IniDocument.h"
#include "base/Format.h"
#include "storage/project/FileIO.h"
#include "storage/project/PumpData.h"
#include "storage/project/TagStream.h"

#include <cmath>


namespace dvx {

namespace {

constexpr const char* kRootClass = "TCircuit";
constexpr const char* kRootProperty = "Circuit";

// The item classes with the property each writes its values under. K items
// and valves are later additions: a program that predates them stops at
// their class name ("Unknown item class") and opens nothing of such a file.
struct ItemClass {
    TItemKind kind;
    const char* className;
    const char* propertyName;
};

constexpr ItemClass kItemClasses[] = {
    {TItemKind::Pipe, "TPipe", "Pipe"},
    {TItemKind::Fitting, "TFitting", "Fitting"},
    {TItemKind::User, "TUser", "Branch"},
    {TItemKind::KItem, "TKItem", "KItem"},
    {TItemKind::Valve, "TValve", "Valve"},
};

// The fewest bytes one item record can take (a headerless TUser with empty
// texts and one-byte numbers); bounds the item count a file can hold.
constexpr std::size_t kSmallestItemRecord = 28;

enum class Generation { Current, V200, Headerless };

[[noreturn]] void Bad(const TTagReader& reader, const std::string& what) {
    throw FileError(Format("%s at offset %d", {what, static_cast<long long>(reader.Position())}));
}

std::int32_t ReadInt32(TTagReader& reader) {
    // Integer tags are at most 32 bits wide, so the value always fits.
    return static_cast<std::int32_t>(reader.ReadInteger());
}

// Keeps the project's item counter as it was: the item constructors count
// up while a file is read, but only installing the project may change it.
class ItemCounterGuard {
public:
    explicit ItemCounterGuard(std::int32_t& counter) : counter_(counter), saved_(counter) {}
    ~ItemCounterGuard() { counter_ = saved_; }
    ItemCounterGuard(const ItemCounterGuard&) = delete;
    ItemCounterGuard& operator=(const ItemCounterGuard&) = delete;

private:
    std::int32_t& counter_;
    std::int32_t saved_;
};

const ItemClass& ClassOf(const TBranch& item) {
    switch (item.Kind()) {
    case TItemKind::Pipe: return kItemClasses[0];
    case TItemKind::Fitting: return kItemClasses[1];
    case TItemKind::KItem: return kItemClasses[3];
    case TItemKind::Valve: return kItemClasses[4];
    case TItemKind::User: break;
    }
    return kItemClasses[2];
}

// nominal: mm, the bore as the item record stores it.
void WriteItem(TTagWriter& w, const TBranch& item, double nominal) {
    const ItemClass& cls = ClassOf(item);
    w.WriteShortName(cls.className);
    w.WriteShortName("");
    w.WriteShortName(cls.propertyName);
    w.WriteString(item.TypeName);
    w.WriteString(item.Description);
    w.WriteInteger(item.Number);
    w.WriteFloat(nominal);
    w.WriteFloat(item.Flow);
    w.WriteFloat(item.PressureDrop);
    w.WriteInteger(item.Group);
    w.WriteBoolean(item.InIndex);
    if (cls.kind == TItemKind::KItem) w.WriteFloat(static_cast<const TKItem&>(item).K);
    if (cls.kind == TItemKind::Valve) w.WriteFloat(static_cast<const TValve&>(item).Kv);
    if (cls.kind == TItemKind::Pipe || cls.kind == TItemKind::Fitting) {
        w.WriteFloat(static_cast<const TPipe&>(item).Length);
    }
    if (cls.kind == TItemKind::Fitting) {
        const auto& fitting = static_cast<const TFitting&>(item);
        w.WriteFloat(fitting.EquivLength);
        w.WriteFloat(fitting.Quantity);
        w.WriteInteger(fitting.FittingType);
    }
    w.WriteRawByte(vaNull); // end of the item's properties
    w.WriteRawByte(vaNull); // no children
}

std::unique_ptr<TBranch> ReadItem(TTagReader& r, Generation generation, const TProjectContext& project) {
    const std::string className = r.ReadShortName();
    const ItemClass* cls = nullptr;
    for (const ItemClass& c : kItemClasses)
        if (className == c.className) cls = &c;
    if (!cls) Bad(r, "Unknown item class \"" + className + "\"");
    r.ReadShortName(); // instance name, empty in every file written
    const std::string property = r.ReadShortName();
    if (property != cls->propertyName)
        Bad(r, "Unknown property \"" + property + "\" of " + className);

    std::unique_ptr<TBranch> item;
    switch (cls->kind) {
    case TItemKind::Pipe: item = std::make_unique<TPipe>(project); break;
    case TItemKind::Fitting: item = std::make_unique<TFitting>(project, 0); break;
    case TItemKind::User: item = std::make_unique<TUser>(project); break;
    case TItemKind::KItem: item = std::make_unique<TKItem>(project); break;
    case TItemKind::Valve: item = std::make_unique<TValve>(project); break;
    }

    item->TypeName = r.ReadString();
    item->Description = r.ReadString();
    item->Number = ReadInt32(r);
    int bore = 0;
    if (generation == Generation::V200) {
        // The old bore table started at today's 300 mm row.
        bore = r.ReadRawByte() + 6;
        if (bore >= BoreCount) Bad(r, Format("Bore code %d out of range", {bore - 6}));
    } else {
        bore = BoreAtLeast(project.Tables, r.ReadFloat());
    }
    // The built-in table, whatever material the running project has: the
    // file's own material, if any, is put in force after the whole read.
    item->SetBuiltInBore(project.Tables, bore);
    item->Flow = r.ReadFloat();
    item->PressureDrop = r.ReadFloat();
    if (generation == Generation::Headerless) {
        item->Group = 0;
        item->InIndex = true;
    } else {
        item->Group = ReadInt32(r);
        item->InIndex = r.ReadBoolean();
    }
    if (cls->kind == TItemKind::KItem || cls->kind == TItemKind::Valve) {
        const double value = r.ReadFloat();
        if (!(value > 0 && std::isfinite(value)))
            Bad(r, Format("%s of item %d is not a number above zero",
                          {cls->kind == TItemKind::KItem ? "K" : "Kv", item->Number}));
        if (cls->kind == TItemKind::KItem) static_cast<TKItem&>(*item).K = value;
        else static_cast<TValve&>(*item).Kv = value;
    }
    if (cls->kind == TItemKind::Pipe || cls->kind == TItemKind::Fitting)
        static_cast<TPipe&>(*item).Length = r.ReadFloat();
    if (cls->kind == TItemKind::Fitting) {
        auto& fitting = static_cast<TFitting&>(*item);
        fitting.EquivLength = r.ReadFloat();
        fitting.Quantity = r.ReadFloat();
        const int type = static_cast<int>(r.ReadInteger() & 0xFF);
        if (type >= FittingCount) Bad(r, Format("Fitting type %d out of range", {type}));
        fitting.SetFittingType(project, type); // C from the catalogue; the stored TypeName stays
    }
    r.ReadListEnd(); // end of the item's properties
    r.ReadListEnd(); // its (empty) child list
    return item;
}

// The optional property "FittingMethod": one integer, 1 (Crane K) or 2
// (3-K). A program that predates it stops at the unknown property and
// refuses the whole file ("Unexpected property"), so no older reader opens
// such a project and silently calculates it by equivalent length.
constexpr const char* kFittingMethodProperty = "FittingMethod";

void WriteFittingMethod(TTagWriter& w, TFittingMethod method) {
    w.WriteShortName(kFittingMethodProperty);
    w.WriteInteger(static_cast<int>(method));
}

TFittingMethod ReadFittingMethod(TTagReader& r) {
    const std::int64_t value = r.ReadInteger();
    // 0 is never written: equivalent length is the absence of the property.
    if (value != static_cast<int>(TFittingMethod::CraneK) && value != static_cast<int>(TFittingMethod::ThreeK))
        Bad(r, Format("Fitting method %d out of range", {static_cast<long long>(value)}));
    return static_cast<TFittingMethod>(value);
}

// The optional property "PipeMaterial": a material beyond the built-in
// three, by name, with a copy of its roughness and bores and each item's
// inside diameter:
//   string Name, float Roughness (m),
//   list of bores { string Label, float ID (m), float ff, float mf (l/s) },
//   list of item inside diameters (m), one per item in list order.
// A program that predates it refuses the file at the unknown property
// rather than calculate the items in Schedule 40 steel bores.
constexpr const char* kPipeMaterialProperty = "PipeMaterial";
// The most bores a stored table may hold: BoreIndex is one byte.
constexpr std::size_t kMaxStoredBores = 200;

void WritePipeMaterial(TTagWriter& w, const TMaterialTable& material, const TCircuit& c) {
    w.WriteShortName(kPipeMaterialProperty);
    w.WriteString(material.Name);
    w.WriteFloat(material.Roughness);
    w.WriteListBegin();
    for (const TMaterialBore& b : material.Bores) {
        w.WriteString(b.Label);
        w.WriteFloat(b.ID);
        w.WriteFloat(b.ff);
        w.WriteFloat(b.mf);
    }
    w.WriteListEnd();
    w.WriteListBegin();
    for (const auto& item : c.Items) w.WriteFloat(item->InsideDiameter);
    w.WriteListEnd();
}

bool PositiveNumber(double v) { return v > 0 && std::isfinite(v); }

TStoredMaterial ReadPipeMaterial(TTagReader& r, std::size_t itemCount) {
    TStoredMaterial stored;
    TMaterialTable& m = stored.Table;
    m.Name = r.ReadString();
    if (m.Name.empty()) Bad(r, "Pipe material without a name");
    m.Roughness = r.ReadFloat();
    if (!PositiveNumber(m.Roughness)) Bad(r, "Roughness of pipe material \"" + m.Name + "\" is not above zero");
    r.ReadListBegin();
    while (!r.EndOfList()) {
        if (m.Bores.size() == kMaxStoredBores)
            Bad(r, Format("Pipe material \"%s\" has more than %d bores", {m.Name, static_cast<int>(kMaxStoredBores)}));
        TMaterialBore b;
        b.Label = r.ReadString();
        b.ID = r.ReadFloat();
        b.ff = r.ReadFloat();
        b.mf = r.ReadFloat();
        if (b.Label.empty() || !PositiveNumber(b.ID) || !PositiveNumber(b.ff) || !PositiveNumber(b.mf))
            Bad(r, Format("Bore %d of pipe material \"%s\" is not usable", {static_cast<int>(m.Bores.size()) + 1, m.Name}));
        if (!m.Bores.empty() && b.ID >= m.Bores.back().ID)
            Bad(r, Format("Bore %d of pipe material \"%s\" is not smaller than the one before it",
                          {static_cast<int>(m.Bores.size()) + 1, m.Name}));
        m.Bores.push_back(std::move(b));
    }
    if (m.Bores.empty()) Bad(r, "Pipe material \"" + m.Name + "\" has no bores");
    r.ReadListBegin();
    while (!r.EndOfList()) {
        if (stored.ItemIDs.size() == itemCount) Bad(r, "More inside diameters than items");
        const double id = r.ReadFloat();
        if (!PositiveNumber(id))
            Bad(r, Format("Inside diameter of item %d is not above zero", {static_cast<int>(stored.ItemIDs.size()) + 1}));
        stored.ItemIDs.push_back(id);
    }
    if (stored.ItemIDs.size() != itemCount) Bad(r, "Fewer inside diameters than items");
    return stored;
}

void ReadCircuitData(TTagReader& r, TProjectData& data, const TProjectContext& project) {
    TCircuit& c = *data.Circuit;

    // The first string tells the generation; a file without a header starts
    // with its first heading, which is then read again as Heading1.
    const std::size_t start = r.Position();
    data.Version = r.ReadString();
    Generation generation = Generation::Headerless;
    if (data.Version == kProjectHeader209) generation = Generation::Current;
    else if (data.Version == kProjectHeader200) generation = Generation::V200;
    else r.Seek(start);

    c.Heading1 = r.ReadString();
    c.Heading2 = r.ReadString();
    r.ReadListBegin();
    while (!r.EndOfList()) c.DescriptionLines.Append(r.ReadString());
    c.DescriptionLines.ShrinkToFit();
    c.Author = r.ReadString();
    c.Company = r.ReadString();
    c.CreationDate = r.ReadDate();
    const std::int64_t count = r.ReadInteger();
    if (count < 0 || static_cast<std::uint64_t>(count) > r.Remaining() / kSmallestItemRecord)
        Bad(r, Format("Item count %d does not fit the file", {static_cast<long long>(count)}));

    data.Fluid.ReadFromStream(r);
    if (data.Fluid.LiquidSpec >= LiquidNames.size())
        Bad(r, Format("Liquid type %d out of range", {static_cast<int>(data.Fluid.LiquidSpec)}));
    if (data.Fluid.WaterAdditive >= AdditiveNames.size())
        Bad(r, Format("Water additive %d out of range", {static_cast<int>(data.Fluid.WaterAdditive)}));

    const int material = static_cast<int>(r.ReadInteger() & 0xFF);
    if (material >= MaterialCount) Bad(r, Format("Pipe material %d out of range", {material}));
    c.Material = static_cast<std::uint8_t>(material);

    std::int32_t highest = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        std::unique_ptr<TBranch> item = ReadItem(r, generation, project);
        if (item->Number > highest) highest = item->Number;
        c.Items.push_back(std::move(item));
    }
    data.HighestNumber = highest;
}

} // namespace

TProjectData ParseProject(std::span<const std::uint8_t> bytes, const TLiquid& fluidBase,
                          const TProjectContext& project) {
    ItemCounterGuard counterGuard(project.ItemCounter);
    TProjectData data{std::make_unique<TCircuit>(project), fluidBase, 0, {}, {}};
    TTagReader r(bytes);
    r.ReadSignature();
    const std::string root = r.ReadShortName();
    if (root != kRootClass) Bad(r, "Root class \"" + root + "\" is not " + kRootClass);
    r.ReadShortName(); // instance name
    bool haveData = false;
    bool havePump = false;
    bool haveMethod = false;
    bool haveSelection = false;
    bool haveMaterial = false;
    while (!r.EndOfList()) {
        const std::string property = r.ReadShortName();
        if (property == kRootProperty && !haveData) {
            ReadCircuitData(r, data, project);
            haveData = true;
        } else if (property == kPumpProperty && haveData && !havePump) {
            // Optional, after the circuit data, in any generation.
            // The selection may come first in a file; the points don't replace it.
            const TPumpSelection selection = data.Circuit->Pump.Selection;
            data.Circuit->Pump = ReadPumpData(r);
            data.Circuit->Pump.Selection = selection;
            havePump = true;
        } else if (property == kPumpSelectionProperty && haveData && !haveSelection) {
            data.Circuit->Pump.Selection = ReadPumpSelection(r);
            haveSelection = true;
        } else if (property == kPipeMaterialProperty && haveData && !haveMaterial) {
            data.Material = ReadPipeMaterial(r, data.Circuit->Items.size());
            haveMaterial = true;
        } else if (property == kFittingMethodProperty && haveData && !haveMethod) {
            data.Circuit->FittingMethod = ReadFittingMethod(r);
            haveMethod = true;
        } else {
            Bad(r, "Unexpected property \"" + property + "\"");
        }
    }
    if (!haveData) Bad(r, "No circuit data");
    r.ReadListEnd(); // the circuit's (empty) child list

    TCircuit& c = *data.Circuit;
    c.SortAscending.fill(false);
    c.SecondKey = 0;
    c.Saved = true;
    c.Solved = false;
    c.TotalCost = 0;
    return data;
}

TProjectData ReadProject(const std::filesystem::path& path, const TProjectContext& project) {
    try {
        if (!project.Liquid) throw FileError("The fluid module is not started");
        const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
        return ParseProject(bytes, *project.Liquid, project);
    } catch (const std::exception& e) {
        // Anything at all (a bad value, a failed allocation) abandons the read.
        throw ProjectFileError("Error reading " + path.string(), e.what());
    }
}

std::vector<std::uint8_t> EncodeProject(const TCircuit& c, const TFluid& fluid, const TCatalogueTables& tables) {
    // A further material: the header field keeps a built-in code (0) and
    // the items their nearest built-in bore, so the circuit data stays what
    // every reader knows; the material itself follows as a property.
    const TMaterialTable* own = ExtraMaterial(tables, c.Material);
    TTagWriter w;
    w.Reserve(512 + c.Items.size() * 128);
    w.WriteSignature();
    w.WriteShortName(kRootClass);
    w.WriteShortName("");
    w.WriteShortName(kRootProperty);
    w.WriteString(kProjectHeader209);
    w.WriteString(c.Heading1);
    w.WriteString(c.Heading2);
    w.WriteListBegin();
    for (std::string_view line : c.DescriptionLines) w.WriteString(std::string(line));
    w.WriteListEnd();
    w.WriteString(c.Author);
    w.WriteString(c.Company);
    w.WriteDate(c.CreationDate);
    w.WriteInteger(static_cast<std::int64_t>(c.Items.size()));
    fluid.WriteToStream(w);
    w.WriteInteger(own != nullptr ? 0 : c.Material);
    for (const auto& item : c.Items) {
        const double nominal = own != nullptr
                                   ? tables.BoreTable[static_cast<std::size_t>(NearestBuiltInBore(tables, item->InsideDiameter))].Nominal
                                   : NominalOf(tables, item->BoreIndex);
        WriteItem(w, *item, nominal);
    }
    if (own != nullptr) WritePipeMaterial(w, *own, c);
    // Only a project that uses the pump settings carries them.
    if (!c.Pump.HasNoCurveData()) WritePumpData(w, c.Pump);
    if (!c.Pump.Selection.IsDefault()) WritePumpSelection(w, c.Pump.Selection);
    // Likewise the fitting method: a project by equivalent length is written
    // as before any other method existed.
    if (c.FittingMethod != TFittingMethod::EquivalentLength) WriteFittingMethod(w, c.FittingMethod);
    w.WriteRawByte(vaNull); // end of the circuit's properties
    w.WriteRawByte(vaNull); // no children
    return w.TakeBytes();
}

void WriteProject(const std::filesystem::path& path, const TCircuit& circuit, const TFluid& fluid,
                  const TCatalogueTables& tables) {
    try {
        const std::vector<std::uint8_t> bytes = EncodeProject(circuit, fluid, tables);
        WriteFileAtomically(path, bytes);
    } catch (const std::exception& e) {
        throw ProjectFileError("Error writing " + path.string(), e.what());
    }
}

std::string ResolveStoredMaterial(TProjectData& data, TCatalogueTables& tables) {
    if (!data.Material || !data.Circuit) return {};
    TStoredMaterial& stored = *data.Material;
    // A material of that name from a catalogue file; a copy known from an
    // earlier project only is replaced by this project's copy.
    int code = -1;
    for (std::size_t i = 0; i < tables.Materials.size(); ++i)
        if (SameIniName(tables.Materials[i].Name, stored.Table.Name)) code = MaterialCount + static_cast<int>(i);
    const TMaterialTable* found = ExtraMaterial(tables, code);
    const bool missing = found == nullptr || found->File.empty();
    std::string message;
    if (missing) {
        stored.Table.File.clear();
        if (found != nullptr) {
            tables.Materials[static_cast<std::size_t>(code - MaterialCount)] = stored.Table;
        } else {
            tables.Materials.push_back(stored.Table);
            code = MaterialCount + static_cast<int>(tables.Materials.size()) - 1;
        }
        message = "The pipe material \"" + stored.Table.Name +
                  "\" of this project is not in this computer's catalogues.\n"
                  "The project keeps the inside diameters of its items and the material's roughness and bores as "
                  "they were saved with it, and is calculated with them; pipe prices and labour times of the "
                  "material are unknown here.";
    }
    const TMaterialTable& table = tables.Materials[static_cast<std::size_t>(code - MaterialCount)];
    TCircuit& c = *data.Circuit;
    c.Material = static_cast<std::uint8_t>(code);
    for (std::size_t i = 0; i < c.Items.size(); ++i) {
        TBranch& item = *c.Items[i];
        const double storedID = stored.ItemIDs.at(i);
        const std::size_t row = NearestMaterialBore(table, storedID).value_or(TNearestMaterialBore{}).Index;
        item.BoreIndex = static_cast<std::uint8_t>(row);
        item.Friction = table.Bores[row].ff;
        // The material's own catalogue gives the diameter, as the bore table
        // does for the built-in materials; without it the stored one stays.
        item.InsideDiameter = missing ? storedID : table.Bores[row].ID;
    }
    return message;
}

void InstallProject(TProjectData&& data, std::unique_ptr<TCircuit>& current, const TProjectContext& project) {
    current = std::move(data.Circuit);
    if (project.Liquid) *project.Liquid = data.Fluid;
    project.ItemCounter = data.HighestNumber;
}

} // namespace dvx
