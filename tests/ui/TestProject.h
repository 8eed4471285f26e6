// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The project the window tests give their windows.

#include "engine/hydraulics/ProjectContext.h"

namespace dvx::test {

// The project one test program's windows work on: a state of the test
// program's own, started with the built-in tables and clean water at 9 °C.
// A test that needs it as new puts it back itself (ResetTestProject, or
// DialogTestBase::FreshStart for the tables).
inline TProjectState& TestState() {
    static TProjectState state;
    return state;
}

inline TProjectContext TestProject() { return TestState().Context(); }

// Built-in tables, clean water at temperature (°C), no item numbered yet.
inline void ResetTestProject(double temperature = BuiltInDefaultTemperature) {
    TProjectState& state = TestState();
    state.Tables.RestoreBuiltIn();
    state.Liquid = TLiquid("Water", 0, 0.0, temperature, temperature);
    state.ItemCounter = 0;
}

} // namespace dvx::test
