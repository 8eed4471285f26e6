// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Each test's own tables (built-in values), in a project of its own.

#include "engine/catalogue/Tables.h"
#include "engine/hydraulics/ProjectContext.h"

#include <gtest/gtest.h>

namespace dvx::test {

class BuiltInTables : public ::testing::Test {
protected:
    TProjectState state_;
    const TProjectContext project = state_.Context();
};

} // namespace dvx::test
