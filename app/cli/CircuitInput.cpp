// SPDX-License-Identifier: GPL-3.0-or-later
#include "CircuitInput.h"

#include "OutputText.h"

#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "storage/project/FileIO.h"
#include "storage/project/ProjectFile.h"
#include "storage/project/TagStream.h"
#include "storage/project/TextItems.h"
#include "base/platform/StandardInput.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace dvx::cli {
namespace {

// A text item file is read byte for byte, so an older file's 8-bit
// descriptions would reach the circuit as bytes that are not UTF-8 and be
// lost (replaced) when the circuit is written as a project. They are
// decoded as Windows-1252 here; UTF-8 text stays as it is.
void DecodeEightBitTexts(TCircuit& circuit) {
    for (auto& item : circuit.Items) {
        item->Description = Utf8Text(item->Description);
        item->TypeName = Utf8Text(item->TypeName);
    }
}


TLoadedCircuit FromBytes(const std::string& bytes, const TProjectContext& project) {
    TLoadedCircuit loaded;
    if (bytes.rfind(kStreamSignature, 0) == 0) {
        try {
            TProjectData data = ParseProject(
                std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), *project.Liquid,
                project);
            loaded.Circuit = std::move(data.Circuit);
            loaded.Fluid = std::move(data.Fluid);
            loaded.ItemCounter = data.HighestNumber;
        } catch (const std::exception& e) {
            throw ProjectFileError("Error reading standard input", e.what());
        }
        return loaded;
    }
    // As a text item file is read: a new circuit first (it restarts the
    // item counter), then the items.
    loaded.Circuit = std::make_unique<TCircuit>(project);
    TTextImport import = ReadTextItems(bytes, project);
    InsertImportedItems(*loaded.Circuit, import);
    DecodeEightBitTexts(*loaded.Circuit);
    loaded.Messages = std::move(import.Messages);
    loaded.Circuit->Saved = true;
    loaded.ItemCounter = project.ItemCounter;
    return loaded;
}

} // namespace

std::string InputName(const std::string& path) { return path == "-" ? "standard input" : path; }

TCircuitInput ReadCircuitInput(const std::string& path, const TProjectContext& project) {
    TCircuitInput input;
    if (path == "-") {
        // A project stream has the project file's cap, anything else the
        // text item file's, as for files.
        const std::string_view signature = kStreamSignature;
        const std::string bytes = ReadStandardInput(
            [signature](std::string_view head) {
                return head.starts_with(signature) ? kMaxProjectFileBytes : kMaxTextItemsFileBytes;
            },
            signature.size());
        input.FromEmptyInput = bytes.empty();
        input.Loaded = FromBytes(bytes, project);
        return input;
    }
    // A folder is never a circuit, whatever its name ends in.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw FileError("Error reading " + path + ": it is a folder");
    input.Loaded = LoadCircuitFile(path, project);
    if (CircuitFileKind(path) == TCircuitFileKind::TextItems) DecodeEightBitTexts(*input.Loaded.Circuit);
    input.FromEmptyInput = std::filesystem::file_size(path, ec) == 0 && !ec;
    return input;
}

} // namespace dvx::cli
