#include "kavrino_engine.h"

#include <benchmark/benchmark.h>

static void BM_SolveDefaults(benchmark::State& state) {
    for (auto _ : state) {
        char* reply = kavrino_solve_json("{}");
        benchmark::DoNotOptimize(reply);
        kavrino_free(reply);
    }
}
BENCHMARK(BM_SolveDefaults)->Unit(benchmark::kMillisecond);
