// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli calc on large circuits, the text table against the JSON
// document: the wall time of a whole run (start, read, calculate, write to
// /dev/null) and the run's peak resident memory ("peak_MB", from wait4).
// The JSON document is written item by item, so it should take no more
// memory than the text table and little more time.
//
//   build/bench/bench_cli                                 # 10 000 to 1 000 000 items
//   build/bench/bench_cli --benchmark_filter=/100000$     # 100 000 items only

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A scratch folder for the generated circuits and a home of the runs' own,
// removed at exit.
class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "bench_cli.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        folder_ = pattern;
        fs::create_directories(folder_ / "home");
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    const fs::path& Folder() const { return folder_; }

private:
    fs::path folder_;
};

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

// A text item file of n items: pipes, fittings and user items in turn.
const fs::path& Circuit(long n) {
    static std::map<long, fs::path> made;
    auto it = made.find(n);
    if (it != made.end()) return it->second;
    const fs::path path = TheScratch().Folder() / ("circuit-" + std::to_string(n) + ".txt");
    std::ofstream out(path, std::ios::binary);
    for (long i = 1; i <= n; ++i) {
        const std::string number = std::to_string(i);
        switch (i % 3) {
        case 0: out << "p, " << number << ", 'Riser " << number << "', 102, 25.0, 0, 'Pipe', 10.0\r\n"; break;
        case 1: out << "f, " << number << ", 'Bends, long', 102, 25.0, 0, 'Std Elbow 90 deg', 0, 2\r\n"; break;
        default: out << "u, " << number << ", 'Coil', 102, 25.0, 50, 'User'\r\n"; break;
        }
    }
    return made.emplace(n, path).first->second;
}

struct TRun {
    bool Ok = false;
    double PeakMB = 0;
};

TRun RunCli(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {DARVENIX_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    const std::string home = (TheScratch().Folder() / "home").string();
    std::vector<std::string> env = {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config",
                                    "XDG_DATA_HOME=" + home + "/data", "LC_ALL=C"};
    std::vector<char*> argp, envp;
    for (auto& a : argv) argp.push_back(a.data());
    argp.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return {};
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid) return {};
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

void Calc(benchmark::State& state, const char* form) {
    const std::string circuit = Circuit(state.range(0)).string();
    std::vector<std::string> args = {"calc", "--builtin", circuit};
    if (*form) args.push_back(form);
    double peak = 0;
    for (auto _ : state) {
        const TRun run = RunCli(args);
        if (!run.Ok) {
            state.SkipWithError("darvenix-cli failed");
            return;
        }
        peak = std::max(peak, run.PeakMB);
    }
    state.counters["peak_MB"] = peak;
    state.counters["items"] = static_cast<double>(state.range(0));
}

void TextTable(benchmark::State& state) { Calc(state, ""); }
void JsonDocument(benchmark::State& state) { Calc(state, "--json"); }

BENCHMARK(TextTable)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(JsonDocument)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
