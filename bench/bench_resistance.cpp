// SPDX-License-Identifier: GPL-3.0-or-later
// Recalculation of a 200 000-item circuit per item: today's mix (pipes,
// fittings by equivalent length, user items) against the same circuit with
// K items and valves by Kv mixed in, by each fitting method. The new kinds
// and methods are meant to stay within twice today's time per item.
//
//   build/bench/bench_resistance
#include "engine/catalogue/Tables.h"
#include "engine/hydraulics/Calc.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace dvx;

struct Lcg {
    unsigned long long s;
    double Next() {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(s >> 11) / 9007199254740992.0;
    }
};

constexpr std::size_t kItems = 200000;

// 55 % pipes, 30 % fittings of every type, 15 % user items; withNewKinds
// turns the user items into K items and valves (half each) and a third of
// the fittings into valves.
std::unique_ptr<TCircuit> Build(TProjectState& state, bool withNewKinds) {
    const TProjectContext project = state.Context();
    auto circuit = std::make_unique<TCircuit>(project);
    Lcg rng{7};
    for (std::size_t i = 0; i < kItems; ++i) {
        const double u = rng.Next();
        const int bore = static_cast<int>(rng.Next() * BoreCount) % BoreCount;
        std::unique_ptr<TBranch> item;
        if (u < 0.55) {
            auto pipe = std::make_unique<TPipe>(project);
            pipe->Length = 1 + 30 * rng.Next();
            item = std::move(pipe);
        } else if (u < 0.85 && !(withNewKinds && u > 0.75)) {
            auto fitting = std::make_unique<TFitting>(project, static_cast<int>(i % FittingCount));
            fitting->Quantity = 1 + static_cast<int>(rng.Next() * 4);
            item = std::move(fitting);
        } else if (!withNewKinds) {
            auto user = std::make_unique<TUser>(project);
            user->PressureDrop = 1000 + 50000 * rng.Next();
            item = std::move(user);
        } else if (u < 0.925) {
            auto valve = std::make_unique<TValve>(project);
            valve->Kv = 1 + 400 * rng.Next();
            item = std::move(valve);
        } else {
            auto k = std::make_unique<TKItem>(project);
            k->K = 0.1 + 2 * rng.Next();
            item = std::move(k);
        }
        item->SetBore(project, bore);
        item->Flow = state.Tables.BoreTable[bore].mf * (0.1 + rng.Next()) * 0.001;
        circuit->Items.push_back(std::move(item));
    }
    return circuit;
}

// Arg 0: today's mix by equivalent length; 1–3: the new kinds mixed in, by
// equivalent length, Crane K and 3-K.
void BM_Recalculate(benchmark::State& state) {
    const int variant = static_cast<int>(state.range(0));
    TProjectState project;
    project.Tables.FittingMethod = variant <= 1 ? TFittingMethod::EquivalentLength
                                   : variant == 2 ? TFittingMethod::CraneK
                                                  : TFittingMethod::ThreeK;
    const std::unique_ptr<TCircuit> circuit = Build(project, variant > 0);
    const TProjectContext context = project.Context();
    circuit->Calculate(context, false);
    for (auto _ : state) {
        circuit->Calculate(context, false);
        benchmark::DoNotOptimize(circuit->TotalDP);
    }
    state.counters["ns_per_item"] = benchmark::Counter(static_cast<double>(kItems) / 1e9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_Recalculate)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
