// The catalog is read once, synchronously, on the main thread at start-up: what that costs.
#include "core/catalog.h"
#include "core/resource_lookup.h"

#include <benchmark/benchmark.h>

namespace {

// Both shipped files, from the compiled-in resources to the two lists.
void BM_CatalogLoadShipped(benchmark::State& state) {
    const kavrino::ResourceLookup bundled;
    for (auto _ : state) {
        kavrino::Catalog catalog;
        catalog.load(bundled);
        benchmark::DoNotOptimize(catalog.bullets().data());
    }
}
BENCHMARK(BM_CatalogLoadShipped)->Unit(benchmark::kMillisecond);

// Decoding alone, for the larger file.
void BM_DecodeShippedBullets(benchmark::State& state) {
    const QByteArray bytes = kavrino::ResourceLookup().read(QStringLiteral("bullets.json")).value_or(QByteArray());
    for (auto _ : state) {
        auto bullets = kavrino::decodeBulletsFile(bytes);
        benchmark::DoNotOptimize(bullets);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_DecodeShippedBullets)->Unit(benchmark::kMillisecond);

}  // namespace
