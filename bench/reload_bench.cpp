// Reload data catalog: loading the shipped files (read, decode, index), alone and through the
// background road with its hand-over to the catalog's thread; and the predictions the reload
// pane evaluates on every redraw.
#include "reload/ballistics.h"
#include "reload/reload_catalog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace kavrino;

void BM_BuildReloadDataFromShippedFiles(benchmark::State& state) {
    const ResourceLookup files;
    for (auto _ : state) {
        auto data = buildReloadData(files);
        if (!data) state.SkipWithError("the shipped reload data did not load");
        benchmark::DoNotOptimize(data);
    }
}
BENCHMARK(BM_BuildReloadDataFromShippedFiles)->Unit(benchmark::kMillisecond);

// The size the catalog is designed for: tens of thousands of loads (the shipped loads repeated).
void BM_BuildReloadDataWith34000Loads(benchmark::State& state) {
    const ResourceLookup shipped;
    QTemporaryDir dir;
    for (const char* name : {"app_cases.json", "app_powders.json"}) {
        QFile out(dir.filePath(name));
        out.open(QIODevice::WriteOnly);
        out.write(shipped.read(name).value_or(QByteArray()));
    }
    const QByteArray loads = shipped.read("app_loads.json").value_or(QByteArray());
    const qsizetype open = loads.indexOf('[', loads.indexOf("\"loads\""));
    const qsizetype close = loads.lastIndexOf(']');
    const QByteArray records = loads.mid(open + 1, close - open - 1).trimmed();
    QByteArray big = loads.left(open + 1);
    int count = 0;
    while (count < 34000) {
        if (count > 0) big += ',';
        big += records;
        count += 246;
    }
    big += loads.mid(close);
    QFile out(dir.filePath("app_loads.json"));
    out.open(QIODevice::WriteOnly);
    out.write(big);
    out.close();

    const ResourceLookup files(dir.path());
    for (auto _ : state) {
        auto data = buildReloadData(files);
        if (!data) state.SkipWithError("the enlarged reload data did not load");
        benchmark::DoNotOptimize(data);
    }
    state.counters["loads"] = count;
}
BENCHMARK(BM_BuildReloadDataWith34000Loads)->Unit(benchmark::kMillisecond);

void BM_ReloadCatalogLoadIfNeeded(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "reload_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    for (auto _ : state) {
        ReloadCatalog catalog;
        QEventLoop loop;
        QObject::connect(&catalog, &ReloadCatalog::changed, &loop, &QEventLoop::quit);
        catalog.loadIfNeeded();
        loop.exec();
        if (!catalog.loaded()) state.SkipWithError("the shipped reload data did not load");
    }
}
BENCHMARK(BM_ReloadCatalogLoadIfNeeded)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reload pane matches a powder to every load of the chosen cartridge on each redraw.
void BM_PowderForEveryShippedLoad(benchmark::State& state) {
    ReloadCatalog catalog;
    catalog.publish(buildReloadData(ResourceLookup()));
    for (auto _ : state)
        for (const Load& load : catalog.loads()) benchmark::DoNotOptimize(catalog.powder(load));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(catalog.loads().size()));
}
BENCHMARK(BM_PowderForEveryShippedLoad);

const Ballistics::Inputs kInputs{.chargeGr = 41.5, .bulletWeightGr = 140, .bulletDiameterIn = 0.264,
                                 .barrelLengthIn = 24, .caseCapacityGrH2o = 52.5, .trimLengthIn = 1.91};
const PowderParams kPowder{.kv = 3600000, .c0Gr = 2.0, .kp = 16000, .b = 1.0, .gamma = 1.24};

void BM_Predict(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Ballistics::predict(kInputs, kPowder, 62000.0));
}
BENCHMARK(BM_Predict);

void BM_ChartSweep(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Ballistics::sweep(kInputs, kPowder, 38.0, 42.0, 28));
}
BENCHMARK(BM_ChartSweep);

void BM_SuggestCharge(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Ballistics::suggestCharge(38.0, 42.0, kInputs, kPowder, 62000.0));
}
BENCHMARK(BM_SuggestCharge);

}  // namespace
