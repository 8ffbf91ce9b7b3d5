// Responsiveness of the comparison pane: picking a fifth load in the picker to the repainted
// chart (the recompute of all five loads, the chips, the chart's lines and axes, the layout and
// the synchronous repaint of the chart), offscreen, with the shipped catalog.
#include "app/platform/environment.h"
#include "app/platform/platform.h"
#include "app/platform/testing/fake_dialogs.h"
#include "bench/offscreen_application.h"
#include "core/catalog.h"
#include "core/resource_lookup.h"
#include "panes/comparison/comparison_chart.h"
#include "panes/comparison/comparison_model.h"
#include "panes/comparison/comparison_view.h"

#include <QApplication>
#include <QComboBox>

#include <benchmark/benchmark.h>

namespace {

void pick(QComboBox& picker, int index) {
    picker.setCurrentIndex(index);
    emit picker.activated(index);
}

void BM_AddFifthLoadToRepaintedChart(benchmark::State& state) {
    kavrino::bench::offscreenApplication("bench_comparison_pane");
    kavrino::FixedEnvironment environment;
    kavrino::FakeDialogs dialogs;
    kavrino::Platform platform{environment, dialogs};
    kavrino::Catalog catalog;
    catalog.load(kavrino::ResourceLookup());
    kavrino::ComparisonView view(catalog, platform);
    view.resize(1090, 797);
    view.show();
    view.appear();
    QComboBox& picker = *view.picker();
    for (int i = 1; i <= 4; ++i) pick(picker, i * 10);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        pick(picker, 50);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        view.chart()->viewport()->repaint();

        state.PauseTiming();
        view.model().removeLoad(view.model().loads().back().id);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["loads"] = 5;
}
BENCHMARK(BM_AddFifthLoadToRepaintedChart)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
