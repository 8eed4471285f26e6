// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project the window tests give their windows.

#include "engine/hydraulics/ProjectContext.h"

namespace dvx::test {

// The project a test's windows work on. Start-up, the settings readers and
// the project files still put their values in force in the program's
// project, so the windows are given that one; a test that needs built-in
// tables puts them back itself (DialogTestBase::FreshStart).
inline TProjectContext TestProject() {
    return ProgramContext();
}

} // namespace dvx::test
