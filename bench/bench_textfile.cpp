// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a text item file of a million lines: file to bytes, lines to
// items, items into a new circuit.

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "storage/project/TextItems.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace dvx {
namespace {

// The benchmarks' project: built-in tables, clean water at the built-in
// default temperature.
TProjectState& BenchProject() {
    static TProjectState project;
    return project;
}

const std::string& MillionLineFile() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "darvenix_bench_1m.txt";
        TCircuit circuit(BenchProject().Context());
        for (int i = 0; i < 1000000; ++i) {
            std::unique_ptr<TBranch> item;
            switch (i % 3) {
            case 0: item = std::make_unique<TPipe>(BenchProject().Context()); break;
            case 1: item = std::make_unique<TFitting>(BenchProject().Context(), i % FittingCount); break;
            default: item = std::make_unique<TUser>(BenchProject().Context()); item->PressureDrop = 12345; break;
            }
            item->SetBore(BenchProject().Context(), i % BoreCount);
            item->Description = i % 7 == 0 ? "Riser, level " + std::to_string(i % 40) : item->TypeName;
            circuit.Items.push_back(std::move(item));
        }
        WriteTextItemsFile(circuit, file.string());
        std::atexit([] { std::filesystem::remove(std::filesystem::temp_directory_path() / "darvenix_bench_1m.txt"); });
        return file.string();
    }();
    return path;
}

void BM_ReadMillionLines(benchmark::State& state) {
    const std::string& path = MillionLineFile();
    std::size_t count = 0;
    for (auto _ : state) {
        TCircuit circuit(BenchProject().Context());
        TTextImport import = ReadTextItems(ReadTextFileBytes(path), BenchProject().Context());
        InsertImportedItems(circuit, import);
        count = static_cast<std::size_t>(circuit.Count());
        state.PauseTiming(); // freeing the million items is not part of reading
        circuit.Items.clear();
        state.ResumeTiming();
    }
    if (count != 1000000) state.SkipWithError("not every line became an item");
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_ReadMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace dvx

BENCHMARK_MAIN();
