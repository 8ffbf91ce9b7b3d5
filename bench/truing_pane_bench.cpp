// Responsiveness of the truing pane: from a click on "Solve Truing" to the repainted result
// panel (the fit on the window's thread, the refresh of rows and result, the layout and the
// synchronous repaint), offscreen, with the default load and observations, the BC fit off (0)
// and on (1).
#include "app/theme/panel_decoration.h"
#include "bench/offscreen_application.h"
#include "panes/truing/truing_model.h"
#include "panes/truing/truing_view.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

void BM_SolveTruingToRepaintedResult(benchmark::State& state) {
    kavrino::bench::offscreenApplication("bench_truing_pane");
    kavrino::TruingView view;
    view.model().setTrueBC(state.range(0) != 0);
    view.resize(1090, 797);
    view.show();
    view.appear();
    QCoreApplication::processEvents();
    auto* solve = view.findChild<QPushButton*>(QStringLiteral("solveTruingButton"));
    for (auto _ : state) {
        QTest::mouseClick(solve, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        view.resultCard()->repaint();
    }
    state.counters["trued_fps"] = view.model().result()->muzzleVelocity;
}
BENCHMARK(BM_SolveTruingToRepaintedResult)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
