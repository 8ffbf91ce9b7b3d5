// The in-process part of a cold start: building the window (shell, sidebar, the opening pane with
// its first solve) and painting it once, offscreen. The whole cold start, process start to first
// painted window on a display, is measured by scripts/measure_startup.sh.
#include "app/platform/auto_updater.h"
#include "app/platform/environment.h"
#include "app/platform/platform.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/shell/main_window.h"
#include "bench/offscreen_application.h"
#include "core/catalog.h"
#include "reload/reload_catalog.h"
#include "workstation/pane_registry.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

QApplication& application() { return kavrino::bench::offscreenApplication("bench_startup"); }

void BM_WindowBuiltAndPainted(benchmark::State& state) {
    application();
    kavrino::FixedEnvironment environment;
    kavrino::FakeDialogs dialogs;
    kavrino::Platform platform{environment, dialogs};
    kavrino::AutoUpdater updater(dialogs);
    kavrino::Catalog::shared();  // loaded once per process, measured below on its own
    kavrino::ReloadCatalog reloadCatalog;
    for (auto _ : state) {
        kavrino::MainWindow window(platform, kavrino::Catalog::shared(), reloadCatalog,
                                   kavrino::workspacePanes(), updater);
        window.show();
        QImage frame = window.grab().toImage();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_WindowBuiltAndPainted)->Unit(benchmark::kMillisecond);

}  // namespace
