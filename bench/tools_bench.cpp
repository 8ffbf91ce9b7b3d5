// The analysis tools' blocking operations: a truing fit (the window waits for it) and a
// comparison recompute of three loads.
#include "core/catalog.h"
#include "tools/comparison/comparison_model.h"
#include "tools/truing/truing_model.h"

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
}
BENCHMARK(BM_FitTruingWithBC)->Unit(benchmark::kMillisecond);

void BM_FitTruingVelocityOnly(benchmark::State& state) {
    kavrino::TruingModel model;
    for (auto _ : state) {
        model.fitTruing();
        benchmark::DoNotOptimize(model.result());
    }
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

// Three factory loads, 100-yard rows out to 1100 yd, 10 mph crosswind, spin drift on.
void BM_RecomputeComparisonThreeLoads(benchmark::State& state) {
    kavrino::ComparisonModel model;
    model.add(cartridge("6.5 Creedmoor 140gr ELD Match", 0.264, 140, 2710, 0.326));
    model.add(cartridge(".308 Winchester 175gr SMK", 0.308, 175, 2600, 0.243));
    model.add(cartridge("300 Win Mag 190gr", 0.308, 190, 2900, 0.284));
    for (auto _ : state) {
        model.recomputeComparison();
        benchmark::DoNotOptimize(model.loads());
    }
}
BENCHMARK(BM_RecomputeComparisonThreeLoads)->Unit(benchmark::kMillisecond);

}  // namespace
