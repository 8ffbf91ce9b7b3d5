// Responsiveness of the solve pane: from Return in a number field to the repainted trajectory
// table (commit, solve through the engine library, refresh of form, strip and table, and the
// synchronous repaint of the table's rows), offscreen. Also the solve alone, for comparison.
#include "app/platform/environment.h"
#include "app/platform/platform.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/theme/components/number_field.h"
#include "bench/offscreen_application.h"
#include "core/catalog.h"
#include "core/solve_model.h"
#include "panes/solve/solve_view.h"
#include "panes/solve/trajectory_table_view.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

QApplication& application() { return kavrino::bench::offscreenApplication("bench_solve_pane"); }

// Return in the "Step" field, then the table repainted, at a range step of state.range(0) yd
// out to 1000 yd.
void BM_ReturnToRepaintedTable(benchmark::State& state) {
    application();
    kavrino::FixedEnvironment environment;
    kavrino::FakeDialogs dialogs;
    kavrino::Platform platform{environment, dialogs};
    kavrino::Catalog catalog;
    kavrino::SolveModel model;
    model.setRangeStep(double(state.range(0)));
    kavrino::SolveView view(model, catalog, platform);
    view.resize(1090, 780);
    view.show();
    view.appear();
    auto* step = view.findChild<kavrino::NumberField*>(QStringLiteral("rangeStepField"));
    for (auto _ : state) {
        QTest::keyClick(step, Qt::Key_Return);
        view.table()->viewport()->repaint();
    }
    state.counters["rows"] = double(model.trajectory().size());
    state.counters["solve_ms"] = model.lastSolveMs();
}
BENCHMARK(BM_ReturnToRepaintedTable)->Arg(100)->Arg(50)->Arg(10)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SolveOnly(benchmark::State& state) {
    application();
    kavrino::SolveModel model;
    model.setRangeStep(double(state.range(0)));
    for (auto _ : state) model.solve();
}
BENCHMARK(BM_SolveOnly)->Arg(100)->Arg(50)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
