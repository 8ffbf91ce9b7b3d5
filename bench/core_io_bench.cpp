// The core's file formats: reading a long chronograph export and rendering a long DOPE card.
#include "core/chrono_import.h"
#include "core/dope_card_pdf.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// A chronograph export of `shots` lines: a short preamble, a header, one shot per line with a
// quoted thousands separator in the speed column, as some devices write it.
std::string chronographExport(int shots, bool withHeader) {
    std::string text = "Session,Load test\r\nProjectile weight (gr),140\r\n";
    if (withHeader) text += "#,SPEED (FPS),KE (FT-LB),TIME\r\n";
    for (int i = 1; i <= shots; ++i) {
        const int tenths = 27000 + (i * 37) % 200;
        text += std::to_string(i) + ",\"2," + std::to_string(tenths / 10 - 2000) + "." + std::to_string(tenths % 10) +
                "\",2287,08:41:07\r\n";
    }
    return text;
}

void BM_ParseChronographWithHeader(benchmark::State& state) {
    const std::string text = chronographExport(static_cast<int>(state.range(0)), true);
    for (auto _ : state) benchmark::DoNotOptimize(kavrino::parseChronographCSV(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseChronographWithHeader)->Arg(10000)->Unit(benchmark::kMillisecond);

// Without a header every cell of a row is read until one is a plausible velocity.
void BM_ParseChronographNumbersOnly(benchmark::State& state) {
    const std::string text = chronographExport(static_cast<int>(state.range(0)), false);
    for (auto _ : state) benchmark::DoNotOptimize(kavrino::parseChronographCSV(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseChronographNumbersOnly)->Arg(10000)->Unit(benchmark::kMillisecond);

// A drag curve file of `bytes` bytes or a little more: a header, then rows of Mach and Cd.
std::string dragCurveFile(std::size_t bytes) {
    std::string text = "mach,cd\r\n";
    for (int i = 0; text.size() < bytes; ++i) {
        const int mach = i % 600;
        text += std::to_string(mach / 100) + "." + std::to_string(mach % 100 / 10) + std::to_string(mach % 10) + ",0." +
                std::to_string(200 + i % 300) + "\r\n";
    }
    return text;
}

// Reading a 10 MB chronograph export and a 10 MB drag curve: what the import pane does with
// the file's text once it has been read.
void BM_ParseChronograph10MB(benchmark::State& state) {
    const std::string text = chronographExport(220000, true);
    for (auto _ : state) benchmark::DoNotOptimize(kavrino::parseChronographCSV(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseChronograph10MB)->Unit(benchmark::kMillisecond);

void BM_ParseDragCurve10MB(benchmark::State& state) {
    const std::string text = dragCurveFile(10 << 20);
    for (auto _ : state) benchmark::DoNotOptimize(kavrino::parseDragCurveCSV(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseDragCurve10MB)->Unit(benchmark::kMillisecond);

// One line of nothing but commas (the argument in MB), read as a chronograph export and as a
// drag curve. Run alone under /usr/bin/time -v to see the peak memory it takes.
void BM_ParseOneLineOfCommas(benchmark::State& state) {
    const std::string text(static_cast<std::size_t>(state.range(0)) << 20, ',');
    for (auto _ : state) {
        benchmark::DoNotOptimize(kavrino::parseChronographCSV(text));
        benchmark::DoNotOptimize(kavrino::parseDragCurveCSV(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseOneLineOfCommas)->Arg(20)->Arg(60)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RenderDopeCard(benchmark::State& state) {
    const kavrino::DopeCardPDF::Meta meta{"Kavrino DOPE Card", "Hornady 140 gr ELD Match", 2650, 0.462, "G1", 100, 1.8,
                                          QString::fromUtf8("59°F · 29.92 inHg · 0 ft · 10 mph @ 90°")};
    std::vector<kavrino::TrajectoryPoint> points(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i].range = 25.0 * static_cast<double>(i);
        points[i].velocity = 2650 - 1.6 * points[i].range;
        points[i].energy = 140 * points[i].velocity * points[i].velocity / 450436;
        points[i].dropMOA = 0.004 * points[i].range * points[i].range / 100;
        points[i].dropMil = points[i].dropMOA * 1.047 / 3.6;
        points[i].windDriftMOA = -0.0015 * points[i].range;
        points[i].windDriftMil = points[i].windDriftMOA * 1.047 / 3.6;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = kavrino::DopeCardPDF::render(meta, points);
        bytes = static_cast<std::size_t>(pdf.size());
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderDopeCard)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

// The card needs fonts, so a GUI application object must exist (offscreen, no display).
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
