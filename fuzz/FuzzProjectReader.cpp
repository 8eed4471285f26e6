// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the project-file reader. Any input must end in a project or
// a FileError; a project that was read must write and read back to the same
// bytes.

#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/ProjectContext.h"
#include "storage/project/ProjectFile.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {
// The project every input is read into, as the program reads a file into
// its open project.
dvx::TProjectState& Project() {
    static dvx::TProjectState state;
    return state;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    dvx::TProjectData project{nullptr, Project().Liquid, 0, {}, {}};
    try {
        project = dvx::ParseProject(bytes, Project().Liquid, Project().Context());
    } catch (const dvx::FileError&) {
        return 0;
    }
    // Whatever was read is written in the current form, which must read back
    // and write again identically.
    const std::vector<std::uint8_t> first = dvx::EncodeProject(*project.Circuit, project.Fluid, Project().Tables);
    const dvx::TProjectData again = dvx::ParseProject(first, Project().Liquid, Project().Context());
    const std::vector<std::uint8_t> second = dvx::EncodeProject(*again.Circuit, again.Fluid, Project().Tables);
    if (first != second || again.HighestNumber != project.HighestNumber) std::abort();
    return 0;
}
