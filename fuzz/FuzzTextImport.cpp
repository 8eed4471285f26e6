// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the text item import. Any bytes must give a list of items
// (possibly empty) that the circuit takes, the export writes and the
// project file carries.

#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/ProjectContext.h"
#include "storage/project/ProjectFile.h"
#include "storage/project/TextItems.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {
// The project every input is read into, as the program reads a file into
// its open project.
dvx::TProjectState& Project() {
    static dvx::TProjectState state;
    return state;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dvx::TCircuit circuit(Project().Context());
    dvx::TTextImport import = dvx::ReadTextItems(std::string_view(reinterpret_cast<const char*>(data), size), Project().Context());
    dvx::InsertImportedItems(circuit, import);
    (void)dvx::TextItemsContent(circuit);
    // Every imported item is a valid project item.
    const auto bytes = dvx::EncodeProject(circuit, Project().Liquid, Project().Tables);
    const dvx::TProjectData back = dvx::ParseProject(bytes, Project().Liquid, Project().Context());
    if (back.Circuit->Count() != circuit.Count()) std::abort();
    return 0;
}
