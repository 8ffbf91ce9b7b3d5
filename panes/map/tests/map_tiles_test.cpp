// Map tiles over the network, against a tile server of our own on the loopback address (never
// a public one): tiles shown where they arrived, the grid where they failed, a server that
// stalls holding nobody up, few requests at a time, requests dropped when their tiles leave the
// view, panning back or opening the map again costing no request, oversized tiles kept, failures
// remembered within a bound, a server that asks to be left alone left alone, and the tiles'
// credit shown only over them. Also where the tile source comes from.
#include "app/platform/environment.h"
#include "app/platform/tile_server_url.h"
#include "app/theme/palette.h"
#include "core/testing/log_capture.h"
#include "loopback_tile_server.h"
#include "panes/map/map_canvas.h"
#include "panes/map/map_marker.h"
#include "panes/map/map_targeting.h"
#include "panes/map/tile_loader.h"
#include "panes/map/tile_source.h"

#include <QAccessible>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace kavrino {
namespace {

const MapTargetState state = initialMapTargetState();

// Runs the event loop until `done` holds or `ms` have passed. Unlike QTest::qWaitFor it does not
// sleep between looks, so a thousand requests one after another do not take 10 ms each.
template <typename Done>
bool runUntil(Done done, int ms) {
    QTimer tick;  // wakes the loop to look at the clock
    tick.start(20);
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

class MapTiles : public ::testing::Test {
protected:
    TileSource sourceFor(const LoopbackTileServer& server, bool diskCache = true) const {
        TileSource source;
        source.urlTemplate = server.urlTemplate();
        source.userAgent = tileUserAgent();
        if (diskCache) source.cacheFolder = cacheFolder.filePath(QStringLiteral("tiles"));
        return source;
    }

    MapCanvas& show(const TileSource& source, QSize size = {640, 480}) {
        canvas = std::make_unique<MapCanvas>(state.camera, source);
        canvas->setPositions(state.shooter, state.target);
        canvas->resize(size);
        canvas->show();
        return *canvas;
    }

    QList<TileKey> visibleKeys() const {
        QList<TileKey> keys;
        for (const TilePlacement& tile : canvas->viewport().visibleTiles()) {
            if (!keys.contains(tile.key)) keys << tile.key;
        }
        return keys;
    }

    bool allVisibleTilesArrived() const {
        for (const TileKey& key : visibleKeys()) {
            if (canvas->tileLoader()->tile(key) == nullptr) return false;
        }
        return true;
    }

    // A point inside tile `placement`, away from the line, the markers and the credit.
    QPoint quietPointOf(const TilePlacement& placement) const {
        const QRect free = placement.rect.adjusted(3, 3, -3, -3).intersected(canvas->rect().adjusted(20, 20, -20, -40));
        for (int y = free.top(); y < free.bottom(); y += 7) {
            for (int x = free.left(); x < free.right(); x += 7) {
                const QPoint p(x, y);
                bool clear = true;
                for (QWidget* child : canvas->findChildren<QWidget*>()) {
                    if (child->isVisible() && child->geometry().adjusted(-4, -4, 4, 4).contains(p)) clear = false;
                }
                const QPointF a = canvas->viewport().toView(state.shooter);
                const QPointF b = canvas->viewport().toView(state.target);
                const QPointF ab = b - a;
                const double t = std::clamp(QPointF::dotProduct(QPointF(p) - a, ab) / QPointF::dotProduct(ab, ab), 0.0, 1.0);
                const QPointF nearest = a + t * ab;
                if (QLineF(nearest, QPointF(p)).length() < 6) clear = false;
                if (clear) return p;
            }
        }
        return free.center();
    }

    QTemporaryDir cacheFolder;
    std::unique_ptr<MapCanvas> canvas;
};

TEST_F(MapTiles, ArrivedTilesAreDrawnWhereTheyBelong) {
    LoopbackTileServer server;
    MapCanvas& map = show(sourceFor(server));
    ASSERT_TRUE(QTest::qWaitFor([&] { return allVisibleTilesArrived(); }, 10000));
    const QImage shot = map.grab().toImage();
    int checked = 0;
    for (const TilePlacement& tile : map.viewport().visibleTiles()) {
        const QPoint p = quietPointOf(tile);
        if (!map.rect().adjusted(20, 20, -20, -40).contains(p)) continue;
        EXPECT_EQ(shot.pixel(p) & 0xffffff, LoopbackTileServer::colourFor(tile.key.z, tile.key.x, tile.key.y).rgb() & 0xffffff)
            << tile.key.x << "/" << tile.key.y;
        ++checked;
    }
    EXPECT_GE(checked, 4);
    // One request per tile, each naming the program.
    EXPECT_EQ(QSet<QString>(server.paths().cbegin(), server.paths().cend()).size(), server.requestCount());
    ASSERT_FALSE(server.userAgents().isEmpty());
    for (const QByteArray& agent : server.userAgents()) {
        EXPECT_TRUE(agent.startsWith("KavrinoPro/")) << agent.constData();
        EXPECT_TRUE(agent.endsWith("(desktop ballistics workstation)")) << agent.constData();
    }
}

TEST_F(MapTiles, FailedTilesLeaveTheGridAndAreNotAskedForAgain) {
    LoopbackTileServer server(LoopbackTileServer::Mode::fail);
    MapCanvas& map = show(sourceFor(server));
    const int visible = int(visibleKeys().size());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == visible && map.tileLoader()->requestsInFlight() == 0; }, 10000));
    for (const TileKey& key : visibleKeys()) EXPECT_TRUE(map.tileLoader()->failedRecently(key));

    const QImage shot = map.grab().toImage();
    const QPoint p = quietPointOf(map.viewport().visibleTiles().front());
    const QRgb seen = shot.pixel(p) & 0xffffff;
    const bool gridOrBackground = seen == (MapCanvas::backgroundColour().rgb() & 0xffffff) ||
                                  seen == (Palette::stroke().rgb() & 0xffffff);
    EXPECT_TRUE(gridOrBackground) << std::hex << seen;

    // Moving to and fro asks for none of them again.
    const int started = map.tileLoader()->requestsStarted();
    map.panBy({5, 0});
    map.panBy({-5, 0});
    EXPECT_EQ(map.tileLoader()->requestsStarted(), started);
}

TEST_F(MapTiles, StalledServerHoldsFourSlotsAndNothingElse) {
    LoopbackTileServer server(LoopbackTileServer::Mode::stall);
    TileSource source = sourceFor(server);
    source.transferTimeoutMs = 600;
    MapCanvas& map = show(source);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == 4; }, 5000));
    // The event loop runs on while the server keeps quiet: a timer fires, the map paints.
    bool ticked = false;
    QTimer::singleShot(20, [&] { ticked = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticked; }, 1000));
    EXPECT_EQ(map.tileLoader()->requestsInFlight(), 4);
    EXPECT_FALSE(map.grab().isNull());

    // Past the timeout the four fail; an unreachable server is then left alone for a while.
    ASSERT_TRUE(QTest::qWaitFor([&] { return map.tileLoader()->requestsInFlight() == 0; }, 5000));
    EXPECT_EQ(map.tileLoader()->requestsStarted(), 4);
}

TEST_F(MapTiles, TilesLeavingTheViewAreDropped) {
    LoopbackTileServer server(LoopbackTileServer::Mode::stall);
    MapCanvas& map = show(sourceFor(server));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == 4; }, 5000));
    const QList<TileKey> before = map.tileLoader()->tilesInFlight();
    map.panBy({4000, 0});
    const QList<TileKey> visible = visibleKeys();
    const QList<TileKey> after = map.tileLoader()->tilesInFlight();
    EXPECT_EQ(after.size(), 4);
    for (const TileKey& key : before) EXPECT_FALSE(after.contains(key));
    for (const TileKey& key : after) EXPECT_TRUE(visible.contains(key));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == 8; }, 5000));
}

TEST_F(MapTiles, PanningBackCostsNoRequest) {
    LoopbackTileServer server;
    MapCanvas& map = show(sourceFor(server));
    ASSERT_TRUE(QTest::qWaitFor([&] { return allVisibleTilesArrived(); }, 10000));
    const QList<TileKey> home = visibleKeys();
    const int first = server.requestCount();
    map.panBy({-1500, 0});
    ASSERT_TRUE(QTest::qWaitFor([&] { return allVisibleTilesArrived(); }, 10000));
    EXPECT_GT(server.requestCount(), first);
    const int startedAway = map.tileLoader()->requestsStarted();
    map.panBy({1500, 0});
    EXPECT_EQ(visibleKeys(), home);
    EXPECT_TRUE(allVisibleTilesArrived());  // at once, from memory
    EXPECT_EQ(map.tileLoader()->requestsStarted(), startedAway);
}

TEST_F(MapTiles, ReopenedMapReadsTheDiskCache) {
    LoopbackTileServer server;
    show(sourceFor(server));
    ASSERT_TRUE(QTest::qWaitFor([&] { return allVisibleTilesArrived(); }, 10000));
    const int requests = server.requestCount();
    canvas.reset();

    show(sourceFor(server));  // a new loader: nothing in memory
    ASSERT_TRUE(QTest::qWaitFor([&] { return allVisibleTilesArrived(); }, 10000));
    EXPECT_EQ(server.requestCount(), requests);
    // The cache lives in the folder it was given.
    QDirIterator files(cacheFolder.filePath(QStringLiteral("tiles")), QDir::Files, QDirIterator::Subdirectories);
    EXPECT_TRUE(files.hasNext());
}

TEST_F(MapTiles, WithoutATileSourceNothingIsRequested) {
    LoopbackTileServer server;
    MapCanvas& map = show(TileSource{});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    EXPECT_EQ(map.tileLoader()->requestsStarted(), 0);
    EXPECT_EQ(server.requestCount(), 0);
    EXPECT_FALSE(map.findChild<QLabel*>(QStringLiteral("mapAttribution"))->isVisible());
    // The positions still show.
    EXPECT_TRUE(map.shooterMarker()->isVisible());
    EXPECT_TRUE(map.targetMarker()->isVisible());
}

TEST_F(MapTiles, UnreachableServerIsLeftAlone) {
    LoopbackTileServer server;
    const TileSource source = sourceFor(server, false);
    server.close();
    MapCanvas& map = show(source);
    ASSERT_TRUE(QTest::qWaitFor([&] { return map.tileLoader()->requestsStarted() >= 1 && map.tileLoader()->requestsInFlight() == 0; }, 5000));
    const int started = map.tileLoader()->requestsStarted();
    EXPECT_LE(started, 4);
    map.panBy({600, 0});
    EXPECT_EQ(map.tileLoader()->requestsStarted(), started);
}

TEST_F(MapTiles, CreditShowsOnlyWhileCreditedTilesAreDrawn) {
    auto credit = [&] { return canvas->findChild<QLabel*>(QStringLiteral("mapAttribution")); };

    // Offline: only the grid, no credit over it.
    LoopbackTileServer gone;
    TileSource offline = sourceFor(gone, false);
    offline.attribution = tileAttribution();
    gone.close();
    MapCanvas* map = &show(offline);
    ASSERT_TRUE(QTest::qWaitFor([&] { return map->tileLoader()->requestsStarted() >= 1 && map->tileLoader()->requestsInFlight() == 0; }, 5000));
    EXPECT_FALSE(credit()->isVisible());

    // The credited tiles drawn: the credit in the bottom-right corner, read by assistive technology.
    LoopbackTileServer server;
    TileSource credited = sourceFor(server, false);
    credited.attribution = tileAttribution();
    map = &show(credited);
    EXPECT_FALSE(credit()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return allVisibleTilesArrived(); }, 10000));
    EXPECT_TRUE(credit()->isVisible());
    EXPECT_EQ(credit()->text(), "\u00a9 OpenStreetMap contributors");
    EXPECT_EQ(credit()->parentWidget(), map);
    EXPECT_TRUE(map->rect().contains(credit()->geometry()));
    EXPECT_GT(credit()->geometry().left(), map->rect().center().x());
    EXPECT_GT(credit()->geometry().top(), map->rect().center().y());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(credit())->text(QAccessible::Name), credit()->text());
    // Moved to where no tile can come: the grid alone again.
    server.close();
    map->panBy({6000, 0});
    EXPECT_FALSE(credit()->isVisible());

    // Another server's tiles carry no credit of OpenStreetMap's.
    LoopbackTileServer own;
    map = &show(sourceFor(own, false));
    ASSERT_TRUE(QTest::qWaitFor([&] { return allVisibleTilesArrived(); }, 10000));
    EXPECT_FALSE(credit()->isVisible());
}

// A tile bigger than the whole memory cache used to be dropped on arrival yet announced, and so
// asked for again on every move.
TEST_F(MapTiles, OversizedTilesAreKept) {
    LoopbackTileServer server;
    server.setTileSide(4096);  // 64 MiB decoded
    TileLoader loader(sourceFor(server, false));
    const QList<TileKey> keys{{12, 700, 1500}, {12, 701, 1500}};
    loader.want(keys);
    ASSERT_TRUE(QTest::qWaitFor([&] { return loader.tile(keys[0]) && loader.tile(keys[1]); }, 20000));
    for (const TileKey& key : keys) {
        EXPECT_LE(loader.tile(key)->width(), 512);
        EXPECT_EQ(loader.tile(key)->pixel(10, 10) & 0xffffff, LoopbackTileServer::colourFor(key.z, key.x, key.y).rgb() & 0xffffff);
    }
    loader.want(keys);
    EXPECT_EQ(loader.requestsStarted(), 2);
}

TEST_F(MapTiles, FailuresRememberedAreBoundedAndTheNewestKept) {
    LoopbackTileServer server(LoopbackTileServer::Mode::fail);
    TileLoader loader(sourceFor(server, false));
    QList<TileKey> keys;
    for (int x = 0; x < 1200; ++x) keys << TileKey{12, x, 1500};
    loader.want(keys);
    ASSERT_TRUE(runUntil([&] { return server.requestCount() == 1200 && loader.requestsInFlight() == 0; }, 60000));
    EXPECT_LE(loader.failuresRemembered(), 1000);
    // The last tiles asked for, those on screen now, are still known to fail.
    const QList<TileKey> newest = keys.mid(1100);
    for (const TileKey& key : newest) EXPECT_TRUE(loader.failedRecently(key)) << key.x;
    loader.want(newest);
    EXPECT_EQ(loader.requestsStarted(), 1200);
}

TEST_F(MapTiles, ServerAskingToWaitIsLeftAloneUntilThen) {
    const test_support::LogCapture log("kavrino.map");
    LoopbackTileServer server(LoopbackTileServer::Mode::busy);
    const TileSource source = sourceFor(server, false);
    const QList<TileKey> keys{{12, 700, 1500}, {12, 701, 1500}, {12, 702, 1500}, {12, 703, 1500}, {12, 704, 1500}};
    auto loader = std::make_unique<TileLoader>(source);
    loader->want(keys);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() > 0 && loader->requestsInFlight() == 0; }, 10000));
    const int busyAnswers = server.requestCount();
    EXPECT_LE(busyAnswers, source.maxRequestsInFlight);
    ASSERT_FALSE(log.messages().isEmpty());
    EXPECT_TRUE(log.messages().front().contains(QLatin1String("429"))) << log.messages().front().toStdString();

    // The server is ready again at once, but it asked for a second; a map opened anew waits too.
    server.setMode(LoopbackTileServer::Mode::serve);
    loader = std::make_unique<TileLoader>(source);
    loader->want(keys);
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::all_of(keys.cbegin(), keys.cend(), [&](const TileKey& k) { return loader->tile(k) != nullptr; }); }, 10000));
    ASSERT_GT(server.requestCount(), busyAnswers);
    // A millisecond for the clock's rounding.
    for (qint64 at : server.requestTimes().mid(busyAnswers)) EXPECT_GE(at - server.lastBusyAnswer(), 999);
}

// Every reply on its way when the server begins its wait brings the same 429: the wait used to be
// warned of once for each of them.
TEST_F(MapTiles, ServerAskingToWaitIsWarnedOfOncePerWait) {
    const test_support::LogCapture log("kavrino.map");
    LoopbackTileServer server(LoopbackTileServer::Mode::busy);
    const TileSource source = sourceFor(server, false);
    TileLoader loader(source);
    loader.want({{12, 700, 1500}, {12, 701, 1500}, {12, 702, 1500}, {12, 703, 1500}, {12, 704, 1500}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == source.maxRequestsInFlight && loader.requestsInFlight() == 0; }, 10000));
    EXPECT_EQ(log.messages().size(), 1) << log.messages().join('\n').toStdString();
    // Once the second is over the server is asked again and asks again to wait: a new warning.
    EXPECT_TRUE(QTest::qWaitFor([&] { return log.messages().size() == 2; }, 10000));
    EXPECT_GT(server.requestCount(), source.maxRequestsInFlight);
}

TEST(MapTileRetryAfter, ReadsSecondsAndEveryDateForm) {
    const QDateTime serverNow(QDate(2024, 11, 6), QTime(8, 49, 30), Qt::UTC);
    struct Row {
        const char* name;
        const char* value;
        std::optional<qint64> ms;
    };
    const Row rows[] = {
        {"seconds", "120", 120'000},
        {"seconds with blanks", " 5 ", 5'000},
        {"zero waits a second", "0", 1'000},
        {"beyond a day waits a day", "999999999999", 86'400'000},
        {"leading zeros", "0000000005", 5'000},
        {"more leading zeros than a 64-bit number has digits", "000000000000000000000000000120", 120'000},
        {"beyond any integer type", "99999999999999999999999999999999", 86'400'000},
        {"two to the 64th and five, which wraps to five", "18446744073709551621", 86'400'000},
        {"date", "Wed, 06 Nov 2024 08:49:37 GMT", 7'000},
        {"obsolete date", "Wednesday, 06-Nov-24 08:50:30 GMT", 60'000},
        {"C library date", "Wed Nov  6 08:49:40 2024", 10'000},
        {"date already past", "Wed, 06 Nov 2024 08:00:00 GMT", 1'000},
        {"negative", "-5", std::nullopt},
        {"fraction", "1.5", std::nullopt},
        {"local time", "Wed, 06 Nov 2024 08:49:37 CET", std::nullopt},
        {"no such day", "Wed, 31 Nov 2024 08:49:37 GMT", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(retryAfterMs(QByteArray(row.value), serverNow), row.ms);
    }
}

// The tile source of a map opened in a program started in `environment`.
TileSource tileSourceIn(const Environment& environment, const QString& cacheFolder) {
    return tileSourceFrom(tileServerUrlFrom(environment), cacheFolder);
}

TEST(MapTileSource, ComesFromTheEnvironment) {
    const TileSource standard = tileSourceIn(FixedEnvironment{}, QStringLiteral("/cache/tiles"));
    EXPECT_EQ(standard.urlTemplate, QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png"));
    EXPECT_EQ(standard.cacheFolder, QStringLiteral("/cache/tiles"));
    EXPECT_TRUE(standard.userAgent.startsWith("KavrinoPro/"));
    EXPECT_EQ(standard.urlFor({14, 2983, 5978}),
              QUrl(QStringLiteral("https://tile.openstreetmap.org/14/2983/5978.png")));
    EXPECT_EQ(standard.attribution, "\u00a9 OpenStreetMap contributors");
    const FixedEnvironment osmNamed{{QStringLiteral("KAVRINO_TILE_URL"), QStringLiteral("https://a.tile.openstreetmap.org/{z}/{x}/{y}.png")}};
    EXPECT_EQ(tileSourceIn(osmNamed, QString()).attribution, standard.attribution);

    const FixedEnvironment own{{QStringLiteral("KAVRINO_TILE_URL"), QStringLiteral(" http://tiles.local:8080/{z}/{y}/{x} ")}};
    const TileSource chosen = tileSourceIn(own, QString());
    EXPECT_EQ(chosen.urlFor({3, 1, 2}), QUrl(QStringLiteral("http://tiles.local:8080/3/2/1")));
    EXPECT_TRUE(chosen.enabled());
    EXPECT_TRUE(chosen.attribution.isEmpty());

    for (const char* off : {"", "   ", "ftp://tiles.local/{z}/{x}/{y}.png", "https://tiles.local/{z}/{x}.png",
                            "tiles/{z}/{x}/{y}.png"}) {
        SCOPED_TRACE(off);
        const FixedEnvironment environment{{QStringLiteral("KAVRINO_TILE_URL"), QString::fromLatin1(off)}};
        EXPECT_FALSE(tileSourceIn(environment, QString()).enabled());
    }
}

}  // namespace
}  // namespace kavrino
