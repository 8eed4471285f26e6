// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/ItemTable.h"

#include "engine/catalogue/ActiveBores.h"
#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "engine/hydraulics/ItemValue.h"
#include "base/CharConv.h"
#include "base/CsvWriter.h"
#include "base/Errors.h"
#include "base/Numbers.h"
#include "base/QuotedText.h"
#include "storage/project/FileIO.h"
#include "engine/units/UnitChoice.h"
#include "engine/units/UnitView.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace dvx {

const std::array<TTableColumnDef, TableColumnCount> ItemTableColumns = {{
    {"Kind", 1},
    {"#", 1},
    {"Description", 1},
    {"Size, mm", 1},
    {"Q, l/s", 1000},
    {"dP, kPa", 0.001},
    {"Type", 1},
    {"Length, m", 1},
    {"Fitting", 1},
    {"Qty", 1},
    {"Group", 1},
    {"Index", 1},
    {"Velocity, m/s", 1},
    {"Gradient, Pa/m", 1},
    {"Reynolds", 1},
    {"Friction factor", 1},
    {"Volume, m\u00B3", 1},
}};

namespace {

std::string Shortest(double value) {
    char buffer[32];
    auto result = ToChars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The quantity a column holds, for the columns that carry a unit.
std::optional<TQuantity> QuantityOf(int column) {
    switch (column) {
    case tcSize: return qtPipeSize;
    case tcFlow: return qtFlow;
    case tcPressureDrop: return qtPressureDrop;
    case tcLength: return qtLength;
    case tcVelocity: return qtVelocity;
    case tcGradient: return qtGradient;
    case tcVolume: return qtVolume;
    default: return std::nullopt;
    }
}

// "Q, " of "Q, l/s": the caption without its unit.
std::string CaptionStem(int column) {
    const std::string caption = ItemTableColumns[static_cast<std::size_t>(column)].Caption;
    const std::size_t comma = caption.rfind(", ");
    return comma == std::string::npos ? caption : caption.substr(0, comma + 2);
}

// A unit-carrying column in the units of `choice`. With the SI unit it is
// the column's own metric form: shown = SI × Factor, and back by dividing,
// which undoes the multiplication exactly in more cases than multiplying by
// the inverse would.
// density: kg/m³, for head units; the captions do not depend on it.
TUnitView ViewOf(int column, const TUnitChoice& choice, double density) {
    // The metric labels ("l/s"), kept for the program's life: a view holds
    // its metric form's label by pointer.
    static const std::array<std::string, TableColumnCount> labels = [] {
        std::array<std::string, TableColumnCount> l;
        for (int c = 0; c < TableColumnCount; ++c)
            l[static_cast<std::size_t>(c)] =
                std::string(ItemTableColumns[static_cast<std::size_t>(c)].Caption).substr(CaptionStem(c).size());
        return l;
    }();
    const TTableColumnDef& def = ItemTableColumns[static_cast<std::size_t>(column)];
    return TUnitView(choice, *QuantityOf(column),
                     {labels[static_cast<std::size_t>(column)].c_str(), "%0.4g", Times(def.Factor), Over(def.Factor)},
                     density);
}

// A pipe size in inches is its designation (1¼"), not a number.
bool SizeAsDesignation(const TUnitView& view) { return view.Unit().Basis == ubNominalInch && !view.IsMetric(); }

std::string Caption(int column, const TUnitChoice& choice) {
    if (!QuantityOf(column)) return ItemTableColumns[static_cast<std::size_t>(column)].Caption;
    // A caption does not depend on the liquid: no density.
    return CaptionStem(column) + ViewOf(column, choice, std::numeric_limits<double>::quiet_NaN()).Label();
}

// A value in the display units in force, at full precision.
std::string Shown(TTableColumn column, double si, double density) {
    if (!QuantityOf(column)) return Shortest(si * ItemTableColumns[static_cast<std::size_t>(column)].Factor);
    const TUnitView view = ViewOf(column, DisplayUnits(), density);
    if (SizeAsDesignation(view)) return view.Text(si);
    return Shortest(view.ToShown(si));
}

// The text item file's order is in SI's metric forms (l/s, kPa).
double ToSi(TTableColumn column, double shown) {
    return shown / ItemTableColumns[static_cast<std::size_t>(column)].Factor;
}

const char* KindLetter(TItemKind kind) {
    switch (kind) {
    case TItemKind::Pipe: return "p";
    case TItemKind::Fitting: return "f";
    case TItemKind::User: return "u";
    case TItemKind::KItem: return "k";
    case TItemKind::Valve: return "v";
    }
    return "";
}

std::string Lower(std::string_view text) {
    std::string lower(TrimBlanks(text));
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// Cells of tab-separated text. Spreadsheets quote a cell that holds a tab,
// a quote or a line break; such a cell is read whole with its quotes undone.
std::vector<std::vector<std::string>> SplitRows(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false;
    bool cellStarted = false;
    auto endCell = [&] {
        row.push_back(std::move(cell));
        cell.clear();
        cellStarted = false;
    };
    auto endRow = [&] {
        endCell();
        rows.push_back(std::move(row));
        row.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quoted) {
            if (ch == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    cell += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += ch;
            }
            continue;
        }
        if (ch == '"' && !cellStarted) {
            quoted = true;
            cellStarted = true;
        } else if (ch == '\t') {
            endCell();
        } else if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endRow();
        } else {
            cell += ch;
            cellStarted = true;
        }
    }
    if (!cell.empty() || !row.empty()) endRow();
    return rows;
}

bool BlankRow(const std::vector<std::string>& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& c) { return TrimBlanks(c).empty(); });
}

// A row that cannot become an item; the message says why, and names the
// column when one cell is at fault.
struct RowError {
    std::string Message;
    std::string Column = {};
};

// A column caption as a message names it: "Q, l/s" becomes "Q (l/s)".
std::string ColumnName(std::string_view caption) {
    const std::size_t comma = caption.find(", ");
    if (comma == std::string_view::npos) return std::string(caption);
    return std::string(caption.substr(0, comma)) + " (" + std::string(caption.substr(comma + 2)) + ")";
}

// The cell's number; a text that is none names the cell's column.
double CellNumber(std::string_view cell, std::string_view caption) {
    try {
        return StrToFloat(cell);
    } catch (const ConvertError&) {
        throw RowError{"'" + QuotedText(TrimBlanks(cell)) + "' is not a number", ColumnName(caption)};
    }
}

double Number(std::string_view cell, std::string_view caption, bool mayBeNegative = false) {
    double value = CellNumber(cell, caption);
    if (!std::isfinite(value)) throw RowError{std::string(caption) + " is not a finite number"};
    if (!mayBeNegative && value < 0) throw RowError{std::string(caption) + " may not be negative"};
    return value;
}

std::int32_t WholeNumber(std::string_view cell, const char* caption) {
    double value = CellNumber(cell, caption);
    if (!(value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max()) ||
        value != std::floor(value))
        throw RowError{"'" + QuotedText(TrimBlanks(cell)) + "' is no whole number for " + caption};
    return static_cast<std::int32_t>(value);
}

std::optional<int> FittingByName(std::string_view name, const TCatalogueTables& tables) {
    const std::string wanted = Lower(name);
    for (int t = 0; t < FittingCount; ++t)
        if (Lower(tables.FittingTable[static_cast<std::size_t>(t)].FittingName) == wanted) return t;
    return std::nullopt;
}

int FittingIndex(std::string_view cell) {
    const std::int32_t t = WholeNumber(cell, "Fitting");
    if (t < 0 || t >= FittingCount) throw RowError{"fitting type " + std::to_string(t) + " is not in the fittings table"};
    return t;
}

std::unique_ptr<TBranch> MakeItem(char kind, int fittingType, const TProjectContext& project) {
    switch (kind) {
    case 'p': return std::make_unique<TPipe>(project);
    case 'f': return std::make_unique<TFitting>(project, fittingType);
    case 'u': return std::make_unique<TUser>(project);
    case 'k': return std::make_unique<TKItem>(project);
    case 'v': return std::make_unique<TValve>(project);
    default: return nullptr;
    }
}

std::optional<char> KindOf(std::string_view cell) {
    const std::string k = Lower(cell);
    if (k == "p" || k == "pipe") return 'p';
    if (k == "f" || k == "fitting") return 'f';
    if (k == "u" || k == "user") return 'u';
    if (k == "k" || k == "k item") return 'k';
    if (k == "v" || k == "valve") return 'v';
    return std::nullopt;
}

// A row in the text item file's field order.
std::unique_ptr<TBranch> ItemFromTextOrder(const std::vector<std::string>& cells, const TProjectContext& project) {
    const std::optional<char> kind = KindOf(cells[0]);
    if (!kind || TrimBlanks(cells[0]).size() != 1)
        throw RowError{"'" + QuotedText(TrimBlanks(cells[0])) + "' is not a kind of item (p, f, u, k or v)"};
    const std::size_t needed = *kind == 'f' ? 9 : (*kind == 'u' ? 7 : 8);
    if (cells.size() < needed) throw RowError{"too few fields"};
    const std::int32_t number = WholeNumber(cells[1], "#");
    const double diameter = Number(cells[3], "ID, mm");
    const double flow = Number(cells[4], "Q, l/s");
    const double dp = Number(cells[5], "dP, kPa", true);
    int fittingType = 0;
    double extra = 0;
    if (*kind == 'f') {
        fittingType = FittingIndex(cells[7]);
        extra = Number(cells[8], "Qty");
    } else if (*kind == 'p') {
        extra = Number(cells[7], "Length, m");
    } else if (*kind == 'k' || *kind == 'v') {
        extra = Number(cells[7], *kind == 'k' ? "K" : "Kv");
    }
    std::unique_ptr<TBranch> item = MakeItem(*kind, fittingType, project);
    item->Number = number;
    item->Description = cells[2];
    item->SetBore(project, BoreRowForInsideDiameter(project.Tables, diameter / 1000));
    item->Flow = ToSi(tcFlow, flow);
    if (*kind == 'u') item->PressureDrop = ToSi(tcPressureDrop, dp);
    if (*kind == 'f') static_cast<TFitting&>(*item).Quantity = extra;
    if (*kind == 'p') static_cast<TPipe&>(*item).Length = extra;
    if (*kind == 'k') static_cast<TKItem&>(*item).K = extra;
    if (*kind == 'v') static_cast<TValve&>(*item).Kv = extra;
    return item;
}

// The columns a header row names: column of the table → cell position.
struct HeaderMap {
    std::array<int, TableColumnCount> At{};
    // The unit each unit-carrying column is in, as its caption names it.
    std::array<TUnitChoice, TableColumnCount> Units{};
    int InsideDiameterAt = -1; // "ID, mm", as text item files give the bore
    HeaderMap() { At.fill(-1); }
    bool Any() const {
        return InsideDiameterAt >= 0 || std::any_of(At.begin(), At.end(), [](int p) { return p >= 0; });
    }
};

HeaderMap ReadHeader(const std::vector<std::string>& cells) {
    HeaderMap map;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string caption = Lower(cells[i]);
        if (caption == "id, mm") map.InsideDiameterAt = static_cast<int>(i);
        for (int c = 0; c < TableColumnCount; ++c) {
            const auto at = static_cast<std::size_t>(c);
            if (map.At[at] >= 0) continue;
            // A unit-carrying column is recognised in any of its units.
            TUnitChoice choice;
            const std::optional<TQuantity> quantity = QuantityOf(c);
            const int units = quantity ? static_cast<int>(DisplayUnitsOf(*quantity).size()) : 1;
            for (int u = 0; u < units && map.At[at] < 0; ++u) {
                if (quantity) choice.Set(*quantity, u);
                if (caption == Lower(Caption(c, choice))) {
                    map.At[at] = static_cast<int>(i);
                    map.Units[at] = choice;
                }
            }
        }
    }
    return map;
}

std::unique_ptr<TBranch> ItemFromHeader(const HeaderMap& map, const std::vector<std::string>& cells,
                                        const TProjectContext& project) {
    // The cell of a column, or nothing when the column is missing or the cell empty.
    auto cell = [&](TTableColumn c) -> std::optional<std::string_view> {
        const int at = map.At[static_cast<std::size_t>(c)];
        if (at < 0 || at >= static_cast<int>(cells.size()) || TrimBlanks(cells[static_cast<std::size_t>(at)]).empty())
            return std::nullopt;
        return std::string_view(cells[static_cast<std::size_t>(at)]);
    };
    std::optional<char> kind;
    std::optional<int> fittingType;
    if (auto k = cell(tcKind)) {
        kind = KindOf(*k);
        if (!kind) throw RowError{"'" + QuotedText(TrimBlanks(*k)) + "' is not a kind of item (p, f, u, k or v)"};
    }
    if (auto f = cell(tcFitting)) fittingType = FittingIndex(*f);
    if (auto type = cell(tcType)) {
        const std::string t = Lower(*type);
        if (!kind) {
            if (t == "pipe") kind = 'p';
            else if (t == "user") kind = 'u';
            else if (t == "k item") kind = 'k';
            else if (t == "valve") kind = 'v';
            else if ((fittingType = fittingType ? fittingType : FittingByName(*type, project.Tables))) kind = 'f';
        } else if (*kind == 'f' && !fittingType) {
            fittingType = FittingByName(*type, project.Tables);
        }
    }
    if (!kind) throw RowError{"no kind of item (a \"Kind\" or \"Type\" column)"};
    if (*kind == 'f' && !fittingType) throw RowError{"no fitting type (a \"Fitting\" or \"Type\" column)"};

    std::unique_ptr<TBranch> item = MakeItem(*kind, fittingType.value_or(0), project);
    if (auto v = cell(tcNumber)) item->Number = WholeNumber(*v, "#");
    if (map.At[tcDescription] >= 0 && map.At[tcDescription] < static_cast<int>(cells.size()))
        item->Description = cells[static_cast<std::size_t>(map.At[tcDescription])];
    // Values in the units their captions name.
    const double density = LiquidDensity(project.Liquid);
    auto view = [&](TTableColumn c) { return ViewOf(c, map.Units[static_cast<std::size_t>(c)], density); };
    if (auto v = cell(tcSize)) {
        const TUnitView size = view(tcSize);
        item->SetBoreFromNominal(project, SizeAsDesignation(size) ? size.Parse(*v)
                                                         : size.FromShown(Number(*v, Caption(tcSize, map.Units[tcSize]))));
    }
    else if (map.InsideDiameterAt >= 0 && map.InsideDiameterAt < static_cast<int>(cells.size()) &&
             !TrimBlanks(cells[static_cast<std::size_t>(map.InsideDiameterAt)]).empty())
        item->SetBore(project, BoreRowForInsideDiameter(project.Tables, Number(cells[static_cast<std::size_t>(map.InsideDiameterAt)], "ID, mm") / 1000));
    // The caption a value's column has in the units the header names.
    auto caption = [&](TTableColumn c) { return Caption(c, map.Units[static_cast<std::size_t>(c)]); };
    if (auto v = cell(tcFlow)) item->Flow = view(tcFlow).FromShown(Number(*v, caption(tcFlow)));
    if (auto v = cell(tcPressureDrop); v && *kind == 'u')
        item->PressureDrop = view(tcPressureDrop).FromShown(Number(*v, caption(tcPressureDrop), true));
    if (auto v = cell(tcLength); v && *kind == 'p')
        static_cast<TPipe&>(*item).Length = view(tcLength).FromShown(Number(*v, caption(tcLength)));
    if (auto v = cell(tcQuantity); v && *kind == 'f') static_cast<TFitting&>(*item).Quantity = Number(*v, "Qty");
    // A K item's K and a valve's Kv travel in the quantity column.
    if (auto v = cell(tcQuantity); v && *kind == 'k') static_cast<TKItem&>(*item).K = Number(*v, "Qty");
    if (auto v = cell(tcQuantity); v && *kind == 'v') static_cast<TValve&>(*item).Kv = Number(*v, "Qty");
    if (auto v = cell(tcGroup)) item->Group = WholeNumber(*v, "Group");
    if (auto v = cell(tcIndex)) item->InIndex = Number(*v, "Index", true) != 0;
    return item;
}

std::string Cleaned(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

} // namespace

std::vector<std::string> ItemTableHeader() {
    std::vector<std::string> header;
    for (int c = 0; c < TableColumnCount; ++c) header.push_back(Caption(c, DisplayUnits()));
    return header;
}

std::vector<std::string> ItemTableRow(const TBranch& item, const TProjectContext& project) {
    const double density = LiquidDensity(project.Liquid);
    std::vector<std::string> row(TableColumnCount);
    row[tcKind] = KindLetter(item.Kind());
    row[tcNumber] = std::to_string(item.Number);
    row[tcDescription] = item.Description;
    row[tcSize] = Shown(tcSize, BoreRowNominal(project.Tables, item.BoreIndex), density);
    row[tcFlow] = Shown(tcFlow, item.Flow, density);
    row[tcPressureDrop] = Shown(tcPressureDrop, item.PressureDrop, density);
    row[tcType] = item.TypeName;
    row[tcGroup] = std::to_string(item.Group);
    row[tcIndex] = item.InIndex ? "1" : "0";
    if (item.Kind() == TItemKind::User) return row;
    if (item.Kind() == TItemKind::KItem || item.Kind() == TItemKind::Valve) {
        const auto& r = static_cast<const TResistanceItem&>(item);
        row[tcQuantity] = Shortest(*ItemValue(item));
        row[tcVelocity] = Shown(tcVelocity, r.Velocity, density);
        row[tcReynolds] = Shown(tcReynolds, r.Reynolds, density);
        return row;
    }
    const auto& pipe = static_cast<const TPipe&>(item);
    if (item.Kind() == TItemKind::Pipe) {
        row[tcLength] = Shown(tcLength, pipe.Length, density);
    } else {
        const auto& fitting = static_cast<const TFitting&>(item);
        row[tcFitting] = std::to_string(fitting.FittingType);
        row[tcQuantity] = Shortest(fitting.Quantity);
    }
    row[tcVelocity] = Shown(tcVelocity, pipe.Velocity, density);
    row[tcGradient] = Shown(tcGradient, pipe.Gradient, density);
    row[tcReynolds] = Shown(tcReynolds, pipe.Reynolds, density);
    row[tcFriction] = Shown(tcFriction, pipe.Friction, density);
    row[tcVolume] = Shown(tcVolume, pipe.Volume, density);
    return row;
}

std::string TabSeparated(const std::vector<std::vector<std::string>>& rows) {
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) text += '\t';
            text += Cleaned(row[i]);
        }
        text += "\r\n";
    }
    return text;
}

std::string CommaSeparated(const std::vector<std::vector<std::string>>& rows) {
    std::string text;
    for (const auto& row : rows) AppendCsvRecord(text, row);
    return text;
}

std::string ItemsAsTabSeparated(const std::vector<const TBranch*>& items, const TProjectContext& project) {
    std::vector<std::vector<std::string>> rows{ItemTableHeader()};
    for (const TBranch* item : items) rows.push_back(ItemTableRow(*item, project));
    return TabSeparated(rows);
}

std::string CircuitAsCsv(const TCircuit& circuit, const TProjectContext& project) {
    std::vector<std::vector<std::string>> rows{ItemTableHeader()};
    for (const auto& item : circuit.Items) rows.push_back(ItemTableRow(*item, project));
    return CommaSeparated(rows);
}

void WriteCircuitCsv(const TCircuit& circuit, const std::string& path, const TProjectContext& project) {
    const std::string text = CircuitAsCsv(circuit, project);
    WriteFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TPastedItems ReadPastedItems(std::string_view text, const TProjectContext& project) {
    TPastedItems pasted;
    const auto rows = SplitRows(text);
    std::optional<HeaderMap> header;
    bool first = true;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& cells = rows[r];
        if (BlankRow(cells)) continue;
        if (first) {
            first = false;
            // A header row names columns; a data row starts with a kind letter.
            const std::string lead = Lower(cells[0]);
            if (lead != "p" && lead != "f" && lead != "u") {
                HeaderMap map = ReadHeader(cells);
                if (map.Any()) {
                    header = map;
                    continue;
                }
            }
        }
        try {
            pasted.Items.push_back(header ? ItemFromHeader(*header, cells, project) : ItemFromTextOrder(cells, project));
        } catch (const RowError& e) {
            const std::string column = e.Column.empty() ? std::string() : ", " + e.Column;
            pasted.Messages.push_back("Row " + std::to_string(r + 1) + column + ": " + e.Message);
        } catch (const std::exception& e) { // a number that does not convert
            pasted.Messages.push_back("Row " + std::to_string(r + 1) + ": " + e.what());
        }
    }
    return pasted;
}

} // namespace dvx
