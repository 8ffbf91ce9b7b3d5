// Map tiles over the network, against a tile server of our own on the loopback address (never
// a public one): tiles shown where they arrived, the grid where they failed, a server that
// stalls holding nobody up, few requests at a time, requests dropped when their tiles leave the
// view, and panning back or opening the map again costing no request. Also where the tile
// source comes from.
#include "app/platform/environment.h"
#include "app/theme/palette.h"
#include "loopback_tile_server.h"
#include "tools/map/map_canvas.h"
#include "tools/map/map_marker.h"
#include "tools/map/map_targeting.h"
#include "tools/map/tile_loader.h"
#include "tools/map/tile_source.h"

#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace kavrino {
namespace {

const MapTargetState state = initialMapTargetState();

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
    EXPECT_TRUE(map.findChild<QLabel*>(QStringLiteral("mapAttribution"))->isVisible());
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
    map.panBy({5, 0});
    map.panBy({-5, 0});
    QTest::qWait(200);
    EXPECT_EQ(server.requestCount(), visible);
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
    QTest::qWait(300);
    EXPECT_EQ(server.requestCount(), 4);
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
    const int away = server.requestCount();
    EXPECT_GT(away, first);
    map.panBy({1500, 0});
    EXPECT_EQ(visibleKeys(), home);
    EXPECT_TRUE(allVisibleTilesArrived());  // at once, from memory
    QTest::qWait(100);
    EXPECT_EQ(server.requestCount(), away);
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
    QTest::qWait(100);
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
    QTest::qWait(200);
    EXPECT_EQ(map.tileLoader()->requestsStarted(), started);
}

TEST(MapTileSource, ComesFromTheEnvironment) {
    const TileSource standard = tileSourceFrom(FixedEnvironment{}, QStringLiteral("/cache/tiles"));
    EXPECT_EQ(standard.urlTemplate, QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png"));
    EXPECT_EQ(standard.cacheFolder, QStringLiteral("/cache/tiles"));
    EXPECT_TRUE(standard.userAgent.startsWith("KavrinoPro/"));
    EXPECT_EQ(standard.urlFor({14, 2983, 5978}),
              QUrl(QStringLiteral("https://tile.openstreetmap.org/14/2983/5978.png")));

    const FixedEnvironment own{{QStringLiteral("KAVRINO_TILE_URL"), QStringLiteral(" http://tiles.local:8080/{z}/{y}/{x} ")}};
    const TileSource chosen = tileSourceFrom(own, QString());
    EXPECT_EQ(chosen.urlFor({3, 1, 2}), QUrl(QStringLiteral("http://tiles.local:8080/3/2/1")));
    EXPECT_TRUE(chosen.enabled());

    for (const char* off : {"", "   ", "ftp://tiles.local/{z}/{x}/{y}.png", "https://tiles.local/{z}/{x}.png",
                            "tiles/{z}/{x}/{y}.png"}) {
        SCOPED_TRACE(off);
        const FixedEnvironment environment{{QStringLiteral("KAVRINO_TILE_URL"), QString::fromLatin1(off)}};
        EXPECT_FALSE(tileSourceFrom(environment, QString()).enabled());
    }
}

}  // namespace
}  // namespace kavrino
