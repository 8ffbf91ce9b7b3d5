// Redraw of the trajectory page, offscreen: a new trajectory of state.range(0) yd steps out to
// 1000 yd (1,000 rows at a 1-yd step) handed to the three charts, then the event loop run once,
// which lays the charts out (plot areas, rule and caption) and paints the window as it would
// on screen. Two solved trajectories alternate, so every round draws new rows.
#include "bench/offscreen_application.h"
#include "core/solve_model.h"
#include "panes/trajectory/trajectory_view.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

QApplication& application() { return kavrino::bench::offscreenApplication("bench_trajectory_pane"); }

void BM_RedrawTrajectoryPage(benchmark::State& state) {
    application();
    kavrino::SolveModel model;
    model.setRangeStep(double(state.range(0)));
    model.solve();
    const std::vector<kavrino::TrajectoryPoint> first = model.trajectory();
    model.setMuzzleVelocity(2800);
    model.solve();
    const std::vector<kavrino::TrajectoryPoint> second = model.trajectory();

    kavrino::TrajectoryView3D view(model, kavrino::displaySpeedOfSound);
    view.resize(1090, 780);
    view.show();
    view.appear();
    QApplication::processEvents();
    bool flip = false;
    for (auto _ : state) {
        view.showTrajectory(flip ? first : second);
        flip = !flip;
        QApplication::processEvents();
    }
    state.counters["rows"] = double(first.size());
}
BENCHMARK(BM_RedrawTrajectoryPage)->Arg(100)->Arg(10)->Arg(1)->Unit(benchmark::kMillisecond);

// The page painted again with the rows it shows: the share of painting alone.
void BM_RepaintTrajectoryPage(benchmark::State& state) {
    application();
    kavrino::SolveModel model;
    model.setRangeStep(double(state.range(0)));
    model.solve();
    kavrino::TrajectoryView3D view(model, kavrino::displaySpeedOfSound);
    view.resize(1090, 780);
    view.show();
    view.appear();
    QApplication::processEvents();
    for (auto _ : state) view.repaint();
    state.counters["rows"] = double(model.trajectory().size());
}
BENCHMARK(BM_RepaintTrajectoryPage)->Arg(100)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
