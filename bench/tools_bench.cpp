// The analysis tools' blocking operations: a truing fit (the window waits for it) and a
// comparison recompute of three and of five loads. The fit spreads over every core the process
// may use: run under `taskset -c 0,1` to see it on two.
#include "core/catalog.h"
#include "panes/comparison/comparison_model.h"
#include "panes/truing/truing_model.h"

#include <QThreadPool>

#include <benchmark/benchmark.h>

namespace {

// The default load and observations; with the BC fit on this runs up to 1 + 3 × 21 × 11
// integrations at a 10-yard row step out to 900 yd.
void BM_FitTruingWithBC(benchmark::State& state) {
    kavrino::TruingModel model;
    model.setTrueBC(true);
    for (auto _ : state) {
        model.fitTruing();
        benchmark::DoNotOptimize(model.result());
    }
    state.counters["poolThreads"] = QThreadPool::globalInstance()->maxThreadCount();
}
BENCHMARK(BM_FitTruingWithBC)->Unit(benchmark::kMillisecond);

void BM_FitTruingVelocityOnly(benchmark::State& state) {
    kavrino::TruingModel model;
    for (auto _ : state) {
        model.fitTruing();
        benchmark::DoNotOptimize(model.result());
    }
    state.counters["poolThreads"] = QThreadPool::globalInstance()->maxThreadCount();
}
BENCHMARK(BM_FitTruingVelocityOnly)->Unit(benchmark::kMillisecond);

kavrino::CatalogCartridge cartridge(const char* name, double caliber, double weight, double velocity, double g7) {
    kavrino::CatalogCartridge c;
    c.id = name;
    c.name = name;
    c.caliber = caliber;
    c.bulletWeight = weight;
    c.muzzleVelocity = velocity;
    c.g7BC = g7;
    return c;
}

// The first `state.range(0)` of five factory loads, 100-yard rows out to 1100 yd, 10 mph
// crosswind, spin drift on.
void BM_RecomputeComparison(benchmark::State& state) {
    kavrino::ComparisonModel model;
    const kavrino::CatalogCartridge loads[] = {
        cartridge("6.5 Creedmoor 140gr ELD Match", 0.264, 140, 2710, 0.326),
        cartridge(".308 Winchester 175gr SMK", 0.308, 175, 2600, 0.243),
        cartridge("300 Win Mag 190gr", 0.308, 190, 2900, 0.284),
        cartridge("6mm Creedmoor 108gr ELD Match", 0.243, 108, 2960, 0.270),
        cartridge(".223 Remington 77gr TMK", 0.224, 77, 2750, 0.210),
    };
    for (int i = 0; i < state.range(0); ++i) model.add(loads[i]);
    for (auto _ : state) {
        model.recomputeComparison();
        benchmark::DoNotOptimize(model.loads());
    }
}
BENCHMARK(BM_RecomputeComparison)->Arg(3)->Arg(5)->ArgName("loads")->Unit(benchmark::kMillisecond);

}  // namespace
