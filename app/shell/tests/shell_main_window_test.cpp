// The window: default and minimum size, KAVRINO_WINDOW, the menus and the update command.
#include "app/platform/auto_updater.h"
#include "app/platform/environment.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/shell/content_view.h"
#include "app/shell/main_window.h"
#include "app/shell/window_size.h"
#include "core/catalog.h"
#include "reload/reload_catalog.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavrino {
namespace {

TEST(WindowSizeParsing, AcceptsTwoNumbersJoinedByX) {
    struct Row {
        const char* name;
        const char* value;
        QSizeF expected;
    };
    const Row rows[] = {
        {"plain", "1600x900", {1600, 900}},
        {"upper-case X", "1600X900", {1600, 900}},
        {"leading x", "x1600x900", {1600, 900}},
        {"doubled and trailing x", "1600xx900x", {1600, 900}},
        {"a piece that is no number is skipped", "abcx1600x900", {1600, 900}},
        {"fractions pass unchanged", "1600.5x900.25", {1600.5, 900.25}},
        {"exponent", "1.6e3x9e2", {1600, 900}},
        {"signs", "+1600x-900", {1600, -900}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto size = parseWindowSize(row.value);
        ASSERT_TRUE(size.has_value());
        EXPECT_EQ(size->width(), row.expected.width());
        EXPECT_EQ(size->height(), row.expected.height());
    }
}

TEST(WindowSizeParsing, NumbersOutOfRangeOrSignallingNaNStillCount) {
    // The standard conversion reads 1e400 as infinity, 1e-400 as zero and "snan" as a NaN:
    // each is one of the numbers, so three pieces of them are too many.
    for (const char* value : {"1e400x1600x900", "1e-400x1600x900", "1600x900xsnan", "-1E400x1600x900"}) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(parseWindowSize(value).has_value());
    }
    // An x with a combining mark is a character of its own, not a separator.
    EXPECT_FALSE(parseWindowSize(QString::fromUtf8("1600x\u0301x900")).has_value());
    EXPECT_FALSE(parseWindowSize(QString::fromUtf8("1600x900x\u0301")).has_value());
    EXPECT_EQ(parseWindowSize(QString::fromUtf8("\u0301x1600x900")), QSizeF(1600, 900));
    const auto tiny = parseWindowSize("1e-400x900");
    ASSERT_TRUE(tiny.has_value());
    EXPECT_EQ(tiny->width(), 0.0);
    EXPECT_EQ(tiny->height(), 900.0);
    const auto huge = parseWindowSize("1600x-1e400");
    ASSERT_TRUE(huge.has_value());
    EXPECT_EQ(huge->height(), -std::numeric_limits<double>::infinity());
}

TEST(WindowSizeParsing, AnythingButExactlyTwoNumbersIsIgnored) {
    for (const char* value : {"", "x", "1600", "1600*900", "1600x900x700", "1600 x 900",
                              "1,600x900", "16oo x900"}) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(parseWindowSize(value).has_value());
    }
}

TEST(WindowSizeParsing, FrameIsAtFortySixtyInWholePixels) {
    EXPECT_EQ(scriptedWindowFrame({1600, 900}), QRect(40, 60, 1600, 900));
    EXPECT_EQ(scriptedWindowFrame({1600.5, 900.25}), QRect(40, 60, 1601, 900));
    // Sizes the window system cannot hold are limited rather than overflowing.
    EXPECT_EQ(scriptedWindowFrame({1e300, 900}), QRect(40, 60, QWIDGETSIZE_MAX, 900));
    EXPECT_EQ(scriptedWindowFrame({-5, 900}), QRect(40, 60, 0, 900));
    EXPECT_FALSE(scriptedWindowFrame({NAN, 900}).has_value());
    EXPECT_FALSE(scriptedWindowFrame({1600, INFINITY}).has_value());
}

struct Window {
    FixedEnvironment environment;
    FakeDialogs dialogs;
    Platform platform{environment, dialogs};
    Catalog catalog;
    ReloadCatalog reloadCatalog;
    AutoUpdater updater{dialogs};
    MainWindow window{platform, catalog, reloadCatalog, WorkspacePanes(), updater};
};

TEST(MainWindow, OpensAtDefaultSizeAndKeepsTheContentAtLeast1080By720) {
    Window w;
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    EXPECT_EQ(w.window.size(), QSize(1340, 860));
    w.window.resize(600, 400);
    EXPECT_GE(w.window.contentView()->width(), 1080);
    EXPECT_GE(w.window.contentView()->height(), 720);
}

TEST(MainWindow, ScriptedSizeIsAppliedOneTurnAfterShowing) {
    Window w;
    w.environment.set("KAVRINO_WINDOW", "1500X950");
    w.window.show();
    w.window.applyWindowSizeFromEnvironment(w.environment);
    EXPECT_EQ(w.window.size(), QSize(1340, 860));  // deferred
    QCoreApplication::sendPostedEvents();  // the turn of the event loop
    EXPECT_EQ(w.window.geometry(), QRect(40, 60, 1500, 950));
}

TEST(MainWindow, MalformedScriptedSizeLeavesTheDefault) {
    for (const char* value : {"1600", "1600x900x700", "wide", "nanx900"}) {
        SCOPED_TRACE(value);
        Window w;
        w.environment.set("KAVRINO_WINDOW", value);
        w.window.show();
        w.window.applyWindowSizeFromEnvironment(w.environment);
        QCoreApplication::sendPostedEvents();  // the turn in which a valid size is applied
        EXPECT_EQ(w.window.size(), QSize(1340, 860));
    }
}

TEST(MainWindow, ApplicationMenuHasCheckForUpdatesRightAfterAbout) {
    Window w;
    auto* appMenu = w.window.findChild<QMenu*>("applicationMenu");
    ASSERT_NE(appMenu, nullptr);
    const QList<QAction*> actions = appMenu->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), "About Kavrino Pro");
    EXPECT_EQ(actions[1]->text(), QString::fromUtf8("Check for Updates\u2026"));
    EXPECT_EQ(actions[1]->text().right(1), QString(QChar(0x2026)));  // one ellipsis character
}

TEST(MainWindow, FileMenuOffersNoNewItem) {
    Window w;
    auto* fileMenu = w.window.findChild<QMenu*>("fileMenu");
    ASSERT_NE(fileMenu, nullptr);
    for (QAction* action : fileMenu->actions()) {
        SCOPED_TRACE(action->text().toStdString());
        EXPECT_FALSE(action->text().startsWith("New"));
        EXPECT_NE(action->shortcut(), QKeySequence(QKeySequence::New));
    }
}

TEST(AutoUpdater, IsStartedAtCreationAndItsCheckSaysThereIsNoFeed) {
    Window w;
    EXPECT_TRUE(w.updater.isStarted());
    EXPECT_FALSE(w.updater.hasUpdateFeed());
    EXPECT_TRUE(w.dialogs.alertsShown.empty());
    auto* check = w.window.findChild<QAction*>("actionCheckForUpdates");
    ASSERT_NE(check, nullptr);
    check->trigger();
    ASSERT_EQ(w.dialogs.alertsShown.size(), 1u);
    const Alert& alert = w.dialogs.alertsShown[0];
    EXPECT_EQ(alert.messageText, "Updates are not set up");
    EXPECT_TRUE(alert.informativeText.contains("no update feed"));
    EXPECT_TRUE(alert.informativeText.contains("no network connection"));
}

}  // namespace
}  // namespace kavrino
