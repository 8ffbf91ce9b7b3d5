// Cost of one solve through the C entry pair: parse, 50 zeroing runs, the main run, the reply.
#include "kavrino_engine.h"

#include <benchmark/benchmark.h>

namespace {

void solveRepeatedly(benchmark::State& state, const char* request) {
    for (auto _ : state) {
        char* reply = kavrino_solve_json(request);
        benchmark::DoNotOptimize(reply);
        kavrino_free(reply);
    }
}

// The default request: G1, 2650 ft/s, zero at 100 yd, rows to 1000 yd (about 15,000 steps).
void BM_SolveDefaults(benchmark::State& state) { solveRepeatedly(state, "{}"); }
BENCHMARK(BM_SolveDefaults)->Unit(benchmark::kMillisecond);

void BM_SolveG7AllCorrections(benchmark::State& state) {
    solveRepeatedly(state,
                    R"({"dragModel":"G7","ballisticCoefficient":0.243,"windSpeed":10,"includeSpinDrift":true,)"
                    R"("includeCoriolis":true,"includeAeroJump":true,"maxRange":1500,"rangeStep":25})");
}
BENCHMARK(BM_SolveG7AllCorrections)->Unit(benchmark::kMillisecond);

// A measured curve in ascending Mach order takes the same remembered-position lookup as the tables.
void BM_SolveCustomCurve(benchmark::State& state) {
    solveRepeatedly(state,
                    R"({"dragModel":"Custom","customCurve":[[0.5,0.2],[0.9,0.22],[1.0,0.4],[1.2,0.42],)"
                    R"([1.5,0.38],[2.0,0.33],[2.5,0.3],[3.0,0.28]],"ballisticCoefficient":0.5})");
}
BENCHMARK(BM_SolveCustomCurve)->Unit(benchmark::kMillisecond);

// Speed-dependent BC: one band scan per drag evaluation.
void BM_SolveBcBands(benchmark::State& state) {
    solveRepeatedly(state, R"({"bcBands":[[2800,0.47],[2400,0.462],[2000,0.45],[1600,0.44],[0,0.43]]})");
}
BENCHMARK(BM_SolveBcBands)->Unit(benchmark::kMillisecond);

// The longest flight the solver follows: 60 s of falling at terminal speed.
void BM_SolveSixtySecondBound(benchmark::State& state) { solveRepeatedly(state, R"({"maxRange":10000})"); }
BENCHMARK(BM_SolveSixtySecondBound)->Unit(benchmark::kMillisecond);

}  // namespace
