// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/TextItems.h"

#include "storage/project/FileIO.h"
#include "storage/project/TextCodec.h"

#include "engine/catalogue/ActiveBores.h"
#include "engine/catalogue/Bores.h"
#include "engine/catalogue/LineParser.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "base/Format.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace dvx {

namespace {

constexpr std::string_view kPipeLine = "p, %d, '%s', %0.0f, %0.1f, %0.4g, '%s', %0.1f";
constexpr std::string_view kFittingLine = "f, %d, '%s', %0.0f, %0.1f, %0.4g, '%s', %0d, %0.0f";
constexpr std::string_view kUserLine = "u, %d, '%s', %0.0f, %0.1f, %0.4g, '%s'";
// A K item and a valve: a user item's fields and K (—) or Kv (m³/h).
constexpr std::string_view kKItemLine = "k, %d, '%s', %0.0f, %0.1f, %0.4g, '%s', %0.6g";
constexpr std::string_view kValveLine = "v, %d, '%s', %0.0f, %0.1f, %0.4g, '%s', %0.6g";

// Nearest whole number, halves to the even neighbour (2.5 → 2, 3.5 → 4).
double RoundHalfEven(double q) {
    const double lower = std::floor(q);
    const double rest = q - lower;
    if (rest < 0.5) return lower;
    if (rest > 0.5) return lower + 1;
    return std::fmod(lower, 2) == 0 ? lower : lower + 1;
}

// The fields every kind reads after its kind letter.
struct TCommonFields {
    std::int32_t Number = 0;
    std::string Description;
    double Diameter = 0;     // mm
    double Flow = 0;         // l/s
    double PressureDrop = 0; // kPa
};

TCommonFields ReadCommon(TLineParser& parser) {
    TCommonFields fields;
    fields.Number = parser.NextInt();
    fields.Description = parser.GetToken();
    fields.Diameter = parser.NextFloat();
    fields.Flow = parser.NextFloat();
    fields.PressureDrop = parser.NextFloat();
    parser.GetToken(); // the type name is not used
    return fields;
}

void ApplyCommon(TBranch& item, TCommonFields& fields) {
    item.Number = fields.Number;
    item.Description = std::move(fields.Description);
    item.Flow = fields.Flow * 0.001;
}

// One line into an item; no item for a skipped line. message receives the
// reason when a line of a known kind cannot be taken.
std::unique_ptr<TBranch> ReadLine(TLineParser& parser, std::string_view line, std::string& message,
                                  const TProjectContext& project) {
    parser.SetText(line);
    const std::string kind = parser.GetToken();
    if (kind.empty()) return nullptr;
    switch (kind.front()) {
    case 'f': {
        TCommonFields fields = ReadCommon(parser);
        const std::int32_t type = parser.NextInt();
        const double quantity = parser.NextFloat();
        // The type indexes the fittings table: a line with any other value is
        // not taken rather than read past the table.
        if (type < 0 || type >= FittingCount) {
            message = Format("fitting type %d is not in the fittings table (0 to %d); line skipped",
                             {type, FittingCount - 1});
            return nullptr;
        }
        auto fitting = std::make_unique<TFitting>(project, type);
        ApplyCommon(*fitting, fields);
        fitting->Quantity = RoundHalfEven(quantity);
        fitting->SetBore(project, BoreRowForInsideDiameter(project.Tables, fields.Diameter * 0.001));
        return fitting;
    }
    case 'p': {
        TCommonFields fields = ReadCommon(parser);
        const double length = parser.NextFloat();
        auto pipe = std::make_unique<TPipe>(project);
        ApplyCommon(*pipe, fields);
        pipe->Length = length;
        pipe->SetBore(project, BoreRowForInsideDiameter(project.Tables, fields.Diameter * 0.001));
        return pipe;
    }
    case 'u': {
        TCommonFields fields = ReadCommon(parser);
        auto user = std::make_unique<TUser>(project);
        ApplyCommon(*user, fields);
        user->PressureDrop = fields.PressureDrop * 1000;
        user->SetBore(project, BoreRowForInsideDiameter(project.Tables, fields.Diameter * 0.001));
        return user;
    }
    case 'k':
    case 'v': {
        TCommonFields fields = ReadCommon(parser);
        const double value = parser.NextFloat();
        const bool isK = kind.front() == 'k';
        if (!(value > 0 && std::isfinite(value))) {
            message = Format("%s must be a number above zero; line skipped", {isK ? "K" : "Kv"});
            return nullptr;
        }
        std::unique_ptr<TBranch> item;
        if (isK) {
            auto k = std::make_unique<TKItem>(project);
            k->K = value;
            item = std::move(k);
        } else {
            auto valve = std::make_unique<TValve>(project);
            valve->Kv = value;
            item = std::move(valve);
        }
        ApplyCommon(*item, fields);
        item->SetBore(project, BoreRowForInsideDiameter(project.Tables, fields.Diameter * 0.001));
        return item;
    }
    default:
        return nullptr;
    }
}

} // namespace

std::string TextItemLine(const TBranch& item) {
    const double diameter = item.InsideDiameter * 1000;
    const double flow = item.Flow * 1000;
    const double dp = item.PressureDrop * 0.001;
    switch (item.Kind()) {
    case TItemKind::Fitting: {
        const auto& f = static_cast<const TFitting&>(item);
        return Format(kFittingLine, {item.Number, item.Description, diameter, flow, dp, item.TypeName,
                                     static_cast<int>(f.FittingType), f.Quantity});
    }
    case TItemKind::Pipe:
        return Format(kPipeLine, {item.Number, item.Description, diameter, flow, dp, item.TypeName,
                                  static_cast<const TPipe&>(item).Length});
    case TItemKind::KItem:
        return Format(kKItemLine, {item.Number, item.Description, diameter, flow, dp, item.TypeName,
                                   static_cast<const TKItem&>(item).K});
    case TItemKind::Valve:
        return Format(kValveLine, {item.Number, item.Description, diameter, flow, dp, item.TypeName,
                                   static_cast<const TValve&>(item).Kv});
    case TItemKind::User:
        break;
    }
    return Format(kUserLine, {item.Number, item.Description, diameter, flow, dp, item.TypeName});
}

std::string TextItemsContent(const TCircuit& circuit) {
    std::string content;
    for (const auto& item : circuit.Items) {
        content += TextItemLine(*item);
        content += "\r\n";
    }
    return content;
}

void WriteTextItemsFile(const TCircuit& circuit, const std::string& path) {
    const std::string content = TextItemsContent(circuit);
    // The safe save: an earlier file survives any failure of this write.
    try {
        WriteFileAtomically(path, std::span<const std::uint8_t>(
                                      reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
    } catch (const std::exception&) {
        throw FileError("Error writing " + path);
    }
}

TTextImport ReadTextItems(std::string_view bytes, const TProjectContext& project) {
    const std::string text = TextFileToUtf8(bytes);
    const std::string_view content = text;
    TTextImport import;
    TLineParser parser;
    std::string message;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = start;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n') ++end;
        ++lineNumber;
        std::string_view line = content.substr(start, end - start);
        message.clear();
        if (auto item = ReadLine(parser, line, message, project))
            import.Items.push_back(std::move(item));
        else if (!message.empty())
            import.Messages.push_back(Format("Line %d: %s", {static_cast<long long>(lineNumber), message}));
        start = end;
        if (start < content.size() && content[start] == '\r') ++start;
        if (start < content.size() && content[start] == '\n') ++start;
    }
    import.HasText = content.find_first_not_of(" \t\r\n") != std::string_view::npos;
    return import;
}

std::string ReadTextFileBytes(const std::string& path) {
    try {
        return ReadFileText(path, kMaxTextItemsFileBytes);
    } catch (const FileError& e) {
        throw ProjectFileError("Error reading " + path, e.what());
    }
}

void InsertImportedItems(TCircuit& circuit, TTextImport& import) {
    // Inserting each item before the first row one by one reverses the
    // file's order; inserting the reversed block at once gives the same list.
    std::vector<std::unique_ptr<TBranch>> reversed(std::make_move_iterator(import.Items.rbegin()),
                                                   std::make_move_iterator(import.Items.rend()));
    import.Items.clear();
    circuit.InsertRange(0, std::move(reversed));
}

} // namespace dvx
