// The workstation as the executable assembles it: the registry's panes inside the window.
#include "app/platform/auto_updater.h"
#include "app/platform/environment.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/shell/content_view.h"
#include "app/shell/main_window.h"
#include "core/catalog.h"
#include "reload/pane/reload_selection.h"
#include "reload/pane/reload_view.h"
#include "reload/reload_catalog.h"
#include "workstation/pane_registry.h"

#include <QSplitter>
#include <QTest>

#include <gtest/gtest.h>

namespace kavrino {
namespace {

TEST(MainWindow, NarrowestWindowStillShowsTheWholeSolvePane) {
    FixedEnvironment environment;
    FakeDialogs dialogs;
    Platform platform{environment, dialogs};
    Catalog catalog;
    AutoUpdater updater{dialogs};
    MainWindow window{platform, catalog, workspacePanes(), updater};
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
    FixedEnvironment environment;
    environment.set("KAVRINO_TAB", QStringLiteral("reload"));
    FakeDialogs dialogs;
    Platform platform{environment, dialogs};
    Catalog catalog;
    AutoUpdater updater{dialogs};
    MainWindow window{platform, catalog, workspacePanes(), updater};
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* pane = window.findChild<ReloadView*>();
    ASSERT_NE(pane, nullptr);
    // The shared catalog loads in the background once the pane is on screen.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReloadCatalog::shared().loaded(); }, 10000));
    EXPECT_EQ(pane->currentView(), pane->splitter());
    EXPECT_EQ(pane->selection().cartridge(), QStringLiteral("6.5 Creedmoor"));
    EXPECT_FALSE(pane->selection().loadId().isEmpty());
    EXPECT_TRUE(pane->selection().predict().has_value());
}

}  // namespace
}  // namespace kavrino
