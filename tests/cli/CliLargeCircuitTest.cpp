// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON document of a large circuit is written as it is converted, not
// held whole: 100 000 items fit in an address space that a document built
// in memory first (about 400 MB for these items) would overflow. How long
// it takes and how much memory it needs is measured in bench/bench_cli.

#include "CliRunner.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace dvx::test;

namespace {

TEST(CliLargeCircuit, JsonOfAHundredThousandItemsFitsInLittleMemory) {
    CliSandbox cli;
    constexpr int kItems = 100000;
    {
        std::ofstream out(cli.WorkFile("large.txt"), std::ios::binary);
        for (int i = 1; i <= kItems; ++i)
            out << (i % 2 ? "p, " : "u, ") << i << (i % 2 ? ", 'Riser', 102, 25.0, 0, 'Pipe', 10.0\r\n"
                                                      : ", 'Coil', 102, 25.0, 50, 'User'\r\n");
    }
    CliSandbox::TStandardInput input;
    input.Path = "/dev/null";
    input.AddressSpace = 192ull << 20;
    for (const char* form : {"--json", "--quiet"}) {
        SCOPED_TRACE(form);
        const TCliResult r = cli.RunWithInput({"calc", "--builtin", form, "large.txt"}, input);
        ASSERT_EQ(r.Exit, 0) << r.Err;
        EXPECT_EQ(r.Err, "");
        if (std::string(form) != "--json") continue;
        std::size_t items = 0;
        for (std::size_t at = r.Out.find("{\"number\":"); at != std::string::npos; at = r.Out.find("{\"number\":", at + 1))
            ++items;
        EXPECT_EQ(items, static_cast<std::size_t>(kItems));
        EXPECT_EQ(r.Out.substr(0, 22), "{\"version\":1,\"units\":{");
        EXPECT_EQ(r.Out.substr(r.Out.size() - 15), "\"warnings\":[]}\n");
    }
}

} // namespace
