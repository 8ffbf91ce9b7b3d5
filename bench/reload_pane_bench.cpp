// Responsiveness of the reload pane, offscreen:
// - a move of the charge slider until both charts are repainted (repredict, refresh of form,
//   tiles and markers, synchronous repaint of the chart views), beside a barrel-length change
//   that redraws the curves for comparison;
// - loading a catalog of 34,000 loads while the pane shows its loading view: the longest time
//   the GUI thread does not get to run its event loop (a 1 ms timer's longest gap), from the
//   pane coming on screen to the split view painted.
#include "app/theme/components/number_field.h"
#include "bench/offscreen_application.h"
#include "core/resource_lookup.h"
#include "panes/reload/charge_chart.h"
#include "panes/reload/charge_slider.h"
#include "panes/reload/prediction_column.h"
#include "panes/reload/reload_selection.h"
#include "panes/reload/reload_view.h"
#include "reload/reload_catalog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using namespace kavrino;

QApplication& application() { return bench::offscreenApplication("bench_reload_pane"); }

// The shipped data with the loads repeated to at least `count` loads.
class EnlargedCatalogFiles {
public:
    explicit EnlargedCatalogFiles(int count) {
        const ResourceLookup shipped;
        for (const char* name : {"app_cases.json", "app_powders.json"}) write(name, shipped.read(name).value_or(""));
        const QByteArray loads = shipped.read("app_loads.json").value_or("");
        const qsizetype open = loads.indexOf('[', loads.indexOf("\"loads\""));
        const qsizetype close = loads.lastIndexOf(']');
        const QByteArray records = loads.mid(open + 1, close - open - 1).trimmed();
        const int perCopy = int(records.count("\"id\""));
        QByteArray big = loads.left(open + 1);
        for (m_count = 0; m_count < count; m_count += perCopy) {
            if (m_count > 0) big += ',';
            big += records;
        }
        big += loads.mid(close);
        write("app_loads.json", big);
    }
    QString folder() const { return m_dir.path(); }
    int count() const { return m_count; }

private:
    void write(const char* name, const QByteArray& bytes) {
        QFile out(m_dir.filePath(name));
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
    }
    QTemporaryDir m_dir;
    int m_count = 0;
};

// The pane at the default window's size over a loaded catalog of `loads` loads.
struct LoadedPane {
    explicit LoadedPane(int loads) : files(loads), catalog(ResourceLookup(files.folder())), view(catalog) {
        view.resize(1089, 790);
        view.show();
        view.appear();
        QSignalSpy spy(&catalog, &ReloadCatalog::changed);
        while (!catalog.loaded() && !catalog.loadFailed() && spy.wait(30000)) {
        }
        QApplication::processEvents();
    }
    void repaintCharts() {
        view.predictionColumn()->velocityChart()->viewport()->repaint();
        view.predictionColumn()->pressureChart()->viewport()->repaint();
    }
    EnlargedCatalogFiles files;
    ReloadCatalog catalog;
    ReloadView view;
};

void BM_SliderMoveToRepaintedCharts(benchmark::State& state) {
    application();
    LoadedPane pane(int(state.range(0)));
    auto* slider = pane.view.findChild<ChargeSlider*>(QStringLiteral("chargeSlider"));
    if (!slider || !pane.catalog.loaded()) state.SkipWithError("the pane did not load");
    int position = 0;
    for (auto _ : state) {
        position = (position + 997) % slider->maximum();  // a new charge every time
        slider->setSliderPosition(position);
        pane.repaintCharts();
    }
    state.counters["loads"] = pane.files.count();
    state.counters["curve_rebuilds"] = pane.view.predictionColumn()->velocityChart()->curveRebuilds();
}
BENCHMARK(BM_SliderMoveToRepaintedCharts)->Arg(246)->Arg(34000)->Unit(benchmark::kMicrosecond);

// For comparison: a new barrel length changes every point of both curves.
void BM_BarrelLengthToRepaintedCharts(benchmark::State& state) {
    application();
    LoadedPane pane(246);
    double barrel = 20;
    for (auto _ : state) {
        barrel = barrel >= 28 ? 20 : barrel + 0.5;
        pane.view.selection().setBarrelLengthIn(barrel);
        pane.repaintCharts();
    }
}
BENCHMARK(BM_BarrelLengthToRepaintedCharts)->Unit(benchmark::kMicrosecond);

void BM_LoadingWithoutStallingTheGuiThread(benchmark::State& state) {
    application();
    const EnlargedCatalogFiles files(int(state.range(0)));
    double longestStallMs = 0;
    double totalMs = 0;
    for (auto _ : state) {
        ReloadCatalog catalog{ResourceLookup(files.folder())};
        QElapsedTimer clock;
        clock.start();
        qint64 last = clock.nsecsElapsed();
        double stall = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            stall = std::max(stall, (now - last) / 1e6);
            last = now;
        });
        tick.start();
        ReloadView view(catalog);
        view.resize(1089, 790);
        view.show();  // the pane comes on screen: the catalog starts loading
        view.appear();
        while (!catalog.loaded() && !catalog.loadFailed()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        view.repaint();  // the split view painted
        QApplication::processEvents();
        const qint64 now = clock.nsecsElapsed();
        stall = std::max(stall, (now - last) / 1e6);
        totalMs = clock.nsecsElapsed() / 1e6;
        longestStallMs = std::max(longestStallMs, stall);
        if (!catalog.loaded()) state.SkipWithError("the enlarged catalog did not load");
    }
    state.counters["loads"] = files.count();
    state.counters["longest_stall_ms"] = longestStallMs;
    state.counters["load_to_paint_ms"] = totalMs;
}
BENCHMARK(BM_LoadingWithoutStallingTheGuiThread)->Arg(34000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
