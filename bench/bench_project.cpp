// SPDX-License-Identifier: GPL-3.0-or-later
// Project file speed and memory: writing and reading a 100 000-item project.
//
//   build/bench/bench_project                 timings (Google Benchmark)
//   build/bench/bench_project --memory        peak heap while reading vs the file size
//
// The heap is measured by counting what operator new hands out in this
// program, so the figure is the reader's own, independent of the allocator.

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "storage/project/FileIO.h"
#include "storage/project/ProjectFile.h"

#include "HeapCounter.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace dvx;

// The benchmarks' project: built-in tables, clean water at the built-in
// default temperature.
TProjectState& BenchProject() {
    static TProjectState project;
    return project;
}

constexpr int kItems = 100000;

// A circuit of pipes, fittings and user items with realistic texts.
std::unique_ptr<TCircuit> BigCircuit() {
    auto c = std::make_unique<TCircuit>(BenchProject().Context());
    c->Heading1 = "Benchmark project";
    c->DescriptionLines = {"A circuit of one hundred thousand items"};
    for (int i = 0; i < kItems; ++i) {
        std::unique_ptr<TBranch> item;
        switch (i % 3) {
        case 0: {
            auto p = std::make_unique<TPipe>(BenchProject().Context());
            p->Length = 1 + i % 50;
            item = std::move(p);
            break;
        }
        case 1: {
            auto f = std::make_unique<TFitting>(BenchProject().Context(), i % FittingCount);
            f->Quantity = 1 + i % 4;
            f->Length = 3.069 * f->Quantity;
            f->EquivLength = 3.069;
            item = std::move(f);
            break;
        }
        default: item = std::make_unique<TUser>(BenchProject().Context()); break;
        }
        item->Description = "Riser section " + std::to_string(i);
        item->SetBore(BenchProject().Context(), i % BoreCount);
        item->Flow = 0.001 * (1 + i % 40);
        item->PressureDrop = 1000.0 + i;
        item->Group = i % 7;
        c->Append(std::move(item));
    }
    return c;
}

std::filesystem::path TempFile() {
    return std::filesystem::temp_directory_path() / ("darvenix-bench-" + std::to_string(::getpid()) + ".dvx");
}

void BM_EncodeProject(benchmark::State& state) {
    const auto circuit = BigCircuit();
    std::size_t size = 0;
    for (auto _ : state) {
        auto bytes = EncodeProject(*circuit, BenchProject().Liquid, BenchProject().Tables);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["file_bytes"] = static_cast<double>(size);
}

void BM_WriteProject(benchmark::State& state) {
    const auto circuit = BigCircuit();
    const auto path = TempFile();
    for (auto _ : state) WriteProject(path, *circuit, BenchProject().Liquid, BenchProject().Tables);
    std::filesystem::remove(path);
}

void BM_ParseProject(benchmark::State& state) {
    const auto bytes = EncodeProject(*BigCircuit(), BenchProject().Liquid, BenchProject().Tables);
    for (auto _ : state) {
        auto data = ParseProject(bytes, BenchProject().Liquid, BenchProject().Context());
        benchmark::DoNotOptimize(data.Circuit.get());
    }
}

void BM_ReadProject(benchmark::State& state) {
    const auto path = TempFile();
    WriteProject(path, *BigCircuit(), BenchProject().Liquid, BenchProject().Tables);
    for (auto _ : state) {
        auto data = ReadProject(path, BenchProject().Context());
        benchmark::DoNotOptimize(data.Circuit.get());
    }
    std::filesystem::remove(path);
}

BENCHMARK(BM_EncodeProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond);

int MeasureMemory() {
    const auto path = TempFile();
    {
        const auto circuit = BigCircuit();
        WriteProject(path, *circuit, BenchProject().Liquid, BenchProject().Tables);
    }
    const auto fileSize = std::filesystem::file_size(path);
    const std::size_t before = bench::heapNow.load();
    bench::heapPeak.store(before);
    std::size_t kept = 0;
    {
        auto data = ReadProject(path, BenchProject().Context());
        kept = bench::heapNow.load() - before;
    }
    const std::size_t peak = bench::heapPeak.load() - before;
    std::filesystem::remove(path);
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("items               %d\n", kItems);
    std::printf("file size           %zu bytes\n", static_cast<std::size_t>(fileSize));
    std::printf("peak heap (read)    %zu bytes = %.2f x file size\n", peak,
                static_cast<double>(peak) / static_cast<double>(fileSize));
    std::printf("project in memory   %zu bytes = %.2f x file size\n", kept,
                static_cast<double>(kept) / static_cast<double>(fileSize));
    std::printf("process max RSS     %ld KiB\n", usage.ru_maxrss);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--memory") == 0) return MeasureMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
