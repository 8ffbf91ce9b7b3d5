// Cost of one solve through the C entry pair: parse, zeroing, the main run, the reply. Beside it,
// for the default request, two yardsticks that never ship: the plain solve (one run at a time,
// every drag and band lookup a scan from the start) and the main run alone, the one chain of
// dependent steps no solve can shorten. The program ends by printing how the solve compares.
#include "json_writer.h"
#include "kavrino_engine.h"
#include "plain_solver.h"
#include "request.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace kavrino_engine {
namespace {

void solveRepeatedly(benchmark::State& state, const std::string& request) {
    for (auto _ : state) {
        char* reply = kavrino_solve_json(request.c_str());
        benchmark::DoNotOptimize(reply);
        kavrino_free(reply);
    }
}

SolverInput inputOf(const std::string& request) {
    return std::move(std::get<SolveRequest>(parseSolveRequest(request))).into_inputs();
}

// The default request: G1, 2650 ft/s, zero at 100 yd, rows to 1000 yd (about 16,000 steps).
void BM_SolveDefaults(benchmark::State& state) { solveRepeatedly(state, "{}"); }
BENCHMARK(BM_SolveDefaults)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same request solved the plain way, parse and reply included as for the engine.
void BM_PlainBaselineDefaults(benchmark::State& state) {
    for (auto _ : state) {
        std::string reply = detail::writeSolution(plain::solve(inputOf("{}")));
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_PlainBaselineDefaults)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the default request's main run alone (about 3,500 steps) from its zeroed angle.
void BM_MainRunAloneDefaults(benchmark::State& state) {
    const SolverInput input = inputOf("{}");
    const double theta = plain::zeroAngle(input);
    for (auto _ : state) {
        solver::Solution rows = plain::mainRun(input, theta);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_MainRunAloneDefaults)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SolveG7AllCorrections(benchmark::State& state) {
    solveRepeatedly(state,
                    R"({"dragModel":"G7","ballisticCoefficient":0.243,"windSpeed":10,"includeSpinDrift":true,)"
                    R"("includeCoriolis":true,"includeAeroJump":true,"maxRange":1500,"rangeStep":25})");
}
BENCHMARK(BM_SolveG7AllCorrections)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SolveCustomCurve(benchmark::State& state) {
    solveRepeatedly(state,
                    R"({"dragModel":"Custom","customCurve":[[0.5,0.2],[0.9,0.22],[1.0,0.4],[1.2,0.42],)"
                    R"([1.5,0.38],[2.0,0.33],[2.5,0.3],[3.0,0.28]],"ballisticCoefficient":0.5})");
}
BENCHMARK(BM_SolveCustomCurve)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SolveBcBands(benchmark::State& state) {
    solveRepeatedly(state, R"({"bcBands":[[2800,0.47],[2400,0.462],[2000,0.45],[1600,0.44],[0,0.43]]})");
}
BENCHMARK(BM_SolveBcBands)->Unit(benchmark::kMillisecond)->UseRealTime();

// The longest flight the solver follows: 60 s of falling at terminal speed.
void BM_SolveSixtySecondBound(benchmark::State& state) { solveRepeatedly(state, R"({"maxRange":10000})"); }
BENCHMARK(BM_SolveSixtySecondBound)->Unit(benchmark::kMillisecond)->UseRealTime();

// 10,000 BC bands starting above any speed the bullet reaches: none applies, the last one's BC
// is used throughout.
std::string tenThousandBands(const std::string& more) {
    std::string request = R"({"bcBands":[)";
    for (int i = 0; i < 10000; ++i) {
        if (i > 0) request += ',';
        request += '[' + std::to_string(10000 + i) + ",0.462]";
    }
    return request + ']' + more + '}';
}
void BM_SolveTenThousandBands(benchmark::State& state) { solveRepeatedly(state, tenThousandBands("")); }
BENCHMARK(BM_SolveTenThousandBands)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bands with a zero the bullet never reaches: every zeroing run flies its full 60 s.
void BM_SolveTenThousandBandsUnreachableZero(benchmark::State& state) {
    solveRepeatedly(state, tenThousandBands(R"(,"zeroRange":20000)"));
}
BENCHMARK(BM_SolveTenThousandBandsUnreachableZero)->Unit(benchmark::kMillisecond)->UseRealTime();

// A measured curve of 100,001 rows, every Mach number twice (as a file with repeated rows reads
// in): not strictly increasing, so no pair can be found from the last one by walking.
void BM_SolveHundredThousandRowCurve(benchmark::State& state) {
    std::string request = R"({"dragModel":"Custom","ballisticCoefficient":0.5,"customCurve":[)";
    for (int i = 0; i < 50000; ++i) {
        const double mach = i * 5.0 / 49999.0;
        const std::string row = '[' + std::to_string(mach) + ',' + std::to_string(0.2 + 0.06 * mach) + ']';
        request += (i > 0 ? "," : "") + row + ',' + row;
    }
    solveRepeatedly(state, request + ",[5.0,0.5]]}");
}
BENCHMARK(BM_SolveHundredThousandRowCurve)->Unit(benchmark::kMillisecond)->UseRealTime();

// Remembers the wall time of every run (the median when runs are repeated).
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !m_times.contains(run.run_name.function_name)) {
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    const std::map<std::string, double>& times() const { return m_times; }

private:
    std::map<std::string, double> m_times;
};

void printComparison(const std::map<std::string, double>& times) {
    const auto solve = times.find("BM_SolveDefaults");
    const auto plainSolve = times.find("BM_PlainBaselineDefaults");
    const auto floor = times.find("BM_MainRunAloneDefaults");
    if (solve == times.end() || plainSolve == times.end() || floor == times.end()) return;
    std::printf("\nDefault request: solve %.3f ms, plain baseline %.3f ms (%.2fx faster), "
                "main run alone %.3f ms (solve at %.2fx of it)\n",
                solve->second, plainSolve->second, plainSolve->second / solve->second, floor->second,
                solve->second / floor->second);
}

}  // namespace
}  // namespace kavrino_engine

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    char* reply = kavrino_solve_json("{}");
    const bool same = reply != nullptr && kavrino_engine::detail::writeSolution(kavrino_engine::plain::solve(
                                              kavrino_engine::inputOf("{}"))) == reply;
    kavrino_free(reply);
    if (!same) std::fprintf(stderr, "warning: the plain baseline's reply differs from the engine's\n");
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    kavrino_engine::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    kavrino_engine::printComparison(reporter.times());
    benchmark::Shutdown();
    return 0;
}
