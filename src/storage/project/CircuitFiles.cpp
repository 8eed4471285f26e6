// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/CircuitFiles.h"

#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "storage/project/FileIO.h"
#include "storage/project/ProjectFile.h"
#include "storage/project/TextItems.h"

#include <algorithm>
#include <cctype>

namespace dvx {

TCircuitFileKind CircuitFileKind(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".dvx") return TCircuitFileKind::Project;
    if (ext == ".txt") return TCircuitFileKind::TextItems;
    return TCircuitFileKind::Other;
}

TLoadedCircuit LoadCircuitFile(const std::filesystem::path& path) {
    TLoadedCircuit loaded;
    switch (CircuitFileKind(path)) {
    case TCircuitFileKind::Project: {
        TProjectData data = ReadProject(path);
        loaded.MaterialMessage = ResolveStoredMaterial(data, ProgramTables());
        loaded.Circuit = std::move(data.Circuit);
        loaded.Fluid = std::move(data.Fluid);
        loaded.ItemCounter = data.HighestNumber;
        return loaded;
    }
    case TCircuitFileKind::TextItems: {
        std::vector<std::uint8_t> bytes;
        try {
            bytes = ReadFileBytes(path, kMaxTextItemsFileBytes);
        } catch (const FileError& e) {
            throw ProjectFileError("Error reading " + path.string(), e.what());
        }
        // A new circuit first (it restarts ItemCounter), then the items.
        loaded.Circuit = std::make_unique<TCircuit>();
        TTextImport import =
            ReadTextItems(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        InsertImportedItems(*loaded.Circuit, import);
        loaded.Messages = std::move(import.Messages);
        loaded.Circuit->Saved = true;
        loaded.ItemCounter = ItemCounter;
        return loaded;
    }
    case TCircuitFileKind::Other: break;
    }
    throw FileError(kReadExtensionMessage);
}

void ApplyLoadedCircuit(const TLoadedCircuit& loaded) {
    if (loaded.Fluid && SystemFluid) *SystemFluid = *loaded.Fluid;
    if (loaded.Circuit) {
        SelectPipeMaterial(loaded.Circuit->Material);
        ProgramTables().FittingMethod = loaded.Circuit->FittingMethod;
    }
    ItemCounter = loaded.ItemCounter;
}

void SaveCircuitFile(const std::filesystem::path& path, const TCircuit& circuit, const TFluid& fluid) {
    switch (CircuitFileKind(path)) {
    case TCircuitFileKind::Project: WriteProject(path, circuit, fluid); return;
    case TCircuitFileKind::TextItems: {
        try {
            const std::string content = TextItemsContent(circuit);
            WriteFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(content.data()),
                                                content.size()));
        } catch (const std::exception& e) {
            throw ProjectFileError("Error writing " + path.string(), e.what());
        }
        return;
    }
    case TCircuitFileKind::Other: break;
    }
    throw FileError(kWriteExtensionMessage);
}

} // namespace dvx
