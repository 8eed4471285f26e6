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

TLoadedCircuit LoadCircuitFile(const std::filesystem::path& path, const TProjectContext& project) {
    TLoadedCircuit loaded;
    switch (CircuitFileKind(path)) {
    case TCircuitFileKind::Project: {
        TProjectData data = ReadProject(path, project);
        loaded.MaterialMessage = ResolveStoredMaterial(data, project.Tables);
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
        // A new circuit first (it restarts the item counter), then the items.
        loaded.Circuit = std::make_unique<TCircuit>(project);
        TTextImport import =
            ReadTextItems(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), project);
        InsertImportedItems(*loaded.Circuit, import);
        loaded.Messages = std::move(import.Messages);
        loaded.Circuit->Saved = true;
        loaded.ItemCounter = project.ItemCounter;
        return loaded;
    }
    case TCircuitFileKind::Other: break;
    }
    throw FileError(kReadExtensionMessage);
}

void ApplyLoadedCircuit(const TLoadedCircuit& loaded, const TProjectContext& project) {
    if (loaded.Fluid && project.Liquid) *project.Liquid = *loaded.Fluid;
    if (loaded.Circuit) {
        project.Tables.SelectPipeMaterial(loaded.Circuit->Material);
        project.Tables.FittingMethod = loaded.Circuit->FittingMethod;
    }
    project.ItemCounter = loaded.ItemCounter;
}

void SaveCircuitFile(const std::filesystem::path& path, const TCircuit& circuit, const TFluid& fluid,
                     const TCatalogueTables& tables) {
    switch (CircuitFileKind(path)) {
    case TCircuitFileKind::Project: WriteProject(path, circuit, fluid, tables); return;
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
