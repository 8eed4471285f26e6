// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Each test's own project: built-in tables, a fresh item counter and a
// liquid of round properties (1000 kg/m³, 0.001 Pa·s).

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"

#include <gtest/gtest.h>

namespace dvx::test {

class Hydraulics : public ::testing::Test {
protected:
    void SetUp() override {
        state_.Liquid.ro = 1000;
        state_.Liquid.mu = 0.001;
    }

    TProjectState state_;
    const TProjectContext project = state_.Context();
};

} // namespace dvx::test
