// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Built-in tables, a fresh item counter and a liquid of round properties
// (1000 kg/m³, 0.001 Pa·s); the tables are put back after each test.

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"

#include <gtest/gtest.h>

namespace dvx::test {

class Hydraulics : public ::testing::Test {
protected:
    void SetUp() override {
        RestoreBuiltInTables();
        StartFluidModule(DefaultTemperature);
        SystemFluid->ro = 1000;
        SystemFluid->mu = 0.001;
        ItemCounter = 0;
    }
    void TearDown() override { RestoreBuiltInTables(); }
};

} // namespace dvx::test
