// One keystroke in the catalog pane's search field over the shipped catalog (784 bullets): the
// line edit's change, the filter over every bullet label, the list's relayout and the
// synchronous repaint of the visible rows, offscreen. Each iteration types one character or
// erases it again, so every iteration is one keystroke. Also the filter alone.
#include "app/workspace/pane_connections.h"
#include "bench/offscreen_application.h"
#include "core/catalog.h"
#include "core/resource_lookup.h"
#include "core/solve_model.h"
#include "panes/catalog/catalog_list_model.h"
#include "panes/catalog/catalog_list_view.h"
#include "panes/catalog/catalog_view.h"
#include "panes/catalog/search_field.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

QApplication& application() { return kavrino::bench::offscreenApplication("bench_catalog_pane"); }

struct Keystroke {
    const char* before;  // what the field holds
    char typed;          // the key typed onto it
};
const Keystroke kKeystrokes[] = {
    {"", 's'},       // the first letter: most of the catalog still shown
    {"168g", 'r'},   // a weight: a few dozen rows
    {"sierra", ' '}, // a maker and a blank
};

void BM_SearchKeystrokeToRepaintedList(benchmark::State& state) {
    application();
    const Keystroke& keystroke = kKeystrokes[state.range(0)];
    kavrino::Catalog catalog;
    catalog.load(kavrino::ResourceLookup());
    kavrino::SolveModel model;
    kavrino::CatalogView view(model, catalog);
    view.resize(1090, 790);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view)) {  // repaint() paints only a window on screen
        state.SkipWithError("the pane was never exposed");
        return;
    }
    QLineEdit* edit = view.searchField()->lineEdit();
    edit->setFocus();
    edit->setText(QString::fromLatin1(keystroke.before));
    const QChar typed = QLatin1Char(keystroke.typed);
    bool erase = false;
    int shownAfterTyping = 0;
    for (auto _ : state) {
        if (erase) {
            QTest::keyClick(edit, Qt::Key_Backspace);
        } else {
            QTest::keyClick(edit, typed.toLatin1());
            shownAfterTyping = view.listModel()->rowCount();
        }
        erase = !erase;
        QApplication::processEvents();  // the list lays its rows out again in the event loop
        view.listView()->viewport()->repaint();
    }
    state.counters["bullets"] = double(catalog.bullets().size());
    state.counters["rows_shown"] = shownAfterTyping;
}
BENCHMARK(BM_SearchKeystrokeToRepaintedList)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The model's filter alone, for the same keystrokes.
void BM_FilterOnly(benchmark::State& state) {
    application();
    const Keystroke& keystroke = kKeystrokes[state.range(0)];
    kavrino::Catalog catalog;
    catalog.load(kavrino::ResourceLookup());
    kavrino::PaneConnections connections;
    kavrino::CatalogListModel rows(catalog, connections);
    const QString before = QString::fromLatin1(keystroke.before);
    const QString after = before + QLatin1Char(keystroke.typed);
    bool typed = false;
    for (auto _ : state) {
        rows.setQuery(typed ? before : after);
        typed = !typed;
        benchmark::DoNotOptimize(rows.rowCount());
    }
}
BENCHMARK(BM_FilterOnly)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace
