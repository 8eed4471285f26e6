// SPDX-License-Identifier: GPL-3.0-or-later
// File loading against file size: an INI file (the settings store, the
// catalogues and the refrigerant library read through the same document)
// and a project file, each of 1, 10 and 100 MB, and a project whose
// description is nothing but empty lines (two bytes each, the most lines a
// byte of file can hold), of 1, 10 and 50 MB. Time and peak memory should
// both grow in proportion to the size.
//
//   build/bench/bench_files
//
// Counters: file_MB is the file's size, peak_x the peak heap of one load
// divided by the file size (the heap is counted by this program's operator
// new, so the figure is the reader's own, independent of the allocator);
// rss_x the rise of the resident set over one load in a child process of
// its own, divided by the file size (what the system sees, allocator
// included).

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "base/platform/IniFileIO.h"
#include "storage/project/FileIO.h"
#include "storage/project/ProjectFile.h"

#include "HeapCounter.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <new>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace dvx;

// The benchmarks' project: built-in tables, clean water at the built-in
// default temperature.
TProjectState& BenchProject() {
    static TProjectState project;
    return project;
}
namespace fs = std::filesystem;

fs::path Folder() {
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / ("darvenix-bench-files-" + std::to_string(::getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

// Short key=value lines in sections of 40 keys: the shape that costs the
// most per byte.
fs::path IniFile(std::size_t megabytes) {
    const fs::path path = Folder() / ("s" + std::to_string(megabytes) + ".ini");
    if (fs::exists(path)) return path;
    std::string text;
    const std::size_t target = megabytes << 20;
    text.reserve(target + 64);
    for (int section = 0; text.size() < target; ++section) {
        text += "[Section " + std::to_string(section) + "]\n";
        for (int k = 0; k < 40 && text.size() < target; ++k) text += "Key" + std::to_string(k) + "=" + std::to_string(section + k) + "\n";
    }
    WriteFileAtomically(path, text);
    return path;
}

std::unique_ptr<TCircuit> Circuit(std::size_t items) {
    auto c = std::make_unique<TCircuit>(BenchProject().Context());
    c->Heading1 = "Benchmark project";
    for (std::size_t i = 0; i < items; ++i) {
        std::unique_ptr<TBranch> item;
        if (i % 3 == 0)
            item = std::make_unique<TPipe>(BenchProject().Context());
        else if (i % 3 == 1)
            item = std::make_unique<TFitting>(BenchProject().Context(), static_cast<int>(i % FittingCount));
        else
            item = std::make_unique<TUser>(BenchProject().Context());
        item->Description = "Riser section " + std::to_string(i);
        item->SetBore(BenchProject().Context(), static_cast<int>(i % BoreCount));
        item->Flow = 0.001 * static_cast<double>(1 + i % 40);
        c->Append(std::move(item));
    }
    return c;
}

fs::path ProjectFile(std::size_t megabytes) {
    const fs::path path = Folder() / ("p" + std::to_string(megabytes) + ".dvx");
    if (fs::exists(path)) return path;
    const std::size_t perItem = EncodeProject(*Circuit(3000), BenchProject().Liquid, BenchProject().Tables).size() / 3000 + 1;
    WriteProject(path, *Circuit((megabytes << 20) / perItem), BenchProject().Liquid, BenchProject().Tables);
    return path;
}

// A project whose description is empty lines only.
fs::path EmptyLinesProject(std::size_t megabytes) {
    const fs::path path = Folder() / ("e" + std::to_string(megabytes) + ".dvx");
    if (fs::exists(path)) return path;
    TCircuit c(BenchProject().Context());
    for (std::size_t i = 0; i < (megabytes << 20) / 2; ++i) c.DescriptionLines.Append("");
    WriteProject(path, c, BenchProject().Liquid, BenchProject().Tables);
    return path;
}

// kB, a line "Name:   1234 kB" of /proc/self/status.
std::size_t StatusKilobytes(const char* name) {
    std::ifstream status("/proc/self/status");
    std::string key;
    std::size_t value = 0;
    while (status >> key) {
        if (key == name) {
            status >> value;
            return value;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0;
}

// Bytes the resident set rises by over one load, measured in a child
// process: the free heap is given back and the peak reset first
// (clear_refs), so only the load counts.
template <typename Load>
double ResidentRise(const fs::path& path, Load load) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        // Memory the parent freed would otherwise be reused without a rise.
        ::malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        const std::size_t before = StatusKilobytes("VmRSS:");
        load(path);
        const std::size_t rise = (StatusKilobytes("VmHWM:") - before) * 1024;
        if (::write(fds[1], &rise, sizeof rise) != sizeof rise) ::_exit(1);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::size_t rise = 0;
    const bool got = ::read(fds[0], &rise, sizeof rise) == sizeof rise;
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return got ? static_cast<double>(rise) : -1;
}

template <typename Load>
void Measure(benchmark::State& state, const fs::path& path, Load load) {
    const double size = static_cast<double>(fs::file_size(path));
    const std::size_t before = bench::heapNow.load();
    bench::heapPeak.store(before);
    load(path);
    const double peak = static_cast<double>(bench::heapPeak.load() - before);
    const double rss = ResidentRise(path, load);
    for (auto _ : state) load(path);
    state.counters["file_MB"] = size / (1 << 20);
    state.counters["peak_x"] = peak / size;
    state.counters["rss_x"] = rss / size;
    state.SetBytesProcessed(static_cast<std::int64_t>(size) * state.iterations());
}

void BM_LoadIniFile(benchmark::State& state) {
    Measure(state, IniFile(static_cast<std::size_t>(state.range(0))), [](const fs::path& p) {
        IniLoad load = LoadIniFile(p.string());
        benchmark::DoNotOptimize(load.Doc.Value("Section 7", "Key3"));
    });
}

void BM_ReadProjectFile(benchmark::State& state) {
    Measure(state, ProjectFile(static_cast<std::size_t>(state.range(0))), [](const fs::path& p) {
        TProjectData data = ReadProject(p, BenchProject().Context());
        benchmark::DoNotOptimize(data.Circuit.get());
    });
}

void BM_ReadEmptyLinesProject(benchmark::State& state) {
    Measure(state, EmptyLinesProject(static_cast<std::size_t>(state.range(0))), [](const fs::path& p) {
        TProjectData data = ReadProject(p, BenchProject().Context());
        benchmark::DoNotOptimize(data.Circuit.get());
    });
}

BENCHMARK(BM_LoadIniFile)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadProjectFile)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadEmptyLinesProject)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(Folder(), ec);
    return 0;
}
