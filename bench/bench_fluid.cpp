// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one liquid evaluation (TLiquid::Evaluate) for every library liquid
// and for the three water-additive mixtures, at a temperature inside each
// valid range.

#include "engine/fluid/Fluid.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

// Mid-range temperature of each liquid code, °C.
constexpr double MidRange[14] = {150, 150, 150, 25, 50, 0, 0, 158, 0, -10, 0, 0, 150, 225};

void BM_EvaluateLiquid(benchmark::State& state) {
    const auto code = static_cast<std::uint8_t>(state.range(0));
    dvx::TLiquid liquid("Bench", code, 0, MidRange[code], MidRange[code]);
    state.SetLabel(liquid.GetCaption());
    for (auto _ : state) {
        liquid.Evaluate();
        benchmark::DoNotOptimize(liquid.mu);
        benchmark::DoNotOptimize(liquid.Pr);
    }
}
BENCHMARK(BM_EvaluateLiquid)->DenseRange(0, 13);

void BM_EvaluateMixture(benchmark::State& state) {
    dvx::TLiquid liquid("Bench", 0, 0, 5, 5);
    liquid.WaterAdditive = static_cast<std::uint8_t>(state.range(0));
    liquid.AdditiveVolume = 0.3;
    liquid.Evaluate();
    state.SetLabel(liquid.GetCaption());
    for (auto _ : state) {
        liquid.Evaluate();
        benchmark::DoNotOptimize(liquid.mu);
        benchmark::DoNotOptimize(liquid.Pr);
    }
}
BENCHMARK(BM_EvaluateMixture)->DenseRange(1, 3);

} // namespace

BENCHMARK_MAIN();
