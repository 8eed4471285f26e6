// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tests that change the process-wide tables put them back afterwards.

#include "engine/catalogue/Tables.h"

#include <gtest/gtest.h>

namespace dvx::test {

class BuiltInTables : public ::testing::Test {
protected:
    void SetUp() override { RestoreBuiltInTables(); }
    void TearDown() override { RestoreBuiltInTables(); }
};

} // namespace dvx::test
