// The solve road's hot paths for the solve model's defaults: the built-in integrator alone
// (the truing fit runs it hundreds of times per fit) and a whole SolveModel::solve() (request,
// library, decoding, rows; or the fallback while the library gives no reply).
#include "core/ballistic_engine.h"
#include "core/solve_model.h"

#include <benchmark/benchmark.h>

namespace {

void BM_BallisticEngineSolveDefaults(benchmark::State& state) {
    const kavrino::BallisticEngine::Inputs inputs;  // the solve model's defaults
    for (auto _ : state) {
        std::vector<kavrino::TrajectoryPoint> rows = kavrino::BallisticEngine::solve(inputs);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_BallisticEngineSolveDefaults)->Unit(benchmark::kMicrosecond);

void BM_SolveModelSolveDefaults(benchmark::State& state) {
    kavrino::SolveModel model;
    for (auto _ : state) {
        model.solve();
        benchmark::DoNotOptimize(model.trajectory().data());
    }
    state.counters["rows"] = static_cast<double>(model.trajectory().size());
    state.counters["libraryRoad"] = model.stabilitySg() > 0 ? 1 : 0;
}
BENCHMARK(BM_SolveModelSolveDefaults)->Unit(benchmark::kMicrosecond);

// A 1-yard table out to 1000 yd: a thousand rows through the library's reply and into the
// model's trajectory; the reply's decoding and the rows' making count as much as the solve.
void BM_SolveModelSolveOneYardTable(benchmark::State& state) {
    kavrino::SolveModel model;
    model.setRangeStep(1);
    model.setMaxRange(1000);
    for (auto _ : state) {
        model.solve();
        benchmark::DoNotOptimize(model.trajectory().data());
    }
    state.counters["rows"] = static_cast<double>(model.trajectory().size());
    state.counters["libraryRoad"] = model.stabilitySg() > 0 ? 1 : 0;
}
BENCHMARK(BM_SolveModelSolveOneYardTable)->Unit(benchmark::kMicrosecond);

// The fallback road end to end: twist 0 makes the library's answer undecodable.
void BM_SolveModelSolveFallback(benchmark::State& state) {
    kavrino::SolveModel model;
    model.setTwistRate(0);
    model.setIncludeSpinDrift(false);
    for (auto _ : state) {
        model.solve();
        benchmark::DoNotOptimize(model.trajectory().data());
    }
}
BENCHMARK(BM_SolveModelSolveFallback)->Unit(benchmark::kMicrosecond);

}  // namespace
