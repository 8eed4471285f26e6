// SPDX-License-Identifier: GPL-3.0-or-later
// Friction factor per regime, circuit calculation per item on large mixed
// circuits (with the memory an item takes), and the same formulas on plain
// arrays as the floor the object model is measured against.

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "engine/pump/PumpAnalysis.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <vector>

namespace dvx {
namespace {

// The benchmarks' project: built-in tables with galvanised iron (rough
// enough for the fully rough regime), clean water at the built-in default
// temperature.
TProjectState& BenchProject() {
    static TProjectState project;
    static const bool started = project.Tables.SelectPipeMaterial(pmGalvIron);
    (void)started;
    return project;
}

void StartUp() { BenchProject(); }

// Inputs of FrictionFactor for each regime (f0, eps, D, Re).
struct FrictionInput {
    double f0, eps, D, Re;
};
const std::map<int, FrictionInput> kRegimeInputs = {
    {frLaminar, {0.017, 0.000046, 0.1023, 1500}},
    {frSmooth, {0.017, 0, 0.1023, 311153}},
    {frColebrook, {0.017, 0.000046, 0.1023, 311153}},
    {frFullyRough, {0.05, 0.01, 1, 1e7}},
    {frNoFlow, {0.017, 0.000046, 0.1023, 0}},
};

void BM_FrictionFactor(benchmark::State& state) {
    const int regime = static_cast<int>(state.range(0));
    FrictionInput in = kRegimeInputs.at(regime);
    int seen = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(in);
        TFrictionResult r = FrictionFactor(in.f0, in.eps, in.D, in.Re);
        seen = r.Regime;
        benchmark::DoNotOptimize(r);
    }
    if (seen != regime) state.SkipWithError("inputs do not give the regime");
    state.SetLabel(regime == frLaminar ? "laminar" : regime == frSmooth ? "smooth" : regime == frColebrook ? "Colebrook"
                   : regime == frFullyRough ? "fully rough" : "no flow");
}
BENCHMARK(BM_FrictionFactor)->Arg(frLaminar)->Arg(frSmooth)->Arg(frColebrook)->Arg(frFullyRough)->Arg(frNoFlow);

// A cheap deterministic sequence for the generated circuits.
struct Lcg {
    unsigned long long s;
    double Next() {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(s >> 11) / 9007199254740992.0;
    }
};

// Mixed circuit of n items: 55 % pipes, 30 % fittings of every type, 15 %
// user items; every bore; flows from a trickle (laminar) through the bore's
// maximum to eight times it on small bores (fully rough with galvanised iron).
void BuildCircuit(TCircuit& circuit, std::size_t n) {
    Lcg rng{42};
    circuit.Items.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double u = rng.Next();
        const int bore = static_cast<int>(rng.Next() * BoreCount) % BoreCount;
        std::unique_ptr<TBranch> item;
        if (u < 0.55) {
            auto pipe = std::make_unique<TPipe>(BenchProject().Context());
            pipe->Length = 1 + 30 * rng.Next();
            item = std::move(pipe);
        } else if (u < 0.85) {
            auto fitting = std::make_unique<TFitting>(BenchProject().Context(), static_cast<int>(i % FittingCount));
            fitting->Quantity = 1 + static_cast<int>(rng.Next() * 4);
            item = std::move(fitting);
        } else {
            auto user = std::make_unique<TUser>(BenchProject().Context());
            user->PressureDrop = 1000 + 50000 * rng.Next();
            item = std::move(user);
        }
        item->SetBore(BenchProject().Context(), bore);
        const double v = rng.Next();
        const double scale = v < 0.05 ? 0.0005 : (v > 0.95 && bore >= 15 ? 8.0 : 0.1 + v);
        item->Flow = BenchProject().Tables.BoreTable[bore].mf * scale * 0.001;
        circuit.Items.push_back(std::move(item));
    }
}

struct BuiltCircuit {
    std::unique_ptr<TCircuit> circuit;
    double heapBytesPerItem = 0; // heap in use after building, malloc overhead included
    std::array<long, 5> regimes{}; // items per regime code + 1 at the first calculation
};

BuiltCircuit& Circuit(std::size_t n) {
    static std::map<std::size_t, BuiltCircuit> cache;
    auto it = cache.find(n);
    if (it != cache.end()) return it->second;
    StartUp();
    BuiltCircuit built;
    const std::size_t heapBefore = mallinfo2().uordblks;
    built.circuit = std::make_unique<TCircuit>(BenchProject().Context());
    BuildCircuit(*built.circuit, n);
    built.heapBytesPerItem = static_cast<double>(mallinfo2().uordblks - heapBefore) / static_cast<double>(n);
    for (const auto& item : built.circuit->Items) {
        if (item->Kind() == TItemKind::User) continue;
        const auto& pipe = static_cast<const TPipe&>(*item);
        const double D = pipe.InsideDiameter;
        const double Re = BenchProject().Liquid.ro * (pipe.Flow / (D * D * std::numbers::pi / 4)) * D / BenchProject().Liquid.mu;
        const double eps = item->Kind() == TItemKind::Fitting ? 0 : BenchProject().Tables.CurrentRoughness;
        built.regimes[static_cast<std::size_t>(FrictionFactor(pipe.Friction, eps, D, Re).Regime + 1)]++;
    }
    return cache.emplace(n, std::move(built)).first->second;
}

void BM_Calculate(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    BuiltCircuit& built = Circuit(n);
    for (auto _ : state) {
        built.circuit->Calculate(BenchProject().Context(), false);
        benchmark::DoNotOptimize(built.circuit->TotalDP);
    }
    state.counters["ns_per_item"] = benchmark::Counter(static_cast<double>(n) / 1e9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["heap_B_per_item"] = built.heapBytesPerItem;
    state.counters["laminar"] = static_cast<double>(built.regimes[frLaminar + 1]);
    state.counters["smooth"] = static_cast<double>(built.regimes[frSmooth + 1]);
    state.counters["colebrook"] = static_cast<double>(built.regimes[frColebrook + 1]);
    state.counters["rough"] = static_cast<double>(built.regimes[frFullyRough + 1]);
}
// Heap per item of one kind, vector slot and malloc overhead included.
template <typename Make>
double HeapPerItem(Make make) {
    constexpr std::size_t n = 20000;
    std::vector<std::unique_ptr<TBranch>> items;
    const std::size_t before = mallinfo2().uordblks;
    items.reserve(n);
    for (std::size_t i = 0; i < n; ++i) items.push_back(make());
    return static_cast<double>(mallinfo2().uordblks - before) / n;
}

// Object sizes and heap per kind, for the memory figures.
void BM_ItemSizes(benchmark::State& state) {
    StartUp();
    for (auto _ : state) benchmark::DoNotOptimize(state.iterations());
    state.counters["sizeof_TPipe"] = sizeof(TPipe);
    state.counters["sizeof_TFitting"] = sizeof(TFitting);
    state.counters["sizeof_TUser"] = sizeof(TUser);
    state.counters["heap_pipe"] = HeapPerItem([] { return std::make_unique<TPipe>(BenchProject().Context()); });
    state.counters["heap_user"] = HeapPerItem([] { return std::make_unique<TUser>(BenchProject().Context()); });
    // The longest fitting name: type name and description both on the heap.
    state.counters["heap_long_fitting"] = HeapPerItem([] { return std::make_unique<TFitting>(BenchProject().Context(), 7); });
    state.counters["heap_short_fitting"] = HeapPerItem([] { return std::make_unique<TFitting>(BenchProject().Context(), 2); });
}
BENCHMARK(BM_ItemSizes)->Iterations(1);

BENCHMARK(BM_Calculate)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The 41-point system curve of a calculated circuit (the target for 100 000
// items is 0.5 s), and the same with a pump's duty point found on it.
void BM_SystemCurve(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    TCircuit& circuit = *Circuit(n).circuit;
    circuit.Calculate(BenchProject().Context(), false);
    for (auto _ : state) {
        TSystemCurve curve = BuildSystemCurve(BenchProject().Context(), circuit, false, TCurveSettings{});
        benchmark::DoNotOptimize(curve.Points.back().PressureDrop);
    }
}
BENCHMARK(BM_SystemCurve)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PumpAnalysis(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    TCircuit& circuit = *Circuit(n).circuit;
    circuit.Calculate(BenchProject().Context(), false);
    // A pump through the design point: 1.5 times its head at shut-off,
    // zero at twice the design flow.
    const TSystemCurve curve = BuildSystemCurve(BenchProject().Context(), circuit, false, TCurveSettings{});
    TPumpSettings pump;
    const double q = curve.DesignFlow, h = curve.Design.Head;
    pump.Points = {{0, 1.5 * h, 0}, {q, h, 0.7}, {1.6 * q, 0.6 * h, 0.6}};
    for (auto _ : state) {
        TPumpAnalysis a = AnalysePump(BenchProject().Context(), circuit, false, pump);
        benchmark::DoNotOptimize(a.Duty);
    }
}
BENCHMARK(BM_PumpAnalysis)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The floor: the same formulas over plain arrays, no objects, no virtual
// calls, no fault checks.
struct PlainCircuit {
    std::vector<unsigned char> kind; // 0 pipe, 1 fitting, 2 user
    std::vector<double> D, flow, length, quantity, C, f, area, velocity, reynolds, dp, gradient, volume;
    std::vector<unsigned char> warning;
};

PlainCircuit Plain(const TCircuit& circuit) {
    PlainCircuit p;
    const std::size_t n = circuit.Items.size();
    for (auto* v : {&p.D, &p.flow, &p.length, &p.quantity, &p.C, &p.f, &p.area, &p.velocity, &p.reynolds, &p.dp,
                    &p.gradient, &p.volume})
        v->resize(n);
    p.kind.resize(n);
    p.warning.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const TBranch& item = *circuit.Items[i];
        p.kind[i] = item.Kind() == TItemKind::Pipe ? 0 : item.Kind() == TItemKind::Fitting ? 1 : 2;
        p.D[i] = item.InsideDiameter;
        p.flow[i] = item.Flow;
        p.f[i] = BenchProject().Tables.BoreTable[item.BoreIndex].ff;
        p.dp[i] = item.PressureDrop;
        if (item.Kind() == TItemKind::Pipe) p.length[i] = static_cast<const TPipe&>(item).Length;
        if (item.Kind() == TItemKind::Fitting) {
            const auto& fit = static_cast<const TFitting&>(item);
            p.quantity[i] = fit.Quantity;
            p.C[i] = BenchProject().Tables.FittingTable[fit.FittingType].C;
        }
    }
    return p;
}

void BM_PlainArrays(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    PlainCircuit p = Plain(*Circuit(n).circuit);
    const double ro = BenchProject().Liquid.ro, mu = BenchProject().Liquid.mu, eps = BenchProject().Tables.CurrentRoughness;
    for (auto _ : state) {
        double total = 0, totalVolume = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (p.kind[i] == 2) {
                p.volume[i] = 0;
            } else {
                const double D = p.D[i];
                if (p.kind[i] == 1) p.length[i] = p.quantity[i] * p.C[i] * D;
                const double area = D * D * std::numbers::pi / 4;
                const double v = p.flow[i] / area;
                const double re = ro * v * D / mu;
                const double f = FrictionFactor(p.f[i], p.kind[i] == 1 ? 0 : eps, D, re).f;
                const double dp = v * v * (0.5 * ro * f * p.length[i]) / D;
                const double g = dp / p.length[i];
                p.area[i] = area;
                p.velocity[i] = v;
                p.reynolds[i] = re;
                p.f[i] = f;
                p.dp[i] = dp;
                p.gradient[i] = g;
                p.warning[i] = p.kind[i] == 1 ? (v > BenchProject().Tables.VelocityLimit ? 2 : g > BenchProject().Tables.GradientLimit ? 1 : 0)
                                              : (g > BenchProject().Tables.GradientLimit ? 1 : v > BenchProject().Tables.VelocityLimit ? 2 : 0);
                p.volume[i] = area * p.length[i];
            }
            total += p.dp[i];
            totalVolume += p.volume[i];
        }
        benchmark::DoNotOptimize(total);
        benchmark::DoNotOptimize(totalVolume);
    }
    state.counters["ns_per_item"] = benchmark::Counter(static_cast<double>(n) / 1e9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PlainArrays)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace dvx

BENCHMARK_MAIN();
