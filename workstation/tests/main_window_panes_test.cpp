// The workstation as the executable assembles it: the registry's panes inside the window.
#include "app/platform/auto_updater.h"
#include "app/platform/environment.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/shell/content_view.h"
#include "app/shell/main_window.h"
#include "core/catalog.h"
#include "core/solve_model.h"
#include "core/resource_lookup.h"
#include "core/testing/log_capture.h"
#include "panes/map/map_canvas.h"
#include "panes/map/map_target_view.h"
#include "panes/map/tile_loader.h"
#include "panes/reload/reload_selection.h"
#include "panes/reload/reload_view.h"
#include "reload/reload_catalog.h"
#include "workstation/pane_registry.h"

#include <QLabel>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace kavrino {
namespace {

// The window as the executable builds it, with the registry's panes, an empty catalog and a
// reload catalog over the bundled files, started in `environment`.
struct Workstation {
    explicit Workstation(FixedEnvironment started = {}) : environment(std::move(started)) {}
    FixedEnvironment environment;
    FakeDialogs dialogs;
    Platform platform{environment, dialogs};
    Catalog catalog;
    ReloadCatalog reloadCatalog;
    AutoUpdater updater{dialogs};
    MainWindow window{platform, catalog, reloadCatalog, workspacePanes(), updater};
};

TEST(MainWindow, NarrowestWindowStillShowsTheWholeSolvePane) {
    Workstation workstation;
    MainWindow& window = workstation.window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.resize(600, 400);
    QCoreApplication::processEvents();
    // Sidebar 250, form at least 300, divider 1, results column at least 540.
    EXPECT_GE(window.contentView()->width(), 250 + 300 + 1 + 540);
    EXPECT_GE(window.contentView()->height(), 720);
    auto* solve = window.findChild<QWidget*>(QStringLiteral("solveButton"));
    ASSERT_NE(solve, nullptr);
    const QPoint right = solve->mapTo(window.contentView(), QPoint(solve->width(), 0));
    EXPECT_EQ(window.contentView()->width() - right.x(), 16);  // the column's padding
}

TEST(MainWindow, ReloadTabShowsTheReloadPaneOverTheBundledData) {
    Workstation workstation{FixedEnvironment{{"KAVRINO_TAB", "reload"}}};
    MainWindow& window = workstation.window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* pane = window.findChild<ReloadView*>();
    ASSERT_NE(pane, nullptr);
    // The catalog handed to the window loads in the background once the pane is on screen.
    ASSERT_TRUE(QTest::qWaitFor([&] { return workstation.reloadCatalog.loaded(); }, 10000));
    EXPECT_EQ(pane->currentView(), pane->splitter());
    EXPECT_EQ(pane->selection().cartridge(), QStringLiteral("6.5 Creedmoor"));
    EXPECT_FALSE(pane->selection().loadId().isEmpty());
    EXPECT_TRUE(pane->selection().predict().has_value());
}

// Every word-wrapped text of every pane, at the pane's width in the default window and in a
// larger one, is as tall as its wrapped lines: the reload pane's failure sentence used to be
// cut after "The reload catalog failed". The reload pane is visited twice: once over a folder
// without its data, to show the failure view, and once over the bundled data.
TEST(MainWindow, WrappedTextsAreAsTallAsAllTheirLines) {
    QTemporaryDir noData;
    ReloadCatalog failing{ResourceLookup(noData.path())};
    ReloadCatalog bundled;
    ReloadCatalog* reloadData = nullptr;  // what the next reload pane reads
    WorkspacePanes panes = workspacePanes();
    panes.set(WorkspaceTab::reload, [&](const PaneContext&) { return new ReloadView(*reloadData); });
    const auto reloadReady = [&] { return reloadData->loaded() || reloadData->loadFailed(); };

    for (const QSize size : {MainWindow::kDefaultSize, QSize(1600, 1000)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        FixedEnvironment environment{{"KAVRINO_TILE_URL", ""}};  // the map asks no tile server
        FakeDialogs dialogs;
        Platform platform{environment, dialogs};
        Catalog catalog;
        AutoUpdater updater{dialogs};
        MainWindow window{platform, catalog, bundled, panes, updater};
        window.resize(size);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QStringList checked;
        reloadData = &failing;
        for (const WorkspaceTab tab : {WorkspaceTab::reload, WorkspaceTab::solve, WorkspaceTab::reload,
                                       WorkspaceTab::catalog, WorkspaceTab::comparison, WorkspaceTab::visualize,
                                       WorkspaceTab::truing, WorkspaceTab::map, WorkspaceTab::dataImport}) {
            window.contentView()->setSelection(tab);
            if (tab == WorkspaceTab::solve) reloadData = &bundled;
            if (tab == WorkspaceTab::reload) {
                ASSERT_TRUE(QTest::qWaitFor(reloadReady, 10000));
            }
            QCoreApplication::processEvents();
            for (const QLabel* label : window.contentView()->currentPane()->findChildren<QLabel*>()) {
                if (!label->wordWrap() || !label->isVisibleTo(&window)) continue;
                SCOPED_TRACE(label->text().toStdString());
                checked << label->objectName();
                EXPECT_GE(label->height(), label->heightForWidth(label->width()));
            }
        }
        for (const char* name : {"failureText", "cautionLabel", "mapTip", "importIntro", "dragCurveExplanation"}) {
            EXPECT_TRUE(checked.contains(QLatin1String(name))) << name;
        }
    }
}

// KAVRINO_PRESET reaches the panes as the window's one demonstration flag, spelled exactly:
// the solve pane that opens with the window takes a 50-yard step for its first solve.
TEST(MainWindow, DemonstrationPresetNeedsTheExactWord) {
    struct Row {
        const char* name;
        std::optional<QString> preset;
        double step;
    };
    const Row rows[] = {
        {"exact word", QStringLiteral("screenshot"), 50},
        {"other letter case", QStringLiteral("Screenshot"), 100},
        {"trailing blank", QStringLiteral("screenshot "), 100},
        {"absent", std::nullopt, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FixedEnvironment environment;
        if (row.preset) environment.set("KAVRINO_PRESET", *row.preset);
        Workstation workstation{environment};
        MainWindow& window = workstation.window;
        EXPECT_TRUE(window.contentView()->model().trajectory().empty()) << "nothing solves before the window shows";
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_EQ(window.contentView()->model().rangeStep(), row.step);
        EXPECT_FALSE(window.contentView()->model().trajectory().empty());
    }
}

// KAVRINO_TILE_URL is read once, when the program starts: an unusable value turns the map's tiles
// off and is warned of then, not again each time the map is opened.
TEST(MainWindow, UnusableTileServerIsWarnedOfOnceAtStartUp) {
    const test_support::LogCapture log("kavrino.map");
    Workstation workstation{FixedEnvironment{{"KAVRINO_TILE_URL", "ftp://tiles.local/{z}/{x}/{y}.png"}, {"KAVRINO_TAB", "map"}}};
    ContentView& content = *workstation.window.contentView();
    for (const WorkspaceTab tab : {WorkspaceTab::solve, WorkspaceTab::map, WorkspaceTab::catalog, WorkspaceTab::map}) {
        content.setSelection(tab);
    }
    const auto* map = qobject_cast<MapTargetView*>(content.currentPane());
    ASSERT_NE(map, nullptr);
    EXPECT_FALSE(map->canvas()->tileLoader()->source().enabled());
    EXPECT_EQ(log.messages().size(), 1) << log.messages().join('\n').toStdString();
}

}  // namespace
}  // namespace kavrino
