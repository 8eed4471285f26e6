// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state one project is calculated with: its catalogue tables (bores,
// roughness, fittings, costs, defaults and limits, the active material), its
// liquid and the counter that numbers its new items. The calculation
// receives it explicitly, so two projects in one process compute
// independently.
//
// TProjectContext is a view; TProjectState owns a complete set for a
// project of its own (a test, a tool, a command, a second project).

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"

#include <cstdint>

namespace dvx {

struct TProjectContext {
    TCatalogueTables& Tables;
    TLiquid*& Liquid;          // the project's liquid; null until one exists
    std::int32_t& ItemCounter; // the last reference number handed to a new item
};

// The project's liquid, for a calculation: raises MathError (the
// calculation's failure) when the project has none yet.
const TLiquid& CalculationLiquid(const TProjectContext& project);

// A project's own tables (built-in values), liquid (clean water at the
// built-in default temperature) and item counter.
class TProjectState {
public:
    TProjectState();
    TProjectState(const TProjectState&) = delete;
    TProjectState& operator=(const TProjectState&) = delete;

    TCatalogueTables Tables;
    TLiquid Liquid;
    std::int32_t ItemCounter = 0;

    TProjectContext Context() { return {Tables, liquidView_, ItemCounter}; }

private:
    TLiquid* liquidView_ = &Liquid;
};

} // namespace dvx
